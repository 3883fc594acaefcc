// The description reader: buffer offsets, record fields, inheritance,
// lookup across modules, and damaged buffers.
#include "winrt/window_description.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace lumbra {
namespace {

constexpr std::string_view kTag = "lumbra$LUMBRA";

// Lays out description data by buffer offsets, the way the loader sees it:
// index 0 and 1 are the two bytes before the data.
class Bytes {
 public:
  Bytes() : data_(6, 0) {}  // offsets 0-1, then the first-window field at 2
  std::int32_t Here() const { return static_cast<std::int32_t>(data_.size()); }
  std::int32_t String(std::string_view s) {
    const std::int32_t at = Here();
    data_.insert(data_.end(), s.begin(), s.end());
    data_.push_back(0);
    return at;
  }
  std::int32_t Block(std::initializer_list<std::int32_t> values) {
    const std::int32_t at = Here();
    for (std::int32_t v : values) Append32(v);
    return at;
  }
  std::int32_t Record(RecordType type, std::int32_t size) {
    const std::int32_t at = Here();
    data_.resize(data_.size() + static_cast<std::size_t>(size), 0);
    data_[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(type);
    return at;
  }
  void Put32(std::int32_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i) {
      data_[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
  }
  void Put8(std::int32_t at, std::uint8_t v) { data_[static_cast<std::size_t>(at)] = v; }
  void PutF64(std::int32_t at, double v) {
    std::memcpy(&data_[static_cast<std::size_t>(at)], &v, 8);
  }
  std::int32_t Use(std::uint8_t type, std::uint16_t size) {
    const std::int32_t at = Here();
    data_.resize(data_.size() + kUseDescriptorSize, 0);
    Put8(at, type);
    Put8(at + 1, static_cast<std::uint8_t>(size));
    Put8(at + 2, static_cast<std::uint8_t>(size >> 8));
    return at;
  }
  void Append32(std::int32_t v) {
    data_.resize(data_.size() + 4);
    Put32(Here() - 4, v);
  }
  // The resource: module tag, NUL, then the data from buffer offset 2.
  std::vector<std::uint8_t> Resource(std::string_view tag = kTag) const {
    std::vector<std::uint8_t> r(tag.begin(), tag.end());
    r.push_back(0);
    r.insert(r.end(), data_.begin() + 2, data_.end());
    return r;
  }

 private:
  std::vector<std::uint8_t> data_;
};

// A window named `name` with a title and one prompt; returns the resource.
std::vector<std::uint8_t> OneWindow(std::string_view name, std::string_view title) {
  Bytes b;
  const std::int32_t nameAt = b.String(name);
  const std::int32_t titleAt = b.String(title);
  const std::int32_t window = b.Record(RecordType::Window, 114);
  b.Put32(2, window);
  b.Put32(window + 33, nameAt);
  b.Put32(window + 41, titleAt);
  return b.Resource();
}

class MemoryModules : public ResourceSource {
 public:
  ModuleHandle program = 1;
  std::vector<ModuleHandle> loaded;
  std::map<std::pair<ModuleHandle, std::string>, std::vector<std::uint8_t>> resources;

  ModuleHandle ProgramModule() const override { return program; }
  std::vector<ModuleHandle> LoadedModules() const override { return loaded; }
  std::optional<std::span<const std::uint8_t>> FindModuleResource(
      ModuleHandle m, std::string_view type, std::string_view name) const override {
    if (type != "DABDUMP") return std::nullopt;
    auto it = resources.find({m, std::string(name)});
    if (it == resources.end()) return std::nullopt;
    return std::span<const std::uint8_t>(it->second);
  }
};

TEST(WindowDescriptionBuffer, OffsetsAgreeWithHandComputedResource) {
  // Data: [2] first window = 8, [6] "W\0", [8] window record (114 bytes).
  Bytes b;
  const std::int32_t name = b.String("W");
  const std::int32_t window = b.Record(RecordType::Window, 114);
  ASSERT_EQ(name, 6);
  ASSERT_EQ(window, 8);
  b.Put32(2, window);
  b.Put32(window + 33, name);
  const auto resource = b.Resource();
  // resource offset = buffer offset + 14 (tag with NUL) - 2
  ASSERT_EQ(resource.size(), 14u + 4u + 2u + 114u);
  EXPECT_EQ(resource[8 + 14 - 2], 25);
  EXPECT_EQ(resource[6 + 14 - 2], 'W');
  EXPECT_EQ(resource[14], 8);  // first-window field right after the tag

  auto buffer = DescriptionBuffer::FromResource(resource, kTag);
  ASSERT_TRUE(buffer);
  EXPECT_EQ(buffer->bytes().size(), resource.size() - kTag.size() - 1 + 2);
  EXPECT_EQ(buffer->FindWindowRecord("W"), 8);
  EXPECT_EQ(buffer->FindWindowRecord("w"), 0);  // names compare exactly
  EXPECT_EQ(buffer->FirstWindow().name(), "W");
}

TEST(WindowDescriptionBuffer, OffsetZeroIsEmptyStringAndNoRecord) {
  auto buffer = DescriptionBuffer::FromResource(OneWindow("$MAIN", "Main"), kTag);
  ASSERT_TRUE(buffer);
  EXPECT_EQ(buffer->String(0), "");
  EXPECT_FALSE(buffer->RecordAt(0));
  const Record window = buffer->FirstWindow();
  ASSERT_TRUE(window);
  EXPECT_EQ(window.text(), "Main");
  EXPECT_EQ(window.icon(), "");
  EXPECT_FALSE(window.firstChild());
  EXPECT_FALSE(window.menuBar());
  EXPECT_FALSE(window.toolBar());
  EXPECT_TRUE(window.children().empty());
  EXPECT_TRUE(window.statusZones().empty());
  EXPECT_EQ(window.font(), FontSpec{});
  EXPECT_FALSE(window.next());
}

TEST(WindowDescriptionBuffer, RefusesOtherTagsAndShortResources) {
  const auto resource = OneWindow("$MAIN", "Main");
  EXPECT_FALSE(DescriptionBuffer::FromResource(resource, "lumbra$OTHER"));
  EXPECT_FALSE(DescriptionBuffer::FromResource(resource, "lumbra$LUMBR"));
  EXPECT_FALSE(DescriptionBuffer::FromResource(std::span(resource).first(5), kTag));
  const std::vector<std::uint8_t> tagOnly(kTag.begin(), kTag.end());
  EXPECT_FALSE(DescriptionBuffer::FromResource(tagOnly, kTag));  // no NUL
}

TEST(WindowDescriptionBuffer, DamagedDataReadsAsAbsent) {
  Bytes b;
  const std::int32_t window = b.Record(RecordType::Window, 114);
  b.Put32(2, window);
  b.Put32(window + 33, 0x7FFFFFF0);  // name far outside
  b.Put32(window + 41, -40);         // negative title
  // A control chain that loops back on itself.
  const std::int32_t prompt = b.Record(RecordType::Prompt, 59);
  b.Put32(prompt + 1, prompt);
  b.Put32(window + 29, prompt);
  // An unterminated string at the very end.
  const std::int32_t tail = b.Here();
  b.Put32(window + 57, tail);
  b.Put32(window + 37, tail - 8);   // font block running off the end
  b.Put32(window + 105, tail - 4);  // value list node cut short
  auto resource = b.Resource();
  resource.push_back('X');

  auto buffer = DescriptionBuffer::FromResource(resource, kTag);
  ASSERT_TRUE(buffer);
  const Record w = buffer->FirstWindow();
  EXPECT_EQ(w.name(), "");
  EXPECT_EQ(w.text(), "");
  EXPECT_EQ(w.icon(), "");
  EXPECT_EQ(w.font(), FontSpec{});
  EXPECT_TRUE(w.statusZones().empty());
  ASSERT_EQ(w.children().size(), 1u);  // the loop ends at the record seen twice
  EXPECT_EQ(w.children()[0].children().size(), 0u);
  EXPECT_EQ(buffer->FindWindowRecord("anything"), 0);
  EXPECT_EQ(buffer->I32(static_cast<std::int32_t>(buffer->bytes().size()) - 2), 0);
}

TEST(WindowDescriptionRecords, UnknownTypesAreSkippedWithSiblingsStillWalked) {
  Bytes b;
  const std::int32_t window = b.Record(RecordType::Window, 114);
  b.Put32(2, window);
  const std::int32_t first = b.Record(RecordType::Prompt, 59);
  const std::int32_t unknown = b.Here();
  b.Record(RecordType::Prompt, 59);
  b.Put8(unknown, 5);  // a factory slot without a constructor
  const std::int32_t last = b.Record(RecordType::Button, 90);
  b.Put32(window + 29, first);
  b.Put32(first + 1, unknown);
  b.Put32(unknown + 1, last);
  b.Put32(last + 13, 7);
  auto buffer = DescriptionBuffer::FromResource(b.Resource(), kTag);
  ASSERT_TRUE(buffer);
  const auto chain = buffer->FirstWindow().children();
  ASSERT_EQ(chain.size(), 3u);
  EXPECT_TRUE(chain[0].known());
  EXPECT_FALSE(chain[1].known());
  EXPECT_EQ(chain[1].typeCode(), 5);
  EXPECT_EQ(chain[1].number(), 0);  // no layout: fields read as absent
  EXPECT_EQ(chain[2].type(), RecordType::Button);
  EXPECT_EQ(chain[2].number(), 7);
}

TEST(WindowDescriptionRecords, ToolBarChildrenKeepRecordOrderWhateverTheirX) {
  Bytes b;
  const std::int32_t window = b.Record(RecordType::Window, 114);
  b.Put32(2, window);
  const std::int32_t bar = b.Record(RecordType::ToolBar, 78);
  b.Put32(window + 97, bar);
  std::int32_t previous = 0;
  const std::int32_t xs[] = {90, 10, 50};
  for (int i = 0; i < 3; ++i) {
    const std::int32_t button = b.Record(RecordType::Button, 90);
    b.Put32(button + 13, 41 + i);
    b.Put32(button + 21, xs[i]);
    if (previous)
      b.Put32(previous + 1, button);
    else
      b.Put32(bar + 69, button);
    previous = button;
  }
  auto buffer = DescriptionBuffer::FromResource(b.Resource(), kTag);
  ASSERT_TRUE(buffer);
  const auto buttons = buffer->FirstWindow().toolBar().children();
  ASSERT_EQ(buttons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(buttons[i].number(), 41 + i);
    EXPECT_EQ(buttons[i].rect().x, xs[i]);
  }
}

TEST(WindowDescriptionRecords, FieldsOfControlsWithAndWithoutUseVariable) {
  Bytes b;
  const std::int32_t window = b.Record(RecordType::Window, 114);
  b.Put32(2, window);
  const std::int32_t use = b.Use(kUseShort, 2);
  const std::int32_t picture = b.String("s20");
  const std::int32_t message = b.String("Zoom percentage");
  const std::int32_t tip = b.String("~");
  const std::int32_t spin = b.Record(RecordType::Spin, 114);
  b.Put32(window + 29, spin);
  b.Put32(spin + 13, 2);
  b.Put32(spin + 21, use);
  b.Put32(spin + 25, 40);
  b.Put32(spin + 37, kDefaultValue);
  b.Put32(spin + 41, message);
  b.Put32(spin + 45, tip);
  b.Put32(spin + 53, 13);  // hot key
  b.Put32(spin + 73, picture);
  b.PutF64(spin + 90, 32768.0);
  b.PutF64(spin + 102, 1.0);
  const auto resource = b.Resource();
  auto buffer = DescriptionBuffer::FromResource(resource, kTag);
  ASSERT_TRUE(buffer);
  const Record s = buffer->FirstWindow().firstChild();
  ASSERT_EQ(s.type(), RecordType::Spin);
  EXPECT_EQ(s.number(), 2);
  EXPECT_EQ(s.use(), (UseDescriptor{kUseShort, 2}));
  EXPECT_EQ(s.rect(), (Rect{40, 0, 0, kDefaultValue}));
  EXPECT_EQ(s.text(), "s20");
  EXPECT_EQ(s.lower(), 0.0);
  EXPECT_EQ(s.upper(), 32768.0);
  EXPECT_EQ(s.step(), 1.0);
  const InfoBlock info = s.info();
  EXPECT_EQ(info.message, "Zoom percentage");
  EXPECT_EQ(info.hotKey, 13);
  EXPECT_EQ(info.EffectiveTip(), "Zoom percentage");  // "~" takes the message
  EXPECT_EQ(s.icon(), "");                            // a field the spin box does not have
}

TEST(WindowDescriptionInheritance, ColoursAndFontPartsInheritFromTheParent) {
  const FontSpec parent{"MS Sans Serif", 10, 0x000000, 400};
  // A block with only a colour changes only the colour.
  EXPECT_EQ(MergeFont({"", 0, 0xAFDD0F, -1}, parent),
            (FontSpec{"MS Sans Serif", 10, 0xAFDD0F, 400}));
  EXPECT_EQ(MergeFont({"", -1, kNoColour, 0}, parent), parent);
  EXPECT_EQ(MergeFont({"Times New Roman", 18, 0xFFFFFF, 700}, parent),
            (FontSpec{"Times New Roman", 18, 0xFFFFFF, 700}));
  EXPECT_EQ(InheritColour(kNoColour, 0x123456), 0x123456);
  EXPECT_EQ(InheritColour(0, 0x123456), 0);  // black is a colour, not "unset"
}

TEST(WindowDescriptionInheritance, FontBlockWithOnlyAColourReadsBackAsInherit) {
  Bytes b;
  const std::int32_t window = b.Record(RecordType::Window, 114);
  b.Put32(2, window);
  const std::int32_t face = b.String("MS Sans Serif");
  const std::int32_t windowFont = b.Block({face, 10, kNoColour, 400});
  const std::int32_t colourOnly = b.Block({0, 0, 0x0F0F0F, -1});
  const std::int32_t prompt = b.Record(RecordType::Prompt, 59);
  b.Put32(window + 37, windowFont);
  b.Put32(window + 29, prompt);
  b.Put32(prompt + 45, colourOnly);
  auto buffer = DescriptionBuffer::FromResource(b.Resource(), kTag);
  ASSERT_TRUE(buffer);
  const Record w = buffer->FirstWindow();
  EXPECT_EQ(MergeFont(w.firstChild().font(), w.font()),
            (FontSpec{"MS Sans Serif", 10, 0x0F0F0F, 400}));
}

TEST(FindWindowDescription, ResourceNameFollowsTheFirstDollar) {
  EXPECT_EQ(DescriptionResourceName("lumbra$LUMBRA"), "LUMBRA_RSC");
  EXPECT_EQ(DescriptionResourceName("PLAIN"), "PLAIN_RSC");
  EXPECT_EQ(DescriptionResourceName("a$b$c"), "b$c_RSC");

  MemoryModules modules;
  modules.resources[{1, "PLAIN_RSC"}] = [] {
    Bytes b;
    const std::int32_t name = b.String("$W");
    const std::int32_t window = b.Record(RecordType::Window, 114);
    b.Put32(2, window);
    b.Put32(window + 33, name);
    return b.Resource("PLAIN");
  }();
  CurrentDescription current;
  EXPECT_NE(FindWindowDescription(modules, "PLAIN", "$W", current), 0);
}

TEST(FindWindowDescription, SearchesProgramModuleFirstThenTheOthers) {
  MemoryModules modules;
  modules.program = 1;
  modules.loaded = {3, 1, 2};
  modules.resources[{1, "LUMBRA_RSC"}] = OneWindow("$PICVIEWWINDOW", "program");
  modules.resources[{2, "LUMBRA_RSC"}] = OneWindow("P99$EXTRA", "from 2");
  modules.resources[{3, "LUMBRA_RSC"}] = OneWindow("$PICVIEWWINDOW", "from 3");
  CurrentDescription current;

  std::int32_t at = FindWindowDescription(modules, kTag, "$PICVIEWWINDOW", current);
  ASSERT_NE(at, 0);
  EXPECT_EQ(current.module, 1u);
  EXPECT_EQ(current.buffer.RecordAt(at).text(), "program");

  // Found only in another module: that module becomes the description's.
  at = FindWindowDescription(modules, kTag, "P99$EXTRA", current);
  ASSERT_NE(at, 0);
  EXPECT_EQ(current.module, 2u);
  EXPECT_EQ(current.window, at);
  EXPECT_EQ(current.buffer.RecordAt(at).text(), "from 2");

  EXPECT_EQ(FindWindowDescription(modules, kTag, "P00$MISSING", current), 0);
  EXPECT_TRUE(current.buffer.empty());
  EXPECT_EQ(current.module, 0u);
  EXPECT_EQ(FindWindowDescription(modules, "other$LUMBRA", "$PICVIEWWINDOW", current), 0);
}

TEST(FindWindowDescription, ProcessWideLookupUsesTheInstalledSource) {
  MemoryModules modules;
  modules.resources[{1, "LUMBRA_RSC"}] = OneWindow("$PICVIEWWINDOW", "Lumbra 1.0");
  UseResourceSource(&modules);
  EXPECT_NE(FindWindowDescription(kTag, "$PICVIEWWINDOW"), 0);
  EXPECT_EQ(CurrentWindowRecord().text(), "Lumbra 1.0");
  EXPECT_EQ(CurrentWindowDescription().module, 1u);
  UseResourceSource(nullptr);
}

}  // namespace
}  // namespace lumbra
