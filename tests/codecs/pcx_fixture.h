// PCX test files built byte by byte.
#pragma once

#include <algorithm>
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
  // The trailer's 256 red, green, blue triples; empty: entry i is
  // (i, 255 - i, i / 2).
  std::vector<std::uint8_t> trailerColours;

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
      if (!trailerColours.empty()) {
        out.insert(out.end(), trailerColours.begin(), trailerColours.end());
        out.resize(out.size() + 768 - std::min<std::size_t>(768, trailerColours.size()), 0);
        return out;
      }
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

// Run-length codes bytes as a PCX writer does: repeats as runs of up to 63,
// and single bytes with both top bits set as runs of one.
inline std::vector<std::uint8_t> RunLength(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint8_t> out;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t run = 1;
    while (at + run < bytes.size() && run < 63 && bytes[at + run] == bytes[at]) ++run;
    if (run > 1 || bytes[at] >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 | run));
    out.push_back(bytes[at]);
    at += run;
  }
  return out;
}

}  // namespace lumbra::test
