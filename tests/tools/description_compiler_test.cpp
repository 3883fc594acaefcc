// The description compiler: source form to resource bytes, read back with
// the runtime's reader, and the refusals of bad sources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/description_compiler/description_writer.h"
#include "winrt/window_description.h"

namespace lumbra::description {
namespace {

constexpr const char* kTag = "lumbra$LUMBRA";

std::vector<std::uint8_t> Compile(const std::string& text, std::vector<std::string>& errors) {
  return CompileSourceTexts(kTag, {{"test.window", text}}, errors);
}

DescriptionBuffer CompileOk(const std::string& text) {
  std::vector<std::string> errors;
  const auto resource = Compile(text, errors);
  for (const auto& e : errors) ADD_FAILURE() << e;
  auto buffer = DescriptionBuffer::FromResource(resource, kTag);
  EXPECT_TRUE(buffer);
  return buffer ? std::move(*buffer) : DescriptionBuffer{};
}

const char* kSample = R"(# a window with one of everything the viewer uses
window "P99$SAMPLE" {
  title "Sample"
  rect default 10 200 100
  font "MS Sans Serif" 8 -1 400
  colours #102030
  icon "lbicon.ico"
  flags 0x0813
  frame 0x3820
  timer 50
  status -1 45 22
  alertkeys 27 13
  wallpaper tiled "Bkgnd2.gif"
  menubar {
    menu 1 {
      text "&File"
      item 2 { text "&Open Image...   Ctrl+O" }
      separator
      item 3 { text "&Normal"; flags 0x01; use byte }
    }
  }
  toolbar 4 {
    rect 0 0 default 26
    button 5 { rect 30 3 20 20; icon "Open.gif"; tip "Load Image"; buttonflags 0x40 }
    panel 6 { rect 2 3 2 20; bevel 1 }
  }
  region 7 { rect 0 0 200 100; drop "~FILE" }
  group 8 {
    rect 1 2 3 4
    flags 0x1200
    text "Options"
    check 9 { rect 5 6 7 8; use byte; text "&Check"; message "Help me"; tip "~"; hotkey 27 }
  }
  spin 10 { use short; picture "s20"; range 0 32768; step 1 }
  list 11 { use queue; source queue; format "10L(1)|M~Path~@S255@" }
  string 12 { text "Red"; textcolour #ff0000 }
  entry 13 { use string 255; picture "s255"; entryflags 0x80; flags 0x1000 }
  image 14 { file "lbsplash.bmp"; placement 1 }
  box 15 { boxcolours #000000 -1; linewidth 2 }
  sheet 16 { tab 17 { text "UnSorted" } }
})";

TEST(DescriptionCompiler, EveryFieldReadsBackThroughTheReader) {
  const DescriptionBuffer buffer = CompileOk(kSample);
  const std::int32_t at = buffer.FindWindowRecord("P99$SAMPLE");
  ASSERT_NE(at, 0);
  const Record w = buffer.RecordAt(at);
  EXPECT_EQ(w.text(), "Sample");
  EXPECT_EQ(w.rect(), (Rect{kDefaultValue, 10, 200, 100}));
  EXPECT_EQ(w.font(), (FontSpec{"MS Sans Serif", 8, kNoColour, 400}));
  EXPECT_EQ(w.colours().background, 0x302010);  // #rrggbb stored as 0x00BBGGRR
  EXPECT_EQ(w.icon(), "lbicon.ico");
  EXPECT_EQ(w.flags(), 0x0813);
  EXPECT_EQ(w.frameFlags(), 0x3820);
  EXPECT_EQ(w.timer(), 50);
  EXPECT_EQ(w.statusZones(), (std::vector<std::int32_t>{-1, 45, 22}));
  EXPECT_EQ(w.alertKeys(), (std::vector<std::int32_t>{27, 13}));
  EXPECT_EQ(w.wallpaperMode(), 2);
  EXPECT_EQ(w.wallpaper(), "Bkgnd2.gif");

  const auto menus = w.menuBar().children();
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].text(), "&File");
  const auto items = menus[0].children();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].text(), "&Open Image...   Ctrl+O");
  EXPECT_EQ(items[1].flags(), kItemSeparator);
  EXPECT_EQ(items[1].number(), 0);
  EXPECT_EQ(items[2].flags(), kItemCheck);
  EXPECT_EQ(items[2].use(), (UseDescriptor{kUseByte, 1}));

  const Record bar = w.toolBar();
  EXPECT_EQ(bar.number(), 4);
  EXPECT_EQ(bar.rect(), (Rect{0, 0, kDefaultValue, 26}));
  const auto tools = bar.children();
  ASSERT_EQ(tools.size(), 2u);  // record order, not x order
  EXPECT_EQ(tools[0].info().tip, "Load Image");
  EXPECT_EQ(tools[0].icon(), "Open.gif");
  EXPECT_EQ(tools[0].byteFlags(), kButtonHasIcon);
  EXPECT_EQ(tools[1].bevel(), 1);

  const auto controls = w.children();
  ASSERT_EQ(controls.size(), 9u);
  EXPECT_EQ(controls[0].dropTargets(), (std::vector<std::string_view>{"~FILE"}));
  const Record check = controls[1].children().at(0);
  EXPECT_EQ(controls[1].flags(), 0x1200);
  EXPECT_EQ(check.rect(), (Rect{5, 6, 7, 8}));
  EXPECT_EQ(check.info().message, "Help me");
  EXPECT_EQ(check.info().EffectiveTip(), "Help me");
  EXPECT_EQ(check.info().hotKey, 27);
  const Record spin = controls[2];
  EXPECT_EQ(spin.use(), (UseDescriptor{kUseShort, 2}));
  EXPECT_EQ(spin.text(), "s20");
  EXPECT_EQ(spin.lower(), 0.0);
  EXPECT_EQ(spin.upper(), 32768.0);
  EXPECT_EQ(spin.step(), 1.0);
  EXPECT_EQ(controls[3].use(), (UseDescriptor{kUseQueue, 0}));
  EXPECT_EQ(controls[3].source(), (UseDescriptor{kUseQueue, 0}));
  EXPECT_EQ(controls[3].fileName(), "10L(1)|M~Path~@S255@");
  EXPECT_EQ(controls[3].gridColour(), 0x808080);
  EXPECT_EQ(controls[4].font(), (FontSpec{"", 0, 0x0000FF, -1}));
  EXPECT_EQ(controls[5].use(), (UseDescriptor{kUseString, 255}));
  EXPECT_EQ(controls[5].byteFlags(), kEntryDisplayOnly);
  EXPECT_EQ(controls[6].fileName(), "lbsplash.bmp");
  EXPECT_EQ(controls[6].byteFlags(), 1);
  EXPECT_EQ(controls[7].boxColours().frame, 0);
  EXPECT_EQ(controls[7].boxColours().fill, kNoColour);
  EXPECT_EQ(controls[7].lineWidth(), 2);
  EXPECT_EQ(controls[8].children().at(0).text(), "UnSorted");
}

