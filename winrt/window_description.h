// Compiled window descriptions: the "DABDUMP" resource and its reader.
//
// All windows of one program module live in one resource. It starts with
// the module tag ("lumbra$LUMBRA") and its NUL; the rest is copied into a
// description buffer at offset 2, so that offset 0 denotes both the empty
// string and the absence of a record. Every offset inside the data is such
// a buffer offset. Records are packed little-endian structures linked by
// offsets; their field positions differ per record type and are described
// once, in RecordLayoutOf(), which both the reader and the description
// compiler use.
//
// The reader never trusts the bytes: a read outside the buffer yields 0, a
// string without its NUL yields the empty string, and chains are walked
// with a bound, so a damaged description cannot crash or hang a program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

// Record type codes (byte 0 of every record).
enum class RecordType : std::uint8_t {
  BoundString = 1,
  String = 2,
  Image = 3,
  Region = 4,
  Box = 6,
  Entry = 8,
  Button = 9,
  Prompt = 10,
  Option = 11,
  Check = 12,
  Group = 13,
  List = 14,
  Spin = 16,
  Menu = 19,
  MenuItem = 20,
  Radio = 21,
  MenuBar = 22,
  ToolBar = 23,
  Window = 25,
  Sheet = 37,
  Tab = 38,
  Panel = 39,
};

// Positions and sizes: "default" (centred, system-chosen or computed).
constexpr std::int32_t kDefaultValue = INT32_MIN;  // 0x80000000
// Colours: "not set", inherited from the parent.
constexpr std::int32_t kNoColour = -1;

// Common flag bits of controls (offset 5 of the record header).
constexpr std::int32_t kFlagHScroll = 0x01;
constexpr std::int32_t kFlagVScroll = 0x02;
constexpr std::int32_t kFlagAlignLeft = 0x04;
constexpr std::int32_t kFlagAlignRight = 0x08;
constexpr std::int32_t kFlagAlignCentre = 0x10;
constexpr std::int32_t kFlagCaptioned = 0x200;
constexpr std::int32_t kFlagTransparent = 0x1000;
// Menu item flags.
constexpr std::int32_t kItemCheck = 0x01;
constexpr std::int32_t kItemRightJustified = 0x08;
constexpr std::int32_t kItemSeparator = 0x10;
constexpr std::int32_t kItemDisabled = 0x40;
// Button flags (byte at offset 85 of a button).
constexpr std::uint8_t kButtonDefault = 0x01;
constexpr std::uint8_t kButtonHasIcon = 0x40;
// Entry flags (byte at offset 81 of an entry).
constexpr std::uint8_t kEntryDisplayOnly = 0x80;
// Window flags: scroll bars in bits 0-1, unit system in bits 8-9.
constexpr std::int32_t kUnitMask = 0x300;
constexpr std::int32_t kUnitDialog = 0x000;
constexpr std::int32_t kUnitMillimetre = 0x100;
constexpr std::int32_t kUnitThousandthInch = 0x200;
constexpr std::int32_t kUnitPixel = 0x300;
// Frame flags (offset 81 of the window record).
constexpr std::int32_t kFrameKindMask = 0x60;
constexpr std::int32_t kFrameSingle = 0x00;
constexpr std::int32_t kFrameResizable = 0x20;
constexpr std::int32_t kFrameDialog = 0x40;
constexpr std::int32_t kFrameNone = 0x60;
constexpr std::int32_t kFrameMaximiseBox = 0x800;
constexpr std::int32_t kFrameSystemMenu = 0x1000;
constexpr std::int32_t kFrameMaximised = 0x4000;
constexpr std::int32_t kFrameMinimised = 0x8000;
// Use descriptor type codes.
constexpr std::uint8_t kUseByte = 0x01;
constexpr std::uint8_t kUseShort = 0x02;
constexpr std::uint8_t kUseLong = 0x06;
constexpr std::uint8_t kUseString = 0x12;
constexpr std::uint8_t kUseQueue = 0x1A;

// The deepest nesting a window can have (window, group, option, radio;
// sheet, tab, control; menu bar and menus). Walks that descend into
// children stop below this depth, so a damaged description whose child
// links loop back cannot recurse without end.
constexpr int kMaxNestingDepth = 16;

