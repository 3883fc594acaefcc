// The message dialog built in memory, and the platform's common dialogs.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "winrt/dialogs.h"
#include "winrt/window.h"

namespace lumbra {

namespace {

MessageDialogReplacement g_messageReplacement = nullptr;
FileDialogReplacement g_fileReplacement = nullptr;
ColorDialogReplacement g_colorReplacement = nullptr;

HWND OwnerWindow() {
  Window* w = ActiveWindow();
  return w ? reinterpret_cast<HWND>(NativeHandle(*w)) : nullptr;
}

// A dialog template in memory: words, with items aligned on double words.
class DialogTemplate {
 public:
  void Header(DWORD style, short cx, short cy, std::string_view title, WORD items) {
    Dword(style);
    Dword(0);
    Word(items);
    Word(0), Word(0), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(0);  // no menu
    Word(0);  // the standard dialog class
    Text(title);
    Word(8);  // point size of the font
    Text("MS Sans Serif");
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
            std::string_view text) {
    while (words_.size() % 2) Word(0);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF);
    Word(classAtom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* data() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(std::string_view text) {
    for (unsigned char c : text) Word(c);
    Word(0);
  }
  std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kIconId = 900;
constexpr WORD kTextId = 901;

struct IconName {
  const char* name;
  LPCSTR icon;
};

const IconName kIcons[] = {
    {"ICON:Question", reinterpret_cast<LPCSTR>(IDI_QUESTION)},
    {"ICON:Exclamation", reinterpret_cast<LPCSTR>(IDI_EXCLAMATION)},
    {"ICON:Hand", reinterpret_cast<LPCSTR>(IDI_HAND)},
    {"ICON:Asterisk", reinterpret_cast<LPCSTR>(IDI_ASTERISK)},
    {"ICON:Application", reinterpret_cast<LPCSTR>(IDI_APPLICATION)},
};

HICON LoadNamedIcon(const std::string& name) {
  for (const auto& i : kIcons) {
    if (_stricmp(i.name, name.c_str()) == 0) return LoadIconA(nullptr, i.icon);
  }
  HICON own = LoadIconA(GetModuleHandleA(nullptr), name.c_str());
  return own ? own : LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

struct DialogState {
  std::vector<DialogButton> buttons;
  std::int32_t defaultButton;
  HICON icon;
};

INT_PTR CALLBACK MessageDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<DialogState*>(lp);
      SetWindowLongPtrA(hwnd, DWLP_USER, lp);
      if (state->icon)
        SendDlgItemMessageA(hwnd, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(state->icon), 0);
      for (const auto& b : state->buttons) {
        if (b.code == state->defaultButton) {
          SendMessageA(hwnd, DM_SETDEFID, static_cast<WPARAM>(b.nativeId), 0);
          SetFocus(GetDlgItem(hwnd, b.nativeId));
          return FALSE;
        }
      }
      return TRUE;
    }
    case WM_COMMAND: {
      if (!state || HIWORD(wp) != BN_CLICKED) return FALSE;
      const int id = LOWORD(wp);
      for (const auto& b : state->buttons) {
        if (b.nativeId == id) {
          EndDialog(hwnd, b.code);
          return TRUE;
        }
      }
      // Esc or the close box without a Cancel button: a lone button answers.
      if (id == IDCANCEL && state->buttons.size() == 1) EndDialog(hwnd, state->buttons[0].code);
      return TRUE;
    }
    default: return FALSE;
  }
}

}  // namespace

void SetMessageDialogReplacement(MessageDialogReplacement replacement) {
  g_messageReplacement = replacement;
}

std::int32_t MessageDialog(std::string_view text, std::string_view caption, std::string_view icon,
                           std::int32_t buttons, std::int32_t defaultButton, bool systemModal) {
  MessageDialogRequest request;
  request.text = text;
  request.caption = caption;
  request.icon = icon;
  request.buttons = buttons;
  request.defaultButton = defaultButton;
  request.systemModal = systemModal;
  return MessageDialog(request);
}

std::int32_t MessageDialog(const MessageDialogRequest& request) {
  if (g_messageReplacement) return g_messageReplacement(request);
  DialogState state{MessageDialogButtons(request.buttons, request.buttonCaptions),
                    request.defaultButton, nullptr};
  if (!request.icon.empty()) state.icon = LoadNamedIcon(request.icon);

  const std::string lines = MessageDialogLines(request.text);
  int lineCount = 1, longest = 0, current = 0;
  for (char c : lines) {
    if (c == '\n') {
      ++lineCount;
      current = 0;
    } else if (c != '\r') {
      longest = std::max(longest, ++current);
    }
  }
  const short iconSpace = state.icon ? 32 : 0;
  const short buttonWidth = 50, buttonGap = 6;
  const short buttonsWidth =
      static_cast<short>(state.buttons.size() * (buttonWidth + buttonGap) - buttonGap);
  const short textWidth = static_cast<short>(std::clamp(longest * 4 + 8, 60, 400));
  const short textHeight = static_cast<short>(std::min(lineCount, 40) * 9 + 4);
  const short width = static_cast<short>(std::max<int>(iconSpace + textWidth, buttonsWidth) + 20);
  const short height = static_cast<short>(std::max<short>(textHeight, iconSpace) + 44);

  DialogTemplate t;
  DWORD style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  if (request.systemModal) style |= DS_SYSMODAL;
  const WORD items = static_cast<WORD>(state.buttons.size() + 1 + (state.icon ? 1 : 0));
  t.Header(style, width, height, request.caption, items);
  if (state.icon) t.Item(SS_ICON, 10, 10, 21, 20, kIconId, kStaticAtom, "");
  t.Item(SS_LEFT | SS_NOPREFIX, static_cast<short>(10 + iconSpace), 10, textWidth, textHeight,
         kTextId, kStaticAtom, lines);
  short x = static_cast<short>((width - buttonsWidth) / 2);
  for (const auto& b : state.buttons) {
    const DWORD kind = b.code == request.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    t.Item(kind | WS_TABSTOP, x, static_cast<short>(height - 24), buttonWidth, 14,
           static_cast<WORD>(b.nativeId), kButtonAtom, b.caption);
    x = static_cast<short>(x + buttonWidth + buttonGap);
  }
  // A system-modal dialog holds the other threads' windows back while it
  // is up.
  struct ModalScope {
    bool on;
    explicit ModalScope(bool systemModal) : on(systemModal) {
      if (on) EnterSystemModal();
    }
    ~ModalScope() {
      if (on) LeaveSystemModal();
    }
  } modal(request.systemModal);
  const INT_PTR result =
      DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.data(), OwnerWindow(), MessageDialogProc,
                              reinterpret_cast<LPARAM>(&state));
  return result > 0 ? static_cast<std::int32_t>(result) : 0;
}

