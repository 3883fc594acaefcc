// The viewer's main window with its real menu bar and tool bar, and popup
// menus chosen through real keyboard and mouse input.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/native_probe_win32.h"
#include "tests/support/raised_errors.h"
#include "tests/winrt/bmp_file_win32.h"
#include "tests/winrt/control_plan.h"
#include "tests/winrt/window_capture_win32.h"
#include "winrt/event_codes.h"
#include "winrt/popup_menu.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace lumbra {
namespace {

// A menu written out as one line: "text=id", "+" before checked and "~"
// before greyed entries, "-" for separators, sub-menus as "text=id{...}".
std::string Outline(HMENU menu) {
  std::string out;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) return out + "?";
    if (i) out += '|';
    if (info.fType & MFT_SEPARATOR) {
      out += '-';
      continue;
    }
    if (info.fState & MFS_GRAYED) out += '~';
    if (info.fState & MFS_CHECKED) out += '+';
    out += std::string(text) + "=" + std::to_string(info.wID);
    if (info.hSubMenu) out += "{" + Outline(info.hSubMenu) + "}";
  }
  return out;
}

constexpr const char* kMainMenuBar =
    "&File=1{&Open Image...   Ctrl+O=2|Load &Folder...  Ctrl+L=3|-|Program &Setup...=4|-|"
    "E&xit            Ctrl+X=5}|"
    "&Image=6{Propert&ies...=7|&Refresh Image      F5=8|-|&Normal=9|&Stretched=10|&Tiled=11|"
    "Best &Fit=12|&Zoom=13{25%=14|50%=15|75%=16|100%=17|125%=18|150%=19|175%=20|200%=21|-|"
    "&Custom Zoom...=22}|Show Color Sa&mple=23|-|Copy to Clip&Board=24{Copy &Image        "
    "Ctrl+C=25|Copy &Path   Shift+Ctrl+C=26}|-|Sort &Order=27{None=28|Path=29|Name=30|Type=31|"
    "Size=32|Date=33}|Image &List=34|-|&Next            SPACE=35|&Prev        BACKSPACE=36}|"
    "&Help=37{&Contents=38|-|&About=39}";

// The radio items in the order of their variables.
constexpr std::int32_t kRadioItems[18] = {9,  10, 11, 12, 14, 15, 16, 17, 18,
                                          19, 20, 21, 28, 29, 30, 31, 32, 33};
// The tool bar's buttons and their tips.
struct Button {
  std::int32_t number;
  const char* tip;
};
constexpr Button kButtons[] = {
    {41, "Load Image"},
    {42, "Load Image Folder"},
    {43, "Image Properties"},
    {44, "Refresh Image"},
    {46, "Normal Image"},
    {47, "Stretched Image"},
    {48, "Tiled Image"},
    {49, "Best Fit Image"},
    {50, "Zoom Image"},
    {52, "Copy Path/File to ClipBoard"},
    {53, "Copy Image to ClipBoard"},
    {54, "Show Color Sample"},
    {55, "Prev Image"},
    {56, "Image List"},
    {57, "Image Sort Order"},
    {58, "Next Image"},
    {59, "Help"},
};

// Wakes a loop that waits in vain, so that it can give up.
void CALLBACK WakeLoop(HWND, UINT, UINT_PTR, DWORD) { PostEvent(Event::Timer); }

// Runs the loop until a control is accepted and returns its number (0
// when none is before the patience runs out). `during` runs in the loop
// body for the accepted event, before the loop goes on.
std::int32_t AcceptedControl(const std::function<void()>& during = {}) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, WakeLoop);
  const DWORD start = GetTickCount();
  std::int32_t accepted = 0;
  Accept([&] {
    if (EVENT() == Event::Accepted) {
      accepted = FIELD();
      if (during) during();
      return kPassLeave;
    }
    return GetTickCount() - start > probe::kPatience ? kPassLeave : kPassNormal;
  });
  KillTimer(nullptr, timer);
  return accepted;
}

bool Grey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

