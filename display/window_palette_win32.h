// The window palette: on a display that shows colours through a palette,
// one logical palette per window, built from the default palette's static
// entries and the colours its controls and images need, reduced to what
// the display leaves free. Rebuilt lazily, when dirty and about to be used.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "display/palette_target.h"

namespace lumbra {

// The runtime's message by which a window palette asks each child window
// for its colours while it is rebuilt; wParam is the PaletteTarget.
inline constexpr UINT kQueryColours = 0x240C;

// How many entries every window asks for: as many as the display leaves
// free, so that the window in front shows its image at its best.
inline constexpr std::uint32_t kWindowPaletteEntries = 256;

class WindowPalette final : public PaletteTarget {
 public:
  // Adds the colours of the window itself (its wallpaper) to a rebuild.
  using ColourSource = std::function<void(PaletteTarget&)>;

  // A palette for the window, or none on a display without a palette or
  // without free entries.
  static std::unique_ptr<WindowPalette> Create(HWND window, std::uint32_t requested,
                                               ColourSource source);
  ~WindowPalette();
  WindowPalette(const WindowPalette&) = delete;
  WindowPalette& operator=(const WindowPalette&) = delete;

  void SetMaximum(std::uint32_t requested);
  void MarkDirty() override;
  // A colour value; -1 (none) and system colours (bit 31) are ignored.
  void AddColour(std::int32_t colour);
  void AddColourTable(const std::uint8_t* entries, std::uint32_t count) override;
  // Collects the colours of the window, its controls and its child windows
  // afresh and makes the palette from them.
  void Rebuild();
  // Selects the palette (rebuilt first if dirty) into a DC being painted.
  void SelectInto(HDC dc);
  // Realises the palette for the window, repainting it when entries
  // changed; gives the number of changed entries.
  int RealiseForWindow(HWND window, bool background);

  HPALETTE handle() const { return palette_; }
  std::uint32_t count() const { return count_; }
  std::uint32_t available() const { return available_; }
  std::uint32_t maximum() const { return maximum_; }
  std::uint32_t base() const { return base_; }
  bool dirty() const { return dirty_; }

 private:
  WindowPalette(HWND window, std::uint32_t available, ColourSource source);
  void CreateHandle();
  void DeleteHandle();
  void RebuildIfDirty();

  HWND window_;
  ColourSource source_;
  std::uint32_t count_ = 0;
  std::uint32_t available_ = 0;
  std::uint32_t maximum_ = 0;
  HPALETTE palette_ = nullptr;
  std::uint32_t base_ = 0;
  bool dirty_ = true;
  bool rebuilding_ = false;
};

}  // namespace lumbra
