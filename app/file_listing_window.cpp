// The file listing window: the image list as a table, re-sorted in place by
// the tabs. Select keeps the tab's order and picks the highlighted entry;
// Cancel and the close box put the list back in the order it had.
#include "app/file_listing_window.h"

#include "app/image_list.h"
#include "app/program_settings.h"
#include "app/viewer_module.h"
#include "winrt/event_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {
constexpr std::int32_t kSheet = 1;
constexpr std::int32_t kList = 8;
constexpr std::int32_t kSelect = 12;
constexpr std::int32_t kCancel = 13;

// The order of addition of the entry at a position of the list (0: none).
std::int32_t ImagePosAt(std::int32_t position) {
  if (position < 1 || static_cast<std::uint32_t>(position) > ImageList.Records()) return 0;
  ImageList.Get(static_cast<std::uint32_t>(position));
  return FL.IMAGEPOS;
}

// The position of the entry with that order of addition (0: none).
std::int32_t PositionOfImagePos(std::int32_t imagePos) {
  const std::uint32_t records = ImageList.Records();
  for (std::uint32_t row = 1; row <= records; ++row) {
    ImageList.Get(row);
    if (FL.IMAGEPOS == imagePos) return static_cast<std::int32_t>(row);
  }
  return 0;
}
}  // namespace

std::int32_t FileListingWindow() {
  auto count = static_cast<std::int32_t>(ImageList.Records());
  // The entry on show is kept by its order of addition, which no sort
  // changes; its position changes with every order.
  const std::int32_t onShow = ImagePosAt(CurrentImage);
  std::int32_t remembered = onShow;
  std::int32_t result = 0;
  bool redisplay = false;
  Window window;
  if (!CreateWindowFromDescription(window, kViewerModule, "P32$FILELISTINGWINDOW",
                                   {{&ImageList, 0x1A, 0}, {&count, 0x06, 4}})) {
    return result;
  }
  OpenWindowObject(window);
  SelectControl(kSheet, 1);
  if (PS.SORTORDER >= kSortNone && PS.SORTORDER <= kSortDate) SelectControl(kSheet, PS.SORTORDER);
  SelectControl(kList, CurrentImage);
  Accept([&] {
    switch (EVENT()) {
      case Event::OpenWindow: RedisplayControls(); break;
      case Event::TabChanging:
        if (FIELD() == kSheet) remembered = ImagePosAt(CurrentChoice(kList));
        break;
      case Event::NewSelection:
        if (FIELD() == kSheet) {
          SortImageList(CurrentChoice(kSheet));
          if (const std::int32_t row = PositionOfImagePos(remembered)) SelectControl(kList, row);
          redisplay = true;
        }
        break;
      case Event::Accepted:
        if (FIELD() == kSelect && CurrentChoice(kList) > 0) {
          CurrentImage = CurrentChoice(kList);
          PS.FILENAME = ImagePathAt(CurrentImage);
          result = CurrentImage;
          PostEvent(Event::CloseWindow);
        } else if (FIELD() == kCancel) {
          result = -1;
          PostEvent(Event::CloseWindow);
        }
        break;
      default: break;
    }
    if (redisplay) {
      RedisplayControls();
      redisplay = false;
    }
    return kPassNormal;
  });
  if (result > 0) {
    PS.SORTORDER = static_cast<std::uint8_t>(CurrentChoice(kSheet));
  } else {
    SortImageList(PS.SORTORDER);
    // Entries equal under the order may come back in another sequence; the
    // entry on show keeps its place as the current one.
    if (const std::int32_t row = PositionOfImagePos(onShow)) CurrentImage = row;
  }
  CloseWindowObject(window);
  return result;
}

}  // namespace lumbra
