// Icon files whose 32-bit images carry no mask rows, as many small icons
// are written: the alpha channel says all the mask would, so the mask the
// platform wants is built from it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lumbra {

// The icon or cursor file with a mask added to every 32-bit bitmap image
// that ends with its colour rows; empty when no image lacks one or the
// directory does not lie inside the file. A pixel is masked out where its
// alpha is 0, unless the image has no alpha at all (every alpha 0).
std::vector<std::uint8_t> IconFileWithMasks(std::span<const std::uint8_t> file);

}  // namespace lumbra
