// The codecs on the platform: files and IMAGE resources by name, painting
// into device contexts, icons, metafiles and the GIF timer window.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "codecs/decoded_image.h"
#include "images/bitmap_image.h"
#include "images/gif_image.h"
#include "images/icon_image.h"
#include "images/image_format_registry.h"
#include "images/metafile_image.h"
#include "tests/codecs/test_images.h"
#include "tests/display/canvas_win32.h"
#include "tests/support/file_writer.h"

namespace lumbra {
namespace {

using testing::Bytes;
using testing::GifWriter;
using testing::MakeBmp8;
using testing::MakePlaceableWmf;

using testing::Canvas;

TEST(ImageSource, TildeNameLoadsTheImageResource) {
  ImagePtr image = LoadImageByName(nullptr, "~dot.bmp", false, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 3);
  EXPECT_EQ(image->height(), 2);
  EXPECT_TRUE(image->flags() & SourceIsResource);
  EXPECT_EQ(image->sourceStamp(), 0u);
  EXPECT_EQ(image->sourceSize(), 78u);
  // Painted from the resource: bottom row red, top row blue.
  Canvas canvas(3, 2);
  image->DrawAt(canvas.dc(), 0, 0, 3, 2);
  EXPECT_EQ(canvas.At(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(2, 0), RGB(0, 0, 255));
  // Handing the source out turns it into an owned copy.
  std::span<const std::uint8_t> bytes;
  ASSERT_TRUE(image->GetSourceHandle(bytes));
  EXPECT_FALSE(image->flags() & SourceIsResource);
  EXPECT_EQ(bytes.size(), 78u);
}

TEST(ImageSource, ResourceFirstThenTheFile) {
  // dot.bmp exists as a file too (5 x 4); resourceDefault 1 prefers the
  // resource, 0 the file. A name with no resource falls back to its file.
  ASSERT_TRUE(testing::WriteBytes("dot.bmp", MakeBmp8(5, 4)));
  ASSERT_TRUE(testing::WriteBytes("other.bmp", MakeBmp8(6, -7)));
  ImagePtr fromResource = LoadImageByName(nullptr, "dot.bmp", true, 0);
  ImagePtr fromFile = LoadImageByName(nullptr, "dot.bmp", false, DiscardSource);
  ImagePtr fallback = LoadImageByName(nullptr, "~other.bmp", false, 0);
  ASSERT_TRUE(fromResource && fromFile && fallback);
  EXPECT_EQ(fromResource->width(), 3);
  EXPECT_EQ(fromFile->width(), 5);
  EXPECT_NE(fromFile->sourceStamp(), 0u);  // the file's DOS date and time
  EXPECT_TRUE(fromFile->hasSource());      // bitmaps keep their bytes anyway
  EXPECT_EQ(fallback->height(), -7);
  EXPECT_EQ(LoadImageByName(nullptr, "missing.bmp", true, 0), nullptr);
  EXPECT_EQ(LoadImageByName(nullptr, "dot", false, 0), nullptr);
}

TEST(ImageSource, JfifNamesFindNoHandler) {
  ASSERT_TRUE(testing::WriteBytes("photo.jfif", MakeBmp8(2, 2)));
  ASSERT_TRUE(testing::WriteBytes("photo.bmp", MakeBmp8(2, 2)));
  EXPECT_EQ(LoadImageByName(nullptr, "photo.jfif", false, 0), nullptr);
  EXPECT_NE(LoadImageByName(nullptr, "PHOTO.BMP", false, 0), nullptr);
}

TEST(BitmapPainting, SizeOnlyPaintsNothingAndTruncatedRowsStayInside) {
  ASSERT_TRUE(testing::WriteBytes("size.bmp", MakeBmp8(4, 4, 2, 0)));  // black pixels
  ImagePtr sizeOnly = LoadImageByName(nullptr, "size.bmp", false, SizeOnly);
  ASSERT_NE(sizeOnly, nullptr);
  EXPECT_EQ(sizeOnly->width(), 4);
  Canvas canvas(8, 8);
  sizeOnly->DrawInRectangle(0, canvas.dc(), ImageRect{0, 0, 8, 8});
  EXPECT_EQ(canvas.At(1, 1), RGB(255, 255, 255));

  // Two of the four rows are missing: only the bottom two are painted.
  Bytes cut = MakeBmp8(4, 4, 2, 0);
  cut.resize(cut.size() - 8);
  ImagePtr partial =
      LoadImageFromMemory(nullptr, cut.data(), static_cast<std::uint32_t>(cut.size()), 0);
  ASSERT_NE(partial, nullptr);
  partial->DrawAt(canvas.dc(), 0, 0, 4, 4);
  EXPECT_EQ(canvas.At(1, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(1, 3), RGB(0, 0, 0));

  // The smallest accepted bitmap has a header claiming far more: nothing.
  Bytes tiny(59, 0);
  tiny[0] = 'B';
  tiny[1] = 'M';
  WriteU32(tiny.data() + 14, 40);
  WriteU32(tiny.data() + 18, 1000);
  WriteU32(tiny.data() + 22, 1000);
  ImagePtr claimed = LoadImageFromMemory(nullptr, tiny.data(), 59, 0);
  ASSERT_NE(claimed, nullptr);
  EXPECT_EQ(claimed->width(), 1000);
  claimed->DrawAt(canvas.dc(), 4, 4, 4, 4);
  EXPECT_EQ(canvas.At(5, 5), RGB(255, 255, 255));
}

// Top-down bitmaps (negative height) keep their height as stored, paint
// upright with their first stored row on top, also when rows are missing,
// and go to the clipboard as stored.
TEST(BitmapPainting, TopDownRowsPaintUprightAndCopyAsStored) {
  Bytes eight = MakeBmp8(4, -4, 2, 0);
  for (int x = 0; x < 4; ++x) eight[14 + 40 + 8 + x] = 1;  // the top row white
  Bytes deep = eight;  // the same picture in 24 bits, the top row red
  WriteU32(deep.data() + 10, 54);
  WriteU16(deep.data() + 28, 24);
  WriteU32(deep.data() + 46, 0);
  deep.resize(54);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      const std::uint8_t red = y == 0 ? 255 : 0;
      deep.insert(deep.end(), {0, 0, red});
    }
  }
  for (const Bytes* bmp : {&eight, &deep}) {
    const COLORREF top = bmp == &eight ? RGB(255, 255, 255) : RGB(255, 0, 0);
    ImagePtr image =
        LoadImageFromMemory(nullptr, bmp->data(), static_cast<std::uint32_t>(bmp->size()), 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->height(), -4);
    Canvas canvas(8, 8);
    image->DrawInRectangle(0, canvas.dc(), ImageRect{0, 0, 8, 8});
    EXPECT_EQ(canvas.At(3, 0), top);
    EXPECT_EQ(canvas.At(3, 1), top);
    EXPECT_EQ(canvas.At(3, 6), RGB(0, 0, 0));

    Bytes cut = *bmp;  // the bottom row missing: the top three still on top
    cut.resize(cut.size() - (bmp == &eight ? 4 : 12));
    ImagePtr partial =
        LoadImageFromMemory(nullptr, cut.data(), static_cast<std::uint32_t>(cut.size()), 0);
    ASSERT_NE(partial, nullptr);
    Canvas rows(4, 4);
    partial->DrawAt(rows.dc(), 0, 0, 4, 4);
    EXPECT_EQ(rows.At(1, 0), top);
    EXPECT_EQ(rows.At(1, 2), RGB(0, 0, 0));
    EXPECT_EQ(rows.At(1, 3), RGB(255, 255, 255));  // not painted

    image->CopyToClipboard(nullptr);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE dib = GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    const auto* put = static_cast<const std::uint8_t*>(GlobalLock(dib));
    ASSERT_NE(put, nullptr);
    EXPECT_EQ(ReadS32(put + 8), -4);
    EXPECT_TRUE(std::equal(bmp->begin() + 14, bmp->end(), put));
    GlobalUnlock(dib);
    CloseClipboard();
  }
}

TEST(BitmapPainting, TilesAndCentres) {
  Bytes bmp = MakeBmp8(2, 2, 2, 0);
  bmp[bmp.size() - 4] = 1;  // top-left pixel white, the rest black
  ImagePtr image =
      LoadImageFromMemory(nullptr, bmp.data(), static_cast<std::uint32_t>(bmp.size()), kPlaceTiled);
  ASSERT_NE(image, nullptr);
  Canvas canvas(5, 5);
  image->DrawInRectangle(0, canvas.dc(), ImageRect{0, 0, 5, 5});
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(2, 2), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(4, 4), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(3, 3), RGB(0, 0, 0));
}

TEST(Metafiles, PlaceableSizeAtScreenResolutionAndPlainRefused) {
  const Bytes wmf = MakePlaceableWmf(0, 0, 1440, 720, 1440);
  ImagePtr image =
      LoadImageFromMemory(nullptr, wmf.data(), static_cast<std::uint32_t>(wmf.size()), 0);
  ASSERT_NE(image, nullptr);
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(image->width(), dpiX);
  EXPECT_EQ(image->height(), dpiY / 2);
  EXPECT_EQ(image->GetExtension(), ".wmf");
  EXPECT_TRUE(image->NeedsBackground());
  EXPECT_FALSE(image->CoversRectangle());
  auto* metafile = dynamic_cast<MetafileImage*>(image.get());
  ASSERT_NE(metafile, nullptr);
  EXPECT_NE(metafile->metafile(), nullptr);
  EXPECT_EQ(metafile->mappingMode(), 8);
  Canvas canvas(8, 8);
  EXPECT_TRUE(image->DrawStretched(canvas.dc(), ImageRect{0, 0, 8, 8}));

  const Bytes plain(wmf.begin() + 22, wmf.end());
  EXPECT_EQ(LoadImageFromMemory(nullptr, plain.data(), static_cast<std::uint32_t>(plain.size()), 0),
            nullptr);
  const Bytes tooLong = MakePlaceableWmf(0, 0, 10, 10, 96, 500);
  EXPECT_EQ(
      LoadImageFromMemory(nullptr, tooLong.data(), static_cast<std::uint32_t>(tooLong.size()), 0),
      nullptr);
  ImagePtr sizeOnly = LoadImageFromMemory(nullptr, tooLong.data(),
                                          static_cast<std::uint32_t>(tooLong.size()), SizeOnly);
  ASSERT_NE(sizeOnly, nullptr);
  EXPECT_EQ(dynamic_cast<MetafileImage*>(sizeOnly.get())->metafile(), nullptr);

  ASSERT_TRUE(testing::WriteBytes("chart.wmf", wmf));
  ImagePtr byName = LoadImageByName(nullptr, "chart.wmf", false, DiscardSource);
  ASSERT_NE(byName, nullptr);
  EXPECT_FALSE(byName->hasSource());
  EXPECT_EQ(byName->sourceSize(), wmf.size());
}

TEST(Icons, AlwaysTheSystemIconSize) {
  const int cx = GetSystemMetrics(SM_CXICON);
  const int cy = GetSystemMetrics(SM_CYICON);
  ASSERT_TRUE(testing::WriteBytes("small.ico", testing::MakeIco()));
  ImagePtr fromFile = LoadImageByName(nullptr, "small.ico", false, 0);
  ASSERT_NE(fromFile, nullptr);
  EXPECT_EQ(fromFile->width(), cx);
  EXPECT_EQ(fromFile->height(), cy);
  EXPECT_EQ(fromFile->GetExtension(), ".ico");
  EXPECT_FALSE(fromFile->CoversRectangle());
  PictureHandle handle;
  EXPECT_TRUE(fromFile->GetHandle(handle));
  EXPECT_EQ(handle.kind, 3);
  Canvas canvas(40, 40);
  EXPECT_FALSE(fromFile->DrawStretched(canvas.dc(), ImageRect{0, 0, 40, 40}));
  fromFile->DrawAt(canvas.dc(), 0, 0, 1, 1);  // at its own size
  EXPECT_EQ(canvas.At(8, 8), RGB(255, 0, 0));

  EXPECT_EQ(LoadImageByName(nullptr, "small.ico[1]", false, 0), nullptr);
  EXPECT_EQ(LoadImageByName(nullptr, "none.ico", false, 0), nullptr);
  EXPECT_NE(LoadImageByName(nullptr, "none.ico", false, SizeOnly), nullptr);

  // A system icon reference: FF 01 and the identifier plus 1.
  const std::string question{'\xFF', '\x01', static_cast<char>((32514 + 1) & 0xFF),
                             static_cast<char>((32514 + 1) >> 8)};
  ImagePtr system = LoadImageByName(nullptr, question, false, 0);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system->width(), cx);
  EXPECT_NE(LookUpIcon("!ICON:small.ico", false), nullptr);
  EXPECT_NE(LoadImageByName(nullptr, "!icon:small.ico[0]", false, 0), nullptr);
}

