// What the viewer's eight windows must hold, written down independently of
// their sources, and the checks that compare a description buffer with it.
// Used by the host test of the compiled sources and by the test that reads
// the descriptions back out of the program's own resources.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "winrt/window_description.h"

namespace lumbra::expected {

using T = RecordType;

// One record in walk order: the number (0 for separators), the type and
// its label (text; tip for picture buttons; file name for images).
struct Control {
  std::int32_t number;
  RecordType type;
  const char* label;
};

struct Window {
  const char* name;
  const char* title;
  std::int32_t width, height;
  std::int32_t frame;
  const char* face;
  std::int32_t points;
  const char* wallpaper;
  std::vector<std::uint8_t> uses;  // use descriptor types in binding order
  std::vector<Control> controls;   // the colour names of the main window are checked apart
};

inline const std::vector<std::string>& ColourNames() {
  static const std::vector<std::string> names = {"Pure Red",
                                                 "Gold",
                                                 "Black",
                                                 "Nectarine",
                                                 "Dark Cherry Red",
                                                 "White",
                                                 "Mustard",
                                                 "Orange",
                                                 "Blood Red",
                                                 "Nuclear Banana Yellow",
                                                 "Peach",
                                                 "Silver",
                                                 "Maroon",
                                                 "Vorple Yellow",
                                                 "Charcoal",
                                                 "Blood Orange",
                                                 "Magenta",
                                                 "Popcorn Yellow",
                                                 "Dark Grey",
                                                 "Oregon Salmon",
                                                 "Broadway Pink",
                                                 "Pyridium Orange",
                                                 "Grey",
                                                 "Nova Scotia Salmon",
                                                 "Lighter Grey",
                                                 "Seattle Salmon",
                                                 "No-Color Pink",
                                                 "Tan",
                                                 "Cyan",
                                                 "Indigo",
                                                 "Pure Green",
                                                 "Burnt Sienna",
                                                 "Cobalt",
                                                 "Grape",
                                                 "Pine Green",
                                                 "Cinnamon",
                                                 "Periwinkle",
                                                 "Purple",
                                                 "Spring Green",
                                                 "Chocolate",
                                                 "Sky Blue",
                                                 "Fuchsia",
                                                 "Parrot Green",
                                                 "Ochre",
                                                 "Pure Blue",
                                                 "Deep Purple",
                                                 "Gold Green",
                                                 "Midnight Blue",
                                                 "Sand",
                                                 "Rose",
                                                 "Forest Green",
                                                 "Royal Blue",
                                                 "Bone",
                                                 "Neon Avocado",
                                                 "Lavender",
                                                 "Cornflower",
                                                 "Pure Violet",
                                                 "Wasabi",
                                                 "Off-White Blue",
                                                 "Gane Green",
                                                 "Turquoise",
                                                 "Melon Rind Green",
                                                 "Off-White Green",
                                                 "Sea Green",
                                                 "Teal"};
  return names;
}

// The names the description leaves uncoloured, with the colour the main
// window gives them when it is set up.
struct LateColour {
  const char* name;
  std::int32_t colour;
};
inline const std::vector<LateColour>& LateColours() {
  static const std::vector<LateColour> colours = {{"Gold", 0x00AAFF},
                                                  {"Blood Red", 0x000066},
                                                  {"Popcorn Yellow", 0xAAFFFF},
                                                  {"Pyridium Orange", 0x04A8F0},
                                                  {"Cinnamon", 0x0066AA},
                                                  {"Periwinkle", 0xFFAAAA},
                                                  {"Purple", 0xFF00AA},
                                                  {"Fuchsia", 0xAA00FF},
                                                  {"Gold Green", 0x00DDAA},
                                                  {"Turquoise", 0xAFDD0F},
                                                  {"Melon Rind Green", 0xA5FFCC},
                                                  {"Sea Green", 0xAAFF00}};
  return colours;
}

inline std::vector<Control> MainControls() {
  std::vector<Control> c = {
      {1, T::Menu, "&File"},
      {2, T::MenuItem, "&Open Image...   Ctrl+O"},
      {3, T::MenuItem, "Load &Folder...  Ctrl+L"},
      {0, T::MenuItem, ""},
      {4, T::MenuItem, "Program &Setup..."},
      {0, T::MenuItem, ""},
      {5, T::MenuItem, "E&xit            Ctrl+X"},
      {6, T::Menu, "&Image"},
      {7, T::MenuItem, "Propert&ies..."},
      {8, T::MenuItem, "&Refresh Image      F5"},
      {0, T::MenuItem, ""},
      {9, T::MenuItem, "&Normal"},
      {10, T::MenuItem, "&Stretched"},
      {11, T::MenuItem, "&Tiled"},
      {12, T::MenuItem, "Best &Fit"},
      {13, T::Menu, "&Zoom"},
      {14, T::MenuItem, "25%"},
      {15, T::MenuItem, "50%"},
      {16, T::MenuItem, "75%"},
      {17, T::MenuItem, "100%"},
      {18, T::MenuItem, "125%"},
      {19, T::MenuItem, "150%"},
      {20, T::MenuItem, "175%"},
      {21, T::MenuItem, "200%"},
      {0, T::MenuItem, ""},
      {22, T::MenuItem, "&Custom Zoom..."},
      {23, T::MenuItem, "Show Color Sa&mple"},
      {0, T::MenuItem, ""},
      {24, T::Menu, "Copy to Clip&Board"},
      {25, T::MenuItem, "Copy &Image        Ctrl+C"},
      {26, T::MenuItem, "Copy &Path   Shift+Ctrl+C"},
      {0, T::MenuItem, ""},
      {27, T::Menu, "Sort &Order"},
      {28, T::MenuItem, "None"},
      {29, T::MenuItem, "Path"},
      {30, T::MenuItem, "Name"},
      {31, T::MenuItem, "Type"},
      {32, T::MenuItem, "Size"},
      {33, T::MenuItem, "Date"},
      {34, T::MenuItem, "Image &List"},
      {0, T::MenuItem, ""},
      {35, T::MenuItem, "&Next            SPACE"},
      {36, T::MenuItem, "&Prev        BACKSPACE"},
      {37, T::Menu, "&Help"},
      {38, T::MenuItem, "&Contents"},
      {0, T::MenuItem, ""},
      {39, T::MenuItem, "&About"},
      {40, T::ToolBar, ""},
      {41, T::Button, "Load Image"},
      {42, T::Button, "Load Image Folder"},
      {43, T::Button, "Image Properties"},
      {44, T::Button, "Refresh Image"},
      {45, T::Panel, ""},
      {46, T::Button, "Normal Image"},
      {47, T::Button, "Stretched Image"},
      {48, T::Button, "Tiled Image"},
      {49, T::Button, "Best Fit Image"},
      {50, T::Button, "Zoom Image"},
      {51, T::Panel, ""},
      {52, T::Button, "Copy Path/File to ClipBoard"},
      {53, T::Button, "Copy Image to ClipBoard"},
      {54, T::Button, "Show Color Sample"},
      {60, T::Panel, ""},
      {55, T::Button, "Prev Image"},
      {56, T::Button, "Image List"},
      {57, T::Button, "Image Sort Order"},
      {58, T::Button, "Next Image"},
      {61, T::Panel, ""},
      {59, T::Button, "Help"},
      {62, T::Panel, ""},
      {63, T::Panel, ""},
      {64, T::Image, ""},
      {65, T::Region, ""},
      {66, T::String, "Loading Image..."},
      {67, T::String, "Image Not Loaded"},
      {68, T::Group, ""},
  };
  const char* families[] = {"preds.bmp",   "poranges.bmp", "pyellows.bmp", "pgreys.bmp",
                            "reds.bmp",    "oranges.bmp",  "greys.bmp",    "yellows.bmp",
                            "pgreens.bmp", "pblues.bmp",   "ppurples.bmp", "pearth.bmp",
                            "greens.bmp",  "purples.bmp",  "earth.bmp",    "blues.bmp"};
  for (int i = 0; i < 16; ++i) c.push_back({69 + i, T::Image, families[i]});
  return c;
}

// The tool-bar pictures in button order 41 to 59.
inline const std::vector<std::pair<std::int32_t, const char*>>& ToolPictures() {
  static const std::vector<std::pair<std::int32_t, const char*>> pictures = {
      {41, "Open.gif"},   {42, "folder.gif"},   {43, "Prop.gif"},    {44, "refresh.gif"},
      {46, "normal.gif"}, {47, "Stretch.gif"},  {48, "tiled.gif"},   {49, "bfit.gif"},
      {50, "zoom.gif"},   {52, "copypath.gif"}, {53, "copyimg.gif"}, {54, "web.gif"},
      {55, "back.gif"},   {56, "list.gif"},     {57, "sort.gif"},    {58, "next.gif"},
      {59, "help.gif"}};
  return pictures;
}

inline std::vector<Window> ViewerWindows() {
  const std::vector<std::uint8_t> mainUses(18, kUseByte);
  return {
      {"$PICVIEWWINDOW", "Lumbra 1.0", 547, 378, 0x3820, "MS Sans Serif", 8, "", mainUses,
       MainControls()},
      {"P21$PROGRAMSETUPWINDOW",
       "Lumbra - Program Setup",
       279,
       153,
       0x2040,
       "MS Sans Serif",
       8,
       "Bkgnd2.gif",
       std::vector<std::uint8_t>(9, kUseByte),
       {{1, T::Group, "Program Options"},
        {4, T::Check, "War&n about bad images"},
        {5, T::Check, "&Auto Load Directory"},
        {6, T::Check, "&Keep Image Settings"},
        {7, T::Check, "Prompt on E&xit"},
        {8, T::Check, "Use &Long File Names"},
        {9, T::Check, "Fix Animated GI&Fs"},
        {10, T::Check, "Show &Welcome Screen"},
        {2, T::Button, "&BG Color"},
        {3, T::Box, ""},
        {11, T::Option, "Default Image &Mode"},
        {12, T::Radio, "Normal"},
        {13, T::Radio, "Stretched"},
        {14, T::Radio, "Tiled"},
        {15, T::Radio, "Best Fit"},
        {16, T::Option, "Default &Sort Option"},
        {17, T::Radio, "UnSorted"},
        {18, T::Radio, "by Path"},
        {19, T::Radio, "by Name"},
        {20, T::Radio, "by Type"},
        {21, T::Radio, "by Size"},
        {22, T::Radio, "by Date"},
        {28, T::Button, "Ok"},
        {29, T::Button, "Cancel"}}},
      {"P22$IMAGEPROPWINDOW",
       "Image Properties",
       315,
       82,
       0x2040,
       "Times New Roman",
       8,
       "Bkgnd2.gif",
       {kUseString, kUseString, kUseLong, kUseLong, kUseLong, kUseString},
       {{1, T::Prompt, "Path/FileName:"},
        {2, T::Entry, "s255"},
        {3, T::Prompt, "MS-DOS Path/FileName:"},
        {4, T::Entry, "s255"},
        {5, T::Prompt, "File Date/Time:"},
        {6, T::Entry, "D4"},
        {7, T::Entry, "T6"},
        {8, T::Prompt, "File Size:"},
        {9, T::Entry, "N20"},
        {10, T::String, "Image Not Loaded"},
        {11, T::Prompt, "Dimensions:"},
        {12, T::Entry, "S255"},
        {13, T::Button, "Copy Path && File"},
        {14, T::Button, "Copy Image"},
        {15, T::Button, "&Close"},
        {16, T::Box, ""},
        {17, T::Image, ""},
        {18, T::String, "Loading Thumbnail..."}}},
      {"P25$ABOUTBOXWINDOW",
       "About Lumbra 1.0",
       245,
       131,
       0x2040,
       "MS Sans Serif",
       8,
       "",
       {},
       {{1, T::Image, "lbsplash.bmp"}, {2, T::String, nullptr}, {5, T::Button, "&Continue"}}},
      {"P31$ZOOMWINDOW",
       "Zoom...",
       205,
       20,
       0x2040,
       "MS Sans Serif",
       8,
       "Bkgnd2.gif",
       {kUseShort},
       {{1, T::Prompt, "&Zoom:"},
        {2, T::Spin, "s20"},
        {3, T::Button, "OK"},
        {4, T::Button, "Cancel"}}},
      {"P32$FILELISTINGWINDOW",
       "Select Image File...",
       344,
       160,
       0x2040,
       "MS Sans Serif",
       8,
       "Bkgnd2.gif",
       {kUseQueue, kUseLong},
       {{1, T::Sheet, ""},
        {2, T::Tab, "UnSorted"},
        {3, T::Tab, "by Path"},
        {4, T::Tab, "by Name"},
        {5, T::Tab, "by Type"},
        {6, T::Tab, "by Size"},
        {7, T::Tab, "by Date"},
        {8, T::List,
         "116L(1)|M~Path~S(255)@S255@57L(1)|M~Name~@S255@42R(1)|M~Size~L@N9@20L(1)~Date~@S20@/"},
        {9, T::Prompt, "Use Tabs to change sort order."},
        {10, T::Prompt, "Total Files:"},
        {11, T::BoundString, "N9"},
        {12, T::Button, "Select"},
        {13, T::Button, "Cancel"},
        {14, T::Prompt, "Click the Select Button to view image."}}},
      {"P34$CLOSEWINDOW",
       "Sample...",
       80,
       40,
       0x2040,
       "MS Sans Serif",
       8,
       "",
       {},
       {{1, T::Prompt, "Color Sample is ON"}, {2, T::Button, "Close"}}},
      {"P39$WELCOMESCREEN",
       "Welcome to Lumbra",
       298,
       144,
       0x2040,
       "MS Sans Serif",
       8,
       "",
       {kUseByte},
       {{1, T::Check, "&Show this screen at startup"},
        {2, T::Button, "Load &Image..."},
        {3, T::Button, "Load &Folder..."},
        {4, T::Button, "&Help"},
        {5, T::Button, "&Close this screen"},
        {6, T::Image, "lbsplash.bmp"},
        {7, T::String, nullptr}}},
  };
}

// Every record of a window in creation order: menu bar, tool bar, controls,
// each followed by its children.
inline void Walk(const Record& r, std::vector<Record>& out) {
  out.push_back(r);
  for (const Record& c : r.children()) Walk(c, out);
}
inline std::vector<Record> RecordsOf(const Record& window) {
  std::vector<Record> all;
  if (window.menuBar()) {
    for (const Record& m : window.menuBar().children()) Walk(m, all);
  }
  if (window.toolBar()) Walk(window.toolBar(), all);
  for (const Record& c : window.children()) Walk(c, all);
  return all;
}

inline std::string LabelOf(const Record& r) {
  if (r.type() == T::Image) return std::string(r.fileName());
  if (r.type() == T::List) return std::string(r.fileName());
  if (r.text().empty()) return std::string(r.info().tip);
  return std::string(r.text());
}

inline Record Find(const std::vector<Record>& all, std::int32_t number) {
  for (const Record& r : all) {
    if (r.number() == number) return r;
  }
  return {};
}

// The approximate width of a text in dialog units at a font size: four
// units per character at 8 points ("&" marks a mnemonic and takes no room).
inline std::int32_t TextWidth(std::string_view text, std::int32_t points) {
  std::int32_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&') continue;
    if (text[i] == '&') ++i;
    ++chars;
  }
  return chars * 4 * std::max(points, 8) / 8;
}

