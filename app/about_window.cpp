// The About window: the splash picture, its line of red text, Continue.
#include "app/about_window.h"

#include "app/viewer_module.h"
#include "winrt/event_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {
constexpr std::int32_t kContinue = 5;
}  // namespace

void AboutWindow() {
  Window window;
  if (!CreateWindowFromDescription(window, kViewerModule, "P25$ABOUTBOXWINDOW", {})) return;
  OpenWindowObject(window);
  Accept([] {
    if (EVENT() == Event::Accepted && FIELD() == kContinue) PostEvent(Event::CloseWindow);
    return kPassNormal;
  });
  CloseWindowObject(window);
}

}  // namespace lumbra
