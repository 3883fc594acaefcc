// The checks on icon, cursor, animated cursor and program files: sound
// files of every kind pass, and every file that lies about where its parts
// are is refused before the platform walks it.
#include "codecs/icon_file_check.h"
#include "codecs/icon_mask.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "codecs/decoded_image.h"
#include "tests/codecs/test_images.h"

namespace lumbra {
namespace {

using testing::Bytes;
using testing::MakeAni;
using testing::MakeIco;
using testing::MakeIconImage;
using testing::MakeIconLibrary;

// Every prefix of the file shorter than `needed` bytes is refused.
void ExpectEveryTruncationRefused(const Bytes& file, std::size_t needed) {
  for (std::size_t n = 0; n < needed; ++n) {
    EXPECT_FALSE(IconSourceIsSound(std::span(file).first(n))) << "cut to " << n << " bytes";
  }
}

TEST(IconFileChecks, SoundFilesOfEveryKindPass) {
  for (const auto& [name, bytes] : testing::IconFileSeeds()) {
    EXPECT_TRUE(IconSourceIsSound(bytes)) << name;
  }
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D',
               'R',  0,   0,   1,   0,    0,    0,    1,    0, 8, 6, 0,  0,   0};
  EXPECT_TRUE(IconImageIsSound(png));
  WriteU32(png.data() + 16, 0);  // a PNG of no width
  EXPECT_FALSE(IconImageIsSound(png));
}

TEST(IconFileChecks, IconDirectoriesThatLieAreRefused) {
  const Bytes sound = MakeIco();
  ExpectEveryTruncationRefused(sound, sound.size());

  // A valid header over a garbage directory.
  Bytes garbage = sound;
  for (std::size_t i = 6; i < 22; ++i) garbage[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 37));
  EXPECT_FALSE(IconSourceIsSound(garbage));

  Bytes pastEnd = sound;  // the entry starts past the end of the file
  WriteU32(pastEnd.data() + 18, static_cast<std::uint32_t>(sound.size() + 1));
  EXPECT_FALSE(IconSourceIsSound(pastEnd));
  Bytes wraps = sound;  // offset plus size wraps around 32 bits
  WriteU32(wraps.data() + 14, 0xFFFFFFF0u);
  EXPECT_FALSE(IconSourceIsSound(wraps));
  Bytes moreEntries = sound;  // the count names entries the file lacks
  WriteU16(moreEntries.data() + 4, 2000);
  EXPECT_FALSE(IconSourceIsSound(moreEntries));
  Bytes noEntries = sound;
  WriteU16(noEntries.data() + 4, 0);
  EXPECT_FALSE(IconSourceIsSound(noEntries));

  // Image headers whose rows or colours reach past the entry.
  const std::size_t image = 22;
  for (const auto& [field, value] :
       std::initializer_list<std::pair<std::size_t, std::uint32_t>>{{4, 17},
                                                                    {8, 34},
                                                                    {8, 0x7FFFFFFF},
                                                                    {4, 0x80000000u},
                                                                    {14, 7},
                                                                    {12, 2},
                                                                    {0, 12},
                                                                    {0, 0x10000},
                                                                    {16, 1},
                                                                    {32, 300}}) {
    Bytes lying = sound;
    if (field == 14 || field == 12) {
      WriteU16(lying.data() + image + field, static_cast<std::uint16_t>(value));
    } else {
      WriteU32(lying.data() + image + field, value);
    }
    EXPECT_FALSE(IconSourceIsSound(lying)) << "field " << field << " = " << value;
  }
  Bytes eightBit = MakeIconImage(4, 4);  // 8 bits with a 256-entry table it lacks
  WriteU16(eightBit.data() + 14, 8);
  EXPECT_FALSE(IconImageIsSound(eightBit));
}

TEST(IconFileChecks, AnimatedCursorsWithLyingChunksAreRefused) {
  const Bytes sound = MakeAni(MakeIco());
  ExpectEveryTruncationRefused(sound, sound.size());

  Bytes riffTooLong = sound;  // the form claims more bytes than the file has
  WriteU32(riffTooLong.data() + 4, static_cast<std::uint32_t>(sound.size()));
  EXPECT_FALSE(IconSourceIsSound(riffTooLong));
  Bytes listTooLong = sound;  // a chunk inside claims more than its form
  const std::size_t list = 12 + 8 + 36;
  WriteU32(listTooLong.data() + list + 4, 0xFFFFFFF8u);
  EXPECT_FALSE(IconSourceIsSound(listTooLong));
  Bytes frameTooLong = sound;  // the first frame's chunk swallows the second
  WriteU32(frameTooLong.data() + list + 12 + 4, static_cast<std::uint32_t>(MakeIco().size() + 8));
  EXPECT_FALSE(IconSourceIsSound(frameTooLong));
  Bytes moreFrames = sound;  // the header promises frames that are not there
  WriteU32(moreFrames.data() + 12 + 8 + 4, 3);
  EXPECT_FALSE(IconSourceIsSound(moreFrames));
  Bytes rawFrames = sound;  // frames as raw bitmaps, which nothing vouches for
  WriteU32(rawFrames.data() + 12 + 8 + 32, 0);
  EXPECT_FALSE(IconSourceIsSound(rawFrames));
  EXPECT_FALSE(IconSourceIsSound(MakeAni(Bytes(40, 0))));
}

