// Icon, cursor, animated cursor and program files, checked before their
// icons are extracted.
#include "codecs/icon_file_check.h"

#include <algorithm>
#include <map>
#include <vector>

#include "codecs/decoded_image.h"

namespace lumbra {

namespace {

using Bytes = std::span<const std::uint8_t>;

// Whether the n bytes at `at` lie inside the bytes.
bool Fits(Bytes bytes, std::uint64_t at, std::uint64_t n) {
  return at <= bytes.size() && n <= bytes.size() - at;
}

bool HasTag(Bytes bytes, std::uint64_t at, const char (&tag)[5]) {
  return Fits(bytes, at, 4) && std::equal(tag, tag + 4, bytes.begin() + static_cast<long>(at));
}

std::uint32_t ReadU32BigEndian(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kMaxIconSide = 4096;

// A PNG icon: the signature, then the image header chunk with a size the
// platform's decoder can take.
bool PngIconIsSound(Bytes image) {
  if (!Fits(image, 0, 8 + 8 + 13)) return false;
  if (ReadU32BigEndian(image.data() + 8) != 13 || !HasTag(image, 12, "IHDR")) return false;
  const std::uint32_t width = ReadU32BigEndian(image.data() + 16);
  const std::uint32_t height = ReadU32BigEndian(image.data() + 20);
  return width >= 1 && width <= kMaxIconSide && height >= 1 && height <= kMaxIconSide;
}

// A bitmap icon: the header, the colour table, the colour rows and the mask
// rows (each half of the stored height) inside the image's bytes.
bool BitmapIconIsSound(Bytes image) {
  if (image.size() < kInfoHeaderSize) return false;
  const BitmapInfoHeader h = ReadInfoHeader(image.data());
  const bool knownBits = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 ||
                         h.bitCount == 16 || h.bitCount == 24 || h.bitCount == 32;
  if (h.size < kInfoHeaderSize || h.size > image.size() || h.planes != 1 || !knownBits)
    return false;
  if (h.width < 1 || h.width > static_cast<std::int32_t>(kMaxIconSide) || h.height < 2 ||
      h.height > static_cast<std::int32_t>(2 * kMaxIconSide)) {
    return false;
  }
  const bool bitfields = h.compression == kBiBitfields && (h.bitCount == 16 || h.bitCount == 32);
  if (h.compression != kBiRgb && !bitfields) return false;
  if (h.clrUsed > 256 || (h.bitCount <= 8 && h.clrUsed > (1u << h.bitCount))) return false;
  const std::uint64_t masks = bitfields && h.size == kInfoHeaderSize ? 12 : 0;
  const std::uint64_t colours =
      h.clrUsed != 0 ? h.clrUsed : (h.bitCount <= 8 ? 1u << h.bitCount : 0);
  const std::uint64_t rows = static_cast<std::uint32_t>(h.height) / 2;
  const std::uint64_t need = h.size + masks + 4 * colours + RowStride(h.width, h.bitCount) * rows +
                             RowStride(h.width, 1) * rows;
  return need <= image.size();
}

// The resource tree of a program file, read through its section table.
class ResourceTree {
 public:
  ResourceTree(Bytes file, Bytes sections) : file_(file), sections_(sections) {}

  // The bytes from an address of the loaded image to the end of its
  // section's data in the file; empty when no section holds the address or
  // the section's data do not lie inside the file.
  Bytes AtAddress(std::uint32_t rva) const {
    for (std::size_t at = 0; at + 40 <= sections_.size(); at += 40) {
      const std::uint8_t* s = sections_.data() + at;
      const std::uint32_t address = ReadU32(s + 12);
      const std::uint32_t rawSize = ReadU32(s + 16);
      const std::uint32_t rawAt = ReadU32(s + 20);
      if (rva < address || rva - address >= rawSize) continue;
      // A section whose data the file does not hold is a lying header.
      if (!Fits(file_, rawAt, rawSize)) return {};
      return file_.subspan(rawAt + (rva - address), rawSize - (rva - address));
    }
    return {};
  }

  struct Entry {
    std::uint32_t name;  // an identifier, or a name's offset with the top bit set
    std::uint32_t target;
  };

  // The entries of the directory at `offset` in the resource bytes; false
  // when the directory or its entries do not fit or the budget is spent.
  bool Directory(Bytes tree, std::uint32_t offset, std::vector<Entry>& entries) {
    entries.clear();
    if (!Fits(tree, offset, 16)) return false;
    const std::uint32_t count =
        std::uint32_t{ReadU16(tree.data() + offset + 12)} + ReadU16(tree.data() + offset + 14);
    if (!Fits(tree, offset + 16ull, 8ull * count) || count > budget_) return false;
    budget_ -= count;
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* e = tree.data() + offset + 16 + 8 * i;
      entries.push_back({ReadU32(e), ReadU32(e + 4)});
    }
    return true;
  }

  // The data that a language entry points to: its data entry inside the
  // tree, and the bytes it names inside the file.
  bool Data(Bytes tree, std::uint32_t target, Bytes& data) const {
    if ((target & kSubdirectory) != 0 || !Fits(tree, target, 16)) return false;
    const std::uint32_t size = ReadU32(tree.data() + target + 4);
    const Bytes at = AtAddress(ReadU32(tree.data() + target));
    if (size == 0 || at.size() < size) return false;
    data = at.first(size);
    return true;
  }

  static constexpr std::uint32_t kSubdirectory = 0x80000000u;

 private:
  Bytes file_;
  Bytes sections_;
  // Directory entries read in all; a tree that names more is refused, so
  // directories shared many times over cannot make the walk endless.
  std::uint32_t budget_ = 1u << 16;
};

constexpr std::uint32_t kIconType = 3;
constexpr std::uint32_t kIconGroupType = 14;

// Every resource of one type: name directory, then language directories,
// then data entries, each one inside the tree. The data go to `found`
// keyed by the resource's identifier (named resources keep their offset).
bool ResourcesOfType(ResourceTree& reader, Bytes tree, std::uint32_t typeTarget,
                     std::map<std::uint32_t, Bytes>& found) {
  using Entry = ResourceTree::Entry;
  if ((typeTarget & ResourceTree::kSubdirectory) == 0) return false;
  std::vector<Entry> names;
  if (!reader.Directory(tree, typeTarget & ~ResourceTree::kSubdirectory, names)) return false;
  for (const Entry& name : names) {
    if ((name.target & ResourceTree::kSubdirectory) == 0) return false;
    std::vector<Entry> languages;
    if (!reader.Directory(tree, name.target & ~ResourceTree::kSubdirectory, languages) ||
        languages.empty()) {
      return false;
    }
    for (const Entry& language : languages) {
      Bytes data;
      if (!reader.Data(tree, language.target, data)) return false;
      found.emplace(name.name, data);
    }
  }
  return true;
}

// An icon group: its directory inside its data, every icon it names
// present among the icon resources and sound.
bool IconGroupIsSound(Bytes group, const std::map<std::uint32_t, Bytes>& icons) {
  if (!Fits(group, 0, 6) || ReadU16(group.data()) != 0 || ReadU16(group.data() + 2) != 1) {
    return false;
  }
  const std::uint16_t count = ReadU16(group.data() + 4);
  if (count == 0 || !Fits(group, 6, 14ull * count)) return false;
  for (std::uint16_t i = 0; i < count; ++i) {
    const auto icon = icons.find(ReadU16(group.data() + 6 + 14 * i + 12));
    if (icon == icons.end() || !IconImageIsSound(icon->second)) return false;
  }
  return true;
}

// The chunks of a RIFF body (or of a list inside it): each inside its
// parent, the animated cursor's header and frames checked on the way.
struct AnimatedCursorParts {
  std::uint32_t frames = 0;
  std::uint32_t steps = 0;
  bool header = false;
  std::uint32_t icons = 0;
  Bytes sequence;
  Bytes rates;
};

bool ChunksAreSound(Bytes body, int depth, AnimatedCursorParts& parts) {
  std::uint64_t at = 0;
  while (at < body.size()) {
    if (!Fits(body, at, 8)) return false;
    const std::uint32_t size = ReadU32(body.data() + at + 4);
    if (!Fits(body, at + 8, size)) return false;
    const Bytes data = body.subspan(static_cast<std::size_t>(at + 8), size);
    if (HasTag(body, at, "LIST")) {
      if (size < 4 || depth > 0 || !ChunksAreSound(data.subspan(4), depth + 1, parts)) return false;
    } else if (HasTag(body, at, "anih")) {
      constexpr std::uint32_t kFramesAreIcons = 1;
      if (size < 36 || ReadU32(data.data()) != 36 || parts.header) return false;
      parts.header = true;
      parts.frames = ReadU32(data.data() + 4);
      parts.steps = ReadU32(data.data() + 8);
      if ((ReadU32(data.data() + 32) & kFramesAreIcons) == 0) return false;
    } else if (HasTag(body, at, "icon")) {
      if (!IconDirectoryIsSound(data)) return false;
      ++parts.icons;
    } else if (HasTag(body, at, "seq ")) {
      parts.sequence = data;
    } else if (HasTag(body, at, "rate")) {
      parts.rates = data;
    }
    at += 8ull + size + (size & 1u);
  }
  return true;
}

bool PowerOfTwo(std::uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

// The layout of the loaded image as the optional header and the section
// table give it: the platform maps a program file by these fields before
// it looks for icons, so they must agree with one another and with the
// file. Alignments are powers of two (the file's at least 512 bytes unless
// it equals the sections'), the image base lies on 64 KB, the headers lie
// inside the file and the image, and every section starts on its alignment,
// after the one before it, and ends inside the image.
bool ImageLayoutIsSound(Bytes file, std::uint64_t optional, bool wide, std::uint64_t headersEnd,
                        Bytes sections) {
  const std::uint8_t* o = file.data() + optional;
  const std::uint64_t base =
      wide ? (std::uint64_t{ReadU32(o + 28)} << 32) | ReadU32(o + 24) : ReadU32(o + 28);
  const std::uint32_t sectionAlignment = ReadU32(o + 32);
  const std::uint32_t fileAlignment = ReadU32(o + 36);
  const std::uint32_t imageSize = ReadU32(o + 56);
  const std::uint32_t headersSize = ReadU32(o + 60);
  constexpr std::uint32_t kMaxImage = 0x40000000u;
  if (!PowerOfTwo(sectionAlignment) || !PowerOfTwo(fileAlignment) ||
      fileAlignment > sectionAlignment ||
      (fileAlignment < 512 && fileAlignment != sectionAlignment) || base % 0x10000 != 0 ||
      imageSize > kMaxImage || imageSize % sectionAlignment != 0 || headersSize < headersEnd ||
      headersSize > file.size() || headersSize > imageSize) {
    return false;
  }
  std::uint64_t next = headersSize;
  for (std::size_t at = 0; at + 40 <= sections.size(); at += 40) {
    const std::uint8_t* section = sections.data() + at;
    const std::uint32_t virtualSize = ReadU32(section + 8);
    const std::uint32_t address = ReadU32(section + 12);
    const std::uint32_t rawSize = ReadU32(section + 16);
    const std::uint64_t end = std::uint64_t{address} + std::max(virtualSize, rawSize);
    if (address % sectionAlignment != 0 || address < next || end > imageSize) return false;
    next = end;
  }
  return true;
}

}  // namespace

bool IconImageIsSound(Bytes image) {
  if (Fits(image, 0, 8) && std::equal(kPngSignature, kPngSignature + 8, image.begin())) {
    return PngIconIsSound(image);
  }
  return BitmapIconIsSound(image);
}

bool IconDirectoryIsSound(Bytes file) {
  if (!Fits(file, 0, 6) || ReadU16(file.data()) != 0) return false;
  const std::uint16_t type = ReadU16(file.data() + 2);
  const std::uint16_t count = ReadU16(file.data() + 4);
  if ((type != 1 && type != 2) || count == 0 || !Fits(file, 6, 16ull * count)) return false;
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = file.data() + 6 + 16 * i;
    const std::uint32_t size = ReadU32(entry + 8);
    const std::uint32_t offset = ReadU32(entry + 12);
    if (!Fits(file, offset, size) || !IconImageIsSound(file.subspan(offset, size))) return false;
  }
  return true;
}

bool AnimatedCursorIsSound(Bytes file) {
  if (!HasTag(file, 0, "RIFF") || !HasTag(file, 8, "ACON")) return false;
  const std::uint32_t size = ReadU32(file.data() + 4);
  if (size < 4 || !Fits(file, 8, size)) return false;
  AnimatedCursorParts parts;
  if (!ChunksAreSound(file.subspan(12, size - 4), 0, parts)) return false;
  if (!parts.header || parts.frames == 0 || parts.icons != parts.frames) return false;
  if (!parts.sequence.empty()) {
    if (parts.sequence.size() != 4ull * parts.steps) return false;
    for (std::size_t i = 0; i < parts.sequence.size(); i += 4) {
      if (ReadU32(parts.sequence.data() + i) >= parts.frames) return false;
    }
  }
  return parts.rates.empty() || parts.rates.size() == 4ull * parts.steps;
}

bool ProgramIconsAreSound(Bytes file) {
  if (!Fits(file, 0, 64) || file[0] != 'M' || file[1] != 'Z') return false;
  const std::uint32_t pe = ReadU32(file.data() + 0x3C);
  if (!HasTag(file, pe, "PE\0\0") || !Fits(file, pe, 24)) return false;
  const std::uint64_t coff = pe + 4ull;
  const std::uint16_t sectionCount = ReadU16(file.data() + coff + 2);
  const std::uint16_t optionalSize = ReadU16(file.data() + coff + 16);
  const std::uint64_t optional = coff + 20;
  if (!Fits(file, optional, optionalSize) || optionalSize < 2) return false;
  const std::uint16_t magic = ReadU16(file.data() + optional);
  if (magic != 0x10B && magic != 0x20B) return false;
  const std::uint32_t directories = magic == 0x10B ? 96 : 112;
  // The resource directory is the third data directory.
  if (optionalSize < directories + 3 * 8 || ReadU32(file.data() + optional + directories - 4) < 3) {
    return false;
  }
  const std::uint32_t directoryCount = ReadU32(file.data() + optional + directories - 4);
  if (directoryCount > (optionalSize - directories) / 8u) return false;
  const std::uint32_t resourceAddress = ReadU32(file.data() + optional + directories + 16);
  const std::uint64_t sections = optional + optionalSize;
  if (sectionCount == 0 || sectionCount > 96 || !Fits(file, sections, 40ull * sectionCount)) {
    return false;
  }
  if (!ImageLayoutIsSound(file, optional, magic == 0x20B, sections + 40ull * sectionCount,
                          file.subspan(static_cast<std::size_t>(sections), 40u * sectionCount))) {
    return false;
  }
  ResourceTree reader(file, file.subspan(static_cast<std::size_t>(sections), 40u * sectionCount));
  const Bytes tree = reader.AtAddress(resourceAddress);
  if (resourceAddress == 0 || tree.empty()) return false;

  std::vector<ResourceTree::Entry> types;
  if (!reader.Directory(tree, 0, types)) return false;
  std::map<std::uint32_t, Bytes> icons;
  std::map<std::uint32_t, Bytes> groups;
  for (const ResourceTree::Entry& type : types) {
    if (type.name == kIconType && !ResourcesOfType(reader, tree, type.target, icons)) return false;
    if (type.name == kIconGroupType && !ResourcesOfType(reader, tree, type.target, groups)) {
      return false;
    }
  }
  if (groups.empty()) return false;
  return std::all_of(groups.begin(), groups.end(),
                     [&](const auto& group) { return IconGroupIsSound(group.second, icons); });
}

bool IconSourceIsSound(Bytes file) {
  if (HasTag(file, 0, "RIFF")) return AnimatedCursorIsSound(file);
  if (Fits(file, 0, 2) && file[0] == 'M' && file[1] == 'Z') return ProgramIconsAreSound(file);
  return IconDirectoryIsSound(file);
}

}  // namespace lumbra
