// The key table of the main window.
#include "app/main_window_keys.h"

#include <windows.h>

#include <algorithm>

#include "app/image_loading.h"
#include "app/main_commands.h"
#include "app/main_popups.h"
#include "app/program_settings.h"
#include "app/window_geometry.h"
#include "winrt/key_codes.h"
#include "winrt/window.h"

namespace lumbra {

namespace {

constexpr std::int32_t kScrollEnd = 255;
constexpr std::int32_t kLineStep = 3;
constexpr std::int32_t kPageStep = 64;
constexpr std::int16_t kZoomKeyStep = 25;

// Moves a scroll position of the window within 0..255 and redisplays.
void ScrollBy(std::uint32_t position, std::int32_t delta) {
  const std::int32_t now = PropertyNumber(0, position);
  SetProperty(0, position, std::clamp(now + delta, 0, kScrollEnd));
  RedisplayControls();
}

// The zoom keys work in Normal mode only; ShowImage holds the zoom within
// what it can show.
void ZoomBy(std::int32_t delta) {
  if (PS.IMAGEMODE != kModeNormal) return;
  PS.IMAGEZOOM = static_cast<std::int16_t>(std::max(PS.IMAGEZOOM + delta, 0));
  ShowImage();
}

struct KeyAction {
  std::uint32_t key;
  void (*action)();
};

constexpr KeyAction kKeys[] = {
    {kMouseRight, [] { RunMainPopupEntry(PopUpMainMenu()); }},
    {VK_SPACE,
     [] {
       if (NextEnabled()) RunCommand(Command::Next);
     }},
    {VK_BACK,
     [] {
       if (PrevEnabled()) RunCommand(Command::Prev);
     }},
    {'Z', [] { ZoomBy(kZoomKeyStep); }},
    {kKeyShift | 'Z', [] { ZoomBy(-kZoomKeyStep); }},
    {VK_ADD, [] { ZoomBy(kZoomKeyStep); }},
    {VK_SUBTRACT, [] { ZoomBy(-kZoomKeyStep); }},
    {VK_UP, [] { ScrollBy(PROP::VScrollPos, -kLineStep); }},
    {VK_DOWN, [] { ScrollBy(PROP::VScrollPos, kLineStep); }},
    {VK_LEFT, [] { ScrollBy(PROP::HScrollPos, -kLineStep); }},
    {VK_RIGHT, [] { ScrollBy(PROP::HScrollPos, kLineStep); }},
    {VK_NEXT, [] { ScrollBy(PROP::VScrollPos, kPageStep); }},
    {VK_PRIOR, [] { ScrollBy(PROP::VScrollPos, -kPageStep); }},
    {kKeyCtrl | VK_RIGHT, [] { ScrollBy(PROP::HScrollPos, kPageStep); }},
    {kKeyCtrl | VK_LEFT, [] { ScrollBy(PROP::HScrollPos, -kPageStep); }},
    {kKeyCtrl | 'X', [] { RunCommand(Command::Exit); }},
    {kKeyCtrl | 'L', [] { RunCommand(Command::LoadFolder); }},
    {kKeyCtrl | 'O', [] { RunCommand(Command::OpenImage); }},
    {VK_F5, [] { RunCommand(Command::Refresh); }},
    {kKeyShift | kKeyCtrl | 'C', [] { RunCommand(Command::CopyPath); }},
    {kKeyCtrl | 'C', [] { RunCommand(Command::CopyImage); }},
};

}  // namespace

void RegisterAlertKeys() {
  for (const KeyAction& k : kKeys) AlertKeys(k.key);
}

void RunAlertKey(std::uint32_t keyCode) {
  for (const KeyAction& k : kKeys) {
    if (k.key == keyCode) {
      k.action();
      return;
    }
  }
}

}  // namespace lumbra
