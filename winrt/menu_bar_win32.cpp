// Window menu bars: menus and items of the description as native menus,
// check items bound to byte variables, and the statements on them.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "winrt/event_codes.h"
#include "winrt/menus_win32.h"
#include "winrt/runtime_errors.h"

namespace lumbra::internal {

namespace {

// An entry's state, kept so that it can be written into its native item
// whole (and an item taken out of its menu can be put back).
constexpr UINT kEntrySeparator = 0x01;
constexpr UINT kEntryRightJustified = 0x02;
constexpr UINT kEntryGreyed = 0x04;
constexpr UINT kEntryChecked = 0x08;
constexpr UINT kEntryNewColumn = 0x10;

// The entry flags from the record's flags; an item without text is a
// separator.
UINT EntryFlags(const MenuPlan& m) {
  UINT flags = 0;
  if (m.type == ControlType::MenuItem && ((m.flags & kItemSeparator) || m.text.empty())) {
    flags |= kEntrySeparator;
  }
  if (m.flags & kItemRightJustified) flags |= kEntryRightJustified;
  if (m.flags & kItemDisabled) flags |= kEntryGreyed;
  return flags;
}

bool Has(const ControlObject* c, UINT flag) { return (c->menuFlags & flag) != 0; }

// The native description of an entry.
MENUITEMINFOA NativeItem(ControlObject* c) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
  if (Has(c, kEntrySeparator)) {
    info.fType = MFT_SEPARATOR;
  } else {
    info.fType = MFT_STRING;
    info.fMask |= MIIM_STRING;
    info.dwTypeData = const_cast<char*>(c->plan.text.c_str());
  }
  if (Has(c, kEntryRightJustified)) info.fType |= MFT_RIGHTJUSTIFY;
  if (Has(c, kEntryNewColumn)) info.fType |= MFT_MENUBARBREAK;
  info.fState = (Has(c, kEntryGreyed) ? MFS_GRAYED : MFS_ENABLED) |
                (Has(c, kEntryChecked) ? MFS_CHECKED : MFS_UNCHECKED);
  info.wID = static_cast<UINT>(c->plan.number);
  info.hSubMenu = c->subMenu;
  return info;
}

// Where an entry lies in its menu: after its siblings that are shown.
UINT PositionOf(ControlObject* c) {
  UINT position = 0;
  for (auto& other : c->window->native->controls) {
    if (other.get() == c) break;
    if (IsMenuEntry(other.get()) && other->menu == c->menu && !other->hidden) ++position;
  }
  return position;
}

// The menu bar is drawn again after one of its own entries changed.
void Changed(ControlObject* c) {
  HWND hwnd = c->window->native->hwnd;
  if (hwnd && c->menu == GetMenu(hwnd)) DrawMenuBar(hwnd);
}

// Writes the entry's state into its native item.
void Update(ControlObject* c) {
  if (c->hidden || !c->menu) return;
  MENUITEMINFOA info = NativeItem(c);
  SetMenuItemInfoA(c->menu, PositionOf(c), TRUE, &info);
  Changed(c);
}

// An entry whose state does not change is left alone: every redisplay sets
// the check marks of all bound items, and redrawing the menu bar for each
// of them made a step through the image list redraw the window's frame
// over a hundred times.
void SetFlag(ControlObject* c, UINT flag, bool on) {
  const UINT flags = on ? (c->menuFlags | flag) : (c->menuFlags & ~flag);
  if (flags == c->menuFlags) return;
  c->menuFlags = flags;
  Update(c);
}

ControlPlan ControlOfMenu(const MenuPlan& m) {
  ControlPlan plan;
  plan.type = m.type;
  plan.number = m.number;
  plan.parent = m.parent;
  plan.text = m.text;
  plan.flags = m.flags;
  plan.hasUse = m.hasUse;
  return plan;
}

}  // namespace

bool IsMenuEntry(const ControlObject* c) {
  return c && (c->plan.type == ControlType::Menu || c->plan.type == ControlType::MenuItem);
}

