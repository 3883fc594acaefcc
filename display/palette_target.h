// The colours of a window, as images and controls contribute to them. The
// display's window palette implements it.
#pragma once

#include <cstdint>

namespace lumbra {

class PaletteTarget {
 public:
  virtual void MarkDirty() = 0;
  // count entries of 4 bytes: blue, green, red, 0.
  virtual void AddColourTable(const std::uint8_t* entries, std::uint32_t count) = 0;

 protected:
  ~PaletteTarget() = default;
};

}  // namespace lumbra
