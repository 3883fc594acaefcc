// How an icon is named: a system icon, an icon of the program by number,
// or a file (or resource) with an icon index.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumbra {

struct IconReference {
  enum class Kind { kNone, kSystem, kProgram, kNamed };
  Kind kind = Kind::kNone;
  std::uint16_t id = 0;       // system or program icon identifier
  std::string name;           // file or resource name, "[n]" and "~" removed
  std::int32_t index = 0;     // icon index within the file
  bool fromResource = false;  // a leading "~" or the caller's flag
};

// Reads an icon name: FF 01 nn nn a system icon nnnn - 1, FF 02 nn nn a
// program icon nnnn - 1 (number 0 names none), else a name with an
// optional "[n]" index and "~" resource mark. The "!ICON:" routing prefix
// is not part of the name.
IconReference ParseIconName(std::string_view name, bool fromResource);

}  // namespace lumbra
