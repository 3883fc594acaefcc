// The image control: a native child window that shows an image object,
// stretched over the control, centred in it or tiled from its corner.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "codecs/image_object.h"

namespace lumbra {

class ImageControl final : public ImageOwner, public ImageViewer {
 public:
  // Paints what lies behind a control into its device context (the
  // window's background colour and wallpaper).
  using Backdrop = std::function<void(HWND control, HDC dc)>;

  ImageControl(HWND hwnd, ImageLoadFlags placement, Backdrop backdrop);
  ~ImageControl();
  ImageControl(const ImageControl&) = delete;
  ImageControl& operator=(const ImageControl&) = delete;

  // Replaces the image by the named one (files before resources; a
  // leading "~" names a resource). The control's text becomes the name,
  // or blank when nothing could be loaded. Without stretching, a control
  // that stretches its image takes the image's natural size.
  void Assign(std::string_view name);
  ImageObject* image() const { return image_.get(); }

  // Placement of the image: kPlaceStretched, kPlaceCentred or kPlaceTiled.
  void SetPlacement(ImageLoadFlags placement);
  ImageLoadFlags placement() const { return placement_; }
  // With stretching on, the control keeps its size when an image arrives.
  void SetStretched(bool on) { stretched_ = on; }
  bool stretched() const { return stretched_; }
  // The colour behind the image (-1: what lies behind the control).
  void SetBackground(std::int32_t colour);
  std::int32_t background() const { return background_; }

  // Puts the image on the clipboard; nothing without an image.
  void CopyToClipboard(HWND owner);

  // The control's own messages; false leaves a message to the default
  // handling.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // ImageOwner: images are shown in screen pixels, without a palette.
  bool UsesDeviceUnits() override { return false; }
  NativeDc GetDc() override { return GetDC(hwnd_); }
  void ReleaseDc(NativeDc dc) override { ReleaseDC(hwnd_, dc); }
  bool KeepsPalette() override { return false; }
  PaletteTarget* Palette() override { return nullptr; }
  // ImageViewer
  void RepaintImage(const ImageRect* rect) override;

 private:
  void Release();
  RECT Extent() const;
  bool Scrolls() const;
  void UpdateScrollBars();
  void Scroll(int bar, WORD request);
  void Paint(HDC dc);
  void Erase(HDC dc);

  HWND hwnd_;
  ImagePtr image_;
  ImageLoadFlags placement_;
  Backdrop backdrop_;
  bool stretched_ = false;
  std::int32_t background_ = -1;
  int scrollX_ = 0;
  int scrollY_ = 0;
};

}  // namespace lumbra
