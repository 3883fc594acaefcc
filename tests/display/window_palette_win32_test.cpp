// Window palettes as users meet them: on a palette display (an 8-bit
// Xvfb) a window shows a 24-bit photo through its own palette, converted
// to 8 bits; on a true-colour display nothing of that happens.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "codecs/decoded_image.h"
#include "display/window_palette_win32.h"
#include "images/bitmap_image.h"
#include "tests/display/bmp24.h"
#include "tests/support/raised_errors.h"
#include "tests/winrt/control_plan.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"
#include "winrt/window_internal_win32.h"

namespace lumbra {
namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 64;

// A photo-like colour at (x, y), y from the top: smooth ramps with a
// ripple, several thousand distinct colours.
COLORREF PhotoColour(std::int32_t x, std::int32_t y) {
  return RGB(x * 255 / (kWidth - 1), y * 255 / (kHeight - 1), (x * 3 + y * 5) % 200 + 40);
}

void WritePhoto(const std::string& name) {
  const auto b = testing::MakeBmp24(kWidth, kHeight, PhotoColour);
  std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
}

// How far two colours lie apart: the largest difference of a component.
int Apart(COLORREF a, COLORREF b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

// The bits per pixel of the CF_DIB on the clipboard (0 when there is none).
int ClipboardBitCount() {
  if (!OpenClipboard(nullptr)) return 0;
  int bits = 0;
  if (HANDLE block = GetClipboardData(CF_DIB)) {
    if (const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block))) {
      bits = header->biBitCount;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return bits;
}

class PhotoWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler(testing::ThrowRaisedError);
    SetRuntimeStarted(true);
    WritePhoto("photo.bmp");
    WindowPlan plan;
    plan.name = "$PHOTO";
    plan.title = "Photo";
    plan.rect = {0, 0, 200, 120};
    plan.pixelUnits = true;
    plan.controls = {Ctl(ControlType::Image, 1, {8, 8, kWidth, kHeight}, "photo.bmp")};
    CreateWindowFromPlan(window_, std::move(plan));
    OpenWindowObject(window_);
    ASSERT_TRUE(WindowIsOpen(window_));
    SetForegroundWindow(Hwnd(0));
    Repaint();
  }
  void TearDown() override {
    CloseWindowObject(window_);
    SetRuntimeStarted(false);
    SetRuntimeErrorHandler(nullptr);
  }
  HWND Hwnd(std::int32_t control) const {
    return reinterpret_cast<HWND>(NativeHandle(window_, control));
  }
  // Paints the window now, with everything on it.
  void Repaint() {
    RedrawWindow(Hwnd(0), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  WindowPalette* Palette() { return window_.native->palette.get(); }
  BitmapImage* Photo() {
    return dynamic_cast<BitmapImage*>(internal::FindControl(&window_, 1)->image->image());
  }
  int PaintedBitCount() {
    const auto layout = CheckDecodedImage(Photo()->PaintedBytes());
    return layout ? layout->header.bitCount : 0;
  }
  Window window_;
};

TEST_F(PhotoWindow, OnAPaletteDisplayThePhotoShowsThroughTheWindowsPalette) {
  HDC screen = GetDC(nullptr);
  ASSERT_TRUE(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) << "not on an 8-bit display";
  EXPECT_EQ(GetDeviceCaps(screen, SIZEPALETTE), 256);
  EXPECT_EQ(GetDeviceCaps(screen, NUMRESERVED), 20);
  ReleaseDC(nullptr, screen);

  // Every window asks for all the entries the display leaves free; the
  // palette holds the static entries, then at most that many reduced
  // colours of the photo's thousands.
  WindowPalette* palette = Palette();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->available(), 236u);
  EXPECT_EQ(palette->maximum(), 236u);
  EXPECT_FALSE(palette->dirty());
  ASSERT_NE(palette->handle(), nullptr);
  EXPECT_EQ(palette->base(), 20u);
  EXPECT_EQ(palette->count(), 236u);
  EXPECT_EQ(GetPaletteEntries(palette->handle(), 0, 0, nullptr), 256u);

  // The photo was converted for the palette and keeps its 8-bit block;
  // copied, it goes out as that block.
  EXPECT_EQ(PaintedBitCount(), 8);
  SetTarget(&window_);
  SetProperty(1, PROP::ImageBlob, 1);
  SetTarget(nullptr);
  EXPECT_EQ(ClipboardBitCount(), 8);

  // What the screen shows is close to the photo's own colours, far closer
  // than the static colours alone could show it. (This Wine maps the
  // colours of a bitmap to the nearest of the system palette, which holds a
  // colour cube of its own, so colours land on near neighbours.)
  PALETTEENTRY statics[20];
  GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 20, statics);
  HDC dc = GetDC(Hwnd(1));
  int worst = 0;
  long total = 0;
  long staticTotal = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const COLORREF want = PhotoColour(x, y);
      const int apart = Apart(GetPixel(dc, x, y), want);
      worst = std::max(worst, apart);
      total += apart;
      int nearest = 1 << 30;
      int best = 0;
      for (const PALETTEENTRY& e : statics) {
        const int dr = e.peRed - GetRValue(want);
        const int dg = e.peGreen - GetGValue(want);
        const int db = e.peBlue - GetBValue(want);
        if (dr * dr + dg * dg + db * db < nearest) {
          nearest = dr * dr + dg * dg + db * db;
          best = Apart(RGB(e.peRed, e.peGreen, e.peBlue), want);
        }
      }
      staticTotal += best;
    }
  }
  ReleaseDC(Hwnd(1), dc);
  EXPECT_LE(worst, 64);
  EXPECT_LE(total * 2, staticTotal) << total << " against " << staticTotal;

  // No colour and system colours are ignored; another colour is added
  // after the reduced ones while the maximum allows it.
  palette->AddColour(-1);
  palette->AddColour(static_cast<std::int32_t>(0x80000005u));
  EXPECT_EQ(palette->count(), 236u);
  palette->SetMaximum(300);
  EXPECT_EQ(palette->maximum(), 236u);
  EXPECT_FALSE(palette->dirty());
  palette->SetMaximum(240);
  EXPECT_FALSE(palette->dirty());
  palette->SetMaximum(100);
  EXPECT_TRUE(palette->dirty());
  Repaint();
  EXPECT_EQ(palette->count(), 100u);
  EXPECT_EQ(GetPaletteEntries(palette->handle(), 0, 0, nullptr), 120u);

  // The image going marks the palette for a rebuild: without images it
  // is left with no colours at all.
  SetTarget(&window_);
  SetProperty(1, PROP::Text, "");
  SetTarget(nullptr);
  Repaint();
  EXPECT_EQ(palette->count(), 0u);
}

