// Metafile record checks: one rule per record function the platform plays.
#include "codecs/wmf_records.h"

#include <algorithm>

#include "codecs/decoded_image.h"

namespace lumbra {

namespace {

// How a record's parameters are laid out, as far as playback reads them.
enum class Layout : std::uint8_t {
  kFixed,           // `words` parameters
  kObjects,         // `words` parameters, the first `indices` object slots
  kPoints,          // a count, then that many points
  kPolyPolygon,     // a polygon count, the point count of each, the points
  kTextOut,         // a count, the characters, y and x
  kExtTextOut,      // y, x, a count, options, a rectangle, the characters
  kCountedBytes,    // two words, the second a byte count, the bytes
  kPaletteEntries,  // a first entry or version, a count, the entries
  kRegion,          // eleven words, then the scans
  kFont,            // a font with its face name
  kDib,             // a packed bitmap after `words` parameters
  kDibToDevice,     // as kDib, with the scans it sets inside the bitmap
  kPatternBrush,    // a style, a colour use, a packed bitmap
  kRefused,         // bitmaps of an old layout that the checks cannot vouch for
};

struct Rule {
  std::uint16_t function;
  std::uint8_t words;
  Layout layout;
  std::uint8_t indices = 0;
};

constexpr Rule kRules[] = {
    {0x0201, 2, Layout::kFixed},           // SetBkColor
    {0x0102, 1, Layout::kFixed},           // SetBkMode
    {0x0103, 1, Layout::kFixed},           // SetMapMode
    {0x0104, 1, Layout::kFixed},           // SetROP2
    {0x0105, 0, Layout::kFixed},           // SetRelAbs
    {0x0106, 1, Layout::kFixed},           // SetPolyFillMode
    {0x0107, 1, Layout::kFixed},           // SetStretchBltMode
    {0x0108, 1, Layout::kFixed},           // SetTextCharacterExtra
    {0x0209, 2, Layout::kFixed},           // SetTextColor
    {0x020A, 2, Layout::kFixed},           // SetTextJustification
    {0x020B, 2, Layout::kFixed},           // SetWindowOrg
    {0x020C, 2, Layout::kFixed},           // SetWindowExt
    {0x020D, 2, Layout::kFixed},           // SetViewportOrg
    {0x020E, 2, Layout::kFixed},           // SetViewportExt
    {0x020F, 2, Layout::kFixed},           // OffsetWindowOrg
    {0x0410, 4, Layout::kFixed},           // ScaleWindowExt
    {0x0211, 2, Layout::kFixed},           // OffsetViewportOrg
    {0x0412, 4, Layout::kFixed},           // ScaleViewportExt
    {0x0213, 2, Layout::kFixed},           // LineTo
    {0x0214, 2, Layout::kFixed},           // MoveTo
    {0x0415, 4, Layout::kFixed},           // ExcludeClipRect
    {0x0416, 4, Layout::kFixed},           // IntersectClipRect
    {0x0817, 8, Layout::kFixed},           // Arc
    {0x0418, 4, Layout::kFixed},           // Ellipse
    {0x0419, 4, Layout::kFixed},           // FloodFill
    {0x081A, 8, Layout::kFixed},           // Pie
    {0x041B, 4, Layout::kFixed},           // Rectangle
    {0x061C, 6, Layout::kFixed},           // RoundRect
    {0x061D, 6, Layout::kFixed},           // PatBlt
    {0x001E, 0, Layout::kFixed},           // SaveDC
    {0x041F, 4, Layout::kFixed},           // SetPixel
    {0x0220, 2, Layout::kFixed},           // OffsetClipRgn
    {0x0127, 1, Layout::kFixed},           // RestoreDC
    {0x012E, 1, Layout::kFixed},           // SetTextAlign
    {0x0830, 8, Layout::kFixed},           // Chord
    {0x0231, 2, Layout::kFixed},           // SetMapperFlags
    {0x0035, 0, Layout::kFixed},           // RealizePalette
    {0x0139, 1, Layout::kFixed},           // ResizePalette
    {0x0548, 5, Layout::kFixed},           // ExtFloodFill
    {0x0149, 2, Layout::kFixed},           // SetLayout
    {0x02FA, 5, Layout::kFixed},           // CreatePenIndirect
    {0x02FC, 4, Layout::kFixed},           // CreateBrushIndirect
    {0x012D, 1, Layout::kObjects, 1},      // SelectObject
    {0x01F0, 1, Layout::kObjects, 1},      // DeleteObject
    {0x0234, 1, Layout::kObjects, 1},      // SelectPalette
    {0x012C, 1, Layout::kObjects, 1},      // SelectClipRegion (0: none)
    {0x0228, 2, Layout::kObjects, 2},      // FillRegion
    {0x0429, 4, Layout::kObjects, 2},      // FrameRegion
    {0x012A, 1, Layout::kObjects, 1},      // InvertRegion
    {0x012B, 1, Layout::kObjects, 1},      // PaintRegion
    {0x0324, 1, Layout::kPoints},          // Polygon
    {0x0325, 1, Layout::kPoints},          // Polyline
    {0x0538, 1, Layout::kPolyPolygon},     // PolyPolygon
    {0x0521, 1, Layout::kTextOut},         // TextOut
    {0x0A32, 4, Layout::kExtTextOut},      // ExtTextOut
    {0x0626, 2, Layout::kCountedBytes},    // Escape
    {0x0037, 2, Layout::kPaletteEntries},  // SetPalEntries
    {0x0436, 2, Layout::kPaletteEntries},  // AnimatePalette
    {0x00F7, 2, Layout::kPaletteEntries},  // CreatePalette
    {0x06FF, 11, Layout::kRegion},         // CreateRegion
    {0x02FB, 9, Layout::kFont},            // CreateFontIndirect
    {0x0940, 8, Layout::kDib},             // DibBitBlt
    {0x0B41, 10, Layout::kDib},            // DibStretchBlt
    {0x0F43, 11, Layout::kDib},            // StretchDib
    {0x0D33, 9, Layout::kDibToDevice},     // SetDibToDev
    {0x0142, 2, Layout::kPatternBrush},    // DibCreatePatternBrush
    {0x0922, 0, Layout::kRefused},         // BitBlt with a device bitmap
    {0x0B23, 0, Layout::kRefused},         // StretchBlt with a device bitmap
    {0x01F9, 0, Layout::kRefused},         // CreatePatternBrush
    {0x062F, 0, Layout::kRefused},         // DrawText
    {0x02FD, 0, Layout::kRefused},         // CreateBitmapIndirect
    {0x06FE, 0, Layout::kRefused},         // CreateBitmap
    {0x00F8, 0, Layout::kRefused},         // CreateBrush
};

constexpr std::uint16_t kPatternStyle = 3;  // a brush of a device bitmap
constexpr std::size_t kFaceAt = 18;         // the face name in a font record
constexpr std::size_t kFaceSize = 32;
constexpr std::uint16_t kClipRectangleOptions = 0x0006;  // opaque or clipped

// The parameters as 16-bit words.
class Words {
 public:
  explicit Words(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::size_t count() const { return bytes_.size() / 2; }
  std::uint16_t operator[](std::size_t i) const { return ReadU16(bytes_.data() + 2 * i); }
  std::span<const std::uint8_t> from(std::size_t word) const { return bytes_.subspan(2 * word); }

 private:
  std::span<const std::uint8_t> bytes_;
};

std::uint64_t WordsForBytes(std::uint64_t bytes) { return (bytes + 1) / 2; }

bool CompleteDib(std::span<const std::uint8_t> bytes) {
  const auto layout = CheckPackedDib(bytes);
  return layout && layout->complete();
}

bool PolyPolygonFits(const Words& p) {
  const std::uint64_t polygons = p[0];
  if (1 + polygons > p.count()) return false;
  std::uint64_t points = 0;
  for (std::size_t i = 1; i <= polygons; ++i) points += p[i];
  return 1 + polygons + 2 * points <= p.count();
}

bool RegionFits(const Words& p) {
  std::size_t at = 11;
  for (std::uint32_t scan = 0; scan < p[5]; ++scan) {
    if (at >= p.count()) return false;
    const std::size_t scanWords = std::size_t{p[at]} + 4;  // count, top, bottom, x's, count
    if (scanWords > p.count() - at) return false;
    at += scanWords;
  }
  return true;
}

// The face name ends inside the record, or the record holds all of it.
bool FontFits(std::span<const std::uint8_t> bytes) {
  const std::span<const std::uint8_t> face = bytes.subspan(kFaceAt);
  return face.size() >= kFaceSize || std::find(face.begin(), face.end(), 0) != face.end();
}

bool DibToDeviceFits(const Words& p, std::size_t dibAt) {
  const auto layout = CheckPackedDib(p.from(dibAt));
  return layout && layout->complete() && std::uint32_t{p[1]} + p[2] <= layout->rows;
}

bool ParametersFit(const Rule& rule, const Words& p, std::span<const std::uint8_t> bytes,
                   std::uint16_t objects) {
  if (p.count() < rule.words) return false;
  switch (rule.layout) {
    case Layout::kFixed: return true;
    case Layout::kObjects:
      for (std::size_t i = 0; i < rule.indices; ++i) {
        const bool noRegion = rule.function == 0x012C && p[i] == 0;
        if (!noRegion && p[i] >= objects) return false;
      }
      return true;
    case Layout::kPoints: return 1 + 2ull * p[0] <= p.count();
    case Layout::kPolyPolygon: return PolyPolygonFits(p);
    case Layout::kTextOut: return 1 + WordsForBytes(p[0]) + 2 <= p.count();
    case Layout::kExtTextOut: {
      const std::uint64_t rectangle = (p[3] & kClipRectangleOptions) ? 4 : 0;
      return 4 + rectangle + WordsForBytes(p[2]) <= p.count();
    }
    case Layout::kCountedBytes: return 2 + WordsForBytes(p[1]) <= p.count();
    case Layout::kPaletteEntries: return 2 + 2ull * p[1] <= p.count();
    case Layout::kRegion: return RegionFits(p);
    case Layout::kFont: return FontFits(bytes);
    case Layout::kDib: return CompleteDib(p.from(rule.words));
    case Layout::kDibToDevice: return DibToDeviceFits(p, rule.words);
    case Layout::kPatternBrush: return p[0] != kPatternStyle && CompleteDib(p.from(rule.words));
    case Layout::kRefused: return false;
  }
  return false;
}

}  // namespace

bool RecordParametersFit(std::uint16_t function, std::span<const std::uint8_t> parameters,
                         std::uint16_t objects) {
  for (const Rule& rule : kRules) {
    if (rule.function == function)
      return ParametersFit(rule, Words(parameters), parameters, objects);
  }
  return true;
}

}  // namespace lumbra
