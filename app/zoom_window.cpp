// The zoom window: a spin box bound to a copy of the zoom, OK or the
// close box keep what was last entered, Cancel keeps the zoom as it was.
#include "app/zoom_window.h"

#include "app/program_settings.h"
#include "app/viewer_module.h"
#include "winrt/event_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {
constexpr std::int32_t kOk = 3;
constexpr std::int32_t kCancel = 4;
}  // namespace

std::int16_t ZoomWindow() {
  std::int16_t value = PS.IMAGEZOOM;
  Window window;
  if (!CreateWindowFromDescription(window, kViewerModule, "P31$ZOOMWINDOW",
                                   {{&value, 0x02, sizeof value}})) {
    return PS.IMAGEZOOM;
  }
  OpenWindowObject(window);
  Accept([&] {
    switch (EVENT()) {
      case Event::OpenWindow: RedisplayControls(); break;
      case Event::Accepted:
        if (FIELD() == kOk) return kPassLeave;
        if (FIELD() == kCancel) {
          value = PS.IMAGEZOOM;
          PostEvent(Event::CloseWindow);
        }
        break;
      default: break;
    }
    return kPassNormal;
  });
  CloseWindowObject(window);
  return value;
}

}  // namespace lumbra
