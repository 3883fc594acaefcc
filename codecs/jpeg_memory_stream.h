// A read cursor over a block of bytes, the input both the JPEG data source
// and the PCX reader draw from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lumbra {

class MemoryStream {
 public:
  explicit MemoryStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  enum Origin { FromStart = 0, FromCurrent = 1, FromEnd = 2 };

  // Copies size x count bytes, cut to what is left; -1 when nothing is left,
  // else the number of bytes copied.
  long Read(void* destination, std::size_t size, std::size_t count);
  // The next byte (0-255), or -1 at the end.
  int ReadByte() { return position_ < bytes_.size() ? bytes_[position_++] : -1; }
  // Moves the cursor; 0 on success, -1 for an unknown origin or a target
  // before the start or past the end (the cursor then stays where it was).
  int Seek(long long offset, int origin);
  // Moves the cursor forward by up to count bytes, stopping at the end.
  void Skip(std::size_t count);

  std::size_t position() const { return position_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace lumbra
