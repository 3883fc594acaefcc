// GIF images: parse, frame rendering, animation and greyed drawing.
#include "images/gif_image.h"

#include <algorithm>
#include <new>

#include "codecs/decoded_image.h"
#include "codecs/lzw_decoder.h"

namespace lumbra {

namespace {

constexpr std::size_t kGlobalTableAt = 13;
constexpr std::int32_t kPixelsPerMetre = 3000;

struct Pass {
  std::int32_t first;
  std::int32_t step;
};
constexpr Pass kInterlacedPasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
constexpr Pass kSinglePass[] = {{0, 1}};

// Greyed drawing: bit 3, or bit 4 without bit 6, of the draw-state word.
bool DrawsGreyed(std::uint32_t drawState) {
  return (drawState & 8) != 0 || ((drawState & 16) != 0 && (drawState & 64) == 0);
}

std::uint8_t GreyLevel(const std::uint8_t* entry) {
  const int mean = (entry[0] + entry[1] + entry[2]) / 3;
  if (mean < 51) return 0;
  if (mean < 102) return 64;
  if (mean < 153) return 128;
  if (mean < 204) return 192;
  return 255;
}

}  // namespace

GifImage::~GifImage() { ReleaseGifContents(); }

std::string GifImage::GetExtension() const { return ".gif"; }

bool GifImage::AttachBytes(std::span<const std::uint8_t> bytes, bool deviceUnits) {
  width_ = 0;
  height_ = 0;
  deviceUnits_ = deviceUnits ? 1 : 0;
  transparent_ = -1;
  sourceIsBitmap_ = 0;
  const bool sizeOnly = (flags_ & SizeOnly) != 0;
  auto parsed = ParseGifBlocks(bytes, !sizeOnly);
  if (!parsed) return false;
  width_ = parsed->width;
  height_ = parsed->height;
  if (!sizeOnly) {
    if (parsed->blocks.empty()) return false;
    stride_ = RowStride(width_, 8);
    const std::uint64_t size =
        kGifFramePixels + std::uint64_t{stride_} * static_cast<std::uint64_t>(height_);
    if (width_ > 0 && stride_ == 0) return false;
    if (size > kGifFrameLimit) return false;
    try {
      frame_.assign(static_cast<std::size_t>(size), 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
    BitmapInfoHeader header;
    header.width = width_;
    header.height = height_;
    header.bitCount = 8;
    header.xPelsPerMeter = kPixelsPerMetre;
    header.yPelsPerMeter = kPixelsPerMetre;
    WriteInfoHeader(frame_.data(), header);
    blocks_ = std::move(parsed->blocks);
    parsedSize_ = static_cast<std::uint32_t>(bytes.size());
    current_ = -1;
  }
  sourceIsBitmap_ = 1;
  return true;
}

std::uint8_t GifImage::PixelAt(std::int32_t x, std::int32_t y) const {
  return frame_[kGifFramePixels + std::size_t{stride_} * static_cast<std::size_t>(height_ - 1 - y) +
                static_cast<std::size_t>(x)];
}

std::optional<DibLayout> GifImage::FrameLayout() const {
  if (frame_.empty()) return std::nullopt;
  DibLayout layout;
  layout.info = frame_.data();
  layout.header = ReadInfoHeader(frame_.data());
  layout.colours = frame_.data() + kInfoHeaderSize;
  layout.colourCount = std::min<std::uint32_t>(layout.header.clrUsed, 256);
  if (layout.colourCount == 0) layout.colourCount = 256;
  layout.bits = frame_.data() + kGifFramePixels;
  layout.bitsSize = static_cast<std::uint32_t>(frame_.size() - kGifFramePixels);
  layout.stride = stride_;
  layout.rows = static_cast<std::uint32_t>(height_);
  layout.rowsPresent = layout.rows;
  return layout;
}

void GifImage::LoadColourTable(const GifBlock& block, std::span<const std::uint8_t> file) {
  const std::uint8_t packed = file[block.offset + 9];
  std::size_t at = kGlobalTableAt;
  std::uint32_t entries = GifTableEntries(file[10]);
  if (packed & 0x80) {
    at = block.offset + 10;
    entries = GifTableEntries(packed);
  }
  std::uint8_t* table = frame_.data() + kInfoHeaderSize;
  std::fill_n(table, 256 * 4, 0);
  // A file without a global table still lends its bytes from 13 on; only
  // the triples inside the file are read, the rest stay black.
  for (std::uint32_t i = 0; i < entries && at + 3 * i + 3 <= file.size(); ++i) {
    const std::uint8_t* rgb = file.data() + at + 3 * i;
    table[4 * i] = rgb[2];
    table[4 * i + 1] = rgb[1];
    table[4 * i + 2] = rgb[0];
  }
  WriteU32(frame_.data() + 32, entries);
  WriteU32(frame_.data() + 36, entries);
}

void GifImage::RenderImage(const GifBlock& block, std::span<const std::uint8_t> file) {
  LoadColourTable(block, file);
  LzwDecoder decoder(file.subspan(block.offset + block.dataOffset), block.minCodeSize);
  const std::span<const Pass> passes = block.interlaced ? std::span<const Pass>(kInterlacedPasses)
                                                        : std::span<const Pass>(kSinglePass);
  const std::size_t rowBytes = static_cast<std::size_t>(block.right - block.left);
  for (const Pass& pass : passes) {
    for (std::int32_t y = block.top + pass.first; y < block.bottom; y += pass.step) {
      std::uint8_t* row = frame_.data() + kGifFramePixels +
                          std::size_t{stride_} * static_cast<std::size_t>(height_ - 1 - y) +
                          static_cast<std::size_t>(block.left);
      decoder.DecodeInto(row, rowBytes);
    }
  }
}

bool GifImage::Play(GifBlock& block, std::span<const std::uint8_t> file) {
  switch (block.kind) {
    case GifBlockKind::kImage: RenderImage(block, file); return true;
    case GifBlockKind::kGraphicControl:
      if (block.delay != 0) StartTimer(block.delay);
      transparent_ = block.transparent;
      return false;
    case GifBlockKind::kApplication:
      if (block.looping) {
        restart_ = 1;
        // The count lives in the block: each round uses one up.
        if (block.loopCount != 0 && --block.loopCount == 0) block.looping = false;
      }
      return false;
    case GifBlockKind::kExtension: return false;
  }
  return false;
}

void GifImage::Advance() {
  const std::span<const std::uint8_t> file = sourceBytes();
  // The blocks point into the bytes they were parsed from; without them
  // (never kept, or not the same size) there is nothing to play.
  if (blocks_.empty() || file.size() != parsedSize_) return;
  const auto count = static_cast<std::int32_t>(blocks_.size());
  const std::int32_t start = current_ + 1;
  std::int32_t index = start;
  bool wrapped = false;
  for (;;) {
    if (index >= count) {
      if (!restart_) return;
      restart_ = 0;
      index = 0;
      wrapped = true;
    }
    // Coming round to the frame on show, or (with no frame drawn at all)
    // to where the walk began, ends it: a looping file without a single
    // image block must not spin for ever.
    if (index == current_ || (wrapped && index == start)) return;
    if (Play(blocks_[static_cast<std::size_t>(index)], file)) {
      current_ = index;
      return;
    }
    ++index;
  }
}

void GifImage::OnTimer() {
  Advance();
  for (auto it = viewers_.rbegin(); it != viewers_.rend(); ++it) {
    it->control->RepaintImage(it->hasRect ? &it->rect : nullptr);
  }
}

void GifImage::StartTimer(std::uint16_t delay) {
  if (deviceUnits_ || (flags_ & SizeOnly)) return;
  animated_ = 1;
  if (viewers_.empty()) return;
  timerPeriod_ = std::uint32_t{delay} * 10;
  timerId_ = 1;
  timerWindow_ = StartGifTimer(this, timerWindow_, timerPeriod_);
}

void GifImage::AttachViewer(ImageViewer* viewer, const ImageRect* rect) {
  std::erase_if(viewers_, [viewer](const GifViewer& v) { return v.control == viewer; });
  GifViewer record;
  record.control = viewer;
  if (rect != nullptr) {
    record.rect = *rect;
    record.hasRect = true;
  }
  viewers_.push_back(record);
  if (animated_) current_ = -1;
  if (current_ == -1) Advance();
}

void GifImage::DetachViewer(ImageViewer* viewer) {
  if (animated_) current_ = -1;
  if (current_ == -1) Advance();
  std::erase_if(viewers_, [viewer](const GifViewer& v) { return v.control == viewer; });
}

std::uintptr_t GifImage::BeginDrawing(std::uint32_t drawState) {
  if (!DrawsGreyed(drawState) || frame_.empty()) return 0;
  const std::uint32_t used = std::min<std::uint32_t>(ReadU32(frame_.data() + 32), 256);
  std::uint8_t* table = frame_.data() + kInfoHeaderSize;
  savedColours_.assign(table, table + 4 * used);
  for (std::uint32_t i = 0; i < used; ++i) {
    std::uint8_t* entry = table + 4 * i;
    const std::uint8_t grey = GreyLevel(entry);
    entry[0] = entry[1] = entry[2] = grey;
  }
  return 1;
}

void GifImage::EndDrawing(std::uint32_t, std::uintptr_t saved) {
  if (saved == 0 || frame_.empty()) return;
  std::copy(savedColours_.begin(), savedColours_.end(), frame_.begin() + kInfoHeaderSize);
  std::vector<std::uint8_t>().swap(savedColours_);
}

bool GifImage::CoversRectangle() const {
  return transparent_ == -1 && ImageObject::CoversRectangle();
}

void GifImage::ReleaseContents() {
  ReleaseGifContents();
  BitmapImage::ReleaseContents();
}

void GifImage::ReleaseGifContents() {
  if (timerWindow_ != nullptr) DestroyGifTimer(timerWindow_);
  timerWindow_ = nullptr;
  timerId_ = 0;
  std::vector<std::uint8_t>().swap(frame_);
  viewers_.clear();
  blocks_.clear();
}

ImagePtr DecodeGif(ImageOwner* owner, std::span<const std::uint8_t> bytes, ImageLoadFlags flags) {
  if (bytes.size() <= 13 || bytes[0] != 'G' || bytes[1] != 'I' || bytes[2] != 'F') {
    return nullptr;
  }
  auto image = std::make_unique<GifImage>(flags);
  if (!AttachWithOwner(*image, owner, bytes)) return nullptr;
  return image;
}

}  // namespace lumbra
