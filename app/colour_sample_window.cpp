// The "Sample..." window: keeps the colour sample on until Close.
#include "app/colour_sample_window.h"
#include "app/viewer_module.h"

#include "winrt/event_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {

constexpr const char* kWindowName = "P34$CLOSEWINDOW";
constexpr std::int32_t kCloseButton = 2;

}  // namespace

void ColourSampleWindow() {
  Window window;
  if (!CreateWindowFromDescription(window, kViewerModule, kWindowName, {})) return;
  OpenWindowObject(window);
  Accept([] {
    if (EVENT() == Event::Accepted && FIELD() == kCloseButton) return kPassLeave;
    return kPassNormal;
  });
  CloseWindowObject(window);
}

}  // namespace lumbra
