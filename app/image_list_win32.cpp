// The image list: building it from an argument text and from a folder,
// sorting it, stepping through it, and the two commands that fill it.
#include "app/image_list.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstddef>

#include "app/argument_items.h"
#include "app/image_loading.h"
#include "app/image_prefetch.h"
#include "app/main_window_controls.h"
#include "app/menu_marks.h"
#include "app/path_text.h"
#include "app/program_settings.h"
#include "app/wait_cursor_win32.h"
#include "core/ascii_case.h"
#include "core/directory_listing.h"
#include "core/directory_rules.h"
#include "core/phase_trace.h"
#include "core/picture.h"
#include "images/image_formats.h"
#include "winrt/dialogs.h"
#include "winrt/window.h"

namespace lumbra {

namespace {

#define LUMBRA_FIELD(type, name) \
  { FieldType::type, offsetof(ImageEntry, name), sizeof(ImageEntry::name) }
constexpr FieldDescription kImageEntryFields[] = {
    LUMBRA_FIELD(Text, PATH),  LUMBRA_FIELD(Text, FILENAME),  LUMBRA_FIELD(Int32, SIZE),
    LUMBRA_FIELD(Text, DTPIC), LUMBRA_FIELD(Int32, DATE),     LUMBRA_FIELD(Int32, TIME),
    LUMBRA_FIELD(Text, TYPE),  LUMBRA_FIELD(Int32, IMAGEPOS),
};
#undef LUMBRA_FIELD

}  // namespace

const RecordLayout kImageEntryLayout{kImageEntryFields, sizeof(ImageEntry)};

ImageEntry FL;
Queue ImageList(&FL, kImageEntryLayout);
DirectoryEntry DQ;
Queue DirectoryQueue(&DQ, kDirectoryEntryLayout);
std::int32_t CurrentImage = 0;
std::uint32_t ImageListGeneration = 0;

namespace {

// The sort keys of each order, by field number.
const std::array<std::vector<std::int32_t>, 6> kSortKeys = {{
    {kFieldImagePos},
    {kFieldPath, kFieldFileName},
    {kFieldFileName},
    {kFieldType, kFieldFileName},
    {kFieldSize},
    {kFieldDate, kFieldTime},
}};

constexpr std::string_view kAllFiles = "*.*";

// The direction of the last step: 1 forward, -1 back.
std::int32_t g_travel = 1;

// Whether the last build listed a folder.
bool g_listedFolder = false;

// Whether the folder followed by the name is the path, letters compared
// without case (no joined text is made: a folder of many files asks this
// of every one).
bool IsPathOf(std::string_view folder, std::string_view name, std::string_view path) {
  return path.size() == folder.size() + name.size() &&
         SameIgnoringCase(path.substr(0, folder.size()), folder) &&
         SameIgnoringCase(path.substr(folder.size()), name);
}

// What a build has found so far.
struct ListBuild {
  std::int32_t added = 0;
  bool cancelled = false;
  bool listedFolder = false;  // an item named a folder, and it was listed
  std::string lastItem;       // the last item, in its short form
  std::string lastLong;       // and in its long form
  bool inputQuiet = false;    // no input waited at the last look
  DWORD quietSince = 0;
};

// A value formatted with a picture, the last one kept: the files of a
// folder share their dates, so most entries format nothing.
class FormattedValue {
 public:
  explicit FormattedValue(const char* picture) : picture_(CompilePicture(picture)) {}
  const std::string& operator()(std::int32_t value) {
    if (!held_ || value != value_) {
      text_ = FORMAT(value, picture_);
      value_ = value;
      held_ = true;
    }
    return text_;
  }

