// The control numbers of the main viewer window: menu items, tool-bar
// buttons and the controls of its client area.
#pragma once

#include <cstdint>

namespace lumbra::MW {

// Menu items.
constexpr std::int32_t OpenImage = 2;
constexpr std::int32_t LoadFolder = 3;
constexpr std::int32_t ProgramSetup = 4;
constexpr std::int32_t Exit = 5;
constexpr std::int32_t Properties = 7;
constexpr std::int32_t Refresh = 8;
constexpr std::int32_t ModeNormal = 9;  // to 12, Best Fit
constexpr std::int32_t ZoomMenu = 13;
constexpr std::int32_t Zoom25 = 14;  // to 21, 200%
constexpr std::int32_t CustomZoom = 22;
constexpr std::int32_t ColourSample = 23;
constexpr std::int32_t CopyImage = 25;
constexpr std::int32_t CopyPath = 26;
constexpr std::int32_t SortNone = 28;  // to 33, Date
constexpr std::int32_t ImageListItem = 34;
constexpr std::int32_t Next = 35;
constexpr std::int32_t Prev = 36;
constexpr std::int32_t HelpContents = 38;
constexpr std::int32_t About = 39;

// The tool bar and its buttons.
constexpr std::int32_t Toolbar = 40;
constexpr std::int32_t LoadImageButton = 41;
constexpr std::int32_t LoadFolderButton = 42;
constexpr std::int32_t PropertiesButton = 43;
constexpr std::int32_t RefreshButton = 44;
constexpr std::int32_t NormalButton = 46;
constexpr std::int32_t StretchedButton = 47;
constexpr std::int32_t TiledButton = 48;
constexpr std::int32_t BestFitButton = 49;
constexpr std::int32_t ZoomButton = 50;
constexpr std::int32_t CopyPathButton = 52;
constexpr std::int32_t CopyImageButton = 53;
constexpr std::int32_t ColourSampleButton = 54;
constexpr std::int32_t PrevButton = 55;
constexpr std::int32_t ImageListButton = 56;
constexpr std::int32_t SortButton = 57;
constexpr std::int32_t NextButton = 58;
constexpr std::int32_t HelpButton = 59;
constexpr std::int32_t ToolbarRule = 63;

// The client area.
constexpr std::int32_t ImageControl = 64;
constexpr std::int32_t FileDropRegion = 65;
constexpr std::int32_t LoadingImageText = 66;
constexpr std::int32_t ImageNotLoadedText = 67;
constexpr std::int32_t ColourSamplePanel = 68;

// The status zones.
constexpr std::int32_t PathZone = 1;
constexpr std::int32_t SizeZone = 2;
constexpr std::int32_t ZoomZone = 3;
constexpr std::int32_t ModeZone = 4;
constexpr std::int32_t TitleZone = 5;

}  // namespace lumbra::MW
