// PCX decode to an 8-bit DecodedImage against SDL2_image's PCX loader, on
// the same bytes in the same run: a 4000x3000 256-colour file and a
// 4000x3000 16-colour file of four bit planes.
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/bench_table.h"
#include "codecs/pcx_reader.h"
#include "tests/codecs/pcx_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 7;
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Run-length codes one line the way paint programs do: runs of equal bytes
// up to 63, single bytes below C0 stored as they are.
void EncodeLine(const std::uint8_t* line, std::size_t size, std::vector<std::uint8_t>& out) {
  for (std::size_t i = 0; i < size;) {
    std::size_t j = i;
    while (j < size && line[j] == line[i] && j - i < 63) ++j;
    const std::size_t n = j - i;
    if (n > 1 || line[i] >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 | n));
    out.push_back(line[i]);
    i = j;
  }
}

// Bands, gradients and speckle: runs of many lengths.
std::uint8_t Pixel(int x, int y) {
  const unsigned speckle =
      (static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) >> 29;
  return static_cast<std::uint8_t>(((x / 24) + (y / 16)) * 7 + (speckle == 0 ? 3 : 0));
}

std::vector<std::uint8_t> MakePcx(bool planar) {
  lumbra::test::PcxFile file;
  file.width = kWidth;
  file.height = kHeight;
  file.bits = planar ? 1 : 8;
  file.planes = planar ? 4 : 1;
  file.trailer = !planar;
  for (int i = 0; i < 48; ++i) file.headerMap[i] = static_cast<std::uint8_t>(i * 5);
  const std::size_t planeLine = planar ? kWidth / 8 : kWidth;  // even for this width
  std::vector<std::uint8_t> line(planeLine);
  for (int y = 0; y < kHeight; ++y) {
    for (int plane = 0; plane < (planar ? 4 : 1); ++plane) {
      std::fill(line.begin(), line.end(), 0);
      for (int x = 0; x < kWidth; ++x) {
        const std::uint8_t p = Pixel(x, y);
        if (!planar) {
          line[static_cast<std::size_t>(x)] = p;
        } else if ((p >> plane) & 1) {
          line[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
      }
      EncodeLine(line.data(), line.size(), file.data);
    }
  }
  auto bytes = file.Bytes();
  bytes[66] = static_cast<std::uint8_t>(planeLine);  // bytes per line, which SDL reads
  bytes[67] = static_cast<std::uint8_t>(planeLine >> 8);
  return bytes;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <typename Decode>
double Best(Decode decode) {
  double best = 1e9;
  for (int i = 0; i < kRounds; ++i) {
    const auto start = Clock::now();
    if (!decode()) {
      std::fprintf(stderr, "decode failed\n");
      std::exit(1);
    }
    best = std::min(best, Seconds(Clock::now() - start));
  }
  return best;
}

void Compare(const char* label, bool planar) {
  const auto pcx = MakePcx(planar);
  const double ours = Best([&] { return lumbra::DecodePcxImage(pcx, false).has_value(); });
  const double peer = Best([&] {
    SDL_RWops* rw = SDL_RWFromConstMem(pcx.data(), static_cast<int>(pcx.size()));
    SDL_Surface* surface = IMG_LoadPCX_RW(rw);
    SDL_RWclose(rw);
    const bool ok = surface != nullptr;
    SDL_FreeSurface(surface);
    return ok;
  });
  std::printf("pcx %-7s 4000x3000 (%zu bytes): lumbra %.1f ms, SDL2_image %.1f ms, ratio %.2f\n",
              label, pcx.size(), ours * 1e3, peer * 1e3, ours / peer);
  lumbra::bench::TableRow(std::string("pcx: ") + label + " 4000x3000", ours, "SDL2_image", peer);
}

}  // namespace

int main() {
  Compare("8-bit", false);
  Compare("4-plane", true);
  return 0;
}
