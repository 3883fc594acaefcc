#include "winrt/runtime_errors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "core/error_state.h"
#include "winrt/event_codes.h"
#include "winrt/fault_report.h"
#include "winrt/key_codes.h"
#include "winrt/trace_log.h"

namespace lumbra {
namespace {

std::uint32_t g_systemError = 0;
std::uint32_t FakeSystemError() { return g_systemError; }

TEST(ErrorTexts, RulesForUnknownRegisteredAndSystemCodes) {
  UseProgramErrorTexts();
  SetErrorState(9999);
  EXPECT_EQ(ERRORCODE(), 9999);
  EXPECT_EQ(ERROR(), "Unknown Error Posted : 9999");

  RegisterErrorText(535, "Fenster schon offen");
  SetErrorState(535);
  EXPECT_EQ(ERROR(), "Fenster schon offen");
  RegisterErrorText(535, "");
  SetErrorState(535);
  EXPECT_EQ(ERROR(), "Window is already open");

  g_systemError = 5;
  SetLastSystemErrorQuery(FakeSystemError);
  SetErrorState(0);
  EXPECT_EQ(ERRORCODE(), 305);
  EXPECT_EQ(ERROR(), "Access Denied");
  SetLastSystemErrorQuery(nullptr);

  RegisterErrorText(700, "   " + std::string(100, 'x'));
  SetErrorState(700);
  EXPECT_EQ(ERROR(), std::string(79, 'x'));
  RegisterErrorText(700, "");
  ClearErrorState();
}

TEST(ErrorTexts, MessageWithDetailHasOneBlankEachSideOfTheColon) {
  EXPECT_EQ(RuntimeErrorMessage("Internal error 02      ", "WSLDIAL"),
            "Internal error 02 : WSLDIAL");
  EXPECT_EQ(RuntimeErrorMessage("Window is not open   ", ""), "Window is not open");
  EXPECT_EQ(RuntimeErrorMessage(std::string(79, 'e'), std::string(400, 'd')).size(), 255u);
}

struct Raised : std::runtime_error {
  Raised(std::int32_t c, const std::string& m) : std::runtime_error(m), code(c) {}
  std::int32_t code;
};
void ThrowingHandler(std::int32_t code, const std::string& message) { throw Raised(code, message); }

TEST(ErrorBox, HandlerGetsCodeAndMessageOnlyOnceStarted) {
  UseProgramErrorTexts();
  SetRuntimeErrorHandler(ThrowingHandler);
  SetRuntimeStarted(false);
  EXPECT_NO_THROW(RuntimeErrorBox(536));
  EXPECT_EQ(ERRORCODE(), 536);

  SetRuntimeStarted(true);
  try {
    RuntimeErrorBox(502, "WSLDIAL");
    FAIL() << "the handler was not called";
  } catch (const Raised& r) {
    EXPECT_EQ(r.code, 502);
    EXPECT_STREQ(r.what(), "Internal error 02 : WSLDIAL");
  }
  SetRuntimeStarted(false);
  SetRuntimeErrorHandler(nullptr);
}

TEST(FaultReport, FileNamesAdvancePastExistingFiles) {
  std::set<std::string> present;
  auto exists = [&](const std::string& n) { return present.count(n) > 0; };
  EXPECT_EQ(FaultFileName(exists), "WXFAULT1.TXT");
  for (char c = '1'; c <= '9'; ++c) present.insert(std::string("WXFAULT") + c + ".TXT");
  EXPECT_EQ(FaultFileName(exists), "WXFAULTA.TXT");
  for (char c = 'A'; c <= 'Z'; ++c) present.insert(std::string("WXFAULT") + c + ".TXT");
  EXPECT_EQ(FaultFileName(exists), "WXFAULT_.TXT");
  present.insert("WXFAULT_.TXT");
  EXPECT_EQ(FaultFileName(exists), "WXFAULT_.TXT");
}

TEST(FaultReport, OnlyTheSixExceptionsAreNamed) {
  EXPECT_STREQ(ExceptionName(0xC0000005), "Access Violation");
  EXPECT_STREQ(ExceptionName(0xC00000FD), "Stack Overflow");
  EXPECT_STREQ(ExceptionName(0xC000001D), "Illegal Instruction");
  EXPECT_EQ(ExceptionName(0xC0000094), nullptr);  // integer divide by zero
  EXPECT_EQ(ExceptionName(0x80000003), nullptr);  // breakpoint
}

TEST(FaultReport, DumpsStopAtTheFirstUnreadableAddress) {
  auto bytes = [](std::uint64_t a) -> std::optional<std::uint8_t> {
    if (a >= 0x1000 + 20) return std::nullopt;
    return static_cast<std::uint8_t>(a & 0xFF);
  };
  EXPECT_EQ(FormatByteDump(0x1000, 32, bytes),
            "  00001000: 00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f\r\n"
            "  00001010: 10 11 12 13\r\n");
  EXPECT_EQ(FormatByteDump(0x2000, 32, bytes), "");
  auto words = [](std::uint64_t a) -> std::optional<std::uint32_t> {
    return a < 0x40 ? std::optional<std::uint32_t>(0xAB000000u + static_cast<std::uint32_t>(a))
                    : std::nullopt;
  };
  EXPECT_EQ(FormatDwordDump(0x20, 32, words),
            "  00000020: ab000020 ab000024 ab000028 ab00002c\r\n"
            "  00000030: ab000030 ab000034 ab000038 ab00003c\r\n");
}

TEST(FaultReport, LibraryStateAndCallFrameLines) {
  EXPECT_EQ(FormatStateValue(0, nullptr), "0");
  EXPECT_EQ(FormatStateValue(26, nullptr), "26 (01AH)");
  LibraryState s;
  s.event = 0x1601;
  s.field = 3;
  s.errorCode = 535;
  s.error = std::string(70, 'z');
  const std::string text = FormatLibraryState(s);
  EXPECT_NE(text.find("  EVENT      = EVENT:CloseWindow (5633 (01601H))\r\n"), std::string::npos);
  EXPECT_NE(text.find("  FIELD      = 3 (03H)\r\n  FOCUS      = 0\r\n"), std::string::npos);
  EXPECT_NE(text.find("  ERRORCODE  = 535\r\n  ERROR      = " + std::string(59, 'z') + "\r\n"),
            std::string::npos);
  EXPECT_EQ(FormatCallFrame({0x0012FF40, 0x00401234, 1, 0x234, "C:\\LUMBRA.EXE"}),
            "0012FF40  00401234  0001:00000234 C:\\LUMBRA.EXE\n");
  EXPECT_EQ(FormatCallFrame({0x10, 0x20, 0, 0, ""}), "00000010  00000020  0000:00000000 \n");
}

TEST(FaultReport, FrameWalkStopRules) {
  // Frames at 0x100 -> 0x200 -> 0x1F0 (not higher): the walk keeps three.
  auto chain = [](std::uint64_t fp) -> std::optional<FrameLink> {
    switch (fp) {
      case 0x100: return FrameLink{0x200, 0xA1};
      case 0x200: return FrameLink{0x300, 0xA2};
      case 0x300: return FrameLink{0x1F0, 0xA3};
      default: return std::nullopt;
    }
  };
  auto frames = WalkFrames(0xA0, 0x100, chain);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[2].address, 0xA2u);
  // A misaligned saved frame pointer and an unreadable frame end the walk.
  auto misaligned = [](std::uint64_t) -> std::optional<FrameLink> { return FrameLink{0x202, 1}; };
  EXPECT_EQ(WalkFrames(0xA0, 0x100, misaligned).size(), 1u);
  auto unreadable = [](std::uint64_t) -> std::optional<FrameLink> { return std::nullopt; };
  EXPECT_EQ(WalkFrames(0xA0, 0x100, unreadable).size(), 1u);
  // A chain that always rises is bounded.
  auto rising = [](std::uint64_t fp) -> std::optional<FrameLink> { return FrameLink{fp + 16, 1}; };
  EXPECT_EQ(WalkFrames(0xA0, 0x100, rising, 50).size(), 50u);
}

TEST(EventCodes, NamesAndFieldEvents) {
  EXPECT_STREQ(CodeName(0x1413), "EVENT:Drop");
  EXPECT_STREQ(CodeName(0x1642), "EVENT:BuildDone");
  EXPECT_STREQ(CodeName(0x241D), "QUERY_EDITDONE");
  EXPECT_STREQ(CodeName(0x0010), "WM_CLOSE");
  EXPECT_EQ(CodeText(0x1607), "0x1607");
  EXPECT_EQ(CodeText(0x241B), "0x241b");
  EXPECT_TRUE(IsFieldEvent(kEventAccepted));
  EXPECT_TRUE(IsFieldEvent(kEventSelected));
  EXPECT_FALSE(IsFieldEvent(kEventCloseWindow));
  EXPECT_EQ(kEventCloseWindow - kEventOffset, static_cast<std::uint32_t>(Event::CloseWindow));
}

TEST(KeyCodes, ModifiersAndTheProgramsView) {
  KeyModifiers shift;
  shift.shift = true;
  shift.numLock = true;
  const std::uint32_t z = ComposeKeyCode('Z', false, shift);
  EXPECT_EQ(z, 0x215Au);
  EXPECT_EQ(ProgramKeyCode(z), 0x15Au);
  KeyModifiers ctrl;
  ctrl.ctrl = true;
  EXPECT_EQ(ProgramKeyCode(ComposeKeyCode('C', false, ctrl)), 0x243u);
  // Extended keys carry 0x800 internally, which the program does not see.
  EXPECT_EQ(ComposeKeyCode(0x2E, true, {}), 0x82Eu);
  EXPECT_EQ(ProgramKeyCode(ComposeKeyCode(0x2E, true, {})), 0x2Eu);
}

std::string ReadAll(const char* name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(TraceLog, FirstLineStartsTheLogAndLinesAppend) {
  { std::ofstream(kTraceFileName) << "left from an earlier run\r\n"; }
  RestartTraceLog();
  TraceLine("open %s", TraceCode(kEventOpenWindow).c_str());
  TraceLine("message %s", TraceCode(0x7777).c_str());
  TraceLine("%s", std::string(400, 'q').c_str());
  EXPECT_EQ(ReadAll(kTraceFileName),
            "open EVENT:OpenWindow\r\nmessage 0x7777\r\n" + std::string(255, 'q') + "\r\n");
}

}  // namespace
}  // namespace lumbra