// Sizes of the shared sub-blocks.
constexpr std::int32_t kFontBlockSize = 16;
constexpr std::int32_t kColourBlockSize = 12;
constexpr std::int32_t kUseDescriptorSize = 9;
constexpr std::int32_t kValueNodeSize = 8;
constexpr std::int32_t kInfoBlockSize = 20;
constexpr std::int32_t kRecordHeaderSize = 21;
constexpr std::int32_t kSmallestRecordSize = 17;  // the menu bar

// The fields a record can carry. Which ones a record type has, and where,
// is its DescriptionLayout.
enum class Field : std::uint8_t {
  Number,         // i32 control number
  Rect,           // 4 x i32: x, y, width, height
  Use,            // use descriptor offset
  Text,           // string: text, title, or display picture (entry, spin, bound string)
  Info,           // 20-byte info block
  Font,           // font block offset
  Cursor,         // string: cursor name
  Colours,        // colour block offset
  Child,          // first child record (window: first control; menu bar: first menu)
  Icon,           // string: icon file name
  Action,         // i32 action code
  ByteFlags,      // u8: button flags, entry flags, image placement, list flags
  FileName,       // string: image file name (image), column format (list)
  BoxColours,     // offset of {frame, fill} colours
  LineWidth,      // i32 line width of a box or panel
  Bevel,          // u16 bevel of a panel
  DropFlag,       // u8 drop-down list
  Source,         // use descriptor of a list's source of items
  GridColour,     // i32 colour of a list (-1 = default grey)
  Lower,          // f64 lower bound of a spin box
  Upper,          // f64 upper bound
  Delay,          // u16 initial repeat delay, hundredths of a second
  Repeat,         // u16 repeat interval, hundredths of a second
  Step,           // f64 step of a spin box
  Value,          // string: value of a radio button
  Times,          // 2 x u16 times of a button
  Name,           // string: the window name
  FrameFlags,     // i32 frame flags of a window
  Timer,          // i32 timer period of a window
  MenuBar,        // menu-bar record of a window
  ToolBar,        // tool-bar record of a window
  StatusZones,    // value list of status-bar zone widths
  AlertKeys,      // value list of alerted key codes of a window
  WallpaperMode,  // u8 wallpaper mode (2 = tiled)
  Wallpaper,      // string: wallpaper image file name
  Count
};
constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::Count);

// Where each field of one record type lies (-1: the type has no such field).
struct DescriptionLayout {
  RecordType type;
  std::uint8_t size;
  std::int8_t offsets[kFieldCount];

  constexpr std::int32_t offset(Field f) const { return offsets[static_cast<std::size_t>(f)]; }
  constexpr bool has(Field f) const { return offset(f) >= 0; }
};

// The layout of a type code, or null for codes that this program does not
// use (those records are skipped when a window is built).
const DescriptionLayout* RecordLayoutOf(std::uint8_t type);
// Every layout, in type-code order.
std::span<const DescriptionLayout> RecordLayouts();

