// Small writers for the test inputs: BMP, GIF and placeable WMF files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumbra::testing {

using Bytes = std::vector<std::uint8_t>;

inline void PutU16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void PutU32(Bytes& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
inline void PutText(Bytes& out, std::string_view text) {
  for (char c : text) out.push_back(static_cast<std::uint8_t>(c));
}

// An 8-bit BMP file: width x |height|, a colour table of `colours` grey
// entries, each pixel the value of pixel(x, y) with y counted in file order.
inline Bytes MakeBmp8(std::int32_t width, std::int32_t height, std::uint32_t colours = 4,
                      std::uint8_t fill = 1) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) + 3) / 4 * 4;
  const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
  const std::uint32_t offset = 14 + 40 + 4 * colours;
  Bytes out;
  PutText(out, "BM");
  PutU32(out, offset + stride * rows);
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height));
  PutU16(out, 1);
  PutU16(out, 8);
  PutU32(out, 0);
  PutU32(out, stride * rows);
  PutU32(out, 2835);
  PutU32(out, 2835);
  PutU32(out, colours);
  PutU32(out, 0);
  for (std::uint32_t i = 0; i < colours; ++i) {
    const auto v = static_cast<std::uint8_t>(i * 255 / (colours > 1 ? colours - 1 : 1));
    out.insert(out.end(), {v, v, v, 0});
  }
  out.resize(out.size() + stride * rows, fill);
  return out;
}

