// Directory listing and path forms through the Windows file functions.
#include <windows.h>

#include <string>

#include "core/date_time.h"
#include "core/directory_entry.h"
#include "core/directory_listing.h"
#include "core/directory_rules.h"
#include "core/error_state.h"

namespace lumbra {

namespace {

constexpr std::int32_t kInsufficientMemory = 8;
constexpr std::size_t kFullPathBuffer = 260;
constexpr std::size_t kShortPathBuffer = kShortPathChars + 1;

// A FindFirstFileA search, closed when it goes out of scope.
class FileSearch {
 public:
  FileSearch(const std::string& pattern, WIN32_FIND_DATAA& data)
      : handle_(FindFirstFileA(pattern.c_str(), &data)) {}
  ~FileSearch() {
    if (found()) FindClose(handle_);
  }
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;

  bool found() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAA& data) { return FindNextFileA(handle_, &data) != FALSE; }

 private:
  HANDLE handle_;
};

// A fixed character array of the find data as text, up to its terminator.
template <std::size_t N>
std::string_view TextOf(const char (&chars)[N]) {
  std::size_t length = 0;
  while (length < N && chars[length] != '\0') ++length;
  return {chars, length};
}

bool HasDirectoryEntryLayout(const RecordLayout& layout) {
  if (layout.size != sizeof(DirectoryEntry) ||
      layout.fields.size() != std::size(kDirectoryEntryFields))
    return false;
  for (std::size_t i = 0; i < layout.fields.size(); ++i) {
    const FieldDescription& a = layout.fields[i];
    const FieldDescription& b = kDirectoryEntryFields[i];
    if (a.type != b.type || a.offset != b.offset || a.size != b.size) return false;
  }
  return true;
}

// What the system adds to a file time to give local time now, in 100 ns
// units: taken once for a listing, as the system itself takes its current
// bias for every file, instead of asking for it once per file.
std::int64_t LocalTimeBias() {
  const std::uint64_t reference = 0x01D0000000000000ull;  // a time in 2014
  const FILETIME utc = {static_cast<DWORD>(reference), static_cast<DWORD>(reference >> 32)};
  FILETIME local{};
  if (!FileTimeToLocalFileTime(&utc, &local)) return 0;
  const std::uint64_t shifted = (std::uint64_t{local.dwHighDateTime} << 32) | local.dwLowDateTime;
  return static_cast<std::int64_t>(shifted - reference);
}

void FillEntry(DirectoryEntry& entry, const WIN32_FIND_DATAA& data, std::int64_t bias) {
  entry.NAME = TextOf(data.cFileName);
  const std::string_view shortName = TextOf(data.cAlternateFileName);
  entry.SHORTNAME = shortName.empty() ? TextOf(data.cFileName) : shortName;
  entry.SIZE = static_cast<std::int32_t>(data.nFileSizeLow);
  entry.ATTRIB = static_cast<std::uint8_t>(data.dwFileAttributes & kKeptAttributes);
  const std::uint64_t written = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                data.ftLastWriteTime.dwLowDateTime;
  const std::uint64_t shifted = written + static_cast<std::uint64_t>(bias);
  const FILETIME local = {static_cast<DWORD>(shifted), static_cast<DWORD>(shifted >> 32)};
  SYSTEMTIME time{};
  if (FileTimeToSystemTime(&local, &time)) {
    entry.DATE = SystemDateSerial(time.wYear, time.wMonth, time.wDay);
    entry.TIME = TimeSerial(time.wHour, time.wMinute, time.wSecond, 0);
  } else {
    entry.DATE = 0;
    entry.TIME = 0;
  }
}

// The file functions take their texts in the OEM code page only when the
// program has switched them to it; otherwise texts go through unchanged.
std::string ToFileApiText(const std::string& text) {
  if (AreFileApisANSI()) return text;
  std::string converted(text.size() + 1, '\0');
  CharToOemA(text.c_str(), converted.data());
  converted.resize(text.size());
  return converted;
}

std::string FromFileApiText(const std::string& text) {
  if (AreFileApisANSI()) return text;
  std::string converted(text.size() + 1, '\0');
  OemToCharA(text.c_str(), converted.data());
  converted.resize(text.size());
  return converted;
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string ArgumentPath(std::string_view path) {
  std::string text(ClipTrailingBlanks(path));
  return text.empty() ? CurrentDirectory() : text;
}

bool Exists(const std::string& path) {
  WIN32_FIND_DATAA data{};
  return FileSearch(path, data).found();
}

}  // namespace

void ListDirectory(Queue& queue, std::string_view pattern, std::uint8_t wanted) {
  if (!HasDirectoryEntryLayout(queue.Layout()) || queue.Buffer() == nullptr) return;
  const std::string text(ClipTrailingBlanks(pattern).substr(0, kPatternChars));
  WIN32_FIND_DATAA data{};
  FileSearch search(text, data);
  if (!search.found()) return;
  auto& entry = *static_cast<DirectoryEntry*>(queue.Buffer());
  const std::int64_t bias = LocalTimeBias();
  do {
    if (!PassesAttributeFilter(data.dwFileAttributes, wanted)) continue;
    FillEntry(entry, data, bias);
    queue.Add();
    if (ERRORCODE() == kInsufficientMemory) break;  // the queue is full
  } while (search.Next(data));
}

std::string LongPath(std::string_view path) {
  const std::string input = ArgumentPath(path);
  char full[kFullPathBuffer] = {};
  const DWORD n = GetFullPathNameA(ToFileApiText(input).c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return input;
  std::string rebuilt(full, n);
  // Replace each component after the drive by the name the file system
  // gives it, looking up the path up to and including that component.
  std::size_t separator = rebuilt.size() >= 2 && rebuilt[1] == ':' ? 2 : 0;
  while ((separator = rebuilt.find('\\', separator)) != std::string::npos) {
    const std::size_t start = separator + 1;
    std::size_t end = rebuilt.find('\\', start);
    if (end == std::string::npos) end = rebuilt.size();
    const std::string component = rebuilt.substr(start, end - start);
    // A wildcard would look up some other entry; such components stay.
    if (!component.empty() && component.find_first_of("*?") == std::string::npos) {
      WIN32_FIND_DATAA data{};
      FileSearch search(rebuilt.substr(0, end), data);
      if (search.found()) {
        const std::string_view name = TextOf(data.cFileName);
        rebuilt.replace(start, end - start, name);
        end = start + name.size();
      }
    }
    separator = end;
  }
  return Exists(rebuilt) ? FromFileApiText(rebuilt) : rebuilt;
}

std::string LongName(std::string_view path) {
  const std::string text(path);
  if (text.empty() || text.find_first_of("*?") != std::string::npos) return {};
  WIN32_FIND_DATAA data{};
  FileSearch search(ToFileApiText(text), data);
  return search.found() ? FromFileApiText(std::string(TextOf(data.cFileName))) : std::string();
}

std::string ShortPath(std::string_view path) {
  const std::string input = ArgumentPath(path);
  char buffer[kShortPathBuffer] = {};
  SetLastError(ERROR_SUCCESS);
  const DWORD n = GetShortPathNameA(ToFileApiText(input).c_str(), buffer, sizeof buffer);
  if (n > 0 && n < sizeof buffer) {
    std::string result = FromFileApiText(std::string(buffer, n));
    if (result.size() == 2 && result[1] == ':') result += '\\';
    return result;
  }
  if (n == 0 && GetLastError() == ERROR_INVALID_PARAMETER) return RuleShortPath(input);
  return input;
}

}  // namespace lumbra
