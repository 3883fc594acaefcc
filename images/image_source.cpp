// Resource names of images.
#include "images/image_source.h"

#include <cctype>

namespace lumbra {

std::string ImageResourceName(std::string_view name) {
  if (!name.empty() && name[0] == '~') name.remove_prefix(1);
  std::string result(name);
  for (char& c : result) {
    c = c == '.' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return result;
}

}  // namespace lumbra
