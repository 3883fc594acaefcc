#include "codecs/bmp_writer.h"

#include "codecs/decoded_image.h"

namespace lumbra {

std::optional<BmpGeometry> BmpGeometryFor(std::int64_t width, std::int64_t height,
                                          std::size_t limit) {
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) + 3) & ~std::uint64_t{3};
  const std::uint64_t pixels = stride * static_cast<std::uint64_t>(height);
  const std::uint64_t block = kBmpHeaderBytes + kBmpColourTableBytes + pixels;
  if (block > limit || block > UINT32_MAX) return std::nullopt;
  BmpGeometry g;
  g.width = static_cast<std::int32_t>(width);
  g.height = static_cast<std::int32_t>(height);
  g.stride = static_cast<std::uint32_t>(stride);
  g.pixelBytes = static_cast<std::uint32_t>(pixels);
  g.blockBytes = static_cast<std::uint32_t>(block);
  return g;
}

void BmpWriter::StartOutput() {
  std::uint8_t* p = block_.data();
  p[0] = 'B';
  p[1] = 'M';
  WriteU32(p + 2, geometry_.blockBytes);
  WriteU32(p + 6, 0);
  WriteU32(p + 10, kBmpHeaderBytes + kBmpColourTableBytes);
  BitmapInfoHeader info;
  info.width = geometry_.width;
  info.height = geometry_.height;
  info.planes = 1;
  info.bitCount = 8;
  info.compression = 0;
  info.sizeImage = geometry_.pixelBytes;
  info.xPelsPerMeter = kBmpPixelsPerMetre;
  info.yPelsPerMeter = kBmpPixelsPerMetre;
  info.clrUsed = kBmpColourTableBytes / 4;
  info.clrImportant = 0;
  WriteInfoHeader(p + kFileHeaderSize, info);
}

bool BmpWriter::PutColourMap(int count, const ColourMap* map) {
  if (count > 256) return false;
  std::uint8_t* entry = block_.data() + kBmpHeaderBytes;
  for (int i = 0; i < 256; ++i, entry += 4) {
    std::uint8_t red = 0, green = 0, blue = 0;
    if (i < count && map != nullptr) {
      const std::size_t at = static_cast<std::size_t>(i) * map->step;
      red = map->red[at];
      green = map->green[at];
      blue = map->blue[at];
    } else if (i < count) {
      // Grey ramp: step i of count, rounded to the nearest of 0..255.
      const int grey = count > 1 ? (i * 255 + (count - 1) / 2) / (count - 1) : 0;
      red = green = blue = static_cast<std::uint8_t>(grey);
    }
    entry[0] = blue;
    entry[1] = green;
    entry[2] = red;
    entry[3] = 0;
  }
  return true;
}

std::uint8_t* BmpWriter::Row(std::int32_t fromTop) {
  const std::uint32_t fromBottom = static_cast<std::uint32_t>(geometry_.height - 1 - fromTop);
  return block_.data() + kBmpHeaderBytes + kBmpColourTableBytes +
         static_cast<std::size_t>(fromBottom) * geometry_.stride;
}

}  // namespace lumbra