TEST(DescriptionCompiler, RecordsAreWholeAndFollowTheirBlocks) {
  const DescriptionBuffer buffer = CompileOk(kSample);
  // Walk every record: each lies inside the buffer at its full size, and
  // its strings come before it.
  std::vector<Record> pending{buffer.FirstWindow()};
  int seen = 0;
  while (!pending.empty()) {
    const Record r = pending.back();
    pending.pop_back();
    ASSERT_TRUE(r.known());
    ++seen;
    EXPECT_LE(static_cast<std::size_t>(r.offset()) + r.layout()->size, buffer.bytes().size());
    if (r.has(Field::Text) && !r.text().empty()) {
      EXPECT_LT(r.text().data(), reinterpret_cast<const char*>(buffer.bytes().data()) + r.offset());
    }
    for (const Record& c : r.children()) pending.push_back(c);
    if (r.menuBar()) pending.push_back(r.menuBar());
    if (r.toolBar()) pending.push_back(r.toolBar());
  }
  EXPECT_EQ(seen, 20);
}

TEST(DescriptionCompiler, WindowsChainInTheOrderGiven) {
  std::vector<std::string> errors;
  const auto resource = CompileSourceTexts(
      kTag, {{"a.window", "window \"$A\" { title \"a\" }"}, {"b.window", "window \"P2$B\" { }"}},
      errors);
  ASSERT_TRUE(errors.empty());
  // The data begins right after the tag: its first field is the first window.
  ASSERT_GT(resource.size(), 18u);
  auto buffer = DescriptionBuffer::FromResource(resource, kTag);
  ASSERT_TRUE(buffer);
  const Record a = buffer->FirstWindow();
  EXPECT_EQ(a.name(), "$A");
  EXPECT_EQ(a.next().name(), "P2$B");
  EXPECT_FALSE(a.next().next());
  EXPECT_EQ(resource[static_cast<std::size_t>(a.offset()) + 14 - 2], 25);
}

