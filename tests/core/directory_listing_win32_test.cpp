// Directory listing and path forms against real files in the test's own
// working folder.
#include "core/directory_listing.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/date_time.h"
#include "core/directory_entry.h"
#include "core/error_state.h"

namespace lumbra {
namespace {

void MakeFile(const std::string& path, std::uint32_t attributes = FILE_ATTRIBUTE_NORMAL) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, "data", 4, &written, nullptr));
  CloseHandle(file);
}

void SetLocalWriteTime(const std::string& path, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME time{};
  time.wYear = 2001;
  time.wMonth = 2;
  time.wDay = 3;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  FILETIME local{}, utc{};
  ASSERT_TRUE(SystemTimeToFileTime(&time, &local));
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
  CloseHandle(file);
}

std::string WorkFolder() {
  char buffer[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, buffer);
  return buffer;
}

class DirectoryListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = WorkFolder() + "\\listing";
    RemoveAll();
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((folder + "\\SUB").c_str(), nullptr));
    MakeFile(folder + "\\PLAIN.TXT");
    MakeFile(folder + "\\READONLY.TXT", FILE_ATTRIBUTE_READONLY);
    MakeFile(folder + "\\HIDDEN.TXT", FILE_ATTRIBUTE_HIDDEN);
    // Not every file system keeps the hidden bit; the test checks the
    // listing against what the platform reports.
    hiddenKept =
        (GetFileAttributesA((folder + "\\HIDDEN.TXT").c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0;
  }
  void TearDown() override { RemoveAll(); }

  void RemoveAll() {
    for (const char* name : {"PLAIN.TXT", "READONLY.TXT", "HIDDEN.TXT", "A Long File Name.jpeg",
                             "MIDNIGHT.TXT", "BIG.BIN"}) {
      const std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
    RemoveDirectoryA((folder + "\\SUB").c_str());
    RemoveDirectoryA(folder.c_str());
  }

  // The names listed, sorted, each with its attributes.
  std::vector<std::string> Listed(std::uint8_t wanted) {
    queue.Free();
    ListDirectory(queue, folder + "\\*.*   ", wanted);
    std::vector<std::string> names;
    for (std::uint32_t i = 1; i <= queue.Records(); ++i) {
      queue.Get(i);
      names.push_back(entry.NAME.str() + "/" + std::to_string(entry.ATTRIB));
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string folder;
  bool hiddenKept = false;
  DirectoryEntry entry;
  Queue queue{&entry, kDirectoryEntryLayout};
};

using Names = std::vector<std::string>;

TEST_F(DirectoryListingTest, AttributeFilterSelectsEntries) {
  EXPECT_EQ(Listed(0), (Names{"PLAIN.TXT/32", "READONLY.TXT/33"}));
  if (hiddenKept) {
    EXPECT_EQ(Listed(0x02), (Names{"HIDDEN.TXT/34", "PLAIN.TXT/32", "READONLY.TXT/33"}));
  }
  EXPECT_EQ(Listed(0x10), (Names{"../16", "./16", "PLAIN.TXT/32", "READONLY.TXT/33", "SUB/16"}));
}

TEST_F(DirectoryListingTest, ShortNamesDatesSizesAndTimes) {
  MakeFile(folder + "\\MIDNIGHT.TXT");
  SetLocalWriteTime(folder + "\\MIDNIGHT.TXT", 0, 0, 0);
  ListDirectory(queue, folder + "\\MIDNIGHT.TXT", 0);
  ASSERT_EQ(queue.Records(), 1u);
  queue.Get(1);
  EXPECT_EQ(entry.NAME, "MIDNIGHT.TXT");
  EXPECT_EQ(entry.SHORTNAME, "MIDNIGHT.TXT");  // an 8.3 name is its own short name
  EXPECT_EQ(entry.DATE, DateSerial(2001, 2, 3));
  EXPECT_EQ(entry.TIME, 0);
  EXPECT_EQ(entry.SIZE, 4);

  SetLocalWriteTime(folder + "\\MIDNIGHT.TXT", 0, 0, 1);
  SetLocalWriteTime(folder + "\\PLAIN.TXT", 23, 59, 59);
  ListDirectory(queue, folder + "\\MIDNIGHT.TXT", 0);
  ListDirectory(queue, folder + "\\PLAIN.TXT", 0);
  ASSERT_EQ(queue.Records(), 3u);
  queue.Get(2);
  EXPECT_EQ(entry.TIME, 101);
  queue.Get(3);
  EXPECT_EQ(entry.TIME, TimeSerial(23, 59, 59, 0));
}

TEST_F(DirectoryListingTest, LongNamesHaveAnEightThreeShortName) {
  MakeFile(folder + "\\A Long File Name.jpeg");
  ListDirectory(queue, folder + "\\A Long*", 0);
  ASSERT_EQ(queue.Records(), 1u);
  queue.Get(1);
  EXPECT_EQ(entry.NAME, "A Long File Name.jpeg");
  const std::string shortName = entry.SHORTNAME.str();
  EXPECT_NE(shortName, "A Long File Name.jpeg");
  EXPECT_LE(shortName.size(), 12u);
  EXPECT_EQ(shortName.find(' '), std::string::npos);

  const std::string longPath = folder + "\\A Long File Name.jpeg";
  const std::string shortPath = ShortPath(longPath);
  EXPECT_EQ(shortPath.substr(shortPath.rfind('\\') + 1), shortName);
  EXPECT_EQ(shortPath.find(' '), std::string::npos);
  // The long form restores every component, also from a lower-case text.
  EXPECT_EQ(LongPath(shortPath), longPath);
  std::string lower = longPath;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  EXPECT_EQ(LongPath(lower).substr(folder.size()), "\\A Long File Name.jpeg");
}

TEST_F(DirectoryListingTest, ListingTwiceAddsEveryEntryTwice) {
  ListDirectory(queue, folder + "\\*.TXT", 0);
  const std::uint32_t once = queue.Records();
  EXPECT_EQ(once, 2u);
  ListDirectory(queue, folder + "\\*.TXT", 0);
  EXPECT_EQ(queue.Records(), 2 * once);
}

TEST_F(DirectoryListingTest, FilesOverFourGigabytesShowTheLowBits) {
  const std::string path = folder + "\\BIG.BIN";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 5LL * 1024 * 1024 * 1024 + 7;  // sparse on most file systems
  ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
  const bool extended = SetEndOfFile(file) != FALSE;
  CloseHandle(file);
  if (!extended) GTEST_SKIP() << "no room for a 5 GB file";
  ListDirectory(queue, path, 0);
  ASSERT_EQ(queue.Records(), 1u);
  queue.Get(1);
  EXPECT_EQ(entry.SIZE, 1024 * 1024 * 1024 + 7);
}

TEST_F(DirectoryListingTest, NothingMatchingListsNothingAndReportsNothing) {
  ListDirectory(queue, folder + "\\NOSUCH\\*.*", 0x16);
  EXPECT_EQ(queue.Records(), 0u);
  EXPECT_EQ(ERRORCODE(), 0);
  ListDirectory(queue, std::string(600, 'x'), 0);
  EXPECT_EQ(queue.Records(), 0u);

  // A queue of another layout is never written.
  std::int32_t other = 0;
  const FieldDescription field[] = {{FieldType::Int32, 0, 4}};
  Queue wrong(&other, {field, sizeof other});
  ListDirectory(wrong, folder + "\\*.*", 0);
  EXPECT_EQ(wrong.Records(), 0u);
}

TEST_F(DirectoryListingTest, PathFormsOfMissingAndSpecialPaths) {
  EXPECT_EQ(ShortPath(""), ShortPath(WorkFolder()));
  EXPECT_EQ(LongPath("  "), LongPath(WorkFolder()));
  // A path that does not exist: the short form comes back as given, the
  // long form is the full path with the existing part resolved.
  const std::string missing = folder + "\\no such file.txt";
  EXPECT_EQ(ShortPath(missing), missing);
  EXPECT_EQ(LongPath(missing), missing);
  const std::string drive = WorkFolder().substr(0, 2);
  EXPECT_EQ(ShortPath(drive + "\\"), drive + "\\");
  // Wildcard components are kept, not replaced by some matching entry.
  EXPECT_EQ(LongPath(folder + "\\*.TXT"), folder + "\\*.TXT");
  const std::string tooLong = folder + "\\" + std::string(300, 'y');
  EXPECT_EQ(LongPath(tooLong), tooLong);
}

}  // namespace
}  // namespace lumbra
