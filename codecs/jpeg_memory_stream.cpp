#include "codecs/jpeg_memory_stream.h"

#include <cstring>

namespace lumbra {

long MemoryStream::Read(void* destination, std::size_t size, std::size_t count) {
  const std::size_t left = bytes_.size() - position_;
  if (left == 0) return -1;
  if (size == 0 || count == 0) return 0;
  const std::size_t n = size <= left / count ? size * count : left;
  std::memcpy(destination, bytes_.data() + position_, n);
  position_ += n;
  return static_cast<long>(n);
}

int MemoryStream::Seek(long long offset, int origin) {
  long long base = 0;
  switch (origin) {
    case FromStart: base = 0; break;
    case FromCurrent: base = static_cast<long long>(position_); break;
    case FromEnd: base = static_cast<long long>(bytes_.size()); break;
    default: return -1;
  }
  const long long target = base + offset;
  if (target < 0 || target > static_cast<long long>(bytes_.size())) return -1;
  position_ = static_cast<std::size_t>(target);
  return 0;
}

void MemoryStream::Skip(std::size_t count) {
  const std::size_t left = bytes_.size() - position_;
  position_ += count < left ? count : left;
}

}  // namespace lumbra
