// ShowImage: the load, then the layout by mode, zoom and window size, each
// redone only when what it depends on changed since it was last done.
#include "app/image_loading.h"

#include <algorithm>
#include <string>

#include "app/image_list.h"
#include "app/main_window_controls.h"
#include "app/menu_marks.h"
#include "app/path_text.h"
#include "app/program_settings.h"
#include "app/status_texts.h"
#include "app/wait_cursor_win32.h"
#include "app/window_geometry.h"
#include "core/directory_listing.h"
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

// Loads PS:FILENAME into the image control and reports a failure.
void LoadStep() {
  {
    WaitCursor wait;
    PS.BADIMAGE = 0;
    HideControls(MW::ImageControl);
    HideControls(MW::ImageNotLoadedText);
    CentreRule(MW::LoadingImageText);
    CentreRule(MW::ImageNotLoadedText);
    ShowControls(MW::LoadingImageText);
    Display();
    // Neither stretched nor tiled, the control takes the image's natural
    // size; the layout below puts the mode's placement back.
    SetProperty(MW::ImageControl, PROP::Stretch, 0);
    SetProperty(MW::ImageControl, PROP::Tiled, 0);
    SetProperty(MW::ImageControl, PROP::Text, PS.FILENAME.clipped());
  }
  if (PS.FILENAME.blank() || GetProperty(MW::ImageControl, PROP::Text) != PS.FILENAME.clipped()) {
    // A blank name is no image to warn about.
    if (PS.WARNBADIMAGE && !PS.FILENAME.blank()) WarnBadImage();
    ShowControls(MW::ImageNotLoadedText);
    PS.BADIMAGE = 1;
  }
  ImageWidth = static_cast<std::int16_t>(PropertyNumber(MW::ImageControl, PROP::Width));
  ImageHeight = static_cast<std::int16_t>(PropertyNumber(MW::ImageControl, PROP::Height));
  SetControlPosition(MW::ImageControl, 0, 0);
  SetProperty(MW::ImageControl, PROP::Stretch, 0);
  HideControls(MW::LoadingImageText);
  Display();
  // A control without an image stays hidden behind "Image Not Loaded".
  if (!PS.KEEPIMAGESETTINGS && !PS.BADIMAGE) {
    ShowControls(MW::ImageControl);
    Display();
  }
  SetZone(MW::SizeZone, SizeStatus(PS.BADIMAGE != 0, ImageWidth, ImageHeight));
  SetZone(MW::PathZone, PS.FILENAME.blank()
                            ? std::string()
                            : PathStatus(ClipTrailingBlanks(LongPath(PS.FILENAME.clipped())),
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
  if (PS.IMAGEMODE < kModeNormal || PS.IMAGEMODE > kModeBestFit) PS.IMAGEMODE = kModeNormal;
  SetProperty(0, PROP::HScroll, 0);
  SetProperty(0, PROP::VScroll, 0);
  if (PS.OLDIMAGEMODE == kModeBestFit || PS.OLDIMAGEMODE == 0) {
    SetControlPosition(MW::ImageControl, 0, 0);
    SetProperty(MW::ImageControl, PROP::Stretch, 0);
    SetProperty(MW::ImageControl, PROP::Tiled, 0);
  }
  SetZone(MW::ModeZone, ModeStatus(PS.IMAGEMODE));
  switch (PS.IMAGEMODE) {
    case kModeNormal:
      SetProperty(0, PROP::HScroll, 1);
      SetProperty(0, PROP::VScroll, 1);
      SizeImageControl(ImageWidth, ImageHeight);
      break;
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
  // With the image laid out, the one likely to come next is decoded ahead.
  if (load) PrefetchNeighbour();
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
