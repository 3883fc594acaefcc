// Window palettes: the static entries first, then the window's colours,
// reduced by the colour collector when a rebuild gathers them.
#include "display/window_palette_win32.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/gdi_tally_win32.h"
#include "display/colour_collector.h"

namespace lumbra {

namespace {

PALETTEENTRY Entry(Colour c) {
  return {ColourComponent(c, 0), ColourComponent(c, 1), ColourComponent(c, 2), 0};
}

// Asks a child window of the runtime for its colours.
BOOL CALLBACK AskChild(HWND child, LPARAM palette) {
  char name[8] = {};
  GetClassNameA(child, name, sizeof name);
  if (std::strncmp(name, "Wex", 3) == 0) {
    SendMessageA(child, kQueryColours, static_cast<WPARAM>(palette), 0);
  }
  return TRUE;
}

}  // namespace

std::unique_ptr<WindowPalette> WindowPalette::Create(HWND window, std::uint32_t requested,
                                                     ColourSource source) {
  HDC screen = GetDC(nullptr);
  const bool palettes = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
  const int free = GetDeviceCaps(screen, SIZEPALETTE) - GetDeviceCaps(screen, NUMRESERVED);
  ReleaseDC(nullptr, screen);
  if (!palettes || free <= 0) return nullptr;
  std::unique_ptr<WindowPalette> palette(
      new WindowPalette(window, static_cast<std::uint32_t>(free), std::move(source)));
  palette->maximum_ = std::min(requested, palette->available_);
  return palette;
}

WindowPalette::WindowPalette(HWND window, std::uint32_t available, ColourSource source)
    : window_(window), source_(std::move(source)), available_(available) {}

WindowPalette::~WindowPalette() { DeleteHandle(); }

void WindowPalette::SetMaximum(std::uint32_t requested) {
  const std::uint32_t maximum = std::min(requested, available_);
  if (maximum == maximum_) return;
  maximum_ = maximum;
  MarkDirty();
}

void WindowPalette::MarkDirty() { dirty_ = true; }

void WindowPalette::AddColour(std::int32_t colour) {
  if (static_cast<std::uint32_t>(colour) & 0x80000000u) return;
  if (rebuilding_) {
    TheColourCollector().AddColour(static_cast<Colour>(colour));
    return;
  }
  if (count_ >= maximum_) return;
  if (palette_ == nullptr) CreateHandle();
  if (palette_ == nullptr) return;
  ResizePalette(palette_, base_ + count_ + 1);
  const PALETTEENTRY entry = Entry(static_cast<Colour>(colour));
  SetPaletteEntries(palette_, base_ + count_, 1, &entry);
  ++count_;
}

void WindowPalette::AddColourTable(const std::uint8_t* entries, std::uint32_t count) {
  if (rebuilding_) {
    TheColourCollector().AddTable(entries, count);
  } else {
    MarkDirty();
  }
}

// A logical palette that starts with the entries of the stock default
// palette, the static colours.
void WindowPalette::CreateHandle() {
  DeleteHandle();
  LOGPALETTE one = {0x300, 1, {{0, 0, 0, 0}}};
  palette_ = gdi_tally::Made(CreatePalette(&one));
  if (palette_ == nullptr) return;
  auto* stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  WORD statics = 0;
  GetObjectA(stock, sizeof statics, &statics);
  std::vector<PALETTEENTRY> entries(std::max<WORD>(statics, 1));
  GetPaletteEntries(stock, 0, statics, entries.data());
  ResizePalette(palette_, statics);
  SetPaletteEntries(palette_, 0, statics, entries.data());
  base_ = statics;
}

void WindowPalette::DeleteHandle() {
  gdi_tally::Delete(palette_);
  palette_ = nullptr;
}

void WindowPalette::Rebuild() {
  count_ = 0;
  DeleteHandle();
  ColourCollector& collector = TheColourCollector();
  collector.Clear();
  rebuilding_ = true;
  if (source_) source_(*this);
  EnumChildWindows(window_, AskChild, reinterpret_cast<LPARAM>(static_cast<PaletteTarget*>(this)));
  if (!collector.empty()) {
    const std::uint32_t reduced = std::min(collector.Reduce(maximum_), maximum_);
    CreateHandle();
    if (palette_ != nullptr && reduced > 0) {
      std::vector<PALETTEENTRY> entries;
      for (std::uint32_t i = 0; i < reduced; ++i) entries.push_back(Entry(collector.colours()[i]));
      ResizePalette(palette_, base_ + reduced);
      SetPaletteEntries(palette_, base_, reduced, entries.data());
      count_ = reduced;
    }
    // The next realisation maps the palette afresh.
    if (palette_ != nullptr) UnrealizeObject(palette_);
  }
  collector.FreeTree();
  collector.Clear();
  rebuilding_ = false;
  dirty_ = false;
}

void WindowPalette::RebuildIfDirty() {
  if (dirty_ && !rebuilding_) Rebuild();
}

void WindowPalette::SelectInto(HDC dc) {
  RebuildIfDirty();
  if (palette_ == nullptr) return;
  SelectPalette(dc, palette_, FALSE);
  RealizePalette(dc);
}

int WindowPalette::RealiseForWindow(HWND window, bool background) {
  RebuildIfDirty();
  if (palette_ == nullptr) return 0;
  HDC dc = GetDC(window);
  SaveDC(dc);
  UnrealizeObject(palette_);
  SelectPalette(dc, palette_, background ? TRUE : FALSE);
  const UINT changed = RealizePalette(dc);
  const int result = changed == GDI_ERROR ? 0 : static_cast<int>(changed);
  if (result > 0) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  RestoreDC(dc, -1);
  ReleaseDC(window, dc);
  return result;
}

}  // namespace lumbra