struct Rect {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A font as described: parts that are not set are inherited (face empty,
// size 0 or -1, colour -1, weight 0 or -1).
struct FontSpec {
  std::string face;
  std::int32_t size = 0;
  std::int32_t colour = kNoColour;
  std::int32_t weight = -1;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Every part of the font that is not set is taken from the parent's font.
FontSpec MergeFont(const FontSpec& own, const FontSpec& parent);
// A colour of -1 is taken from the parent.
constexpr std::int32_t InheritColour(std::int32_t own, std::int32_t parent) {
  return own == kNoColour ? parent : own;
}

struct ColourBlock {
  std::int32_t background = kNoColour;
  std::int32_t selectedText = kNoColour;
  std::int32_t selectedBackground = kNoColour;
  friend bool operator==(const ColourBlock&, const ColourBlock&) = default;
};

// The type of the program variable bound to a control.
struct UseDescriptor {
  std::uint8_t type = 0;
  std::uint16_t size = 0;
  friend bool operator==(const UseDescriptor&, const UseDescriptor&) = default;
};

struct InfoBlock {
  std::string_view message;  // inherited from the parent when empty
  std::string_view tip;      // "~..." with a message present: the message is the tip
  std::string_view help;     // inherited from the parent when empty
  std::int32_t hotKey = 0;
  std::vector<std::int32_t> alertKeys;

  // The tooltip to show: the message text when the tip begins with "~".
  std::string_view EffectiveTip() const;
};

// The box's frame and fill colours ({-1, -1} when the box has none).
struct BoxColours {
  std::int32_t frame = kNoColour;
  std::int32_t fill = kNoColour;
};

class DescriptionBuffer;

// One record of a description buffer. Field reads that the record's type
// does not have, or that fall outside the buffer, give 0 / empty / absent.
class Record {
 public:
  Record() = default;
  Record(const DescriptionBuffer* buffer, std::int32_t offset);

  // Whether there is a record here at all (offset inside the buffer).
  explicit operator bool() const { return buffer_ != nullptr; }
  std::int32_t offset() const { return offset_; }
  // The raw type code; records without a known layout still have one.
  std::uint8_t typeCode() const;
  RecordType type() const { return static_cast<RecordType>(typeCode()); }
  const DescriptionLayout* layout() const { return layout_; }
  // A record with a type code this program does not use: it is skipped,
  // but its next sibling can still be read.
  bool known() const { return layout_ != nullptr; }

  Record next() const;
  std::int32_t flags() const;
  std::vector<std::string_view> dropTargets() const;

  bool has(Field f) const { return layout_ && layout_->has(f); }
  std::int32_t number() const { return I32(Field::Number); }
  Rect rect() const;
  std::optional<UseDescriptor> use() const { return UseAt(Field::Use); }
  std::string_view text() const { return Str(Field::Text); }
  InfoBlock info() const;
  // The font block; absent parts are "inherit" (merge with MergeFont).
  FontSpec font() const;
  std::string_view cursor() const { return Str(Field::Cursor); }
  ColourBlock colours() const;
  Record firstChild() const { return Rec(Field::Child); }
  std::string_view icon() const { return Str(Field::Icon); }
  std::int32_t action() const { return I32(Field::Action); }
  std::uint8_t byteFlags() const { return U8(Field::ByteFlags); }
  std::string_view fileName() const { return Str(Field::FileName); }
  BoxColours boxColours() const;
  std::int32_t lineWidth() const { return I32(Field::LineWidth); }
  std::uint16_t bevel() const { return U16(Field::Bevel); }
  bool dropDown() const { return U8(Field::DropFlag) != 0; }
  std::optional<UseDescriptor> source() const { return UseAt(Field::Source); }
  std::int32_t gridColour() const;
  double lower() const { return F64(Field::Lower); }
  double upper() const { return F64(Field::Upper); }
  std::uint16_t delay() const { return U16(Field::Delay); }
  std::uint16_t repeat() const { return U16(Field::Repeat); }
  double step() const { return F64(Field::Step); }
  std::string_view value() const { return Str(Field::Value); }
  // Window fields.
  std::string_view name() const { return Str(Field::Name); }
  std::int32_t frameFlags() const { return I32(Field::FrameFlags); }
  std::int32_t timer() const { return I32(Field::Timer); }
  Record menuBar() const { return Rec(Field::MenuBar); }
  Record toolBar() const { return Rec(Field::ToolBar); }
  std::vector<std::int32_t> statusZones() const;
  std::vector<std::int32_t> alertKeys() const;
  std::uint8_t wallpaperMode() const { return U8(Field::WallpaperMode); }
  std::string_view wallpaper() const { return Str(Field::Wallpaper); }

  // The record's children in record order (the chain of firstChild()),
  // each at most once.
  std::vector<Record> children() const;

 private:
  std::int32_t FieldOffset(Field f) const;
  std::int32_t I32(Field f) const;
  std::uint8_t U8(Field f) const;
  std::uint16_t U16(Field f) const;
  double F64(Field f) const;
  std::string_view Str(Field f) const;
  Record Rec(Field f) const;
  std::optional<UseDescriptor> UseAt(Field f) const;

  const DescriptionBuffer* buffer_ = nullptr;
  std::int32_t offset_ = 0;
  const DescriptionLayout* layout_ = nullptr;
};

// One description buffer: the data of a "DABDUMP" resource at offset 2.
class DescriptionBuffer {
 public:
  DescriptionBuffer() = default;
  // The buffer of a resource whose leading string equals the module tag;
  // nothing when the tag differs or the resource is too short.
  static std::optional<DescriptionBuffer> FromResource(std::span<const std::uint8_t> resource,
                                                       std::string_view moduleTag);

  std::span<const std::uint8_t> bytes() const { return bytes_; }
  bool empty() const { return bytes_.empty(); }

  // Bounded little-endian reads: 0 outside the buffer.
  std::int32_t I32(std::int32_t offset) const;
  std::uint16_t U16(std::int32_t offset) const;
  std::uint8_t U8(std::int32_t offset) const;
  double F64(std::int32_t offset) const;
  // The NUL-terminated string at an offset; empty for 0, for offsets
  // outside the buffer and for strings that run off its end.
  std::string_view String(std::int32_t offset) const;
  // A value list: the values of its chain of nodes (bounded against cycles).
  std::vector<std::int32_t> ValueList(std::int32_t offset) const;
  // The record at an offset; an empty Record for 0 or outside the buffer.
  Record RecordAt(std::int32_t offset) const;

  Record FirstWindow() const { return RecordAt(I32(2)); }
  // The offset of the window record with this exact name, or 0.
  std::int32_t FindWindowRecord(std::string_view windowName) const;

  // The most chain links any walk follows: no chain in a valid buffer can
  // be longer than the buffer has records.
  std::size_t ChainLimit() const { return bytes_.size() / 8 + 1; }
  // The most records a walk over a whole window needs to visit: the buffer
  // cannot hold more. Walks that descend into children count the records
  // they visit against it, since damaged child links can make the same
  // records reachable along many paths.
  std::size_t RecordLimit() const {
    return bytes_.size() / static_cast<std::size_t>(kSmallestRecordSize) + 1;
  }

 private:
  explicit DescriptionBuffer(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::vector<std::uint8_t> bytes_;
};

// The resource name of a module tag: the part after the first "$" (the
// whole tag when it has none) followed by "_RSC".
std::string DescriptionResourceName(std::string_view moduleTag);
// The resource type of window descriptions.
constexpr const char* kDescriptionResourceType = "DABDUMP";

// An opaque module handle (an HMODULE on Windows).
using ModuleHandle = std::uintptr_t;

// Where descriptions are looked for: the program's own module and the other
// loaded modules. The Windows implementation uses the process's modules;
// tests use modules held in memory.
class ResourceSource {
 public:
  virtual ~ResourceSource() = default;
  // The module searched first (the resource instance chosen at start-up).
  virtual ModuleHandle ProgramModule() const = 0;
  // Every loaded module, in the order they are searched after it.
  virtual std::vector<ModuleHandle> LoadedModules() const = 0;
  // A resource's bytes, or nothing when the module does not carry it.
  virtual std::optional<std::span<const std::uint8_t>> FindModuleResource(
      ModuleHandle module, std::string_view type, std::string_view name) const = 0;
};

// The one current description: the buffer of the window being opened and
// the module it came from (later icon and image names are looked up as
// resources of that module).
struct CurrentDescription {
  DescriptionBuffer buffer;
  ModuleHandle module = 0;
  std::int32_t window = 0;
};

// Looks a window up by module tag and window name: the program module
// first, then every other loaded module. On a hit the module's buffer
// becomes the current description and the window record's offset is
// returned; on a miss in every module, 0 (the current description is then
// empty).
std::int32_t FindWindowDescription(const ResourceSource& source, std::string_view moduleTag,
                                   std::string_view windowName, CurrentDescription& current);

// The same with the process's resource source and current description.
std::int32_t FindWindowDescription(std::string_view moduleTag, std::string_view windowName);
const CurrentDescription& CurrentWindowDescription();
// The window record of the current description (empty when none).
Record CurrentWindowRecord();
// Replaces the process's resource source (null: the platform's default).
void UseResourceSource(const ResourceSource* source);
// The platform's default source: the program's modules on Windows, none
// on the host.
const ResourceSource& DefaultResourceSource();
// The module the default source searches first (0: the program file).
void SetProgramResourceModule(ModuleHandle module);
ModuleHandle ProgramResourceModule();

}  // namespace lumbra
