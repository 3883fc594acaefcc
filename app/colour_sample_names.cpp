#include "app/colour_sample_names.h"

#include <cstdint>

#include "winrt/window.h"

namespace lumbra {

namespace {

struct SampleNameColour {
  std::int32_t control;  // the name's string control in the panel
  std::int32_t colour;   // 0x00BBGGRR, the "#rrggbb" of the name's text
};

constexpr SampleNameColour kUncolouredNames[] = {
    {86, 0x00AAFF},   // Gold (#ffaa00)
    {93, 0x000066},   // Blood Red (#660000)
    {102, 0xAAFFFF},  // Popcorn Yellow (#ffffaa)
    {106, 0x04A8F0},  // Pyridium Orange (#f0a804)
    {120, 0x0066AA},  // Cinnamon (#aa6600)
    {121, 0xFFAAAA},  // Periwinkle (#aaaaff)
    {122, 0xFF00AA},  // Purple (#aa00ff)
    {126, 0xAA00FF},  // Fuchsia (#ff00aa)
    {131, 0x00DDAA},  // Gold Green (#aadd00)
    {145, 0xAFDD0F},  // Turquoise (#0fddaf)
    {146, 0xA5FFCC},  // Melon Rind Green (#ccffa5)
    {148, 0xAAFF00},  // Sea Green (#00ffaa)
};

}  // namespace

void ColourUncolouredSampleNames() {
  for (const SampleNameColour& name : kUncolouredNames) {
    SetProperty(name.control, PROP::FontColor, name.colour);
  }
}

}  // namespace lumbra
