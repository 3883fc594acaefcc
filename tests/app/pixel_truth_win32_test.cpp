// Pixel truth of the platform path: every file of a folder shown by the
// real lumbra.exe at 100% in Normal mode on a true-colour display, the
// screen under the image read back and compared with a reference decode
// made by another program (ImageMagick, run by the wrapper script before
// this driver). Palette formats must match exactly; JPEG, which the viewer
// reduces to 256 colours, reports its peak signal-to-noise ratio.
//
// Run as "pixel_truth_test write FOLDER" it writes the test suites' own
// images into FOLDER instead, for the wrapper to decode as references.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/codecs/pcx_fixture.h"
#include "tests/codecs/test_images.h"
#include "tests/support/native_probe_win32.h"
#include "tests/support/running_viewer_win32.h"

namespace lumbra {
namespace {

using namespace probe;
using testing::Bytes;

// The window's background: whatever a transparent pixel shows.
constexpr COLORREF kBackground = RGB(40, 90, 160);
// A JPEG reduced to 256 colours with dithering stays above this.
constexpr double kJpegFloor = 26.0;
// Long enough for any file to be painted; a file shown wrong waits this out.
constexpr DWORD kPaintPatience = 8000;

// ---- The suites' own images ------------------------------------------

// A colour index pattern of diagonal bands that changes at every pixel of
// a row, so a row read one byte off shears visibly.
std::uint8_t Band(int x, int y, int colours) {
  return static_cast<std::uint8_t>((x + 2 * y) % colours);
}

// A PCX of `bits` per pixel in `planes` planes, rows stored with
// `lineBytes` bytes per plane line (the header says the same), colours
// from the header map or the 256-entry trailer.
Bytes SuitePcx(int bits, int planes, int width, int height, int lineBytes, bool zeroMap = false) {
  test::PcxFile pcx;
  pcx.bits = static_cast<std::uint8_t>(bits);
  pcx.planes = static_cast<std::uint8_t>(planes);
  pcx.width = width;
  pcx.height = height;
  const int colours = 1 << (bits * planes);
  pcx.trailer = colours > 16;
  for (int i = 0; i < 16 && !zeroMap; ++i) {
    pcx.headerMap[3 * i] = static_cast<std::uint8_t>(i * 17);
    pcx.headerMap[3 * i + 1] = static_cast<std::uint8_t>(255 - i * 13);
    pcx.headerMap[3 * i + 2] = static_cast<std::uint8_t>(i * 5 + 40);
  }
  std::vector<std::uint8_t> rows;
  for (int y = 0; y < height; ++y) {
    for (int k = 0; k < planes; ++k) {
      std::vector<std::uint8_t> line(static_cast<std::size_t>(lineBytes), 0);
      for (int x = 0; x < width; ++x) {
        const int value = (Band(x, y, colours) >> (k * bits)) & ((1 << bits) - 1);
        const int at = x * bits;
        line[static_cast<std::size_t>(at / 8)] |=
            static_cast<std::uint8_t>(value << (8 - bits - at % 8));
      }
      rows.insert(rows.end(), line.begin(), line.end());
    }
  }
  pcx.data = test::RunLength(rows);
  Bytes out = pcx.Bytes();
  out[66] = static_cast<std::uint8_t>(lineBytes);
  out[67] = static_cast<std::uint8_t>(lineBytes >> 8);
  return out;
}

// A GIF of 16 colours in bands, interlaced or with a transparent colour.
Bytes SuiteGif(int width, int height, bool interlaced, int transparent) {
  Bytes palette;
  for (int i = 0; i < 16; ++i) {
    palette.insert(palette.end(),
                   {static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(200 - i * 9),
                    static_cast<std::uint8_t>(i * 11 + 30)});
  }
  testing::GifWriter gif(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                         palette);
  if (transparent >= 0) gif.GraphicControl(0, transparent);
  Bytes pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(Band(x, y, 16));
  }
  // Interlaced data are stored in the four passes' order of rows.
  if (interlaced) {
    Bytes stored;
    for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
      for (int y = start; y < height; y += step) {
        stored.insert(stored.end(), pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
      }
    }
    pixels = stored;
  }
  gif.Image(0, 0, static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), pixels, 4,
            interlaced);
  return gif.Finish();
}

