// Stepping through images that the real lumbra.exe decodes ahead, driven
// from outside: what Next, Refresh and a drop show after the files changed
// on disk behind the viewer's back, and leaving with a decode in flight.
//
// The viewer reads the neighbour's bytes at the end of the step that shows
// an image; once its window answers again the copy decoded ahead is of the
// file as it was then. A file rewritten with the same size and last-write
// time is indistinguishable from the one read, so such a rewrite shows
// whether what is on show came from the copy decoded ahead.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window_controls.h"
#include "tests/codecs/jpeg_fixture.h"
#include "tests/codecs/test_images.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/running_viewer_win32.h"
#include "tests/support/test_folder_win32.h"

namespace lumbra {
namespace {

using namespace probe;

constexpr test::Rgb kRed{220, 30, 30};
constexpr test::Rgb kBlue{30, 30, 220};
constexpr test::Rgb kGreen{30, 200, 30};
constexpr test::Rgb kMagenta{200, 30, 200};

// A JPEG of one colour. The big ones take the viewer a noticeable while to
// decode.
testing::Bytes Jpeg(int width, int height, test::Rgb colour) {
  test::JpegPicture picture;
  picture.width = width;
  picture.height = height;
  picture.pixel = [colour](int, int) { return colour; };
  return test::MakeJpeg(picture);
}

// Two files of one length: the shorter padded after its end marker, which
// the decoder never reads.
void SameLength(testing::Bytes& a, testing::Bytes& b) {
  const std::size_t length = std::max(a.size(), b.size());
  a.resize(length, 0);
  b.resize(length, 0);
}

// Writes the file anew and puts its last-write time back as it was: its
// size and time then say nothing of the change.
bool RewriteUnseen(const std::string& path, const testing::Bytes& bytes) {
  WIN32_FILE_ATTRIBUTE_DATA before;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &before)) return false;
  if (before.nFileSizeHigh != 0 || before.nFileSizeLow != bytes.size()) return false;
  Write(path, bytes);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool set = SetFileTime(file, nullptr, nullptr, &before.ftLastWriteTime) != 0;
  CloseHandle(file);
  return set;
}

// The image on show as Copy Image puts it on the clipboard: "WxH" and the
// colour of its pixel at (x, y), y counted from the top.
struct Copied {
  std::string size;
  COLORREF colour = CLR_INVALID;
};

Copied ClipboardImage(int x, int y) {
  Copied seen;
  if (!OpenClipboard(nullptr)) return seen;
  const auto* info = static_cast<const BITMAPINFOHEADER*>(nullptr);
  HANDLE block = GetClipboardData(CF_DIB);
  if (block && (info = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block)))) {
    const int width = info->biWidth, height = std::abs(info->biHeight);
    seen.size = std::to_string(width) + "x" + std::to_string(height);
    const int bits = info->biBitCount;
    const DWORD colours = bits <= 8 ? (info->biClrUsed ? info->biClrUsed : 1u << bits) : 0;
    const auto* table =
        reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + info->biSize);
    const BYTE* rows = reinterpret_cast<const BYTE*>(table + colours);
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    const int row = info->biHeight > 0 ? height - 1 - y : y;
    const BYTE* at = rows + stride * static_cast<std::size_t>(row);
    if (x < width && y < height && bits == 8 && at[x] < colours) {
      const RGBQUAD& q = table[at[x]];
      seen.colour = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    } else if (x < width && y < height && bits == 24) {
      seen.colour = RGB(at[3 * x + 2], at[3 * x + 1], at[3 * x]);
    }
    GlobalUnlock(block);
  }
  CloseClipboard();
  return seen;
}

bool Near(COLORREF seen, test::Rgb want) {
  constexpr int kSlack = 40;  // JPEG and its reduction to 256 colours
  return seen != CLR_INVALID && std::abs(GetRValue(seen) - want.r) <= kSlack &&
         std::abs(GetGValue(seen) - want.g) <= kSlack &&
         std::abs(GetBValue(seen) - want.b) <= kSlack;
}

std::string Describe(const Copied& seen) {
  return seen.size + " " +
         (seen.colour == CLR_INVALID ? std::string("no colour")
                                     : "rgb(" + std::to_string(GetRValue(seen.colour)) + "," +
                                           std::to_string(GetGValue(seen.colour)) + "," +
                                           std::to_string(GetBValue(seen.colour)) + ")");
}

