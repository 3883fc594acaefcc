// Locale start-up with an environment file beside the test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "core/collating_compare.h"
#include "core/error_state.h"
#include "core/locale_startup.h"

namespace lumbra {
namespace {

std::string ProgramPath() {
  char buffer[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return buffer;
}

TEST(StartLocale, ReadsTheEnvironmentFileBesideTheProgram) {
  const std::string envPath = EnvironmentFilePath(ProgramPath());
  {
    std::ofstream env(envPath, std::ios::binary);
    env << "WEXMON=Jnr,Fbr\r\nWEXAMPM=\"a\"\"\",p\r\nWEXCOLSEQ=WINDOWS\r\n";
  }
  SetErrorState(30);
  StartLocale();
  DeleteFileA(envPath.c_str());
  const Locale& locale = RuntimeLocale();
  EXPECT_EQ(ERRORCODE(), 0);
  EXPECT_EQ(locale.monthAbbreviations[0], "Jnr");
  EXPECT_EQ(locale.monthAbbreviations[2], "Mar");
  EXPECT_EQ(locale.am, "a\"");
  EXPECT_EQ(locale.pm, "p");
  // The Windows collation sorts letters without regard to case first.
  EXPECT_LT(CollatingCompare("a", "B", locale), 0);
  EXPECT_LT(CollatingCompare("b", "C", locale), 0);
  ResetLocale();
}

TEST(StartLocale, WithoutAnEnvironmentFileKeepsTheDefaults) {
  DeleteFileA(EnvironmentFilePath(ProgramPath()).c_str());
  StartLocale();
  const Locale defaults;
  EXPECT_EQ(RuntimeLocale().monthNames, defaults.monthNames);
  EXPECT_EQ(RuntimeLocale().am, defaults.am);
  EXPECT_EQ(RuntimeLocale().collatingOrder, defaults.collatingOrder);
  ResetLocale();
}

}  // namespace
}  // namespace lumbra
