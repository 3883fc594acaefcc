#include "app/path_text.h"

namespace lumbra {

std::string_view FolderOfPath(std::string_view path) {
  const std::size_t last = path.find_last_of("\\/:");
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

}  // namespace lumbra
