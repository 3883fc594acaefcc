// Mutations of seed files.
#include "tools/platform_fuzz/mutation.h"

#include <algorithm>

namespace lumbra::platform_fuzz {

namespace {

// splitmix64: a small, well-mixed generator for reproducible choices.
class Choices {
 public:
  explicit Choices(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number below n (n > 0).
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

 private:
  std::uint64_t state_;
};

void FlipBits(Bytes& b, Choices& c) {
  for (std::size_t n = 1 + c.Below(8); n > 0 && !b.empty(); --n) {
    b[c.Below(b.size())] ^= static_cast<std::uint8_t>(1u << c.Below(8));
  }
}

void ByteRun(Bytes& b, Choices& c) {
  if (b.empty()) return;
  const std::size_t at = c.Below(b.size());
  const std::size_t length = std::min(b.size() - at, 1 + c.Below(64));
  constexpr std::uint8_t kValues[] = {0x00, 0xFF, 0x7F, 0x80, 0x41};
  const std::uint8_t value = kValues[c.Below(sizeof kValues)];
  std::fill_n(b.begin() + static_cast<long>(at), length, value);
}

void Truncate(Bytes& b, Choices& c) {
  if (!b.empty()) b.resize(c.Below(b.size()));
}

// A slice of the file inserted elsewhere (a chunk or block duplicated or
// moved into a place where it does not belong).
void InsertChunk(Bytes& b, Choices& c) {
  if (b.empty()) return;
  const std::size_t from = c.Below(b.size());
  const std::size_t length = std::min(b.size() - from, 1 + c.Below(256));
  const Bytes chunk(b.begin() + static_cast<long>(from),
                    b.begin() + static_cast<long>(from + length));
  const std::size_t to = c.Below(b.size() + 1);
  const std::size_t copies = c.Below(4) == 0 ? 1 + c.Below(16) : 1;
  for (std::size_t i = 0; i < copies; ++i) {
    b.insert(b.begin() + static_cast<long>(to), chunk.begin(), chunk.end());
  }
}

void SetHeaderField(Bytes& b, Choices& c) {
  const std::size_t limit = std::min<std::size_t>(b.size(), 64);
  if (limit < 4) return;
  const bool wide = c.Below(2) == 0;
  const std::size_t at = c.Below(limit - (wide ? 3 : 1)) & ~std::size_t{1};
  constexpr std::uint32_t kValues[] = {0,           1,       0xFFFFFFFFu, 0x7FFFFFFFu,
                                       0x80000000u, 0x10000, 0xFFFF};
  const std::uint32_t value = kValues[c.Below(sizeof kValues / sizeof kValues[0])];
  for (std::size_t i = 0; i < (wide ? 4u : 2u); ++i) {
    b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace

Bytes Mutate(const Bytes& seed, std::uint64_t number) {
  using Mutation = void (*)(Bytes&, Choices&);
  constexpr Mutation kMutations[] = {FlipBits,    ByteRun,        Truncate,
                                     InsertChunk, SetHeaderField, SetHeaderField};
  Choices choices(number);
  Bytes bytes = seed;
  for (std::size_t n = 1 + choices.Below(3); n > 0; --n) {
    kMutations[choices.Below(sizeof kMutations / sizeof kMutations[0])](bytes, choices);
  }
  return bytes;
}

}  // namespace lumbra::platform_fuzz
