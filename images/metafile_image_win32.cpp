// Metafile images: decoding and sizing at the device's resolution.
#include "images/metafile_image.h"

#include <windows.h>

#include "core/gdi_tally_win32.h"
#include "images/format_handlers.h"
#include "images/image_source.h"

namespace lumbra {

MetafileImage::~MetafileImage() { ReleaseMetafile(); }

bool MetafileImage::NeedsBackground() const { return true; }

std::string MetafileImage::GetExtension() const { return ".wmf"; }

bool MetafileImage::CoversRectangle() const { return false; }

void MetafileImage::ReleaseContents() {
  ReleaseMetafile();
  ImageObject::ReleaseContents();
}

void MetafileImage::ReleaseMetafile() {
  gdi_tally::DeleteMetafile(metafile_);
  metafile_ = nullptr;
}

ImagePtr DecodeMetafile(ImageOwner* owner, std::span<const std::uint8_t> bytes,
                        ImageLoadFlags flags) {
  const auto header = ReadPlaceableHeader(bytes);
  // Without units per inch the size cannot be worked out.
  if (!header || header->unitsPerInch == 0) return nullptr;
  auto image = std::make_unique<MetafileImage>(flags);
  if (!(flags & SizeOnly)) {
    const auto bits = StandardMetafileBits(bytes);
    if (!bits) return nullptr;
    image->metafile_ =
        gdi_tally::Made(SetMetaFileBitsEx(static_cast<UINT>(bits->size()), bits->data()));
    if (image->metafile_ == nullptr) return nullptr;
  }
  image->box_ = *header;
  image->mappingMode_ = MM_ANISOTROPIC;

  HDC dc = owner != nullptr ? owner->GetDc() : GetDC(nullptr);
  const int perInchX = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  const int perInchY = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (owner != nullptr) {
    owner->ReleaseDc(dc);
  } else if (dc != nullptr) {
    ReleaseDC(nullptr, dc);
  }
  const auto height = MulDivRounded(header->bottom - header->top, perInchY, header->unitsPerInch);
  const auto width = MulDivRounded(header->right - header->left, perInchX, header->unitsPerInch);
  if (!width || !height) return nullptr;
  image->width_ = *width;
  image->height_ = *height;
  return image;
}

ImagePtr LoadMetafileImage(ImageOwner* owner, std::string_view name, bool fromResource,
                           ImageLoadFlags flags) {
  return ReadImageSource(owner, name, fromResource, flags, DecodeMetafile);
}

}  // namespace lumbra
