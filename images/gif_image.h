// GIF images: the parsed blocks of the file, one 8-bit frame buffer that
// frames are decoded into one at a time, and the animation that advances
// on a timer and repaints every control showing the image.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "codecs/decoded_image.h"
#include "codecs/gif_blocks.h"
#include "images/bitmap_image.h"

namespace lumbra {

// The frame buffer: information header, 256 colours, rows bottom-up.
inline constexpr std::uint32_t kGifFramePixels = kInfoHeaderSize + 256 * 4;  // 1064
// Largest frame buffer made; bigger logical screens fail the load.
inline constexpr std::uint64_t kGifFrameLimit = std::uint64_t{1} << 28;

struct GifViewer {
  ImageViewer* control = nullptr;
  ImageRect rect;
  bool hasRect = false;
};

class GifImage : public BitmapImage {
 public:
  explicit GifImage(ImageLoadFlags flags) : BitmapImage(flags) {}
  ~GifImage() override;

  std::uintptr_t BeginDrawing(std::uint32_t drawState) override;
  void EndDrawing(std::uint32_t drawState, std::uintptr_t saved) override;
  std::string GetExtension() const override;
  void AttachViewer(ImageViewer* viewer, const ImageRect* rect) override;
  void DetachViewer(ImageViewer* viewer) override;
  void AddColours(PaletteTarget* palette) override;
  void CopyToClipboard(NativeWindow window) override;
  bool CoversRectangle() const override;
  void ReleaseContents() override;
  bool AttachBytes(std::span<const std::uint8_t> bytes, bool deviceUnits) override;
  void Paint(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
             NativeDc paletteDc) override;
  bool PaintTiledArea(NativeDc dc, const ImageRect& area) override;

  // Plays blocks after the current one until a frame is drawn (going round
  // again after a looping application block); stays on the last frame.
  void Advance();
  // One timer tick: advance, then repaint every viewer, last attached first.
  void OnTimer();
  // Renders the first frame now when none is rendered yet (an image decoded
  // ahead, away from the window's thread). A still image then shows it when
  // a viewer attaches; an animation starts over there all the same.
  void RenderFirstFrame() {
    if (current_ == -1) Advance();
  }

  // The frame buffer (packed bitmap), empty before a successful parse or
  // with SizeOnly.
  std::span<const std::uint8_t> frame() const { return {frame_.data(), frame_.size()}; }
  std::uint32_t frameStride() const { return stride_; }
  // The frame buffer's parts as painting takes them: the colours-used
  // entries of the table, and the rows at 1064 whatever that count is.
  std::optional<DibLayout> FrameLayout() const;
  // The frame buffer's pixel at (x, y), y counted from the top.
  std::uint8_t PixelAt(std::int32_t x, std::int32_t y) const;
  const std::vector<GifBlock>& blocks() const { return blocks_; }
  std::int32_t currentBlock() const { return current_; }
  std::int32_t transparentIndex() const { return transparent_; }
  bool animated() const { return animated_ != 0; }
  bool deviceUnits() const { return deviceUnits_ != 0; }
  std::size_t viewerCount() const { return viewers_.size(); }
  // Period of the running timer in milliseconds; 0 when none was started.
  std::uint32_t timerPeriod() const { return timerPeriod_; }
  NativeWindow timerWindow() const { return timerWindow_; }

 private:
  bool Play(GifBlock& block, std::span<const std::uint8_t> file);
  void RenderImage(const GifBlock& block, std::span<const std::uint8_t> file);
  void LoadColourTable(const GifBlock& block, std::span<const std::uint8_t> file);
  void StartTimer(std::uint16_t delay);
  void ReleaseGifContents();

  std::vector<std::uint8_t> frame_;
  std::uint32_t stride_ = 0;
  std::vector<GifBlock> blocks_;
  std::uint32_t parsedSize_ = 0;  // bytes the blocks were parsed from
  std::int32_t deviceUnits_ = 0;
  std::int32_t animated_ = 0;
  std::vector<GifViewer> viewers_;
  std::int32_t current_ = -1;
  NativeWindow timerWindow_ = nullptr;
  std::uint32_t timerId_ = 0;
  std::uint32_t timerPeriod_ = 0;
  std::int32_t restart_ = 0;
  std::int32_t transparent_ = -1;
  std::vector<std::uint8_t> savedColours_;  // while a greyed drawing lasts
};

// Recognises a GIF (more than 13 bytes, "GIF") and parses it.
ImagePtr DecodeGif(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags);

// The timer window of an animated image: made on first use, timer 1
// (re)started with the period. Gives the window (none where the platform
// has no windows).
NativeWindow StartGifTimer(GifImage* image, NativeWindow window, std::uint32_t periodMs);
// Kills the timer and destroys the window.
void DestroyGifTimer(NativeWindow window);

}  // namespace lumbra
