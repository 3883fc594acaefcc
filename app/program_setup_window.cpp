// The program setup window: the persistent options edited on a working
// copy of the settings. Ok puts the copy in place and saves it at once;
// Cancel and the close box drop it.
#include "app/program_setup_window.h"

#include <memory>
#include <vector>

#include "app/program_settings.h"
#include "app/viewer_module.h"
#include "winrt/dialogs.h"
#include "winrt/event_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {
constexpr std::int32_t kBgColour = 2;
constexpr std::int32_t kSwatch = 3;
constexpr std::int32_t kOk = 28;
constexpr std::int32_t kCancel = 29;

UseVariable Flag(std::uint8_t& field) { return {&field, 0x01, 1}; }

// The controls' variables in record order: the seven check boxes, then the
// default image mode and the default sort order.
std::vector<UseVariable> SetupUses(ProgramSettings& copy) {
  return {Flag(copy.WARNBADIMAGE),      Flag(copy.AUTOLOADDIR),      Flag(copy.KEEPIMAGESETTINGS),
          Flag(copy.PROMPTONEXIT),      Flag(copy.USELONGFILENAMES), Flag(copy.FIXGIFIMAGES),
          Flag(copy.SHOWWELCOMESCREEN), Flag(copy.DEFAULTIMAGEMODE), Flag(copy.DEFAULTSORTORDER)};
}
}  // namespace

void ProgramSetupWindow() {
  auto copy = std::make_unique<ProgramSettings>(PS);
  Window window;
  if (!CreateWindowFromDescription(window, kViewerModule, "P21$PROGRAMSETUPWINDOW",
                                   SetupUses(*copy))) {
    return;
  }
  OpenWindowObject(window);
  SetProperty(kSwatch, PROP::Fill, copy->BGCOLOR);
  std::int32_t colour = 0;
  Accept([&] {
    switch (EVENT()) {
      case Event::OpenWindow: RedisplayControls(); break;
      case Event::Accepted:
        if (FIELD() == kBgColour && ColorDialog("Choose BG Color", colour)) {
          copy->BGCOLOR = colour;
          SetProperty(kSwatch, PROP::Fill, colour);
          RedisplayControls(kSwatch);
        } else if (FIELD() == kOk) {
          PS = *copy;
          SaveSettings();
          PostEvent(Event::CloseWindow);
        } else if (FIELD() == kCancel) {
          PostEvent(Event::CloseWindow);
        }
        break;
      default: break;
    }
    return kPassNormal;
  });
  CloseWindowObject(window);
}

}  // namespace lumbra
