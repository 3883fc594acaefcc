#include "winrt/fault_report.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "winrt/event_codes.h"

namespace lumbra {

namespace {

struct ExceptionNameEntry {
  std::uint32_t code;
  const char* name;
};

constexpr ExceptionNameEntry kExceptionNames[] = {
    {0xC0000005, "Access Violation"},
    {0xC0000006, "Page Fault"},
    {0xC0000017, "No Memory"},
    {0xC000001D, "Illegal Instruction"},
    {0xC0000096, "Privileged Instruction"},
    {0xC00000FD, "Stack Overflow"},
};

constexpr char kFileSuffixes[] = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_";

std::string Format(const char* format, auto... values) {
  char text[512];
  const int n = std::snprintf(text, sizeof text, format, values...);
  return std::string(text, n < 0 ? 0 : std::min<std::size_t>(n, sizeof text - 1));
}

unsigned long long U64(std::uint64_t v) { return v; }

}  // namespace

const char* ExceptionName(std::uint32_t code) {
  for (const auto& e : kExceptionNames) {
    if (e.code == code) return e.name;
  }
  return nullptr;
}

std::string FaultFileName(const std::function<bool(const std::string&)>& exists) {
  std::string name = "WXFAULT1.TXT";
  for (const char* c = kFileSuffixes; *c; ++c) {
    name[7] = *c;
    if (*c == '_' || !exists(name)) break;
  }
  return name;
}

std::string FormatByteDump(std::uint64_t address, int count, const ByteReader& read) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    const std::uint64_t at = address + static_cast<std::uint64_t>(i);
    const auto byte = read(at);
    if (!byte) {
      if (i % 16 != 0) out += "\r\n";
      break;
    }
    if (i % 16 == 0) out += Format("  %08llx:", U64(at));
    out += Format(" %02x", static_cast<unsigned>(*byte));
    if (i % 16 == 15) out += "\r\n";
  }
  return out;
}

std::string FormatDwordDump(std::uint64_t address, int count, const DwordReader& read) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    const std::uint64_t at = address + 4 * static_cast<std::uint64_t>(i);
    const auto word = read(at);
    if (!word) {
      if (i % 4 != 0) out += "\r\n";
      break;
    }
    if (i % 4 == 0) out += Format("  %08llx:", U64(at));
    out += Format(" %08x", static_cast<unsigned>(*word));
    if (i % 4 == 3) out += "\r\n";
  }
  return out;
}

std::string FormatStateValue(std::int32_t value, const char* name) {
  if (value == 0) return "0";
  const unsigned bits = static_cast<unsigned>(value);
  if (name) return Format("%s (%d (0%XH))", name, static_cast<int>(value), bits);
  return Format("%d (0%XH)", static_cast<int>(value), bits);
}

std::string FormatLibraryState(const LibraryState& s) {
  std::string out = "Library State:\r\n";
  const char* eventName = s.event ? CodeName(static_cast<std::uint32_t>(s.event)) : nullptr;
  out += "  EVENT      = " + FormatStateValue(s.event, eventName) + "\r\n";
  out += "  FIELD      = " + FormatStateValue(s.field, nullptr) + "\r\n";
  out += "  FOCUS      = " + FormatStateValue(s.focus, nullptr) + "\r\n";
  out += "  ACCEPTED   = " + FormatStateValue(s.accepted, nullptr) + "\r\n";
  out += "  FIRSTFIELD = " + FormatStateValue(s.firstField, nullptr) + "\r\n";
  out += "  LASTFIELD  = " + FormatStateValue(s.lastField, nullptr) + "\r\n";
  out += Format("  ERRORCODE  = %d\r\n", static_cast<int>(s.errorCode));
  out += "  ERROR      = " + s.error.substr(0, 59) + "\r\n";
  return out;
}

std::string FormatCallFrame(const CallFrame& f) {
  return Format("%08llX  %08llX  %04X:%08llX %s\n", U64(f.framePointer), U64(f.address),
                static_cast<unsigned>(f.section), U64(f.offset), f.module.c_str());
}

std::vector<FrameLink> WalkFrames(std::uint64_t address, std::uint64_t framePointer,
                                  const WordPairReader& read, int limit) {
  std::vector<FrameLink> frames{{framePointer, address}};
  std::uint64_t previous = framePointer;
  while (static_cast<int>(frames.size()) < limit) {
    if (previous % 4 != 0) break;
    const auto link = read(previous);
    if (!link) break;
    if (link->framePointer % 4 != 0 || link->framePointer <= previous) break;
    frames.push_back(*link);
    previous = link->framePointer;
  }
  return frames;
}

}  // namespace lumbra
