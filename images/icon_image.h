// Icons and cursors, loaded or extracted by the platform.
#pragma once

#include <cstdint>
#include <string_view>

#include "images/image_object.h"

namespace lumbra {

class IconImage : public ImageObject {
 public:
  IconImage(ImageLoadFlags flags, NativeIcon icon);
  ~IconImage() override;

  void DrawAt(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
              std::int32_t height) override;
  std::string GetExtension() const override;
  bool DrawStretched(NativeDc dc, const ImageRect& rect) override;
  bool GetHandle(PictureHandle& out) override;
  bool CoversRectangle() const override;
  void ReleaseContents() override;

  NativeIcon icon() const { return icon_; }

 private:
  void DestroyOwnIcon();

  NativeIcon icon_;
};

// Finds an icon by name (system icon and program icon references, "[n]"
// index, "~" resources, icons extracted from files); none when not found.
// Also used for window, button and message-box icons.
NativeIcon LookUpIcon(std::string_view name, bool fromResource);

// The runtime-wide switch that sends resource icon names through file
// extraction instead of the program's icon resources.
void SetIconSourceSwitch(bool extractFromFiles);

}  // namespace lumbra
