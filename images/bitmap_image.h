// Bitmap images: BMP files painted straight from their bytes, and the
// DecodedImage blocks that the JPEG and PCX decoders write.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "images/image_object.h"

namespace lumbra {

class BitmapImage : public ImageObject {
 public:
  explicit BitmapImage(ImageLoadFlags flags) : ImageObject(flags) {}
  ~BitmapImage() override;

  void DrawAt(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
              std::int32_t height) override;
  bool GetSourceString(std::string& out) override;
  bool GetSourceHandle(std::span<const std::uint8_t>& out) override;
  std::string GetExtension() const override;
  void DrawInRectangle(std::uint32_t drawState, NativeDc dc, const ImageRect& rect) override;
  bool DrawStretched(NativeDc dc, const ImageRect& rect) override;
  bool GetHandle(PictureHandle& out) override;
  void AddColours(PaletteTarget* palette) override;
  void CopyToClipboard(NativeWindow window) override;
  bool NeedsSource() const override;
  void ReleaseContents() override;
  // Takes the image's size from the bytes; answers whether they were taken.
  virtual bool AttachBytes(std::span<const std::uint8_t> bytes, bool deviceUnits);
  virtual void Paint(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
                     std::int32_t height, NativeDc paletteDc);
  // Covers the area (its left and top a tile corner) with tiles of the
  // image through memory; false when that could not be done.
  virtual bool PaintTiledArea(NativeDc dc, const ImageRect& area);

  // The bytes painted: the decoded image when a decoder made one, else the
  // kept source; none with SizeOnly.
  std::span<const std::uint8_t> PaintedBytes() const;

  // For the decoders that write a DecodedImage (JPEG, PCX).
  void SetDecodedImage(std::vector<std::uint8_t> block) { decoded_ = std::move(block); }
  bool hasDecodedImage() const { return !decoded_.empty(); }
  void SetDefaultExtension(std::string_view extension);

  PaletteTarget* windowPalette() const { return windowPalette_; }
  void RecordWindowPalette(PaletteTarget* palette) { windowPalette_ = palette; }
  bool sourceIsBitmap() const { return sourceIsBitmap_ != 0; }

  // Sets the size directly; for decoders whose sizes come from elsewhere.
  void SetSize(std::int32_t width, std::int32_t height) {
    width_ = width;
    height_ = height;
  }

 protected:
  void ReleaseBitmapContents();

  std::vector<std::uint8_t> decoded_;
  char defaultExtension_[5] = {'.', 'b', 'm', 'p', '\0'};
  PaletteTarget* windowPalette_ = nullptr;
  std::int32_t sourceIsBitmap_ = 0;
};

// Recognises a BMP file image (more than 58 bytes, "BM") and wraps it.
std::unique_ptr<BitmapImage> DecodeBitmapImage(ImageOwner* owner,
                                               std::span<const std::uint8_t> bytes,
                                               ImageLoadFlags flags);
ImagePtr DecodeBitmap(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags);

// Attaches bytes to a freshly made bitmap-class image and applies its
// owner: device-unit scaling and the window palette. False when the image
// refused the bytes; the caller then deletes it.
bool AttachWithOwner(BitmapImage& image, ImageOwner* owner, std::span<const std::uint8_t> bytes);
// The owner's part of attaching: the size converted through the owner's
// device context when deviceUnits is set, and the window palette recorded
// and marked dirty. Nothing without an owner.
void ApplyOwner(BitmapImage& image, ImageOwner* owner, bool deviceUnits);

// An image decoded without an owner (ahead of time, on another thread) made
// what the owner's own load would have made: the placement mode given, then
// the owner's steps, run on the caller's thread. Nothing when that cannot
// be done, so that the caller loads afresh: an owner that shows images in
// device units (the decode itself would have needed to know), or an image
// that is not of the bitmap classes.
ImagePtr AdoptForOwner(ImagePtr image, ImageOwner* owner, ImageLoadFlags placement);

// A size in image pixels, taken as 75 per inch, in pixels of a device with
// the given resolution, truncated toward zero.
std::int32_t ScaleToDeviceUnits(std::int32_t size, std::int32_t pixelsPerInch);

// The logical pixels per inch of a device context; false when unknown.
bool LogicalPixelsPerInch(NativeDc dc, std::int32_t& x, std::int32_t& y);

}  // namespace lumbra
