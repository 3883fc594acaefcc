#include "app/image_fit.h"

#include <algorithm>

namespace lumbra {

namespace {
// What the window keeps for the tool bar and the status bar.
constexpr std::int32_t kBarsHeight = 40;
// The largest coordinate a window can be placed and painted at.
constexpr std::int32_t kLargestCoordinate = 32767;
// The largest zoom whose text, with its "%", the status zone holds.
constexpr std::int32_t kLargestZoomText = 999;
}  // namespace

std::int32_t ZoomedLength(std::int32_t zoom, std::int32_t length) {
  return static_cast<std::int32_t>(std::int64_t{zoom} * length / 100);
}

std::int32_t LargestZoom(std::int32_t width, std::int32_t height) {
  const std::int64_t length = std::max(width, height);
  if (length <= 0) return kLargestZoomText;
  // INT(zoom x length / 100) <= limit exactly when zoom x length < (limit + 1) x 100.
  const std::int64_t zoom = ((std::int64_t{kLargestCoordinate} + 1) * 100 - 1) / length;
  return static_cast<std::int32_t>(std::min<std::int64_t>(zoom, kLargestZoomText));
}

std::int32_t FitScale::Apply(std::int32_t length) const {
  return static_cast<std::int32_t>(length * numerator / denominator);
}

FitScale ChooseFitScale(std::int32_t areaWidth, std::int32_t areaHeight, std::int32_t width,
                        std::int32_t height) {
  // A window smaller than its bars has no room, not a negative one.
  const std::int32_t w = std::max(areaWidth, 0);
  const std::int32_t h = std::max(areaHeight, 0);
  const bool wide = width > w;
  const bool tall = height > h;
  const FitScale byWidth{w, width};
  const FitScale byHeight{h, height};
  if (wide && tall) {
    if (w < byWidth.Apply(width) - 2 || h < byWidth.Apply(height) - 2) return byHeight;
    return byWidth;
  }
  if (wide) return byWidth;
  if (tall) return byHeight;
  return {};
}

ControlPlace BestFitPlace(std::int32_t windowWidth, std::int32_t windowHeight,
                          std::int32_t toolbarHeight, std::int32_t imageWidth,
                          std::int32_t imageHeight) {
  const FitScale scale =
      ChooseFitScale(windowWidth, windowHeight - kBarsHeight, imageWidth, imageHeight);
  ControlPlace place;
  place.scale = scale;
  place.height = scale.Apply(imageHeight);
  place.width = scale.Apply(imageWidth);
  place.x = std::max((windowWidth - place.width) / 2, 0);
  place.y = std::max((windowHeight - place.height) / 2 - toolbarHeight + 20, 0);
  return place;
}

}  // namespace lumbra