// A GIF built block by block.
class GifWriter {
 public:
  // Header and logical screen; a global table of 2^(sizeBits + 1) entries
  // when given (its packed byte's low bits also stand without the flag).
  GifWriter(std::uint16_t width, std::uint16_t height, bool globalTable = true,
            std::uint8_t sizeBits = 1) {
    PutText(bytes, "GIF89a");
    PutU16(bytes, width);
    PutU16(bytes, height);
    bytes.push_back(static_cast<std::uint8_t>((globalTable ? 0x80 : 0) | (sizeBits & 7)));
    bytes.push_back(0);
    bytes.push_back(0);
    if (globalTable) {
      for (int i = 0; i < (2 << (sizeBits & 7)); ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i * 40));      // red
        bytes.push_back(static_cast<std::uint8_t>(i * 40 + 1));  // green
        bytes.push_back(static_cast<std::uint8_t>(i * 40 + 2));  // blue
      }
    }
  }
  // Header and logical screen with the given global colour table: red,
  // green and blue bytes per entry, padded with black to a power of two.
  GifWriter(std::uint16_t width, std::uint16_t height, const Bytes& palette) {
    std::uint8_t sizeBits = 0;
    while ((2u << sizeBits) * 3 < palette.size() && sizeBits < 7) ++sizeBits;
    PutText(bytes, "GIF89a");
    PutU16(bytes, width);
    PutU16(bytes, height);
    bytes.insert(bytes.end(), {static_cast<std::uint8_t>(0x80 | sizeBits), 0, 0});
    Bytes table = palette;
    table.resize((2u << sizeBits) * 3, 0);
    bytes.insert(bytes.end(), table.begin(), table.end());
  }
  GifWriter& GraphicControl(std::uint16_t delay, int transparent = -1) {
    bytes.insert(bytes.end(), {0x21, 0xF9, 4, static_cast<std::uint8_t>(transparent >= 0 ? 1 : 0)});
    PutU16(bytes, delay);
    bytes.push_back(static_cast<std::uint8_t>(transparent >= 0 ? transparent : 0));
    bytes.push_back(0);
    return *this;
  }
  GifWriter& Netscape(std::uint16_t loops) {
    bytes.insert(bytes.end(), {0x21, 0xFF, 11});
    PutText(bytes, "NETSCAPE2.0");
    bytes.insert(bytes.end(), {3, 1});
    PutU16(bytes, loops);
    bytes.push_back(0);
    return *this;
  }
  GifWriter& Comment(const std::string& text) {
    bytes.insert(bytes.end(), {0x21, 0xFE, static_cast<std::uint8_t>(text.size())});
    PutText(bytes, text);
    bytes.push_back(0);
    return *this;
  }
  // An image block whose pixels are given as colour indices, compressed
  // with codes of fixed width (a clear code before every run so the code
  // size never grows): valid LZW that any decoder reads.
  GifWriter& Image(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                   const Bytes& pixels, std::uint8_t minCodeSize = 2, bool interlaced = false,
                   int localTableBits = -1) {
    bytes.push_back(0x2C);
    PutU16(bytes, left);
    PutU16(bytes, top);
    PutU16(bytes, width);
    PutU16(bytes, height);
    std::uint8_t packed = interlaced ? 0x40 : 0;
    if (localTableBits >= 0) packed |= static_cast<std::uint8_t>(0x80 | localTableBits);
    bytes.push_back(packed);
    if (localTableBits >= 0) {
      for (int i = 0; i < (2 << localTableBits); ++i) {
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(200 + i), 7, 9});
      }
    }
    bytes.push_back(minCodeSize);
    SubBlocks(Compress(pixels, minCodeSize));
    return *this;
  }
  // An image block with raw data sub-blocks.
  GifWriter& RawImage(std::uint16_t left, std::uint16_t top, std::uint16_t width,
                      std::uint16_t height, std::uint8_t minCodeSize, const Bytes& data,
                      bool interlaced = false) {
    bytes.push_back(0x2C);
    PutU16(bytes, left);
    PutU16(bytes, top);
    PutU16(bytes, width);
    PutU16(bytes, height);
    bytes.push_back(interlaced ? 0x40 : 0);
    bytes.push_back(minCodeSize);
    SubBlocks(data);
    return *this;
  }
  Bytes Finish() {
    bytes.push_back(0x3B);
    return bytes;
  }

  // Codes of the given widths packed least significant bit first.
  static Bytes PackCodes(std::initializer_list<std::pair<std::uint32_t, int>> codes) {
    Bytes out;
    std::uint32_t acc = 0;
    int bits = 0;
    for (auto [code, width] : codes) {
      acc |= code << bits;
      bits += width;
      while (bits >= 8) {
        out.push_back(static_cast<std::uint8_t>(acc));
        acc >>= 8;
        bits -= 8;
      }
    }
    if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc));
    return out;
  }

  Bytes bytes;

 private:
  void SubBlocks(const Bytes& data) {
    for (std::size_t at = 0; at < data.size(); at += 255) {
      const std::size_t n = std::min<std::size_t>(255, data.size() - at);
      bytes.push_back(static_cast<std::uint8_t>(n));
      bytes.insert(bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    bytes.push_back(0);
  }
  // Clear code, then every pixel as a literal, a clear code after every
  // (clear - 3) literals so the table never makes the code size grow.
  static Bytes Compress(const Bytes& pixels, std::uint8_t minCodeSize) {
    const std::uint32_t clear = 1u << minCodeSize;
    const int width = minCodeSize + 1;
    Bytes out;
    std::uint32_t acc = 0;
    int bits = 0;
    auto put = [&](std::uint32_t code) {
      acc |= code << bits;
      bits += width;
      while (bits >= 8) {
        out.push_back(static_cast<std::uint8_t>(acc));
        acc >>= 8;
        bits -= 8;
      }
    };
    std::uint32_t sinceClear = 0;
    put(clear);
    for (std::uint8_t p : pixels) {
      if (sinceClear == clear - 3) {
        put(clear);
        sinceClear = 0;
      }
      put(p);
      ++sinceClear;
    }
    put(clear + 1);
    if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc));
    return out;
  }
};

