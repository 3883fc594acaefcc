// The file formats of the sample images, written from their pictures with
// the project's writers: the BMP writer of the decoders for 8-bit bitmaps,
// the test writers for GIF, PCX, placeable metafiles and JPEG, and here
// the bitmaps of other depths, icons and cursors.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/sample_images/sample_pictures.h"

namespace lumbra::samples {

using Bytes = std::vector<std::uint8_t>;

// BMP files: 8 bits through the decoders' BMP writer; 1, 4 and 8 bits from
// an indexed picture and 24 bits from a true-colour one, bottom-up, or
// top-down (a negative height) when asked.
Bytes Bmp8(const IndexedPicture& picture);
Bytes BmpIndexed(const IndexedPicture& picture, std::uint16_t bits, bool topDown = false);
Bytes Bmp24(const TruePicture& picture, bool topDown = false);

// One image of an icon or cursor file: the colours at the given depth (1,
// 4, 8 or 24 bits; the shallow ones reduced to the standard palettes) and
// the mask of the pixels that show.
struct IconPicture {
  TruePicture picture;
  std::vector<std::uint8_t> mask;
  std::uint16_t bits = 4;
  std::uint16_t hotspotX = 0, hotspotY = 0;  // cursors only
};
Bytes IconFile(const std::vector<IconPicture>& images);
Bytes CursorFile(const std::vector<IconPicture>& images);

// GIF files: one still image, interlaced or not; a still image whose
// index 0 is transparent; frames that loop forever, delay in hundredths
// of a second.
Bytes Gif(const IndexedPicture& picture, bool interlaced);
Bytes TransparentGif(const IndexedPicture& picture);
Bytes AnimatedGif(const std::vector<IndexedPicture>& frames, std::uint16_t delay);

// PCX files: 16 colours in four bit planes with the header's colour map,
// or 256 colours in one plane with the palette trailer.
Bytes Pcx16(const IndexedPicture& picture);
Bytes Pcx256(const IndexedPicture& picture);

// JPEG files (quality 95), in colour or grey.
Bytes Jpeg(const TruePicture& picture, bool grey);

// A placeable metafile of width x height logical units at the given units
// per inch, drawing shapes filled with colours.
Bytes ShapesMetafile(std::int16_t width, std::int16_t height, std::uint16_t unitsPerInch);

}  // namespace lumbra::samples
