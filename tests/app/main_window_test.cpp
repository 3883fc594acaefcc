// The real lumbra.exe driven from outside as a user or an accessibility
// tool would: started on an image, its status zones read across the
// process boundary, keys and menu commands sent to its window, the
// clipboard read back.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/codecs/test_images.h"
#include "tests/winrt/native_probe.h"

namespace lumbra {
namespace {

using namespace probe;

std::string BuiltProgram() {
  std::string path = LUMBRA_PROGRAM;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path.rfind("\\", 0) == 0 ? "Z:" + path : path;
}

void Write(const std::string& path, const testing::Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

struct Search {
  DWORD process;
  HWND found;
};
BOOL CALLBACK FindMain(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != s->process || !IsWindowVisible(window) || ClassOf(window).rfind("WexWin", 0) != 0 ||
      GetWindow(window, GW_OWNER) != nullptr) {
    return TRUE;
  }
  s->found = window;
  return FALSE;
}

// One copy of the program in the test's own folder, started with an
// argument text and ended when the test is done.
class RunningViewer {
 public:
  RunningViewer(const std::string& folder, const std::string& arguments) {
    program_ = folder + "LUMBRA.EXE";
    CopyFileA(BuiltProgram().c_str(), program_.c_str(), FALSE);
    std::string command = "\"" + program_ + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(program_.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &info_) != 0;
    if (!started_) return;
    WaitForInputIdle(info_.hProcess, kPatience);
    WaitFor([&] {
      Search s{info_.dwProcessId, nullptr};
      EnumWindows(FindMain, reinterpret_cast<LPARAM>(&s));
      return (main_ = s.found) != nullptr;
    });
    bar_ = FindWindowExA(main_, nullptr, STATUSCLASSNAMEA, nullptr);
  }
  ~RunningViewer() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, kPatience);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  RunningViewer(const RunningViewer&) = delete;
  RunningViewer& operator=(const RunningViewer&) = delete;

  HWND main() const { return main_; }

  // A status zone's text, read through the program's own memory.
  std::string Zone(int zone) const {
    if (!bar_) return "<no status bar>";
    constexpr SIZE_T kRoom = 1024;
    void* remote = VirtualAllocEx(info_.hProcess, nullptr, kRoom, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return "<no memory>";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(bar_, SB_GETTEXTA, static_cast<WPARAM>(zone - 1),
                        reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, kPatience, &result);
    char text[kRoom] = {};
    ReadProcessMemory(info_.hProcess, remote, text, kRoom - 1, nullptr);
    VirtualFreeEx(info_.hProcess, remote, 0, MEM_RELEASE);
    return text;
  }
  bool ZoneBecomes(int zone, const std::string& text) const {
    return WaitFor([&] { return Zone(zone) == text; });
  }

  // The rectangle a control answers to a message, read through the
  // program's own memory (a tab's place on its sheet).
  RECT RemoteRect(HWND control, UINT message, WPARAM item) const {
    RECT r = {};
    void* remote = VirtualAllocEx(info_.hProcess, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return r;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, message, item, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                        kPatience, &result);
    ReadProcessMemory(info_.hProcess, remote, &r, sizeof r, nullptr);
    VirtualFreeEx(info_.hProcess, remote, 0, MEM_RELEASE);
    return r;
  }

  void Key(WPARAM key) const { PostMessageA(main_, WM_KEYDOWN, key, 1); }
  void Command(int item) const { PostMessageA(main_, WM_COMMAND, static_cast<WPARAM>(item), 0); }
  bool Ends() const { return WaitForSingleObject(info_.hProcess, kPatience) == WAIT_OBJECT_0; }

 private:
  std::string program_;
  PROCESS_INFORMATION info_{};
  bool started_ = false;
  HWND main_ = nullptr;
  HWND bar_ = nullptr;
};

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<clipboard busy>";
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(GlobalLock(block))) {
      text = chars;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return text;
}

// A folder of the test's own with three bitmaps of known sizes (one with a
// blank in its name) and the program's settings beside it.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ = CurrentFolder() + "\\" + name + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    Write(folder_ + "a first.bmp", testing::MakeBmp8(40, 30));
    Write(folder_ + "b.bmp", testing::MakeBmp8(20, 10));
    Write(folder_ + "c.bmp", testing::MakeBmp8(16, 16));
    const std::string ini = folder_ + "LUMBRA.INI";
    for (const auto& [key, value] : {std::pair{"ShowWelcomeScreen", "NO"},
                                     {"PromptOnExit", "NO"},
                                     {"Maximized", "NO"},
                                     {"Width", "640"},
                                     {"Height", "480"},
                                     {"AutoLoadDir", "YES"},
                                     {"KeepImageSettings", "NO"},
                                     {"DefaultSortOrder", "3"},
                                     {"UseLongFileNames", "YES"},
                                     {"WarnBadImage", "NO"}}) {
      WritePrivateProfileStringA("Lumbra", key, value, ini.c_str());
    }
  }
  std::string folder_;
};