inline bool Overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}
inline bool Inside(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

// Sibling controls that are meant to lie over each other.
inline bool Overlay(std::int32_t a, std::int32_t b, std::string_view window) {
  auto pair = [&](std::int32_t x, std::int32_t y) {
    return (a == x && b == y) || (a == y && b == x);
  };
  if (window == "P22$IMAGEPROPWINDOW") {  // the texts and the thumbnail in its frame
    return (a >= 16 || a == 10) && (b >= 16 || b == 10);
  }
  if (window == "P32$FILELISTINGWINDOW") return pair(1, 8);  // the list on the sheet
  return false;
}

// Nothing cut off by the window's edges or by a control's own text, and no
// sibling controls lying over each other unless meant to.
inline void CheckLayout(const Record& window, const Window& want) {
  const Rect client{0, 0, want.width, want.height};
  const FontSpec windowFont = window.font();
  std::vector<std::vector<Record>> siblings{window.children()};
  if (window.toolBar()) siblings.push_back(window.toolBar().children());
  for (const Record& c : window.children()) {
    if (!c.children().empty()) siblings.push_back(c.children());
  }
  for (const auto& group : siblings) {
    for (std::size_t i = 0; i < group.size(); ++i) {
      const Record& r = group[i];
      if (!r.has(Field::Rect) || r.type() == T::Tab) continue;
      const Rect box = r.rect();
      SCOPED_TRACE(want.name + std::string(" control ") + std::to_string(r.number()));
      EXPECT_TRUE(box.width == kDefaultValue || Inside(box, client));
      const FontSpec font = MergeFont(r.font(), windowFont);
      std::int32_t room = box.width;
      if (r.type() == T::Check || r.type() == T::Radio) room -= 12;
      if (r.type() == T::Button && !r.icon().empty()) room -= 14;
      if (!r.text().empty() && r.type() != T::Entry && r.type() != T::Spin &&
          r.type() != T::Group && r.type() != T::Option) {
        EXPECT_LE(TextWidth(r.text(), font.size), room) << r.text();
        EXPECT_LE(font.size, box.height) << r.text();
      }
      for (std::size_t j = i + 1; j < group.size(); ++j) {
        const Record& s = group[j];
        if (!s.has(Field::Rect) || s.type() == T::Tab || window.flags() & 0x800) continue;
        if (Overlay(r.number(), s.number(), want.name)) continue;
        EXPECT_FALSE(Overlap(box, s.rect())) << "overlaps control " << s.number();
      }
      // Children of groups and options lie inside them.
      for (const Record& child : r.children()) {
        if (child.has(Field::Rect) && r.type() != T::ToolBar) {
          EXPECT_TRUE(Inside(child.rect(), box)) << "control " << child.number();
        }
      }
    }
  }
}

inline void CheckColourNames(const std::vector<Record>& all) {
  const auto& names = ColourNames();
  const Record panel = Find(all, 68);
  ASSERT_TRUE(panel);
  const FontSpec panelFont = panel.font();
  EXPECT_EQ(panelFont.size, 10);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const Record r = Find(all, 85 + static_cast<std::int32_t>(i));
    SCOPED_TRACE(names[i]);
    ASSERT_TRUE(r);
    EXPECT_EQ(r.type(), T::String);
    const std::string text(r.text());
    ASSERT_EQ(text.size(), names[i].size() + 10);
    EXPECT_EQ(text.substr(0, names[i].size() + 3), names[i] + " (#");
    EXPECT_EQ(text.back(), ')');
    const std::string hex = text.substr(names[i].size() + 3, 6);
    const long rgb = std::strtol(hex.c_str(), nullptr, 16);
    const std::int32_t colour =
        static_cast<std::int32_t>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
    const auto late = std::find_if(LateColours().begin(), LateColours().end(),
                                   [&](const LateColour& l) { return names[i] == l.name; });
    const FontSpec font = MergeFont(r.font(), panelFont);
    if (late != LateColours().end()) {
      EXPECT_EQ(font.colour, kNoColour);
      EXPECT_EQ(late->colour, colour);  // the name's own text gives its colour
    } else {
      EXPECT_EQ(font.colour, colour);
    }
    EXPECT_EQ(font.size, 10);  // only the colour is the name's own
    EXPECT_EQ(r.flags() & kFlagTransparent, kFlagTransparent);
  }
  EXPECT_FALSE(Find(all, 150));
}

