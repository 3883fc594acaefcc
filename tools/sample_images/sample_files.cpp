#include "tools/sample_images/sample_files.h"

#include <algorithm>
#include <functional>
#include <span>

#include "codecs/bmp_writer.h"
#include "codecs/decoded_image.h"
#include "tests/codecs/pcx_fixture.h"
#include "tests/codecs/test_images.h"

namespace lumbra::samples {

namespace {

using testing::PutU16;
using testing::PutU32;

// The value of pixel (x, y), y from the top: a colour index at up to 8
// bits, 0x00RRGGBB at 24.
using PixelValue = std::function<std::uint32_t(int x, int y)>;

std::uint32_t Packed(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

std::uint32_t Stride(int width, int bits) {
  return (static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bits) + 31) / 32 * 4;
}

// One row of pixels packed at the given depth, padded to 4 bytes.
Bytes PackRow(int width, int bits, int y, const PixelValue& value) {
  Bytes row(Stride(width, bits), 0);
  for (int x = 0; x < width; ++x) {
    const std::uint32_t v = value(x, y);
    if (bits == 24) {
      std::uint8_t* p = &row[static_cast<std::size_t>(x) * 3];
      p[0] = static_cast<std::uint8_t>(v);  // blue, green, red
      p[1] = static_cast<std::uint8_t>(v >> 8);
      p[2] = static_cast<std::uint8_t>(v >> 16);
    } else {
      const int bit = x * bits;
      row[static_cast<std::size_t>(bit / 8)] |=
          static_cast<std::uint8_t>(v << (8 - bits - bit % 8));
    }
  }
  return row;
}

// Information header, colour table and rows of a bitmap. headerHeight is
// what the header states (twice the height in icons, negated for top-down
// rows); the rows follow it in the order it gives.
Bytes PackedDib(int width, int height, int bits, const std::vector<Rgb>& palette,
                const PixelValue& value, std::int32_t headerHeight) {
  Bytes out;
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(headerHeight));
  PutU16(out, 1);
  PutU16(out, static_cast<std::uint32_t>(bits));
  PutU32(out, 0);
  PutU32(out, Stride(width, bits) * static_cast<std::uint32_t>(height));
  PutU32(out, 2835);  // 72 dots per inch
  PutU32(out, 2835);
  PutU32(out, bits <= 8 ? static_cast<std::uint32_t>(palette.size()) : 0);
  PutU32(out, 0);
  if (bits <= 8) {
    for (const Rgb& c : palette) out.insert(out.end(), {c.b, c.g, c.r, 0});
  }
  for (int i = 0; i < height; ++i) {
    const int y = headerHeight < 0 ? i : height - 1 - i;
    const Bytes row = PackRow(width, bits, y, value);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

Bytes BmpFile(const Bytes& dib, std::uint32_t colours) {
  Bytes out;
  testing::PutText(out, "BM");
  PutU32(out, 14 + static_cast<std::uint32_t>(dib.size()));
  PutU32(out, 0);
  PutU32(out, 14 + 40 + 4 * colours);
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

Bytes PaletteBytes(const std::vector<Rgb>& palette) {
  Bytes bytes;
  for (const Rgb& c : palette) bytes.insert(bytes.end(), {c.r, c.g, c.b});
  return bytes;
}

// The smallest LZW code size that holds the palette's indices (at least 2).
std::uint8_t CodeSize(const IndexedPicture& picture) {
  std::uint8_t bits = 2;
  while ((1u << bits) < picture.palette.size()) ++bits;
  return bits;
}

// The rows of a picture in the order an interlaced GIF stores them: every
// eighth row from 0, every eighth from 4, every fourth from 2, every
// second from 1.
Bytes InterlacedRows(const IndexedPicture& picture) {
  Bytes out;
  constexpr int kStart[4] = {0, 4, 2, 1};
  constexpr int kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < picture.height; y += kStep[pass]) {
      const auto row = picture.pixels.begin() + static_cast<std::ptrdiff_t>(y * picture.width);
      out.insert(out.end(), row, row + picture.width);
    }
  }
  return out;
}

// The icon directory and its images; type 1 for icons, 2 for cursors.
Bytes IconDirectory(const std::vector<IconPicture>& images, std::uint16_t type) {
  std::vector<Bytes> dibs;
  for (const IconPicture& image : images) {
    const TruePicture& p = image.picture;
    std::vector<Rgb> palette;
    PixelValue value = [&](int x, int y) { return Packed(p.At(x, y)); };
    IndexedPicture reduced;
    if (image.bits <= 8) {
      palette = image.bits == 1   ? BlackAndWhite()
                : image.bits == 4 ? StandardColours16()
                                  : WebColours256();
      reduced = Reduce(p, palette, false);
      value = [&](int x, int y) { return std::uint32_t{reduced.At(x, y)}; };
    }
    // Where the mask is clear the image shows; the colour bits there are 0.
    const auto shows = [&](int x, int y) {
      return image.mask[static_cast<std::size_t>(y * p.width + x)] != 0;
    };
    Bytes dib = PackedDib(
        p.width, p.height, image.bits, palette,
        [&](int x, int y) { return shows(x, y) ? value(x, y) : 0u; }, 2 * p.height);
    for (int y = p.height - 1; y >= 0; --y) {
      const Bytes row = PackRow(p.width, 1, y, [&](int x, int) { return shows(x, y) ? 0u : 1u; });
      dib.insert(dib.end(), row.begin(), row.end());
    }
    dibs.push_back(std::move(dib));
  }
  Bytes out;
  PutU16(out, 0);
  PutU16(out, type);
  PutU16(out, static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const IconPicture& image = images[i];
    out.push_back(static_cast<std::uint8_t>(image.picture.width));
    out.push_back(static_cast<std::uint8_t>(image.picture.height));
    out.push_back(static_cast<std::uint8_t>(image.bits < 8 ? 1u << image.bits : 0u));
    out.push_back(0);
    PutU16(out, type == 2 ? image.hotspotX : 1);  // planes for icons
    PutU16(out, type == 2 ? image.hotspotY : image.bits);
    PutU32(out, static_cast<std::uint32_t>(dibs[i].size()));
    PutU32(out, offset);
    offset += static_cast<std::uint32_t>(dibs[i].size());
  }
  for (const Bytes& dib : dibs) out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

// The 128-byte header fields that the PCX writer of the tests leaves at 0
// and other readers want: resolution, bytes per plane line, palette kind.
void CompletePcxHeader(Bytes& file, int bytesPerLine) {
  WriteU16(&file[12], 72);
  WriteU16(&file[14], 72);
  WriteU16(&file[66], static_cast<std::uint16_t>(bytesPerLine));
  WriteU16(&file[68], 1);
}

// Metafile records: each starts with its size in words and its function.
// Every pair of colours gets its own brush and pen, in the next two slots
// of the handle table; playing the metafile deletes them at its end.
class MetafileRecords {
 public:
  void Colours(Rgb fill, Rgb line) {
    Record(0x02FC, {0, Low(fill), fill.b, 0});     // CreateBrushIndirect: solid
    Record(0x02FA, {0, 2, 0, Low(line), line.b});  // CreatePenIndirect: solid, 2 wide
    Record(0x012D, {objects_});                    // SelectObject
    Record(0x012D, {static_cast<std::uint16_t>(objects_ + 1)});
    objects_ = static_cast<std::uint16_t>(objects_ + 2);
  }
  // The box records take bottom, right, top, left.
  void Rectangle(int l, int t, int r, int b) { Record(0x041B, {U(b), U(r), U(t), U(l)}); }
  void Ellipse(int l, int t, int r, int b) { Record(0x0418, {U(b), U(r), U(t), U(l)}); }
  void Polygon(std::initializer_list<std::pair<int, int>> points) {
    PutU32(bytes, 4 + 2 * static_cast<std::uint32_t>(points.size()));
    PutU16(bytes, 0x0324);
    PutU16(bytes, static_cast<std::uint32_t>(points.size()));
    for (auto [x, y] : points) {
      PutU16(bytes, U(x));
      PutU16(bytes, U(y));
    }
  }
  std::uint16_t objects() const { return objects_; }
  Bytes bytes;

 private:
  static std::uint16_t U(int v) { return static_cast<std::uint16_t>(v); }
  static std::uint16_t Low(Rgb c) { return static_cast<std::uint16_t>(c.r | (c.g << 8)); }
  void Record(std::uint16_t function, std::initializer_list<std::uint16_t> words) {
    PutU32(bytes, 3 + static_cast<std::uint32_t>(words.size()));
    PutU16(bytes, function);
    for (std::uint16_t w : words) PutU16(bytes, w);
  }
  std::uint16_t objects_ = 0;
};

}  // namespace

Bytes Bmp8(const IndexedPicture& picture) {
  const auto geometry = BmpGeometryFor(picture.width, picture.height);
  Bytes block(geometry->blockBytes, 0);
  BmpWriter writer(block, *geometry);
  writer.StartOutput();
  const ColourMap map{&picture.palette[0].r, &picture.palette[0].g, &picture.palette[0].b,
                      sizeof(Rgb)};
  writer.PutColourMap(static_cast<int>(picture.palette.size()), &map);
  for (int y = 0; y < picture.height; ++y) {
    std::copy_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(y * picture.width),
                picture.width, writer.Row(y));
  }
  return block;
}

Bytes BmpIndexed(const IndexedPicture& picture, std::uint16_t bits, bool topDown) {
  const std::int32_t height = topDown ? -picture.height : picture.height;
  return BmpFile(PackedDib(
                     picture.width, picture.height, bits, picture.palette,
                     [&](int x, int y) { return std::uint32_t{picture.At(x, y)}; }, height),
                 static_cast<std::uint32_t>(picture.palette.size()));
}

Bytes Bmp24(const TruePicture& picture, bool topDown) {
  const std::int32_t height = topDown ? -picture.height : picture.height;
  return BmpFile(PackedDib(
                     picture.width, picture.height, 24, {},
                     [&](int x, int y) { return Packed(picture.At(x, y)); }, height),
                 0);
}

Bytes IconFile(const std::vector<IconPicture>& images) { return IconDirectory(images, 1); }
Bytes CursorFile(const std::vector<IconPicture>& images) { return IconDirectory(images, 2); }

Bytes Gif(const IndexedPicture& picture, bool interlaced) {
  const auto w = static_cast<std::uint16_t>(picture.width);
  const auto h = static_cast<std::uint16_t>(picture.height);
  return testing::GifWriter(w, h, PaletteBytes(picture.palette))
      .Image(0, 0, w, h, interlaced ? InterlacedRows(picture) : picture.pixels, CodeSize(picture),
             interlaced)
      .Finish();
}

Bytes TransparentGif(const IndexedPicture& picture) {
  const auto w = static_cast<std::uint16_t>(picture.width);
  const auto h = static_cast<std::uint16_t>(picture.height);
  return testing::GifWriter(w, h, PaletteBytes(picture.palette))
      .Comment("Lumbra sample: a star on a transparent ground")
      .GraphicControl(0, 0)
      .Image(0, 0, w, h, picture.pixels, CodeSize(picture))
      .Finish();
}

Bytes AnimatedGif(const std::vector<IndexedPicture>& frames, std::uint16_t delay) {
  const auto w = static_cast<std::uint16_t>(frames.front().width);
  const auto h = static_cast<std::uint16_t>(frames.front().height);
  testing::GifWriter gif(w, h, PaletteBytes(frames.front().palette));
  gif.Netscape(0);
  for (const IndexedPicture& frame : frames) {
    gif.GraphicControl(delay).Image(0, 0, w, h, frame.pixels, CodeSize(frame));
  }
  return gif.Finish();
}

Bytes Pcx16(const IndexedPicture& picture) {
  test::PcxFile pcx;
  pcx.bits = 1;
  pcx.planes = 4;
  pcx.width = picture.width;
  pcx.height = picture.height;
  pcx.trailer = false;
  for (std::size_t i = 0; i < 16 && i < picture.palette.size(); ++i) {
    pcx.headerMap[3 * i] = picture.palette[i].r;
    pcx.headerMap[3 * i + 1] = picture.palette[i].g;
    pcx.headerMap[3 * i + 2] = picture.palette[i].b;
  }
  // Each plane line holds one bit of every pixel's index, padded to an
  // even number of bytes; each line is run-length coded on its own.
  const int line = ((picture.width + 7) / 8 + 1) / 2 * 2;
  for (int y = 0; y < picture.height; ++y) {
    for (int plane = 0; plane < 4; ++plane) {
      Bytes bits(static_cast<std::size_t>(line), 0);
      for (int x = 0; x < picture.width; ++x) {
        if ((picture.At(x, y) >> plane) & 1) {
          bits[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
      }
      const Bytes coded = test::RunLength(bits);
      pcx.data.insert(pcx.data.end(), coded.begin(), coded.end());
    }
  }
  Bytes file = pcx.Bytes();
  CompletePcxHeader(file, line);
  return file;
}

Bytes Pcx256(const IndexedPicture& picture) {
  test::PcxFile pcx;
  pcx.width = picture.width;
  pcx.height = picture.height;
  pcx.trailerColours = PaletteBytes(picture.palette);
  const int line = (picture.width + 1) / 2 * 2;
  for (int y = 0; y < picture.height; ++y) {
    Bytes row(picture.pixels.begin() + static_cast<std::ptrdiff_t>(y * picture.width),
              picture.pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * picture.width));
    row.resize(static_cast<std::size_t>(line), 0);
    const Bytes coded = test::RunLength(row);
    pcx.data.insert(pcx.data.end(), coded.begin(), coded.end());
  }
  Bytes file = pcx.Bytes();
  CompletePcxHeader(file, line);
  return file;
}

Bytes Jpeg(const TruePicture& picture, bool grey) {
  test::JpegPicture jpeg;
  jpeg.width = picture.width;
  jpeg.height = picture.height;
  jpeg.components = grey ? 1 : 3;
  jpeg.pixel = [&](int x, int y) {
    const Rgb c = picture.At(x, y);
    if (!grey) return c;
    const auto v = static_cast<std::uint8_t>((c.r * 299 + c.g * 587 + c.b * 114) / 1000);
    return Rgb{v, v, v};
  };
  return test::MakeJpeg(jpeg);
}

Bytes ShapesMetafile(std::int16_t width, std::int16_t height, std::uint16_t unitsPerInch) {
  const int w = width, h = height;
  MetafileRecords m;
  m.Colours({235, 240, 250}, {60, 60, 90});  // the page
  m.Rectangle(0, 0, w, h);
  m.Colours({250, 200, 40}, {160, 110, 0});  // a sun
  m.Ellipse(w / 16, h / 12, w * 5 / 16, h * 5 / 12);
  m.Colours({40, 120, 200}, {20, 60, 120});  // a house: walls, roof, door
  m.Rectangle(w / 2, h / 2, w * 7 / 8, h * 7 / 8);
  m.Colours({200, 50, 40}, {120, 20, 20});
  m.Polygon({{w * 15 / 32, h / 2}, {w * 11 / 16, h / 4}, {w * 29 / 32, h / 2}});
  m.Colours({120, 70, 30}, {60, 30, 10});
  m.Rectangle(w * 21 / 32, h * 11 / 16, w * 23 / 32, h * 7 / 8);
  m.Colours({60, 170, 70}, {20, 90, 30});  // a tree
  m.Rectangle(w * 3 / 16 - w / 64, h * 5 / 8, w * 3 / 16 + w / 64, h * 7 / 8);
  m.Ellipse(w / 16, h * 3 / 8, w * 5 / 16, h * 11 / 16);
  return testing::MakePlaceableWmf(0, 0, width, height, unitsPerInch, 0, m.bytes, m.objects());
}

}  // namespace lumbra::samples