// --- File, folder and colour dialogs ---

namespace {

constexpr int kFileListId = 0x460;  // lst1
constexpr int kFileNameId = 0x480;  // edt1
constexpr int kFileNameLabelId = 0x442;
constexpr int kFileTypeId = 0x470;  // cmb1
constexpr int kFileTypeLabelId = 0x441;
constexpr int kCurrentFolderId = 0x440;  // stc1
constexpr int kFolderListId = 0x461;     // lst2
constexpr int kDriveListId = 0x471;      // cmb2
constexpr const char* kFolderPlaceholder = "-";
// Posted by the hook to itself: the dialog has handled a change of folder
// or drive, and the folder it now shows is the current directory.
constexpr UINT kFolderChanged = WM_APP + 0x20;

void ShowCurrentFolder(HWND dialog) {
  char folder[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  if (length > 0 && length < MAX_PATH) SetDlgItemTextA(dialog, kCurrentFolderId, folder);
}

bool ChangesFolder(WPARAM command) {
  const int id = LOWORD(command);
  const int code = HIWORD(command);
  return (id == kFolderListId && code == LBN_DBLCLK) ||
         (id == kDriveListId && code == CBN_SELCHANGE) || id == IDOK;
}

// The folder dialog: the file controls are hidden, so that only the
// folders are chosen from, and the current folder is in view. The hidden
// file name is a placeholder that every OK confirms, so that OK chooses
// the folder on show: the result is that folder followed by the
// placeholder.
UINT_PTR CALLBACK FolderHook(HWND hwnd, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      for (int id : {kFileListId, kFileNameId, kFileNameLabelId, kFileTypeId, kFileTypeLabelId}) {
        if (HWND item = GetDlgItem(hwnd, id)) ShowWindow(item, SW_HIDE);
      }
      SetDlgItemTextA(hwnd, kFileNameId, kFolderPlaceholder);
      ShowCurrentFolder(hwnd);
      return 0;
    case WM_COMMAND:
      // The dialog may have put a pattern into the hidden name while
      // changing folders; OK then would list files instead of closing.
      if (LOWORD(wp) == IDOK) SetDlgItemTextA(hwnd, kFileNameId, kFolderPlaceholder);
      // The dialog handles the command after the hook; the folder is shown
      // once it has been made current.
      if (ChangesFolder(wp)) PostMessageA(hwnd, kFolderChanged, 0, 0);
      return 0;
    case kFolderChanged: ShowCurrentFolder(hwnd); return 1;
    default: return 0;
  }
}

// Puts the current directory back when it goes out of scope. The
// platform's old-style dialog makes every folder the user opens current and
// does not always undo that, although it is asked to; the runtime's promise
// that the current directory stays unchanged is kept here.
class CurrentDirectoryKeeper {
 public:
  CurrentDirectoryKeeper() {
    const DWORD length = GetCurrentDirectoryA(0, nullptr);
    if (length == 0) return;
    std::vector<char> folder(length + 1, '\0');
    if (GetCurrentDirectoryA(static_cast<DWORD>(folder.size()), folder.data()) < folder.size())
      saved_ = folder.data();
  }
  ~CurrentDirectoryKeeper() {
    if (!saved_.empty()) SetCurrentDirectoryA(saved_.c_str());
  }
  CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
  CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