// Compares one window of a description buffer with what it must hold.
inline void CheckWindow(const DescriptionBuffer& buffer, const Window& want) {
  SCOPED_TRACE(want.name);
  const Record w = buffer.RecordAt(buffer.FindWindowRecord(want.name));
  ASSERT_TRUE(w);
  EXPECT_EQ(w.text(), want.title);
  EXPECT_EQ(w.rect().width, want.width);
  EXPECT_EQ(w.rect().height, want.height);
  EXPECT_EQ(w.frameFlags(), want.frame);
  EXPECT_EQ(w.flags() & kUnitMask, kUnitDialog);
  EXPECT_EQ(w.font().face, want.face);
  EXPECT_EQ(w.font().size, want.points);
  EXPECT_EQ(w.wallpaper(), want.wallpaper);
  EXPECT_EQ(w.wallpaperMode(), want.wallpaper[0] ? 2 : 0);

  const std::vector<Record> all = RecordsOf(w);
  std::vector<Record> listed;
  std::set<std::int32_t> numbers;
  for (const Record& r : all) {
    EXPECT_TRUE(r.known());
    if (r.number() != 0) {
      EXPECT_TRUE(numbers.insert(r.number()).second) << r.number();
    }
    if (want.controls.size() > listed.size()) listed.push_back(r);
  }
  ASSERT_EQ(listed.size(), want.controls.size());
  for (std::size_t i = 0; i < listed.size(); ++i) {
    const Control& c = want.controls[i];
    SCOPED_TRACE("control " + std::to_string(c.number));
    EXPECT_EQ(listed[i].number(), c.number);
    EXPECT_EQ(static_cast<int>(listed[i].typeCode()), static_cast<int>(c.type));
    if (c.label) {
      EXPECT_EQ(LabelOf(listed[i]), c.label);
    }
    if (c.type == T::MenuItem && c.number == 0) {
      EXPECT_EQ(listed[i].flags(), kItemSeparator);
    }
  }

  std::vector<std::uint8_t> uses;
  for (const Record& r : all) {
    if (r.use()) uses.push_back(r.use()->type);
  }
  EXPECT_EQ(uses, want.uses);
  if (want.name == std::string("$PICVIEWWINDOW")) {
    EXPECT_EQ(all.size(), 157u);  // 149 numbered records and 8 separators
    CheckColourNames(all);
  } else {
    EXPECT_EQ(all.size(), want.controls.size());
    CheckLayout(w, want);
  }
}