 private:
  Picture picture_;
  std::int32_t value_ = 0;
  bool held_ = false;
  std::string text_;
};

// Date, time and size of an entry from its directory entry.
void TakeFileFacts(ImageEntry& entry, const DirectoryEntry& found) {
  static FormattedValue date("@D1");
  static FormattedValue time("@T3");
  entry.DTPIC = date(found.DATE) + " " + time(found.TIME);
  entry.SIZE = found.SIZE;
  entry.DATE = found.DATE;
  entry.TIME = found.TIME;
}

// Takes the next input event waiting, if any; an Esc asks whether to stop
// the build, and Yes stops it. While input waits, every call takes one
// event; once none waits, the queue is looked at again after a few
// milliseconds, which keeps a listing of many files answering Esc at once
// without asking the system for input between every two entries.
bool CancelConfirmed(ListBuild& build) {
  constexpr DWORD kQuietPoll = 10;
  const DWORD now = GetTickCount();
  if (build.inputQuiet && now - build.quietSince < kQuietPoll) return false;
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) &&
      !PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    build.inputQuiet = true;
    build.quietSince = now;
    return false;
  }
  build.inputQuiet = false;
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE) return false;
  return MessageDialog(
             "You are about to cancel loading the image listing. Are you sure you want to do this?",
             "Cancel loading image list?", "ICON:Question", BUTTON::Yes + BUTTON::No,
             BUTTON::Yes) == BUTTON::Yes;
}

// The image files of a folder (its path ending with a backslash), in
// listing order, except the file the build was given.
void AddFolderImages(const std::string& folder, ListBuild& build) {
  DirectoryQueue.Free();
  ListDirectory(DirectoryQueue, folder + std::string(kAllFiles), 0);
  const std::string shortFolder(ClipTrailingBlanks(ShortPath(folder)));
  const std::string& entryFolder = NameSurvivesCodePage(folder) ? folder : shortFolder;
  const std::uint32_t count = DirectoryQueue.Records();
  for (std::uint32_t i = 1; i <= count; ++i) {
    DirectoryQueue.Get(i);
    // A name the code page cannot hold is listed, loaded and shown by the
    // short name the file system gives every file.
    const std::string_view name =
        NameSurvivesCodePage(DQ.NAME.clipped()) ? DQ.NAME.clipped() : DQ.SHORTNAME.clipped();
    const bool given = IsPathOf(shortFolder, name, build.lastItem) ||
                       IsPathOf(shortFolder, DQ.SHORTNAME.str(), build.lastItem) ||
                       IsPathOf(folder, name, build.lastLong);
    if (given) continue;
    const std::string_view type = TypeOfPath(name);
    if (IsImageType(type)) {
      FL = ImageEntry{};
      FL.PATH = entryFolder;
      FL.FILENAME = name;
      TakeFileFacts(FL, DQ);
      FL.TYPE = type;
      FL.IMAGEPOS = ++build.added;
      ImageList.Add();
    }
    if (CancelConfirmed(build)) {
      build.cancelled = true;
      return;
    }
  }
}

// An item of the argument text as the list takes it: short, upper case.
std::string ArgumentItem(std::string_view raw) {
  return AsciiUppercase(StripLeadingBlanks(ClipTrailingBlanks(ShortPath(raw))));
}

// The path a file item is listed by. A long path the code page cannot hold
// opens nothing: the entry keeps the short one.
std::string ListedPath(const std::string& item, const std::string& longForm) {
  return NameSurvivesCodePage(longForm) ? longForm : item;
}

// One item of the argument text, in its short upper-case form: a file
// becomes an entry (with zero size and blank dates when it does not
// exist); a folder lists its image files.
void AddArgumentItem(const std::string& item, ListBuild& build) {
  const std::string longForm = LongPath(item);
  DirectoryQueue.Free();
  ListDirectory(DirectoryQueue, item, kAttributeDirectory);
  const bool found = DirectoryQueue.Records() == 1;
  if (found) DirectoryQueue.Get(1);
  if ((found && (DQ.ATTRIB & kAttributeDirectory)) || item.back() == '\\') {
    std::string folder = longForm;
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    PS.LASTPATH = folder;
    AddFolderImages(folder, build);
    build.listedFolder = true;
    return;
  }
  build.lastItem = item;
  build.lastLong = longForm;
  const std::string listed = ListedPath(item, longForm);
  FL = ImageEntry{};
  FL.PATH = FolderOfPath(listed);
  FL.FILENAME = NameOfPath(listed);
  FL.IMAGEPOS = ++build.added;
  if (found) {
    TakeFileFacts(FL, DQ);
    FL.TYPE = TypeOfPath(item);
  }
  ImageList.Add();
  PS.LASTPATH = FL.PATH;
}

