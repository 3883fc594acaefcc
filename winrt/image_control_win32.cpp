// Image controls: loading, painting, erasing and scrolling.
#include "winrt/image_control_win32.h"

#include <algorithm>
#include <utility>

#include "core/fixed_text.h"
#include "core/phase_trace.h"
#include "display/window_palette_win32.h"
#include "images/bitmap_image.h"
#include "images/image_format_registry.h"

namespace lumbra {

namespace {

ImageSupply& Supply() {
  static ImageSupply supply;
  return supply;
}

}  // namespace

void SetImageSupply(ImageSupply supply) { Supply() = std::move(supply); }

ImagePtr LoadNamedImage(ImageOwner* owner, std::string_view name, ImageLoadFlags flags) {
  if (ImagePtr image = LoadImageByName(owner, name, false, flags)) return image;
  if (name.empty() || name.front() == '~') return nullptr;
  return LoadImageByName(owner, name, true, flags);
}

ImageControl::ImageControl(HWND hwnd, ImageLoadFlags placement, Backdrop backdrop,
                           WindowPalette* palette)
    : hwnd_(hwnd),
      placement_(placement & kPlacementMask),
      backdrop_(std::move(backdrop)),
      palette_(palette) {}

ImageControl::~ImageControl() { Release(); }

void ImageControl::Release() {
  if (image_) image_->DetachViewer(this);
  image_.reset();
}

void ImageControl::Assign(std::string_view name) {
  const PhaseScope phase("image control: assign");
  Release();
  const std::string_view clipped = ClipTrailingBlanks(StripLeadingBlanks(name));
  if (!clipped.empty()) image_ = Load(clipped);
  SetWindowTextA(hwnd_, image_ ? std::string(clipped).c_str() : "");
  scrollX_ = scrollY_ = 0;
  if (image_) {
    image_->AttachViewer(this, nullptr);
    if (!stretched_ && placement_ == kPlaceStretched && !Scrolls()) {
      SetWindowPos(hwnd_, nullptr, 0, 0, image_->width(), image_->naturalHeight(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  UpdateScrollBars();
  InvalidateRect(hwnd_, nullptr, TRUE);
  newPixels_ = image_ != nullptr;
}

ImagePtr ImageControl::Load(std::string_view name) {
  if (const ImageSupply& supply = Supply()) {
    // Decoded without an owner: the steps that need this control run here.
    if (ImagePtr ready = AdoptForOwner(supply(name, placement_), this, placement_)) {
      PhaseMark("image adopted from the prefetch");
      return ready;
    }
  }
  return LoadNamedImage(this, name, placement_);
}

void ImageControl::SetPlacement(ImageLoadFlags placement) {
  const PhaseScope phase("image control: placement");
  placement_ = placement & kPlacementMask;
  if (image_) image_->SetPlacement(placement_);
  UpdateScrollBars();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ImageControl::SetBackground(std::int32_t colour) {
  background_ = colour;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ImageControl::CopyToClipboard(HWND owner) {
  if (image_) image_->CopyToClipboard(owner);
}

void ImageControl::SetRecording(RecordedDrawing recording) {
  recording_ = std::move(recording);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

PaletteTarget* ImageControl::Palette() { return palette_; }

void ImageControl::UpdateScrollBars() {
  if (!Scrolls()) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  const RECT extent = Extent();
  struct {
    int bar;
    int size;
    int page;
    int* position;
  } bars[] = {
      {SB_HORZ, static_cast<int>(extent.right), static_cast<int>(client.right), &scrollX_},
      {SB_VERT, static_cast<int>(extent.bottom), static_cast<int>(client.bottom), &scrollY_}};
  for (auto& b : bars) {
    *b.position = std::clamp(*b.position, 0, std::max(0, b.size - b.page));
    SCROLLINFO info = {
        sizeof info, SIF_ALL, 0, std::max(0, b.size - 1), static_cast<UINT>(std::max(0, b.page)),
        *b.position, 0};
    SetScrollInfo(hwnd_, b.bar, &info, TRUE);
  }
}

void ImageControl::Scroll(int bar, WORD request) {
  SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hwnd_, bar, &info)) return;
  const int line = 8;
  const int page = std::max(1, static_cast<int>(info.nPage));
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = info.nMin; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
  }
  position = std::clamp(position, 0, std::max(0, info.nMax - page + 1));
  (bar == SB_HORZ ? scrollX_ : scrollY_) = position;
  SetScrollPos(hwnd_, bar, position, TRUE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

bool ImageControl::HandleMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
    case WM_PAINT: {
      const PhaseScope phase("image control: WM_PAINT");
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      PaintClient(dc, ps.rcPaint);
      EndPaint(hwnd_, &ps);
      if (newPixels_ && IsWindowVisible(hwnd_)) {
        newPixels_ = false;
        PhaseMark("first paint of the new pixels done");
      }
      result = 0;
      return true;
    }
    case WM_ERASEBKGND: {
      const PhaseScope phase("image control: WM_ERASEBKGND");
      result = EraseBackground(reinterpret_cast<HDC>(wp));
      return true;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd_, &client);
      PaintClient(reinterpret_cast<HDC>(wp), client);
      result = 0;
      return true;
    }
    case kQueryCoversRectangle:
      if (!image_ || !image_->CoversRectangle()) return false;
      result = 0;
      return true;
    case kQueryColours:
      if (image_) image_->AddColours(reinterpret_cast<PaletteTarget*>(wp));
      result = 0;
      return true;
    case WM_GETDLGCODE: result = DLGC_STATIC; return true;
    case WM_SIZE:
      UpdateScrollBars();
      // A picture painted over the whole control changes everywhere when
      // the control's size does, not only where the control grew.
      RepaintImage(nullptr);
      return false;
    case WM_HSCROLL:
      Scroll(SB_HORZ, LOWORD(wp));
      result = 0;
      return true;
    case WM_VSCROLL:
      Scroll(SB_VERT, LOWORD(wp));
      result = 0;
      return true;
    default: return false;
  }
}

void ImageControl::RepaintImage(const ImageRect* rect) {
  const BOOL erase = image_ && !CoversClient();
  if (rect) {
    RECT r = {rect->left - scrollX_, rect->top - scrollY_, rect->right - scrollX_,
              rect->bottom - scrollY_};
    InvalidateRect(hwnd_, &r, erase);
  } else {
    InvalidateRect(hwnd_, nullptr, erase);
  }
}

}  // namespace lumbra
