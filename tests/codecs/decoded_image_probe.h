// Reads back an 8-bit DecodedImage as the tests check it: header fields,
// colour-table entries and the colour of a pixel counted from the top.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "codecs/decoded_image.h"
#include "tests/codecs/jpeg_fixture.h"

namespace lumbra::test {

struct DecodedProbe {
  explicit DecodedProbe(const std::vector<std::uint8_t>& bytes) : bytes_(&bytes) {}

  std::uint32_t U32(std::size_t at) const { return ReadU32(bytes_->data() + at); }
  std::int32_t width() const { return ReadS32(bytes_->data() + 18); }
  std::int32_t height() const { return ReadS32(bytes_->data() + 22); }
  std::uint32_t stride() const { return (static_cast<std::uint32_t>(width()) + 3) & ~3u; }
  std::uint32_t Entry(int i) const { return U32(54 + 4 * static_cast<std::size_t>(i)); }
  Rgb EntryColour(int i) const {
    const std::uint8_t* e = bytes_->data() + 54 + 4 * i;
    return Rgb{e[2], e[1], e[0]};
  }
  const std::uint8_t* RowFromTop(int y) const {
    return bytes_->data() + U32(10) + static_cast<std::size_t>(height() - 1 - y) * stride();
  }
  int Index(int x, int y) const { return RowFromTop(y)[x]; }
  Rgb Colour(int x, int y) const { return EntryColour(Index(x, y)); }

 private:
  const std::vector<std::uint8_t>* bytes_;
};

inline bool Near(const Rgb& a, const Rgb& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

}  // namespace lumbra::test
