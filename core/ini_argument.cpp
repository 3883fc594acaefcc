#include "core/fixed_text.h"
#include "core/ini_access.h"

namespace lumbra {

std::string IniArgument(std::string_view text, std::size_t limit) {
  return std::string(ClipTrailingBlanks(text).substr(0, limit));
}

}  // namespace lumbra
