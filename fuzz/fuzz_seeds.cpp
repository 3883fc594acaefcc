// Writes the seed corpora of the codec fuzz targets, made with the same
// small writers as the tests: fuzz_seeds <gif folder> <bmp_wmf folder>.
#include <cstdio>
#include <string>

#include "tests/codecs/test_images.h"

namespace {

using lumbra::testing::Bytes;
using lumbra::testing::GifWriter;

void Write(const std::string& path, const Bytes& bytes) {
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz_seeds <gif folder> <bmp_wmf folder>\n");
    return 2;
  }
  const std::string gif = argv[1];
  const std::string bmp = argv[2];
  Write(gif + "/still.gif", GifWriter(8, 4).Image(0, 0, 8, 4, Bytes(32, 2)).Finish());
  Write(gif + "/interlaced.gif",
        GifWriter(1, 9, true, 3).Image(0, 0, 1, 9, {0, 1, 2, 3, 4, 5, 6, 7, 8}, 4, true).Finish());
  Write(gif + "/animated.gif", GifWriter(2, 1)
                                   .Netscape(2)
                                   .GraphicControl(5, 1)
                                   .Image(0, 0, 2, 1, {1, 1})
                                   .Comment("seed")
                                   .GraphicControl(5)
                                   .Image(1, 0, 1, 1, {2}, 2, false, 1)
                                   .Finish());
  Write(gif + "/raw.gif",
        GifWriter(4, 1, false, 2)
            .RawImage(0, 0, 4, 1, 2, GifWriter::PackCodes({{3, 3}, {6, 3}, {7, 3}}))
            .Finish());
  Write(bmp + "/bottom_up.bmp", lumbra::testing::MakeBmp8(5, 3));
  Write(bmp + "/top_down.bmp", lumbra::testing::MakeBmp8(3, -2, 2));
  Write(bmp + "/placeable.wmf", lumbra::testing::MakePlaceableWmf(0, 0, 1440, 720, 1440));
  Write(bmp + "/icon_name.txt", Bytes{'s', 'h', 'e', 'l', 'l', '.', 'd', 'l', 'l', '[', '3', ']'});
  return 0;
}
