// The viewer's main window opened from its real compiled description.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>

#include "tests/support/raised_errors.h"
#include "winrt/event_codes.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace lumbra {
namespace {

std::vector<UseVariable> MenuChecks(std::array<std::uint8_t, 18>& checks, std::size_t count) {
  std::vector<UseVariable> uses;
  for (std::size_t i = 0; i < count; ++i) uses.push_back({&checks[i], 0x01, 1});
  return uses;
}

TEST(MainWindowDescription, OpensWithItsStatusZonesAndSwitchesToPixels) {
  SetRuntimeErrorHandler(testing::ThrowRaisedError);
  SetRuntimeStarted(true);
  std::array<std::uint8_t, 18> checks{};
  Window w;
  ASSERT_TRUE(
      CreateWindowFromDescription(w, "lumbra$LUMBRA", "$PICVIEWWINDOW", MenuChecks(checks, 18)));
  EXPECT_EQ(w.menuUses.size(), 18u);
  EXPECT_EQ(w.plan.title, "Lumbra 1.0");
  OpenWindowObject(w);
  HWND hwnd = reinterpret_cast<HWND>(NativeHandle(w));
  char text[64] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  EXPECT_STREQ(text, "Lumbra 1.0");
  // Its class carries the window's icon, and the icon gives a minimise box.
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(hwnd, GCLP_HICON)),
            LoadIconA(GetModuleHandleA(nullptr), "LBICON_ICO"));
  EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_MINIMIZEBOX);
  HWND bar = reinterpret_cast<HWND>(NativeHandle(w, -1));
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 5);
  SetProperty(0, PROP::Pixels, 1);
  SetControlPosition(0, 30, 20, 500, 300);
  EXPECT_EQ(GetProperty(0, PROP::Width), "500");
  EXPECT_EQ(GetProperty(0, PROP::Xpos), "30");
  int events = 0;
  Accept([&] {
    ++events;
    return EVENT() == Event::OpenWindow ? kPassLeave : kPassNormal;
  });
  EXPECT_GE(events, 1);
  CloseWindowObject(w);

  // Too few variables for the menu's check items.
  Window few;
  try {
    CreateWindowFromDescription(few, "lumbra$LUMBRA", "$PICVIEWWINDOW", MenuChecks(checks, 3));
    FAIL() << "no error raised";
  } catch (const testing::RaisedError& r) {
    EXPECT_EQ(r.code, 501);
  }
  // A window that is not described.
  try {
    CreateWindowFromDescription(few, "lumbra$LUMBRA", "$NOSUCHWINDOW", {});
    FAIL() << "no error raised";
  } catch (const testing::RaisedError& r) {
    EXPECT_EQ(r.code, 502);
    EXPECT_STREQ(r.what(), "Internal error 02 : WSLDIAL");
  }
  SetRuntimeStarted(false);
  SetRuntimeErrorHandler(nullptr);
}

}  // namespace
}  // namespace lumbra
