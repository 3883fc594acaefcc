// GIF images: parse rules, frame rendering, animation and greyed drawing.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "codecs/decoded_image.h"
#include "images/format_handlers.h"
#include "images/gif_image.h"
#include "images/image_format_registry.h"
#include "tests/codecs/test_images.h"

namespace lumbra {
namespace {

using testing::Bytes;
using testing::GifWriter;

// Decodes and keeps the bytes as the registry does for memory loads.
std::unique_ptr<GifImage> Load(const Bytes& bytes, ImageLoadFlags flags = 0) {
  ImagePtr image = DecodeGif(nullptr, bytes, flags);
  if (!image) return nullptr;
  image->KeepOwnedSource(bytes);
  return std::unique_ptr<GifImage>(static_cast<GifImage*>(image.release()));
}

struct Viewer : ImageViewer {
  std::vector<int>* log;
  int id;
  Viewer(std::vector<int>* l, int i) : log(l), id(i) {}
  void RepaintImage(const ImageRect* rect) override { log->push_back(rect ? id * 10 : id); }
};

Bytes Solid(std::size_t n, std::uint8_t v) { return Bytes(n, v); }

TEST(GifParse, LogicalSizeIsTheExtentOfTheFrames) {
  const Bytes gif = GifWriter(100, 100).Image(10, 10, 20, 20, Solid(400, 1)).Finish();
  auto image = Load(gif);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 30);
  EXPECT_EQ(image->height(), 30);
  EXPECT_EQ(image->GetExtension(), ".gif");
  const auto layout = image->FrameLayout();
  ASSERT_TRUE(layout);
  // The buffer as a packed bitmap of 256 colours holds every row.
  const auto packed = CheckPackedDib(image->frame());
  ASSERT_TRUE(packed);
  EXPECT_EQ(packed->bits, layout->bits);
  EXPECT_TRUE(packed->complete());
  EXPECT_EQ(layout->header.width, 30);
  EXPECT_EQ(layout->header.height, 30);
  EXPECT_EQ(layout->header.xPelsPerMeter, 3000);
  EXPECT_EQ(layout->colourCount, 256u);
  EXPECT_EQ(layout->bits, image->frame().data() + 1064);
}

TEST(GifParse, StructuralDamageFailsTheWholeLoad) {
  GifWriter good(8, 8);
  good.Image(0, 0, 2, 2, Solid(4, 1));
  const Bytes intact = GifWriter(good).Finish();
  EXPECT_NE(Load(intact), nullptr);

  Bytes truncated = intact;
  truncated.pop_back();  // no trailer
  EXPECT_EQ(Load(truncated), nullptr);

  Bytes unknown = good.bytes;
  unknown.push_back(0x2A);
  unknown.push_back(0x3B);
  EXPECT_EQ(Load(unknown), nullptr);

  for (std::uint8_t size : {1, 12}) {
    const Bytes bad =
        GifWriter(8, 8).Image(0, 0, 2, 2, Solid(4, 1)).RawImage(0, 0, 1, 1, size, {1, 0}).Finish();
    EXPECT_EQ(Load(bad), nullptr) << int(size);
  }
  Bytes labelMissing = good.bytes;
  labelMissing.push_back(0x21);
  EXPECT_EQ(Load(labelMissing), nullptr);

  Bytes subBlockPastEnd = good.bytes;
  subBlockPastEnd.insert(subBlockPastEnd.end(), {0x21, 0xFE, 40, 'x'});
  EXPECT_EQ(Load(subBlockPastEnd), nullptr);

  // A trailer without any block: a size but nothing to show.
  const Bytes empty = GifWriter(8, 8).Finish();
  EXPECT_EQ(Load(empty), nullptr);
  EXPECT_NE(Load(empty, SizeOnly), nullptr);
  EXPECT_EQ(DecodeGif(nullptr, std::span(intact).first(13), 0), nullptr);
  Bytes notGif = intact;
  notGif[0] = 'J';
  EXPECT_EQ(DecodeGif(nullptr, notGif, 0), nullptr);
}

TEST(GifParse, SizeOnlyKeepsNoFramesBlocksOrTimer) {
  std::vector<int> log;
  Viewer viewer(&log, 1);
  const Bytes gif = GifWriter(4, 4).GraphicControl(5).Image(0, 0, 4, 4, Solid(16, 1)).Finish();
  auto image = Load(gif, SizeOnly);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 4);
  EXPECT_TRUE(image->frame().empty());
  EXPECT_TRUE(image->blocks().empty());
  image->AttachViewer(&viewer, nullptr);
  EXPECT_EQ(image->timerPeriod(), 0u);
  EXPECT_FALSE(image->CoversRectangle());
}

