// Reading an image's bytes from a program resource or a file and handing
// them to a memory decoder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "images/image_format_registry.h"

namespace lumbra {

// The IMAGE resource name for an image name: a leading "~" skipped, every
// "." turned into "_", letters upper-cased (~dot.bmp gives DOT_BMP).
std::string ImageResourceName(std::string_view name);

// A DOS date (high word) and time (low word) packed into one stamp.
constexpr std::uint32_t PackDosStamp(std::uint16_t dosDate, std::uint16_t dosTime) {
  return (static_cast<std::uint32_t>(dosDate) << 16) | dosTime;
}

// What is known of a file at the moment its bytes are read: its size and
// its last write in the platform's 100-nanosecond units. A file whose facts
// differ later is no longer the file that was read.
struct FileFacts {
  std::uint64_t size = 0;
  std::uint64_t written = 0;
  friend bool operator==(const FileFacts&, const FileFacts&) = default;
};

#ifdef _WIN32
// A file read whole, with its stamp and facts taken through the same open.
struct ImageFile {
  std::vector<std::uint8_t> bytes;
  std::uint32_t stamp = 0;
  FileFacts facts;
};
// Nothing when the file cannot be opened or read, or is empty.
std::optional<ImageFile> ReadImageFile(std::string_view name);
// The file's facts now; nothing when the platform cannot give them.
std::optional<FileFacts> FileFactsOf(std::string_view name);

// What LoadImageByName gives for a file name without an owner, made from
// the file as read earlier instead of opening it again: the same handlers,
// the same flags and the same source bookkeeping. Safe on any thread for
// the raster formats, whose decoders touch nothing of the platform.
ImagePtr DecodeImageFile(std::string_view name, const ImageFile& file, ImageLoadFlags flags);

// The shared body of the raster loaders: the IMAGE resource first when
// fromResource is set (falling back to the file when it is missing or does
// not decode), else the file. The image keeps the bytes unless
// DiscardSource is set, and records their size and the file's stamp.
ImagePtr ReadImageSource(ImageOwner* owner, std::string_view name, bool fromResource,
                         ImageLoadFlags flags, ImageMemoryDecoder decoder);
#endif

}  // namespace lumbra
