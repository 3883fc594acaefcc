// The built-in registrations, in the order the registry walks them.
#include "codecs/format_handlers.h"
#include "codecs/image_format_registry.h"

namespace lumbra {

namespace {

struct BuiltInFormat {
  const char* extension;
  ImageFileLoader loader;
  ImageMemoryDecoder decoder;
};

#ifdef _WIN32
#define LUMBRA_PLATFORM(f) f
#else
// The host build reads no files or resources and makes no platform images.
#define LUMBRA_PLATFORM(f) nullptr
#endif

// ".JPEG" and ".JFIF" are refused as longer than 4 characters: a .jpeg
// name is found through ".JPE", a .jfif name by content only.
const BuiltInFormat kBuiltInFormats[] = {
    {".EXE", LUMBRA_PLATFORM(LoadIconImage), nullptr},
    {".DLL", LUMBRA_PLATFORM(LoadIconImage), nullptr},
    {".ICO", LUMBRA_PLATFORM(LoadIconImage), nullptr},
    {".CUR", LUMBRA_PLATFORM(LoadIconImage), nullptr},
    {".ANI", LUMBRA_PLATFORM(LoadIconImage), nullptr},
    {".WMF", LUMBRA_PLATFORM(LoadMetafileImage), LUMBRA_PLATFORM(DecodeMetafile)},
    {".TMP", LUMBRA_PLATFORM(LoadMetafileImage), LUMBRA_PLATFORM(DecodeMetafile)},
    {".JPG", LUMBRA_PLATFORM(LoadJpegImage), DecodeJpeg},
    {".JPEG", LUMBRA_PLATFORM(LoadJpegImage), DecodeJpeg},
    {".JPE", LUMBRA_PLATFORM(LoadJpegImage), DecodeJpeg},
    {".JFIF", LUMBRA_PLATFORM(LoadJpegImage), DecodeJpeg},
    {".PCX", LUMBRA_PLATFORM(LoadPcxImage), DecodePcx},
    {".BMP", LUMBRA_PLATFORM(LoadBitmapImage), DecodeBitmap},
    {".GIF", LUMBRA_PLATFORM(LoadGifImage), DecodeGif},
};

}  // namespace

void RegisterBuiltInFormats(ImageFormatRegistry& registry) {
  for (const BuiltInFormat& format : kBuiltInFormats) {
    registry.Register(format.extension, format.loader, format.decoder);
  }
}

}  // namespace lumbra
