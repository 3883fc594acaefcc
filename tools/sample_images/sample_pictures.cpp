#include "tools/sample_images/sample_pictures.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace lumbra::samples {

namespace {

constexpr double kPi = 3.14159265358979323846;

std::uint8_t Byte(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0) + 0.5); }

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {Byte(a.r + (b.r - a.r) * t), Byte(a.g + (b.g - a.g) * t), Byte(a.b + (b.b - a.b) * t)};
}

Rgb Scale(Rgb c, double k) { return {Byte(c.r * k), Byte(c.g * k), Byte(c.b * k)}; }

TruePicture Draw(int width, int height, const std::function<Rgb(double x, double y)>& paint) {
  TruePicture picture{width, height, {}};
  picture.pixels.reserve(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.pixels.push_back(paint(x, y));
  }
  return picture;
}

IndexedPicture DrawIndexed(int width, int height, std::vector<Rgb> palette,
                           const std::function<std::uint8_t(double x, double y)>& paint) {
  IndexedPicture picture{width, height, std::move(palette), {}};
  picture.pixels.reserve(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.pixels.push_back(paint(x, y));
  }
  return picture;
}

double Distance(double x, double y, double cx, double cy) { return std::hypot(x - cx, y - cy); }

// Sky from the zenith colour at the top to the horizon colour at row
// horizon.
Rgb Sky(double y, double horizon, Rgb zenith, Rgb middle, Rgb low) {
  const double t = std::clamp(y / horizon, 0.0, 1.0);
  return t < 0.6 ? Mix(zenith, middle, t / 0.6) : Mix(middle, low, (t - 0.6) / 0.4);
}

Rgb Hue(double angle) {  // angle in turns
  const double h = (angle - std::floor(angle)) * 6.0;
  const double f = h - std::floor(h);
  switch (static_cast<int>(h)) {
    case 0: return {255, Byte(255 * f), 0};
    case 1: return {Byte(255 * (1 - f)), 255, 0};
    case 2: return {0, 255, Byte(255 * f)};
    case 3: return {0, Byte(255 * (1 - f)), 255};
    case 4: return {Byte(255 * f), 0, 255};
    default: return {255, 0, Byte(255 * (1 - f))};
  }
}

// Whether (x, y) lies inside the polygon (even-odd rule).
bool Inside(const std::vector<std::pair<double, double>>& polygon, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const auto [xi, yi] = polygon[i];
    const auto [xj, yj] = polygon[j];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

std::vector<std::pair<double, double>> StarPoints(double cx, double cy, double outer,
                                                  double inner) {
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < 10; ++i) {
    const double r = i % 2 == 0 ? outer : inner;
    const double a = -kPi / 2 + i * kPi / 5;
    points.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
  }
  return points;
}

}  // namespace

TruePicture Sunset(int width, int height) {
  const double horizon = height * 0.62;
  const double sunX = width * 0.5, sunY = horizon - height * 0.08, sunR = height * 0.11;
  const Rgb zenith{22, 26, 84}, middle{176, 72, 118}, low{252, 150, 64};
  return Draw(width, height, [=](double x, double y) {
    const double ridge =
        horizon - height * (0.05 + 0.035 * std::sin(x * 0.031) + 0.025 * std::sin(x * 0.077 + 1.3));
    if (y < horizon) {
      const double d = Distance(x, y, sunX, sunY);
      if (y > ridge) return Mix(Rgb{70, 28, 64}, Rgb{40, 16, 44}, (y - ridge) / (horizon - ridge));
      if (d < sunR) return Mix(Rgb{255, 250, 200}, Rgb{255, 208, 96}, d / sunR);
      return Mix(Sky(y, horizon, zenith, middle, low), Rgb{255, 220, 140},
                 0.6 * std::exp(-(d - sunR) / (height * 0.08)));
    }
    // Water: the sky mirrored and darkened, crossed by ripples, with the
    // sun's path on it.
    const double below = y - horizon;
    const double ripple = 0.5 + 0.5 * std::sin(below * below * 0.05 + x * 0.02);
    Rgb water =
        Scale(Sky(horizon - below * 1.4, horizon, zenith, middle, low), 0.55 + 0.1 * ripple);
    const double path = std::abs(x - sunX) / (sunR * (1.0 + below * 0.03));
    if (path < 1.0 && ripple > 0.45) water = Mix(water, Rgb{255, 210, 120}, 0.7 * (1 - path));
    return water;
  });
}

