// JPEG test pictures made at run time with libjpeg's compressor.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace lumbra::test {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

struct JpegPicture {
  int width = 16;
  int height = 16;
  // 1: grey (the red channel of pixel is used), 3: colour, 4: CMYK.
  int components = 3;
  // The colour space stored in the file; JCS_UNKNOWN keeps libjpeg's choice.
  J_COLOR_SPACE stored = JCS_UNKNOWN;
  bool progressive = false;
  bool arithmetic = false;
  std::function<Rgb(int x, int y)> pixel = [](int, int) { return Rgb{128, 128, 128}; };
};

inline std::vector<std::uint8_t> MakeJpeg(const JpegPicture& picture) {
  jpeg_compress_struct c{};
  jpeg_error_mgr error{};
  c.err = jpeg_std_error(&error);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(picture.width);
  c.image_height = static_cast<JDIMENSION>(picture.height);
  c.input_components = picture.components;
  c.in_color_space = picture.components == 1   ? JCS_GRAYSCALE
                     : picture.components == 4 ? JCS_CMYK
                                               : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  if (picture.stored != JCS_UNKNOWN) jpeg_set_colorspace(&c, picture.stored);
  if (picture.progressive) jpeg_simple_progression(&c);
  c.arith_code = picture.arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width * picture.components));
  while (c.next_scanline < c.image_height) {
    const int y = static_cast<int>(c.next_scanline);
    for (int x = 0; x < picture.width; ++x) {
      const Rgb p = picture.pixel(x, y);
      JSAMPLE* s = &row[static_cast<std::size_t>(x * picture.components)];
      s[0] = p.r;
      if (picture.components >= 3) {
        s[1] = p.g;
        s[2] = p.b;
      }
      if (picture.components == 4) s[3] = 0;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<std::uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

}  // namespace lumbra::test
