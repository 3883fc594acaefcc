// The viewer's popup menus as program data: the texts of the main popup
// (right mouse button), of the zoom button and of the sort button, and the
// numbers of their entries. The texts are rewritten in place before they
// are shown: entries are marked "+" (checked), "-" (unchecked) or "~"
// (greyed) by changing their first character, and the zoom entries are
// copied into the main popup's placeholder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/fixed_text.h"

namespace lumbra {

// The zoom entries: the eight steps and "Custom...", exactly 58 characters.
constexpr std::string_view kZoomPopupEntries =
    "-25%|-50%|-75%|-100%|-125%|-150%|-175%|-200%|-|-&Custom...";
constexpr std::size_t kZoomEntriesLength = 58;
static_assert(kZoomPopupEntries.size() == kZoomEntriesLength);

// The main popup: a placeholder of 58 blanks in the Zoom sub-menu takes a
// copy of the zoom entries.
constexpr std::string_view kMainPopupHead =
    "&Properties|-|-&Normal|-&Stretched|-&Tiled|-&Best Fit|-|&Zoom{";
constexpr std::string_view kMainPopupTail =
    "}&Copy to ClipBoard{Copy Image|Copy Path && File Name}|-|&Image List...|-|&Open "
    "Image...|&Load Folder...|-|E&xit";
constexpr std::size_t kZoomPlaceholderOffset = kMainPopupHead.size();
constexpr std::size_t kMainPopupLength =
    kMainPopupHead.size() + kZoomEntriesLength + kMainPopupTail.size();

// The sort entries.
constexpr std::string_view kSortPopupEntries = "-None|-Path|-Name|-Type|-Size|-Date";

using MainPopupText = FixedText<kMainPopupLength>;
using ZoomPopupText = FixedText<kZoomEntriesLength>;
using SortPopupText = FixedText<kSortPopupEntries.size()>;

// The texts as the program starts: the main popup with its placeholder
// blank.
MainPopupText InitialMainPopup();

// The viewer's modifiable popup texts.
extern MainPopupText MainPopup;
extern ZoomPopupText ZoomPopup;
extern SortPopupText SortPopup;

// Copies the zoom entries into the main popup's placeholder.
void FillZoomPlaceholder(MainPopupText& main, const ZoomPopupText& zoom);

// Entry numbers of the main popup.
namespace MainPopupEntry {
constexpr std::int32_t Properties = 1;
constexpr std::int32_t Normal = 2;
constexpr std::int32_t Stretched = 3;
constexpr std::int32_t Tiled = 4;
constexpr std::int32_t BestFit = 5;
constexpr std::int32_t FirstZoomStep = 6;  // 25% ... 200% are 6 ... 13
constexpr std::int32_t LastZoomStep = 13;
constexpr std::int32_t CustomZoom = 14;
constexpr std::int32_t CopyImage = 15;
constexpr std::int32_t CopyPath = 16;
constexpr std::int32_t ImageList = 17;
constexpr std::int32_t OpenImage = 18;
constexpr std::int32_t LoadFolder = 19;
constexpr std::int32_t Exit = 20;
}  // namespace MainPopupEntry

// Entry numbers of the zoom popup: the steps 25% ... 200% are 1 ... 8.
namespace ZoomPopupEntry {
constexpr std::int32_t FirstStep = 1;
constexpr std::int32_t LastStep = 8;
constexpr std::int32_t Custom = 9;
}  // namespace ZoomPopupEntry

// The zoom percentages of the steps, in entry order.
constexpr std::int16_t kZoomSteps[] = {25, 50, 75, 100, 125, 150, 175, 200};

// Entry numbers of the sort popup are the sort orders: None 1 ... Date 6.

}  // namespace lumbra