TEST_F(PhotoWindow, OnATrueColourDisplayNothingIsConverted) {
  HDC screen = GetDC(nullptr);
  ASSERT_FALSE(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) << "not on a true-colour display";
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(Palette(), nullptr);
  EXPECT_EQ(PaintedBitCount(), 24);
  SetTarget(&window_);
  SetProperty(1, PROP::ImageBlob, 1);
  SetTarget(nullptr);
  EXPECT_EQ(ClipboardBitCount(), 24);
  HDC dc = GetDC(Hwnd(1));
  EXPECT_EQ(GetPixel(dc, 10, 20), PhotoColour(10, 20));
  ReleaseDC(Hwnd(1), dc);
}

// The window's own colours, its controls' text, fill and frame colours
// and its tool bar's pictures reach its palette, so that named colours show
// as they are wherever the display can show them.
TEST(ColouredWindow, OnAPaletteDisplayTheWindowAndItsControlsGiveTheirColours) {
  SetRuntimeErrorHandler(testing::ThrowRaisedError);
  SetRuntimeStarted(true);
  WindowPlan plan;
  plan.name = "$COLOURS";
  plan.title = "Colours";
  plan.rect = {0, 0, 200, 120};
  plan.pixelUnits = true;
  plan.background = 0x102030;
  ControlPlan name = Ctl(ControlType::String, 1, {4, 4, 150, 16}, "Turquoise (#0fddaf)");
  name.textColour = 0xAFDD0F;
  ControlPlan swatch = Ctl(ControlType::Box, 2, {4, 24, 40, 16});
  swatch.fillColour = 0x336699;
  swatch.frameColour = 0x010203;
  plan.controls = {name, swatch};
  Window window;
  CreateWindowFromPlan(window, std::move(plan));
  OpenWindowObject(window);
  ASSERT_TRUE(WindowIsOpen(window));
  WindowPalette* palette = window.native->palette.get();
  ASSERT_NE(palette, nullptr) << "not on an 8-bit display";
  palette->Rebuild();
  ASSERT_NE(palette->handle(), nullptr);
  std::vector<PALETTEENTRY> entries(palette->base() + palette->count());
  GetPaletteEntries(palette->handle(), 0, static_cast<UINT>(entries.size()), entries.data());
  std::set<COLORREF> held;
  for (std::size_t i = palette->base(); i < entries.size(); ++i) {
    held.insert(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
  }
  for (COLORREF wanted : {0x102030u, 0xAFDD0Fu, 0x336699u, 0x010203u}) {
    EXPECT_EQ(held.count(wanted), 1u) << std::hex << wanted;
  }
  CloseWindowObject(window);
  SetRuntimeStarted(false);
  SetRuntimeErrorHandler(nullptr);
}

}  // namespace
}  // namespace lumbra
