// Painting image controls: as part of their window, or in a window of
// their own with scroll bars; what lies behind an image that leaves
// pixels uncovered; the recorded drawing over the image; the control's
// size for its image.
#include <windows.h>

#include "core/gdi_tally_win32.h"
#include "display/window_palette_win32.h"
#include "winrt/image_control_win32.h"

namespace lumbra {

namespace {

ImageRect ToImageRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool ImageControl::Scrolls() const {
  const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
  return (style & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

bool ImageControl::windowed() const { return Scrolls(); }

// Where the image lies in the control before scrolling: the client area,
// or, for a control with scroll bars that does not stretch, the image at
// its natural size.
RECT ImageControl::Extent() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (image_ && Scrolls() && !stretched_ && placement_ == kPlaceStretched) {
    return {0, 0, image_->width(), image_->naturalHeight()};
  }
  return client;
}

bool ImageControl::CoversClient() const {
  if (!image_ || !image_->CoversRectangle()) return false;
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT extent = Extent();
  OffsetRect(&extent, -scrollX_, -scrollY_);
  return extent.left <= client.left && extent.top <= client.top && extent.right >= client.right &&
         extent.bottom >= client.bottom;
}

void ImageControl::PaintClient(HDC dc, const RECT& paint) {
  if (palette_ != nullptr) palette_->SelectInto(dc);
  // The background is erased only for a metafile or no image; any other
  // image that leaves pixels uncovered shows what lies behind the control
  // there.
  if (image_ && !image_->NeedsBackground() && !CoversClient()) Erase(dc);
  if (!windowed()) {
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
    POINT origin;
    OffsetViewportOrgEx(dc, -rect.left, -rect.top, &origin);
    RECT update = paint;
    OffsetRect(&update, rect.left, rect.top);
    PaintInParent(dc, &update);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    return;
  }
  if (image_) {
    RECT extent = Extent();
    OffsetRect(&extent, -scrollX_, -scrollY_);
    image_->DrawInRectangle(0, dc, ToImageRect(extent));
  }
  if ((image_ || recording_.frameColour < 0) && recording_.play) {
    POINT origin;
    SetViewportOrgEx(dc, -scrollX_, -scrollY_, &origin);
    RECT clip = paint;
    OffsetRect(&clip, scrollX_, scrollY_);
    recording_.play(dc, clip);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  }
}

void ImageControl::PaintInParent(HDC dc, const RECT* update) {
  if (windowed()) return;
  RECT rect;
  GetWindowRect(hwnd_, &rect);
  MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
  RECT clip = rect;
  if (update != nullptr && !IntersectRect(&clip, &rect, update)) return;
  if (IsRectEmpty(&clip)) return;
  if (!image_ && recording_.frameColour >= 0) {
    HBRUSH frame = gdi_tally::Made(CreateSolidBrush(static_cast<COLORREF>(recording_.frameColour)));
    FrameRect(dc, &rect, frame);
    gdi_tally::Delete(frame);
    return;
  }
  SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  if (image_) image_->DrawInRectangle(0, dc, ToImageRect(rect));
  // The recording is played in the control's coordinates.
  OffsetViewportOrgEx(dc, rect.left - scrollX_, rect.top - scrollY_, nullptr);
  OffsetRect(&clip, -rect.left, -rect.top);
  if (recording_.play) recording_.play(dc, clip);
  RestoreDC(dc, -1);
}

LRESULT ImageControl::EraseBackground(HDC dc) {
  if (image_ && !image_->NeedsBackground()) return 0;
  Erase(dc);
  return 1;
}

void ImageControl::Erase(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (background_ >= 0) {
    HBRUSH brush = gdi_tally::Made(CreateSolidBrush(static_cast<COLORREF>(background_)));
    FillRect(dc, &client, brush);
    gdi_tally::Delete(brush);
  } else if (backdrop_) {
    backdrop_(hwnd_, dc);
  } else {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  }
}

void ImageControl::DefaultHeight(RECT& rect) const {
  if (!image_) return;
  if (naturalHeight_) {
    rect.bottom = rect.top + image_->naturalHeight();
  } else if (image_->width() != 0) {
    rect.bottom =
        rect.top + MulDiv(image_->naturalHeight(), rect.right - rect.left, image_->width());
  }
}

void ImageControl::DefaultWidth(RECT& rect) const {
  if (image_ && image_->naturalHeight() != 0) {
    rect.right =
        rect.left + MulDiv(image_->width(), rect.bottom - rect.top, image_->naturalHeight());
  }
}

}  // namespace lumbra
