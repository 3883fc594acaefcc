// The main window's commands: one handler per command, reached from its
// menu item, its tool-bar button, its key and its entry of the main popup.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbra {

enum class Command : std::uint8_t {
  OpenImage,
  LoadFolder,
  ProgramSetup,
  Exit,
  Properties,
  Refresh,
  Normal,          // from the menu and the tool bar: the zoom back to 100 %
  NormalKeepZoom,  // from the popup
  Stretched,
  Tiled,
  BestFit,
  ZoomStep,
  CustomZoom,
  ZoomPopup,
  ColourSample,
  CopyImage,
  CopyPath,
  Sort,
  SortPopup,
  ImageList,
  Next,
  Prev,
  Help,
  About,
};

// Runs a command; `value` is the zoom of a zoom step or the order of a sort.
void RunCommand(Command command, std::int32_t value = 0);
// The command of an accepted menu item or tool-bar button.
void RunControlCommand(std::int32_t control);
// The command of an entry chosen in the main popup (0: none).
void RunMainPopupEntry(std::int32_t entry);
// A zoom step chosen in the zoom popup (1 to 8) or its Custom entry (9).
void RunZoomPopupEntry(std::int32_t entry);

// The path on the clipboard as text: the long form, in double quotes when
// it holds a blank; the short 8.3 form when long names are off.
void CopyPathToClipboard(std::string_view path, bool longNames);

// Opens the help page beside the program.
void ShowHelp();

}  // namespace lumbra