// A 32 x 32 icon with one 32-bit image in bands of colour, a corner fully
// transparent; with or without the mask rows after the colour rows.
Bytes SuiteIcon(bool withMask) {
  constexpr int kSide = 32;
  Bytes image = testing::MakeIconImage(kSide, kSide);
  for (int y = 0; y < kSide; ++y) {  // bottom row first
    for (int x = 0; x < kSide; ++x) {
      const std::size_t at = 40 + 4 * static_cast<std::size_t>(y * kSide + x);
      const bool clear = x < 8 && y >= kSide - 8;  // the top-left corner
      image[at] = static_cast<std::uint8_t>(x * 8);
      image[at + 1] = static_cast<std::uint8_t>(y * 8);
      image[at + 2] = static_cast<std::uint8_t>(255 - x * 4);
      image[at + 3] = clear ? 0 : 255;
      if (clear) image[at] = image[at + 1] = image[at + 2] = 0;
    }
  }
  const std::size_t maskAt = 40 + 4 * kSide * kSide;
  for (int y = kSide - 8; y < kSide && withMask; ++y)
    image[maskAt + 4 * static_cast<std::size_t>(y)] = 0xFF;
  if (!withMask) image.resize(maskAt);
  Bytes out;
  testing::PutU16(out, 0);
  testing::PutU16(out, 1);
  testing::PutU16(out, 1);
  out.insert(out.end(), {kSide, kSide, 0, 0});
  testing::PutU16(out, 1);
  testing::PutU16(out, 32);
  testing::PutU32(out, static_cast<std::uint32_t>(image.size()));
  testing::PutU32(out, 22);
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

// A BMP of 8 bits with a 16-entry colour table in bands, stored bottom-up
// or top-down (negative height).
Bytes SuiteBmp(int width, int height) {
  Bytes bmp = testing::MakeBmp8(width, height, 16);
  const std::size_t table = 14 + 40, rows = table + 64;
  for (int i = 0; i < 16; ++i) {
    bmp[table + 4 * i] = static_cast<std::uint8_t>(i * 15);
    bmp[table + 4 * i + 1] = static_cast<std::uint8_t>(100 + i * 9);
    bmp[table + 4 * i + 2] = static_cast<std::uint8_t>(250 - i * 14);
  }
  const int magnitude = std::abs(height), stride = (width + 3) / 4 * 4;
  for (int r = 0; r < magnitude; ++r) {
    for (int x = 0; x < width; ++x)
      bmp[rows + static_cast<std::size_t>(r * stride + x)] = Band(x, r, 16);
  }
  return bmp;
}

void WriteSuiteImages(const std::string& folder) {
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"suite-bmp8-61x23.bmp", SuiteBmp(61, 23)},
      {"suite-bmp8-top-down-37x19.bmp", SuiteBmp(37, -19)},
      {"suite-gif-interlaced-45x29.gif", SuiteGif(45, 29, true, -1)},
      {"suite-gif-transparent-33x21.gif", SuiteGif(33, 21, false, 3)},
      {"suite-icon-32bit-masked.ico", SuiteIcon(true)},
      {"suite-icon-32bit-no-mask.ico", SuiteIcon(false)},
      {"suite-pcx-1bit-61x20.pcx", SuitePcx(1, 1, 61, 20, 8, true)},
      {"suite-pcx-1bit-65x20-odd-line.pcx", SuitePcx(1, 1, 65, 20, 9, true)},
      {"suite-pcx-2bit-37x20.pcx", SuitePcx(2, 1, 37, 20, 10)},
      {"suite-pcx-4bit-packed-33x20.pcx", SuitePcx(4, 1, 33, 20, 17)},
      {"suite-pcx-4planes-50x20.pcx", SuitePcx(1, 4, 50, 20, 7)},
      {"suite-pcx-4planes-41x20-even.pcx", SuitePcx(1, 4, 41, 20, 6)},
      {"suite-pcx-8bit-61x20-even.pcx", SuitePcx(8, 1, 61, 20, 62)},
      {"suite-pcx-8bit-61x20-odd.pcx", SuitePcx(8, 1, 61, 20, 61)},
  };
  for (const auto& [name, bytes] : files) Write(folder + "\\" + name, bytes);
}

