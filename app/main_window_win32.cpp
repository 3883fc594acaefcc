// The main viewer window: set-up, and what each of its events does.
#include "app/main_window.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "app/colour_sample_names.h"
#include "app/command_line.h"
#include "app/image_list.h"
#include "app/image_loading.h"
#include "app/main_commands.h"
#include "app/main_popups.h"
#include "app/main_window_controls.h"
#include "app/main_window_keys.h"
#include "app/menu_marks.h"
#include "app/program_settings.h"
#include "app/welcome_screen.h"
#include "app/window_geometry.h"
#include "winrt/dialogs.h"
#include "winrt/event_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {

constexpr std::string_view kLoadingListing = "Loading file listing...";

// A saved position that would leave the window's caption off the screen
// (a damaged or hand-edited LUMBRA.INI, or a screen since removed) gives
// way to the screen's edge, so that the user can reach the window. For the
// vertical axis the size is 0: the caption is at the top.
std::int32_t Reachable(std::int32_t position, std::int32_t size, int originMetric,
                       int extentMetric) {
  constexpr std::int32_t kGrip = 40;  // of the caption, at least this much on screen
  const std::int32_t origin = GetSystemMetrics(originMetric);
  const std::int32_t extent = GetSystemMetrics(extentMetric);
  const std::int64_t end = std::int64_t{position} + std::max(size, kGrip);
  if (position > origin + extent - kGrip || end < origin + kGrip) return origin;
  if (size == 0 && position < origin) return origin;
  return position;
}

// The tool bar's rule and the drop region follow the window's size.
void FitAuxiliaryControls() {
  SetControlPosition(MW::ToolbarRule, kDefaultPosition, kDefaultPosition, WindowWidth() - 1);
  SetControlPosition(MW::FileDropRegion, 0, 0, WindowWidth(), WindowHeight());
}

void ShowLoadingListing() {
  SetProperty(0, PROP::StatusText, kLoadingListing, MW::PathZone);
  RedisplayControls();
}

// The first event: the image of the command line, or the welcome window,
// or no image.
void OnOpen() {
  RedisplayControls();
  RegisterAlertKeys();
  const std::string_view text = CommandLineText(GetCommandLineA());
  const std::string argument(CommandLineArgument(text, PS.COMMANDLINEPOS, PS.COMMANDLINELEN));
  PS.FILENAME = PS.COMMANDLINELEN > 0 ? argument : std::string();
  if (!PS.FILENAME.blank()) {
    ShowLoadingListing();
    ShowArgumentList(argument, false);
    return;
  }
  if (PS.SHOWWELCOMESCREEN) {
    switch (WelcomeScreen()) {
      case 1: RunCommand(Command::OpenImage); break;
      case 2: RunCommand(Command::LoadFolder); break;
      default: break;
    }
  }
  if (PS.FILENAME.blank()) EnterNoImageState();
  ShowImage();
}

void OnResize() {
  FitAuxiliaryControls();
  PS.WINDOWWIDTH = static_cast<std::int16_t>(WindowWidth());
  PS.WINDOWHEIGHT = static_cast<std::int16_t>(WindowHeight());
  if (GetProperty(MW::ImageNotLoadedText, PROP::Visible) == "1") CentreRule(MW::ImageNotLoadedText);
  ShowImage();
}

void OnDrop() {
  const std::string text = DropText();
  if (ClipTrailingBlanks(text).empty()) return;
  ShowLoadingListing();
  ShowArgumentList(text, true);
}

// No vetoes the close; Yes, or Prompt on Exit off, lets it proceed.
bool CloseConfirmed() {
  if (!PS.PROMPTONEXIT) return true;
  return MessageDialog("Are you sure you want to close the program?", "Close Lumbra",
                       "ICON:Question", BUTTON::Yes + BUTTON::No, BUTTON::Yes) != BUTTON::No;
}

}  // namespace

void SetUpMainWindow() {
  HideControls(MW::LoadingImageText, MW::ImageNotLoadedText);
  HideControls(MW::ColourSamplePanel);
  HideControls(MW::ImageControl);
  SetProperty(0, PROP::Pixels, 1);
  SetProperty(0, PROP::StatusText, "Lumbra 1.0", MW::TitleZone);
  SetProperty(0, PROP::Background, 0);
  // A window without a saved size keeps the description's size.
  if (PS.WIDTH > 0 && PS.HEIGHT > 0) {
    SetControlPosition(0, Reachable(PS.XPOS, PS.WIDTH, SM_XVIRTUALSCREEN, SM_CXVIRTUALSCREEN),
                       Reachable(PS.YPOS, 0, SM_YVIRTUALSCREEN, SM_CYVIRTUALSCREEN), PS.WIDTH,
                       PS.HEIGHT);
  }
  SetProperty(0, PROP::Background, PS.BGCOLOR);
  if (PS.MAXIMIZED) SetProperty(0, PROP::Maximize, 1);
  ColourUncolouredSampleNames();
  SetControlPosition(MW::ImageControl, 0, 0);
  SetProperty(MW::ImageControl, PROP::Stretch, 0);
  PS.IMAGEZOOM = 100;
  PS.OLDIMAGEZOOM = -1;
  PS.IMAGEMODE = PS.DEFAULTIMAGEMODE;
  PS.OLDIMAGEMODE = 0;
  PS.SORTORDER = PS.DEFAULTSORTORDER;
  FitAuxiliaryControls();
  PS.WINDOWWIDTH = PS.OLDWINDOWWIDTH = static_cast<std::int16_t>(WindowWidth());
  PS.WINDOWHEIGHT = PS.OLDWINDOWHEIGHT = static_cast<std::int16_t>(WindowHeight());
  MarkModeMenu();
  MarkSortMenu();
  MarkZoomMenu();
  MarkSortPopup();
  MarkZoomPopup();
  MarkModePopup();
  ApplyBackground();
}

void ApplyBackground() {
  SetProperty(0, PROP::Tiled, 0);
  SetProperty(0, PROP::Stretch, 0);
  if (PS.FIXGIFIMAGES) {
    SetProperty(0, PROP::Wallpaper, "~dot.bmp");
    SetProperty(0, PROP::Stretch, 1);
  } else {
    SetProperty(0, PROP::Wallpaper, "");
  }
  RedisplayControls();
}

int MainWindowEvent() {
  switch (EVENT()) {
    case Event::OpenWindow: OnOpen(); break;
    case Event::CloseWindow: return CloseConfirmed() ? kPassNormal : kPassSkip;
    case Event::Sized: OnResize(); break;
    case Event::Drop: OnDrop(); break;
    case Event::AlertKey: RunAlertKey(CurrentKeyCode()); break;
    case Event::Accepted: RunControlCommand(FIELD()); break;
    default: break;
  }
  return kPassNormal;
}

}  // namespace lumbra
