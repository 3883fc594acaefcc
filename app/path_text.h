// Splitting paths held as text.
#pragma once

#include <string_view>

namespace lumbra {

// The drive and directory of a path with their trailing separator
// ("C:\DIR\FILE.GIF" gives "C:\DIR\"), or empty for a bare file name.
// The whole path is used, however long, so a deep folder stays itself.
std::string_view FolderOfPath(std::string_view path);

// The text after the last separator: the file name.
std::string_view NameOfPath(std::string_view path);

// The type of a path: up to three characters after the dot of the file
// name's extension ("PHOTO.JPEG" gives "JPE"), empty without one. A dot in
// a folder's name is not an extension.
std::string_view TypeOfPath(std::string_view path);

// Whether a type, in any case, is one of the image types the viewer lists:
// BMP, WMF, ICO, PCX, GIF, JPG.
bool IsImageType(std::string_view type);

}  // namespace lumbra