// The thread's tooltip and the text it shows for a control.
HWND g_tooltip = nullptr;
BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (std::string(name) != TOOLTIPS_CLASSA) return TRUE;
  g_tooltip = hwnd;
  return FALSE;
}
std::string TipOf(HWND control) {
  g_tooltip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindTooltip, 0);
  if (!g_tooltip) return "(no tooltip)";
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  for (UINT i = 0; SendMessageA(g_tooltip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool));
       ++i) {
    if (tool.uId != reinterpret_cast<UINT_PTR>(control)) continue;
    char text[256] = {};
    tool.lpszText = text;
    SendMessageA(g_tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
  }
  return "(not registered)";
}

class MainWindowBars : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler(testing::ThrowRaisedError);
    SetRuntimeStarted(true);
    std::vector<UseVariable> uses;
    for (std::uint8_t& check : checks_) uses.push_back({&check, 0x01, 1});
    ASSERT_TRUE(CreateWindowFromDescription(window_, "lumbra$LUMBRA", "$PICVIEWWINDOW", uses));
    OpenWindowObject(window_);
  }
  void TearDown() override {
    CloseWindowObject(window_);
    SetRuntimeStarted(false);
    SetRuntimeErrorHandler(nullptr);
  }
  HWND Hwnd(std::int32_t control = 0) const {
    return reinterpret_cast<HWND>(NativeHandle(window_, control));
  }
  HMENU Bar() const { return GetMenu(Hwnd()); }
  bool Checked(std::int32_t item) const {
    return GetMenuState(Bar(), static_cast<UINT>(item), MF_BYCOMMAND) & MF_CHECKED;
  }
  std::array<std::uint8_t, 18> checks_{};
  Window window_;
};

TEST_F(MainWindowBars, MenuBarHoldsTheDescribedMenusWithMarksFromTheirVariables) {
  ASSERT_NE(Bar(), nullptr);
  EXPECT_EQ(Outline(Bar()), kMainMenuBar);
  // Every radio item shows the mark of its own variable.
  for (std::size_t i = 0; i < checks_.size(); ++i) checks_[i] = (i % 3 == 1) ? 1 : 0;
  RedisplayControls();
  for (std::size_t i = 0; i < checks_.size(); ++i) {
    EXPECT_EQ(Checked(kRadioItems[i]), checks_[i] == 1) << "item " << kRadioItems[i];
  }
  // Choosing a check item flips its mark before the loop hears of it;
  // redisplaying sets it from the variable again.
  PostMessageA(Hwnd(), WM_COMMAND, 10, 0);
  bool flippedInLoop = false;
  EXPECT_EQ(AcceptedControl([&] { flippedInLoop = Checked(10) == (checks_[1] == 0); }), 10);
  EXPECT_TRUE(flippedInLoop);
  RedisplayControls(10);
  EXPECT_EQ(Checked(10), checks_[1] == 1);
}