TEST_F(MainWindowTest, StartsOnAnImageAndStepsZoomsScrollsAndCopies) {
  RunningViewer viewer(folder_, "\"" + folder_ + "a first.bmp\"");
  ASSERT_NE(viewer.main(), nullptr);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "a first.bmp  (1 of 3)")) << viewer.Zone(1);
  EXPECT_EQ(viewer.Zone(2), "40x30");
  EXPECT_EQ(viewer.Zone(3), "100%");
  EXPECT_EQ(viewer.Zone(4), "Normal");
  EXPECT_EQ(viewer.Zone(5), "Lumbra 1.0");

  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "b.bmp  (2 of 3)")) << viewer.Zone(1);
  EXPECT_EQ(viewer.Zone(2), "20x10");
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(2, "16x16")) << viewer.Zone(2);
  viewer.Key(VK_BACK);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "b.bmp  (2 of 3)")) << viewer.Zone(1);

  // Zoom keys: up by 25, down by 25 and no lower than 0.
  viewer.Key('Z');
  EXPECT_TRUE(viewer.ZoneBecomes(3, "125%")) << viewer.Zone(3);
  viewer.Command(15);  // Zoom 50%
  EXPECT_TRUE(viewer.ZoneBecomes(3, "50%")) << viewer.Zone(3);
  viewer.Key(VK_SUBTRACT);
  viewer.Key(VK_SUBTRACT);
  viewer.Key(VK_SUBTRACT);
  EXPECT_TRUE(viewer.ZoneBecomes(3, "0%")) << viewer.Zone(3);

  // The display modes by their menu items.
  viewer.Command(10);
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Stretched")) << viewer.Zone(4);
  EXPECT_EQ(viewer.Zone(3), "100%");
  viewer.Command(12);
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Best Fit")) << viewer.Zone(4);
  viewer.Command(9);
  EXPECT_TRUE(viewer.ZoneBecomes(4, "Normal")) << viewer.Zone(4);

  // Copy Path: the long path in quotes, as it holds a blank.
  viewer.Key(VK_BACK);
  EXPECT_TRUE(viewer.ZoneBecomes(2, "40x30")) << viewer.Zone(2);
  viewer.Command(26);
  EXPECT_TRUE(WaitFor([&] { return ClipboardText() == "\"" + folder_ + "a first.bmp\""; }))
      << ClipboardText();

  // Ctrl+X passes the close (Prompt on Exit is off here).
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

// A window of the program by its title, once it shows (null: it did not).
HWND Shown(const char* title) {
  HWND window = nullptr;
  WaitFor([&] { return (window = FindWindowA(nullptr, title)) && IsWindowVisible(window); });
  return window;
}
// A control's text as it answers WM_GETTEXT, which is carried across the
// process boundary (GetWindowText of another process's control reads only
// the caption stored by the system).
std::string AskText(HWND control) {
  char text[MAX_PATH * 2] = {};
  DWORD_PTR result = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, kPatience, &result);
  return text;
}
bool Gone(const char* title) {
  return WaitFor([&] { return FindWindowA(nullptr, title) == nullptr; });
}
void Press(HWND window, int button) { PostMessageA(GetDlgItem(window, button), BM_CLICK, 0, 0); }

