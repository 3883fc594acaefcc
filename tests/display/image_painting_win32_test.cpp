// Painting images in their modes: centred with signed offsets, tiled with
// partial tiles cut by the caller's clipping, mode 3 as stretched; GIF
// frames with a transparent colour, opaque, and with their table intact;
// image controls drawn as part of their window with their recorded
// drawing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "images/gif_image.h"
#include "images/image_format_registry.h"
#include "tests/codecs/test_images.h"
#include "tests/display/bmp24.h"
#include "tests/display/canvas_win32.h"
#include "tests/support/raised_errors.h"
#include "tests/winrt/control_plan.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"
#include "winrt/window_internal_win32.h"

namespace lumbra {
namespace {

using testing::Bytes;
using testing::GifWriter;

constexpr COLORREF kWhite = RGB(255, 255, 255);

// Every pixel of the 8 x 8 test image differs: red = 30 x, green = 30 y.
COLORREF Pixel(std::int32_t x, std::int32_t y) { return RGB(30 * x, 30 * y, 77); }

ImagePtr Load(const Bytes& bytes, ImageLoadFlags flags, ImageOwner* owner = nullptr) {
  return LoadImageFromMemory(owner, bytes.data(), static_cast<std::uint32_t>(bytes.size()), flags);
}

using testing::Canvas;

TEST(PaintingModes, CentredTiledAndMode3) {
  const Bytes bmp = testing::MakeBmp24(8, 8, Pixel);

  // Centred in 4 x 4: offsets -2, the middle shows. In 5 x 5 the offset
  // (5 - 8) / 2 is truncated toward zero to -1.
  ImagePtr centred = Load(bmp, kPlaceCentred);
  ASSERT_NE(centred, nullptr);
  Canvas small(5, 5);
  centred->DrawInRectangle(0, small.dc(), ImageRect{0, 0, 4, 4});
  EXPECT_EQ(small.At(0, 0), Pixel(2, 2));
  EXPECT_EQ(small.At(3, 3), Pixel(5, 5));
  centred->DrawInRectangle(0, small.dc(), ImageRect{0, 0, 5, 5});
  EXPECT_EQ(small.At(0, 0), Pixel(1, 1));
  EXPECT_EQ(small.At(4, 4), Pixel(5, 5));

  // Tiled over 0..12 x 0..10 with the clip set there: tiles from the
  // corner, the last column and row partial and cut.
  ImagePtr tiled = Load(bmp, kPlaceTiled);
  Canvas wall(16, 16);
  SaveDC(wall.dc());
  IntersectClipRect(wall.dc(), 0, 0, 12, 10);
  tiled->DrawInRectangle(0, wall.dc(), ImageRect{0, 0, 12, 10});
  RestoreDC(wall.dc(), -1);
  EXPECT_EQ(wall.At(0, 0), Pixel(0, 0));
  EXPECT_EQ(wall.At(7, 7), Pixel(7, 7));
  EXPECT_EQ(wall.At(8, 0), Pixel(0, 0));
  EXPECT_EQ(wall.At(11, 9), Pixel(3, 1));
  EXPECT_EQ(wall.At(12, 9), kWhite);
  EXPECT_EQ(wall.At(11, 10), kWhite);

  // Mode value 3 paints as stretched does.
  ImagePtr stretched = Load(bmp, kPlaceStretched);
  ImagePtr three = Load(bmp, static_cast<ImageLoadFlags>(3));
  Canvas a(16, 16);
  Canvas b(16, 16);
  stretched->DrawInRectangle(0, a.dc(), ImageRect{0, 0, 16, 16});
  three->DrawInRectangle(0, b.dc(), ImageRect{0, 0, 16, 16});
  for (int y = 0; y < 16; y += 3) {
    for (int x = 0; x < 16; x += 3) EXPECT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
  }
  EXPECT_EQ(a.At(15, 15), Pixel(7, 7));
}

// Enough tiles to be painted through memory: the same pixels as tile by
// tile, from the rectangle's corner, also when only part of it is shown
// (the clip starting inside a tile), and nothing outside it.
TEST(PaintingModes, ManyTilesPaintAsOneByOne) {
  ImagePtr tiled = Load(testing::MakeBmp24(8, 8, Pixel), kPlaceTiled);
  ASSERT_NE(tiled, nullptr);
  Canvas whole(110, 100);
  tiled->DrawInRectangle(0, whole.dc(), ImageRect{0, 0, 100, 90});
  for (int y = 0; y < 90; y += 7) {
    for (int x = 0; x < 100; x += 5)
      ASSERT_EQ(whole.At(x, y), Pixel(x % 8, y % 8)) << x << "," << y;
  }
  EXPECT_EQ(whole.At(100, 5), kWhite);
  EXPECT_EQ(whole.At(5, 90), kWhite);

  Canvas part(110, 100);
  SaveDC(part.dc());
  IntersectClipRect(part.dc(), 37, 21, 80, 70);
  tiled->DrawInRectangle(0, part.dc(), ImageRect{3, 5, 100, 90});
  RestoreDC(part.dc(), -1);
  EXPECT_EQ(part.At(37, 21), Pixel((37 - 3) % 8, (21 - 5) % 8));
  EXPECT_EQ(part.At(79, 69), Pixel((79 - 3) % 8, (69 - 5) % 8));
  EXPECT_EQ(part.At(36, 30), kWhite);
  EXPECT_EQ(part.At(50, 70), kWhite);

  // A 4 x 4 metafile that paints its left half red, tiled over a gradient:
  // the right half of every tile keeps what lay beneath it.
  Bytes records;
  for (std::uint16_t word : {7, 0, 0x02FC, 0,      0x00FF, 0,  0,  // CreateBrushIndirect red
                             4, 0, 0x012D, 0,                      // SelectObject 0
                             9, 0, 0x061D, 0x0021, 0x00F0, 60, 30, 0, 0}) {  // PatBlt
    testing::PutU16(records, word);
  }
  ImagePtr metafile =
      Load(testing::MakePlaceableWmf(0, 0, 60, 60, 1440, 0, records, 1), kPlaceTiled);
  ASSERT_NE(metafile, nullptr);
  ASSERT_EQ(metafile->width(), 4);
  Canvas gradient(60, 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 60; ++x) SetPixel(gradient.dc(), x, y, RGB(4 * x, 6 * y, 200));
  }
  metafile->DrawInRectangle(0, gradient.dc(), ImageRect{0, 0, 60, 40});
  for (int y = 0; y < 40; y += 3) {
    for (int x = 0; x < 60; ++x) {
      ASSERT_EQ(gradient.At(x, y), x % 4 < 2 ? RGB(255, 0, 0) : RGB(4 * x, 6 * y, 200))
          << x << "," << y;
    }
  }
}

// An owner whose images are shown in device units: GIFs then paint
// opaque.
struct DeviceUnitOwner final : ImageOwner {
  bool UsesDeviceUnits() override { return true; }
  NativeDc GetDc() override { return GetDC(nullptr); }
  void ReleaseDc(NativeDc dc) override { ReleaseDC(nullptr, dc); }
  bool KeepsPalette() override { return false; }
  PaletteTarget* Palette() override { return nullptr; }
};

// A viewer that wants no repaints: attaching it renders the first frame.
struct StillViewer final : ImageViewer {
  void RepaintImage(const ImageRect*) override {}
};

TEST(GifPainting, TransparentIndexShowsWhatLiesBehindUnlessOpaque) {
  StillViewer viewer;
  // Index 1 transparent; index 3 is (120, 121, 122) in the writer's table.
  const Bytes gif = GifWriter(3, 1).GraphicControl(0, 1).Image(0, 0, 3, 1, {1, 3, 1}).Finish();
  ImagePtr image = Load(gif, 0);
  ASSERT_NE(image, nullptr);
  image->AttachViewer(&viewer, nullptr);
  auto* frame = static_cast<GifImage*>(image.get());
  EXPECT_FALSE(image->CoversRectangle());
  const Bytes table(frame->frame().begin() + 40, frame->frame().begin() + 1064);
  Canvas canvas(6, 2);
  HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
  RECT all{0, 0, 6, 2};
  FillRect(canvas.dc(), &all, green);
  DeleteObject(green);
  image->DrawInRectangle(0, canvas.dc(), ImageRect{0, 0, 6, 2});
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 200, 0));
  EXPECT_EQ(canvas.At(3, 1), RGB(120, 121, 122));
  EXPECT_EQ(canvas.At(5, 0), RGB(0, 200, 0));
  EXPECT_EQ(Bytes(frame->frame().begin() + 40, frame->frame().begin() + 1064), table);

  // Tiled many times (through memory): the same, tile after tile.
  Canvas wall(60, 40);
  RECT wallRect{0, 0, 60, 40};
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 200));
  FillRect(wall.dc(), &wallRect, blue);
  DeleteObject(blue);
  ImagePtr tiled = Load(gif, kPlaceTiled);
  ASSERT_NE(tiled, nullptr);
  tiled->AttachViewer(&viewer, nullptr);
  tiled->DrawInRectangle(0, wall.dc(), ImageRect{0, 0, 60, 40});
  for (int y = 0; y < 40; y += 13) {
    for (int x = 0; x < 60; ++x) {
      ASSERT_EQ(wall.At(x, y), x % 3 == 1 ? RGB(120, 121, 122) : RGB(0, 0, 200)) << x << "," << y;
    }
  }
  const auto* tiledFrame = static_cast<GifImage*>(tiled.get());
  EXPECT_EQ(Bytes(tiledFrame->frame().begin() + 40, tiledFrame->frame().begin() + 1064), table);

  // Opaque: index 1 paints as its own colour (40, 41, 42).
  DeviceUnitOwner owner;
  ImagePtr opaque = Load(gif, 0, &owner);
  ASSERT_NE(opaque, nullptr);
  opaque->AttachViewer(&viewer, nullptr);
  Canvas plain(3, 1);
  opaque->DrawAt(plain.dc(), 0, 0, 3, 1);
  EXPECT_EQ(plain.At(0, 0), RGB(40, 41, 42));
  EXPECT_EQ(plain.At(1, 0), RGB(120, 121, 122));
}

