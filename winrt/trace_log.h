// The trace log "W4LOG.TXT": one line per call, appended under a lock by
// opening, seeking to the end, writing and closing, so the log survives a
// crash of the process.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumbra {

constexpr const char* kTraceFileName = "W4LOG.TXT";

// Appends one line (printf format, at most 255 characters). The first line
// of the process creates the file empty.
void TraceLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A message or event code as its name, or "%#.4x" without one.
std::string TraceCode(std::uint32_t code);

// Where the "auxtrace" switch is read and where its copies go (the Windows
// runtime reads the system profile and writes to the "AUX" device).
struct TraceAuxiliary {
  bool (*enabled)() = nullptr;
  void (*write)(std::string_view line) = nullptr;
};
void SetTraceAuxiliary(const TraceAuxiliary& aux);

// Forgets that the log was started, so that the next line creates it anew.
void RestartTraceLog();

}  // namespace lumbra
