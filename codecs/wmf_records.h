// The checks made on each record of a metafile before the platform plays
// it: playback takes a record's counts, object indices and embedded
// bitmaps as they stand, so they must stay inside the record and the
// metafile's object table.
#pragma once

#include <cstdint>
#include <span>

namespace lumbra {

// Whether playing a record with this function and these parameter bytes
// (everything after its size and function) stays inside them and uses only
// object slots below `objects`. Functions the platform ignores pass.
bool RecordParametersFit(std::uint16_t function, std::span<const std::uint8_t> parameters,
                         std::uint16_t objects);

}  // namespace lumbra