struct CountingViewer : ImageViewer {
  int repaints = 0;
  void RepaintImage(const ImageRect*) override { ++repaints; }
};

TEST(GifTimer, AnimatesThroughItsHiddenTimerWindow) {
  GifWriter gif(2, 1);
  gif.Netscape(0)
      .GraphicControl(2)
      .Image(0, 0, 2, 1, {1, 1})
      .GraphicControl(2)
      .Image(0, 0, 2, 1, {2, 2});
  ASSERT_TRUE(testing::WriteBytes("anim.gif", gif.Finish()));
  ImagePtr image = LoadImageByName(nullptr, "anim.gif", false, DiscardSource);
  ASSERT_NE(image, nullptr);
  auto* animated = static_cast<GifImage*>(image.get());
  EXPECT_EQ(animated->timerWindow(), nullptr);
  CountingViewer viewer;
  image->AttachViewer(&viewer, nullptr);
  ASSERT_NE(animated->timerWindow(), nullptr);
  EXPECT_EQ(animated->timerPeriod(), 20u);
  char className[64] = {};
  GetClassNameA(animated->timerWindow(), className, sizeof className);
  EXPECT_STREQ(className, "WexTimerWinClass");
  EXPECT_FALSE(IsWindowVisible(animated->timerWindow()));

  const DWORD deadline = GetTickCount() + 5000;
  while (viewer.repaints < 3 && GetTickCount() < deadline) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(5);
  }
  EXPECT_GE(viewer.repaints, 3);
  HWND window = animated->timerWindow();
  image.reset();
  EXPECT_FALSE(IsWindow(window));
}

TEST(GifPainting, TransparentPixelsKeepTheBackground) {
  const Bytes bytes = GifWriter(2, 1).GraphicControl(0, 1).Image(0, 0, 2, 1, {1, 3}).Finish();
  ImagePtr image =
      LoadImageFromMemory(nullptr, bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0);
  ASSERT_NE(image, nullptr);
  CountingViewer viewer;
  image->AttachViewer(&viewer, nullptr);
  Canvas canvas(2, 1);
  const Bytes before(static_cast<GifImage*>(image.get())->frame().begin() + 40,
                     static_cast<GifImage*>(image.get())->frame().begin() + 1064);
  image->DrawAt(canvas.dc(), 0, 0, 2, 1);
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));  // index 1: transparent
  EXPECT_EQ(canvas.At(1, 0), RGB(120, 121, 122));  // index 3 of the writer's table
  const Bytes after(static_cast<GifImage*>(image.get())->frame().begin() + 40,
                    static_cast<GifImage*>(image.get())->frame().begin() + 1064);
  EXPECT_EQ(before, after);
}

}  // namespace
}  // namespace lumbra
