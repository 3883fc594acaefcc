// Metafile images: decoding, sizing at the device's resolution, playback.
#include "codecs/metafile_image.h"

#include <windows.h>

#include "codecs/format_handlers.h"
#include "codecs/image_source.h"

namespace lumbra {

MetafileImage::~MetafileImage() { ReleaseMetafile(); }

bool MetafileImage::NeedsBackground() const { return true; }

void MetafileImage::DrawAt(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height) {
  if (metafile_ == nullptr) return;
  SaveDC(dc);
  SetMapMode(dc, mappingMode_);
  SetWindowOrgEx(dc, box_.left, box_.top, nullptr);
  SetWindowExtEx(dc, box_.right - box_.left, box_.bottom - box_.top, nullptr);
  SetViewportOrgEx(dc, x, y, nullptr);
  SetViewportExtEx(dc, width, height, nullptr);
  IntersectClipRect(dc, box_.left, box_.top, box_.right, box_.bottom);
  PlayMetaFile(dc, metafile_);
  RestoreDC(dc, -1);
}

std::string MetafileImage::GetExtension() const { return ".wmf"; }

bool MetafileImage::DrawStretched(NativeDc dc, const ImageRect& rect) {
  DrawAt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return true;
}

void MetafileImage::CopyToClipboard(NativeWindow window) {
  if (metafile_ == nullptr) return;
  if (!OpenClipboard(window)) return;
  EmptyClipboard();
  // The clipboard gets a metafile of its own, valid after this image ends.
  HMETAFILE copy = CopyMetaFileA(metafile_, nullptr);
  HGLOBAL block = copy != nullptr ? GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT)) : nullptr;
  auto* picture = block != nullptr ? static_cast<METAFILEPICT*>(GlobalLock(block)) : nullptr;
  if (picture != nullptr) {
    picture->mm = MM_ANISOTROPIC;
    picture->xExt = 0;
    picture->yExt = 0;
    picture->hMF = copy;
    GlobalUnlock(block);
    if (SetClipboardData(CF_METAFILEPICT, block) != nullptr) {
      copy = nullptr;
      block = nullptr;
    }
  }
  if (block != nullptr) GlobalFree(block);
  if (copy != nullptr) DeleteMetaFile(copy);
  CloseClipboard();
}

bool MetafileImage::CoversRectangle() const { return false; }

void MetafileImage::ReleaseContents() {
  ReleaseMetafile();
  ImageObject::ReleaseContents();
}

void MetafileImage::ReleaseMetafile() {
  if (metafile_ != nullptr) DeleteMetaFile(metafile_);
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
    image->metafile_ = SetMetaFileBitsEx(static_cast<UINT>(bits->size()), bits->data());
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
