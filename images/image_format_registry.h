// The format registry: finds the handler for an image by the extension of
// its name, or by content for bytes in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "images/image_object.h"

namespace lumbra {

// Loads a named image (file or resource); may be absent.
using ImageFileLoader = ImagePtr (*)(ImageOwner* owner, std::string_view name, bool fromResource,
                                     ImageLoadFlags flags);
// Decodes bytes in memory when they are of its format; may be absent.
using ImageMemoryDecoder = ImagePtr (*)(ImageOwner* owner, std::span<const std::uint8_t> bytes,
                                        ImageLoadFlags flags);

struct ImageFormatHandler {
  char extension[5] = {};  // at most 4 characters with the dot
  ImageFileLoader loader = nullptr;
  ImageMemoryDecoder decoder = nullptr;
};

class ImageFormatRegistry {
 public:
  // Adds a handler; false (nothing added) for an extension longer than 4.
  bool Register(std::string_view extension, ImageFileLoader loader, ImageMemoryDecoder decoder);

  ImagePtr LoadByName(ImageOwner* owner, std::string_view name, bool resourceDefault,
                      ImageLoadFlags flags) const;
  ImagePtr LoadFromMemory(ImageOwner* owner, const std::uint8_t* bytes, std::uint32_t count,
                          ImageLoadFlags flags) const;

  const std::vector<ImageFormatHandler>& handlers() const { return handlers_; }

 private:
  std::vector<ImageFormatHandler> handlers_;
};

// The extension under which a name is looked up: ".ICO" for icon
// references (a leading FF byte or "!ICON:"), else the text from the last
// "." cut to 4 characters; empty without a dot. A leading "~" is not part
// of the name here.
std::string_view LookupExtension(std::string_view name);

// The program's registry with the built-in handlers, made on first use.
ImageFormatRegistry& BuiltInImageFormats();
// Adds the built-in handlers in their order to a registry.
void RegisterBuiltInFormats(ImageFormatRegistry& registry);

// The two load operations on the program's registry.
ImagePtr LoadImageByName(ImageOwner* owner, std::string_view name, bool resourceDefault,
                         ImageLoadFlags flags);
ImagePtr LoadImageFromMemory(ImageOwner* owner, const std::uint8_t* bytes, std::uint32_t count,
                             ImageLoadFlags flags);

}  // namespace lumbra