TEST(GifRender, PixelsAndColoursOfAFrame) {
  const Bytes pixels = {0, 1, 2, 3, 3, 2, 1, 0};
  const Bytes gif = GifWriter(4, 2, true, 1).Image(0, 0, 4, 2, pixels).Finish();
  auto image = Load(gif);
  ASSERT_NE(image, nullptr);
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  EXPECT_EQ(image->currentBlock(), 0);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(image->PixelAt(i % 4, i / 4), pixels[i]) << i;
  const std::uint8_t* table = image->frame().data() + 40;
  // Entry 2 of the writer's global table: red 80, green 81, blue 82.
  EXPECT_EQ(table[8], 82);
  EXPECT_EQ(table[9], 81);
  EXPECT_EQ(table[10], 80);
  EXPECT_EQ(ReadU32(image->frame().data() + 32), 4u);
  // Four colours used, yet the rows stay at 1064 for painting.
  const auto layout = image->FrameLayout();
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->colourCount, 4u);
  EXPECT_EQ(layout->bits, image->frame().data() + 1064);
}

TEST(GifRender, WithoutAnyTableTheColoursComeFromByte13) {
  // No global table flag; the low bits say 4 entries, read from byte 13,
  // which here is the start of the block structure itself.
  const Bytes gif = GifWriter(2, 1, false, 1).Image(0, 0, 2, 1, {0, 1}).Finish();
  auto image = Load(gif);
  ASSERT_NE(image, nullptr);
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  const std::uint8_t* table = image->frame().data() + 40;
  EXPECT_EQ(table[2], gif[13]);  // red of entry 0
  EXPECT_EQ(table[1], gif[14]);
  EXPECT_EQ(table[0], gif[15]);
  EXPECT_EQ(table[6], gif[16]);
  EXPECT_EQ(ReadU32(image->frame().data() + 32), 4u);
}

TEST(GifRender, LocalTableWins) {
  const Bytes gif = GifWriter(2, 1).Image(0, 0, 2, 1, {0, 1}, 2, false, 0).Finish();
  auto image = Load(gif);
  ASSERT_NE(image, nullptr);
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  const std::uint8_t* table = image->frame().data() + 40;
  EXPECT_EQ(table[2], 200);
  EXPECT_EQ(table[6], 201);
  EXPECT_EQ(ReadU32(image->frame().data() + 32), 2u);
}

TEST(GifRender, InterlacedRowsComeInFourPasses) {
  Bytes order;
  for (std::uint8_t i = 0; i < 9; ++i) order.push_back(i);
  const Bytes gif = GifWriter(1, 9, true, 3).Image(0, 0, 1, 9, order, 4, true).Finish();
  auto image = Load(gif);
  ASSERT_NE(image, nullptr);
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  // Row r holds the position at which it was decoded.
  const int rows[9] = {0, 8, 4, 2, 6, 1, 3, 5, 7};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(image->PixelAt(0, rows[i]), i) << "row " << rows[i];
}

TEST(GifRender, FrameWithDamagedDataStillLoads) {
  const Bytes gif = GifWriter(3, 1).RawImage(0, 0, 3, 1, 2, {0x2B}).Finish();
  auto image = Load(gif);
  ASSERT_NE(image, nullptr);
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  // First code 3 (not clear) is the first pixel; then the data runs out.
  EXPECT_EQ(image->PixelAt(0, 0), 3);
  EXPECT_EQ(image->PixelAt(1, 0), 0);
  EXPECT_EQ(image->PixelAt(2, 0), 0);
}

Bytes TwoFrames(int loops, std::uint16_t firstDelay = 5) {
  GifWriter gif(2, 1);
  if (loops >= 0) gif.Netscape(static_cast<std::uint16_t>(loops));
  gif.GraphicControl(firstDelay).Image(0, 0, 2, 1, {1, 1});
  gif.GraphicControl(5, 3).Image(0, 0, 2, 1, {2, 2});
  return gif.Finish();
}

// The frames shown by ticks, as the first pixel of each.
std::vector<int> Play(GifImage& image, int ticks) {
  std::vector<int> shown = {image.PixelAt(0, 0)};
  for (int i = 0; i < ticks; ++i) {
    image.OnTimer();
    shown.push_back(image.PixelAt(0, 0));
  }
  return shown;
}

TEST(GifAnimation, LoopCountTwoPlaysThreeTimesThenStays) {
  auto image = Load(TwoFrames(2));
  ASSERT_NE(image, nullptr);
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  EXPECT_EQ(Play(*image, 8), (std::vector<int>{1, 2, 1, 2, 1, 2, 2, 2, 2}));
}

TEST(GifAnimation, LoopCountZeroLoopsForEverAndNoNetscapePlaysOnce) {
  auto forever = Load(TwoFrames(0));
  auto once = Load(TwoFrames(-1));
  ASSERT_TRUE(forever && once);
  std::vector<int> log;
  Viewer viewer(&log, 1);
  forever->AttachViewer(&viewer, nullptr);
  once->AttachViewer(&viewer, nullptr);
  const std::vector<int> played = Play(*forever, 41);
  for (std::size_t i = 0; i < played.size(); ++i) EXPECT_EQ(played[i], i % 2 ? 2 : 1) << i;
  EXPECT_EQ(Play(*once, 3), (std::vector<int>{1, 2, 2, 2}));
}

