// The viewer's small windows run through their procedures, driven from
// another thread the way a user would: typing, clicking, closing.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "app/about_window.h"
#include "app/program_settings.h"
#include "app/zoom_window.h"
#include "tests/winrt/native_probe.h"
#include "winrt/runtime_errors.h"

namespace lumbra {
namespace {

class SecondaryWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler([](std::int32_t, const std::string& m) { throw std::runtime_error(m); });
    SetRuntimeStarted(true);
  }
  void TearDown() override {
    if (driver_.joinable()) driver_.join();
    SetRuntimeStarted(false);
    SetRuntimeErrorHandler(nullptr);
  }
  // Runs `act` on another thread once the window with the title shows.
  void Drive(const char* title, std::function<void(HWND)> act) {
    driver_ = std::thread([title, act] {
      HWND window = nullptr;
      probe::WaitFor([&] {
        window = FindWindowA(nullptr, title);
        return window && IsWindowVisible(window);
      });
      if (window) act(window);
    });
  }
  static void Click(HWND control) {
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  // Clicks into the zoom's spin box and types over its text.
  static void Type(HWND window, const char* text) {
    HWND spin = GetDlgItem(window, 2);
    Click(spin);
    PostMessageA(spin, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c) PostMessageA(spin, WM_CHAR, static_cast<WPARAM>(*c), 1);
  }

  std::thread driver_;
};

TEST_F(SecondaryWindowTest, ZoomOkTakesTheEntryCancelKeepsTheZoom) {
  PS.IMAGEZOOM = 150;
  Drive("Zoom...", [](HWND w) {
    Type(w, "400");
    PostMessageA(GetDlgItem(w, 3), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(ZoomWindow(), 400);
  driver_.join();

  Drive("Zoom...", [](HWND w) {
    Type(w, "400");
    PostMessageA(GetDlgItem(w, 4), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(ZoomWindow(), 150);
  driver_.join();

  // More than the 16-bit zoom holds is kept at its largest.
  Drive("Zoom...", [](HWND w) {
    Type(w, "40000");
    PostMessageA(GetDlgItem(w, 3), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(ZoomWindow(), 32767);
  driver_.join();

  // The close box keeps the last accepted entry: one step of the arrows.
  Drive("Zoom...", [](HWND w) {
    HWND arrows = FindWindowExA(w, nullptr, "msctls_updown32", nullptr);
    RECT r;
    GetClientRect(arrows, &r);
    PostMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom / 4));
    PostMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom / 4));
    PostMessageA(w, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(ZoomWindow(), 151);
  EXPECT_EQ(PS.IMAGEZOOM, 150);
}

TEST_F(SecondaryWindowTest, AboutShowsItsRedLineAndContinueCloses) {
  std::string line;
  Drive("About Lumbra 1.0", [&line](HWND w) {
    line = probe::TextOf(GetDlgItem(w, 2));
    PostMessageA(GetDlgItem(w, 5), BM_CLICK, 0, 0);
  });
  AboutWindow();
  driver_.join();
  EXPECT_EQ(line, "Lumbra 1.0 - a classic image viewer for Windows");
  EXPECT_EQ(FindWindowA(nullptr, "About Lumbra 1.0"), nullptr);
}

}  // namespace
}  // namespace lumbra
