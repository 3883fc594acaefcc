// Splitting paths held as text.
#pragma once

#include <string_view>

namespace lumbra {

// The drive and directory of a path with their trailing separator
// ("C:\DIR\FILE.GIF" gives "C:\DIR\"), or empty for a bare file name.
// The whole path is used, however long, so a deep folder stays itself.
std::string_view FolderOfPath(std::string_view path);

}  // namespace lumbra
