#include "app/path_text.h"

#include "images/image_formats.h"

namespace lumbra {

namespace {
constexpr std::string_view kSeparators = "\\/:";
constexpr std::size_t kTypeChars = 3;

}  // namespace

std::string_view FolderOfPath(std::string_view path) {
  const std::size_t last = path.find_last_of(kSeparators);
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

std::string_view NameOfPath(std::string_view path) {
  return path.substr(FolderOfPath(path).size());
}

std::string_view TypeOfPath(std::string_view path) {
  const std::string_view name = NameOfPath(path);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return {};
  return name.substr(dot + 1, kTypeChars);
}

bool IsImageType(std::string_view type) { return IsListedImageType(type); }

}  // namespace lumbra
