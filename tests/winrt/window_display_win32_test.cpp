// What windows and their controls show: images in image controls, the
// window's wallpaper and colours, box fills, scrolling and tab pages.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/winrt/bmp_file_win32.h"
#include "tests/winrt/control_plan.h"
#include "tests/winrt/window_capture_win32.h"
#include "winrt/event_codes.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace lumbra {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// A 24-bit BMP file whose top row is red and whose other rows are blue.
void WriteBmp(const std::string& name, int width, int height) {
  WriteBmp24(name, width, height, [](int, int y) { return y == 0 ? kRed : kBlue; });
}

class WindowDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler([](std::int32_t, const std::string& m) { throw std::runtime_error(m); });
    SetRuntimeStarted(true);
    WriteBmp("picture.bmp", 8, 4);
  }
  void TearDown() override {
    CloseWindowObject(window_);
    SetRuntimeStarted(false);
    SetRuntimeErrorHandler(nullptr);
  }
  void Open(std::vector<ControlPlan> controls, std::int32_t flags = 0,
            std::vector<UseVariable> uses = {}) {
    WindowPlan plan;
    plan.name = "$DISPLAY";
    plan.title = "Display";
    plan.rect = {0, 0, 200, 120};
    plan.pixelUnits = true;
    plan.flags = flags;
    plan.timer = 10;  // wakes a loop that waits in vain, so that it can give up
    plan.controls = std::move(controls);
    CreateWindowFromPlan(window_, std::move(plan), std::move(uses));
    OpenWindowObject(window_);
  }
  HWND Hwnd(std::int32_t control = 0) const {
    return reinterpret_cast<HWND>(NativeHandle(window_, control));
  }
  Window window_;
};

TEST_F(WindowDisplayTest, ImageControlTakesTheNameOnlyWhenTheImageLoads) {
  Open({Ctl(ControlType::Image, 1, {10, 10, 50, 50}),
        Ctl(ControlType::Image, 2, {10, 70, 40, 30}, "picture.bmp")});
  // A described image file loads when the window opens.
  EXPECT_EQ(GetProperty(2, PROP::Text), "picture.bmp");
  SetProperty(1, PROP::Text, "picture.bmp");
  EXPECT_EQ(GetProperty(1, PROP::Text), "picture.bmp");
  // Without stretching, the control takes the image's natural size.
  EXPECT_EQ(GetProperty(1, PROP::Width), "8");
  EXPECT_EQ(GetProperty(1, PROP::Height), "4");
  SetProperty(1, PROP::Text, "missing.bmp");
  EXPECT_EQ(GetProperty(1, PROP::Text), "");
  // With stretching on, the control keeps the size it is given.
  SetProperty(1, PROP::Stretch, 1);
  SetControlPosition(1, kDefaultPosition, kDefaultPosition, 64, 48);
  SetProperty(1, PROP::Text, "picture.bmp");
  EXPECT_EQ(GetProperty(1, PROP::Width), "64");
  EXPECT_EQ(GetProperty(1, PROP::Stretch), "1");
  Capture shown(Hwnd(1));
  EXPECT_EQ(shown.At(0, 0), kRed);  // the top row, scaled by 12
  EXPECT_EQ(shown.At(63, 11), kRed);
  EXPECT_EQ(shown.At(63, 12), kBlue);
  EXPECT_EQ(shown.At(0, 47), kBlue);
}

