// Reading an image's bytes from a program resource or a file and handing
// them to a memory decoder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "codecs/image_format_registry.h"

namespace lumbra {

// The IMAGE resource name for an image name: a leading "~" skipped, every
// "." turned into "_", letters upper-cased (~dot.bmp gives DOT_BMP).
std::string ImageResourceName(std::string_view name);

// A DOS date (high word) and time (low word) packed into one stamp.
constexpr std::uint32_t PackDosStamp(std::uint16_t dosDate, std::uint16_t dosTime) {
  return (static_cast<std::uint32_t>(dosDate) << 16) | dosTime;
}

#ifdef _WIN32
// The shared body of the raster loaders: the IMAGE resource first when
// fromResource is set (falling back to the file when it is missing or does
// not decode), else the file. The image keeps the bytes unless
// DiscardSource is set, and records their size and the file's stamp.
ImagePtr ReadImageSource(ImageOwner* owner, std::string_view name, bool fromResource,
                         ImageLoadFlags flags, ImageMemoryDecoder decoder);
#endif

}  // namespace lumbra
