// Built only while the JPEG and PCX decoders are not part of the tree:
// their registry slots exist and yield nothing.
#include "codecs/format_handlers.h"

namespace lumbra {

ImagePtr DecodeJpeg(ImageOwner*, std::span<const std::uint8_t>, ImageLoadFlags) { return nullptr; }
ImagePtr DecodePcx(ImageOwner*, std::span<const std::uint8_t>, ImageLoadFlags) { return nullptr; }

#ifdef _WIN32
ImagePtr LoadJpegImage(ImageOwner*, std::string_view, bool, ImageLoadFlags) { return nullptr; }
ImagePtr LoadPcxImage(ImageOwner*, std::string_view, bool, ImageLoadFlags) { return nullptr; }
#endif

}  // namespace lumbra
