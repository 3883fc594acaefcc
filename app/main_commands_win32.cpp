// The main window's command table and its handlers.
#include "app/main_commands.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app/about_window.h"
#include "app/colour_sample_window.h"
#include "app/file_listing_window.h"
#include "app/image_list.h"
#include "app/image_loading.h"
#include "app/image_prefetch.h"
#include "app/image_properties_window.h"
#include "app/main_popups.h"
#include "app/main_window.h"
#include "app/main_window_controls.h"
#include "app/menu_marks.h"
#include "app/path_text.h"
#include "app/program_settings.h"
#include "app/program_setup_window.h"
#include "app/zoom_window.h"
#include "core/directory_listing.h"
#include "core/directory_rules.h"
#include "core/phase_trace.h"
#include "display/clipboard.h"
#include "winrt/event_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {

constexpr std::int32_t kNone = 0;

// Where a command comes from: its menu item, its tool-bar button and its
// main-popup entry (kNone where it has none), and its value.
struct CommandSource {
  Command command;
  std::int32_t menuItem;
  std::int32_t button;
  std::int32_t popupEntry;
  std::int32_t value = 0;
};

constexpr CommandSource kCommands[] = {
    {Command::OpenImage, MW::OpenImage, MW::LoadImageButton, 18},
    {Command::LoadFolder, MW::LoadFolder, MW::LoadFolderButton, 19},
    {Command::ProgramSetup, MW::ProgramSetup, kNone, kNone},
    {Command::Exit, MW::Exit, kNone, 20},
    {Command::Properties, MW::Properties, MW::PropertiesButton, 1},
    {Command::Refresh, MW::Refresh, MW::RefreshButton, kNone},
    {Command::Normal, MW::ModeNormal, MW::NormalButton, kNone},
    {Command::NormalKeepZoom, kNone, kNone, 2},
    {Command::Stretched, MW::ModeNormal + 1, MW::StretchedButton, 3},
    {Command::Tiled, MW::ModeNormal + 2, MW::TiledButton, 4},
    {Command::BestFit, MW::ModeNormal + 3, MW::BestFitButton, 5},
    {Command::ZoomStep, MW::Zoom25, kNone, 6, 25},
    {Command::ZoomStep, MW::Zoom25 + 1, kNone, 7, 50},
    {Command::ZoomStep, MW::Zoom25 + 2, kNone, 8, 75},
    {Command::ZoomStep, MW::Zoom25 + 3, kNone, 9, 100},
    {Command::ZoomStep, MW::Zoom25 + 4, kNone, 10, 125},
    {Command::ZoomStep, MW::Zoom25 + 5, kNone, 11, 150},
    {Command::ZoomStep, MW::Zoom25 + 6, kNone, 12, 175},
    {Command::ZoomStep, MW::Zoom25 + 7, kNone, 13, 200},
    {Command::CustomZoom, MW::CustomZoom, kNone, 14},
    {Command::ZoomPopup, kNone, MW::ZoomButton, kNone},
    {Command::ColourSample, MW::ColourSample, MW::ColourSampleButton, kNone},
    {Command::CopyImage, MW::CopyImage, MW::CopyImageButton, 15},
    {Command::CopyPath, MW::CopyPath, MW::CopyPathButton, 16},
    {Command::Sort, MW::SortNone, kNone, kNone, kSortNone},
    {Command::Sort, MW::SortNone + 1, kNone, kNone, kSortPath},
    {Command::Sort, MW::SortNone + 2, kNone, kNone, kSortName},
    {Command::Sort, MW::SortNone + 3, kNone, kNone, kSortType},
    {Command::Sort, MW::SortNone + 4, kNone, kNone, kSortSize},
    {Command::Sort, MW::SortNone + 5, kNone, kNone, kSortDate},
    {Command::SortPopup, kNone, MW::SortButton, kNone},
    {Command::ImageList, MW::ImageListItem, MW::ImageListButton, 17},
    {Command::Next, MW::Next, MW::NextButton, kNone},
    {Command::Prev, MW::Prev, MW::PrevButton, kNone},
    {Command::Help, MW::HelpContents, MW::HelpButton, kNone},
    {Command::About, MW::About, kNone, kNone},
};

void SetMode(std::uint8_t mode) {
  PS.IMAGEMODE = mode;
  ShowImage();
}

void SetZoom(std::int32_t zoom) {
  PS.IMAGEZOOM = static_cast<std::int16_t>(zoom);
  ShowImage();
}

// The image on show as the window's wallpaper, the colour names over it,
// until the colour-sample window is closed; then everything as it was.
void ShowColourSample() {
  SetProperty(0, PROP::Tiled, 0);
  SetProperty(0, PROP::Stretch, 0);
  SetProperty(0, PROP::Wallpaper, PS.FILENAME.clipped());
  if (PS.IMAGEMODE == kModeStretched) SetProperty(0, PROP::Stretch, 1);
  if (PS.IMAGEMODE == kModeTiled) SetProperty(0, PROP::Tiled, 1);
  HideControls(MW::ImageControl);
  ShowControls(MW::ColourSamplePanel);
  RedisplayControls();
  ColourSampleWindow();
  SetProperty(0, PROP::Wallpaper, "");
  ShowControls(MW::ImageControl);
  HideControls(MW::ColourSamplePanel);
  ApplyBackground();
  RedisplayControls();
}

