#include "tools/sample_images/sample_set.h"

namespace lumbra::samples {

namespace {

IconPicture IconOf(int size, std::uint16_t bits) {
  IconPicture icon;
  icon.picture = Badge(size, icon.mask);
  icon.bits = bits;
  return icon;
}

}  // namespace

const std::vector<Sample>& SampleSet() {
  static const std::vector<Sample> set = {
      {"01sunset.bmp", "Windows bitmap, 24 bits per pixel: a sunset over water",
       [] { return Bmp24(Sunset(320, 240)); }},
      {"02plasma.bmp", "Windows bitmap, 8 bits per pixel (256 colours): a plasma",
       [] { return Bmp8(Plasma(320, 240)); }},
      {"03shapes.bmp", "Windows bitmap, 4 bits per pixel (16 colours): shapes",
       [] { return BmpIndexed(Shapes(320, 240), 4); }},
      {"04sphere.bmp", "Windows bitmap, 1 bit per pixel (black and white): a dithered sphere",
       [] { return BmpIndexed(Reduce(Sphere(320, 240), BlackAndWhite(), true), 1); }},
      {"05meadow.bmp", "Windows bitmap stored top-down (negative height), 24 bits: a meadow",
       [] { return Bmp24(Meadow(320, 240), true); }},
      {"06badge.ico",
       "Icon with three sizes: 16 x 16 at 16 colours, 32 x 32 at 256, 48 x 48 at 24 bits",
       [] {
         return IconFile({IconOf(16, 4), IconOf(32, 8), IconOf(48, 24)});
       }},
      {"07arrow.cur", "Cursor, 32 x 32 black and white, hot spot at the tip",
       [] {
         IconPicture arrow;
         arrow.picture = Arrow(32, arrow.mask);
         arrow.bits = 1;
         return CursorFile({arrow});
       }},
      {"08house.wmf", "Placeable Windows metafile: a house, a tree and the sun",
       [] { return ShapesMetafile(4800, 3600, 1440); }},
      {"09dusk.pcx", "PCX, 16 colours in four bit planes: the sunset in 16 of its colours",
       [] {
         const TruePicture sunset = Sunset(320, 240);
         return Pcx16(Reduce(sunset, SampledColours(sunset, 16), true));
       }},
      {"10mandel.pcx", "PCX, 256 colours with the palette at the end: the Mandelbrot set",
       [] { return Pcx256(Mandelbrot(320, 240)); }},
      {"11wheel.gif", "GIF, interlaced, 256 colours: a colour wheel",
       [] { return Gif(Reduce(HueWheel(240, 240), WebColours256(), true), true); }},
      {"12star.gif", "GIF with a transparent colour: a star over the window's background",
       [] { return TransparentGif(Star(200)); }},
      {"13ball.gif", "Animated GIF, 12 frames looping: a bouncing ball",
       [] { return AnimatedGif(BouncingBall(160, 120, 12), 8); }},
      {"14planet.jpg", "JPEG in colour: a ringed planet",
       [] { return Jpeg(Planet(480, 360), false); }},
      {"15grey.jpg", "JPEG in grey: a lit sphere", [] { return Jpeg(Sphere(400, 300), true); }},
  };
  return set;
}

}  // namespace lumbra::samples
