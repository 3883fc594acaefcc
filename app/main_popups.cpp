// The main window's three popup menus and the marks they carry.
#include "app/main_popups.h"

#include "app/image_list.h"
#include "app/popup_marks.h"
#include "app/program_settings.h"
#include "app/viewer_popups.h"
#include "winrt/popup_menu.h"

namespace lumbra {

namespace {

template <typename Text>
std::span<char> Chars(Text& text) {
  return {text.data(), text.size()};
}

// Pieces of the texts: the four modes of the main popup, the eight steps
// and Custom of the zoom entries (a separator between them), the six sort
// orders.
constexpr std::size_t kFirstModePiece = 2;
constexpr std::size_t kModeCount = 4;
constexpr std::size_t kZoomStepCount = 8;
constexpr std::size_t kCustomZoomPiece = 9;
constexpr std::size_t kSortCount = 6;

}  // namespace

void MarkModePopup() {
  for (std::size_t i = 0; i < kModeCount; ++i)
    MarkPiece(Chars(MainPopup), kFirstModePiece + i, '-');
  if (PS.IMAGEMODE >= 1 && PS.IMAGEMODE <= kModeCount) {
    MarkPiece(Chars(MainPopup), kFirstModePiece + PS.IMAGEMODE - 1, '+');
  }
}

void MarkZoomPopup() {
  MarkBefore(Chars(MainPopup), "Zoom{", PS.IMAGEMODE == kModeNormal ? '&' : '~');
  std::size_t checked = kCustomZoomPiece;
  for (std::size_t i = 0; i < kZoomStepCount; ++i) {
    MarkPiece(Chars(ZoomPopup), i, '-');
    if (kZoomSteps[i] == PS.IMAGEZOOM) checked = i;
  }
  MarkPiece(Chars(ZoomPopup), kCustomZoomPiece, '-');
  MarkPiece(Chars(ZoomPopup), checked, '+');
  MarkBefore(Chars(MainPopup), "Image List...", ImageList.Records() <= 1 ? '~' : '&');
}

void MarkSortPopup() {
  for (std::size_t i = 0; i < kSortCount; ++i) MarkPiece(Chars(SortPopup), i, '-');
  if (PS.SORTORDER >= 1 && PS.SORTORDER <= kSortCount) {
    MarkPiece(Chars(SortPopup), PS.SORTORDER - 1u, '+');
  }
}

std::int32_t PopUpMainMenu() {
  MarkZoomPopup();
  MarkModePopup();
  FillZoomPlaceholder(MainPopup, ZoomPopup);
  return PopupMenu(MainPopup.clipped());
}

std::int32_t PopUpZoomMenu() {
  MarkZoomPopup();
  return PopupMenu(ZoomPopup.clipped());
}

std::int32_t PopUpSortMenu() {
  MarkSortPopup();
  return PopupMenu(SortPopup.clipped());
}

}  // namespace lumbra
