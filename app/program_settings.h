// The viewer's settings and shared display state, and the INI file that
// keeps the persistent part of it beside the program.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/fixed_text.h"

namespace lumbra {

using PathText = FixedText<255>;

// The settings group PS: fields in declaration order, texts blank-padded,
// "flag" fields holding 0 or 1.
struct ProgramSettings {
  PathText LASTPATH;  // ends with a backslash
  std::uint8_t USELONGFILENAMES = 0;
  std::int32_t XPOS = 0;
  std::int32_t YPOS = 0;
  std::uint8_t MAXIMIZED = 0;
  std::int16_t WIDTH = 0;
  std::int16_t HEIGHT = 0;
  std::int32_t BGCOLOR = 0;    // 0x00BBGGRR
  std::uint8_t SORTORDER = 0;  // 1..6
  std::uint8_t KEEPIMAGESETTINGS = 0;
  std::uint8_t WARNBADIMAGE = 0;
  std::uint8_t PROMPTONEXIT = 0;
  std::uint8_t AUTOLOADDIR = 0;
  std::uint8_t FIXGIFIMAGES = 0;
  std::uint8_t SHOWWELCOMESCREEN = 0;
  std::uint8_t DEFAULTIMAGEMODE = 0;  // 1..4
  std::uint8_t DEFAULTSORTORDER = 0;  // 1..6
  std::uint8_t BADIMAGE = 0;
  std::uint8_t COMMANDLINELEN = 0;
  std::uint8_t COMMANDLINEPOS = 0;
  std::uint8_t IMAGEMODE = 0;     // 1..4
  std::uint8_t OLDIMAGEMODE = 0;  // 0 forces a layout
  PathText FILENAME;
  PathText OLDFILENAME;
  PathText TEMPFILENAME;
  std::int16_t IMAGEZOOM = 0;     // percent
  std::int16_t OLDIMAGEZOOM = 0;  // -1 or 0 forces a zoom
  std::int16_t WINDOWWIDTH = 0;
  std::int16_t WINDOWHEIGHT = 0;
  std::int16_t OLDWINDOWWIDTH = 0;
  std::int16_t OLDWINDOWHEIGHT = 0;
};

// Display modes and sort orders.
enum ImageMode : std::uint8_t { kModeNormal = 1, kModeStretched, kModeTiled, kModeBestFit };
enum SortOrder : std::uint8_t {
  kSortNone = 1,
  kSortPath,
  kSortName,
  kSortType,
  kSortSize,
  kSortDate
};

inline constexpr std::string_view kIniFileName = "LUMBRA.INI";
inline constexpr std::string_view kIniSection = "Lumbra";

// The process-wide settings record and the full path of the INI file.
extern ProgramSettings PS;
extern PathText IniFilePath;

// The INI file beside the program whose full path is given.
PathText IniPathForProgram(std::string_view programPath);

// Fills the persistent fields from IniFilePath, then writes them all back.
void LoadSettings();
// Writes every persistent field to IniFilePath, in table order.
void SaveSettings();

}  // namespace lumbra
