// The hidden timer windows that animate GIF images.
#include <windows.h>

#include "images/gif_image.h"

namespace lumbra {

namespace {

constexpr char kTimerClass[] = "WexTimerWinClass";
constexpr UINT_PTR kTimerId = 1;

LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    auto* image = reinterpret_cast<GifImage*>(GetWindowLongPtrA(window, 0));
    if (image != nullptr) image->OnTimer();
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Registered once per process.
bool RegisterTimerClass() {
  static const bool registered = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TimerWindowProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kTimerClass;
    return RegisterClassA(&windowClass) != 0;
  }();
  return registered;
}

}  // namespace

NativeWindow StartGifTimer(GifImage* image, NativeWindow window, std::uint32_t periodMs) {
  if (window == nullptr) {
    if (!RegisterTimerClass()) return nullptr;
    window = CreateWindowExA(0, kTimerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) return nullptr;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(image));
  }
  KillTimer(window, kTimerId);
  SetTimer(window, kTimerId, periodMs, nullptr);
  return window;
}

void DestroyGifTimer(NativeWindow window) {
  // Cleared first, so a timer message already queued finds no image.
  SetWindowLongPtrA(window, 0, 0);
  KillTimer(window, kTimerId);
  DestroyWindow(window);
}

}  // namespace lumbra
