// The folder dialog through its real window: a second thread plays the user,
// finds the dialog the test's thread shows, looks at it and presses its
// buttons, while the test's thread waits in FileDialog as the viewer would.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <thread>

#include "tests/support/native_probe_win32.h"
#include "winrt/dialogs.h"

namespace lumbra {
namespace {

using namespace probe;

// The viewer's folder choice: a folder, long names, the current directory
// left as it was.
constexpr std::int32_t kFolderFlags =
    FILE_DIALOG::Directory | FILE_DIALOG::LongName | FILE_DIALOG::KeepDir;
constexpr const char* kTitle = "Select Image Folder";

constexpr int kCurrentFolderId = 0x440;  // stc1
constexpr int kFolderListId = 0x461;     // lst2
constexpr int kDriveListId = 0x471;      // cmb2
constexpr int kFileListId = 0x460;       // lst1
constexpr int kFileNameId = 0x480;       // edt1
constexpr int kFileTypeId = 0x470;       // cmb1

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool Shown(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item && IsWindowVisible(item);
}

BOOL CALLBACK TakeDialog(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || ClassOf(window) != "#32770") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The visible dialog window of a thread, or null.
HWND DialogOfThread(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(thread, TakeDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// What the user saw of the dialog.
struct Sighting {
  bool found = false;
  std::string title;
  std::string currentFolder;  // the text of stc1
  bool folderControlsShown = false;
  bool fileControlsHidden = false;
  bool ownLayout = false;  // the "&Folders:" label of CHOOSEDIR
};

Sighting Look(HWND dialog) {
  Sighting seen;
  seen.found = true;
  seen.title = TextOf(dialog);
  seen.currentFolder = TextOf(GetDlgItem(dialog, kCurrentFolderId));
  seen.folderControlsShown = Shown(dialog, kFolderListId) && Shown(dialog, kDriveListId) &&
                             Shown(dialog, kCurrentFolderId) && Shown(dialog, IDOK);
  seen.fileControlsHidden = GetDlgItem(dialog, kFileListId) && !Shown(dialog, kFileListId) &&
                            !Shown(dialog, kFileNameId) && !Shown(dialog, kFileTypeId);
  seen.ownLayout = FindWindowExA(dialog, nullptr, "Static", "&Folders:") != nullptr;
  return seen;
}

void Press(HWND dialog, int button) { PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

// Opens a folder of the list the way a double click does.
bool OpenListedFolder(HWND dialog, const std::string& name) {
  HWND list = GetDlgItem(dialog, kFolderListId);
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[MAX_PATH] = {};
    if (SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= MAX_PATH) continue;
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    if (Upper(text) != Upper("[" + name + "]")) continue;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFolderListId, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
    return true;
  }
  return false;
}

// The user: waits for the dialog of the given thread, looks at it and then
// acts. A dialog still open at the deadline is cancelled, so that a failing
// test ends instead of waiting for a click that never comes.
class User {
 public:
  using Act = std::function<void(HWND dialog)>;
  User(DWORD thread, Act act) : worker_([this, thread, act] { Run(thread, act); }) {}
  ~User() {
    if (worker_.joinable()) worker_.join();
  }
  User(const User&) = delete;
  User& operator=(const User&) = delete;

  // Waits for the user to finish and tells what was seen.
  Sighting Finish() {
    if (worker_.joinable()) worker_.join();
    return seen_;
  }
  bool TimedOut() const { return timedOut_; }

 private:
  void Run(DWORD thread, const Act& act) {
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = DialogOfThread(thread)) != nullptr; })) return;
    seen_ = Look(dialog);
    act(dialog);
    if (WaitFor([&] { return !IsWindow(dialog); })) return;
    timedOut_ = true;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    if (!WaitFor([&] { return !IsWindow(dialog); }, 2000)) PostMessageA(dialog, WM_CLOSE, 0, 0);
  }

  Sighting seen_;
  bool timedOut_ = false;
  std::thread worker_;  // last: starts once the fields above exist
};

class FolderDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = CurrentFolder();
    folder_ = WithSlash(home_) + "Folder Pick";
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA((folder_ + "\\Holiday Photos").c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
    folder_ = CurrentFolder();  // as the system writes it
  }
  void TearDown() override { SetCurrentDirectoryA(home_.c_str()); }

  std::string home_;
  std::string folder_;
};

TEST_F(FolderDialog, OkChoosesTheCurrentFolderEndingWithABackslash) {
  User user(GetCurrentThreadId(), [](HWND dialog) { Press(dialog, IDOK); });
  std::string name = "*.*";
  const bool chosen = FileDialog(kTitle, name, "*.*", kFolderFlags);
  const Sighting seen = user.Finish();

  ASSERT_TRUE(seen.found);
  EXPECT_FALSE(user.TimedOut());
  EXPECT_EQ(seen.title, kTitle);
  EXPECT_TRUE(seen.ownLayout);
  EXPECT_TRUE(seen.folderControlsShown);
  EXPECT_TRUE(seen.fileControlsHidden);
  // The folder as the system writes it (the platform's own text would be
  // in lower case).
  EXPECT_EQ(seen.currentFolder, folder_);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(name, WithSlash(folder_));
  EXPECT_EQ(CurrentFolder(), folder_);
}

TEST_F(FolderDialog, OpeningAListedFolderShowsAndChoosesIt) {
  const std::string inner = WithSlash(folder_) + "Holiday Photos";
  std::string shownAfterOpening;
  bool listed = false;
  User user(GetCurrentThreadId(), [&](HWND dialog) {
    listed = OpenListedFolder(dialog, "Holiday Photos");
    HWND current = GetDlgItem(dialog, kCurrentFolderId);
    WaitFor([&] { return TextOf(current) == inner; }, 5000);
    shownAfterOpening = TextOf(current);
    // A pattern in the hidden name would make OK list files instead of
    // closing; OK still chooses the folder on show.
    SetDlgItemTextA(dialog, kFileNameId, "*.*");
    Press(dialog, IDOK);
  });
  std::string name = "*.*";
  const bool chosen = FileDialog(kTitle, name, "*.*", kFolderFlags);
  user.Finish();

  EXPECT_TRUE(listed);
  EXPECT_FALSE(user.TimedOut());
  EXPECT_EQ(shownAfterOpening, inner);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(name, WithSlash(inner));
  // The folder choice leaves the current directory where it was.
  EXPECT_EQ(CurrentFolder(), folder_);
}

TEST_F(FolderDialog, CancelReturnsFalseAndLeavesTheVariableAlone) {
  User user(GetCurrentThreadId(), [](HWND dialog) { Press(dialog, IDCANCEL); });
  std::string name = "C:\\KEEP\\ME\\";
  const bool chosen = FileDialog(kTitle, name, "*.*", kFolderFlags);
  const Sighting seen = user.Finish();

  EXPECT_TRUE(seen.found);
  EXPECT_FALSE(user.TimedOut());
  EXPECT_FALSE(chosen);
  EXPECT_EQ(name, "C:\\KEEP\\ME\\");
  EXPECT_EQ(CurrentFolder(), folder_);
}

}  // namespace
}  // namespace lumbra