 private:
  std::string saved_;
};

bool ParsesAsPath(const std::string& name) {
  if (name.find_first_of("<>\"|?*") != std::string::npos) return false;
  char full[MAX_PATH];
  char* filePart = nullptr;
  return GetFullPathNameA(name.c_str(), MAX_PATH, full, &filePart) != 0;
}

}  // namespace

void SetFileDialogReplacement(FileDialogReplacement replacement) {
  g_fileReplacement = replacement;
}

bool FileDialog(std::string_view title, std::string& fileName, std::string_view filter,
                std::int32_t flags) {
  if (g_fileReplacement) return g_fileReplacement(title, fileName, filter, flags);
  std::vector<char> buffer(32768, '\0');
  std::string initial = fileName;
  if (!initial.empty() && !ParsesAsPath(initial)) initial.clear();
  const bool folder = flags & FILE_DIALOG::Directory;
  if (folder) initial = kFolderPlaceholder;
  std::copy_n(initial.begin(), std::min(initial.size(), buffer.size() - 1), buffer.begin());
  const std::string platformFilter = PlatformFilter(filter);
  const std::string titleText(title);

  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = OwnerWindow();
  ofn.hInstance = GetModuleHandleA(nullptr);
  ofn.lpstrFilter = filter.empty() ? nullptr : platformFilter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = titleText.empty() ? nullptr : titleText.c_str();
  ofn.Flags = OFN_HIDEREADONLY;
  if (flags & FILE_DIALOG::KeepDir) ofn.Flags |= OFN_NOCHANGEDIR;
  if (flags & FILE_DIALOG::Multi) ofn.Flags |= OFN_ALLOWMULTISELECT;
  if (flags & FILE_DIALOG::LongName) ofn.Flags |= OFN_EXPLORER | OFN_LONGNAMES;
  const bool save = flags & FILE_DIALOG::Save;
  if (folder) {
    ofn.Flags =
        (ofn.Flags & ~static_cast<DWORD>(OFN_EXPLORER)) | OFN_ENABLEHOOK | OFN_PATHMUSTEXIST;
    ofn.lpfnHook = FolderHook;
    if (FindResourceA(ofn.hInstance, "CHOOSEDIR", MAKEINTRESOURCEA(5))) {
      ofn.Flags |= OFN_ENABLETEMPLATE;
      ofn.lpTemplateName = "CHOOSEDIR";
    }
  } else if (save) {
    if (!(flags & FILE_DIALOG::NoError)) ofn.Flags |= OFN_OVERWRITEPROMPT;
  } else {
    ofn.Flags |= OFN_PATHMUSTEXIST;
    if (!(flags & FILE_DIALOG::NoError)) ofn.Flags |= OFN_FILEMUSTEXIST;
  }
  BOOL ok = FALSE;
  {
    std::optional<CurrentDirectoryKeeper> keep;
    if (flags & FILE_DIALOG::KeepDir) keep.emplace();
    ok = save && !folder ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  }
  if (!ok) return false;
  std::string chosen;
  if ((flags & FILE_DIALOG::Multi) && (flags & FILE_DIALOG::LongName)) {
    // Names separated by zero bytes, ending with two: joined with "|".
    for (std::size_t i = 0; i + 1 < buffer.size() && !(buffer[i] == '\0' && buffer[i + 1] == '\0');
         ++i) {
      chosen += buffer[i] == '\0' ? '|' : buffer[i];
    }
  } else {
    chosen = buffer.data();
  }
  fileName = folder ? FolderOfChoice(chosen) : chosen;
  return true;
}

void SetColorDialogReplacement(ColorDialogReplacement replacement) {
  g_colorReplacement = replacement;
}

namespace {

// The colour dialog's hook: it puts the caller's title on the dialog.
UINT_PTR CALLBACK ColourTitleHook(HWND dialog, UINT msg, WPARAM, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    const auto* cc = reinterpret_cast<const CHOOSECOLORA*>(lp);
    SetWindowTextA(dialog, reinterpret_cast<const char*>(cc->lCustData));
  }
  return 0;
}

}  // namespace

bool ColorDialog(std::string_view title, std::int32_t& colour) {
  if (g_colorReplacement) return g_colorReplacement(title, colour);
  static COLORREF custom[16] = {};
  const std::string titleText(title);
  CHOOSECOLORA cc = {};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = OwnerWindow();
  cc.rgbResult = colour < 0 ? 0 : static_cast<COLORREF>(colour);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT;
  if (!titleText.empty()) {
    cc.Flags |= CC_ENABLEHOOK;
    cc.lpfnHook = ColourTitleHook;
    cc.lCustData = reinterpret_cast<LPARAM>(titleText.c_str());
  }
  if (!ChooseColorA(&cc)) return false;
  colour = static_cast<std::int32_t>(cc.rgbResult);
  return true;
}

}  // namespace lumbra
