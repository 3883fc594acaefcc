// Icon images and the icon lookup by name.
#include "codecs/icon_image.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdint>
#include <span>
#include <string>

#include "codecs/format_handlers.h"
#include "codecs/gdi_tally_win32.h"
#include "codecs/icon_file_check.h"
#include "codecs/icon_name.h"
#include "codecs/image_source.h"

namespace lumbra {

namespace {

bool iconsFromFiles = false;

// A file mapped read-only for the length of one check.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    file_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    if (file_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(file_, &size) || size.QuadPart <= 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > SIZE_MAX) {
      return;
    }
    mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping_ == nullptr) return;
    view_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
    if (view_ != nullptr) size_ = static_cast<std::size_t>(size.QuadPart);
  }
  ~MappedFile() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::span<const std::uint8_t> bytes() const {
    return {static_cast<const std::uint8_t*>(view_), size_};
  }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
  std::size_t size_ = 0;
};

// The platform's extraction trusts every count and offset of the file; it
// is given only files whose icons have been checked to lie inside them.
bool IconFileIsSound(const std::string& path) {
  const MappedFile file(path);
  return IconSourceIsSound(file.bytes());
}

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
  if (!IconFileIsSound(icon.name)) return nullptr;
  HICON extracted = ExtractIconA(program, icon.name.c_str(), static_cast<UINT>(icon.index));
  // The platform answers 1 for a file that holds no icons.
  if (extracted == reinterpret_cast<HICON>(1)) return nullptr;
  return extracted;
}

IconImage::IconImage(ImageLoadFlags flags, NativeIcon icon)
    : ImageObject(flags), icon_(gdi_tally::Made(icon)) {
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
  // Shared icons too are counted as the image takes and leaves them.
  if (icon_ != nullptr) {
    DestroyIcon(icon_);
    gdi_tally::HandedOver();
  }
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
