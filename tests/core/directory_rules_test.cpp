#include "core/directory_rules.h"

#include <gtest/gtest.h>

#include "core/directory_entry.h"

namespace lumbra {
namespace {

TEST(AttributeFilter, PlainFilesAlwaysOthersOnlyWhenWanted) {
  constexpr std::uint32_t plain = 0, readOnlyArchive = 0x21, hidden = 0x02, system = 0x04,
                          folder = 0x10, hiddenFolder = 0x12;
  // Nothing wanted: plain files only, whatever their read-only or archive bits.
  EXPECT_TRUE(PassesAttributeFilter(plain, 0));
  EXPECT_TRUE(PassesAttributeFilter(readOnlyArchive, 0));
  EXPECT_FALSE(PassesAttributeFilter(hidden, 0));
  EXPECT_FALSE(PassesAttributeFilter(system, 0));
  EXPECT_FALSE(PassesAttributeFilter(folder, 0));
  // Read-only and archive wanted filter nothing more.
  EXPECT_FALSE(PassesAttributeFilter(hidden, 0x21));
  // Hidden wanted: hidden entries join, folders still stay out.
  EXPECT_TRUE(PassesAttributeFilter(hidden, 0x02));
  EXPECT_TRUE(PassesAttributeFilter(plain, 0x02));
  EXPECT_FALSE(PassesAttributeFilter(folder, 0x02));
  EXPECT_TRUE(PassesAttributeFilter(hiddenFolder, 0x02));
  // Folders wanted.
  EXPECT_TRUE(PassesAttributeFilter(folder, 0x10));
  EXPECT_TRUE(PassesAttributeFilter(plain, 0x10));
  EXPECT_FALSE(PassesAttributeFilter(system, 0x10));
  EXPECT_TRUE(PassesAttributeFilter(system | 0x80000000u, 0x14));
}

TEST(RuleShortPath, CutsNamesAndExtensionsAndReplacesCharacters) {
  EXPECT_EQ(RuleShortPath("C:/Program Files/Long Folder Name/picture.jpeg"),
            "C:\\Program_\\Long_Fol\\picture.jpe");
  EXPECT_EQ(RuleShortPath("C:\\a+b,c;d=e[f]g.txt"), "C:\\a_b_c_d_.txt");
  EXPECT_EQ(RuleShortPath("C:\\x:y\\archive.tar.gz"), "C:\\x_y\\archive_.gz");
  EXPECT_EQ(RuleShortPath("..\\.\\name"), "..\\.\\name");
  EXPECT_EQ(RuleShortPath(""), "");
  const std::string deep = "C:" + std::string(200, '\\') + "abcdefghijk";
  EXPECT_EQ(RuleShortPath(deep).size(), kShortPathChars);
  std::string many = "C:";
  for (int i = 0; i < 40; ++i) many += "\\abcdefghijkl.mnopq";
  const std::string result = RuleShortPath(many);
  EXPECT_EQ(result.size(), kShortPathChars);
  EXPECT_EQ(result.substr(0, 15), "C:\\abcdefgh.mno");
}

TEST(DirectoryEntryRecord, LayoutMatchesTheStruct) {
  DirectoryEntry entry;
  entry.NAME = "NAME.TXT";
  entry.DATE = 72687;
  entry.SIZE = -5;
  entry.ATTRIB = 0x21;
  const auto* bytes = reinterpret_cast<const std::byte*>(&entry);
  EXPECT_TRUE(IsValidLayout(kDirectoryEntryLayout));
  EXPECT_EQ(ReadField(bytes, kDirectoryEntryFields[0]).text.substr(0, 9), "NAME.TXT ");
  EXPECT_EQ(ReadField(bytes, kDirectoryEntryFields[2]).number, 72687);
  EXPECT_EQ(ReadField(bytes, kDirectoryEntryFields[4]).number, -5);
  EXPECT_EQ(ReadField(bytes, kDirectoryEntryFields[5]).number, 0x21);
}

}  // namespace
}  // namespace lumbra
