// Window wallpapers.
#include "winrt/wallpaper_win32.h"

#include "core/fixed_text.h"
#include "images/image_format_registry.h"
#include "winrt/image_control_win32.h"
#include "winrt/repaint_win32.h"

namespace lumbra {

Wallpaper::~Wallpaper() { Release(); }

void Wallpaper::Release() {
  if (image_) image_->DetachViewer(this);
  image_.reset();
  name_.clear();
}

void Wallpaper::Assign(std::string_view name) {
  Release();
  const std::string_view clipped = ClipTrailingBlanks(StripLeadingBlanks(name));
  if (!clipped.empty()) {
    image_ = LoadNamedImage(nullptr, clipped, kPlaceStretched);
    if (image_) {
      name_ = std::string(clipped);
      image_->AttachViewer(this, nullptr);
    }
  }
  RepaintWithChildren(window_);
}

void Wallpaper::SetStretched(bool on) {
  stretched_ = on;
  if (on) tiled_ = false;
  RepaintWithChildren(window_);
}

void Wallpaper::SetTiled(bool on) {
  tiled_ = on;
  if (on) stretched_ = false;
  RepaintWithChildren(window_);
}

void Wallpaper::RepaintImage(const ImageRect*) { RepaintWithChildren(window_); }

}  // namespace lumbra
