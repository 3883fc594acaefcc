#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace lumbra {
namespace {

// The program's own part of a command line is cut off in two steps: the
// runtime drops the first blank-delimited word, then the viewer skips to
// just after "LUMBRA.EXE".
std::string Argument(std::string_view commandLine) {
  const std::string_view text = CommandLineText(commandLine);
  return std::string(CommandLineArgument(text, CommandLineStart(text), CommandLineLength(text)));
}

TEST(CommandLine, QuotedProgramPathWithBlanks) {
  const std::string_view line = "\"C:\\Program Files\\Lumbra\\LUMBRA.EXE\" C:\\PICS\\A.GIF";
  const std::string_view text = CommandLineText(line);
  EXPECT_EQ(text, "Files\\Lumbra\\LUMBRA.EXE\" C:\\PICS\\A.GIF");
  // Just after the closing quote: "Files\Lumbra\LUMBRA.EXE"" is 24 characters.
  EXPECT_EQ(CommandLineStart(text), 25);
  EXPECT_EQ(Argument(line), "C:\\PICS\\A.GIF");
}

TEST(CommandLine, LowerCaseProgramNameIsFound) {
  const std::string_view text = CommandLineText("\"c:\\my apps\\lumbra.exe\" x.bmp");
  EXPECT_EQ(CommandLineStart(text), 17);
  EXPECT_EQ(Argument("\"c:\\my apps\\lumbra.exe\" x.bmp"), "x.bmp");
}

TEST(CommandLine, PathWithoutBlanks) {
  const std::string_view line = "C:\\LUMBRA\\LUMBRA.EXE C:\\PICS\\B.JPG";
  const std::string_view text = CommandLineText(line);
  EXPECT_EQ(text, "C:\\PICS\\B.JPG");
  EXPECT_EQ(CommandLineStart(text), 1);
  EXPECT_EQ(Argument(line), "C:\\PICS\\B.JPG");
}

TEST(CommandLine, EmptyTail) {
  const std::string_view text = CommandLineText("C:\\LUMBRA\\LUMBRA.EXE   ");
  EXPECT_EQ(CommandLineLength(text), 0);
  EXPECT_EQ(CommandLineStart(text), 1);
  EXPECT_EQ(Argument("C:\\LUMBRA\\LUMBRA.EXE"), "");
  // Only the rest of a quoted path: nothing follows the closing quote.
  EXPECT_EQ(Argument("\"C:\\A B\\LUMBRA.EXE\""), "");
}

TEST(CommandLine, LongCommandLinesStopAt255) {
  const std::string tail(400, 'x');
  EXPECT_EQ(CommandLineLength(tail), 255);
  EXPECT_EQ(CommandLineArgument(tail, 1, CommandLineLength(tail)).size(), 255u);
}

}  // namespace
}  // namespace lumbra
