// Placeable Windows metafiles, played by the platform into a box.
#pragma once

#include <cstdint>

#include "codecs/wmf_header.h"
#include "images/image_object.h"

namespace lumbra {

class MetafileImage : public ImageObject {
 public:
  explicit MetafileImage(ImageLoadFlags flags) : ImageObject(flags) {}
  ~MetafileImage() override;

  bool NeedsBackground() const override;
  void DrawAt(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
              std::int32_t height) override;
  void DrawInRectangle(std::uint32_t drawState, NativeDc dc, const ImageRect& rect) override;
  std::string GetExtension() const override;
  bool DrawStretched(NativeDc dc, const ImageRect& rect) override;
  void CopyToClipboard(NativeWindow window) override;
  bool CoversRectangle() const override;
  void ReleaseContents() override;

  NativeMetafile metafile() const { return metafile_; }
  const PlaceableHeader& box() const { return box_; }
  std::int32_t mappingMode() const { return mappingMode_; }

 private:
  friend ImagePtr DecodeMetafile(ImageOwner*, std::span<const std::uint8_t>, ImageLoadFlags);
  void ReleaseMetafile();

  NativeMetafile metafile_ = nullptr;
  PlaceableHeader box_;
  std::int32_t mappingMode_ = 8;  // anisotropic
};

}  // namespace lumbra