TEST(DescriptionCompiler, SmallestWindowIsLaidOutByteForByte) {
  std::vector<std::string> errors;
  const auto resource = Compile("window \"W\" { title \"T\" }", errors);
  ASSERT_TRUE(errors.empty());
  // Tag with NUL (14 bytes), then buffer offset 2: the first window at 10;
  // offset 6 "W", offset 8 "T", offset 10 the 114-byte window record.
  std::vector<std::uint8_t> want{'l', 'u', 'm', 'b', 'r', 'a', '$', 'L', 'U', 'M', 'B',
                                 'R', 'A', 0,   10,  0,   0,   0,   'W', 0,   'T', 0};
  std::vector<std::uint8_t> window(114, 0);
  window[0] = 25;
  window[33] = 6;  // name
  window[41] = 8;  // title
  want.insert(want.end(), window.begin(), window.end());
  EXPECT_EQ(resource, want);
}

struct BadSource {
  const char* text;
  const char* message;  // part of the expected diagnostic
  int line;
};

TEST(DescriptionCompiler, RefusesBadSourcesWithFileAndLine) {
  const BadSource cases[] = {
      {"window \"$W\" {\n  button 1 { }\n  button 1 { }\n}", "control number 1 used twice", 3},
      {"window \"$W\" {\n  menubar { menu 2 { item 3 { } } }\n  prompt 3 { }\n}",
       "control number 3 used twice", 3},
      {"window \"$W\" {\n  widget 1 { }\n}", "unknown record kind \"widget\"", 2},
      {"window \"$W\" {\n  colour 5\n}", "unknown field \"colour\"", 2},
      {"window \"$W\" {\n  prompt 1 {\n    icon \"x.ico\"\n  }\n}", "has no field \"icon\"", 3},
      {"window \"$W\" {\n  button 1 { buttonflags 300 }\n}", "out of range", 2},
      {"window \"$W\" {\n  prompt 1 { textcolour 0x1000000 }\n}", "out of range", 2},
      {"window \"$W\" {\n  prompt 0 { }\n}", "out of range", 2},
      {"window \"$W\" {\n  rect 1 2 3\n}", "takes 4 values", 2},
      {"window \"$W\" {\n  title \"open\n}", "closing quote", 2},
      {"window \"$W\" {\n  prompt 1 {\n}", "not closed", 1},
      {"window \"$W\" {\n  spin 1 { range 10 1 }\n}", "lower bound", 2},
      {"window \"$W\" {\n  item 1 { }\n}", "cannot stand inside", 2},
      {"window \"$W\" {\n  entry 1 { use string }\n}", "needs its length", 2},
      {"window \"$W\" {\n  title \"a\"\n  title \"b\"\n}", "given twice", 3},
      {"prompt 1 { }", "only a window", 1},
      {"window \"$W\" { rect x 1 2 3 }", "not a number", 1},
  };
  for (const BadSource& c : cases) {
    std::vector<std::string> errors;
    const auto resource = Compile(c.text, errors);
    EXPECT_TRUE(resource.empty()) << c.text;
    const std::string where = "test.window:" + std::to_string(c.line) + ": ";
    bool found = false;
    for (const auto& e : errors)
      found |= e.rfind(where, 0) == 0 && e.find(c.message) != std::string::npos;
    EXPECT_TRUE(found) << "wanted " << where << c.message << " for:\n"
                       << c.text << "\ngot: " << (errors.empty() ? "nothing" : errors.front());
  }
}

TEST(DescriptionCompiler, OneBadWindowFailsTheWholeResource) {
  std::vector<std::string> errors;
  const auto resource = CompileSourceTexts(
      kTag, {{"good.window", "window \"$A\" { }"}, {"bad.window", "window \"$B\" { bogus 1 }"}},
      errors);
  EXPECT_TRUE(resource.empty());
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("bad.window:1: ", 0), 0u);
  // The same window name in two files is refused as well.
  errors.clear();
  EXPECT_TRUE(
      CompileSourceTexts(kTag, {{"a", "window \"$A\" { }"}, {"b", "window \"$A\" { }"}}, errors)
          .empty());
  EXPECT_FALSE(errors.empty());
}

}  // namespace
}  // namespace lumbra::description
