// What the window runtime's other files ask of its menu bars, tool bars
// and tooltips.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "winrt/window.h"
#include "winrt/window_internal_win32.h"

namespace lumbra::internal {

// --- Menu bar ---

// Builds the window's native menu bar from its menu plan and attaches it.
// Its menus and items become the window's first controls (without a
// native window each); check items take the window's menu variables.
void CreateMenuBar(Window* w);
bool IsMenuEntry(const ControlObject* c);
// A native command for a menu item: a check item's mark flips, then the
// loop hears "EVENT:Accepted". Greyed and hidden items cannot be chosen.
void ChooseMenuItem(Window* w, ControlObject* c);
// Sets a check item's mark from its variable.
void RedisplayMenuItem(ControlObject* c);
void ShowMenuEntry(ControlObject* c, bool show);
void EnableMenuEntry(ControlObject* c, bool enable);
// Properties of a menu entry; empty for properties menus do not have.
std::string GetMenuProperty(ControlObject* c, std::uint32_t property);
void SetMenuProperty(ControlObject* c, std::uint32_t property, std::string_view value);

// --- Tool bar ---

// Creates the bar's native window along the top of the client area.
void CreateToolBar(Window* w, ControlObject* bar);
// The bar that holds a control (directly), or null.
HWND ToolBarHolding(Window* w, const ControlPlan& plan);
// Keeps the bar as wide as the client area.
void LayoutToolBar(Window* w);
// Where a control's position is measured from, in pixels of the client
// area: the tool bar's contents from the bar's corner, the other controls
// from the corner of the area below the bar, moved by the scrolling.
POINT ContentOrigin(Window* w, const ControlObject* c);
// Buttons on a tool bar show only their picture, drawn by the bar.
bool IsToolBarButton(Window* w, const ControlPlan& plan);
void AddToolBarPicture(Window* w, ControlObject* c);
// Gives the colours of the bar's background and pictures to a palette.
void AddToolBarColours(Window* w, PaletteTarget& palette);

// --- Tooltips ---

// Registers a control that has a tip text with its thread's tooltip.
void RegisterTip(ControlObject* c);

}  // namespace lumbra::internal
