// ShowImage: the load, then the layout by mode, zoom and window size, each
// redone only when what it depends on changed since it was last done.
#include "app/image_loading.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/image_list.h"
#include "app/image_prefetch.h"
#include "app/main_window_controls.h"
#include "app/menu_marks.h"
#include "app/path_text.h"
#include "app/program_settings.h"
#include "app/status_texts.h"
#include "app/wait_cursor_win32.h"
#include "app/window_geometry.h"
#include "core/directory_listing.h"
#include "core/phase_trace.h"
#include "winrt/dialogs.h"
#include "winrt/window.h"

namespace lumbra {

std::int16_t ImageWidth = 0;
std::int16_t ImageHeight = 0;
FitScale BestFitScale;

namespace {

// What the window keeps for its bars in Stretched mode before the tool
// bar's own height is used.
constexpr std::int32_t kBarsHeight = 40;

// A command reached from the menu and from a tool-bar button.
struct Command {
  std::int32_t menuItem;
  std::int32_t button;
};
constexpr Command kZoomCommand{MW::ZoomMenu, MW::ZoomButton};
constexpr Command kColourSampleCommand{MW::ColourSample, MW::ColourSampleButton};
constexpr Command kPrevCommand{MW::Prev, MW::PrevButton};
constexpr Command kNextCommand{MW::Next, MW::NextButton};
constexpr Command kImageListCommand{MW::ImageListItem, MW::ImageListButton};

bool g_nextEnabled = false;
bool g_prevEnabled = false;

void Enable(Command command, bool on) {
  for (std::int32_t control : {command.menuItem, command.button}) {
    if (on) {
      EnableControls(control);
    } else {
      DisableControls(control);
    }
  }
}

void SetZone(std::int32_t zone, std::string_view text) {
  SetProperty(0, PROP::StatusText, text, zone);
}

void Display() { RedisplayControls(); }

bool Visible(std::int32_t control) { return GetProperty(control, PROP::Visible) == "1"; }

// Whether the window shows a scroll bar (PROP::HScroll or PROP::VScroll).
bool Shown(std::uint32_t bar) { return GetProperty(0, bar) == "1"; }

void SizeImageControl(std::int32_t width, std::int32_t height) {
  SetControlPosition(MW::ImageControl, kDefaultPosition, kDefaultPosition, width, height);
}

// The Tiled control covers the window, and the image when it is larger.
void SizeTiled() {
  SizeImageControl(std::max<std::int32_t>(WindowWidth(), ImageWidth),
                   std::max<std::int32_t>(WindowHeight(), ImageHeight));
}

void WarnBadImage() {
  MessageDialog("The is a problem loading the image \"" + PS.FILENAME.str() +
                    "\". Possibly the image is corrupt",
                "Error Loading Image", "ICON:Exclamation", BUTTON::Ok);
}

// The long form of PS:FILENAME for the status bar. Stepping through a list
// asks for one folder again and again, and the file system answers for
// each component of a path: the folder's long form is kept from the last
// call, and only the file's own name is looked up.
std::string LongFilePath(std::string_view path) {
  static std::string folder;
  static std::string longFolder;
  const std::size_t cut = path.rfind('\\');
  const bool absolute = path.size() > 3 && path[1] == ':' && path[2] == '\\';
  if (!absolute || cut == std::string_view::npos || cut < 3 || cut + 1 == path.size()) {
    return LongPath(path);
  }
  const std::string name = LongName(path);
  if (name.empty()) return LongPath(path);
  if (path.substr(0, cut) != folder) {
    folder = path.substr(0, cut);
    longFolder = LongPath(folder);
  }
  return longFolder + '\\' + name;
}

// Whether the image named is decoded ahead and waits to be shown.
bool DecodedAhead(std::string_view name) {
  ImagePrefetch* prefetch = ViewerPrefetch();
  return prefetch != nullptr && !name.empty() && prefetch->Ready(name, ImageListGeneration);
}

// The window's scroll bars on (Normal) or off, the contents scrolled back
// to their start. A bar that stays on is only scrolled back: switching it
// off and on again would change the window's frame twice, and the
// platform lays out and repaints the whole window for each change.
void SetScrollBars(bool on) {
  const std::pair<std::uint32_t, std::uint32_t> bars[] = {{PROP::HScroll, PROP::HScrollPos},
                                                          {PROP::VScroll, PROP::VScrollPos}};
  for (const auto& [bar, position] : bars) {
    if (on && Shown(bar)) {
      SetProperty(0, position, 0);
    } else {
      SetProperty(0, bar, on ? 1 : 0);
    }
  }
}

// Loads PS:FILENAME into the image control and reports a failure. While a
// file is really decoded the control is hidden and "Loading Image..."
// shows; an image decoded ahead takes the place of the one on show at
// once.
void LoadStep() {
  const PhaseScope phase("ShowImage: load step");
  const std::string_view name = PS.FILENAME.clipped();
  const bool decoding = !DecodedAhead(name);
  ImageAssigned assigned;
  {
    WaitCursor wait;
    PS.BADIMAGE = 0;
    HideControls(MW::ImageNotLoadedText);
    if (decoding) {
      HideControls(MW::ImageControl);
      CentreRule(MW::LoadingImageText);
      ShowControls(MW::LoadingImageText);
      PaintWindowNow();
    }
    // Neither stretched nor tiled, the control takes the image's natural
    // size; the layout below puts the mode's placement back.
    SetProperty(MW::ImageControl, PROP::Stretch, 0);
    SetProperty(MW::ImageControl, PROP::Tiled, 0);
    assigned = AssignImage(MW::ImageControl, name);
  }
  if (PS.FILENAME.blank() || !assigned.loaded) {
    // A blank name is no image to warn about.
    if (PS.WARNBADIMAGE && !PS.FILENAME.blank()) WarnBadImage();
    HideControls(MW::ImageControl);
    CentreRule(MW::ImageNotLoadedText);
    ShowControls(MW::ImageNotLoadedText);
    PS.BADIMAGE = 1;
  }
  ImageWidth = static_cast<std::int16_t>(assigned.width);
  ImageHeight = static_cast<std::int16_t>(assigned.height);
  SetControlPosition(MW::ImageControl, 0, 0);
  if (decoding) HideControls(MW::LoadingImageText);
  // A control without an image stays hidden behind "Image Not Loaded".
  if (!PS.KEEPIMAGESETTINGS && !PS.BADIMAGE) ShowControls(MW::ImageControl);
  SetZone(MW::SizeZone, SizeStatus(PS.BADIMAGE != 0, ImageWidth, ImageHeight));
  SetZone(MW::PathZone, PS.FILENAME.blank()
                            ? std::string()
                            : PathStatus(ClipTrailingBlanks(LongFilePath(PS.FILENAME.clipped())),
                                         CurrentImage, ImageList.Records()));
  PS.OLDFILENAME = PS.FILENAME;
  const std::string_view folder = FolderOfPath(PS.FILENAME.clipped());
  if (!folder.empty()) PS.LASTPATH = folder;
  // Every new image is laid out afresh in the current mode and zoom, and
  // the navigation follows the list it came from.
  PS.OLDIMAGEMODE = 0;
  PS.OLDIMAGEZOOM = -1;
  PS.OLDWINDOWHEIGHT = -1;
  SetNavigationStates();
  Display();
}

// Places the image control for PS:IMAGEMODE.
void ModeStep() {
  const PhaseScope phase("ShowImage: mode step");
  if (PS.IMAGEMODE < kModeNormal || PS.IMAGEMODE > kModeBestFit) PS.IMAGEMODE = kModeNormal;
  SetScrollBars(PS.IMAGEMODE == kModeNormal);
  if (PS.OLDIMAGEMODE == kModeBestFit || PS.OLDIMAGEMODE == 0) {
    SetControlPosition(MW::ImageControl, 0, 0);
    SetProperty(MW::ImageControl, PROP::Stretch, 0);
    SetProperty(MW::ImageControl, PROP::Tiled, 0);
  }
  SetZone(MW::ModeZone, ModeStatus(PS.IMAGEMODE));
  switch (PS.IMAGEMODE) {
    case kModeNormal: SizeImageControl(ImageWidth, ImageHeight); break;
    case kModeStretched:
      SetProperty(MW::ImageControl, PROP::Stretch, 1);
      SizeImageControl(WindowWidth(), WindowHeight() - kBarsHeight);
      break;
    case kModeTiled:
      SetProperty(MW::ImageControl, PROP::Tiled, 1);
      SizeTiled();
      break;
    case kModeBestFit:
      SetProperty(MW::ImageControl, PROP::Tiled, 0);
      BestFit();
      break;
  }
  // The layout above leaves a Normal control at the image's natural size,
  // so the zoom is applied afresh after it in every mode.
  if (PS.IMAGEMODE != kModeNormal) PS.IMAGEZOOM = 100;
  PS.OLDIMAGEZOOM = -1;
  Display();
  MarkModeMenu();
  Enable(kZoomCommand, PS.IMAGEMODE == kModeNormal);
  Enable(kColourSampleCommand, PS.IMAGEMODE == kModeStretched || PS.IMAGEMODE == kModeTiled);
  SetNavigationStates();
  PS.OLDIMAGEMODE = PS.IMAGEMODE;
}

// Sizes the image control for PS:IMAGEZOOM (Normal mode only), the zoom
// held within what the platform can paint.
void ZoomStep() {
  const PhaseScope phase("ShowImage: zoom step");
  if (PS.IMAGEMODE == kModeNormal) {
    PS.IMAGEZOOM = static_cast<std::int16_t>(
        std::clamp<std::int32_t>(PS.IMAGEZOOM, 0, LargestZoom(ImageWidth, ImageHeight)));
    SizeImageControl(ZoomedLength(PS.IMAGEZOOM, ImageWidth),
                     ZoomedLength(PS.IMAGEZOOM, ImageHeight));
  }
  SetZone(MW::ZoomZone, ZoomStatus(PS.IMAGEZOOM));
  PS.OLDIMAGEZOOM = PS.IMAGEZOOM;
  MarkZoomMenu();
}

// Re-lays the image out for a new window size.
void SizeStep() {
  const PhaseScope phase("ShowImage: size step");
  switch (PS.IMAGEMODE) {
    case kModeStretched: SizeImageControl(WindowWidth(), WindowHeight() - ToolbarHeight()); break;
    case kModeTiled: SizeTiled(); break;
    case kModeBestFit: BestFit(); break;
    default: break;
  }
  PS.OLDWINDOWWIDTH = PS.WINDOWWIDTH;
  PS.OLDWINDOWHEIGHT = PS.WINDOWHEIGHT;
}

}  // namespace

void ShowImage() {
  const bool load = PS.FILENAME != PS.OLDFILENAME;
  if (load) LoadStep();
  if (PS.IMAGEMODE != PS.OLDIMAGEMODE) ModeStep();
  if (PS.IMAGEZOOM != PS.OLDIMAGEZOOM) ZoomStep();
  if (PS.OLDWINDOWWIDTH != PS.WINDOWWIDTH || PS.OLDWINDOWHEIGHT != PS.WINDOWHEIGHT) SizeStep();
  if (!Visible(MW::ImageControl) && PS.BADIMAGE == 0) ShowControls(MW::ImageControl);
  // With the image laid out and on the screen, the one likely to come next
  // is read and decoded ahead: begun earlier, the two would share the
  // processor while the new image is painted.
  if (load) {
    PaintWindowNow();
    PrefetchNeighbour();
  }
}

void BestFit() {
  const ControlPlace place =
      BestFitPlace(WindowWidth(), WindowHeight(), ToolbarHeight(), ImageWidth, ImageHeight);
  BestFitScale = place.scale;
  SetControlPosition(MW::ImageControl, place.x, place.y, place.width, place.height);
  SetProperty(MW::ImageControl, PROP::Stretch, 1);
}

void ResetImageSettings() {
  PS.IMAGEMODE = kModeNormal;
  PS.OLDIMAGEMODE = 0;
  PS.IMAGEZOOM = 100;
  PS.OLDIMAGEZOOM = -1;
}

void EnterNoImageState() {
  CurrentImage = 0;
  PS.OLDFILENAME = "";
  PS.FILENAME = "";
  for (std::int32_t zone : {MW::PathZone, MW::SizeZone, MW::ZoomZone, MW::ModeZone}) {
    SetZone(zone, {});
  }
  HideControls(MW::ImageControl);
  CentreRule(MW::ImageNotLoadedText);
  ShowControls(MW::ImageNotLoadedText);
  PS.BADIMAGE = 1;
  // The next ShowImage names the mode and the zoom again, and sets the
  // commands for the list as it now is.
  PS.OLDIMAGEMODE = 0;
  PS.OLDIMAGEZOOM = -1;
}

void SetNavigationStates() {
  const auto count = static_cast<std::int32_t>(ImageList.Records());
  const bool several = count > 1;
  g_prevEnabled = several && CurrentImage != 1;
  g_nextEnabled = several && CurrentImage != count;
  Enable(kImageListCommand, several);
  Enable(kPrevCommand, g_prevEnabled);
  Enable(kNextCommand, g_nextEnabled);
}

bool NextEnabled() { return g_nextEnabled; }
bool PrevEnabled() { return g_prevEnabled; }

}  // namespace lumbra
