// Format dispatch by name and by content.
#include "images/image_format_registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/ascii_case.h"
#include "core/phase_trace.h"

namespace lumbra {

namespace {

constexpr std::size_t kMaxExtension = 4;

}  // namespace

bool ImageFormatRegistry::Register(std::string_view extension, ImageFileLoader loader,
                                   ImageMemoryDecoder decoder) {
  if (extension.size() > kMaxExtension) return false;
  ImageFormatHandler handler;
  std::copy(extension.begin(), extension.end(), handler.extension);
  handler.loader = loader;
  handler.decoder = decoder;
  handlers_.push_back(handler);
  return true;
}

std::string_view LookupExtension(std::string_view name) {
  if (!name.empty() && static_cast<unsigned char>(name[0]) == 0xFF) return ".ICO";
  if (SameIgnoringCase(name.substr(0, 6), "!ICON:")) return ".ICO";
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  return name.substr(dot, kMaxExtension);
}

ImagePtr ImageFormatRegistry::LoadByName(ImageOwner* owner, std::string_view name,
                                         bool resourceDefault, ImageLoadFlags flags) const {
  if (!name.empty() && name[0] == '~') {
    name.remove_prefix(1);
    resourceDefault = true;
  }
  const std::string_view extension = LookupExtension(name);
  if (extension.empty()) return nullptr;
  const PhaseScope phase("load and decode");
  for (const ImageFormatHandler& handler : handlers_) {
    if (handler.loader == nullptr || !SameIgnoringCase(handler.extension, extension)) continue;
    if (ImagePtr image = handler.loader(owner, name, resourceDefault, flags)) return image;
  }
  return nullptr;
}

ImagePtr ImageFormatRegistry::LoadFromMemory(ImageOwner* owner, const std::uint8_t* bytes,
                                             std::uint32_t count, ImageLoadFlags flags) const {
  if (bytes == nullptr || count == 0) return nullptr;
  const std::span<const std::uint8_t> source(bytes, count);
  for (const ImageFormatHandler& handler : handlers_) {
    if (handler.decoder == nullptr) continue;
    ImagePtr image = handler.decoder(owner, source, flags);
    if (!image) continue;
    if (image->NeedsSource() || !(flags & DiscardSource)) {
      image->KeepOwnedSource(std::vector<std::uint8_t>(source.begin(), source.end()));
    }
    return image;
  }
  return nullptr;
}

ImageFormatRegistry& BuiltInImageFormats() {
  static ImageFormatRegistry registry = [] {
    ImageFormatRegistry made;
    RegisterBuiltInFormats(made);
    return made;
  }();
  return registry;
}

ImagePtr LoadImageByName(ImageOwner* owner, std::string_view name, bool resourceDefault,
                         ImageLoadFlags flags) {
  return BuiltInImageFormats().LoadByName(owner, name, resourceDefault, flags);
}

ImagePtr LoadImageFromMemory(ImageOwner* owner, const std::uint8_t* bytes, std::uint32_t count,
                             ImageLoadFlags flags) {
  return BuiltInImageFormats().LoadFromMemory(owner, bytes, count, flags);
}

}  // namespace lumbra
