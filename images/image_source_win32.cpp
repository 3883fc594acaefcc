// Image bytes from the program's IMAGE resources and from files.
#include <windows.h>

#include <algorithm>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/phase_trace.h"
#include "images/image_source.h"

namespace lumbra {

namespace {

struct FileCloser {
  HANDLE file;
  ~FileCloser() { CloseHandle(file); }
};

std::span<const std::uint8_t> FindImageResource(std::string_view name) {
  const std::string resourceName = ImageResourceName(name);
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, resourceName.c_str(), "IMAGE");
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return {};
  const void* bytes = LockResource(loaded);
  const DWORD size = SizeofResource(module, found);
  if (bytes == nullptr || size == 0) return {};
  return {static_cast<const std::uint8_t*>(bytes), size};
}

// The file's last write, local time, as a DOS date and time; 0 when the
// platform cannot give it.
std::uint32_t FileStamp(HANDLE file) {
  FILETIME written;
  FILETIME local;
  WORD dosDate = 0;
  WORD dosTime = 0;
  if (!GetFileTime(file, nullptr, nullptr, &written) ||
      !FileTimeToLocalFileTime(&written, &local) ||
      !FileTimeToDosDateTime(&local, &dosDate, &dosTime)) {
    return 0;
  }
  return PackDosStamp(dosDate, dosTime);
}

std::uint64_t Ticks(const FILETIME& time) {
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

bool ReadWholeFile(HANDLE file, std::vector<std::uint8_t>& bytes) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF) {
    return false;
  }
  try {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return false;
  }
  DWORD done = 0;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 24));
    if (!ReadFile(file, bytes.data() + at, chunk, &done, nullptr) || done == 0) return false;
    at += done;
  }
  return true;
}

// A file read earlier that ReadImageSource takes in place of opening it,
// while DecodeImageFile runs on this thread.
struct PreRead {
  std::string_view name;
  const ImageFile* file;
};
thread_local const PreRead* t_preRead = nullptr;

struct PreReadScope {
  explicit PreReadScope(const PreRead& preRead) { t_preRead = &preRead; }
  ~PreReadScope() { t_preRead = nullptr; }
  PreReadScope(const PreReadScope&) = delete;
  PreReadScope& operator=(const PreReadScope&) = delete;
};

std::optional<ImageFile> SourceFile(std::string_view name) {
  if (t_preRead != nullptr && t_preRead->name == name) {
    try {
      return *t_preRead->file;
    } catch (const std::bad_alloc&) {
      return std::nullopt;
    }
  }
  return ReadImageFile(name);
}

}  // namespace

std::optional<ImageFile> ReadImageFile(std::string_view name) {
  const PhaseScope phase("file read");
  const std::string path(name);
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  FileCloser closer{handle};
  ImageFile file;
  file.stamp = FileStamp(handle);
  FILETIME written = {};
  if (GetFileTime(handle, nullptr, nullptr, &written)) file.facts.written = Ticks(written);
  if (!ReadWholeFile(handle, file.bytes) || file.bytes.empty()) return std::nullopt;
  file.facts.size = file.bytes.size();
  return file;
}

std::optional<FileFacts> FileFactsOf(std::string_view name) {
  const std::string path(name);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileFacts{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                   Ticks(data.ftLastWriteTime)};
}

ImagePtr DecodeImageFile(std::string_view name, const ImageFile& file, ImageLoadFlags flags) {
  const PreRead preRead{name, &file};
  const PreReadScope scope(preRead);
  return LoadImageByName(nullptr, name, false, flags);
}

ImagePtr ReadImageSource(ImageOwner* owner, std::string_view name, bool fromResource,
                         ImageLoadFlags flags, ImageMemoryDecoder decoder) {
  if (!name.empty() && name[0] == '~') name.remove_prefix(1);
  if (fromResource) {
    const std::span<const std::uint8_t> resource = FindImageResource(name);
    if (!resource.empty()) {
      if (ImagePtr image = decoder(owner, resource, flags)) {
        if (!(flags & DiscardSource)) image->KeepResourceSource(resource);
        image->SetSourceSize(static_cast<std::uint32_t>(resource.size()));
        image->SetSourceStamp(0);
        return image;
      }
    }
  }
  std::optional<ImageFile> file = SourceFile(name);
  if (!file) return nullptr;
  ImagePtr image = decoder(owner, file->bytes, flags);
  if (!image) return nullptr;
  const auto size = static_cast<std::uint32_t>(file->bytes.size());
  if (!(flags & DiscardSource)) image->KeepOwnedSource(std::move(file->bytes));
  image->SetSourceSize(size);
  image->SetSourceStamp(file->stamp);
  return image;
}

}  // namespace lumbra