TEST(GifAnimation, DelaysStartTheTimerAndSetTheTransparentIndex) {
  auto image = Load(TwoFrames(0, 0));
  ASSERT_NE(image, nullptr);
  EXPECT_FALSE(image->animated());
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  // Delay 0 before the first frame starts nothing.
  EXPECT_EQ(image->timerPeriod(), 0u);
  EXPECT_FALSE(image->animated());
  EXPECT_EQ(image->transparentIndex(), -1);
  EXPECT_TRUE(image->CoversRectangle());
  image->OnTimer();
  EXPECT_EQ(image->timerPeriod(), 50u);
  EXPECT_TRUE(image->animated());
  EXPECT_EQ(image->transparentIndex(), 3);
  EXPECT_FALSE(image->CoversRectangle());
}

TEST(GifAnimation, ViewersRepaintLastAttachedFirstAndAttachingRestarts) {
  auto image = Load(TwoFrames(0));
  ASSERT_NE(image, nullptr);
  std::vector<int> log;
  Viewer first(&log, 1);
  Viewer second(&log, 2);
  image->AttachViewer(&first, nullptr);
  EXPECT_TRUE(image->animated());
  image->OnTimer();
  EXPECT_EQ(image->PixelAt(0, 0), 2);
  const ImageRect rect{1, 2, 3, 4};
  image->AttachViewer(&second, &rect);  // animated: back to the first frame
  EXPECT_EQ(image->PixelAt(0, 0), 1);
  image->AttachViewer(&first, nullptr);  // again: moves to the end of the list
  EXPECT_EQ(image->viewerCount(), 2u);
  log.clear();
  image->OnTimer();
  EXPECT_EQ(log, (std::vector<int>{1, 20}));
  image->DetachViewer(&first);
  EXPECT_EQ(image->viewerCount(), 1u);
  log.clear();
  image->OnTimer();
  EXPECT_EQ(log, (std::vector<int>{20}));
}

TEST(GifAnimation, LoopingFileWithoutFramesDoesNotSpin) {
  const Bytes gif = GifWriter(2, 2).Netscape(0).GraphicControl(5).Finish();
  auto image = Load(gif);
  ASSERT_NE(image, nullptr);
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  image->OnTimer();
  EXPECT_EQ(image->currentBlock(), -1);
}

TEST(GifDrawing, GreyedDrawingUsesFiveLevelsAndRestores) {
  GifWriter writer(5, 1, false, 2);
  // Global table by hand: 8 entries, means 0, 60, 110, 160, 230 and others.
  writer.bytes[10] = 0x82;
  const std::uint8_t means[5][3] = {
      {50, 50, 50}, {101, 101, 102}, {152, 152, 153}, {203, 203, 203}, {204, 204, 204}};
  for (const auto& rgb : means) writer.bytes.insert(writer.bytes.end(), rgb, rgb + 3);
  writer.bytes.resize(writer.bytes.size() + 9, 0);
  const Bytes gif = writer.Image(0, 0, 5, 1, {0, 1, 2, 3, 4}, 3).Finish();
  auto image = Load(gif);
  ASSERT_NE(image, nullptr);
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  const Bytes before(image->frame().begin() + 40, image->frame().begin() + 40 + 1024);

  for (std::uint32_t state : {0u, 16u | 64u, 64u}) {
    EXPECT_EQ(image->BeginDrawing(state), 0u) << state;
  }
  for (std::uint32_t state : {8u, 16u, 8u | 64u}) {
    const std::uintptr_t saved = image->BeginDrawing(state);
    ASSERT_NE(saved, 0u) << state;
    const std::uint8_t* table = image->frame().data() + 40;
    const int expected[5] = {0, 64, 128, 192, 255};
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(table[4 * i], expected[i]);
      EXPECT_EQ(table[4 * i + 2], expected[i]);
    }
    image->EndDrawing(state, saved);
    EXPECT_EQ(Bytes(image->frame().begin() + 40, image->frame().begin() + 40 + 1024), before);
  }
}

TEST(GifRegistry, GifBytesLoadFromMemoryAfterTheOtherDecoders) {
  const Bytes gif = GifWriter(3, 2).Image(0, 0, 3, 2, Solid(6, 1)).Finish();
  ImagePtr image = LoadImageFromMemory(nullptr, gif.data(), static_cast<std::uint32_t>(gif.size()),
                                       DiscardSource);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetExtension(), ".gif");
  EXPECT_EQ(image->width(), 3);
  EXPECT_TRUE(image->hasSource());  // needed to decode frames later
  std::vector<int> log;
  Viewer viewer(&log, 1);
  image->AttachViewer(&viewer, nullptr);
  EXPECT_EQ(static_cast<GifImage*>(image.get())->PixelAt(2, 1), 1);
}

}  // namespace
}  // namespace lumbra
