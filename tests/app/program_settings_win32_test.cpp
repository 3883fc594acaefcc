#include "app/program_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/ini_access.h"

namespace lumbra {
namespace {

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  return std::string(folder) + "\\";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Every test starts from a fresh record and no INI file.
class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    PS = ProgramSettings();
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ = CurrentFolder() + name + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    IniFilePath = IniPathForProgram(folder_ + "LUMBRA.EXE");
    DeleteFileA(IniFilePath.str().c_str());
  }
  void TearDown() override { DeleteFileA(IniFilePath.str().c_str()); }

  void Write(const char* key, const char* value) {
    WriteIniKey(kIniSection, key, value, IniFilePath.clipped());
  }
  std::string Read(const char* key) {
    return ReadIniKey(kIniSection, key, "<missing>", IniFilePath.clipped());
  }

  std::string folder_;
};

TEST_F(Settings, FirstRunCreatesEveryKeyWithItsDefaultInTableOrder) {
  LoadSettings();
  EXPECT_EQ(IniFilePath.str(), folder_ + "LUMBRA.INI");
  EXPECT_EQ(ReadFile(IniFilePath.str()),
            "[Lumbra]\r\n"
            "LastPath=C:\\\r\n"
            "UseLongFileNames=YES\r\n"
            "XPos=50\r\n"
            "YPos=50\r\n"
            "Maximized=YES\r\n"
            "Width=400\r\n"
            "Height=200\r\n"
            "BGColor=0\r\n"
            "DefaultSortOrder=1\r\n"
            "DefaultImageMode=1\r\n"
            "KeepImageSettings=YES\r\n"
            "WarnBadImage=YES\r\n"
            "PromptOnExit=YES\r\n"
            "AutoLoadDir=NO\r\n"
            "FixGIFImages=NO\r\n"
            "ShowWelcomeScreen=YES\r\n");
  EXPECT_EQ(PS.LASTPATH.clipped(), "C:\\");
  EXPECT_EQ(PS.MAXIMIZED, 1);
  EXPECT_EQ(PS.AUTOLOADDIR, 0);
  EXPECT_EQ(PS.WIDTH, 400);
  EXPECT_EQ(PS.DEFAULTIMAGEMODE, 1);
}

TEST_F(Settings, FlagsReadInAnyCaseAndOtherTextsAsTheDefault) {
  Write("AutoLoadDir", "yes");
  Write("PromptOnExit", "nO");
  Write("WarnBadImage", "maybe");  // default YES
  Write("FixGIFImages", "1");      // default NO
  LoadSettings();
  EXPECT_EQ(PS.AUTOLOADDIR, 1);
  EXPECT_EQ(PS.PROMPTONEXIT, 0);
  EXPECT_EQ(PS.WARNBADIMAGE, 1);
  EXPECT_EQ(PS.FIXGIFIMAGES, 0);
  // Read back and written again in the canonical form.
  EXPECT_EQ(Read("AutoLoadDir"), "YES");
  EXPECT_EQ(Read("WarnBadImage"), "YES");
}

TEST_F(Settings, NumbersKeepTheirFieldWidthIncludingNegatives) {
  Write("Width", "-120");
  Write("Height", "32767");
  Write("XPos", "-2000000000");
  Write("BGColor", "-1");
  LoadSettings();
  EXPECT_EQ(PS.WIDTH, -120);
  EXPECT_EQ(PS.HEIGHT, 32767);
  EXPECT_EQ(PS.XPOS, -2000000000);
  EXPECT_EQ(PS.BGCOLOR, -1);

  PS.BGCOLOR = 0x00FF8040;
  PS.HEIGHT = -32768;
  SaveSettings();
  EXPECT_EQ(Read("BGColor"), "16744512");
  EXPECT_EQ(Read("Height"), "-32768");
  PS = ProgramSettings();
  LoadSettings();
  EXPECT_EQ(PS.BGCOLOR, 0x00FF8040);
  EXPECT_EQ(PS.HEIGHT, -32768);
  EXPECT_EQ(PS.WIDTH, -120);
}

