// Behaviour common to every image object.
#include "images/image_object.h"

#include <cstdlib>
#include <utility>

namespace lumbra {

bool ImageObject::NeedsBackground() const { return false; }

void ImageObject::DrawInRectangle(std::uint32_t drawState, NativeDc dc, const ImageRect& rect) {
  if (flags_ & SizeOnly) return;
  const std::uintptr_t saved = BeginDrawing(drawState);
  switch (flags_ & kPlacementMask) {
    case kPlaceTiled:
      // An empty image cannot tile: stepping by its size would never end.
      if (width_ > 0 && height_ > 0) {
        for (std::int64_t y = rect.top; y < rect.bottom; y += height_) {
          for (std::int64_t x = rect.left; x < rect.right; x += width_) {
            DrawAt(dc, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), width_, height_);
          }
        }
      }
      break;
    case kPlaceCentred:
      DrawAt(dc, static_cast<std::int32_t>((std::int64_t{rect.left} + rect.right - width_) / 2),
             static_cast<std::int32_t>((std::int64_t{rect.top} + rect.bottom - height_) / 2),
             width_, height_);
      break;
    default: DrawAt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top); break;
  }
  EndDrawing(drawState, saved);
}

std::uintptr_t ImageObject::BeginDrawing(std::uint32_t) { return 0; }

void ImageObject::EndDrawing(std::uint32_t, std::uintptr_t) {}

bool ImageObject::GetSourceString(std::string& out) {
  if (!hasSource() || keptSize_ >= kMaxSourceString) return false;
  out.assign(reinterpret_cast<const char*>(keptBytes_), keptSize_);
  return true;
}

bool ImageObject::GetSourceHandle(std::span<const std::uint8_t>& out) {
  if (!hasSource()) return false;
  if (flags_ & SourceIsResource) {
    // A resource cannot be handed out as memory the caller may keep: it
    // becomes an owned copy.
    KeepOwnedSource(std::vector<std::uint8_t>(keptBytes_, keptBytes_ + keptSize_));
  }
  out = sourceBytes();
  return true;
}

void ImageObject::AttachViewer(ImageViewer*, const ImageRect*) {}

void ImageObject::DetachViewer(ImageViewer*) {}

bool ImageObject::SetProperty(std::uint32_t code, const std::string& value) {
  ImageLoadFlags mode;
  if (code == kPropTiled) {
    mode = kPlaceTiled;
  } else if (code == kPropCentred) {
    mode = kPlaceCentred;
  } else {
    return false;
  }
  const bool on = std::strtol(value.c_str(), nullptr, 10) != 0;
  if (on) {
    flags_ = static_cast<ImageLoadFlags>((flags_ & ~kPlacementMask) | mode);
  } else if ((flags_ & kPlacementMask) == mode) {
    flags_ = static_cast<ImageLoadFlags>(flags_ & ~kPlacementMask);
  }
  return true;
}

void ImageObject::SetPlacement(ImageLoadFlags placement) {
  const ImageLoadFlags mode = placement & kPlacementMask;
  const ImageLoadFlags current = flags_ & kPlacementMask;
  if (mode == kPlaceTiled || mode == kPlaceCentred) {
    flags_ = static_cast<ImageLoadFlags>((flags_ & ~kPlacementMask) | mode);
  } else if (current == kPlaceTiled || current == kPlaceCentred) {
    flags_ = static_cast<ImageLoadFlags>(flags_ & ~kPlacementMask);
  }
}

bool ImageObject::GetProperty(std::uint32_t code, std::string& out) const {
  const ImageLoadFlags mode = flags_ & kPlacementMask;
  if (code == kPropTiled) {
    out = mode == kPlaceTiled ? "1" : "0";
  } else if (code == kPropCentred) {
    out = mode == kPlaceCentred ? "1" : "0";
  } else {
    return false;
  }
  return true;
}

bool ImageObject::GetHandle(PictureHandle&) { return false; }

void ImageObject::AddColours(PaletteTarget*) {}

void ImageObject::CopyToClipboard(NativeWindow) {}

bool ImageObject::CoversRectangle() const {
  return (flags_ & kPlacementMask) != kPlaceCentred && !(flags_ & SizeOnly);
}

bool ImageObject::NeedsSource() const { return false; }

void ImageObject::ReleaseContents() { ReleaseSource(); }

ImageObject::~ImageObject() { ReleaseSource(); }

void ImageObject::KeepOwnedSource(std::vector<std::uint8_t> bytes) {
  ownedSource_ = std::move(bytes);
  keptBytes_ = ownedSource_.empty() ? nullptr : ownedSource_.data();
  keptSize_ = static_cast<std::uint32_t>(ownedSource_.size());
  sourceSize_ = keptSize_;
  flags_ = static_cast<ImageLoadFlags>(flags_ & ~SourceIsResource);
}

void ImageObject::KeepResourceSource(std::span<const std::uint8_t> bytes) {
  ownedSource_.clear();
  keptBytes_ = bytes.empty() ? nullptr : bytes.data();
  keptSize_ = static_cast<std::uint32_t>(bytes.size());
  sourceSize_ = keptSize_;
  flags_ = static_cast<ImageLoadFlags>(flags_ | SourceIsResource);
}

void ImageObject::ReleaseSource() {
  // A resource needs no release of its own: it lives with the module.
  std::vector<std::uint8_t>().swap(ownedSource_);
  keptBytes_ = nullptr;
  keptSize_ = 0;
  flags_ = static_cast<ImageLoadFlags>(flags_ & ~SourceIsResource);
}

}  // namespace lumbra
