// The sample images the build makes: every file is there, is of the format
// and variant it stands for, and shows a picture. The host build runs the
// tool into the test's own folder; the Windows build reads the folder the
// build put beside lumbra.exe and also loads every file through the
// program's loaders.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "codecs/decoded_image.h"
#include "codecs/wmf_header.h"
#include "images/bitmap_image.h"
#include "images/format_handlers.h"
#include "images/gif_image.h"

#include "images/image_format_registry.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace lumbra {
namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Kind { kBmp, kIcon, kCursor, kWmf, kPcx, kGif, kJpeg };
enum Variant : int { kInterlaced = 1, kTransparent, kAnimated, kGrey, kColour };

// What each sample must be. detail: bits per pixel (BMP), number of sizes
// (icons), units per inch (WMF), colours (PCX), the variant (GIF, JPEG).
struct Expected {
  const char* file;
  Kind kind;
  std::int32_t width;
  std::int32_t height;  // negative: a top-down bitmap
  int detail;
};

constexpr Expected kSamples[] = {
    {"01sunset.bmp", Kind::kBmp, 320, 240, 24},
    {"02plasma.bmp", Kind::kBmp, 320, 240, 8},
    {"03shapes.bmp", Kind::kBmp, 320, 240, 4},
    {"04sphere.bmp", Kind::kBmp, 320, 240, 1},
    {"05meadow.bmp", Kind::kBmp, 320, -240, 24},
    {"06badge.ico", Kind::kIcon, 48, 48, 3},
    {"07arrow.cur", Kind::kCursor, 32, 32, 1},
    {"08house.wmf", Kind::kWmf, 4800, 3600, 1440},
    {"09dusk.pcx", Kind::kPcx, 320, 240, 16},
    {"10mandel.pcx", Kind::kPcx, 320, 240, 256},
    {"11wheel.gif", Kind::kGif, 240, 240, kInterlaced},
    {"12star.gif", Kind::kGif, 200, 200, kTransparent},
    {"13ball.gif", Kind::kGif, 160, 120, kAnimated},
    {"14planet.jpg", Kind::kJpeg, 480, 360, kColour},
    {"15grey.jpg", Kind::kJpeg, 400, 300, kGrey},
};

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Colour {
  std::uint8_t r, g, b;
  auto operator<=>(const Colour&) const = default;
};

