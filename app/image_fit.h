// The arithmetic of zoom and Best Fit. Every product and division is exact
// (whole numbers and ratios, truncated toward zero), so an image never
// comes out one pixel short of the space it was fitted to.
#pragma once

#include <cstdint>

namespace lumbra {

// INT(zoom x 0.01 x length).
std::int32_t ZoomedLength(std::int32_t zoom, std::int32_t length);

// The largest zoom the viewer shows an image of width x height at: its
// zoomed size within the 32,767 pixels the platform can place and paint a
// window at, and the zoom within the three digits that its status zone
// shows whole.
std::int32_t LargestZoom(std::int32_t width, std::int32_t height);

// A scale as the exact ratio numerator / denominator.
struct FitScale {
  std::int64_t numerator = 1;
  std::int64_t denominator = 1;
  // INT(length x scale).
  std::int32_t Apply(std::int32_t length) const;
  double value() const { return static_cast<double>(numerator) / static_cast<double>(denominator); }
};

// The scale that fits an image of width x height into an area: 1 when it
// fits (images are not enlarged); the width ratio when only the width is
// too large, the height ratio when only the height is; with both too large
// the width ratio unless the height it gives exceeds the area's by more
// than 2, then the height ratio.
FitScale ChooseFitScale(std::int32_t areaWidth, std::int32_t areaHeight, std::int32_t width,
                        std::int32_t height);

struct ControlPlace {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  FitScale scale;
};

// Where Best Fit puts the image control in a window: scaled into the
// window less 40 for the bars, centred across, and centred down less the
// tool bar plus 20, never above or left of the origin.
ControlPlace BestFitPlace(std::int32_t windowWidth, std::int32_t windowHeight,
                          std::int32_t toolbarHeight, std::int32_t imageWidth,
                          std::int32_t imageHeight);

}  // namespace lumbra
