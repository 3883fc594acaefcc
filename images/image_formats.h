// The image formats the program knows, described once: the registry, the
// image list's folder filter, the prefetch and the Open dialog's filter are
// all read from this table.
#pragma once

#include <string>
#include <string_view>

#include "images/image_format_registry.h"

namespace lumbra {

struct ImageFormat {
  // As a name ends, with the dot; at most 4 characters are registered.
  std::string_view extension;
  // Absent where the build has none (the host build reads no files and
  // makes no platform images).
  ImageFileLoader loader = nullptr;
  ImageMemoryDecoder decoder = nullptr;
  // Where a folder's files of this type stand among the listed types
  // (1 first), which is also their place in the Open dialog's filter;
  // 0: such files are not listed.
  int listedAs = 0;
  // Decoded ahead by the prefetch before the image list reaches it.
  bool decodedAhead = false;
  // Its entry's text in the Open dialog's filter (listed types only).
  std::string_view dialogText;
};

// Whether files of a type (the extension without its dot, compared without
// case) are listed in folders.
bool IsListedImageType(std::string_view type);

// Whether images of an extension (with its dot, compared without case) are
// decoded ahead.
bool IsDecodedAheadExtension(std::string_view extension);

// The Open dialog's filter: one "text|*.EXT" entry per listed type in its
// order, then all files.
std::string ImageDialogFilter();

}  // namespace lumbra
