// The pictures of the sample images: small scenes and patterns drawn from
// formulas, in true colour or as colour indices with their palette.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/codecs/jpeg_fixture.h"

namespace lumbra::samples {

using test::Rgb;

struct TruePicture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // rows from the top
  Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> pixels;  // colour indices, rows from the top
  std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Scenes in true colour.
TruePicture Sunset(int width, int height);    // sky, sun, hills, water
TruePicture Meadow(int width, int height);    // sky and clouds above, green hills below
TruePicture Planet(int width, int height);    // a ringed planet among stars
TruePicture Sphere(int width, int height);    // a lit white sphere over a floor
TruePicture HueWheel(int width, int height);  // hues round a disc, grey outside
// A round badge on a transparent ground; mask holds 1 where it shows.
TruePicture Badge(int size, std::vector<std::uint8_t>& mask);
// An arrow pointer with its tip at the top left; mask as for Badge.
TruePicture Arrow(int size, std::vector<std::uint8_t>& mask);

// Pictures that are colour indices by nature.
IndexedPicture Plasma(int width, int height);      // 256 colours
IndexedPicture Mandelbrot(int width, int height);  // 256 colours
IndexedPicture Shapes(int width, int height);      // the 16 standard colours
// A star over index 0, which the file marks transparent.
IndexedPicture Star(int size);
// A ball bouncing over a chequered floor, one picture per frame.
std::vector<IndexedPicture> BouncingBall(int width, int height, int frames);

// Palettes and reduction to them.
std::vector<Rgb> StandardColours16();
std::vector<Rgb> WebColours256();  // the 6 x 6 x 6 cube and 40 greys
std::vector<Rgb> BlackAndWhite();
// count colours of the picture, taken down two of its columns at even steps.
std::vector<Rgb> SampledColours(const TruePicture& picture, int count);
// The nearest palette colour of each pixel, with ordered dithering when
// asked for.
IndexedPicture Reduce(const TruePicture& picture, const std::vector<Rgb>& palette, bool dither);

}  // namespace lumbra::samples