void CreateMenuBar(Window* w) {
  if (w->plan.menus.empty()) return;
  HMENU bar = CreateMenu();
  if (!bar) return;
  std::size_t nextUse = 0;
  for (const MenuPlan& m : w->plan.menus) {
    auto c = std::make_unique<ControlObject>();
    c->plan = ControlOfMenu(m);
    c->window = w;
    c->menuFlags = EntryFlags(m);
    // A menu's parent is a menu made before it; anything else lies on the
    // bar.
    c->menu = bar;
    if (ControlObject* holder = FindControl(w, m.parent); holder && holder->subMenu) {
      c->menu = holder->subMenu;
    }
    if (m.type == ControlType::Menu) c->subMenu = CreatePopupMenu();
    if (m.hasUse) {
      if (nextUse >= w->menuUses.size()) {
        DestroyMenu(bar);
        RuntimeErrorBox(501, kModuleTag);
        return;
      }
      c->use = w->menuUses[nextUse++];
      c->bound = c->use.address != nullptr && (m.flags & kItemCheck);
    }
    MENUITEMINFOA info = NativeItem(c.get());
    InsertMenuItemA(c->menu, PositionOf(c.get()), TRUE, &info);
    w->native->controls.push_back(std::move(c));
  }
  SetMenu(w->native->hwnd, bar);
}

void ChooseMenuItem(Window* w, ControlObject* c) {
  if (c->plan.type != ControlType::MenuItem || c->hidden ||
      Has(c, kEntryGreyed | kEntrySeparator)) {
    return;
  }
  if (c->plan.flags & kItemCheck) SetFlag(c, kEntryChecked, !Has(c, kEntryChecked));
  w->accepted = c->plan.number;
  QueueEvent(w, kEventAccepted, c->plan.number);
}

void RedisplayMenuItem(ControlObject* c) {
  if (c->bound) SetFlag(c, kEntryChecked, UseText(c->use) != "0");
}

void ShowMenuEntry(ControlObject* c, bool show) {
  if (!c->menu || c->hidden == !show) return;
  if (show) {
    c->hidden = false;
    MENUITEMINFOA info = NativeItem(c);
    InsertMenuItemA(c->menu, PositionOf(c), TRUE, &info);
  } else {
    // The item leaves its menu; a menu keeps its sub-menu for its return.
    RemoveMenu(c->menu, PositionOf(c), MF_BYPOSITION);
    c->hidden = true;
  }
  Changed(c);
}

void EnableMenuEntry(ControlObject* c, bool enable) { SetFlag(c, kEntryGreyed, !enable); }

std::string GetMenuProperty(ControlObject* c, std::uint32_t property) {
  auto flag = [](bool on) { return std::string(on ? "1" : ""); };
  switch (property) {
    case PROP::Text: return c->plan.text;
    case PROP::Visible: return flag(!c->hidden);
    case PROP::Enabled: return flag(!Has(c, kEntryGreyed));
    case PROP::MenuBreak: return flag(Has(c, kEntryNewColumn));
    case PROP::RightJustify: return flag(Has(c, kEntryRightJustified));
    case PROP::Separator: return flag(Has(c, kEntrySeparator));
    default: return std::string();
  }
}

void SetMenuProperty(ControlObject* c, std::uint32_t property, std::string_view value) {
  const bool on = std::strtol(std::string(value).c_str(), nullptr, 10) != 0;
  switch (property) {
    case PROP::Text:
      c->plan.text = std::string(value);
      Update(c);
      break;
    case PROP::Visible: ShowMenuEntry(c, on); break;
    case PROP::Enabled: EnableMenuEntry(c, on); break;
    case PROP::MenuBreak: SetFlag(c, kEntryNewColumn, on); break;
    case PROP::RightJustify: SetFlag(c, kEntryRightJustified, on); break;
    case PROP::Separator:
      // Only an item can become a separator line; a menu keeps its title.
      if (c->plan.type == ControlType::MenuItem) SetFlag(c, kEntrySeparator, on);
      break;
    default: break;
  }
}

}  // namespace lumbra::internal
