// The colour sample as the viewer shows it: the panel of the main window
// with every colour name drawn in the colour it names, and the "Sample..."
// window that keeps the sample on until its Close button is pressed.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>

#include "app/colour_sample_names.h"
#include "app/colour_sample_window.h"
#include "tests/support/native_probe_win32.h"
#include "winrt/event_codes.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace lumbra {
namespace {

constexpr std::int32_t kPanel = 68;
constexpr std::int32_t kFirstName = 85, kLastName = 149;
constexpr COLORREF kGround = RGB(128, 128, 128);  // no name's colour

// The colour a name's text gives in parentheses, "(#rrggbb)", as a Windows
// colour value; -1 when the text has none.
std::int32_t NamedColour(const std::string& text) {
  const std::size_t at = text.find("(#");
  if (at == std::string::npos || at + 9 > text.size() || text[at + 8] != ')') return -1;
  const long rgb = std::strtol(text.substr(at + 2, 6).c_str(), nullptr, 16);
  return static_cast<std::int32_t>(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
}

// The pixels of one control's painting in a given colour: the window's
// backdrop first, then the control's own text.
int PixelsOf(HWND control, COLORREF colour) {
  RECT r;
  GetClientRect(control, &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  int count = 0;
  for (int y = 0; y < r.bottom; ++y) {
    for (int x = 0; x < r.right; ++x) count += GetPixel(dc, x, y) == colour;
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return count;
}

class ColourSample : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeStarted(true);
    std::vector<UseVariable> uses;
    for (std::uint8_t& check : checks_) uses.push_back({&check, 0x01, 1});
    ASSERT_TRUE(CreateWindowFromDescription(main_, "lumbra$LUMBRA", "$PICVIEWWINDOW", uses));
    OpenWindowObject(main_);
    SetProperty(0, PROP::Pixels, 1);
    SetControlPosition(0, 0, 0, 900, 700);
    SetProperty(0, PROP::Background, static_cast<std::int64_t>(kGround));
    Accept([] { return EVENT() == Event::OpenWindow ? kPassLeave : kPassNormal; });
  }
  void TearDown() override {
    CloseWindowObject(main_);
    SetRuntimeStarted(false);
  }

  std::array<std::uint8_t, 18> checks_{};
  Window main_;
};

TEST_F(ColourSample, EveryNameOfThePanelIsDrawnInTheColourItNames) {
  ColourUncolouredSampleNames();
  ShowControls(kPanel);
  RedisplayControls();
  std::set<std::int32_t> colours;
  for (std::int32_t name = kFirstName; name <= kLastName; ++name) {
    const std::string text = GetProperty(name, PROP::Text);
    const std::int32_t colour = NamedColour(text);
    ASSERT_GE(colour, 0) << "control " << name << " is no colour name: " << text;
    colours.insert(colour);
    EXPECT_EQ(GetProperty(name, PROP::FontColor), std::to_string(colour)) << text;
    EXPECT_EQ(GetProperty(name, PROP::Visible), "1") << text;
    // Its letters are painted in that colour.
    EXPECT_GE(PixelsOf(reinterpret_cast<HWND>(NativeHandle(main_, name)), colour), 12) << text;
  }
  EXPECT_EQ(colours.size(), 65u) << "each name has its own colour";
}

TEST_F(ColourSample, TheSampleWindowStaysUntilItsCloseButtonIsPressed) {
  // From outside, as the user meets it: the window with its text, left
  // alone for a while, then its Close button pressed.
  std::atomic<HWND> seen{nullptr};
  std::atomic<bool> stayed{false};
  std::thread user([&] {
    // The window is found as soon as it exists, which may be before its
    // controls do: wait for its Close button too.
    HWND window = nullptr;
    HWND close = nullptr;
    if (!probe::WaitFor([&] {
          window = FindWindowA(nullptr, "Sample...");
          close = window ? FindWindowExA(window, nullptr, nullptr, "Close") : nullptr;
          return close != nullptr;
        })) {
      return;
    }
    seen = window;
    HWND text = FindWindowExA(window, nullptr, nullptr, "Color Sample is ON");
    // A click beside the button and a key are no Close.
    PostMessageA(text, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(text, WM_LBUTTONUP, 0, 0);
    PostMessageA(window, WM_KEYDOWN, 'A', 0);
    stayed = !probe::WaitFor([&] { return !IsWindow(window); }, 1000) && text != nullptr;
    // The notice a click on Close gives its window; posted rather than
    // simulated with BM_CLICK, whose press and release can lose the mouse
    // capture to another test's window on the same desktop.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(close), BN_CLICKED),
                 reinterpret_cast<LPARAM>(close));
  });
  ColourSampleWindow();
  user.join();
  ASSERT_NE(seen.load(), nullptr) << "no \"Sample...\" window appeared";
  EXPECT_TRUE(stayed) << "the window went before Close was pressed";
  EXPECT_FALSE(IsWindow(seen.load())) << "the window is still there after Close";
  EXPECT_EQ(ActiveWindow(), &main_) << "the main window is active again";
}

}  // namespace
}  // namespace lumbra
