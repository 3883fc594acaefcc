// The image properties window: the facts of the image on show and a
// thumbnail of it fitted into its frame, with the two copy buttons.
#include "app/image_properties_window.h"

#include <string>

#include "app/image_fit.h"
#include "app/image_list.h"
#include "app/image_loading.h"
#include "app/main_commands.h"
#include "app/program_settings.h"
#include "app/viewer_module.h"
#include "app/wait_cursor_win32.h"
#include "core/directory_listing.h"
#include "core/fixed_text.h"
#include "winrt/event_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {
constexpr std::int32_t kNotLoaded = 10;
constexpr std::int32_t kCopyPath = 13;
constexpr std::int32_t kCopyImage = 14;
constexpr std::int32_t kClose = 15;
constexpr std::int32_t kFrame = 16;
constexpr std::int32_t kThumbnail = 17;
constexpr std::int32_t kLoading = 18;

// The values the entries show, in their record order.
struct ImageFacts {
  PathText longPath;
  PathText shortPath;
  std::int32_t date = 0;
  std::int32_t time = 0;
  std::int32_t size = 0;
  FixedText<255> dimensions;

  std::vector<UseVariable> Uses() {
    return {{longPath.data(), 0x12, 255},
            {shortPath.data(), 0x12, 255},
            {&date, 0x06, 4},
            {&time, 0x06, 4},
            {&size, 0x06, 4},
            {dimensions.data(), 0x12, 255}};
  }
};

ImageFacts FactsOfImageOnShow() {
  ImageFacts facts;
  facts.dimensions = "0x0";
  if (CurrentImage > 0 && static_cast<std::uint32_t>(CurrentImage) <= ImageList.Records()) {
    ImageList.Get(static_cast<std::uint32_t>(CurrentImage));
    facts.date = FL.DATE;
    facts.time = FL.TIME;
    facts.size = FL.SIZE;
    facts.shortPath = ShortPath(ImageEntryPath(FL));
    facts.longPath = LongPath(facts.shortPath.clipped());
    facts.dimensions = std::to_string(ImageWidth) + "x" + std::to_string(ImageHeight);
  }
  if (PS.BADIMAGE == 1) facts.dimensions = "0x0";
  return facts;
}

std::int32_t Geometry(std::int32_t control, std::uint32_t property) {
  return std::stoi(GetProperty(control, property));
}

// The thumbnail fitted into its frame by the Best Fit rule (nothing taken
// off for bars) and centred in it, painted stretched.
void PlaceThumbnail() {
  const std::int32_t left = Geometry(kFrame, PROP::Xpos);
  const std::int32_t top = Geometry(kFrame, PROP::Ypos);
  const std::int32_t width = Geometry(kFrame, PROP::Width);
  const std::int32_t height = Geometry(kFrame, PROP::Height);
  const FitScale scale = ChooseFitScale(width, height, ImageWidth, ImageHeight);
  const std::int32_t thumbHeight = scale.Apply(ImageHeight);
  const std::int32_t thumbWidth = scale.Apply(ImageWidth);
  SetControlPosition(kThumbnail, left + (width - thumbWidth) / 2, top + (height - thumbHeight) / 2,
                     thumbWidth, thumbHeight);
  SetProperty(kThumbnail, PROP::Stretch, 1);
}

void LoadThumbnail(std::string_view path) {
  WaitCursor wait;
  HideControls(kThumbnail);
  ShowControls(kLoading);
  SetProperty(kThumbnail, PROP::Text, path);
  HideControls(kLoading);
  ShowControls(kThumbnail);
}
}  // namespace

void ImagePropertiesWindow(std::string_view path) {
  ImageFacts facts = FactsOfImageOnShow();
  const bool bad = PS.BADIMAGE == 1;
  Window window;
  if (!CreateWindowFromDescription(window, kViewerModule, "P22$IMAGEPROPWINDOW", facts.Uses())) {
    return;
  }
  OpenWindowObject(window);
  if (bad) {
    HideControls(kThumbnail);
    HideControls(kLoading);
  } else {
    HideControls(kNotLoaded);
    PlaceThumbnail();
  }
  Accept([&] {
    switch (EVENT()) {
      case Event::OpenWindow:
        if (!bad || CurrentImage > 0) LoadThumbnail(path);
        RedisplayControls();
        break;
      case Event::Accepted:
        if (FIELD() == kClose) {
          PostEvent(Event::CloseWindow);
        } else if (FIELD() == kCopyPath) {
          CopyPathToClipboard(path, PS.USELONGFILENAMES != 0);
        } else if (FIELD() == kCopyImage && !bad) {
          SetProperty(kThumbnail, PROP::ImageBlob, 1);
        }
        break;
      default: break;
    }
    return kPassNormal;
  });
  CloseWindowObject(window);
}

}  // namespace lumbra
