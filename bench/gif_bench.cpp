// GIF decoding of every frame against giflib (DGifSlurp and its frames
// composed into an 8-bit buffer) and stb_image (frames composed to RGBA),
// on the same bytes in the same run: a large still GIF and a large
// animated one.
#include <gif_lib.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "bench/bench_table.h"
#include "images/gif_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;
constexpr int kRounds = 9;

void PutU16(Bytes& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// A GIF encoder with a real string table, as image programs write them:
// codes grow to 12 bits and the table is cleared when it is full.
class LzwEncoder {
 public:
  explicit LzwEncoder(int minCodeSize) : min_(minCodeSize), clear_(1 << minCodeSize) {}

  Bytes Encode(const std::uint8_t* pixels, std::size_t count) {
    out_.clear();
    acc_ = 0;
    bits_ = 0;
    Reset();
    Put(clear_);
    int prefix = pixels[0];
    for (std::size_t i = 1; i < count; ++i) {
      const int c = pixels[i];
      const int key = prefix * 256 + c;
      if (table_[static_cast<std::size_t>(key)] != 0) {
        prefix = table_[static_cast<std::size_t>(key)];
        continue;
      }
      Put(prefix);
      if (next_ < 4096) {
        table_[static_cast<std::size_t>(key)] = static_cast<std::uint16_t>(next_++);
        if (next_ > (1 << size_) && size_ < 12) ++size_;
      } else {
        Put(clear_);
        Reset();
      }
      prefix = c;
    }
    Put(prefix);
    Put(clear_ + 1);
    if (bits_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_));
    return out_;
  }

 private:
  void Reset() {
    table_.assign(4096 * 256, 0);
    size_ = min_ + 1;
    next_ = clear_ + 2;
  }
  void Put(int code) {
    acc_ |= static_cast<std::uint32_t>(code) << bits_;
    bits_ += size_;
    while (bits_ >= 8) {
      out_.push_back(static_cast<std::uint8_t>(acc_));
      acc_ >>= 8;
      bits_ -= 8;
    }
  }

  int min_;
  int clear_;
  int size_ = 0;
  int next_ = 0;
  std::vector<std::uint16_t> table_;
  Bytes out_;
  std::uint32_t acc_ = 0;
  int bits_ = 0;
};

std::uint8_t Pixel(int x, int y, int frame) {
  const unsigned speckle =
      (static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y + frame) * 40503u) >> 28;
  return static_cast<std::uint8_t>(((x + frame * 3) / 12 + (y / 9)) * 5 + (speckle == 0 ? 7 : 0));
}

void PutImage(Bytes& gif, int left, int top, int width, int height, int frame) {
  gif.push_back(0x2C);
  PutU16(gif, static_cast<unsigned>(left));
  PutU16(gif, static_cast<unsigned>(top));
  PutU16(gif, static_cast<unsigned>(width));
  PutU16(gif, static_cast<unsigned>(height));
  gif.push_back(0);
  gif.push_back(8);
  Bytes pixels(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      pixels[static_cast<std::size_t>(y) * width + x] = Pixel(x, y, frame);
  }
  const Bytes data = LzwEncoder(8).Encode(pixels.data(), pixels.size());
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    gif.push_back(static_cast<std::uint8_t>(n));
    gif.insert(gif.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  gif.push_back(0);
}

Bytes MakeGif(int width, int height, int frames) {
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
  PutU16(gif, static_cast<unsigned>(width));
  PutU16(gif, static_cast<unsigned>(height));
  gif.insert(gif.end(), {0xF7, 0, 0});
  for (int i = 0; i < 256; ++i) {
    gif.insert(gif.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i * 7)});
  }
  for (int f = 0; f < frames; ++f) {
    gif.insert(gif.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0});
    // Full first frame, then frames over most of the screen.
    if (f == 0) {
      PutImage(gif, 0, 0, width, height, f);
    } else {
      PutImage(gif, width / 8, height / 8, width * 3 / 4, height * 3 / 4, f);
    }
  }
  gif.push_back(0x3B);
  return gif;
}

struct NullViewer : lumbra::ImageViewer {
  void RepaintImage(const lumbra::ImageRect*) override {}
};

// Ours: parse, then every frame into the 8-bit frame buffer.
std::uint32_t DecodeOurs(const Bytes& gif) {
  lumbra::ImagePtr image = lumbra::DecodeGif(nullptr, gif, 0);
  if (!image) std::abort();
  image->KeepOwnedSource(gif);
  auto* frames = static_cast<lumbra::GifImage*>(image.get());
  NullViewer viewer;
  image->AttachViewer(&viewer, nullptr);
  for (std::size_t i = 1; i < frames->blocks().size(); ++i) frames->Advance();
  return frames->PixelAt(frames->width() / 2, frames->height() / 2);
}