TEST_F(Settings, NumbersOutsideTheFieldWidthWrapAndTextReadsAsZero) {
  Write("Width", "70000");  // 70000 - 65536
  Write("YPos", "abc");
  LoadSettings();
  EXPECT_EQ(PS.WIDTH, 4464);
  EXPECT_EQ(PS.YPOS, 0);
}

TEST_F(Settings, StartUpModeAndOrderOutOfRangeReadAsDefaults) {
  Write("DefaultImageMode", "7");
  Write("DefaultSortOrder", "0");
  LoadSettings();
  EXPECT_EQ(PS.DEFAULTIMAGEMODE, 1);
  EXPECT_EQ(PS.DEFAULTSORTORDER, 1);
  Write("DefaultImageMode", "4");
  Write("DefaultSortOrder", "6");
  LoadSettings();
  EXPECT_EQ(PS.DEFAULTIMAGEMODE, 4);
  EXPECT_EQ(PS.DEFAULTSORTORDER, 6);
}

TEST_F(Settings, AChangedRecordIsInTheFileAtOnce) {
  LoadSettings();
  ProgramSettings edited = PS;  // the setup window edits a copy
  edited.AUTOLOADDIR = 1;
  edited.SHOWWELCOMESCREEN = 0;
  edited.LASTPATH = "D:\\PHOTOS\\";
  edited.DEFAULTSORTORDER = 6;
  PS = edited;
  SaveSettings();
  EXPECT_EQ(Read("AutoLoadDir"), "YES");
  EXPECT_EQ(Read("ShowWelcomeScreen"), "NO");
  EXPECT_EQ(Read("LastPath"), "D:\\PHOTOS\\");
  EXPECT_EQ(Read("DefaultSortOrder"), "6");
}

TEST_F(Settings, IniFileLandsBesideAProgramInADeepFolder) {
  std::string deep = folder_;
  for (int i = 0; deep.size() <= 120; ++i) {
    deep += "folder" + std::to_string(i) + "\\";
    CreateDirectoryA(deep.c_str(), nullptr);
  }
  IniFilePath = IniPathForProgram(deep + "LUMBRA.EXE");
  LoadSettings();
  EXPECT_EQ(IniFilePath.str(), deep + "LUMBRA.INI");
  EXPECT_NE(GetFileAttributesA((deep + "LUMBRA.INI").c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(IniFilePath.str().c_str());
}

// The program itself: a first start creates LUMBRA.INI beside it.
TEST_F(Settings, FirstStartOfTheProgramCreatesItsIniFile) {
  std::string built = LUMBRA_EXE_PATH;
  for (char& c : built)
    if (c == '/') c = '\\';
  const std::string exe = folder_ + "LUMBRA.EXE";
  ASSERT_TRUE(CopyFileA(("Z:" + built).c_str(), exe.c_str(), FALSE)) << built;

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string command = "\"" + exe + "\"";
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  ASSERT_TRUE(CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder_.c_str(), &si, &pi));
  // The settings are written before the main window opens; the program then
  // waits for its user, so it is ended here once the file is complete.
  const std::string iniPath = folder_ + "LUMBRA.INI";
  const DWORD deadline = GetTickCount() + 60000;
  while (ReadFile(iniPath).find("ShowWelcomeScreen=") == std::string::npos &&
         GetTickCount() < deadline && WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT) {
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);

  const std::string ini = ReadFile(folder_ + "LUMBRA.INI");
  EXPECT_EQ(ini.find("[Lumbra]\r\nLastPath=C:\\\r\n"), 0u);
  EXPECT_NE(ini.find("ShowWelcomeScreen=YES\r\n"), std::string::npos);
  DeleteFileA(exe.c_str());
}

}  // namespace
}  // namespace lumbra
