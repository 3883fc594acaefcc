// The built-in formats, in the order the registry walks them, and what
// the rest of the program reads from them.
#include <algorithm>
#include <vector>

#include "core/ascii_case.h"
#include "images/format_handlers.h"
#include "images/image_format_registry.h"
#include "images/image_formats.h"

namespace lumbra {

namespace {

#ifdef _WIN32
#define LUMBRA_PLATFORM(f) f
#else
// The host build reads no files or resources and makes no platform images.
#define LUMBRA_PLATFORM(f) nullptr
#endif

// ".JPEG" and ".JFIF" are refused as longer than 4 characters: a .jpeg
// name is found through ".JPE", a .jfif name by content only.
// extension, file loader, memory decoder, listed as, decoded ahead, dialog text
constexpr ImageFormat kImageFormats[] = {
    {".EXE", LUMBRA_PLATFORM(LoadIconImage), nullptr, 0, false, ""},
    {".DLL", LUMBRA_PLATFORM(LoadIconImage), nullptr, 0, false, ""},
    {".ICO", LUMBRA_PLATFORM(LoadIconImage), nullptr, 3, false, "Icons (*.ICO)"},
    {".CUR", LUMBRA_PLATFORM(LoadIconImage), nullptr, 0, false, ""},
    {".ANI", LUMBRA_PLATFORM(LoadIconImage), nullptr, 0, false, ""},
    {".WMF", LUMBRA_PLATFORM(LoadMetafileImage), LUMBRA_PLATFORM(DecodeMetafile), 2, false,
     "Windows Metafiles *.WMF)"},
    {".TMP", LUMBRA_PLATFORM(LoadMetafileImage), LUMBRA_PLATFORM(DecodeMetafile), 0, false, ""},
    {".JPG", LUMBRA_PLATFORM(LoadJpegImage), DecodeJpeg, 6, true, "JPEG Files (*.JPG)"},
    {".JPEG", LUMBRA_PLATFORM(LoadJpegImage), DecodeJpeg, 0, false, ""},
    {".JPE", LUMBRA_PLATFORM(LoadJpegImage), DecodeJpeg, 0, true, ""},
    {".JFIF", LUMBRA_PLATFORM(LoadJpegImage), DecodeJpeg, 0, false, ""},
    {".PCX", LUMBRA_PLATFORM(LoadPcxImage), DecodePcx, 4, true, "PCX Files (*.PCX)"},
    {".BMP", LUMBRA_PLATFORM(LoadBitmapImage), DecodeBitmap, 1, true, "Windows Bitmaps (*.BMP)"},
    {".GIF", LUMBRA_PLATFORM(LoadGifImage), DecodeGif, 5, true, "GIF Files (*.GIF)"},
};

}  // namespace

void RegisterBuiltInFormats(ImageFormatRegistry& registry) {
  for (const ImageFormat& format : kImageFormats) {
    registry.Register(format.extension, format.loader, format.decoder);
  }
}

bool IsListedImageType(std::string_view type) {
  return std::any_of(std::begin(kImageFormats), std::end(kImageFormats), [&](const ImageFormat& f) {
    return f.listedAs > 0 && SameIgnoringCase(f.extension.substr(1), type);
  });
}

bool IsDecodedAheadExtension(std::string_view extension) {
  return std::any_of(std::begin(kImageFormats), std::end(kImageFormats), [&](const ImageFormat& f) {
    return f.decodedAhead && SameIgnoringCase(f.extension, extension);
  });
}

std::string ImageDialogFilter() {
  std::vector<const ImageFormat*> listed;
  for (const ImageFormat& format : kImageFormats) {
    if (format.listedAs > 0) listed.push_back(&format);
  }
  std::sort(listed.begin(), listed.end(),
            [](const ImageFormat* a, const ImageFormat* b) { return a->listedAs < b->listedAs; });
  std::string filter;
  for (const ImageFormat* format : listed) {
    filter.append(format->dialogText).append("|*").append(format->extension).append("|");
  }
  return filter + "All Files (*.*)|*.*";
}

}  // namespace lumbra