TEST_F(WindowDisplayTest, CentredAndTiledImagesAndTheBackgroundAroundThem) {
  Open({Ctl(ControlType::Image, 1, {0, 0, 40, 20})});
  SetProperty(1, PROP::Stretch, 1);
  SetProperty(1, PROP::Background, static_cast<std::int64_t>(kGreen));
  SetProperty(1, PROP::Centered, 1);
  SetProperty(1, PROP::Text, "picture.bmp");
  {
    Capture shown(Hwnd(1));
    EXPECT_EQ(shown.At(16, 8), kRed);  // (40 - 8) / 2, (20 - 4) / 2
    EXPECT_EQ(shown.At(16, 9), kBlue);
    EXPECT_EQ(shown.At(15, 8), kGreen);  // outside the image
    EXPECT_EQ(shown.At(0, 0), kGreen);
  }
  EXPECT_EQ(GetProperty(1, PROP::Centered), "1");
  SetProperty(1, PROP::Tiled, 1);
  EXPECT_EQ(GetProperty(1, PROP::Centered), "");
  {
    Capture shown(Hwnd(1));
    EXPECT_EQ(shown.At(0, 0), kRed);
    EXPECT_EQ(shown.At(39, 4), kRed);   // the fifth tile's first row
    EXPECT_EQ(shown.At(39, 5), kBlue);  // the last row cuts through a tile
    EXPECT_EQ(shown.At(39, 19), kBlue);
  }
  // The image goes to the clipboard.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  SetProperty(1, PROP::ImageBlob, 1);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP));
}

TEST_F(WindowDisplayTest, WindowColourWallpaperAndBoxFill) {
  ControlPlan box = Ctl(ControlType::Box, 1, {150, 80, 20, 20});
  Open({box});
  SetProperty(0, PROP::Background, static_cast<std::int64_t>(kGreen));
  EXPECT_EQ(Capture(Hwnd()).At(5, 5), kGreen);
  SetProperty(0, PROP::Wallpaper, "picture.bmp");
  SetProperty(0, PROP::Stretch, 1);
  EXPECT_EQ(GetProperty(0, PROP::Wallpaper), "picture.bmp");
  {
    Capture shown(Hwnd());
    RECT client;
    GetClientRect(Hwnd(), &client);
    EXPECT_EQ(shown.At(client.right - 1, 0), kRed);
    EXPECT_EQ(shown.At(client.right - 1, client.bottom - 1), kBlue);
  }
  SetProperty(0, PROP::Wallpaper, "missing.bmp");
  EXPECT_EQ(GetProperty(0, PROP::Wallpaper), "");
  EXPECT_EQ(Capture(Hwnd()).At(5, 5), kGreen);

  SetProperty(1, PROP::Fill, static_cast<std::int64_t>(kRed));
  EXPECT_EQ(GetProperty(1, PROP::Fill), std::to_string(kRed));
  Capture filled(Hwnd(1));
  EXPECT_EQ(filled.At(10, 10), kRed);
  EXPECT_EQ(filled.At(0, 0), RGB(0, 0, 0));  // the frame
}

TEST_F(WindowDisplayTest, TextsShowTheirColourOverTheWindowsBackground) {
  ControlPlan text = Ctl(ControlType::Prompt, 1, {10, 10, 80, 30}, "MMMM");
  text.fontSize = 20;
  text.fontWeight = 700;
  Open({text});
  SetProperty(0, PROP::Background, static_cast<std::int64_t>(kGreen));
  SetProperty(1, PROP::FontColor, static_cast<std::int64_t>(kRed));
  EXPECT_EQ(GetProperty(1, PROP::FontColor), std::to_string(kRed));
  Capture shown(Hwnd(1));
  EXPECT_EQ(shown.At(79, 29), kGreen);  // the window's colour behind the text
  int red = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 80; ++x) red += shown.At(x, y) == kRed;
  }
  EXPECT_GT(red, 20);
}

