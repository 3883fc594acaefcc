#include "winrt/window_description.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <initializer_list>
#include <set>

namespace lumbra {

namespace {

struct FieldAt {
  Field field;
  std::int8_t offset;
};

constexpr DescriptionLayout Layout(RecordType type, std::uint8_t size,
                                   std::initializer_list<FieldAt> fields) {
  DescriptionLayout layout{type, size, {}};
  for (auto& offset : layout.offsets) offset = -1;
  for (const FieldAt& f : fields) layout.offsets[static_cast<std::size_t>(f.field)] = f.offset;
  return layout;
}

using F = Field;
using T = RecordType;

// Every record type the program uses: its size and where its fields lie.
// Controls without a use variable keep their rectangle at 21, those with
// one move it to 25 behind the use descriptor.
constexpr DescriptionLayout kLayouts[] = {
    Layout(T::BoundString, 76,
           {{F::Number, 13}, {F::Use, 21}, {F::Rect, 25}, {F::Text, 45}, {F::Font, 49}}),
    Layout(T::String, 59,
           {{F::Number, 13},
            {F::Rect, 21},
            {F::Text, 41},
            {F::Font, 45},
            {F::Cursor, 49},
            {F::Colours, 53}}),
    Layout(T::Image, 46, {{F::Number, 13}, {F::Rect, 21}, {F::FileName, 37}, {F::ByteFlags, 45}}),
    Layout(T::Region, 59, {{F::Number, 13}, {F::Rect, 21}, {F::Info, 37}}),
    Layout(T::Box, 45, {{F::Number, 13}, {F::Rect, 21}, {F::BoxColours, 37}, {F::LineWidth, 41}}),
    Layout(T::Entry, 82,
           {{F::Number, 13},
            {F::Use, 21},
            {F::Rect, 25},
            {F::Info, 41},
            {F::Font, 61},
            {F::Cursor, 65},
            {F::Colours, 69},
            {F::Text, 73},
            {F::ByteFlags, 81}}),
    Layout(T::Button, 90,
           {{F::Number, 13},
            {F::Rect, 21},
            {F::Info, 37},
            {F::Font, 57},
            {F::Cursor, 61},
            {F::Colours, 65},
            {F::Text, 69},
            {F::Icon, 73},
            {F::Action, 81},
            {F::ByteFlags, 85},
            {F::Times, 86}}),
    Layout(T::Prompt, 59,
           {{F::Number, 13},
            {F::Rect, 21},
            {F::Text, 41},
            {F::Font, 45},
            {F::Cursor, 49},
            {F::Colours, 53}}),
    Layout(T::Option, 87,
           {{F::Number, 13},
            {F::Use, 21},
            {F::Rect, 25},
            {F::Info, 41},
            {F::Font, 61},
            {F::Cursor, 65},
            {F::Colours, 69},
            {F::Text, 73},
            {F::Child, 77}}),
    Layout(T::Check, 93,
           {{F::Number, 13},
            {F::Use, 21},
            {F::Rect, 25},
            {F::Info, 41},
            {F::Font, 61},
            {F::Cursor, 65},
            {F::Colours, 69},
            {F::Text, 73}}),
    Layout(T::Group, 83,
           {{F::Number, 13},
            {F::Rect, 21},
            {F::Info, 37},
            {F::Font, 57},
            {F::Cursor, 61},
            {F::Colours, 65},
            {F::Text, 69},
            {F::Child, 73}}),
    Layout(T::List, 109,
           {{F::Number, 13},
            {F::Use, 21},
            {F::FileName, 25},
            {F::Rect, 29},
            {F::Info, 45},
            {F::Font, 65},
            {F::Cursor, 69},
            {F::Colours, 73},
            {F::DropFlag, 77},
            {F::Source, 84},
            {F::ByteFlags, 100},
            {F::GridColour, 105}}),
    Layout(T::Spin, 114,
           {{F::Number, 13},
            {F::Use, 21},
            {F::Rect, 25},
            {F::Info, 41},
            {F::Font, 61},
            {F::Cursor, 65},
            {F::Colours, 69},
            {F::Text, 73},
            {F::Lower, 82},
            {F::Upper, 90},
            {F::Delay, 98},
            {F::Repeat, 100},
            {F::Step, 102}}),
    Layout(T::Menu, 57,
           {{F::Number, 13},
            {F::Use, 21},
            {F::Text, 25},
            {F::Info, 29},
            {F::Action, 49},
            {F::Child, 53}}),
    Layout(T::MenuItem, 53,
           {{F::Number, 13}, {F::Use, 21}, {F::Text, 25}, {F::Info, 29}, {F::Action, 49}}),
    Layout(T::Radio, 81,
           {{F::Number, 13},
            {F::Rect, 21},
            {F::Info, 37},
            {F::Font, 57},
            {F::Cursor, 61},
            {F::Colours, 65},
            {F::Text, 69},
            {F::Value, 77}}),
    Layout(T::MenuBar, 17, {{F::Child, 13}}),
    Layout(T::ToolBar, 78,
           {{F::Number, 13},
            {F::Rect, 21},
            {F::Child, 69},
            {F::WallpaperMode, 73},
            {F::Wallpaper, 74}}),
    Layout(T::Window, 114,
           {{F::Rect, 13},
            {F::Child, 29},
            {F::Name, 33},
            {F::Font, 37},
            {F::Text, 41},
            {F::Colours, 53},
            {F::Icon, 57},
            {F::AlertKeys, 77},
            {F::FrameFlags, 81},
            {F::Timer, 89},
            {F::MenuBar, 93},
            {F::ToolBar, 97},
            {F::Cursor, 101},
            {F::StatusZones, 105},
            {F::WallpaperMode, 109},
            {F::Wallpaper, 110}}),
    Layout(T::Sheet, 92,
           {{F::Number, 13},
            {F::Use, 21},
            {F::Rect, 25},
            {F::Info, 41},
            {F::Font, 61},
            {F::Cursor, 65},
            {F::Colours, 69},
            {F::Child, 77}}),
    Layout(T::Tab, 62,
           {{F::Number, 13},
            {F::Info, 21},
            {F::Font, 42},
            {F::Colours, 46},
            {F::Text, 50},
            {F::Child, 58}}),
    Layout(
        T::Panel, 51,
        {{F::Number, 13}, {F::Rect, 21}, {F::BoxColours, 37}, {F::LineWidth, 41}, {F::Bevel, 45}}),
};

// Every field of a layout must fit inside its record.
constexpr int FieldWidth(Field f) {
  switch (f) {
    case F::Rect: return 16;
    case F::Info: return kInfoBlockSize;
    case F::ByteFlags:
    case F::DropFlag:
    case F::WallpaperMode: return 1;
    case F::Bevel:
    case F::Delay:
    case F::Repeat: return 2;
    case F::Lower:
    case F::Upper:
    case F::Step: return 8;
    default: return 4;
  }
}

constexpr bool LayoutsFit() {
  for (const DescriptionLayout& l : kLayouts) {
    for (std::size_t i = 0; i < kFieldCount; ++i) {
      if (l.offsets[i] >= 0 && l.offsets[i] + FieldWidth(static_cast<Field>(i)) > l.size) {
        return false;
      }
    }
  }
  return true;
}
static_assert(LayoutsFit(), "a record field lies outside its record");

}  // namespace

std::span<const DescriptionLayout> RecordLayouts() { return kLayouts; }

const DescriptionLayout* RecordLayoutOf(std::uint8_t type) {
  for (const DescriptionLayout& l : kLayouts) {
    if (static_cast<std::uint8_t>(l.type) == type) return &l;
  }
  return nullptr;
}

FontSpec MergeFont(const FontSpec& own, const FontSpec& parent) {
  FontSpec merged = own;
  if (merged.face.empty()) merged.face = parent.face;
  if (merged.size <= 0) merged.size = parent.size;
  merged.colour = InheritColour(merged.colour, parent.colour);
  if (merged.weight <= 0) merged.weight = parent.weight;
  return merged;
}

std::string_view InfoBlock::EffectiveTip() const {
  if (!tip.empty() && tip.front() == '~') return message.empty() ? tip.substr(1) : message;
  return tip;
}

// --- DescriptionBuffer ---------------------------------------------------

std::optional<DescriptionBuffer> DescriptionBuffer::FromResource(
    std::span<const std::uint8_t> resource, std::string_view moduleTag) {
  const std::size_t tagLength = moduleTag.size() + 1;  // with its NUL
  if (resource.size() < tagLength || resource[moduleTag.size()] != 0) return std::nullopt;
  if (!std::equal(moduleTag.begin(), moduleTag.end(), resource.begin(),
                  [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; })) {
    return std::nullopt;
  }
  // Buffer offset 2 holds the first data byte; offsets 0 and 1 are zero,
  // so offset 0 reads as the empty string.
  std::vector<std::uint8_t> bytes(resource.size() - tagLength + 2, 0);
  std::copy(resource.begin() + static_cast<std::ptrdiff_t>(tagLength), resource.end(),
            bytes.begin() + 2);
  return DescriptionBuffer(std::move(bytes));
}

namespace {
bool Inside(std::span<const std::uint8_t> bytes, std::int32_t offset, std::size_t width) {
  return offset > 0 && static_cast<std::size_t>(offset) <= bytes.size() &&
         bytes.size() - static_cast<std::size_t>(offset) >= width;
}
}  // namespace

std::int32_t DescriptionBuffer::I32(std::int32_t offset) const {
  if (!Inside(bytes_, offset, 4)) return 0;
  const std::uint8_t* p = bytes_.data() + offset;
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
      static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t DescriptionBuffer::U16(std::int32_t offset) const {
  if (!Inside(bytes_, offset, 2)) return 0;
  const std::uint8_t* p = bytes_.data() + offset;
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint8_t DescriptionBuffer::U8(std::int32_t offset) const {
  return Inside(bytes_, offset, 1) ? bytes_[static_cast<std::size_t>(offset)] : 0;
}

double DescriptionBuffer::F64(std::int32_t offset) const {
  if (!Inside(bytes_, offset, 8)) return 0.0;
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | bytes_[static_cast<std::size_t>(offset + i)];
  return std::bit_cast<double>(bits);
}

std::string_view DescriptionBuffer::String(std::int32_t offset) const {
  if (!Inside(bytes_, offset, 1)) return {};
  const auto* start = reinterpret_cast<const char*>(bytes_.data() + offset);
  const std::size_t room = bytes_.size() - static_cast<std::size_t>(offset);
  const void* nul = std::memchr(start, 0, room);
  if (nul == nullptr) return {};
  return {start, static_cast<std::size_t>(static_cast<const char*>(nul) - start)};
}

std::vector<std::int32_t> DescriptionBuffer::ValueList(std::int32_t offset) const {
  std::vector<std::int32_t> values;
  for (std::size_t n = 0; Inside(bytes_, offset, kValueNodeSize) && n < ChainLimit(); ++n) {
    values.push_back(I32(offset));
    offset = I32(offset + 4);
  }
  return values;
}

Record DescriptionBuffer::RecordAt(std::int32_t offset) const {
  if (!Inside(bytes_, offset, 1)) return {};
  return Record(this, offset);
}

std::int32_t DescriptionBuffer::FindWindowRecord(std::string_view windowName) const {
  Record window = FirstWindow();
  for (std::size_t n = 0; window && n < ChainLimit(); ++n, window = window.next()) {
    if (window.type() == RecordType::Window && window.name() == windowName) return window.offset();
  }
  return 0;
}

// --- Record -------------------------------------------------------------

Record::Record(const DescriptionBuffer* buffer, std::int32_t offset)
    : buffer_(buffer), offset_(offset), layout_(RecordLayoutOf(buffer->U8(offset))) {}

std::uint8_t Record::typeCode() const { return buffer_ ? buffer_->U8(offset_) : 0; }

Record Record::next() const {
  return buffer_ ? buffer_->RecordAt(buffer_->I32(offset_ + 1)) : Record();
}

std::int32_t Record::flags() const { return buffer_ ? buffer_->I32(offset_ + 5) : 0; }

std::vector<std::string_view> Record::dropTargets() const {
  std::vector<std::string_view> names;
  if (!buffer_ || type() == RecordType::Window) return names;
  for (std::int32_t offset : buffer_->ValueList(buffer_->I32(offset_ + 9))) {
    names.push_back(buffer_->String(offset));
  }
  return names;
}

std::int32_t Record::FieldOffset(Field f) const {
  return has(f) ? offset_ + layout_->offset(f) : 0;
}

std::int32_t Record::I32(Field f) const { return has(f) ? buffer_->I32(FieldOffset(f)) : 0; }
std::uint8_t Record::U8(Field f) const { return has(f) ? buffer_->U8(FieldOffset(f)) : 0; }
std::uint16_t Record::U16(Field f) const { return has(f) ? buffer_->U16(FieldOffset(f)) : 0; }
double Record::F64(Field f) const { return has(f) ? buffer_->F64(FieldOffset(f)) : 0.0; }
std::string_view Record::Str(Field f) const { return buffer_ ? buffer_->String(I32(f)) : ""; }
Record Record::Rec(Field f) const { return buffer_ ? buffer_->RecordAt(I32(f)) : Record(); }

std::optional<UseDescriptor> Record::UseAt(Field f) const {
  const std::int32_t at = I32(f);
  if (!buffer_ || at == 0 || !Inside(buffer_->bytes(), at, kUseDescriptorSize)) return std::nullopt;
  return UseDescriptor{buffer_->U8(at), buffer_->U16(at + 1)};
}

Rect Record::rect() const {
  if (!has(Field::Rect)) return {};
  const std::int32_t at = FieldOffset(Field::Rect);
  return {buffer_->I32(at), buffer_->I32(at + 4), buffer_->I32(at + 8), buffer_->I32(at + 12)};
}

InfoBlock Record::info() const {
  InfoBlock info;
  if (!has(Field::Info)) return info;
  const std::int32_t at = FieldOffset(Field::Info);
  info.message = buffer_->String(buffer_->I32(at));
  info.tip = buffer_->String(buffer_->I32(at + 4));
  info.help = buffer_->String(buffer_->I32(at + 8));
  info.hotKey = buffer_->I32(at + 12);
  info.alertKeys = buffer_->ValueList(buffer_->I32(at + 16));
  return info;
}

FontSpec Record::font() const {
  const std::int32_t at = I32(Field::Font);
  if (at == 0 || !Inside(buffer_->bytes(), at, kFontBlockSize)) return {};
  return {std::string(buffer_->String(buffer_->I32(at))), buffer_->I32(at + 4),
          buffer_->I32(at + 8), buffer_->I32(at + 12)};
}

ColourBlock Record::colours() const {
  const std::int32_t at = I32(Field::Colours);
  if (at == 0 || !Inside(buffer_->bytes(), at, kColourBlockSize)) return {};
  return {buffer_->I32(at), buffer_->I32(at + 4), buffer_->I32(at + 8)};
}

BoxColours Record::boxColours() const {
  const std::int32_t at = I32(Field::BoxColours);
  if (at == 0 || !Inside(buffer_->bytes(), at, 8)) return {};
  return {buffer_->I32(at), buffer_->I32(at + 4)};
}

std::int32_t Record::gridColour() const {
  constexpr std::int32_t kDefaultGrey = 0x808080;
  return has(Field::GridColour) ? InheritColour(I32(Field::GridColour), kDefaultGrey)
                                : kDefaultGrey;
}

std::vector<std::int32_t> Record::statusZones() const {
  std::vector<std::int32_t> zones =
      buffer_ ? buffer_->ValueList(I32(Field::StatusZones)) : std::vector<std::int32_t>{};
  // A first width of 0 means no status bar.
  if (!zones.empty() && zones.front() == 0) zones.clear();
  return zones;
}

std::vector<std::int32_t> Record::alertKeys() const {
  return buffer_ ? buffer_->ValueList(I32(Field::AlertKeys)) : std::vector<std::int32_t>{};
}

std::vector<Record> Record::children() const {
  std::vector<Record> chain;
  std::set<std::int32_t> seen;
  // A damaged chain that loops back ends at the first record seen twice.
  for (Record child = firstChild(); child && seen.insert(child.offset()).second;
       child = child.next()) {
    chain.push_back(child);
  }
  return chain;
}

// --- Finding a window -----------------------------------------------------

std::string DescriptionResourceName(std::string_view moduleTag) {
  const std::size_t dollar = moduleTag.find('$');
  const std::string_view tag =
      dollar == std::string_view::npos ? moduleTag : moduleTag.substr(dollar + 1);
  return std::string(tag) + "_RSC";
}

std::int32_t FindWindowDescription(const ResourceSource& source, std::string_view moduleTag,
                                   std::string_view windowName, CurrentDescription& current) {
  const std::string resourceName = DescriptionResourceName(moduleTag);
  std::vector<ModuleHandle> order{source.ProgramModule()};
  for (ModuleHandle m : source.LoadedModules()) {
    if (std::find(order.begin(), order.end(), m) == order.end()) order.push_back(m);
  }
  current = CurrentDescription{};
  for (ModuleHandle module : order) {
    const auto resource = source.FindModuleResource(module, kDescriptionResourceType, resourceName);
    if (!resource) continue;
    auto buffer = DescriptionBuffer::FromResource(*resource, moduleTag);
    if (!buffer) continue;
    current.buffer = std::move(*buffer);
    if (const std::int32_t window = current.buffer.FindWindowRecord(windowName)) {
      current.module = module;
      current.window = window;
      return window;
    }
    current.buffer = DescriptionBuffer{};
  }
  return 0;
}

namespace {
CurrentDescription g_current;
const ResourceSource* g_source = nullptr;
ModuleHandle g_programModule = 0;
}  // namespace

std::int32_t FindWindowDescription(std::string_view moduleTag, std::string_view windowName) {
  return FindWindowDescription(g_source ? *g_source : DefaultResourceSource(), moduleTag,
                               windowName, g_current);
}

const CurrentDescription& CurrentWindowDescription() { return g_current; }

Record CurrentWindowRecord() { return g_current.buffer.RecordAt(g_current.window); }

void UseResourceSource(const ResourceSource* source) { g_source = source; }

void SetProgramResourceModule(ModuleHandle module) { g_programModule = module; }
ModuleHandle ProgramResourceModule() { return g_programModule; }

}  // namespace lumbra
