// The welcome window: its check box edits the live Show Welcome Screen
// setting, which is saved on every way out.
#include "app/welcome_screen.h"

#include "app/main_commands.h"
#include "app/program_settings.h"
#include "app/viewer_module.h"
#include "winrt/event_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {
constexpr std::int32_t kLoadImage = 2;
constexpr std::int32_t kLoadFolder = 3;
constexpr std::int32_t kHelp = 4;
constexpr std::int32_t kCloseScreen = 5;
}  // namespace

std::int32_t WelcomeScreen() {
  std::int32_t result = 0;
  Window window;
  if (!CreateWindowFromDescription(window, kViewerModule, "P39$WELCOMESCREEN",
                                   {{&PS.SHOWWELCOMESCREEN, 0x01, 1}})) {
    return result;
  }
  OpenWindowObject(window);
  Accept([&] {
    switch (EVENT()) {
      case Event::CloseWindow: SaveSettings(); break;
      case Event::OpenWindow: RedisplayControls(); break;
      case Event::Accepted:
        switch (FIELD()) {
          case kHelp: ShowHelp(); break;
          case kLoadImage:
            result = 1;
            PostEvent(Event::CloseWindow);
            break;
          case kLoadFolder:
            result = 2;
            PostEvent(Event::CloseWindow);
            break;
          case kCloseScreen: PostEvent(Event::CloseWindow); break;
          default: break;
        }
        break;
      default: break;
    }
    return kPassNormal;
  });
  CloseWindowObject(window);
  return result;
}

}  // namespace lumbra