TruePicture Meadow(int width, int height) {
  const double horizon = height * 0.55;
  return Draw(width, height, [=](double x, double y) {
    const double hill = horizon - height * 0.08 * std::sin(x / width * kPi * 1.6 + 0.4);
    const double nearHill = height * 0.78 + height * 0.06 * std::sin(x / width * kPi * 2.3 + 2.0);
    // A tree on the near hill.
    const double treeX = width * 0.72, treeTop = nearHill - height * 0.36;
    if (std::abs(x - treeX) < width * 0.012 && y > treeTop + height * 0.12 && y < nearHill + 4) {
      return Rgb{96, 62, 30};
    }
    const double crown = Distance(x, y, treeX, treeTop + height * 0.08);
    if (crown < height * 0.1) return Mix(Rgb{40, 130, 40}, Rgb{20, 80, 24}, crown / (height * 0.1));
    if (y > nearHill) return Mix(Rgb{88, 178, 60}, Rgb{40, 120, 36}, (y - nearHill) / height * 3);
    if (y > hill) return Mix(Rgb{120, 190, 90}, Rgb{70, 150, 60}, (y - hill) / (nearHill - hill));
    // Sky with the sun at the top left and three clouds.
    const double sun = Distance(x, y, width * 0.15, height * 0.16);
    if (sun < height * 0.07) return Rgb{255, 236, 120};
    Rgb sky = Mix(Rgb{70, 140, 220}, Rgb{190, 222, 250}, y / horizon);
    for (int c = 0; c < 3; ++c) {
      const double cx = width * (0.38 + 0.22 * c), cy = height * (0.14 + 0.07 * (c % 2));
      double puff = 0;
      for (int p = -2; p <= 2; ++p) {
        puff = std::max(puff, 1.0 - Distance(x, y, cx + p * width * 0.03,
                                             cy - (2 - std::abs(p)) * height * 0.015) /
                                        (height * 0.05));
      }
      sky = Mix(sky, Rgb{250, 250, 252}, puff * 3);
    }
    return sky;
  });
}

TruePicture Planet(int width, int height) {
  const double cx = width * 0.55, cy = height * 0.52, r = height * 0.3;
  return Draw(width, height, [=](double x, double y) {
    // The ring: an ellipse tilted around the planet, hidden behind it in
    // its upper half.
    const double dx = x - cx, dy = y - cy;
    const double rx = dx * 0.96 + dy * 0.28, ry = -dx * 0.28 + dy * 0.96;
    const double ring = std::hypot(rx / (r * 1.9), ry / (r * 0.45));
    const bool onRing = ring > 0.78 && ring < 1.0;
    const double d = std::hypot(dx, dy);
    if (onRing && (ry > 0 || d > r)) {
      return Mix(Rgb{230, 200, 150}, Rgb{150, 120, 90}, (ring - 0.78) / 0.22);
    }
    if (d < r) {
      const double light = std::clamp((-dx - dy) / (r * 1.6) + 0.55, 0.08, 1.0);
      const double band = 0.5 + 0.5 * std::sin(dy / r * 9.0 + std::sin(dx / r * 3.0));
      return Scale(Mix(Rgb{210, 150, 90}, Rgb{240, 210, 160}, band), light);
    }
    // Stars: a fixed scatter from a hash of the position.
    const auto h =
        static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
    if (h % 331 == 0) return Rgb{255, 255, 240};
    return Mix(Rgb{4, 6, 24}, Rgb{24, 12, 48}, y / height);
  });
}

