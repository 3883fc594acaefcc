#include "core/ini_access.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace lumbra {
namespace {

// Each test works on its own INI file in the test's working folder.
class IniAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    file_ = std::string(folder) + "\\" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".INI";
    DeleteFileA(file_.c_str());
  }
  void TearDown() override { DeleteFileA(file_.c_str()); }

  std::string Contents() const {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string file_;
};

TEST_F(IniAccess, WritesAndReadsBack) {
  WriteIniKey("Sect", "Key", "Value", file_);
  EXPECT_EQ(ReadIniKey("Sect", "Key", "none", file_), "Value");
}

TEST_F(IniAccess, LongValueIsStoredAsItsFirst1023Characters) {
  std::string value;
  for (int i = 0; i < 1100; ++i) value += static_cast<char>('A' + i % 26);
  WriteIniKey("Sect", "Long", value, file_);
  EXPECT_EQ(ReadIniKey("Sect", "Long", "", file_), value.substr(0, 1023));
  EXPECT_NE(Contents().find(value.substr(0, 1023) + "\r\n"), std::string::npos);
}

TEST_F(IniAccess, TrailingBlanksAreRemoved) {
  WriteIniKey("Sect   ", "Key   ", "padded value     ", file_ + "   ");
  EXPECT_EQ(ReadIniKey("Sect", "Key", "", file_), "padded value");
  WriteIniKey("Sect", "Blank", "      ", file_);
  EXPECT_NE(Contents().find("Blank=\r\n"), std::string::npos);
  EXPECT_EQ(ReadIniKey("Sect", "Blank", "default", file_), "");
}

TEST_F(IniAccess, DeleteKeyAndDeleteSection) {
  WriteIniKey("One", "A", "1", file_);
  WriteIniKey("One", "B", "2", file_);
  WriteIniKey("Two", "C", "3", file_);

  WriteIniKey("One", "A", "", file_, false, true);
  EXPECT_EQ(ReadIniKey("One", "A", "gone", file_), "gone");
  EXPECT_EQ(ReadIniKey("One", "B", "", file_), "2");

  WriteIniKey("One", "B", "", file_, true, false);
  EXPECT_EQ(ReadIniKey("One", "B", "gone", file_), "gone");
  EXPECT_EQ(Contents().find("[One]"), std::string::npos);
  EXPECT_EQ(ReadIniKey("Two", "C", "", file_), "3");
}

TEST_F(IniAccess, MissingKeySectionOrFileGiveTheDefaultTrimmed) {
  WriteIniKey("Sect", "Key", "x", file_);
  EXPECT_EQ(ReadIniKey("Sect", "Other", "dflt   ", file_), "dflt");
  EXPECT_EQ(ReadIniKey("Nope", "Key", "dflt  ", file_), "dflt");
  EXPECT_EQ(ReadIniKey("Sect", "Key", "dflt", file_ + ".missing"), "dflt");
}

TEST_F(IniAccess, LongSectionAndKeyNamesAreCutAt63) {
  const std::string section(80, 's');
  const std::string key(80, 'k');
  WriteIniKey(section, key, "v", file_);
  EXPECT_NE(Contents().find("[" + section.substr(0, 63) + "]"), std::string::npos);
  EXPECT_NE(Contents().find(key.substr(0, 63) + "=v"), std::string::npos);
  EXPECT_EQ(ReadIniKey(section.substr(0, 63), key.substr(0, 63), "", file_), "v");
}

TEST_F(IniAccess, EmptyFileNameUsesWinIni) {
  const std::string section = "LumbraIniTest" + std::to_string(GetCurrentProcessId());
  WriteIniKey(section, "Key", "in win.ini", "   ");
  char buffer[64] = {};
  GetProfileStringA(section.c_str(), "Key", "", buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "in win.ini");
  EXPECT_EQ(ReadIniKey(section, "Key", "", ""), "in win.ini");
  WriteIniKey(section, "", "", "", true, false);
  EXPECT_EQ(ReadIniKey(section, "Key", "gone", ""), "gone");
}

}  // namespace
}  // namespace lumbra