TEST_F(WindowDisplayTest, ScrollPositionsMoveTheContentsOverWhatLiesBeyondTheWindow) {
  Open({Ctl(ControlType::Prompt, 1, {20, 10, 60, 12}, "near"),
        Ctl(ControlType::Prompt, 2, {400, 300, 100, 12}, "far")},
       0x3);
  EXPECT_EQ(GetProperty(0, PROP::HScroll), "1");
  RECT client;
  GetClientRect(Hwnd(), &client);
  SetProperty(0, PROP::HScrollPos, 255);
  SetProperty(0, PROP::VScrollPos, 300);
  EXPECT_EQ(GetProperty(0, PROP::HScrollPos), "255");
  EXPECT_EQ(GetProperty(0, PROP::VScrollPos), "255");  // clamped
  // At the end, the farEdge control's right and bottom edges meet the client
  // area's; its position as the program sees it is unchanged.
  RECT farEdge;
  GetWindowRect(Hwnd(2), &farEdge);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&farEdge), 2);
  EXPECT_EQ(farEdge.right, client.right);
  EXPECT_EQ(farEdge.bottom, client.bottom);
  EXPECT_EQ(GetProperty(2, PROP::Xpos), "400");
  EXPECT_EQ(GetProperty(1, PROP::Ypos), "10");
  SetControlPosition(1, 30);
  EXPECT_EQ(GetProperty(1, PROP::Xpos), "30");
  // Back at the start, and the bars off.
  SetProperty(0, PROP::HScrollPos, 0);
  SetProperty(0, PROP::VScroll, 0);
  EXPECT_EQ(GetProperty(0, PROP::VScrollPos), "0");
  EXPECT_EQ(GetProperty(0, PROP::VScroll), "");
  RECT nearEdge;
  GetWindowRect(Hwnd(1), &nearEdge);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&nearEdge), 2);
  EXPECT_EQ(nearEdge.left, 30);
  EXPECT_EQ(nearEdge.top, 10);
}

TEST_F(WindowDisplayTest, HidingAPanelHidesWhatIsOnItAndRegionsLieBehindEverything) {
  ControlPlan region = Ctl(ControlType::Region, 1, {0, 0, 200, 120});
  ControlPlan panel = Ctl(ControlType::Group, 2, {10, 10, 100, 60}, "panel");
  ControlPlan inner = Ctl(ControlType::Option, 3, {15, 20, 80, 40}, "inner");
  inner.parent = 2;
  ControlPlan radio = Ctl(ControlType::Radio, 4, {20, 30, 60, 12}, "deep");
  radio.parent = 3;
  ControlPlan beside = Ctl(ControlType::Prompt, 5, {120, 10, 60, 12}, "beside");
  Open({region, panel, inner, radio, beside});
  EXPECT_EQ(GetWindow(Hwnd(1), GW_HWNDNEXT), nullptr);  // the last of the siblings
  HideControls(2);
  EXPECT_FALSE(IsWindowVisible(Hwnd(2)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(4)));
  EXPECT_TRUE(IsWindowVisible(Hwnd(5)));
  DisableControls(2);
  EXPECT_FALSE(IsWindowEnabled(Hwnd(4)));
  ShowControls(2);
  EXPECT_TRUE(IsWindowVisible(Hwnd(4)));
  EXPECT_EQ(GetProperty(4, PROP::Visible), "1");
  EXPECT_EQ(GetProperty(4, PROP::Enabled), "");
}