TEST_F(MainWindowTest, SecondaryWindowsOpenFromTheirCommandsAndActOnTheViewer) {
  WritePrivateProfileStringA("Lumbra", "PromptOnExit", "YES", (folder_ + "LUMBRA.INI").c_str());
  RunningViewer viewer(folder_, "\"" + folder_ + "a first.bmp\"");
  ASSERT_NE(viewer.main(), nullptr);
  ASSERT_TRUE(viewer.ZoneBecomes(1, folder_ + "a first.bmp  (1 of 3)")) << viewer.Zone(1);

  // Image List: "by Size" orders b, c, a first; the row above the one on
  // show is c, and Next goes on in size order.
  viewer.Command(34);
  HWND listing = Shown("Select Image File...");
  ASSERT_NE(listing, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(listing, 9)), "Use Tabs to change sort order.");
  HWND sheet = GetDlgItem(listing, 1);
  const RECT tab = viewer.RemoteRect(sheet, TCM_GETITEMRECT, 4);
  const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  PostMessageA(sheet, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(sheet, WM_LBUTTONUP, 0, at);
  HWND list = GetDlgItem(listing, 8);
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 2; }));
  PostMessageA(list, WM_KEYDOWN, VK_UP, 1);
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 1; }));
  Press(listing, 12);
  EXPECT_TRUE(Gone("Select Image File..."));
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "c.bmp  (2 of 3)")) << viewer.Zone(1);
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, folder_ + "a first.bmp  (3 of 3)")) << viewer.Zone(1);

  // Properties of the image on show.
  viewer.Command(7);
  HWND properties = Shown("Image Properties");
  ASSERT_NE(properties, nullptr);
  // The entries are filled as the window's open event is handled.
  EXPECT_TRUE(WaitFor([&] { return AskText(GetDlgItem(properties, 12)) == "40x30"; }))
      << AskText(GetDlgItem(properties, 12));
  EXPECT_EQ(AskText(GetDlgItem(properties, 2)), folder_ + "a first.bmp");
  Press(properties, 15);
  EXPECT_TRUE(Gone("Image Properties"));

  // Zoom: 400 and OK.
  viewer.Command(22);
  HWND zoom = Shown("Zoom...");
  ASSERT_NE(zoom, nullptr);
  HWND spin = GetDlgItem(zoom, 2);
  PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  PostMessageA(spin, EM_SETSEL, 0, -1);
  for (const char c : std::string("400")) PostMessageA(spin, WM_CHAR, static_cast<WPARAM>(c), 1);
  Press(zoom, 3);
  EXPECT_TRUE(viewer.ZoneBecomes(3, "400%")) << viewer.Zone(3);

  // About, and Continue.
  viewer.Command(39);
  HWND about = Shown("About Lumbra 1.0");
  ASSERT_NE(about, nullptr);
  Press(about, 5);
  EXPECT_TRUE(Gone("About Lumbra 1.0"));

  // Program Setup: Prompt on Exit cleared and Ok is saved at once, and the
  // close that follows asks nothing.
  viewer.Command(4);
  HWND setup = Shown("Lumbra - Program Setup");
  ASSERT_NE(setup, nullptr);
  HWND prompt = GetDlgItem(setup, 7);
  EXPECT_EQ(SendMessageA(prompt, BM_GETCHECK, 0, 0), BST_CHECKED);
  PostMessageA(prompt, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(prompt, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
  Press(setup, 28);
  EXPECT_TRUE(Gone("Lumbra - Program Setup"));
  char saved[8] = {};
  GetPrivateProfileStringA("Lumbra", "PromptOnExit", "", saved, sizeof saved,
                           (folder_ + "LUMBRA.INI").c_str());
  EXPECT_STREQ(saved, "NO");
  viewer.Command(5);
  EXPECT_TRUE(viewer.Ends());
}

TEST_F(MainWindowTest, WithoutAnArgumentShowsNoImage) {
  RunningViewer viewer(folder_, "");
  ASSERT_NE(viewer.main(), nullptr);
  EXPECT_TRUE(viewer.ZoneBecomes(5, "Lumbra 1.0"));
  const HWND notLoaded = FindWindowExA(viewer.main(), nullptr, nullptr, "Image Not Loaded");
  EXPECT_TRUE(WaitFor([&] { return notLoaded && IsWindowVisible(notLoaded); }));
  for (int zone = 1; zone <= 4; ++zone) EXPECT_EQ(viewer.Zone(zone), "") << zone;
  PostMessageA(viewer.main(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(viewer.Ends());
}

}  // namespace
}  // namespace lumbra