// A placeable metafile: the 22-byte header, then a standard metafile
// header whose size field holds `words` and whatever records follow.
inline Bytes MakePlaceableWmf(std::int16_t left, std::int16_t top, std::int16_t right,
                              std::int16_t bottom, std::uint16_t unitsPerInch,
                              std::uint32_t words = 0, const Bytes& records = {},
                              std::uint16_t objects = 0) {
  Bytes out;
  PutU32(out, 0x9AC6CDD7);
  PutU16(out, 0);
  PutU16(out, static_cast<std::uint16_t>(left));
  PutU16(out, static_cast<std::uint16_t>(top));
  PutU16(out, static_cast<std::uint16_t>(right));
  PutU16(out, static_cast<std::uint16_t>(bottom));
  PutU16(out, unitsPerInch);
  PutU32(out, 0);
  PutU16(out, 0);
  // The largest record: the end-of-file record (3 words) or one of the
  // given records, each of which starts with its size in words.
  std::uint32_t largest = 3;
  for (std::size_t at = 0; at + 4 <= records.size();) {
    const std::uint32_t size = records[at] | (records[at + 1] << 8) | (records[at + 2] << 16) |
                               (static_cast<std::uint32_t>(records[at + 3]) << 24);
    if (size == 0) break;
    largest = std::max(largest, size);
    at += 2 * std::size_t{size};
  }
  // Standard header (9 words), the records, and the end-of-file record (3
  // words).
  const std::uint32_t size =
      words != 0 ? words : 12 + static_cast<std::uint32_t>(records.size() / 2);
  PutU16(out, 1);
  PutU16(out, 9);
  PutU16(out, 0x300);
  PutU32(out, size);
  PutU16(out, objects);
  PutU32(out, largest);
  PutU16(out, 0);
  out.insert(out.end(), records.begin(), records.end());
  PutU32(out, 3);
  PutU16(out, 0);
  return out;
}

// A 32-bit icon image as an icon file or a program's icon resource holds
// it: the information header (twice the height, colour and mask rows),
// every pixel `argb`, then the mask rows.
inline Bytes MakeIconImage(std::int32_t width, std::int32_t height,
                           std::uint32_t argb = 0xFFFF0000) {
  Bytes out;
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(2 * height));
  PutU16(out, 1);
  PutU16(out, 32);
  for (int i = 0; i < 6; ++i) PutU32(out, 0);
  for (std::int32_t i = 0; i < width * height; ++i) PutU32(out, argb);
  const std::uint32_t maskStride = (static_cast<std::uint32_t>(width) + 31) / 32 * 4;
  out.resize(out.size() + maskStride * static_cast<std::uint32_t>(height), 0);
  return out;
}