// The colours a bitmap's pixels show.
std::set<Colour> ColoursOf(const DibLayout& dib) {
  std::set<Colour> colours;
  const int bits = dib.header.bitCount;
  for (std::uint32_t row = 0; row < dib.rowsPresent; ++row) {
    const std::uint8_t* p = dib.bits + static_cast<std::size_t>(row) * dib.stride;
    for (std::int32_t x = 0; x < dib.header.width; ++x) {
      if (bits == 24) {
        colours.insert({p[3 * x + 2], p[3 * x + 1], p[3 * x]});
        continue;
      }
      const int bit = x * bits;
      const unsigned index = (p[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
      if (index >= dib.colourCount) continue;
      const std::uint8_t* e = dib.colours + 4 * index;
      colours.insert({e[2], e[1], e[0]});
    }
  }
  return colours;
}

// A picture, not a blank: as many colours as the depth allows, up to 8
// (4 in icons).
void ExpectPicture(const DibLayout& dib, const char* file, std::size_t most = 8) {
  const std::size_t wanted = dib.header.bitCount == 1 ? 2 : most;
  EXPECT_GE(ColoursOf(dib).size(), wanted) << file;
}

void CheckRaster(const Expected& s, const ImagePtr& image, std::span<const std::uint8_t> painted) {
  ASSERT_TRUE(image) << s.file;
  EXPECT_EQ(image->width(), s.width) << s.file;
  EXPECT_EQ(image->height(), s.height) << s.file;
  const auto dib = CheckDecodedImage(painted);
  ASSERT_TRUE(dib && dib->complete()) << s.file;
  ExpectPicture(*dib, s.file);
}

// An icon or cursor file: its directory, and for each entry a colour
// bitmap of twice the height (colours, then the mask) that lies inside the
// file.
void CheckIconFile(const Expected& s, const Bytes& bytes) {
  ASSERT_GE(bytes.size(), 6u) << s.file;
  EXPECT_EQ(ReadU16(&bytes[0]), 0);
  EXPECT_EQ(ReadU16(&bytes[2]), s.kind == Kind::kIcon ? 1 : 2) << s.file;
  const std::uint16_t count = ReadU16(&bytes[4]);
  EXPECT_EQ(count, s.detail) << s.file;
  ASSERT_GE(bytes.size(), 6u + 16u * count);
  std::set<int> sizes;
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = &bytes[6 + 16 * i];
    const int size = entry[0];
    sizes.insert(size);
    const std::uint32_t length = ReadU32(entry + 8), offset = ReadU32(entry + 12);
    ASSERT_LE(std::uint64_t{offset} + length, bytes.size()) << s.file;
    if (s.kind == Kind::kCursor) {
      EXPECT_LT(ReadU16(entry + 4), size);  // the hot spot lies inside
      EXPECT_LT(ReadU16(entry + 6), size);
    }
    Bytes colours(bytes.begin() + offset, bytes.begin() + offset + length);
    ASSERT_GE(colours.size(), 40u);
    EXPECT_EQ(ReadS32(&colours[4]), size) << s.file;
    EXPECT_EQ(ReadS32(&colours[8]), 2 * size) << s.file;
    WriteU32(&colours[8], static_cast<std::uint32_t>(size));
    const auto dib = CheckPackedDib(colours);
    ASSERT_TRUE(dib && dib->complete()) << s.file << " entry " << i;
    const std::uint32_t mask = (static_cast<std::uint32_t>(size) + 31) / 32 * 4 * size;
    EXPECT_GE(dib->bitsSize, dib->stride * size + mask) << s.file << ": the mask is missing";
    ExpectPicture(*dib, s.file, 4);
  }
  EXPECT_EQ(sizes.size(), count) << s.file << ": the sizes differ";
  EXPECT_EQ(*sizes.rbegin(), s.width) << s.file;
}

void CheckMetafile(const Expected& s, const Bytes& bytes) {
  const auto header = ReadPlaceableHeader(bytes);
  ASSERT_TRUE(header) << s.file;
  EXPECT_EQ(header->right - header->left, s.width);
  EXPECT_EQ(header->bottom - header->top, s.height);
  EXPECT_EQ(header->unitsPerInch, s.detail);
  const auto records = StandardMetafileBits(bytes);
  ASSERT_TRUE(records) << s.file;
  // Drawing records beyond the standard header and the end record.
  EXPECT_GT(records->size(), 18u + 6u + 100u) << s.file << " draws nothing";
}

void CheckGif(const Expected& s, const Bytes& bytes) {
  // Through the registry, which keeps the bytes the frames are played from.
  ImagePtr image =
      LoadImageFromMemory(nullptr, bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0);
  auto* gif = dynamic_cast<GifImage*>(image.get());
  ASSERT_TRUE(gif) << s.file;
  gif->Advance();  // the first frame
  EXPECT_EQ(gif->width(), s.width);
  EXPECT_EQ(gif->height(), s.height);
  int images = 0, interlaced = 0, transparent = 0;
  for (const GifBlock& block : gif->blocks()) {
    images += block.kind == GifBlockKind::kImage;
    interlaced += block.kind == GifBlockKind::kImage && block.interlaced;
    transparent += block.kind == GifBlockKind::kGraphicControl && block.transparent >= 0;
  }
  EXPECT_EQ(interlaced > 0, s.detail == kInterlaced) << s.file;
  EXPECT_EQ(transparent > 0, s.detail == kTransparent) << s.file;
  EXPECT_EQ(gif->animated(), s.detail == kAnimated) << s.file;
  if (s.detail == kAnimated) {
    EXPECT_GE(images, 4) << s.file;
  }
  const auto frame = CheckPackedDib(gif->frame());
  ASSERT_TRUE(frame && frame->complete()) << s.file;
  ExpectPicture(*frame, s.file);
}

void CheckSample(const Expected& s, const Bytes& bytes) {
  switch (s.kind) {
    case Kind::kBmp: {
      ImagePtr image = DecodeBitmap(nullptr, bytes, 0);
      CheckRaster(s, image, bytes);
      const auto dib = CheckDecodedImage(bytes);
      ASSERT_TRUE(dib);
      EXPECT_EQ(dib->header.bitCount, s.detail) << s.file;
      break;
    }
    case Kind::kPcx: {
      ImagePtr image = DecodePcx(nullptr, bytes, 0);
      ASSERT_TRUE(bytes.size() > 128);
      EXPECT_EQ(1 << (bytes[3] * bytes[65]), s.detail) << s.file;
      auto* bitmap = dynamic_cast<BitmapImage*>(image.get());
      CheckRaster(s, image, bitmap ? bitmap->PaintedBytes() : std::span<const std::uint8_t>());
      break;
    }
    case Kind::kJpeg: {
      ImagePtr image = DecodeJpeg(nullptr, bytes, 0);
      auto* bitmap = dynamic_cast<BitmapImage*>(image.get());
      ASSERT_TRUE(bitmap) << s.file;
      CheckRaster(s, image, bitmap->PaintedBytes());
      const auto colours = ColoursOf(*CheckDecodedImage(bitmap->PaintedBytes()));
      const bool grey = std::all_of(colours.begin(), colours.end(),
                                    [](const Colour& c) { return c.r == c.g && c.g == c.b; });
      EXPECT_EQ(grey, s.detail == kGrey) << s.file;
      break;
    }
    case Kind::kGif: CheckGif(s, bytes); break;
    case Kind::kIcon:
    case Kind::kCursor: CheckIconFile(s, bytes); break;
    case Kind::kWmf: CheckMetafile(s, bytes); break;
  }
}

#ifdef _WIN32
// The size the program's loaders report: icons and cursors at the system's
// icon size, metafiles at the screen's resolution.
std::pair<std::int32_t, std::int32_t> LoadedSize(const Expected& s) {
  if (s.kind == Kind::kIcon || s.kind == Kind::kCursor) {
    return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  }
  if (s.kind == Kind::kWmf) {
    HDC screen = GetDC(nullptr);
    const int x = GetDeviceCaps(screen, LOGPIXELSX), y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return {MulDiv(s.width, x, s.detail), MulDiv(s.height, y, s.detail)};
  }
  return {s.width, s.height};
}

// The metafile's records play: the sun and the house's walls come out in
// their colours where the picture puts them.
void ExpectMetafilePlays(ImageObject& image) {
  const int w = image.width(), h = image.height();
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  image.DrawAt(dc, 0, 0, w, h);
  EXPECT_EQ(GetPixel(dc, w * 3 / 16, h / 4), RGB(250, 200, 40)) << "the sun";
  EXPECT_EQ(GetPixel(dc, w * 11 / 20, h * 3 / 5), RGB(40, 120, 200)) << "the walls";
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}
#endif

std::string SampleFolder() {
#ifdef LUMBRA_SAMPLES
  return LUMBRA_SAMPLES;
#else
  // The tool writes into a folder of this test's own.
  const std::string command = std::string(LUMBRA_SAMPLE_TOOL) + " samples";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return "samples";
#endif
}

TEST(SampleImages, EveryFormatAndVariantIsThereAndReadsAsItself) {
  const std::string folder = SampleFolder();
  for (const Expected& s : kSamples) {
    SCOPED_TRACE(s.file);
    const std::string path = folder + "/" + s.file;
    const Bytes bytes = ReadFile(path);
    ASSERT_FALSE(bytes.empty()) << path << " is missing";
    CheckSample(s, bytes);
#ifdef _WIN32
    ImagePtr loaded = LoadImageByName(nullptr, path, false, 0);
    if (s.kind == Kind::kCursor) {
      // The icon loader extracts icons from files, and Wine's extraction
      // reads icon files only: the system's cursor loader vouches for the
      // file instead.
      HANDLE cursor = LoadImageA(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
      EXPECT_NE(cursor, nullptr) << path << " is not a cursor";
      if (cursor) DestroyCursor(static_cast<HCURSOR>(cursor));
      if (!loaded) continue;
    }
    ASSERT_TRUE(loaded) << path << " does not load";
    const auto [width, height] = LoadedSize(s);
    EXPECT_EQ(loaded->width(), width);
    EXPECT_EQ(loaded->height(), height);
    if (s.kind == Kind::kWmf) ExpectMetafilePlays(*loaded);
#endif
  }
  // The folder's note names every sample.
  const Bytes note = ReadFile(folder + "/SAMPLES.TXT");
  const std::string text(note.begin(), note.end());
  for (const Expected& s : kSamples) EXPECT_NE(text.find(s.file), std::string::npos) << s.file;
#ifdef LUMBRA_HELP_PAGE
  // The help page stands beside the program too.
  const Bytes help = ReadFile(LUMBRA_HELP_PAGE);
  EXPECT_NE(std::string(help.begin(), help.end()).find("<title>"), std::string::npos);
#endif
}

}  // namespace
}  // namespace lumbra