// ---- Reading the screen ----------------------------------------------

// One file of the folder as the wrapper described it: its size as shown,
// how it is judged, and the reference's frames of red, green, blue and
// alpha bytes (several for an animation, any of which may be on show).
struct Reference {
  std::string name;
  int width = 0, height = 0, frames = 0;
  std::string kind;  // "exact" or "psnr"
  std::vector<std::vector<std::uint8_t>> rgba;
};

std::vector<Reference> ReadManifest(const std::string& folder) {
  std::vector<Reference> references;
  std::ifstream manifest(folder + "\\manifest.txt");
  Reference r;
  while (manifest >> r.name >> r.width >> r.height >> r.frames >> r.kind) {
    std::ifstream raw(folder + "\\refs\\" + r.name + ".rgba", std::ios::binary);
    const std::size_t frameBytes = 4ull * static_cast<std::size_t>(r.width * r.height);
    r.rgba.clear();
    for (int f = 0; f < r.frames; ++f) {
      std::vector<std::uint8_t> frame(frameBytes);
      raw.read(reinterpret_cast<char*>(frame.data()), static_cast<std::streamsize>(frameBytes));
      if (raw) r.rgba.push_back(std::move(frame));
    }
    references.push_back(r);
  }
  return references;
}

// The screen under a window's client area, top row first, as blue, green,
// red and a spare byte per pixel.
std::vector<std::uint8_t> ScreenUnder(HWND window, int width, int height) {
  std::vector<std::uint8_t> pixels(4ull * static_cast<std::size_t>(width * height));
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  if (bits) std::memcpy(pixels.data(), bits, pixels.size());
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The colour a reference pixel shows over the window's background.
std::uint8_t Over(std::uint8_t value, std::uint8_t alpha, std::uint8_t background) {
  return static_cast<std::uint8_t>((value * alpha + background * (255 - alpha) + 127) / 255);
}

struct Difference {
  int pixels = 0;     // pixels that differ by more than the blending allows
  double psnr = 0.0;  // over red, green and blue
};

Difference Compare(const std::vector<std::uint8_t>& screen, const std::vector<std::uint8_t>& rgba) {
  Difference d;
  double squares = 0;
  const std::uint8_t background[3] = {GetRValue(kBackground), GetGValue(kBackground),
                                      GetBValue(kBackground)};
  for (std::size_t p = 0; p < rgba.size() / 4; ++p) {
    const std::uint8_t alpha = rgba[4 * p + 3];
    // Partly transparent pixels are blended by the platform, which may
    // round differently by one.
    const int slack = alpha == 0 || alpha == 255 ? 0 : 2;
    bool differs = false;
    for (int c = 0; c < 3; ++c) {
      const int want = Over(rgba[4 * p + c], alpha, background[c]);
      const int got = screen[4 * p + 2 - c];
      squares += double(want - got) * (want - got);
      differs = differs || std::abs(want - got) > slack;
    }
    d.pixels += differs ? 1 : 0;
  }
  const double mean = squares / (3.0 * double(rgba.size() / 4));
  d.psnr = mean == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
  return d;
}

// What the screen showed for one file: the best match over its frames.
struct Shown {
  std::string size;  // the status bar's size zone
  Difference best;
  bool found = false;
};

Shown Judge(const RunningViewer& viewer, const Reference& r) {
  Shown shown;
  const std::string size = std::to_string(r.width) + "x" + std::to_string(r.height);
  viewer.ZoneBecomes(2, size);
  shown.size = viewer.Zone(2);
  if (shown.size != size) return shown;
  const HWND image = ChildOfClientSize(viewer.main(), r.width, r.height);
  if (!image) return shown;
  shown.found = true;
  const auto good = [&](const Difference& d) {
    return r.kind == "psnr" ? d.psnr >= kJpegFloor : d.pixels == 0;
  };
  // Painting is done when the screen holds the picture; a picture shown
  // wrong is read once more at the end of the patience.
  WaitFor(
      [&] {
        const std::vector<std::uint8_t> screen = ScreenUnder(image, r.width, r.height);
        shown.best = Compare(screen, r.rgba.front());
        for (const auto& frame : r.rgba) {
          const Difference d = Compare(screen, frame);
          if (d.pixels < shown.best.pixels) shown.best = d;
        }
        return good(shown.best);
      },
      kPaintPatience);
  return shown;
}

// The place of the file on show, "(i of n)", from the status bar's path zone.
std::string PlaceOf(const std::string& zone) {
  const std::size_t at = zone.rfind("  (");
  return at == std::string::npos ? std::string() : zone.substr(at + 2);
}

// The program shown each file of the folder in turn, stepping with Space;
// the status bar names the file on show and its place in the list.
TEST(PixelTruth, EveryFileShowsOnTheScreenAsTheReferenceDecodesIt) {
  const std::string folder = CurrentFolder() + "\\files\\";
  const std::vector<Reference> references = ReadManifest(CurrentFolder());
  ASSERT_FALSE(references.empty()) << "no manifest.txt: the wrapper script writes it";
  const std::string ini = folder + "LUMBRA.INI";
  WriteQuietSettings(ini, {{"Maximized", "NO"},
                           {"XPos", "0"},
                           {"YPos", "0"},
                           {"Width", "1000"},
                           {"Height", "740"},
                           {"AutoLoadDir", "YES"},
                           {"KeepImageSettings", "NO"},
                           {"DefaultImageMode", "1"},
                           {"DefaultSortOrder", "3"},
                           {"FixGifImages", "NO"},
                           {"WarnBadImage", "NO"}});
  WritePrivateProfileStringA("Lumbra", "BGColor", std::to_string(kBackground).c_str(), ini.c_str());

  RunningViewer viewer(folder, "\"" + folder + "\"");
  ASSERT_NE(viewer.main(), nullptr);
  SetWindowPos(viewer.main(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  std::map<std::string, const Reference*> byName;
  for (const Reference& r : references) byName[r.name] = &r;

  // The list's length, from the place of the first file on show.
  std::size_t count = 0;
  EXPECT_TRUE(WaitFor([&] {
    return std::sscanf(PlaceOf(viewer.Zone(1)).c_str(), "(1 of %zu)", &count) == 1;
  })) << viewer.Zone(1);
  std::map<std::string, Shown> results;
  for (std::size_t step = 1; step <= count; ++step) {
    const std::string place = "(" + std::to_string(step) + " of " + std::to_string(count) + ")";
    EXPECT_TRUE(WaitFor([&] { return PlaceOf(viewer.Zone(1)) == place; }))
        << viewer.Zone(1) << " is not " << place;
    const std::string zone = viewer.Zone(1);
    const std::string path = zone.substr(0, zone.rfind("  ("));
    const std::string name = path.substr(path.rfind('\\') + 1);
    const auto r = byName.find(name);
    if (r != byName.end())
      results[name] = Judge(viewer, *r->second);
    else
      ADD_FAILURE() << "listed but not described: " << name;
    if (step < count) viewer.Key(VK_SPACE);
  }

  int failed = 0;
  for (const Reference& r : references) {
    const auto result = results.find(r.name);
    std::string line;
    bool good = false;
    if (result == results.end()) {
      line = "not listed";
    } else if (!result->second.found) {
      line = "shown as " + result->second.size + ", wanted " + std::to_string(r.width) + "x" +
             std::to_string(r.height);
    } else {
      const Difference& d = result->second.best;
      char text[160];
      std::snprintf(text, sizeof text, "%dx%d, %d of %d pixels differ, PSNR %.1f dB", r.width,
                    r.height, d.pixels, r.width * r.height, d.psnr);
      line = text;
      good = r.kind == "psnr" ? d.psnr >= kJpegFloor : d.pixels == 0;
    }
    std::printf("%-44s %-5s %s%s\n", r.name.c_str(), r.kind.c_str(), line.c_str(),
                good ? "" : "  <- WRONG");
    failed += good ? 0 : 1;
  }
  std::fflush(stdout);
  EXPECT_EQ(failed, 0) << failed << " of " << references.size() << " files shown wrong";
}

}  // namespace
}  // namespace lumbra

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "write") {
    lumbra::WriteSuiteImages(argv[2]);
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
