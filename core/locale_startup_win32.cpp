// Locale start-up on Windows: WIN.INI's intl section through the profile
// functions, the environment file beside the program, and the Windows
// collation for WEXCOLSEQ=WINDOWS.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <numeric>

#include "core/error_state.h"
#include "core/ini_access.h"
#include "core/locale_startup.h"

namespace lumbra {

namespace {

// Environment files are a few lines; anything past this is not read.
constexpr std::size_t kMaxEnvironmentBytes = 1 << 20;

std::string ProgramPath() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, n < MAX_PATH ? n : 0);
}

std::string ReadSmallFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::string();
  std::string text(kMaxEnvironmentBytes, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  return text;
}

// Every character code ranked by the user's collation.
std::array<std::uint16_t, 256> WindowsCollatingOrder() {
  std::array<unsigned char, 256> codes;
  std::iota(codes.begin(), codes.end(), 0);
  // A guarded insertion sort: the platform's comparison need not be a
  // strict ordering for every pair of control characters, and this stays
  // in bounds and stable whatever it answers.
  const auto less = [](unsigned char a, unsigned char b) {
    const char x = static_cast<char>(a), y = static_cast<char>(b);
    return CompareStringA(LOCALE_USER_DEFAULT, 0, &x, 1, &y, 1) == CSTR_LESS_THAN;
  };
  for (std::size_t i = 1; i < codes.size(); ++i) {
    const unsigned char code = codes[i];
    std::size_t j = i;
    while (j > 0 && less(code, codes[j - 1])) {
      codes[j] = codes[j - 1];
      --j;
    }
    codes[j] = code;
  }
  std::array<std::uint16_t, 256> order{};
  for (std::size_t rank = 0; rank < codes.size(); ++rank) {
    order[codes[rank]] = static_cast<std::uint16_t>(rank);
  }
  return order;
}

}  // namespace

void StartLocale() {
  Locale& locale = RuntimeLocale();
  ApplyWindowsSettings(locale, [](std::string_view key, std::string_view fallback) {
    return ReadIniKey("intl", key, fallback, "");
  });
  const std::string program = ProgramPath();
  if (!program.empty()) {
    ApplyEnvironment(locale, ReadSmallFile(EnvironmentFilePath(program)), WindowsCollatingOrder);
  }
  ClearErrorState();
}

}  // namespace lumbra
