// PCX test files built byte by byte.
#pragma once

#include <cstdint>
#include <vector>

namespace lumbra::test {

struct PcxFile {
  std::uint8_t version = 5;
  std::uint8_t encoding = 1;
  std::uint8_t bits = 8;
  std::uint8_t planes = 1;
  int width = 4;
  int height = 2;
  std::uint8_t headerMap[48] = {};
  std::vector<std::uint8_t> data;  // pixel data as stored from byte 128
  bool trailer = true;             // 0C + 768 palette bytes at the end
  std::uint8_t trailerMarker = 0x0C;

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out(128, 0);
    out[0] = 0x0A;
    out[1] = version;
    out[2] = encoding;
    out[3] = bits;
    out[8] = static_cast<std::uint8_t>(width - 1);
    out[9] = static_cast<std::uint8_t>((width - 1) >> 8);
    out[10] = static_cast<std::uint8_t>(height - 1);
    out[11] = static_cast<std::uint8_t>((height - 1) >> 8);
    for (int i = 0; i < 48; ++i) out[16 + i] = headerMap[i];
    out[65] = planes;
    out.insert(out.end(), data.begin(), data.end());
    if (trailer) {
      out.push_back(trailerMarker);
      // Entry i is (i, 255 - i, i / 2).
      for (int i = 0; i < 256; ++i) {
        out.push_back(static_cast<std::uint8_t>(i));
        out.push_back(static_cast<std::uint8_t>(255 - i));
        out.push_back(static_cast<std::uint8_t>(i / 2));
      }
    }
    return out;
  }
};

// Run-length codes every byte as a run of one (the form that works for any
// value and encoding byte).
inline std::vector<std::uint8_t> RunsOfOne(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint8_t> out;
  for (std::uint8_t b : bytes) {
    out.push_back(0xC1);
    out.push_back(b);
  }
  return out;
}

}  // namespace lumbra::test