// CurrentImage and PS:FILENAME at the first entry added, wherever the sort
// put it; none for an empty list.
void TakeFirstAdded() {
  CurrentImage = 0;
  PS.FILENAME = "";
  const std::uint32_t count = ImageList.Records();
  for (std::uint32_t i = 1; i <= count; ++i) {
    ImageList.Get(i);
    if (FL.IMAGEPOS == 1) {
      CurrentImage = static_cast<std::int32_t>(i);
      PS.FILENAME = ImageEntryPath(FL);
      return;
    }
  }
}

}  // namespace

std::string ImageEntryPath(const ImageEntry& entry) {
  return entry.PATH.str() + entry.FILENAME.str();
}

std::string ImagePathAt(std::int32_t position) {
  if (position < 1 || static_cast<std::uint32_t>(position) > ImageList.Records()) return {};
  ImageList.Get(static_cast<std::uint32_t>(position));
  return ImageEntryPath(FL);
}

void BuildImageList(std::string_view text, bool dropped, bool forceFolder) {
  WaitCursor wait;
  // Nothing decoded for the old list is shown from the new one.
  ++ImageListGeneration;
  if (ImagePrefetch* prefetch = ViewerPrefetch()) prefetch->DiscardOtherBuilds(ImageListGeneration);
  g_travel = 1;
  DirectoryQueue.Free();
  ImageList.Free();
  ListBuild build;
  for (const std::string& raw : ArgumentItems(text, dropped)) {
    if (ClipTrailingBlanks(StripLeadingBlanks(raw)).empty()) break;
    const std::string item = ArgumentItem(raw);
    if (item.empty()) break;
    AddArgumentItem(item, build);
    if (build.cancelled || CancelConfirmed(build)) {
      build.cancelled = true;
      break;
    }
  }
  if (ImageList.Records() <= 1 && (PS.AUTOLOADDIR || forceFolder) && !build.cancelled &&
      !build.listedFolder) {
    AddFolderImages(std::string(PS.LASTPATH.clipped()), build);
    build.listedFolder = true;
  }
  g_listedFolder = build.listedFolder;
  DirectoryQueue.Free();
  SortImageList(PS.SORTORDER);
  TakeFirstAdded();
}

void SortImageList(std::int32_t order) {
  if (order < 1 || order > static_cast<std::int32_t>(kSortKeys.size())) return;
  ImageList.Sort(kSortKeys[static_cast<std::size_t>(order - 1)]);
}

void ResortImageList() {
  SortImageList(PS.SORTORDER);
  MarkSortMenu();
}

namespace {
// Shows the entry one step away (1 forward, -1 back), within the list.
void Step(std::int32_t direction) {
  g_travel = direction;
  const auto count = static_cast<std::int32_t>(ImageList.Records());
  CurrentImage = std::clamp(CurrentImage + direction, std::min(1, count), count);
  PS.FILENAME = ImagePathAt(CurrentImage);
  PhaseMarkNumber("list step to", CurrentImage);
  if (!PS.KEEPIMAGESETTINGS) ResetImageSettings();
  ShowImage();
}
}  // namespace

void NextImage() { Step(1); }
void PrevImage() { Step(-1); }

void PrefetchNeighbour() {
  ImagePrefetch* prefetch = ViewerPrefetch();
  const std::int32_t neighbour = CurrentImage + g_travel;
  if (prefetch == nullptr || CurrentImage < 1 || neighbour < 1 ||
      static_cast<std::uint32_t>(neighbour) > ImageList.Records()) {
    return;
  }
  // The record buffer stays as it was for whoever reads it next.
  const ImageEntry held = FL;
  const std::string path = ImagePathAt(neighbour);
  FL = held;
  const PhaseScope phase("prefetch request");
  prefetch->Request(ClipTrailingBlanks(StripLeadingBlanks(path)), ImageListGeneration);
}

