#include "winrt/trace_log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "winrt/event_codes.h"

namespace lumbra {

namespace {

constexpr std::size_t kTraceChars = 255;

std::mutex g_traceLock;
bool g_started = false;
bool g_aux = false;
TraceAuxiliary g_auxiliary;

void Append(const char* mode, std::string_view line) {
  if (std::FILE* f = std::fopen(kTraceFileName, mode)) {
    std::fseek(f, 0, SEEK_END);
    if (!line.empty()) std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
}

}  // namespace

void TraceLine(const char* format, ...) {
  char text[kTraceChars + 1];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::string line(text,
                   n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), kTraceChars));
  line += "\r\n";

  std::lock_guard lock(g_traceLock);
  if (!g_started) {
    g_started = true;
    g_aux = g_auxiliary.enabled && g_auxiliary.enabled();
    Append("wb", {});
  }
  Append("ab", line);
  if (g_aux && g_auxiliary.write) g_auxiliary.write(line);
}

std::string TraceCode(std::uint32_t code) { return CodeText(code); }

void SetTraceAuxiliary(const TraceAuxiliary& aux) {
  std::lock_guard lock(g_traceLock);
  g_auxiliary = aux;
}

void RestartTraceLog() {
  std::lock_guard lock(g_traceLock);
  g_started = false;
}

}  // namespace lumbra
