// The JPEG memory decoder behind ".JPG" and ".JPE", and the step it shares
// with the PCX decoder: wrapping a written DecodedImage in a BitmapImage.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "images/image_object.h"

namespace lumbra {

// Wraps a DecodedImage block through the bitmap decoder. The image keeps
// the block unless only its size was wanted; its default extension becomes
// extension. Nothing when there is no block or the bitmap decoder refuses.
ImagePtr BitmapFromDecodedImage(ImageOwner* owner, std::optional<std::vector<std::uint8_t>> block,
                                ImageLoadFlags flags, std::string_view extension);

}  // namespace lumbra