TruePicture Sphere(int width, int height) {
  const double cx = width * 0.5, cy = height * 0.45, r = height * 0.32;
  return Draw(width, height, [=](double x, double y) {
    const double dx = (x - cx) / r, dy = (y - cy) / r;
    const double d2 = dx * dx + dy * dy;
    if (d2 < 1.0) {
      const double nz = std::sqrt(1.0 - d2);
      const double lambert = std::max(0.0, (-0.5 * dx - 0.6 * dy + 0.62 * nz));
      const double highlight = std::pow(std::max(0.0, -0.4 * dx - 0.5 * dy + 0.77 * nz), 30);
      const double v = 30 + 200 * lambert + 60 * highlight;
      return Rgb{Byte(v), Byte(v), Byte(v)};
    }
    // The floor darkens towards the back and under the sphere's shadow.
    const double floorY = cy + r * 0.9;
    if (y > floorY) {
      const double shadow = Distance(x, y, cx + r * 0.3, floorY + r * 0.25) / (r * 1.1);
      const double v = 90 + 120 * (y - floorY) / (height - floorY);
      return Scale(Rgb{Byte(v), Byte(v), Byte(v)}, std::clamp(0.45 + 0.55 * shadow, 0.45, 1.0));
    }
    const double v = 200 - 120 * y / floorY;
    return Rgb{Byte(v), Byte(v), Byte(v)};
  });
}

TruePicture HueWheel(int width, int height) {
  const double cx = width / 2.0, cy = height / 2.0, r = std::min(width, height) * 0.46;
  return Draw(width, height, [=](double x, double y) {
    const double d = Distance(x, y, cx, cy);
    if (d > r) return Rgb{64, 64, 64};
    const double angle = std::atan2(y - cy, x - cx) / (2 * kPi);
    return Mix(Rgb{255, 255, 255}, Hue(angle), d / r);
  });
}

TruePicture Badge(int size, std::vector<std::uint8_t>& mask) {
  const double c = (size - 1) / 2.0, r = size * 0.47;
  mask.assign(static_cast<std::size_t>(size * size), 0);
  TruePicture picture = Draw(size, size, [&](double x, double y) {
    const double d = Distance(x, y, c, c);
    if (d > r) return Rgb{0, 0, 0};
    mask[static_cast<std::size_t>(y * size + x)] = 1;
    if (d > r * 0.82) return Rgb{250, 200, 40};  // the golden rim
    // A lens: blue, lighter towards the upper left.
    return Mix(Rgb{150, 210, 255}, Rgb{20, 60, 170}, Distance(x, y, c * 0.7, c * 0.7) / r);
  });
  return picture;
}

TruePicture Arrow(int size, std::vector<std::uint8_t>& mask) {
  const double s = size / 32.0;
  const std::vector<std::pair<double, double>> outline = {
      {0, 0},           {0, 22 * s},      {6 * s, 17 * s}, {11 * s, 28 * s},
      {15 * s, 26 * s}, {10 * s, 16 * s}, {17 * s, 16 * s}};
  mask.assign(static_cast<std::size_t>(size * size), 0);
  return Draw(size, size, [&](double x, double y) {
    const bool in = Inside(outline, x + 0.5, y + 0.5);
    if (!in) return Rgb{0, 0, 0};
    mask[static_cast<std::size_t>(y * size + x)] = 1;
    // A black border one pixel wide around a white inside.
    const bool edge = !Inside(outline, x + 1.5, y + 0.5) || !Inside(outline, x - 0.5, y + 0.5) ||
                      !Inside(outline, x + 0.5, y + 1.5) || !Inside(outline, x + 0.5, y - 0.5);
    return edge ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
  });
}

IndexedPicture Plasma(int width, int height) {
  std::vector<Rgb> palette;
  for (int i = 0; i < 256; ++i) {
    palette.push_back({Byte(128 + 127 * std::sin(kPi * i / 32.0)),
                       Byte(128 + 127 * std::sin(kPi * i / 64.0 + 1.0)),
                       Byte(128 + 127 * std::sin(kPi * i / 128.0 + 2.0))});
  }
  return DrawIndexed(width, height, std::move(palette), [=](double x, double y) {
    const double v = std::sin(x / 19.0) + std::sin(y / 11.0 + x / 37.0) +
                     std::sin(Distance(x, y, width * 0.3, height * 0.6) / 9.0) +
                     std::sin(Distance(x, y, width * 0.8, height * 0.2) / 13.0);
    return static_cast<std::uint8_t>(static_cast<int>((v + 4.0) * 32.0) & 0xFF);
  });
}

