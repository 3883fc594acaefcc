#include "app/path_text.h"

#include <gtest/gtest.h>

#include <string>

namespace lumbra {
namespace {

TEST(FolderOfPath, KeepsDriveAndDirectoryWithTheirBackslash) {
  EXPECT_EQ(FolderOfPath("C:\\PICS\\A.GIF"), "C:\\PICS\\");
  EXPECT_EQ(FolderOfPath("C:\\A.GIF"), "C:\\");
  EXPECT_EQ(FolderOfPath("C:A.GIF"), "C:");
  EXPECT_EQ(FolderOfPath("A.GIF"), "");
  EXPECT_EQ(FolderOfPath("C:\\PICS\\"), "C:\\PICS\\");
}

TEST(FolderOfPath, DeepFoldersAreNotCut) {
  const std::string folder = "C:\\" + std::string(70, 'D') + "\\" + std::string(40, 'E') + "\\";
  EXPECT_EQ(FolderOfPath(folder + "LUMBRA.EXE"), folder);
}

}  // namespace
}  // namespace lumbra
