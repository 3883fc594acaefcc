// The image control: a native child window that shows an image object,
// stretched over the control, centred in it or tiled from its corner.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "images/image_object.h"

namespace lumbra {

class WindowPalette;

// The runtime's question to a control: does it paint every pixel of its
// rectangle? Answered as handled (0) by an image control whose image does.
inline constexpr UINT kQueryCoversRectangle = 0x241F;

// Drawing recorded for an image control and played over its image, in the
// control's coordinates, clipped to the rectangle given. Without an image,
// a frame colour (not -1) shows the control as a frame instead.
struct RecordedDrawing {
  std::function<void(HDC dc, const RECT& clip)> play;
  std::int32_t frameColour = -1;
};

// Images decoded ahead of time, offered to image controls before they load
// a name themselves: the supply gives the image made for the name with the
// flags, or nothing. An empty supply offers nothing.
using ImageSupply = std::function<ImagePtr(std::string_view name, ImageLoadFlags flags)>;
void SetImageSupply(ImageSupply supply);

// An image named by a window's description or the program: the file of
// that name first, then the program's image resource of that name (a
// leading "~" asks for the resource alone).
ImagePtr LoadNamedImage(ImageOwner* owner, std::string_view name, ImageLoadFlags flags);

class ImageControl final : public ImageOwner, public ImageViewer {
 public:
  // Paints what lies behind a control into its device context (the
  // window's background colour and wallpaper).
  using Backdrop = std::function<void(HWND control, HDC dc)>;

  ImageControl(HWND hwnd, ImageLoadFlags placement, Backdrop backdrop,
               WindowPalette* palette = nullptr);
  ~ImageControl();
  ImageControl(const ImageControl&) = delete;
  ImageControl& operator=(const ImageControl&) = delete;

  // Replaces the image by the named one (files before resources; a
  // leading "~" names a resource), taking it from the image supply when
  // that has it. The control's text becomes the name,
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

  void SetRecording(RecordedDrawing recording);
  // A control with scroll bars is windowed: it paints itself, scrolled.
  // Any other is painted as part of its window, where it lies on it.
  bool windowed() const;
  // Paints the control into its window's device context (hdc's origin the
  // window's client origin), within the update rectangle (all of the
  // control for nullptr). A windowed control paints nothing here.
  void PaintInParent(HDC dc, const RECT* update);
  // Whether the control's image paints every pixel of the client area.
  bool CoversClient() const;
  // The control's size for its image: the height that keeps the image's
  // proportions at the rectangle's width (its natural height with the
  // natural-height flag), and the width that does at its height.
  void SetNaturalHeight(bool on) { naturalHeight_ = on; }
  void DefaultHeight(RECT& rect) const;
  void DefaultWidth(RECT& rect) const;

  // The control's own messages; false leaves a message to the default
  // handling.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // ImageOwner: images are shown in screen pixels, with the window's
  // palette on palette displays.
  bool UsesDeviceUnits() override { return false; }
  NativeDc GetDc() override { return GetDC(hwnd_); }
  void ReleaseDc(NativeDc dc) override { ReleaseDC(hwnd_, dc); }
  bool KeepsPalette() override { return palette_ != nullptr; }
  PaletteTarget* Palette() override;
  // ImageViewer
  void RepaintImage(const ImageRect* rect) override;

 private:
  void Release();
  // The named image: the supply's, adopted for this control, or loaded.
  ImagePtr Load(std::string_view name);
  RECT Extent() const;
  bool Scrolls() const;
  void UpdateScrollBars();
  void Scroll(int bar, WORD request);
  // Paints the client area into dc: what lies behind an image that does
  // not cover it, the image, the recorded drawing.
  void PaintClient(HDC dc, const RECT& paint);
  LRESULT EraseBackground(HDC dc);
  void Erase(HDC dc);

  HWND hwnd_;
  ImagePtr image_;
  ImageLoadFlags placement_;
  Backdrop backdrop_;
  WindowPalette* palette_;
  RecordedDrawing recording_;
  bool naturalHeight_ = false;
  bool stretched_ = false;
  std::int32_t background_ = -1;
  bool newPixels_ = false;  // an image assigned and not yet painted
  int scrollX_ = 0;
  int scrollY_ = 0;
};

}  // namespace lumbra
