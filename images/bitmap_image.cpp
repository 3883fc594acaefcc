// The portable half of bitmap images: attaching bytes, owner handling and
// the source and painted bytes.
#include "images/bitmap_image.h"

#include <algorithm>

#include "codecs/core_header_bitmap.h"
#include "codecs/decoded_image.h"

namespace lumbra {

namespace {

constexpr std::size_t kMinBitmapBytes = 58;  // a BMP needs more than this
constexpr std::uint32_t kMaxPaintedString = 65520;

}  // namespace

BitmapImage::~BitmapImage() { ReleaseBitmapContents(); }

void BitmapImage::DrawAt(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
                         std::int32_t height) {
  Paint(dc, x, y, width, height, dc);
}

bool BitmapImage::GetSourceString(std::string& out) {
  if (ImageObject::GetSourceString(out)) return true;
  const std::span<const std::uint8_t> painted = PaintedBytes();
  if (painted.empty() || painted.size() > kMaxPaintedString) return false;
  out.assign(reinterpret_cast<const char*>(painted.data()), painted.size());
  return true;
}

bool BitmapImage::GetSourceHandle(std::span<const std::uint8_t>& out) {
  if (ImageObject::GetSourceHandle(out)) return true;
  out = {decoded_.data(), decoded_.size()};
  return true;
}

std::string BitmapImage::GetExtension() const { return defaultExtension_; }

bool BitmapImage::DrawStretched(NativeDc dc, const ImageRect& rect) {
  DrawAt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return true;
}

bool BitmapImage::NeedsSource() const { return true; }

void BitmapImage::ReleaseContents() {
  ReleaseBitmapContents();
  ImageObject::ReleaseContents();
}

void BitmapImage::ReleaseBitmapContents() {
  if (windowPalette_ != nullptr) windowPalette_->MarkDirty();
  std::vector<std::uint8_t>().swap(decoded_);
}

bool BitmapImage::AttachBytes(std::span<const std::uint8_t> bytes, bool) {
  // The decoder made sure of the header's bytes; nothing else is checked
  // here. Every reader of the rows checks them against the real size.
  if (bytes.size() < kFileHeaderSize + 12) return false;
  if (HasCoreHeader(bytes)) {
    // A core header holds its width and height in 16 bits.
    width_ = ReadU16(bytes.data() + 18);
    height_ = ReadU16(bytes.data() + 20);
  } else {
    width_ = ReadS32(bytes.data() + 18);
    height_ = ReadS32(bytes.data() + 22);
  }
  sourceIsBitmap_ = 1;
  return true;
}

std::span<const std::uint8_t> BitmapImage::PaintedBytes() const {
  if (flags_ & SizeOnly) return {};
  if (!decoded_.empty()) return {decoded_.data(), decoded_.size()};
  return sourceBytes();
}

void BitmapImage::SetDefaultExtension(std::string_view extension) {
  const std::size_t n = std::min<std::size_t>(extension.size(), sizeof defaultExtension_ - 1);
  std::copy_n(extension.begin(), n, defaultExtension_);
  defaultExtension_[n] = '\0';
}

std::unique_ptr<BitmapImage> DecodeBitmapImage(ImageOwner* owner,
                                               std::span<const std::uint8_t> bytes,
                                               ImageLoadFlags flags) {
  if (bytes.size() <= kMinBitmapBytes || bytes[0] != 'B' || bytes[1] != 'M') return nullptr;
  auto image = std::make_unique<BitmapImage>(flags);
  if (!AttachWithOwner(*image, owner, bytes)) return nullptr;
  // A core-header bitmap is painted, copied and reduced from the same
  // picture with the information header the rest of the program reads.
  if (HasCoreHeader(bytes) && (flags & SizeOnly) == 0) {
    if (auto expanded = ExpandCoreHeaderBitmap(bytes)) image->SetDecodedImage(std::move(*expanded));
  }
  return image;
}

ImagePtr DecodeBitmap(ImageOwner* owner, std::span<const std::uint8_t> bytes,
                      ImageLoadFlags flags) {
  return DecodeBitmapImage(owner, bytes, flags);
}

std::int32_t ScaleToDeviceUnits(std::int32_t size, std::int32_t pixelsPerInch) {
  if (pixelsPerInch <= 0) return size;
  const float factor = 75.0f / static_cast<float>(pixelsPerInch);
  const float scaled = static_cast<float>(size) / factor;
  return static_cast<std::int32_t>(std::clamp(scaled, -2147483520.0f, 2147483520.0f));
}

bool AttachWithOwner(BitmapImage& image, ImageOwner* owner, std::span<const std::uint8_t> bytes) {
  const bool deviceUnits = owner != nullptr && owner->UsesDeviceUnits();
  if (!image.AttachBytes(bytes, deviceUnits)) return false;
  ApplyOwner(image, owner, deviceUnits);
  return true;
}

void ApplyOwner(BitmapImage& image, ImageOwner* owner, bool deviceUnits) {
  if (owner == nullptr) return;
  if (deviceUnits) {
    NativeDc dc = owner->GetDc();
    std::int32_t x = 0;
    std::int32_t y = 0;
    if (LogicalPixelsPerInch(dc, x, y)) {
      image.SetSize(ScaleToDeviceUnits(image.width(), x), ScaleToDeviceUnits(image.height(), y));
    }
    owner->ReleaseDc(dc);
  }
  if (owner->KeepsPalette()) {
    PaletteTarget* palette = owner->Palette();
    image.RecordWindowPalette(palette);
    if (palette != nullptr) palette->MarkDirty();
  }
}

ImagePtr AdoptForOwner(ImagePtr image, ImageOwner* owner, ImageLoadFlags placement) {
  auto* bitmap = dynamic_cast<BitmapImage*>(image.get());
  if (bitmap == nullptr || (owner != nullptr && owner->UsesDeviceUnits())) return nullptr;
  // The placement moves from whatever it is to the one wanted; a mode it
  // cannot reach is left to a fresh load.
  const ImageLoadFlags mode = placement & kPlacementMask;
  if (mode != kPlaceStretched && mode != kPlaceCentred && mode != kPlaceTiled) return nullptr;
  image->SetPlacement(mode);
  ApplyOwner(*bitmap, owner, false);
  return image;
}

}  // namespace lumbra