void ShowImageList() {
  if (FileListingWindow() <= 0) return;
  // The list keeps the order its window chose.
  MarkSortMenu();
  MarkSortPopup();
  ShowImage();
}

}  // namespace

void RunCommand(Command command, std::int32_t value) {
  PhaseMarkNumber("command dispatched", static_cast<std::int64_t>(command));
  switch (command) {
    case Command::OpenImage: OpenImageCommand(); break;
    case Command::LoadFolder: LoadFolderCommand(); break;
    case Command::ProgramSetup:
      ProgramSetupWindow();
      SetProperty(0, PROP::Background, PS.BGCOLOR);
      ApplyBackground();
      PS.OLDIMAGEMODE = 0;
      ShowImage();
      break;
    case Command::Exit: PostEvent(Event::CloseWindow); break;
    case Command::Properties: ImagePropertiesWindow(PS.FILENAME.clipped()); break;
    case Command::Refresh:
      // The file is read again: no copy decoded ahead stands in for it.
      if (ImagePrefetch* prefetch = ViewerPrefetch()) {
        prefetch->Discard(ClipTrailingBlanks(StripLeadingBlanks(PS.FILENAME.clipped())));
      }
      PS.OLDFILENAME = "";
      PS.OLDIMAGEMODE = 0;
      ShowImage();
      break;
    case Command::Normal:
      PS.IMAGEMODE = kModeNormal;
      ResetImageSettings();
      ShowImage();
      break;
    case Command::NormalKeepZoom: SetMode(kModeNormal); break;
    case Command::Stretched: SetMode(kModeStretched); break;
    case Command::Tiled: SetMode(kModeTiled); break;
    case Command::BestFit: SetMode(kModeBestFit); break;
    case Command::ZoomStep: SetZoom(value); break;
    case Command::CustomZoom: SetZoom(ZoomWindow()); break;
    case Command::ZoomPopup: RunZoomPopupEntry(PopUpZoomMenu()); break;
    case Command::ColourSample: ShowColourSample(); break;
    case Command::CopyImage:
      if (!PS.BADIMAGE) SetProperty(MW::ImageControl, PROP::ImageBlob, 1);
      break;
    case Command::CopyPath: CopyPathToClipboard(PS.FILENAME.clipped(), PS.USELONGFILENAMES); break;
    case Command::Sort:
      PS.SORTORDER = static_cast<std::uint8_t>(value);
      ResortImageList();
      break;
    case Command::SortPopup: {
      const std::int32_t order = PopUpSortMenu();
      if (order >= kSortNone && order <= kSortDate) RunCommand(Command::Sort, order);
      break;
    }
    case Command::ImageList: ShowImageList(); break;
    case Command::Next: NextImage(); break;
    case Command::Prev: PrevImage(); break;
    case Command::Help: ShowHelp(); break;
    case Command::About: AboutWindow(); break;
  }
}

void RunControlCommand(std::int32_t control) {
  if (control == kNone) return;
  for (const CommandSource& source : kCommands) {
    if (source.menuItem == control || source.button == control) {
      RunCommand(source.command, source.value);
      return;
    }
  }
}

void RunMainPopupEntry(std::int32_t entry) {
  if (entry == kNone) return;
  for (const CommandSource& source : kCommands) {
    if (source.popupEntry == entry) {
      RunCommand(source.command, source.value);
      return;
    }
  }
}

void RunZoomPopupEntry(std::int32_t entry) {
  // The zoom popup's entries are the main popup's zoom entries, in order.
  constexpr std::int32_t kFirstMainZoomEntry = 6;
  if (entry >= 1 && entry <= 9) RunMainPopupEntry(entry - 1 + kFirstMainZoomEntry);
}

void CopyPathToClipboard(std::string_view path, bool longNames) {
  const std::string_view clipped = ClipTrailingBlanks(path);
  if (clipped.empty()) return;
  if (!longNames) {
    CopyTextToClipboard(ShortPath(clipped));
    return;
  }
  std::string text(ClipTrailingBlanks(LongPath(clipped)));
  // A long path the code page cannot hold would open nothing: the short one does.
  if (!NameSurvivesCodePage(text)) text = ShortPath(clipped);
  if (text.find(' ') != std::string::npos) text = "\"" + text + "\"";
  CopyTextToClipboard(text);
}

void ShowHelp() {
  // The page's path in quotes, however deep the program's folder lies: a
  // path cut short would open nothing.
  char program[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
  const std::string page =
      "\"" + std::string(FolderOfPath(std::string_view(program, length))) + "lbhelp.htm\"";
  ShellExecuteA(GetDesktopWindow(), "open", page.c_str(), "", "", SW_SHOW);
}

}  // namespace lumbra
