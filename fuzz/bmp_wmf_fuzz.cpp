// Fuzz target: the portable BMP and WMF header reading and every check
// made before their bytes are painted or played, and the checks on icon,
// cursor and program files made before their icons are extracted.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "codecs/decoded_image.h"
#include "codecs/icon_file_check.h"
#include "codecs/icon_name.h"
#include "codecs/wmf_header.h"
#include "images/bitmap_image.h"

namespace {

// Reads every byte the layout claims, as painting would.
std::uint32_t Touch(const lumbra::DibLayout& layout) {
  std::uint32_t sum = 0;
  for (std::uint32_t i = 0; i < 4 * layout.colourCount; ++i) sum += layout.colours[i];
  const std::uint64_t rows = std::uint64_t{layout.stride} * layout.rowsPresent;
  for (std::uint64_t i = 0; i < rows; ++i) sum += layout.bits[i];
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  volatile std::uint32_t sink = 0;

  if (auto image = lumbra::DecodeBitmapImage(nullptr, bytes, 0)) {
    image->KeepOwnedSource({bytes.begin(), bytes.end()});
    if (auto layout = lumbra::CheckDecodedImage(image->PaintedBytes()))
      sink = sink + Touch(*layout);
  }
  if (auto layout = lumbra::CheckPackedDib(bytes)) sink = sink + Touch(*layout);

  if (auto header = lumbra::ReadPlaceableHeader(bytes)) {
    if (auto bits = lumbra::StandardMetafileBits(bytes)) {
      for (std::uint8_t b : *bits) sink = sink + b;
    }
    (void)lumbra::MulDivRounded(header->right - header->left, 96, header->unitsPerInch);
  }
  sink = sink + (lumbra::IconSourceIsSound(bytes) ? 1u : 0u);
  const auto icon =
      lumbra::ParseIconName(std::string_view(reinterpret_cast<const char*>(data), size), false);
  sink = sink + static_cast<std::uint32_t>(icon.name.size());
  return 0;
}
