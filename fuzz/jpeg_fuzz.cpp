// Fuzzes the JPEG driver: any bytes, full decode and size-only decode. A
// block that comes back must be the DecodedImage its header describes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "codecs/decoded_image.h"
#include "codecs/jpeg_decompress.h"

namespace {

// Keeps each run small enough for many executions per second.
constexpr std::size_t kFuzzMemoryLimit = std::size_t{16} << 20;

void CheckBlock(const std::vector<std::uint8_t>& block, bool sizeOnly) {
  const std::uint32_t claimed = lumbra::ReadU32(block.data() + 2);
  if (block.size() < 54 + 1024) std::abort();
  if (!sizeOnly && claimed != block.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (bool sizeOnly : {false, true}) {
    if (const auto block = lumbra::DecodeJpegImage(bytes, sizeOnly, kFuzzMemoryLimit))
      CheckBlock(*block, sizeOnly);
  }
  return 0;
}
