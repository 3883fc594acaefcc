// The image object family: a loaded image that knows its size, keeps (or
// not) its source bytes, and draws itself into a device context.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/native_handles.h"
#include "display/palette_target.h"
#include "images/image_load_flags.h"

namespace lumbra {

struct ImageRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The control on whose behalf an image is loaded.
class ImageOwner {
 public:
  // Whether images shown by this control are converted to the resolution of
  // its device context.
  virtual bool UsesDeviceUnits() = 0;
  virtual NativeDc GetDc() = 0;
  virtual void ReleaseDc(NativeDc dc) = 0;
  // Whether the control's window keeps a palette, and that palette.
  virtual bool KeepsPalette() = 0;
  virtual PaletteTarget* Palette() = 0;

 protected:
  ~ImageOwner() = default;
};

// A control that shows an image and repaints when an animation advances.
class ImageViewer {
 public:
  // Repaints the given rectangle of the control, or all of it for nullptr.
  virtual void RepaintImage(const ImageRect* rect) = 0;

 protected:
  ~ImageViewer() = default;
};

// What Get-handle gives: a picture kind (1 bitmap, 3 icon) and its handle.
struct PictureHandle {
  std::int32_t kind = 0;
  void* handle = nullptr;
  NativePalette palette = nullptr;
};

// The two property codes an image answers (SetProperty, GetProperty): each
// turns its placement mode on or back off.
inline constexpr std::uint32_t kPropTiled = 0x7A16;
inline constexpr std::uint32_t kPropCentred = 0x7A17;

// Largest source handed out as a string value.
inline constexpr std::uint32_t kMaxSourceString = 65535;

class ImageObject {
 public:
  ImageObject(const ImageObject&) = delete;
  ImageObject& operator=(const ImageObject&) = delete;

  // The virtual operations, in their fixed order.
  virtual bool NeedsBackground() const;
  virtual void DrawAt(NativeDc dc, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height) = 0;
  virtual void DrawInRectangle(std::uint32_t drawState, NativeDc dc, const ImageRect& rect);
  virtual std::uintptr_t BeginDrawing(std::uint32_t drawState);
  virtual void EndDrawing(std::uint32_t drawState, std::uintptr_t saved);
  // The source bytes as a string value when one is kept and is shorter
  // than 65,535 bytes.
  virtual bool GetSourceString(std::string& out);
  // The kept source as owned bytes; a resource source is copied first.
  virtual bool GetSourceHandle(std::span<const std::uint8_t>& out);
  virtual std::string GetExtension() const = 0;
  virtual bool DrawStretched(NativeDc dc, const ImageRect& rect) = 0;
  virtual void AttachViewer(ImageViewer* viewer, const ImageRect* rect);
  virtual void DetachViewer(ImageViewer* viewer);
  virtual bool SetProperty(std::uint32_t code, const std::string& value);
  virtual bool GetProperty(std::uint32_t code, std::string& out) const;
  virtual bool GetHandle(PictureHandle& out);
  virtual void AddColours(PaletteTarget* palette);
  virtual void CopyToClipboard(NativeWindow window);
  virtual bool CoversRectangle() const;
  virtual bool NeedsSource() const;
  virtual void ReleaseContents();
  virtual ~ImageObject();

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  // The height shown: its magnitude (a top-down bitmap stores it negative).
  std::int32_t naturalHeight() const {
    return height_ >= 0 ? height_ : (height_ == INT32_MIN ? INT32_MAX : -height_);
  }
  ImageLoadFlags flags() const { return flags_; }
  // Moves the image to the placement wanted (kPlaceStretched, kPlaceCentred
  // or kPlaceTiled): centred and tiled are set, any other value turns
  // centred or tiled back to stretched.
  void SetPlacement(ImageLoadFlags placement);
  std::uint32_t sourceSize() const { return sourceSize_; }
  std::uint32_t sourceStamp() const { return sourceStamp_; }
  // The kept source bytes (empty when none is kept).
  bool hasSource() const { return keptBytes_ != nullptr; }
  std::span<const std::uint8_t> sourceBytes() const { return {keptBytes_, keptSize_}; }

  // Source bookkeeping for the readers: the image takes an owned copy, or
  // keeps a view of a resource that lives as long as the program.
  void KeepOwnedSource(std::vector<std::uint8_t> bytes);
  void KeepResourceSource(std::span<const std::uint8_t> bytes);
  void SetSourceStamp(std::uint32_t stamp) { sourceStamp_ = stamp; }
  void SetSourceSize(std::uint32_t size) { sourceSize_ = size; }

 protected:
  explicit ImageObject(ImageLoadFlags flags) : flags_(flags) {}
  void ReleaseSource();

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;

  ImageLoadFlags flags_;

 private:
  std::vector<std::uint8_t> ownedSource_;
  const std::uint8_t* keptBytes_ = nullptr;
  std::uint32_t keptSize_ = 0;
  std::uint32_t sourceSize_ = 0;
  std::uint32_t sourceStamp_ = 0;
};

using ImagePtr = std::unique_ptr<ImageObject>;

}  // namespace lumbra
