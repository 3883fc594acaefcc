#include "app/viewer_popups.h"

#include <algorithm>
#include <string>

namespace lumbra {

MainPopupText InitialMainPopup() {
  std::string text(kMainPopupHead);
  text.append(kZoomEntriesLength, ' ');
  text.append(kMainPopupTail);
  return MainPopupText(text);
}

MainPopupText MainPopup = InitialMainPopup();
ZoomPopupText ZoomPopup = ZoomPopupText(kZoomPopupEntries);
SortPopupText SortPopup = SortPopupText(kSortPopupEntries);

void FillZoomPlaceholder(MainPopupText& main, const ZoomPopupText& zoom) {
  std::copy_n(zoom.data(), kZoomEntriesLength, main.data() + kZoomPlaceholderOffset);
}

}  // namespace lumbra