// The values the tables above do not hold: pictures, flags, fonts, keys,
// ranges, status zones and drop targets.
inline void CheckDetails(const DescriptionBuffer& buffer) {
  const Record main = buffer.RecordAt(buffer.FindWindowRecord("$PICVIEWWINDOW"));
  ASSERT_TRUE(main);
  EXPECT_EQ(main.icon(), "lbicon.ico");
  EXPECT_EQ(main.statusZones(), (std::vector<std::int32_t>{-1, 45, 22, 35, 50}));
  const std::vector<Record> all = RecordsOf(main);
  EXPECT_EQ(Find(all, 65).dropTargets(), (std::vector<std::string_view>{"~FILE"}));
  EXPECT_EQ(main.toolBar().rect().height, 26);
  for (const auto& [number, picture] : ToolPictures()) {
    const Record b = Find(all, number);
    EXPECT_EQ(b.icon(), picture);
    EXPECT_EQ(b.rect().width, 20);
    EXPECT_EQ(b.rect().height, 20);
    EXPECT_EQ(b.byteFlags() & kButtonHasIcon, kButtonHasIcon);
  }
  for (std::int32_t rule : {45, 51, 60, 61, 62}) EXPECT_EQ(Find(all, rule).bevel(), 1);
  EXPECT_EQ(Find(all, 63).bevel(), 0xFFFF);
  EXPECT_EQ(Find(all, 63).rect().height, 1);
  for (std::int32_t text : {66, 67}) {
    EXPECT_EQ(MergeFont(Find(all, text).font(), main.font()),
              (FontSpec{"MS Sans Serif", 18, 0xFFFFFF, 400}));
  }
  for (const Record& r : all) {
    const bool radio = (r.number() >= 9 && r.number() <= 12) ||
                       (r.number() >= 14 && r.number() <= 21) ||
                       (r.number() >= 28 && r.number() <= 33);
    if (r.type() == T::MenuItem && r.number() != 0) {
      EXPECT_EQ(r.flags(), radio ? kItemCheck : 0) << r.number();
    }
  }
  EXPECT_EQ(Find(all, 68).rect(), (Rect{0, 0, 523, 263}));

  auto window = [&](const char* name) { return buffer.RecordAt(buffer.FindWindowRecord(name)); };
  const std::vector<Record> setup = RecordsOf(window("P21$PROGRAMSETUPWINDOW"));
  EXPECT_EQ(Find(setup, 28).byteFlags(), kButtonDefault | kButtonHasIcon);
  EXPECT_EQ(Find(setup, 28).icon(), "OK.ico");
  EXPECT_EQ(Find(setup, 29).icon(), "Cancel.ico");
  EXPECT_EQ(Find(setup, 29).info().hotKey, 27);
  EXPECT_EQ(Find(setup, 2).info().message, "Click to set the BG color");
  EXPECT_EQ(Find(setup, 9).info().message, "Fix GIF turds");
  EXPECT_EQ(Find(setup, 22).info().message, "Sort by date for image list");
  EXPECT_EQ(Find(setup, 28).info().message, "Save changes");
  EXPECT_EQ(Find(setup, 11).flags() & kFlagCaptioned, kFlagCaptioned);

  const std::vector<Record> properties = RecordsOf(window("P22$IMAGEPROPWINDOW"));
  for (std::int32_t entry : {2, 4, 6, 7, 9, 12}) {
    EXPECT_EQ(Find(properties, entry).byteFlags(), kEntryDisplayOnly);
    EXPECT_EQ(Find(properties, entry).flags() & kFlagTransparent, kFlagTransparent);
  }
  EXPECT_EQ(Find(properties, 16).rect().width, 92);
  EXPECT_EQ(Find(properties, 16).rect().height, 77);
  EXPECT_EQ(Find(properties, 16).lineWidth(), 2);
  EXPECT_EQ(Find(properties, 13).icon(), "copypath.gif");
  EXPECT_EQ(Find(properties, 14).icon(), "copyimg.gif");
  EXPECT_EQ(Find(properties, 15).icon(), "OK.ico");
  EXPECT_EQ(MergeFont(Find(properties, 10).font(), {}).colour, 0xFFFFFF);

  const std::vector<Record> zoom = RecordsOf(window("P31$ZOOMWINDOW"));
  const Record spin = Find(zoom, 2);
  EXPECT_EQ(spin.lower(), 0.0);
  EXPECT_EQ(spin.upper(), 32768.0);
  EXPECT_EQ(spin.step(), 1.0);
  EXPECT_EQ(Find(zoom, 3).byteFlags() & kButtonDefault, kButtonDefault);
  EXPECT_EQ(Find(zoom, 4).info().hotKey, 27);

  const std::vector<Record> listing = RecordsOf(window("P32$FILELISTINGWINDOW"));
  EXPECT_EQ(Find(listing, 8).source(), (UseDescriptor{kUseQueue, 0}));
  EXPECT_EQ(Find(listing, 11).font().weight, 700);
  EXPECT_EQ(Find(listing, 12).icon(), "OK.ico");
  EXPECT_EQ(Find(listing, 13).icon(), "Cancel.ico");

  const std::vector<Record> about = RecordsOf(window("P25$ABOUTBOXWINDOW"));
  EXPECT_EQ(window("P25$ABOUTBOXWINDOW").colours().background, 0xFFFFFF);
  EXPECT_EQ(MergeFont(Find(about, 2).font(), {}).colour, 0x0000FF);
  const std::vector<Record> welcome = RecordsOf(window("P39$WELCOMESCREEN"));
  EXPECT_EQ(MergeFont(Find(welcome, 7).font(), {}).colour, 0x0000FF);
  const char* icons[] = {"Open.gif", "folder.gif", "help.gif", "Cancel.ico"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Find(welcome, 2 + i).icon(), icons[i]);
}

}  // namespace lumbra::expected
