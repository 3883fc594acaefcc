// Fuzz target: GIF block parsing, then LZW decoding of every frame, the
// animation walk and greyed drawing.
#include <cstddef>
#include <cstdint>
#include <span>

#include "codecs/gif_blocks.h"
#include "codecs/lzw_decoder.h"
#include "images/gif_image.h"

namespace {

struct NullViewer : lumbra::ImageViewer {
  void RepaintImage(const lumbra::ImageRect*) override {}
};

// Frames bigger than this are parsed but not rendered, to keep runs fast.
constexpr std::int64_t kMaxFuzzPixels = std::int64_t{1} << 22;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);

  // The decoder alone, on the raw input, with a code size from its first byte.
  if (size > 0) {
    lumbra::LzwDecoder decoder(bytes.subspan(1), 2 + data[0] % 10);
    for (int i = 0; i < 4096; ++i) decoder.NextPixel();
  }

  const auto parsed = lumbra::ParseGifBlocks(bytes, false);
  if (!parsed || std::int64_t{parsed->width} * parsed->height > kMaxFuzzPixels) return 0;
  lumbra::ImagePtr sizeOnly = lumbra::DecodeGif(nullptr, bytes, lumbra::SizeOnly);
  lumbra::ImagePtr image = lumbra::DecodeGif(nullptr, bytes, 0);
  if (!image) return 0;
  image->KeepOwnedSource({bytes.begin(), bytes.end()});
  auto* gif = static_cast<lumbra::GifImage*>(image.get());
  NullViewer viewer;
  image->AttachViewer(&viewer, nullptr);
  for (std::size_t i = 0; i < gif->blocks().size() + 2; ++i) gif->OnTimer();
  const std::uintptr_t saved = image->BeginDrawing(8);
  image->EndDrawing(8, saved);
  image->DetachViewer(&viewer);
  return 0;
}