TEST_F(MainWindowBars, EveryMenuItemReachesTheLoopAndGreyedOrHiddenOnesCannotBeChosen) {
  for (std::int32_t item = 2; item <= 39; ++item) {
    if (item == 6 || item == 13 || item == 24 || item == 27 || item == 37) continue;  // menus
    PostMessageA(Hwnd(), WM_COMMAND, static_cast<WPARAM>(item), 0);
    EXPECT_EQ(AcceptedControl(), item);
  }
  DisableControls(35);
  EXPECT_TRUE(GetMenuState(Bar(), 35, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(GetProperty(35, PROP::Enabled), "");
  // A command for a greyed item (sent by a script) is not taken; the next
  // one is.
  PostMessageA(Hwnd(), WM_COMMAND, 35, 0);
  PostMessageA(Hwnd(), WM_COMMAND, 36, 0);
  EXPECT_EQ(AcceptedControl(), 36);
  EnableControls(35);
  EXPECT_FALSE(GetMenuState(Bar(), 35, MF_BYCOMMAND) & MF_GRAYED);
  // Hiding takes an item (or a whole menu) out; showing puts it back where
  // it was.
  HideControls(35);
  HideControls(13);
  EXPECT_EQ(GetMenuState(Bar(), 35, MF_BYCOMMAND), 0xFFFFFFFFu);
  EXPECT_EQ(GetProperty(13, PROP::Visible), "");
  ShowControls(13);
  ShowControls(35);
  RedisplayControls();  // the check items chosen above take their variables' marks again
  EXPECT_EQ(Outline(Bar()), kMainMenuBar);
  // Item properties change the native item in place.
  SetProperty(38, PROP::MenuBreak, 1);
  SetProperty(37, PROP::RightJustify, 1);
  SetProperty(34, PROP::Separator, 1);
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(Bar(), 38, FALSE, &info);
  EXPECT_TRUE(info.fType & MFT_MENUBARBREAK);
  GetMenuItemInfoA(Bar(), 2, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_RIGHTJUSTIFY);
  GetMenuItemInfoA(Bar(), 34, FALSE, &info);
  EXPECT_TRUE(info.fType & MFT_SEPARATOR);
  EXPECT_EQ(GetProperty(34, PROP::Separator), "1");
}

TEST_F(MainWindowBars, ToolBarButtonsShowTheirPicturesTipsAndReachTheLoop) {
  HWND bar = FindWindowExA(Hwnd(), nullptr, "WexToolBar", nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Hwnd(40), bar);
  EXPECT_EQ(GetProperty(40, PROP::Height), "26");
  const Capture backdrop(bar);
  const COLORREF background = backdrop.At(backdrop.rect().right - 3, backdrop.rect().bottom / 2);
  int buttons = 0;
  for (const Button& b : kButtons) {
    HWND button = Hwnd(b.number);
    ASSERT_NE(button, nullptr) << b.number;
    EXPECT_EQ(GetParent(button), bar);
    EXPECT_EQ(probe::ClassOf(button), "WexButton");
    EXPECT_EQ(TipOf(button), b.tip);
    // The picture shows over the bar's background, not in a box of its
    // transparent colour or of black.
    const std::set<COLORREF> inside = Capture(button).Inside();
    EXPECT_GT(inside.size(), 1u) << b.number;
    EXPECT_TRUE(inside.count(background)) << b.number;
    EXPECT_FALSE(inside.count(RGB(255, 0, 255))) << b.number;
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(AcceptedControl(), b.number);
    ++buttons;
  }
  EXPECT_EQ(buttons, 17);
  // A disabled button draws its picture greyed.
  std::set<COLORREF> enabled = Capture(Hwnd(41)).Inside();
  EXPECT_TRUE(std::any_of(enabled.begin(), enabled.end(), [](COLORREF c) { return !Grey(c); }));
  DisableControls(41);
  std::set<COLORREF> disabled = Capture(Hwnd(41)).Inside();
  EXPECT_GT(disabled.size(), 1u);
  EXPECT_TRUE(std::all_of(disabled.begin(), disabled.end(), Grey));
}

TEST_F(MainWindowBars, ToolBarSpansTheWindowAndTheOtherControlsLieBelowIt) {
  SetProperty(0, PROP::Pixels, 1);
  HWND bar = Hwnd(40);
  auto barWidth = [&] {
    RECT r;
    GetWindowRect(bar, &r);
    return r.right - r.left;
  };
  auto clientWidth = [&] {
    RECT r;
    GetClientRect(Hwnd(), &r);
    return r.right;
  };
  for (int width : {420, 760, 300}) {
    SetControlPosition(0, kDefaultPosition, kDefaultPosition, width, 320);
    EXPECT_EQ(clientWidth(), width);
    EXPECT_EQ(barWidth(), width);
    EXPECT_EQ(GetProperty(40, PROP::Width), std::to_string(width));
  }
  // The image control at the top of the area below the bar.
  RECT barRect, image;
  GetWindowRect(bar, &barRect);
  ShowControls(64);
  SetControlPosition(64, 0, 10, 50, 40);
  GetWindowRect(Hwnd(64), &image);
  EXPECT_EQ(image.top - barRect.bottom, 10);
  EXPECT_EQ(GetProperty(64, PROP::Ypos), "10");
  // Scrolling moves the contents, not the bar.
  SetProperty(0, PROP::VScrollPos, 255);
  RECT barAfter;
  GetWindowRect(bar, &barAfter);
  EXPECT_EQ(barAfter.top, barRect.top);
}

TEST(ToolBar, TilesItsOwnBackgroundAndItsButtonsShowPicturesFromFiles) {
  SetRuntimeStarted(true);
  constexpr COLORREF kTile = RGB(0, 120, 200);
  constexpr COLORREF kPicture = RGB(200, 30, 40);
  WriteBmp24("tile.bmp", 3, 3, [](int, int) { return kTile; });
  WriteBmp24("face.bmp", 6, 6, [](int, int) { return kPicture; });
  WindowPlan plan;
  plan.name = "$BAR";
  plan.title = "Bar";
  plan.rect = {30, 30, 240, 160};
  plan.pixelUnits = true;
  ControlPlan bar =
      Ctl(ControlType::ToolBar, 10, {0, 0, kDefaultPosition, kDefaultPosition}, "tile.bmp");
  bar.placement = 2;
  ControlPlan button = Ctl(ControlType::Button, 11, {4, 2, 20, 20});
  button.parent = 10;
  button.icon = "face.bmp";
  button.tip = "Face";
  ControlPlan below = Ctl(ControlType::Prompt, 12, {0, 0, 50, 10}, "Below");
  below.tip = "Under the bar";
  plan.controls = {bar, button, below};
  Window w;
  CreateWindowFromPlan(w, std::move(plan));
  OpenWindowObject(w);
  HWND barHwnd = reinterpret_cast<HWND>(NativeHandle(w, 10));
  // A bar without a height of its own is 26 units high.
  EXPECT_EQ(GetProperty(10, PROP::Height), "26");
  const Capture shown(barHwnd);
  EXPECT_EQ(shown.At(shown.rect().right - 2, shown.rect().bottom - 2), kTile);
  const std::set<COLORREF> inside = Capture(reinterpret_cast<HWND>(NativeHandle(w, 11))).Inside();
  EXPECT_TRUE(inside.count(kPicture));
  EXPECT_TRUE(inside.count(kTile));
  EXPECT_EQ(TipOf(reinterpret_cast<HWND>(NativeHandle(w, 11))), "Face");
  EXPECT_EQ(TipOf(reinterpret_cast<HWND>(NativeHandle(w, 12))), "Under the bar");
  RECT barRect, prompt;
  GetWindowRect(barHwnd, &barRect);
  GetWindowRect(reinterpret_cast<HWND>(NativeHandle(w, 12)), &prompt);
  EXPECT_EQ(prompt.top, barRect.bottom);
  CloseWindowObject(w);
  SetRuntimeStarted(false);
}

// --- Popup menus ---

// Presses keys (or clicks) on another thread once a popup menu shows, and
// notes where it showed. A menu still up after the input is closed with
// Esc posted to it, so that a failing test cannot hang.
class PopupInput {
 public:
  using Input = std::function<void(HWND menu)>;
  explicit PopupInput(Input input, DWORD patience = probe::kPatience)
      : thread_([this, input, patience] {
          HWND menu = nullptr;
          if (!probe::WaitFor(
                  [&] {
                    menu = FindWindowA("#32768", nullptr);
                    return menu && IsWindowVisible(menu);
                  },
                  patience)) {
            return;
          }
          GetWindowRect(menu, &shownAt_);
          input(menu);
          if (!probe::WaitFor([&] { return !IsWindowVisible(menu); }, 5000)) {
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
          }
        }) {}
  ~PopupInput() {
    if (thread_.joinable()) thread_.join();
  }
  RECT shownAt() {
    if (thread_.joinable()) thread_.join();
    return shownAt_;
  }

 private:
  RECT shownAt_ = {};
  std::thread thread_;
};

void Keys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
  }
}

