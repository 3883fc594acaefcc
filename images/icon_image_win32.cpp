// Icon images and the icon lookup by name.
#include "images/icon_image.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codecs/decoded_image.h"
#include "codecs/icon_file_check.h"
#include "codecs/icon_mask.h"
#include "codecs/icon_name.h"
#include "core/gdi_tally_win32.h"
#include "images/format_handlers.h"
#include "images/image_source.h"

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

// The group directory of an icon file as a program's resources hold it:
// the file's entries, each naming its image by number from 1.
std::vector<std::uint8_t> GroupDirectory(std::span<const std::uint8_t> file) {
  const std::uint16_t count = ReadU16(file.data() + 4);
  std::vector<std::uint8_t> group(file.begin(), file.begin() + 6);
  for (std::uint16_t i = 0; i < count; ++i) {
    const auto entry = file.begin() + 6 + 16 * i;
    group.insert(group.end(), entry, entry + 12);
    group.push_back(static_cast<std::uint8_t>(i + 1));
    group.push_back(static_cast<std::uint8_t>((i + 1) >> 8));
  }
  return group;
}

// An icon file whose 32-bit images carry no mask: the images get one built
// from their alpha, the repaired file passes the same checks as any other,
// and the platform makes the icon of the system's size from the image it
// would pick. Only the first icon: an icon file holds one.
HICON IconWithBuiltMasks(std::span<const std::uint8_t> bytes, int index) {
  if (index != 0) return nullptr;
  const std::vector<std::uint8_t> file = IconFileWithMasks(bytes);
  if (file.empty() || !IconDirectoryIsSound(file)) return nullptr;
  std::vector<std::uint8_t> group = GroupDirectory(file);
  const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  const int id = LookupIconIdFromDirectoryEx(group.data(), TRUE, cx, cy, LR_DEFAULTCOLOR);
  if (id < 1 || id > ReadU16(file.data() + 4)) return nullptr;
  const std::uint8_t* entry = file.data() + 6 + 16 * (id - 1);
  return CreateIconFromResourceEx(const_cast<std::uint8_t*>(file.data() + ReadU32(entry + 12)),
                                  ReadU32(entry + 8), TRUE, 0x00030000, cx, cy, LR_DEFAULTCOLOR);
}

// The platform's extraction trusts every count and offset of the file; it
// is given only files whose icons have been checked to lie inside them.
// Icon files whose 32-bit images lack their mask are made whole first.
HICON ExtractCheckedIcon(HINSTANCE program, const std::string& path, int index) {
  const MappedFile file(path);
  if (!IconSourceIsSound(file.bytes())) return IconWithBuiltMasks(file.bytes(), index);
  HICON extracted = ExtractIconA(program, path.c_str(), static_cast<UINT>(index));
  // The platform answers 1 for a file that holds no icons.
  return extracted == reinterpret_cast<HICON>(1) ? nullptr : extracted;
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
  return ExtractCheckedIcon(program, icon.name, icon.index);
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