// Whether the image on show, copied, has the size and, at (10, 10), the
// colour.
::testing::AssertionResult Shows(const RunningViewer& viewer, const std::string& size,
                                 test::Rgb colour) {
  Copied seen;
  const bool shown = WaitFor([&] {
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    viewer.Command(MW::CopyImage);
    // Asked without opening the clipboard, which the viewer needs free.
    WaitFor([] { return IsClipboardFormatAvailable(CF_DIB) != FALSE; }, 3000);
    seen = ClipboardImage(10, 10);
    return seen.size == size && Near(seen.colour, colour);
  });
  if (shown) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "shows " << Describe(seen) << ", zone 2 \"" << viewer.Zone(2) << "\"";
}

class PrefetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = OwnTestFolder();
    CreateDirectoryA((folder_ + "new").c_str(), nullptr);
    const std::string ini = folder_ + "LUMBRA.INI";
    WriteViewingSettings(ini);
  }
  void TearDown() override {
    SetEnvironmentVariableA("LUMBRA_PREFETCH", nullptr);
    SetEnvironmentVariableA("LUMBRA_PHASE_TRACE", nullptr);
  }

  std::string Path(const char* name) const { return folder_ + name; }
  std::string Zone1(const char* name, int at, int of) const {
    return folder_ + name + "  (" + std::to_string(at) + " of " + std::to_string(of) + ")";
  }

  std::string folder_;
};

// A file replaced after its bytes were read ahead is decoded again; one
// whose size and time did not change is shown from the copy decoded ahead.
TEST_F(PrefetchTest, NextShowsTheNextFileAsItIsOnDiskNow) {
  testing::Bytes green = Jpeg(640, 480, kGreen), magenta = Jpeg(640, 480, kMagenta);
  SameLength(green, magenta);
  Write(Path("a.bmp"), testing::MakeBmp8(40, 30));
  Write(Path("b.jpg"), Jpeg(2000, 1500, kRed));
  Write(Path("c.jpg"), green);
  RunningViewer viewer(folder_, "\"" + Path("a.bmp") + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  ASSERT_TRUE(viewer.ZoneBecomes(1, Zone1("a.bmp", 1, 3))) << viewer.Zone(1);
  ASSERT_TRUE(viewer.Answers());

  // Replaced while its decode may still run: other size, other time.
  Write(Path("b.jpg"), Jpeg(300, 200, kBlue));
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, Zone1("b.jpg", 2, 3))) << viewer.Zone(1);
  EXPECT_EQ(viewer.Zone(2), "300x200");
  EXPECT_TRUE(Shows(viewer, "300x200", kBlue));

  ASSERT_TRUE(viewer.Answers());
  ASSERT_TRUE(RewriteUnseen(Path("c.jpg"), magenta));
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, Zone1("c.jpg", 3, 3))) << viewer.Zone(1);
  EXPECT_TRUE(Shows(viewer, "640x480", kGreen)) << "the copy decoded ahead";
  viewer.Command(MW::Exit);
  EXPECT_TRUE(viewer.Ends());
}

// LUMBRA_PREFETCH=0: nothing is decoded ahead, every step reads its file.
TEST_F(PrefetchTest, TurnedOffEveryStepReadsItsFile) {
  SetEnvironmentVariableA("LUMBRA_PREFETCH", "0");
  testing::Bytes green = Jpeg(640, 480, kGreen), magenta = Jpeg(640, 480, kMagenta);
  SameLength(green, magenta);
  Write(Path("a.bmp"), testing::MakeBmp8(40, 30));
  Write(Path("b.jpg"), green);
  RunningViewer viewer(folder_, "\"" + Path("a.bmp") + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  ASSERT_TRUE(viewer.ZoneBecomes(1, Zone1("a.bmp", 1, 2))) << viewer.Zone(1);
  ASSERT_TRUE(viewer.Answers());
  ASSERT_TRUE(RewriteUnseen(Path("b.jpg"), magenta));
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, Zone1("b.jpg", 2, 2))) << viewer.Zone(1);
  EXPECT_TRUE(Shows(viewer, "640x480", kMagenta));
}

