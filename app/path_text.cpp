#include "app/path_text.h"

#include <array>
#include <cctype>

namespace lumbra {

namespace {
constexpr std::string_view kSeparators = "\\/:";
constexpr std::size_t kTypeChars = 3;
constexpr std::array<std::string_view, 6> kImageTypes = {"BMP", "WMF", "ICO", "PCX", "GIF", "JPG"};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}
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

bool IsImageType(std::string_view type) {
  for (std::string_view known : kImageTypes) {
    if (SameLetters(type, known)) return true;
  }
  return false;
}

}  // namespace lumbra
