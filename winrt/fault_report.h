// The fault report: the file a faulting process writes before it ends.
// This part formats the report's lines from values the platform reads, so
// that every line's layout can be checked without a fault.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumbra {

// The name of an exception code, or null for codes that write no report.
const char* ExceptionName(std::uint32_t code);

// The report file's name: "WXFAULT1.TXT", advanced past every existing
// file through "1".."9", "A".."Z", "_"; "WXFAULT_.TXT" is taken even when
// it exists.
std::string FaultFileName(const std::function<bool(const std::string&)>& exists);

// Reads memory that may be unreadable: nothing when it cannot be read.
using ByteReader = std::function<std::optional<std::uint8_t>(std::uint64_t address)>;
using DwordReader = std::function<std::optional<std::uint32_t>(std::uint64_t address)>;

// count bytes from an address, 16 to a line ("  %08x:" then " %02x" each).
// An unreadable byte ends the dump with a line end.
std::string FormatByteDump(std::uint64_t address, int count, const ByteReader& read);
// count double words, 4 to a line, with the same rule.
std::string FormatDwordDump(std::uint64_t address, int count, const DwordReader& read);

// One value of the library state: "0", "%d (0%XH)", or "%s (%d (0%XH))"
// with the name.
std::string FormatStateValue(std::int32_t value, const char* name);

// The values the report shows of the window runtime.
struct LibraryState {
  std::int32_t event = 0;  // internal code, 0 when none
  std::int32_t field = 0, focus = 0, accepted = 0, firstField = 0, lastField = 0;
  std::int32_t errorCode = 0;
  std::string error;
};
std::string FormatLibraryState(const LibraryState& state);

// One frame of the call stack; the module name is empty (and section and
// offset 0) for an address outside every module.
struct CallFrame {
  std::uint64_t framePointer = 0;
  std::uint64_t address = 0;
  std::uint32_t section = 0;
  std::uint64_t offset = 0;
  std::string module;
};
std::string FormatCallFrame(const CallFrame& frame);

// Walks a frame-pointer chain from the faulting frame: each frame holds the
// saved frame pointer and then the return address. The walk stops at a
// frame pointer that is not a multiple of 4, not above the previous one, or
// not readable for two words; at most limit frames.
struct FrameLink {
  std::uint64_t framePointer;
  std::uint64_t address;
};
using WordPairReader = std::function<std::optional<FrameLink>(std::uint64_t framePointer)>;
std::vector<FrameLink> WalkFrames(std::uint64_t address, std::uint64_t framePointer,
                                  const WordPairReader& read, int limit = 256);

}  // namespace lumbra
