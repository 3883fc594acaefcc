// Drives libjpeg over a JPEG held in memory and writes the picture as an
// 8-bit DecodedImage: grey files with a 0..255 ramp, colour files quantized
// to at most 256 colours with dithering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "codecs/bmp_writer.h"

namespace lumbra {

// Whether the bytes begin with the start-of-image marker FF D8.
bool IsJpegStart(std::span<const std::uint8_t> bytes);

// The frame marker (C0..CF) of the first frame header, walking the marker
// segments from the start of the image; -1 when there is none before the
// first scan or the end.
int JpegFrameMarker(std::span<const std::uint8_t> bytes);

// Decodes a sequential Huffman-coded 8-bit JPEG (frame C0 or C1, JFIF major
// version 1, grey or YCbCr/RGB colour) into a DecodedImage block. With
// sizeOnly only the headers are read and only the block's headers and
// colour table are present. Nothing for any refused or failing file.
// memoryLimit bounds both the library's working memory and the block.
std::optional<std::vector<std::uint8_t>> DecodeJpegImage(
    std::span<const std::uint8_t> bytes, bool sizeOnly,
    std::size_t memoryLimit = kDecodedImageLimit);

}  // namespace lumbra
