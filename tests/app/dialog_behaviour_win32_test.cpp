// The viewer's small windows behave as dialogs, seen on the real
// lumbra.exe from outside: option groups keep the user's choice, Enter and
// Esc work, the spin box keeps to its range, and the main window waits
// while a dialog is open.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "tests/codecs/test_images.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/running_viewer_win32.h"
#include "tests/support/test_folder_win32.h"

namespace lumbra {
namespace {

using namespace probe;

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Whether the focus in a window of the program comes to its control.
bool FocusBecomes(HWND window, int control) {
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return WaitFor([&] {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus == GetDlgItem(window, control);
  });
}

// Clicks a control until the condition holds, three times at most. A click
// that comes while the platform still maps a window just shown can reach
// the window beside the control; a radio clicked twice stays chosen.
bool ClickUntil(HWND control, const std::function<bool()>& condition) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!ClickOn(control)) return false;
    if (WaitFor(condition, 2000)) return true;
  }
  return false;
}

// Digits typed one by one on the keyboard.
void TypeKeys(HWND window, const std::string& digits) {
  for (const char digit : digits) EXPECT_TRUE(TypeInto(window, {static_cast<WORD>(digit)}));
}

// A folder of the test's own with four bitmaps and settings that start on
// Normal, unsorted, without the welcome window.
class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = OwnTestFolder();
    for (const char* file : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) {
      Write(folder_ + file, testing::MakeBmp8(40, 30));
    }
    WriteQuietSettings(
        Ini(), {{"AutoLoadDir", "YES"}, {"DefaultImageMode", "1"}, {"DefaultSortOrder", "1"}});
  }
  std::string Ini() const { return folder_ + "LUMBRA.INI"; }
  std::string Setting(const char* key) const {
    char value[32] = {};
    GetPrivateProfileStringA("Lumbra", key, "<missing>", value, sizeof value, Ini().c_str());
    return value;
  }
  std::string Showing(int position) const {
    return folder_ + static_cast<char>('a' + position - 1) + ".bmp  (" + std::to_string(position) +
           " of 4)";
  }
  // The viewer started on the first of the four images.
  bool StartOnTheFirstImage() {
    viewer_ = std::make_unique<RunningViewer>(folder_, "\"" + folder_ + "a.bmp\"");
    return viewer_->main() && viewer_->ZoneBecomes(1, Showing(1));
  }
  // A window opened by a command of the main window, once it shows and has
  // handled its open event (which sets its controls from their variables
  // and then gives the focus to one of them): a click before that would be
  // undone by it.
  HWND Open(int command, const char* title) const {
    viewer_->Command(command);
    HWND window = Shown(title);
    if (window) {
      WaitFor([&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
               info.hwndFocus && IsChild(window, info.hwndFocus);
      });
    }
    return window;
  }
  std::string folder_;
  std::unique_ptr<RunningViewer> viewer_;
};

// Program Setup: radios chosen with real clicks are saved by Ok, come back
// checked, and the two groups keep their own choices; Esc closes without
// saving; the colour dialog carries its title.
TEST_F(DialogTest, SetupKeepsTheChosenRadiosAndEscChangesNothing) {
  ASSERT_TRUE(StartOnTheFirstImage());
  const RunningViewer& viewer = *viewer_;

  HWND setup = Open(4, "Lumbra - Program Setup");
  ASSERT_NE(setup, nullptr);
  EXPECT_TRUE(Checked(GetDlgItem(setup, 12)));  // Normal
  EXPECT_TRUE(Checked(GetDlgItem(setup, 17)));  // UnSorted
  EXPECT_TRUE(ClickUntil(GetDlgItem(setup, 15),
                         [&] { return Checked(GetDlgItem(setup, 15)); }));  // Best Fit
  EXPECT_TRUE(ClickUntil(GetDlgItem(setup, 22),
                         [&] { return Checked(GetDlgItem(setup, 22)); }));  // by Date
  EXPECT_TRUE(Checked(GetDlgItem(setup, 15)));
  EXPECT_FALSE(Checked(GetDlgItem(setup, 12)));
  EXPECT_FALSE(Checked(GetDlgItem(setup, 17)));

  // The colour dialog, cancelled.
  Press(setup, 2);
  HWND colour = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (colour = viewer.Owned("#32770")) != nullptr; }));
  EXPECT_EQ(TextOf(colour), "Choose BG Color");
  PostMessageA(colour, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(colour); }));

  ASSERT_TRUE(ClickOn(GetDlgItem(setup, 28)));  // Ok
  EXPECT_TRUE(Gone("Lumbra - Program Setup"));
  EXPECT_EQ(Setting("DefaultImageMode"), "4");
  EXPECT_EQ(Setting("DefaultSortOrder"), "6");

  setup = Open(4, "Lumbra - Program Setup");
  ASSERT_NE(setup, nullptr);
  EXPECT_TRUE(Checked(GetDlgItem(setup, 15)));
  EXPECT_TRUE(Checked(GetDlgItem(setup, 22)));
  EXPECT_FALSE(Checked(GetDlgItem(setup, 12)));
  EXPECT_FALSE(Checked(GetDlgItem(setup, 17)));
  EXPECT_TRUE(
      ClickUntil(GetDlgItem(setup, 12), [&] { return Checked(GetDlgItem(setup, 12)); }));  // Normal

  // The keyboard: Alt+S goes to the sort group's choice, the arrows move
  // it, Tab and Shift+Tab go round the controls in number order, Alt+N
  // toggles "War&n about bad images".
  EXPECT_TRUE(TypeInto(setup, {VK_MENU, 'S'}));
  EXPECT_TRUE(FocusBecomes(setup, 22));
  EXPECT_TRUE(TypeInto(setup, {VK_UP}));
  EXPECT_TRUE(WaitFor([&] { return Checked(GetDlgItem(setup, 21)); }));
  EXPECT_FALSE(Checked(GetDlgItem(setup, 22)));
  EXPECT_TRUE(Checked(GetDlgItem(setup, 12)));
  EXPECT_TRUE(TypeInto(setup, {VK_TAB}));
  EXPECT_TRUE(FocusBecomes(setup, 28));
  EXPECT_TRUE(TypeInto(setup, {VK_SHIFT, VK_TAB}));
  EXPECT_TRUE(FocusBecomes(setup, 21));
  EXPECT_TRUE(TypeInto(setup, {VK_SHIFT, VK_TAB}));
  EXPECT_TRUE(FocusBecomes(setup, 12));
  const bool warned = Checked(GetDlgItem(setup, 4));
  EXPECT_TRUE(TypeInto(setup, {VK_MENU, 'N'}));
  EXPECT_TRUE(WaitFor([&] { return Checked(GetDlgItem(setup, 4)) != warned; }));

  // Esc leaves all of it unsaved.
  EXPECT_TRUE(TypeInto(setup, {VK_ESCAPE}));
  EXPECT_TRUE(Gone("Lumbra - Program Setup"));
  EXPECT_EQ(Setting("DefaultImageMode"), "4");
  EXPECT_EQ(Setting("DefaultSortOrder"), "6");
}