TEST_F(WindowDisplayTest, SpinBoxesStepThroughTheirRangeAndKeepWhatTheirVariableHolds) {
  ControlPlan spin = Ctl(ControlType::Spin, 1, {10, 10, 60, 20});
  spin.hasUse = true;
  spin.lower = 0;
  spin.upper = 32768;  // one more than the variable holds
  spin.step = 5;
  ControlPlan other = Ctl(ControlType::Button, 2, {100, 10, 60, 20}, "Other");
  std::int16_t value = 100;
  Open({spin, other}, 0, {{&value, 0x02, 2}});
  char text[32] = {};
  GetWindowTextA(Hwnd(1), text, sizeof text);
  EXPECT_STREQ(text, "100");

  // A click on the upper arrow steps up and reports a new selection.
  HWND arrows = GetWindow(Hwnd(1), GW_HWNDNEXT);
  char name[32] = {};
  GetClassNameA(arrows, name, sizeof name);
  ASSERT_STREQ(name, UPDOWN_CLASSA);
  RECT r;
  GetClientRect(arrows, &r);
  const LPARAM upper = MAKELPARAM(r.right / 2, r.bottom / 4);
  SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, upper);
  SendMessageA(arrows, WM_LBUTTONUP, 0, upper);
  EXPECT_EQ(value, 105);
  std::int32_t selected = 0;
  int passes = 0;
  Accept([&] {
    if (EVENT() == Event::NewSelection) selected = FIELD();
    return selected || ++passes > 300 ? kPassLeave : kPassNormal;
  });
  EXPECT_EQ(selected, 1);

  // The spin box, the first control, took the focus once the window was
  // opened. A typed entry beyond its range is refused as the field is left: the box shows its value
  // again and the loop hears "EVENT:Rejected". One within the range is accepted.
  auto typeAndLeave = [&](const char* entry) {
    SetFocus(Hwnd(1));
    SetWindowTextA(Hwnd(1), entry);
    SendMessageA(Hwnd(1), EM_SETMODIFY, TRUE, 0);
    SetFocus(Hwnd(2));
  };
  EXPECT_EQ(GetFocus(), Hwnd(1));
  typeAndLeave("40000");
  EXPECT_EQ(value, 105);
  GetWindowTextA(Hwnd(1), text, sizeof text);
  EXPECT_STREQ(text, "105");
  typeAndLeave("2000");
  EXPECT_EQ(value, 2000);
  std::vector<std::string> heard;
  passes = 0;
  Accept([&] {
    const std::string field = std::to_string(FIELD());
    if (EVENT() == Event::Selected) heard.push_back("selected " + field);
    if (EVENT() == Event::Rejected) heard.push_back("rejected " + field);
    if (EVENT() == Event::Accepted) heard.push_back("accepted " + field);
    return heard.size() == 6 || ++passes > 300 ? kPassLeave : kPassNormal;
  });
  EXPECT_EQ(heard, (std::vector<std::string>{"selected 1", "rejected 1", "selected 2", "selected 1",
                                             "accepted 1", "selected 2"}));
  EXPECT_EQ(ACCEPTED(), 1);
  EXPECT_EQ(FOCUS(), 2);
  typeAndLeave("-7");
  EXPECT_EQ(value, 2000);
}

TEST_F(WindowDisplayTest, TabsHoldTheirControlsOnPagesOfTheirOwn) {
  ControlPlan sheet = Ctl(ControlType::Sheet, 1, {5, 5, 180, 100});
  ControlPlan first = Ctl(ControlType::Tab, 2, {}, "First");
  first.parent = 1;
  ControlPlan second = Ctl(ControlType::Tab, 3, {}, "Second");
  second.parent = 1;
  ControlPlan a = Ctl(ControlType::Prompt, 4, {20, 40, 50, 12}, "on first");
  a.parent = 2;
  ControlPlan group = Ctl(ControlType::Group, 5, {20, 40, 100, 40}, "group");
  group.parent = 3;
  ControlPlan b = Ctl(ControlType::Check, 6, {30, 55, 60, 12}, "in group");
  b.parent = 5;
  Open({sheet, first, a, second, group, b});
  char name[32] = {};
  GetClassNameA(GetParent(Hwnd(6)), name, sizeof name);
  EXPECT_STREQ(name, "WexTab");
  EXPECT_EQ(GetProperty(4, PROP::Xpos), "20");
  EXPECT_EQ(GetProperty(6, PROP::Ypos), "55");
  EXPECT_TRUE(IsWindowVisible(Hwnd(4)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(6)));  // a control inside a group on the hidden tab
  SelectControl(1, 2);
  EXPECT_EQ(CurrentChoice(1), 2);
  EXPECT_FALSE(IsWindowVisible(Hwnd(4)));
  EXPECT_TRUE(IsWindowVisible(Hwnd(6)));
  // A click on a control of a page reaches the loop as its event.
  SendMessageA(Hwnd(6), BM_CLICK, 0, 0);
  std::int32_t accepted = 0;
  int passes = 0;
  Accept([&] {
    if (EVENT() == Event::Accepted) accepted = FIELD();
    return accepted || ++passes > 300 ? kPassLeave : kPassNormal;
  });
  EXPECT_EQ(accepted, 6);
}

}  // namespace
}  // namespace lumbra
