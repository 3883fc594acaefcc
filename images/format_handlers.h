// The loaders and memory decoders behind the built-in registrations.
//
// Loaders that read files and resources (through ReadImageSource) and the
// platform-made images (icons, metafiles) exist in the Windows build only.
// The JPEG and PCX handlers are provided by their decoders: both decoders
// in every build, both loaders in the Windows build.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "images/image_object.h"

namespace lumbra {

ImagePtr DecodeGif(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags);
ImagePtr DecodeBitmap(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags);
ImagePtr DecodeJpeg(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags);
ImagePtr DecodePcx(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags);

#ifdef _WIN32
ImagePtr LoadIconImage(ImageOwner* owner, std::string_view name, bool fromResource,
                       ImageLoadFlags flags);
ImagePtr LoadMetafileImage(ImageOwner* owner, std::string_view name, bool fromResource,
                           ImageLoadFlags flags);
ImagePtr DecodeMetafile(ImageOwner* owner, std::span<const std::uint8_t> bytes,
                        ImageLoadFlags flags);
ImagePtr LoadBitmapImage(ImageOwner* owner, std::string_view name, bool fromResource,
                         ImageLoadFlags flags);
ImagePtr LoadGifImage(ImageOwner* owner, std::string_view name, bool fromResource,
                      ImageLoadFlags flags);
ImagePtr LoadJpegImage(ImageOwner* owner, std::string_view name, bool fromResource,
                       ImageLoadFlags flags);
ImagePtr LoadPcxImage(ImageOwner* owner, std::string_view name, bool fromResource,
                      ImageLoadFlags flags);
#endif

}  // namespace lumbra