// Zoom: typed and taken with Enter; an entry beyond the spin box's range is
// refused and the window stays until an entry within it is taken.
TEST_F(DialogTest, ZoomTakesATypedEntryOnEnterWithinItsRange) {
  ASSERT_TRUE(StartOnTheFirstImage());
  const RunningViewer& viewer = *viewer_;
  ASSERT_EQ(viewer.Zone(4), "Normal");

  HWND zoom = Open(22, "Zoom...");
  ASSERT_NE(zoom, nullptr);
  TypeKeys(zoom, "400");
  EXPECT_TRUE(TypeInto(zoom, {VK_RETURN}));
  EXPECT_TRUE(Gone("Zoom..."));
  EXPECT_TRUE(viewer.ZoneBecomes(3, "400%")) << viewer.Zone(3);

  zoom = Open(22, "Zoom...");
  ASSERT_NE(zoom, nullptr);
  HWND spin = GetDlgItem(zoom, 2);
  EXPECT_TRUE(WaitFor([&] { return AskText(spin) == "400"; })) << AskText(spin);
  TypeKeys(zoom, "100400");
  EXPECT_TRUE(WaitFor([&] { return AskText(spin) == "100400"; })) << AskText(spin);
  EXPECT_TRUE(TypeInto(zoom, {VK_RETURN}));
  EXPECT_TRUE(WaitFor([&] { return AskText(spin) == "400"; })) << AskText(spin);
  EXPECT_TRUE(IsWindowVisible(zoom));
  EXPECT_TRUE(TypeInto(zoom, {VK_RETURN}));
  EXPECT_TRUE(Gone("Zoom..."));
  EXPECT_TRUE(viewer.Answers());
  EXPECT_EQ(viewer.Zone(3), "400%");
}

// Properties is modal: it belongs to the main window and stays above it;
// the main window is disabled meanwhile, and what is sent to it then is
// lost, not kept for later.
TEST_F(DialogTest, WhilePropertiesIsOpenTheMainWindowTakesNothing) {
  ASSERT_TRUE(StartOnTheFirstImage());
  const RunningViewer& viewer = *viewer_;

  HWND properties = Open(7, "Image Properties");
  ASSERT_NE(properties, nullptr);
  EXPECT_EQ(GetWindow(properties, GW_OWNER), viewer.main());
  EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(viewer.main()); }));
  SetWindowPos(viewer.main(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  HWND above = GetWindow(viewer.main(), GW_HWNDPREV);
  while (above && above != properties) above = GetWindow(above, GW_HWNDPREV);
  EXPECT_EQ(above, properties);

  // Next clicked on the tool bar, Space, the Next item and a drop.
  HWND bar = FindWindowExA(viewer.main(), nullptr, "WexToolBar", nullptr);
  HWND next = GetDlgItem(bar, 58);
  ASSERT_NE(next, nullptr);
  PostMessageA(next, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(next, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  PostMessageA(next, BM_CLICK, 0, 0);
  viewer.Key(VK_SPACE);
  viewer.Command(35);
  EXPECT_TRUE(viewer.Drop({folder_ + "d.bmp"}));
  // Close is posted after them, so they have all been handled by then.
  Press(properties, 15);
  EXPECT_TRUE(Gone("Image Properties"));
  EXPECT_TRUE(viewer.Answers());
  EXPECT_EQ(viewer.Zone(1), Showing(1));
  EXPECT_TRUE(IsWindowEnabled(viewer.main()));

  // Now the main window takes its keys again, one step at a time.
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, Showing(2))) << viewer.Zone(1);
  EXPECT_TRUE(viewer.Answers());
  EXPECT_EQ(viewer.Zone(1), Showing(2));
}

}  // namespace
}  // namespace lumbra
