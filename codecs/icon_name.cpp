// Icon names.
#include "codecs/icon_name.h"

#include <cctype>

#include "core/ascii_case.h"

namespace lumbra {

namespace {

constexpr std::string_view kIconPrefix = "!ICON:";

}  // namespace

IconReference ParseIconName(std::string_view name, bool fromResource) {
  IconReference icon;
  if (name.size() >= 2 && static_cast<unsigned char>(name[0]) == 0xFF &&
      (name[1] == 1 || name[1] == 2)) {
    const unsigned low = name.size() > 2 ? static_cast<unsigned char>(name[2]) : 0;
    const unsigned high = name.size() > 3 ? static_cast<unsigned char>(name[3]) : 0;
    const unsigned number = low | (high << 8);
    if (number == 0) return icon;
    icon.kind = name[1] == 1 ? IconReference::Kind::kSystem : IconReference::Kind::kProgram;
    icon.id = static_cast<std::uint16_t>(number - 1);
    return icon;
  }
  if (StartsIgnoringCase(name, kIconPrefix)) name.remove_prefix(kIconPrefix.size());
  if (!name.empty() && name.back() == ']') {
    const std::size_t open = name.rfind('[');
    if (open != std::string_view::npos) {
      std::int64_t index = 0;
      for (char c : name.substr(open + 1, name.size() - open - 2)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        index = std::min<std::int64_t>(index * 10 + (c - '0'), INT32_MAX);
      }
      icon.index = static_cast<std::int32_t>(index);
      name = name.substr(0, open);
    }
  }
  icon.fromResource = fromResource;
  if (!name.empty() && name[0] == '~') {
    name.remove_prefix(1);
    icon.fromResource = true;
  }
  icon.kind = name.empty() ? IconReference::Kind::kNone : IconReference::Kind::kNamed;
  icon.name = std::string(name);
  return icon;
}

}  // namespace lumbra