// An icon (type 1) or cursor (type 2) file with one 32-bit image.
inline Bytes MakeIco(std::int32_t width = 16, std::int32_t height = 16, std::uint16_t type = 1) {
  const Bytes image = MakeIconImage(width, height);
  Bytes out;
  PutU16(out, 0);
  PutU16(out, type);
  PutU16(out, 1);
  out.insert(out.end(),
             {static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(height), 0, 0});
  PutU16(out, 1);
  PutU16(out, 32);
  PutU32(out, static_cast<std::uint32_t>(image.size()));
  PutU32(out, 22);
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

inline void PutChunk(Bytes& out, std::string_view id, const Bytes& data) {
  PutText(out, id);
  PutU32(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() % 2 != 0) out.push_back(0);
}

// An animated cursor: RIFF "ACON" with its header, one frame of `icon` per
// step, and a "fram" list holding the frames.
inline Bytes MakeAni(const Bytes& icon, std::uint32_t frames = 2) {
  Bytes header;
  PutU32(header, 36);
  PutU32(header, frames);
  PutU32(header, frames);
  for (int i = 0; i < 4; ++i) PutU32(header, 0);
  PutU32(header, 10);
  PutU32(header, 1);  // the frames are icon files
  Bytes list;
  PutText(list, "fram");
  for (std::uint32_t i = 0; i < frames; ++i) PutChunk(list, "icon", icon);
  Bytes body;
  PutText(body, "ACON");
  PutChunk(body, "anih", header);
  PutChunk(body, "LIST", list);
  Bytes out;
  PutChunk(out, "RIFF", body);
  return out;
}

// The offsets inside MakeIconLibrary's file that hostile variants change.
struct IconLibraryLayout {
  std::uint32_t sectionHeader = 0;  // the resource section's header
  std::uint32_t tree = 0;           // the resource tree
  std::uint32_t iconData = 0;       // the icon's data entry
  std::uint32_t group = 0;          // the icon group's directory
};

// A 32-bit library (PE) holding `image` as icon 1 and one icon group that
// names it, in a resource section at address 0x1000.
inline Bytes MakeIconLibrary(const Bytes& image, IconLibraryLayout* layout = nullptr) {
  constexpr std::uint32_t kHeaders = 0x200;
  constexpr std::uint32_t kAddress = 0x1000;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(image.size());
  const std::uint32_t groupAt = 160 + (imageSize + 3) / 4 * 4;
  const std::uint32_t rawSize = (groupAt + 20 + 0x1FF) / 0x200 * 0x200;
  Bytes out(0x40, 0);
  out[0] = 'M';
  out[1] = 'Z';
  out[0x3C] = 0x40;
  PutText(out, std::string_view("PE\0\0", 4));
  PutU16(out, 0x14C);
  PutU16(out, 1);
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, 0);
  PutU16(out, 224);
  PutU16(out, 0x2102);
  const std::size_t optional = out.size();
  out.resize(optional + 224, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put32(optional, 0x10B);
  put32(optional + 28, 0x10000000);
  put32(optional + 32, 0x1000);
  put32(optional + 36, 0x200);
  put32(optional + 56, kAddress + (rawSize + 0xFFF) / 0x1000 * 0x1000);
  put32(optional + 60, kHeaders);
  put32(optional + 68, 2);
  put32(optional + 92, 16);
  put32(optional + 96 + 16, kAddress);
  put32(optional + 96 + 20, groupAt + 20);
  const std::uint32_t section = static_cast<std::uint32_t>(out.size());
  PutText(out, std::string_view(".rsrc\0\0\0", 8));
  PutU32(out, groupAt + 20);
  PutU32(out, kAddress);
  PutU32(out, rawSize);
  PutU32(out, kHeaders);
  for (int i = 0; i < 3; ++i) PutU32(out, 0);
  PutU32(out, 0x40000040);
  out.resize(kHeaders, 0);
  // The tree: types (icon, group), a name directory each, a language
  // directory each, the two data entries, the icon and the group.
  Bytes tree;
  auto directory = [&](std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> entries) {
    for (int i = 0; i < 3; ++i) PutU32(tree, 0);
    PutU16(tree, 0);
    PutU16(tree, static_cast<std::uint32_t>(entries.size()));
    for (const auto& [name, target] : entries) {
      PutU32(tree, name);
      PutU32(tree, target);
    }
  };
  constexpr std::uint32_t kDirectory = 0x80000000u;
  directory({{3, kDirectory | 32}, {14, kDirectory | 56}});
  directory({{1, kDirectory | 80}});
  directory({{1, kDirectory | 104}});
  directory({{0x409, 128}});
  directory({{0x409, 144}});
  PutU32(tree, kAddress + 160);
  PutU32(tree, imageSize);
  PutU32(tree, 0);
  PutU32(tree, 0);
  PutU32(tree, kAddress + groupAt);
  PutU32(tree, 20);
  PutU32(tree, 0);
  PutU32(tree, 0);
  tree.insert(tree.end(), image.begin(), image.end());
  tree.resize(groupAt, 0);
  PutU16(tree, 0);
  PutU16(tree, 1);
  PutU16(tree, 1);
  tree.insert(tree.end(), {16, 16, 0, 0});
  PutU16(tree, 1);
  PutU16(tree, 32);
  PutU32(tree, imageSize);
  PutU16(tree, 1);
  tree.resize(rawSize, 0);
  out.insert(out.end(), tree.begin(), tree.end());
  if (layout != nullptr) *layout = {section, kHeaders, kHeaders + 128, kHeaders + groupAt};
  return out;
}

// Sound icon sources of every kind, as seeds for fuzzing.
inline std::vector<std::pair<std::string, Bytes>> IconFileSeeds() {
  return {{"icon.ico", MakeIco()},
          {"cursor.cur", MakeIco(32, 32, 2)},
          {"animated.ani", MakeAni(MakeIco())},
          {"library.dll", MakeIconLibrary(MakeIconImage(16, 16))}};
}

}  // namespace lumbra::testing