void PrefetchArgumentImage(std::string_view text) {
  ImagePrefetch* prefetch = ViewerPrefetch();
  if (prefetch == nullptr) return;
  const std::vector<std::string> items = ArgumentItems(text, false);
  if (items.empty()) return;
  const std::string item = ArgumentItem(items.front());
  if (item.empty() || item.back() == '\\') return;
  const DWORD attributes = GetFileAttributesA(item.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  const std::string listed = ListedPath(item, LongPath(item));
  ImageEntry entry;
  entry.PATH = FolderOfPath(listed);
  entry.FILENAME = NameOfPath(listed);
  prefetch->Request(ClipTrailingBlanks(StripLeadingBlanks(ImageEntryPath(entry))),
                    ImageListGeneration + 1);
}

namespace {
// A list that came out empty: "No Images" for the folder listed, then no
// image on show.
void ShowNoImages() {
  if (g_listedFolder) {
    MessageDialog("There are no images in the following folder: " + PS.LASTPATH.str() +
                      " Please select another folder.",
                  "No Images", "ICON:Exclamation", BUTTON::Ok);
  }
  EnterNoImageState();
}
}  // namespace

void ShowArgumentList(std::string_view text, bool dropped) {
  BuildImageList(text, dropped, false);
  if (ImageList.Records() == 0) ShowNoImages();
  ShowImage();
}

void OpenImageCommand() {
  PS.TEMPFILENAME = SelectImageFile();
  if (PS.TEMPFILENAME.blank()) return;
  PS.FILENAME = ShortPath(PS.TEMPFILENAME.clipped());
  // Quoted, so that a path the system has no short form for keeps its blanks.
  BuildImageList("\"" + PS.FILENAME.str() + "\"", false, false);
  ShowImage();
}

void LoadFolderCommand() {
  PS.TEMPFILENAME = SelectImageFolder();
  if (PS.TEMPFILENAME.blank()) return;
  CurrentImage = 0;
  PS.OLDFILENAME = "\\";
  PS.FILENAME = "";
  SetProperty(0, PROP::StatusText, "Loading file listing...", MW::PathZone);
  RedisplayControls();
  PS.LASTPATH = PS.TEMPFILENAME;
  BuildImageList({}, false, true);
  if (ImageList.Records() == 0) {
    ShowNoImages();
  } else {
    CurrentImage = 1;
    PS.FILENAME = ImagePathAt(1);
  }
  ShowImage();
}

namespace {

// The file dialog opened in PS:LASTPATH, the current folder kept around it:
// the choice in upper case, or blank.
std::string ChooseInLastPath(std::string_view title, std::string_view initial,
                             std::string_view filter, std::int32_t flags) {
  char saved[MAX_PATH + 1] = {};
  bool restore = false;
  if (!PS.LASTPATH.blank()) {
    restore = GetCurrentDirectoryA(sizeof saved, saved) > 0;
    if (restore && !SetCurrentDirectoryA(PS.LASTPATH.str().c_str())) {
      SetCurrentDirectoryA(saved);
      restore = false;
    }
  }
  std::string name(initial);
  const bool chosen = FileDialog(title, name, filter, flags);
  if (restore) SetCurrentDirectoryA(saved);
  return chosen ? AsciiUppercase(name) : std::string();
}

}  // namespace

std::string SelectImageFile() {
  return ChooseInLastPath("Select Image File", "*.BMP", ImageDialogFilter(),
                          FILE_DIALOG::KeepDir | FILE_DIALOG::LongName);
}

std::string SelectImageFolder() {
  return ChooseInLastPath("Select Image Folder", "*.*", "*.*",
                          FILE_DIALOG::KeepDir | FILE_DIALOG::LongName | FILE_DIALOG::Directory);
}

}  // namespace lumbra