class ImageControlPainting : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler(testing::ThrowRaisedError);
    SetRuntimeStarted(true);
    const Bytes bmp = testing::MakeBmp24(8, 8, Pixel);
    std::ofstream("eight.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    const Bytes gif = GifWriter(2, 1).GraphicControl(0, 1).Image(0, 0, 2, 1, {1, 3}).Finish();
    std::ofstream("clear.gif", std::ios::binary)
        .write(reinterpret_cast<const char*>(gif.data()), static_cast<std::streamsize>(gif.size()));
  }
  void TearDown() override {
    CloseWindowObject(window_);
    SetRuntimeStarted(false);
    SetRuntimeErrorHandler(nullptr);
  }
  void Open(std::vector<ControlPlan> controls) {
    WindowPlan plan;
    plan.name = "$PAINT";
    plan.title = "Paint";
    plan.rect = {0, 0, 120, 80};
    plan.pixelUnits = true;
    plan.controls = std::move(controls);
    CreateWindowFromPlan(window_, std::move(plan));
    OpenWindowObject(window_);
  }
  ImageControl* Control(std::int32_t number) {
    return internal::FindControl(&window_, number)->image.get();
  }
  HWND Hwnd(std::int32_t control) const {
    return reinterpret_cast<HWND>(NativeHandle(window_, control));
  }
  Window window_;
};