IndexedPicture Mandelbrot(int width, int height) {
  std::vector<Rgb> palette;
  for (int i = 0; i < 255; ++i) {
    const double t = i / 254.0;
    palette.push_back(t < 0.5 ? Mix(Rgb{0, 7, 100}, Rgb{237, 255, 255}, t * 2)
                              : Mix(Rgb{255, 170, 0}, Rgb{0, 2, 0}, (t - 0.5) * 2));
  }
  palette.push_back({0, 0, 0});  // 255: inside the set
  return DrawIndexed(width, height, std::move(palette), [=](double x, double y) {
    const double cr = -2.2 + 3.2 * x / width, ci = -1.2 + 2.4 * y / height;
    double zr = 0, zi = 0;
    for (int n = 0; n < 255; ++n) {
      const double t = zr * zr - zi * zi + cr;
      zi = 2 * zr * zi + ci;
      zr = t;
      if (zr * zr + zi * zi > 4.0) return static_cast<std::uint8_t>((n * 7) % 255);
    }
    return std::uint8_t{255};
  });
}

IndexedPicture Shapes(int width, int height) {
  // Indices into the 16 standard colours.
  enum : std::uint8_t {
    kNavy = 1,
    kRed = 12,
    kGreen = 10,
    kYellow = 14,
    kMagenta = 13,
    kCyan = 11,
    kWhite = 15
  };
  const auto triangle = std::vector<std::pair<double, double>>{
      {width * 0.62, height * 0.72}, {width * 0.92, height * 0.72}, {width * 0.77, height * 0.3}};
  return DrawIndexed(width, height, StandardColours16(), [=](double x, double y) {
    if (y > height * 0.84) {  // a strip of all sixteen colours
      return static_cast<std::uint8_t>(std::min(15, static_cast<int>(x * 16 / width)));
    }
    if (x < 4 || y < 4 || x >= width - 4) return std::uint8_t{kWhite};
    if (Distance(x, y, width * 0.22, height * 0.4) < height * 0.22) return std::uint8_t{kYellow};
    if (std::abs(x - width * 0.48) < height * 0.14 && std::abs(y - height * 0.55) < height * 0.14) {
      return std::uint8_t{kRed};
    }
    if (Inside(triangle, x, y)) return std::uint8_t{kGreen};
    const double ring = Distance(x, y, width * 0.5, height * 0.22);
    if (ring > height * 0.1 && ring < height * 0.15) return std::uint8_t{kCyan};
    if (std::abs(x - width * 0.2) + std::abs(y - height * 0.75) < height * 0.08) {
      return std::uint8_t{kMagenta};
    }
    return std::uint8_t{kNavy};
  });
}

IndexedPicture Star(int size) {
  std::vector<Rgb> palette{{255, 0, 255}};  // 0: transparent
  for (int i = 0; i < 15; ++i)
    palette.push_back(Mix(Rgb{255, 240, 120}, Rgb{230, 90, 10}, i / 14.0));
  const double c = size / 2.0;
  const auto star = StarPoints(c, c * 1.06, size * 0.48, size * 0.2);
  return DrawIndexed(size, size, std::move(palette), [=](double x, double y) {
    if (!Inside(star, x + 0.5, y + 0.5)) return std::uint8_t{0};
    return static_cast<std::uint8_t>(1 + std::min(14.0, Distance(x, y, c, c) / (size * 0.48) * 15));
  });
}