PopupInput::Input Pressing(std::initializer_list<WORD> keys) {
  std::vector<WORD> list(keys);
  return [list](HWND) {
    for (WORD key : list) Keys({key});
  };
}

class PopupMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeStarted(true);
    WindowPlan plan;
    plan.name = "$POPUP";
    plan.title = "Popup";
    plan.rect = {40, 40, 200, 120};
    plan.pixelUnits = true;
    plan.controls = {Ctl(ControlType::Button, 1, {10, 10, 60, 20}, "Here")};
    CreateWindowFromPlan(window_, std::move(plan));
    OpenWindowObject(window_);
    focus_ = reinterpret_cast<HWND>(NativeHandle(window_, 1));
    SetFocus(focus_);
  }
  void TearDown() override {
    CloseWindowObject(window_);
    SetRuntimeStarted(false);
  }
  // Shows the popup at a point of the window with the given input.
  std::int32_t Choose(std::string_view text, PopupInput::Input input,
                      DWORD patience = probe::kPatience) {
    PopupInput driver(std::move(input), patience);
    return PopupMenu(text, 120, 120);
  }
  Window window_;
  HWND focus_ = nullptr;
};

TEST_F(PopupMenuTest, KeyboardChoosesTheItemsNumberAndEscapeChoosesNothing) {
  EXPECT_EQ(Choose("Open|-|~Save|Recent{One|Two}|Exit", Pressing({VK_DOWN, VK_RETURN})), 1);
  EXPECT_EQ(GetFocus(), focus_);
  // Into the sub-menu: Open, Save (greyed), Recent, then its second item.
  EXPECT_EQ(Choose("Open|-|~Save|Recent{One|Two}|Exit",
                   Pressing({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN})),
            4);
  EXPECT_EQ(Choose("Open|-|~Save|Recent{One|Two}|Exit", Pressing({VK_ESCAPE})), 0);
  // A greyed item cannot be chosen.
  EXPECT_EQ(Choose("~Greyed|-", Pressing({VK_DOWN, VK_RETURN})), 0);
  // Nothing to choose from: an empty menu (which the system may not even
  // show) gives 0.
  EXPECT_EQ(Choose("", Pressing({VK_ESCAPE}), 2000), 0);
  EXPECT_EQ(Choose("-|-", Pressing({VK_ESCAPE}), 2000), 0);
  EXPECT_EQ(GetFocus(), focus_);
  // A thread without a window of its own still gets its choice.
  std::int32_t chosen = -1;
  std::thread([&] {
    PopupInput driver(Pressing({VK_DOWN, VK_DOWN, VK_RETURN}));
    chosen = PopupMenu("|A||B", 100, 100);
  }).join();
  EXPECT_EQ(chosen, 2);
}