struct MemoryReader {
  const Bytes* bytes;
  std::size_t at = 0;
};

int ReadMemory(GifFileType* file, GifByteType* to, int count) {
  auto* reader = static_cast<MemoryReader*>(file->UserData);
  const std::size_t n =
      std::min<std::size_t>(static_cast<std::size_t>(count), reader->bytes->size() - reader->at);
  std::memcpy(to, reader->bytes->data() + reader->at, n);
  reader->at += n;
  return static_cast<int>(n);
}

// giflib: slurp every frame, then draw each over an 8-bit screen buffer.
std::uint32_t DecodeGiflib(const Bytes& gif) {
  MemoryReader reader{&gif};
  int error = 0;
  GifFileType* file = DGifOpen(&reader, ReadMemory, &error);
  if (file == nullptr || DGifSlurp(file) != GIF_OK) std::abort();
  const int width = file->SWidth;
  const int height = file->SHeight;
  std::vector<std::uint8_t> screen(static_cast<std::size_t>(width) * height);
  for (int i = 0; i < file->ImageCount; ++i) {
    const SavedImage& frame = file->SavedImages[i];
    const GifImageDesc& d = frame.ImageDesc;
    for (int y = 0; y < d.Height && d.Top + y < height; ++y) {
      const int n = std::min(d.Width, width - d.Left);
      std::memcpy(&screen[static_cast<std::size_t>(d.Top + y) * width + d.Left],
                  frame.RasterBits + static_cast<std::size_t>(y) * d.Width,
                  static_cast<std::size_t>(n));
    }
  }
  const std::uint32_t probe = screen[static_cast<std::size_t>(height / 2) * width + width / 2];
  DGifCloseFile(file, &error);
  return probe;
}

// stb_image: every frame composed to RGBA.
std::uint32_t DecodeStb(const Bytes& gif) {
  int* delays = nullptr;
  int width = 0;
  int height = 0;
  int frames = 0;
  int channels = 0;
  stbi_uc* pixels = stbi_load_gif_from_memory(gif.data(), static_cast<int>(gif.size()), &delays,
                                              &width, &height, &frames, &channels, 4);
  if (pixels == nullptr) std::abort();
  const std::uint32_t probe = pixels[0];
  stbi_image_free(pixels);
  std::free(delays);
  return probe;
}

double Seconds(const std::function<std::uint32_t()>& run, std::uint32_t& probe) {
  const auto start = Clock::now();
  probe = run();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The decoders take turns in every round, so a busy machine slows all of
// them alike; the best round of each counts.
void Compare(const char* name, const Bytes& gif) {
  std::uint32_t ours = 0;
  std::uint32_t theirs = 0;
  std::uint32_t stb = 0;
  double tOurs = 1e9;
  double tGiflib = 1e9;
  double tStb = 1e9;
  for (int i = 0; i < kRounds; ++i) {
    tOurs = std::min(tOurs, Seconds([&] { return DecodeOurs(gif); }, ours));
    tGiflib = std::min(tGiflib, Seconds([&] { return DecodeGiflib(gif); }, theirs));
    tStb = std::min(tStb, Seconds([&] { return DecodeStb(gif); }, stb));
  }
  if (ours != theirs) std::printf("%s: frames differ from giflib (%u, %u)\n", name, ours, theirs);
  const double mb = static_cast<double>(gif.size()) / 1e6;
  std::printf(
      "%-9s %5.2f MB  lumbra %6.1f MB/s  giflib %6.1f MB/s (ratio %.2f)  stb_image %6.1f MB/s "
      "(ratio %.2f)\n",
      name, mb, mb / tOurs, mb / tGiflib, tGiflib / tOurs, mb / tStb, tStb / tOurs);
  lumbra::bench::TableRow(std::string("gif: ") + name + ", every frame", tOurs, "giflib", tGiflib);
  lumbra::bench::TableRow(std::string("gif: ") + name + ", every frame", tOurs, "stb_image", tStb);
}

}  // namespace

int main() {
  std::printf("GIF decoding of every frame, best of %d rounds (ratio > 1: lumbra faster)\n",
              kRounds);
  Compare("still", MakeGif(4000, 3000, 1));
  Compare("animated", MakeGif(640, 480, 120));
  return 0;
}
