// Tooltips: one native tooltip per thread slot, made when the first
// control with a tip text is, and asking the control for its tip each
// time it is about to show it.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <mutex>
#include <string>

#include "winrt/menus_win32.h"

namespace lumbra::internal {

namespace {

constexpr const char* kTipHostClass = "WexTipHost";

// A slot's tooltip and the hidden window that answers its questions.
struct TipSlot {
  HWND tip = nullptr;
  HWND host = nullptr;
  std::string text;  // the tip handed out last, alive while it shows
};
std::array<TipSlot, kThreadSlots + 1> g_tips;  // slot 0 unused; each touched by its own thread

// The text the tooltip shows for a control: its tip as it stands now.
LRESULT CALLBACK TipHostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(lp);
    if (request->hdr.code == TTN_GETDISPINFOA) {
      auto* slot = reinterpret_cast<TipSlot*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
      HWND tool = reinterpret_cast<HWND>(request->hdr.idFrom);
      auto* c = reinterpret_cast<ControlObject*>(GetWindowLongPtrA(tool, GWLP_USERDATA));
      if (slot) {
        slot->text = c ? c->plan.tip : std::string();
        request->lpszText = const_cast<char*>(slot->text.c_str());
      }
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void RegisterTipHostClass() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TipHostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kTipHostClass;
    RegisterClassExA(&wc);
  });
}

bool MadeByThisThread(HWND hwnd) {
  return hwnd && IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

// The slot's tooltip, made on first use (and again for a thread that took
// over the slot of one that ended, whose windows ended with it).
TipSlot* TipsOf(std::int32_t thread) {
  if (thread < 1 || thread > kThreadSlots) return nullptr;
  TipSlot& slot = g_tips[static_cast<std::size_t>(thread)];
  if (MadeByThisThread(slot.tip) && MadeByThisThread(slot.host)) return &slot;
  RegisterTipHostClass();
  slot = TipSlot{};
  HINSTANCE instance = GetModuleHandleA(nullptr);
  slot.host = CreateWindowExA(0, kTipHostClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              instance, nullptr);
  if (!slot.host) return nullptr;
  SetWindowLongPtrA(slot.host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&slot));
  slot.tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, slot.host,
                             nullptr, instance, nullptr);
  if (!slot.tip) {
    DestroyWindow(slot.host);
    slot.host = nullptr;
    return nullptr;
  }
  return &slot;
}

// Tools whose controls have gone (their windows closed) leave the tooltip.
void ForgetEndedTools(TipSlot& slot) {
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  for (UINT i = 0; SendMessageA(slot.tip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool));) {
    if (IsWindow(reinterpret_cast<HWND>(tool.uId))) {
      ++i;
    } else {
      SendMessageA(slot.tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
}

}  // namespace

void RegisterTip(ControlObject* c) {
  if (!c->hwnd || c->plan.tip.empty()) return;
  TipSlot* slot = TipsOf(c->window->thread);
  if (!slot) return;
  ForgetEndedTools(*slot);
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = slot->host;
  tool.uId = reinterpret_cast<UINT_PTR>(c->hwnd);
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(slot->tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace lumbra::internal