TEST(IconFileChecks, ProgramFilesWhoseResourcesLieAreRefused) {
  testing::IconLibraryLayout at;
  const Bytes sound = MakeIconLibrary(MakeIconImage(16, 16), &at);
  ExpectEveryTruncationRefused(sound, at.group + 20);

  auto refused = [&](std::size_t offset, std::uint32_t value, bool wide = true) {
    Bytes lying = sound;
    if (wide) {
      WriteU32(lying.data() + offset, value);
    } else {
      WriteU16(lying.data() + offset, static_cast<std::uint16_t>(value));
    }
    return !IconSourceIsSound(lying);
  };
  EXPECT_TRUE(refused(0x3C, 0xFFFFFF00u));                   // the PE header past the end
  EXPECT_TRUE(refused(0x40, 0x0000454E));                    // an NE file: not vouched for
  EXPECT_TRUE(refused(0x46, 0xFFFF, false));                 // more sections than the file holds
  EXPECT_TRUE(refused(0x54, 0xFFFF, false));                 // an optional header past the end
  EXPECT_TRUE(refused(at.sectionHeader + 16, 0x10000000));   // raw data beyond the file
  EXPECT_TRUE(refused(at.sectionHeader + 12, 0x5000));       // resources in no section
  EXPECT_TRUE(refused(at.tree + 14, 0xFFFF, false));         // a directory of lying count
  EXPECT_TRUE(refused(at.tree + 20, 0x80000000u | 0xFFF0));  // a subdirectory past the end
  EXPECT_TRUE(refused(at.tree + 20, 32));                    // data where a directory belongs
  EXPECT_TRUE(refused(at.iconData + 4, 0x00100000));         // icon data past the section
  EXPECT_TRUE(refused(at.iconData, 0x7FFFFFFF));             // icon data at no address
  EXPECT_TRUE(refused(at.group + 4, 400, false));            // a group naming absent entries
  EXPECT_TRUE(refused(at.group + 6 + 12, 2, false));         // a group naming an absent icon
  EXPECT_TRUE(refused(at.tree + 16, 15));                    // no icon group at all

  // The image layout the platform maps the file by before it looks for
  // icons (found faulting the platform's extraction by mutation).
  const std::size_t optional = 0x58;
  EXPECT_TRUE(refused(optional + 60, 0x41414141));  // headers longer than the file
  EXPECT_TRUE(refused(optional + 56, 0x41414000));  // an image beyond any real one
  EXPECT_TRUE(refused(optional + 56, 0x1000));      // a section past the image's end
  EXPECT_TRUE(refused(optional + 28, 0x80808080));  // a base off 64 KB
  EXPECT_TRUE(refused(optional + 32, 0x80808080));  // alignments not powers of two
  EXPECT_TRUE(refused(optional + 36, 0x300));
  EXPECT_TRUE(refused(optional + 36, 0x2000));  // file alignment above the sections'
  EXPECT_TRUE(refused(optional + 92, 0x1000));  // more data directories than the header holds

  // Directories that all point at one another many times over: the walk
  // stays bounded and refuses them.
  Bytes loops = sound;
  WriteU16(loops.data() + at.tree + 14, 2);
  WriteU32(loops.data() + at.tree + 16, 14);
  WriteU32(loops.data() + at.tree + 20, 0x80000000u);
  EXPECT_FALSE(IconSourceIsSound(loops));
}

// A 32-bit icon written without its mask rows is refused as it stands; the
// mask built from its alpha makes it a sound icon file, masked exactly
// where alpha is 0. Files that lack nothing, or lie, get no repair.
TEST(IconMasks, MasklessImagesGetTheirMaskFromAlpha) {
  Bytes ico = MakeIco(32, 32);
  const std::size_t imageAt = 22, pixelsAt = imageAt + 40, maskBytes = 4 * 32;
  ico.resize(ico.size() - maskBytes);
  WriteU32(ico.data() + 14, static_cast<std::uint32_t>(ico.size() - imageAt));
  ico[pixelsAt + 3] = 0;                      // bottom row, pixel 0 clear
  ico[pixelsAt + 4 * (31 * 32 + 9) + 3] = 0;  // top row, pixel 9 clear
  EXPECT_FALSE(IconSourceIsSound(ico));

  const Bytes whole = IconFileWithMasks(ico);
  ASSERT_TRUE(IconSourceIsSound(whole));
  ASSERT_EQ(whole.size(), ico.size() + maskBytes);
  EXPECT_EQ(ReadU32(whole.data() + 14), 40u + 4 * 32 * 32 + maskBytes);
  const std::uint8_t* mask = whole.data() + pixelsAt + 4 * 32 * 32;
  EXPECT_EQ(mask[0], 0x80) << "bottom row";
  EXPECT_EQ(mask[31 * 4 + 1], 0x40) << "top row";
  EXPECT_EQ(std::count(mask, mask + maskBytes, 0), static_cast<long>(maskBytes) - 2);

  // No alpha at all: the image is opaque, not invisible.
  Bytes flat = ico;
  for (std::size_t p = pixelsAt; p < flat.size(); p += 4) flat[p + 3] = 0;
  const Bytes flatWhole = IconFileWithMasks(flat);
  ASSERT_FALSE(flatWhole.empty());
  EXPECT_TRUE(
      std::all_of(flatWhole.end() - maskBytes, flatWhole.end(), [](auto b) { return b == 0; }));

  EXPECT_TRUE(IconFileWithMasks(MakeIco(32, 32)).empty()) << "nothing missing";
  Bytes beyond = ico;
  WriteU32(beyond.data() + 18, 0x7FFFFFF0);  // the image's offset past the end
  EXPECT_TRUE(IconFileWithMasks(beyond).empty());
  Bytes shortRows = ico;
  shortRows.resize(shortRows.size() - 4);  // colour rows cut short
  WriteU32(shortRows.data() + 14, static_cast<std::uint32_t>(shortRows.size() - imageAt));
  EXPECT_TRUE(IconFileWithMasks(shortRows).empty());
}

}  // namespace
}  // namespace lumbra
