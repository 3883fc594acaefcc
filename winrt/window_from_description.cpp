// Window objects filled from their compiled descriptions.
#include <string>

#include "winrt/runtime_errors.h"
#include "winrt/window.h"
#include "winrt/window_description.h"

namespace lumbra {

namespace {

constexpr const char* kModuleTag = "WSLDIAL";

// Menu items that carry a variable take theirs first, in record order; the
// menu code binds them. Returns how many there are.
std::size_t MenuVariables(const Record& record, std::size_t depth = 0) {
  std::size_t count = 0;
  if (depth > 16) return 0;
  for (const Record& child : record.children()) {
    if (child.type() == RecordType::MenuItem && child.use()) ++count;
    if (child.type() == RecordType::Menu) count += MenuVariables(child, depth + 1);
  }
  return count;
}

// The menu bar's menus and items in record order, each with the menu
// holding it.
void CollectMenus(const Record& holder, std::int32_t parent, std::vector<MenuPlan>& out,
                  std::size_t depth = 0) {
  if (depth > 16) return;
  for (const Record& r : holder.children()) {
    if (out.size() > 4096) return;
    if (r.type() != RecordType::Menu && r.type() != RecordType::MenuItem) continue;
    MenuPlan m;
    m.type = r.type();
    m.number = r.number();
    m.parent = parent;
    m.text = std::string(r.text());
    m.flags = r.flags();
    m.hasUse = r.type() == RecordType::MenuItem && r.use().has_value();
    out.push_back(std::move(m));
    if (r.type() == RecordType::Menu) CollectMenus(r, r.number(), out, depth + 1);
  }
}

ControlPlan ControlOf(const Record& r, std::int32_t parent, const FontSpec& parentFont,
                      std::string_view parentMessage) {
  ControlPlan c;
  c.type = r.type();
  c.number = r.number();
  const Rect rect = r.rect();
  c.rect = {rect.x, rect.y, rect.width, rect.height};
  const bool named = r.type() == RecordType::Image || r.type() == RecordType::List;
  c.text = std::string(named                             ? r.fileName()
                       : r.type() == RecordType::ToolBar ? r.wallpaper()
                                                         : r.text());
  c.parent = parent;
  if (const auto use = r.use()) {
    c.hasUse = true;
    c.useType = use->type;
    c.useSize = use->size;
  }
  c.flags = r.flags();
  c.placement = r.type() == RecordType::Image     ? (r.byteFlags() & 0x03)
                : r.type() == RecordType::ToolBar ? r.wallpaperMode()
                                                  : 0;
  c.icon = std::string(r.icon());
  InfoBlock info = r.info();
  if (info.message.empty()) info.message = parentMessage;
  c.tip = std::string(info.EffectiveTip());
  c.hotKey = info.hotKey;
  const FontSpec font = MergeFont(r.font(), parentFont);
  c.fontFace = font.face;
  c.fontSize = font.size;
  c.fontWeight = font.weight;
  c.textColour = font.colour;
  const ColourBlock colours = r.colours();
  c.background = colours.background;
  c.selectedText = colours.selectedText;
  c.selectedBackground = colours.selectedBackground;
  c.gridColour = r.gridColour();
  const BoxColours box = r.boxColours();
  c.frameColour = box.frame;
  c.fillColour = box.fill;
  if (r.type() == RecordType::Box) c.lineWidth = r.lineWidth();
  if (r.type() == RecordType::Spin) {
    c.lower = r.lower();
    c.upper = r.upper();
    c.step = r.step() > 0 ? r.step() : 1;
  }
  c.displayOnly = r.type() == RecordType::Entry && (r.byteFlags() & kEntryDisplayOnly);
  c.isDefault = r.type() == RecordType::Button && (r.byteFlags() & kButtonDefault);
  c.value = std::string(r.value());
  for (std::string_view target : r.dropTargets()) c.dropTargets.emplace_back(target);
  c.alertKeys = info.alertKeys;
  return c;
}

// The controls in record order; the children of sheets, tabs, options,
// groups and the tool bar follow their parent. Without the chain, only the
// first record is taken, with what it holds.
void CollectControls(const Record& first, std::int32_t parent, const FontSpec& parentFont,
                     std::string_view parentMessage, std::vector<ControlPlan>& out,
                     std::size_t depth = 0, bool chain = true) {
  if (depth > 16) return;
  for (Record r = first; r; r = chain ? r.next() : Record()) {
    if (out.size() > 4096) return;
    if (!r.known() || r.type() == RecordType::MenuBar) continue;
    if (r.type() == RecordType::ToolBar && depth == 0 && chain) continue;
    out.push_back(ControlOf(r, parent, parentFont, parentMessage));
    if (Record child = r.firstChild()) {
      const std::string_view message = r.info().message;
      CollectControls(child, r.number(), MergeFont(r.font(), parentFont),
                      message.empty() ? parentMessage : message, out, depth + 1);
    }
  }
}

}  // namespace

bool CreateWindowFromDescription(Window& window, std::string_view moduleTag,
                                 std::string_view windowName, std::vector<UseVariable> uses) {
  if (FindWindowDescription(moduleTag, windowName) == 0) {
    RuntimeErrorBox(502, kModuleTag);
    return false;
  }
  const Record w = CurrentWindowRecord();
  WindowPlan plan;
  plan.name = std::string(w.name());
  plan.title = std::string(w.text());
  const Rect rect = w.rect();
  plan.rect = {rect.x, rect.y, rect.width, rect.height};
  plan.pixelUnits = (w.flags() & kUnitMask) == kUnitPixel;
  plan.flags = w.flags();
  plan.frameFlags = w.frameFlags();
  plan.timer = w.timer();
  plan.icon = std::string(w.icon());
  const FontSpec font = w.font();
  if (!font.face.empty()) plan.fontFace = font.face;
  if (font.size > 0) plan.fontSize = font.size;
  plan.background = w.colours().background;
  plan.statusZones = w.statusZones();
  plan.alertKeys = w.alertKeys();
  for (std::string_view target : w.dropTargets()) plan.dropTargets.emplace_back(target);
  plan.wallpaperTiled = w.wallpaperMode() == 2;
  plan.wallpaper = std::string(w.wallpaper());
  CollectMenus(w.menuBar(), 0, plan.menus);
  // The tool bar with its contents comes first, then the other controls.
  if (Record bar = w.toolBar(); bar && bar.type() == RecordType::ToolBar) {
    CollectControls(bar, 0, font, {}, plan.controls, 0, false);
  }
  CollectControls(w.firstChild(), 0, font, {}, plan.controls);

  const std::size_t menuUses = MenuVariables(w.menuBar());
  if (menuUses > uses.size()) {
    RuntimeErrorBox(501, kModuleTag);
    return false;
  }
  window.menuUses.assign(uses.begin(), uses.begin() + static_cast<std::ptrdiff_t>(menuUses));
  uses.erase(uses.begin(), uses.begin() + static_cast<std::ptrdiff_t>(menuUses));
  CreateWindowFromPlan(window, std::move(plan), std::move(uses));
  return true;
}

}  // namespace lumbra
