// Fuzzes the PCX reader: any bytes, full decode and size-only decode. A
// block that comes back must be the DecodedImage its header describes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "codecs/decoded_image.h"
#include "codecs/pcx_reader.h"

namespace {

// Small enough for many runs per second; larger claims take the refusal path.
constexpr std::size_t kFuzzMemoryLimit = std::size_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (bool sizeOnly : {false, true}) {
    const auto block = lumbra::DecodePcxImage(bytes, sizeOnly, kFuzzMemoryLimit);
    if (!block) continue;
    if (block->size() < 54 + 1024) std::abort();
    if (!sizeOnly && lumbra::ReadU32(block->data() + 2) != block->size()) std::abort();
  }
  return 0;
}
