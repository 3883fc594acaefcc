#include "bench/wine/bench_images_win32.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>

#include "bench/wine/program_driver_win32.h"
#include "tools/sample_images/sample_files.h"

namespace lumbra::bench {

namespace {

using samples::Bytes;
using samples::IndexedPicture;
using samples::Rgb;
using samples::TruePicture;

// The mark colours, taken in turn: saturated, far from each other, from
// the window's black background and from the photos' muted tones.
constexpr Rgb kMarks[] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                          {255, 255, 0}, {255, 0, 255}, {0, 255, 255}};
constexpr int kMarkCount = static_cast<int>(std::size(kMarks));

Rgb Mark(int n) { return kMarks[n % kMarkCount]; }
COLORREF MarkColour(int n) { return RGB(Mark(n).r, Mark(n).g, Mark(n).b); }

bool InBlock(int x, int y, int size) { return x < size && y < size; }

// The folders' names begin with this; raised when their content changes.
const std::string kVersion = "viewer bench v1";

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;

// The block of a large image, and of a small one.
constexpr int kPhotoBlock = 128;
constexpr int kSmallBlock = 24;

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteOnce(const std::string& path, const std::function<Bytes()>& make) {
  if (Exists(path)) return;
  const Bytes bytes = make();
  const std::string partial = path + ".part";
  std::ofstream(partial, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!MoveFileA(partial.c_str(), path.c_str())) Fail("cannot write " + path);
}

// Muted tones with grain, like a photo: smooth gradients and soft bands,
// no channel near full saturation. The block sits at the top left.
TruePicture Photo(int width, int height, int n) {
  TruePicture picture{width, height, {}};
  picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      Rgb& p = picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                              static_cast<std::size_t>(x)];
      if (InBlock(x, y, kPhotoBlock)) {
        p = Mark(n);
        continue;
      }
      const int u = x * 160 / width, v = y * 160 / height;
      const int band = ((x / 97 + y / 61 + n) % 7) * 9;
      const int grain = static_cast<int>(
          (static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y + n) * 40503u) >> 28);
      p = {static_cast<std::uint8_t>(40 + u / 2 + band + grain),
           static_cast<std::uint8_t>(50 + v / 2 + (u * v) / 640 + grain),
           static_cast<std::uint8_t>(60 + (160 - u) / 3 + band + grain)};
    }
  }
  return picture;
}

// A small picture as colour indices: the marks first in the palette, then
// a ramp of muted tones.
IndexedPicture SmallIndexed(int width, int height, int n) {
  IndexedPicture picture{width, height, {}, {}};
  picture.palette.assign(std::begin(kMarks), std::end(kMarks));
  for (int i = kMarkCount; i < 256; ++i) {
    picture.palette.push_back({static_cast<std::uint8_t>(60 + i / 2),
                               static_cast<std::uint8_t>(90 + i / 3),
                               static_cast<std::uint8_t>(200 - i / 2)});
  }
  picture.pixels.resize(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(
          InBlock(x, y, kSmallBlock) ? n % kMarkCount
                                     : kMarkCount + (x * 3 + y * 5 + n) % (256 - kMarkCount));
    }
  }
  return picture;
}

TruePicture SmallTrue(int width, int height, int n) {
  const IndexedPicture indexed = SmallIndexed(width, height, n);
  TruePicture picture{width, height, {}};
  for (std::uint8_t index : indexed.pixels) picture.pixels.push_back(indexed.palette[index]);
  return picture;
}

Bytes SmallIcon(int n) {
  samples::IconPicture icon;
  icon.picture = SmallTrue(32, 32, n);
  icon.mask.assign(32 * 32, 1);
  icon.bits = 24;
  return samples::IconFile({icon});
}

// The mixed folder's formats, in turn.
struct SmallFormat {
  const char* extension;
  Bytes (*make)(int width, int height, int n);
};
constexpr SmallFormat kSmallFormats[] = {
    {"bmp", [](int w, int h, int n) { return samples::Bmp24(SmallTrue(w, h, n)); }},
    {"gif", [](int w, int h, int n) { return samples::Gif(SmallIndexed(w, h, n), false); }},
    {"pcx", [](int w, int h, int n) { return samples::Pcx256(SmallIndexed(w, h, n)); }},
    {"jpg", [](int w, int h, int n) { return samples::Jpeg(SmallTrue(w, h, n), false); }},
    {"ico", [](int, int, int n) { return SmallIcon(n); }},
    {"bmp", [](int w, int h, int n) { return samples::Bmp8(SmallIndexed(w, h, n)); }},
};

std::string Numbered(const std::string& folder, const char* stem, int number, int digits,
                     const char* extension) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%0*d.%s", stem, digits, number, extension);
  return folder + name;
}

BenchImage WritePhoto(const std::string& path, int n) {
  WriteOnce(path, [&] { return samples::Jpeg(Photo(kPhotoWidth, kPhotoHeight, n), false); });
  return {path, MarkColour(n)};
}

}  // namespace

BenchImage WriteLonePhoto() {
  return WritePhoto(BenchFolder(kVersion + " lone photo") + "photo.jpg", 0);
}

BenchImage WriteLoneGif() {
  const std::string path = BenchFolder(kVersion + " lone gif") + "small.gif";
  WriteOnce(path, [&] { return samples::Gif(SmallIndexed(200, 150, 0), false); });
  return {path, MarkColour(0)};
}

std::vector<BenchImage> WritePhotoFolder(int count) {
  const std::string folder = BenchFolder(kVersion + " photos");
  std::vector<BenchImage> images;
  for (int i = 0; i < count; ++i)
    images.push_back(WritePhoto(Numbered(folder, "photo", i + 1, 2, "jpg"), i));
  return images;
}

std::vector<BenchImage> WriteMixedFolder(int count) {
  const std::string folder = BenchFolder(kVersion + " mixed");
  std::vector<BenchImage> images;
  for (int i = 0; i < count; ++i) {
    const SmallFormat& format =
        kSmallFormats[static_cast<std::size_t>(i) % std::size(kSmallFormats)];
    const int width = 40 + i * 37 % 280, height = 32 + i * 53 % 200;
    const std::string path = Numbered(folder, "image", i + 1, 3, format.extension);
    WriteOnce(path, [&] { return format.make(width, height, i); });
    images.push_back({path, MarkColour(i)});
  }
  return images;
}

}  // namespace lumbra::bench