std::vector<IndexedPicture> BouncingBall(int width, int height, int frames) {
  const std::vector<Rgb> palette{{40, 40, 120}, {230, 230, 240}, {90, 90, 160}, {20, 20, 60},
                                 {255, 80, 60}, {200, 30, 30},   {120, 10, 10}, {255, 200, 190},
                                 {60, 60, 140}, {170, 170, 200}, {0, 0, 0},     {0, 0, 0},
                                 {0, 0, 0},     {0, 0, 0},       {0, 0, 0},     {0, 0, 0}};
  const double floorY = height * 0.72, r = height * 0.14;
  std::vector<IndexedPicture> pictures;
  for (int f = 0; f < frames; ++f) {
    const double phase = static_cast<double>(f) / frames;
    const double bx = width * (0.2 + 0.6 * (0.5 - 0.5 * std::cos(2 * kPi * phase)));
    const double by = floorY - r - (floorY - 2.2 * r) * std::abs(std::sin(kPi * phase * 2));
    pictures.push_back(DrawIndexed(width, height, palette, [=](double x, double y) {
      const double d = Distance(x, y, bx, by);
      if (d < r) {
        if (Distance(x, y, bx - r * 0.35, by - r * 0.35) < r * 0.25) return std::uint8_t{7};
        return static_cast<std::uint8_t>(d < r * 0.6 ? 4 : d < r * 0.85 ? 5 : 6);
      }
      if (y > floorY) {
        const double shadow = std::hypot((x - bx) / (r * 1.2), (y - floorY - r * 0.3) / (r * 0.3));
        if (shadow < 1.0) return std::uint8_t{3};
        const bool light = (static_cast<int>(x / 12) + static_cast<int>((y - floorY) / 6)) % 2 == 0;
        return static_cast<std::uint8_t>(light ? 9 : 2);
      }
      return static_cast<std::uint8_t>(y < height * 0.1 ? 8 : 0);
    }));
  }
  return pictures;
}

std::vector<Rgb> StandardColours16() {
  return {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
          {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
          {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
          {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
}

std::vector<Rgb> WebColours256() {
  std::vector<Rgb> palette;
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        palette.push_back({Byte(r * 51), Byte(g * 51), Byte(b * 51)});
      }
    }
  }
  for (int i = 0; i < 40; ++i) {
    const std::uint8_t v = Byte(6 + i * 6.3);
    palette.push_back({v, v, v});
  }
  return palette;
}

std::vector<Rgb> BlackAndWhite() { return {{0, 0, 0}, {255, 255, 255}}; }

std::vector<Rgb> SampledColours(const TruePicture& picture, int count) {
  std::vector<Rgb> palette;
  const int half = count / 2;
  for (int column : {picture.width * 3 / 10, picture.width / 2}) {
    for (int i = 0; i < half; ++i) {
      palette.push_back(picture.At(column, (picture.height - 1) * i / (half - 1)));
    }
  }
  return palette;
}

IndexedPicture Reduce(const TruePicture& picture, const std::vector<Rgb>& palette, bool dither) {
  // The 4 x 4 Bayer matrix, as offsets of up to half a palette step.
  static constexpr int kBayer[4][4] = {
      {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const double spread = palette.size() <= 2 ? 255.0 : palette.size() <= 16 ? 96.0 : 40.0;
  return DrawIndexed(picture.width, picture.height, palette, [&](double x, double y) {
    const Rgb c = picture.At(static_cast<int>(x), static_cast<int>(y));
    const double offset =
        dither ? (kBayer[static_cast<int>(y) % 4][static_cast<int>(x) % 4] / 16.0 - 0.47) * spread
               : 0.0;
    std::size_t best = 0;
    double bestDistance = 1e18;
    for (std::size_t i = 0; i < palette.size(); ++i) {
      const double dr = c.r + offset - palette[i].r, dg = c.g + offset - palette[i].g,
                   db = c.b + offset - palette[i].b;
      const double distance = 0.3 * dr * dr + 0.59 * dg * dg + 0.11 * db * db;
      if (distance < bestDistance) bestDistance = distance, best = i;
    }
    return static_cast<std::uint8_t>(best);
  });
}

}  // namespace lumbra::samples
