// Mutated copies of a seed file, each made from its number alone so that
// a faulting input can be made again from the number that was recorded.
#pragma once

#include <cstdint>
#include <vector>

namespace lumbra::platform_fuzz {

using Bytes = std::vector<std::uint8_t>;

// The seed with one to three mutations chosen by `number`: bit flips, a run
// of one byte value, a truncation, an inserted or duplicated chunk, or a
// header field (16 or 32 bits in the first 64 bytes) set to 0, 1, -1 or a
// huge value.
Bytes Mutate(const Bytes& seed, std::uint64_t number);

}  // namespace lumbra::platform_fuzz
