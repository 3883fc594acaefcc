// Icon images and the icon lookup by name.
#include "codecs/icon_image.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "codecs/format_handlers.h"
#include "codecs/icon_name.h"
#include "codecs/image_source.h"

namespace lumbra {

namespace {

bool iconsFromFiles = false;

}  // namespace

void SetIconSourceSwitch(bool extractFromFiles) { iconsFromFiles = extractFromFiles; }

NativeIcon LookUpIcon(std::string_view name, bool fromResource) {
  const IconReference icon = ParseIconName(name, fromResource);
  HINSTANCE program = GetModuleHandleA(nullptr);
  switch (icon.kind) {
    case IconReference::Kind::kNone: return nullptr;
    case IconReference::Kind::kSystem: return LoadIconA(nullptr, MAKEINTRESOURCEA(icon.id));
    case IconReference::Kind::kProgram: return LoadIconA(program, MAKEINTRESOURCEA(icon.id));
    case IconReference::Kind::kNamed: break;
  }
  if (icon.fromResource && !iconsFromFiles) {
    return LoadIconA(program, ImageResourceName(icon.name).c_str());
  }
  HICON extracted = ExtractIconA(program, icon.name.c_str(), static_cast<UINT>(icon.index));
  // The platform answers 1 for a file that holds no icons.
  if (extracted == reinterpret_cast<HICON>(1)) return nullptr;
  return extracted;
}

IconImage::IconImage(ImageLoadFlags flags, NativeIcon icon) : ImageObject(flags), icon_(icon) {
  // Always the system's icon size, whatever the icon's own.
  width_ = GetSystemMetrics(SM_CXICON);
  height_ = GetSystemMetrics(SM_CYICON);
}

IconImage::~IconImage() { DestroyOwnIcon(); }

std::string IconImage::GetExtension() const { return ".ico"; }

bool IconImage::CoversRectangle() const { return false; }

void IconImage::ReleaseContents() {
  DestroyOwnIcon();
  ImageObject::ReleaseContents();
}

void IconImage::DestroyOwnIcon() {
  if (icon_ != nullptr) DestroyIcon(icon_);
  icon_ = nullptr;
}

ImagePtr LoadIconImage(ImageOwner*, std::string_view name, bool fromResource,
                       ImageLoadFlags flags) {
  if (flags & SizeOnly) return std::make_unique<IconImage>(flags, nullptr);
  HICON icon = LookUpIcon(name, fromResource);
  if (icon == nullptr) return nullptr;
  return std::make_unique<IconImage>(flags, icon);
}

}  // namespace lumbra