// Refresh reads the file on show from disk even when a copy of that very
// file was decoded ahead (the list names it twice).
TEST_F(PrefetchTest, RefreshReadsTheFileOnShowAgain) {
  testing::Bytes green = Jpeg(640, 480, kGreen), magenta = Jpeg(640, 480, kMagenta);
  SameLength(green, magenta);
  Write(Path("a.jpg"), green);
  RunningViewer viewer(folder_, "\"" + Path("a.jpg") + "\" \"" + Path("a.jpg") + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  ASSERT_TRUE(viewer.ZoneBecomes(1, Zone1("a.jpg", 1, 2))) << viewer.Zone(1);
  EXPECT_TRUE(Shows(viewer, "640x480", kGreen));
  ASSERT_TRUE(viewer.Answers());
  ASSERT_TRUE(RewriteUnseen(Path("a.jpg"), magenta));
  viewer.Command(MW::Refresh);
  EXPECT_TRUE(Shows(viewer, "640x480", kMagenta));
  EXPECT_EQ(viewer.Zone(1), Zone1("a.jpg", 1, 2));
}

// The image named on the command line is decoded while the window is made
// and shown from that decode: the window's thread decodes no image.
TEST_F(PrefetchTest, TheImageOfTheCommandLineIsDecodedWhileTheWindowIsMade) {
  Write(Path("a.jpg"), Jpeg(2000, 1500, kRed));
  const std::string trace = Path("phases.txt");
  DeleteFileA(trace.c_str());
  SetEnvironmentVariableA("LUMBRA_PHASE_TRACE", trace.c_str());
  RunningViewer viewer(folder_, "\"" + Path("a.jpg") + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  EXPECT_TRUE(Shows(viewer, "2000x1500", kRed));
  std::string phases;
  char chunk[4096];
  FILE* file = std::fopen(trace.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) phases.append(chunk, n);
  std::fclose(file);
  const std::size_t step = phases.find("ShowImage: load step begin");
  ASSERT_NE(step, std::string::npos) << phases;
  EXPECT_NE(phases.find("image adopted from the prefetch", step), std::string::npos)
      << phases.substr(step);
  EXPECT_EQ(phases.find(" w load and decode begin", step), std::string::npos)
      << phases.substr(step);
}

// Files dropped while a decode runs make a new list that reads its files
// afresh, whatever the old list had decoded of them; leaving with a decode
// in flight ends the program cleanly.
TEST_F(PrefetchTest, ADropDuringADecodeShowsOnlyTheNewListAndLeavingMidDecodeIsClean) {
  testing::Bytes green = Jpeg(2000, 1500, kGreen), magenta = Jpeg(2000, 1500, kMagenta);
  SameLength(green, magenta);
  Write(Path("a.bmp"), testing::MakeBmp8(40, 30));
  Write(Path("b.jpg"), green);
  Write(Path("new\\a0.bmp"), testing::MakeBmp8(20, 10));
  Write(Path("new\\c.jpg"), Jpeg(2000, 1500, kRed));
  Write(Path("new\\d.jpg"), Jpeg(4000, 3000, kBlue));  // long to decode
  RunningViewer viewer(folder_, "\"" + Path("a.bmp") + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  ASSERT_TRUE(viewer.ZoneBecomes(1, Zone1("a.bmp", 1, 2))) << viewer.Zone(1);
  ASSERT_TRUE(viewer.Answers());

  ASSERT_TRUE(RewriteUnseen(Path("b.jpg"), magenta));
  ASSERT_TRUE(
      viewer.Drop({Path("new\\a0.bmp"), Path("b.jpg"), Path("new\\c.jpg"), Path("new\\d.jpg")}));
  EXPECT_TRUE(viewer.ZoneBecomes(1, Zone1("new\\a0.bmp", 1, 4))) << viewer.Zone(1);
  EXPECT_EQ(viewer.Zone(2), "20x10");
  viewer.Key(VK_SPACE);
  EXPECT_TRUE(viewer.ZoneBecomes(1, Zone1("b.jpg", 2, 4))) << viewer.Zone(1);
  EXPECT_TRUE(Shows(viewer, "2000x1500", kMagenta)) << "not the old list's copy";

  // The step to c.jpg sets d.jpg decoding, and the program is left at once:
  // the two commands wait in its queue one behind the other.
  viewer.Command(MW::Next);
  viewer.Command(MW::Exit);
  EXPECT_TRUE(viewer.Ends());
  EXPECT_EQ(viewer.ExitCode(), 0u);
  EXPECT_EQ(GetFileAttributesA(Path("WXFAULT1.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace lumbra
