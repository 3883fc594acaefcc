// The viewer run as a user runs it: a copy of lumbra.exe in the test's own
// folder (so that its LUMBRA.INI lands there), started as a process and
// driven from outside through its real windows: moved, sized, maximised and
// closed, with the closing question answered No and Yes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/child_process_win32.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/test_folder_win32.h"

namespace lumbra {
namespace {

using namespace probe;

constexpr const char* kSection = "Lumbra";
constexpr const char* kCloseTitle = "Close Lumbra";
constexpr const char* kCloseQuestion = "Are you sure you want to close the program?";

// The built program's path as this process names it: a path of the build
// machine's file system is reached through Wine's drive Z:.
std::string BuiltProgram() {
  std::string path = LUMBRA_PROGRAM;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path.rfind("\\", 0) == 0 ? "Z:" + path : path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct WindowSearch {
  DWORD process;
  const std::function<bool(HWND)>* test;
  HWND found;
};

BOOL CALLBACK TestWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window) || !(*search->test)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// The first visible top-level window of a process that passes the test.
HWND TopWindowOf(DWORD process, const std::function<bool(HWND)>& test) {
  WindowSearch search{process, &test, nullptr};
  EnumWindows(TestWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The main window: the runtime's window class, no owner.
bool IsMainWindow(HWND window) {
  return ClassOf(window).rfind("WexWin", 0) == 0 && GetWindow(window, GW_OWNER) == nullptr;
}

bool IsCloseQuestion(HWND window) {
  return ClassOf(window) == "#32770" && TextOf(window) == kCloseTitle;
}

// Whether a window's thread has come back to its message loop: a message
// sent to it is answered only there.
bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatience, &result) != 0;
}

// Whether a dialog shows an icon (the question mark of the closing question).
bool ShowsIcon(HWND dialog) {
  for (HWND item = FindWindowExA(dialog, nullptr, "Static", nullptr); item;
       item = FindWindowExA(dialog, item, "Static", nullptr)) {
    if ((GetWindowLongA(item, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        SendMessageA(item, STM_GETICON, 0, 0) != 0)
      return true;
  }
  return false;
}

struct Geometry {
  RECT frame{};
  RECT client{};
};

Geometry GeometryOf(HWND window) {
  Geometry g;
  GetWindowRect(window, &g.frame);
  GetClientRect(window, &g.client);
  return g;
}

// What a failing check saw of a window.
std::string Describe(HWND window) {
  const Geometry g = GeometryOf(window);
  return "frame " + std::to_string(g.frame.left) + "," + std::to_string(g.frame.top) + " to " +
         std::to_string(g.frame.right) + "," + std::to_string(g.frame.bottom) + ", client " +
         std::to_string(g.client.right) + "x" + std::to_string(g.client.bottom) +
         (IsZoomed(window) ? ", maximised" : ", not maximised");
}

// One running copy of the program. A test that fails with the program still
// running ends it here, so that nothing is left behind.
class Viewer {
 public:
  explicit Viewer(const std::string& program)
      : process_(program, "", program.substr(0, program.find_last_of('\\') + 1)) {}

  bool Started() const { return process_.Started(); }
  bool Running() const { return process_.Running(); }

  // The main window once the program waits for its user.
  HWND MainWindow() const {
    WaitForInputIdle(process_.Handle(), kPatience);
    HWND main = nullptr;
    WaitFor([&] { return (main = TopWindowOf(process_.Id(), IsMainWindow)) != nullptr; });
    return main;
  }

  HWND CloseQuestion() const {
    HWND dialog = nullptr;
    WaitFor([&] {
      return (dialog = TopWindowOf(process_.Id(), IsCloseQuestion)) != nullptr || !Running();
    });
    return dialog;
  }

  // The exit code, or -1 when the program is still running at the deadline.
  long ExitCode(DWORD patience = kPatience) const {
    return process_.Ends(patience) ? static_cast<long>(process_.ExitCode()) : -1;
  }

  DWORD Id() const { return process_.Id(); }

 private:
  ChildProcess process_;
};

// Presses a button of the closing question and waits until the question is
// gone.
bool Answer(HWND dialog, int button) {
  HWND item = GetDlgItem(dialog, button);
  if (!item) return false;
  PostMessageA(item, BM_CLICK, 0, 0);
  return WaitFor([&] { return !IsWindow(dialog); });
}

// Every test has its own folder with its own copy of the program, and an INI
// file that turns the welcome screen off: the tests are about the main
// window alone.
class RunCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = probe::OwnTestFolder();
    program_ = folder_ + "LUMBRA.EXE";
    ini_ = folder_ + "LUMBRA.INI";
    DeleteFileA(ini_.c_str());
    ASSERT_TRUE(CopyFileA(BuiltProgram().c_str(), program_.c_str(), FALSE)) << BuiltProgram();
    Write("ShowWelcomeScreen", "NO");
  }

  void Write(const char* key, const char* value) {
    WritePrivateProfileStringA(kSection, key, value, ini_.c_str());
  }
  std::string Read(const char* key) {
    char text[256] = {};
    GetPrivateProfileStringA(kSection, key, "<missing>", text, sizeof text, ini_.c_str());
    return text;
  }
  long ReadNumber(const char* key) { return std::strtol(Read(key).c_str(), nullptr, 10); }

  std::string folder_;
  std::string program_;
  std::string ini_;
};

// Closes a running viewer through its closing question answered Yes.
void CloseWithYes(Viewer& viewer, HWND main) {
  PostMessageA(main, WM_CLOSE, 0, 0);
  HWND question = viewer.CloseQuestion();
  ASSERT_NE(question, nullptr) << "no closing question";
  ASSERT_TRUE(Answer(question, IDYES));
  EXPECT_EQ(viewer.ExitCode(), 0);
}

TEST_F(RunCheck, NoKeepsTheWindowAndYesSavesItsMovedGeometryForTheNextStart) {
  Geometry moved;
  {
    Viewer viewer(program_);
    ASSERT_TRUE(viewer.Started());
    HWND main = viewer.MainWindow();
    ASSERT_NE(main, nullptr) << "no main window";
    // A first start comes up maximised; the window is restored, then moved.
    EXPECT_TRUE(WaitFor([&] { return IsZoomed(main) != 0; })) << Describe(main);
    ShowWindow(main, SW_RESTORE);
    ASSERT_TRUE(SetWindowPos(main, nullptr, 60, 40, 520, 330, SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(Answers(main));
    moved = GeometryOf(main);
    ASSERT_FALSE(IsZoomed(main));
    ASSERT_EQ(moved.frame.left, 60);
    ASSERT_EQ(moved.frame.top, 40);
    ASSERT_EQ(moved.frame.right - moved.frame.left, 520);
    ASSERT_EQ(moved.frame.bottom - moved.frame.top, 330);
    const std::string before = ReadFile(ini_);
    ASSERT_NE(before.find("PromptOnExit=YES"), std::string::npos) << before;

    PostMessageA(main, WM_CLOSE, 0, 0);
    HWND question = viewer.CloseQuestion();
    ASSERT_NE(question, nullptr) << "no closing question";
    EXPECT_EQ(GetWindow(question, GW_OWNER), main);
    EXPECT_NE(FindWindowExA(question, nullptr, "Static", kCloseQuestion), nullptr);
    EXPECT_TRUE(ShowsIcon(question));
    EXPECT_EQ(TextOf(GetDlgItem(question, IDYES)), "&Yes");
    EXPECT_EQ(TextOf(GetDlgItem(question, IDNO)), "&No");
    DWORD_PTR defaultId = 0;
    SendMessageTimeoutA(question, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, kPatience, &defaultId);
    EXPECT_EQ(LOWORD(defaultId), IDYES);

    // No: the window stays as it was and nothing is written.
    ASSERT_TRUE(Answer(question, IDNO));
    ASSERT_TRUE(Answers(main));
    EXPECT_TRUE(viewer.Running());
    EXPECT_TRUE(IsWindowVisible(main));
    const Geometry kept = GeometryOf(main);
    EXPECT_TRUE(EqualRect(&kept.frame, &moved.frame) && EqualRect(&kept.client, &moved.client));
    EXPECT_EQ(ReadFile(ini_), before);

    // Yes: the program ends and its geometry is in the INI file.
    CloseWithYes(viewer, main);
  }
  EXPECT_EQ(ReadNumber("XPos"), moved.frame.left);
  EXPECT_EQ(ReadNumber("YPos"), moved.frame.top);
  EXPECT_EQ(ReadNumber("Width"), moved.client.right);
  EXPECT_EQ(ReadNumber("Height"), moved.client.bottom);
  EXPECT_EQ(Read("Maximized"), "NO");

  // The next start comes up where the window was left, at its size.
  Viewer again(program_);
  ASSERT_TRUE(again.Started());
  HWND main = again.MainWindow();
  ASSERT_NE(main, nullptr) << "no main window on the second start";
  // The saved geometry is applied once the window is open; wait for it.
  Geometry restored;
  WaitFor([&] {
    restored = GeometryOf(main);
    return EqualRect(&restored.frame, &moved.frame) != 0;
  });
  EXPECT_FALSE(IsZoomed(main)) << Describe(main);
  EXPECT_EQ(restored.frame.left, moved.frame.left);
  EXPECT_EQ(restored.frame.top, moved.frame.top);
  EXPECT_EQ(restored.frame.right, moved.frame.right);
  EXPECT_EQ(restored.frame.bottom, moved.frame.bottom);
  EXPECT_EQ(restored.client.right, moved.client.right);
  EXPECT_EQ(restored.client.bottom, moved.client.bottom);
  CloseWithYes(again, main);
}

TEST_F(RunCheck, AWindowClosedMaximisedStartsMaximised) {
  Write("Maximized", "NO");
  Write("XPos", "30");
  Write("YPos", "20");
  Write("Width", "300");
  Write("Height", "200");
  Geometry maximised;
  {
    Viewer viewer(program_);
    ASSERT_TRUE(viewer.Started());
    HWND main = viewer.MainWindow();
    ASSERT_NE(main, nullptr) << "no main window";
    EXPECT_TRUE(WaitFor([&] {
      const Geometry now = GeometryOf(main);
      return now.frame.left == 30 && now.frame.top == 20 && now.client.right == 300 &&
             now.client.bottom == 200;
    })) << Describe(main);
    EXPECT_FALSE(IsZoomed(main)) << Describe(main);
    ShowWindow(main, SW_MAXIMIZE);
    ASSERT_TRUE(Answers(main));
    ASSERT_TRUE(IsZoomed(main));
    maximised = GeometryOf(main);
    CloseWithYes(viewer, main);
  }
  // The geometry is what the window reports, also when it is maximised.
  EXPECT_EQ(Read("Maximized"), "YES");
  EXPECT_EQ(ReadNumber("XPos"), maximised.frame.left);
  EXPECT_EQ(ReadNumber("YPos"), maximised.frame.top);
  EXPECT_EQ(ReadNumber("Width"), maximised.client.right);
  EXPECT_EQ(ReadNumber("Height"), maximised.client.bottom);

  // The next start comes up maximised, and stays so when closed again.
  Viewer again(program_);
  ASSERT_TRUE(again.Started());
  HWND main = again.MainWindow();
  ASSERT_NE(main, nullptr) << "no main window on the second start";
  EXPECT_TRUE(WaitFor([&] { return IsZoomed(main) != 0; })) << Describe(main);
  CloseWithYes(again, main);
  EXPECT_EQ(Read("Maximized"), "YES");
}

TEST_F(RunCheck, HostileGeometryInTheIniFileStillGivesAWindowThatCloses) {
  Write("XPos", "-2000000000");
  Write("YPos", "abc");
  Write("Width", "300");
  Write("Height", "70000");
  Write("Maximized", "no");
  Viewer viewer(program_);
  ASSERT_TRUE(viewer.Started());
  HWND main = viewer.MainWindow();
  ASSERT_NE(main, nullptr) << "no main window";
  ASSERT_TRUE(Answers(main));
  // The window is put where the user can reach it.
  RECT frame;
  GetWindowRect(main, &frame);
  EXPECT_NE(MonitorFromRect(&frame, MONITOR_DEFAULTTONULL), nullptr) << Describe(main);
  EXPECT_GE(frame.top, GetSystemMetrics(SM_YVIRTUALSCREEN)) << Describe(main);
  CloseWithYes(viewer, main);
  // Written back as the numbers and flags they were read as.
  EXPECT_EQ(Read("YPos").find_first_not_of("-0123456789"), std::string::npos) << Read("YPos");
  EXPECT_EQ(Read("Maximized"), "NO");
}

TEST_F(RunCheck, WithoutPromptOnExitTheCloseNeedsNoAnswer) {
  Write("PromptOnExit", "NO");
  Viewer viewer(program_);
  ASSERT_TRUE(viewer.Started());
  HWND main = viewer.MainWindow();
  ASSERT_NE(main, nullptr) << "no main window";
  PostMessageA(main, WM_CLOSE, 0, 0);
  bool asked = false;
  EXPECT_TRUE(WaitFor([&] {
    asked = asked || TopWindowOf(viewer.Id(), IsCloseQuestion) != nullptr;
    return !viewer.Running();
  }));
  EXPECT_FALSE(asked);
  EXPECT_EQ(viewer.ExitCode(0), 0);
  EXPECT_EQ(Read("PromptOnExit"), "NO");
}

}  // namespace
}  // namespace lumbra