TEST_F(ImageControlPainting, ATransparentGifShowsTheControlsBackground) {
  ControlPlan gif = Ctl(ControlType::Image, 1, {10, 10, 2, 1}, "clear.gif");
  gif.background = RGB(0, 0, 200);
  Open({gif});
  ImageControl* control = Control(1);
  EXPECT_FALSE(control->CoversClient());
  EXPECT_EQ(SendMessageA(Hwnd(1), WM_ERASEBKGND, 0, 0), 0);  // erased while painting instead
  Canvas canvas(2, 1);
  SendMessageA(Hwnd(1), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 200));
  EXPECT_EQ(canvas.At(1, 0), RGB(120, 121, 122));
}

TEST_F(ImageControlPainting, PaintedInItsWindowWithinTheUpdateAndWithItsRecording) {
  Open({Ctl(ControlType::Image, 1, {20, 10, 8, 8}, "eight.bmp"),
        Ctl(ControlType::Image, 2, {40, 10, 8, 8})});
  ImageControl* control = Control(1);
  ASSERT_FALSE(control->windowed());
  EXPECT_TRUE(control->CoversClient());
  // The recording is played in the control's coordinates, clipped to the
  // part being painted.
  RECT played{};
  control->SetRecording({[&](HDC dc, const RECT& clip) {
                           played = clip;
                           SetPixel(dc, 1, 1, RGB(255, 0, 255));
                         },
                         -1});
  Canvas window(64, 32);
  const RECT update{0, 0, 24, 32};  // the control's left half
  control->PaintInParent(window.dc(), &update);
  EXPECT_EQ(window.At(20, 10), Pixel(0, 0));
  EXPECT_EQ(window.At(23, 17), Pixel(3, 7));
  EXPECT_EQ(window.At(24, 10), kWhite);  // outside the update
  EXPECT_EQ(window.At(21, 11), RGB(255, 0, 255));
  EXPECT_EQ(played.left, 0);
  EXPECT_EQ(played.right, 4);
  EXPECT_EQ(played.bottom, 8);

  // Without an image, a frame colour shows the control as a frame only.
  ImageControl* empty = Control(2);
  empty->SetRecording({[](HDC dc, const RECT&) { SetPixel(dc, 3, 3, RGB(255, 0, 255)); },
                       static_cast<std::int32_t>(RGB(200, 0, 0))});
  empty->PaintInParent(window.dc(), nullptr);
  EXPECT_EQ(window.At(40, 10), RGB(200, 0, 0));
  EXPECT_EQ(window.At(47, 17), RGB(200, 0, 0));
  EXPECT_EQ(window.At(43, 13), kWhite);
  EXPECT_EQ(SendMessageA(Hwnd(2), WM_GETDLGCODE, 0, 0), DLGC_STATIC);

  // Sizes for the image: proportional at the width, natural height on
  // request, proportional width at the height.
  RECT r{0, 0, 20, 0};
  control->DefaultHeight(r);
  EXPECT_EQ(r.bottom, 20);
  control->SetNaturalHeight(true);
  control->DefaultHeight(r);
  EXPECT_EQ(r.bottom, 8);
  r = {5, 5, 5, 17};
  control->DefaultWidth(r);
  EXPECT_EQ(r.right, 17);
}

}  // namespace
}  // namespace lumbra
