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