TEST_F(PopupMenuTest, ShowsAtTheMouseByDefaultAndTheRightButtonChooses) {
  SetCursorPos(150, 130);
  std::atomic<bool> clicked{false};
  PopupInput driver([&](HWND menu) {
    RECT r;
    GetWindowRect(menu, &r);
    // The right button, pressed and released over the first item. Each
    // event carries the place, so the press lands there even when the
    // pointer the display knows has not caught up with a move yet.
    SetCursorPos(r.left + 12, r.top + 8);
    const LONG width = GetSystemMetrics(SM_CXSCREEN) - 1,
               height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT input[2] = {};
    for (INPUT& in : input) {
      in.type = INPUT_MOUSE;
      in.mi.dx = MulDiv(r.left + 12, 65535, width);
      in.mi.dy = MulDiv(r.top + 8, 65535, height);
    }
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_RIGHTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_RIGHTUP;
    SendInput(2, input, sizeof(INPUT));
    clicked = true;
  });
  EXPECT_EQ(PopupMenu("+Sorted|-Unsorted"), 1);
  const RECT shown = driver.shownAt();
  EXPECT_TRUE(clicked);
  EXPECT_NEAR(shown.left, 150, 2);
  EXPECT_NEAR(shown.top, 130, 2);
}

}  // namespace
}  // namespace lumbra
