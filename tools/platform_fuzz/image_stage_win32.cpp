// The image stage: one image control in a window of its own.
#include "tools/platform_fuzz/image_stage_win32.h"

#include <cstdint>

#include "images/image_load_flags.h"

namespace lumbra {

namespace {

constexpr char kWindowClass[] = "LumbraStageWindow";
constexpr char kControlClass[] = "LumbraStageImage";
constexpr int kWidth = 160;
constexpr int kHeight = 120;

LRESULT CALLBACK ControlProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* control = reinterpret_cast<ImageControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  LRESULT result = 0;
  if (control != nullptr && control->HandleMessage(msg, wp, lp, result)) return result;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void RegisterClasses() {
  static const bool registered = [] {
    WNDCLASSA window{};
    window.lpfnWndProc = DefWindowProcA;
    window.hInstance = GetModuleHandleA(nullptr);
    window.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    window.lpszClassName = kWindowClass;
    RegisterClassA(&window);
    WNDCLASSA control = window;
    control.lpfnWndProc = ControlProcedure;
    control.hbrBackground = nullptr;
    control.lpszClassName = kControlClass;
    RegisterClassA(&control);
    return true;
  }();
  (void)registered;
}

// Takes the colours an image offers, reading every entry as a palette
// would.
class ColourRecorder : public PaletteTarget {
 public:
  void MarkDirty() override {}
  void AddColourTable(const std::uint8_t* entries, std::uint32_t count) override {
    for (std::uint32_t i = 0; i < 4 * count; ++i) sum_ = sum_ + entries[i];
  }

 private:
  volatile std::uint32_t sum_ = 0;
};

// Messages for the stage's windows (paints, GIF timers) until none wait.
void Pump() {
  MSG msg;
  for (int i = 0; i < 256 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

ImageStage::ImageStage() {
  RegisterClasses();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  window_ = CreateWindowExA(0, kWindowClass, "Lumbra image stage", WS_POPUP | WS_VISIBLE, 0, 0,
                            kWidth + 40, kHeight + 40, nullptr, nullptr, instance, nullptr);
  control_ = CreateWindowExA(0, kControlClass, "", WS_CHILD | WS_VISIBLE, 10, 10, kWidth, kHeight,
                             window_, nullptr, instance, nullptr);
  image_ = std::make_unique<ImageControl>(control_, kPlaceStretched, nullptr);
  image_->SetStretched(true);
  SetWindowLongPtrA(control_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(image_.get()));
  Pump();
}

ImageStage::~ImageStage() {
  SetWindowLongPtrA(control_, GWLP_USERDATA, 0);
  image_.reset();
  DestroyWindow(window_);
}

bool ImageStage::Show(const std::string& name, SIZE* size) {
  image_->Assign(name);
  ImageObject* image = image_->image();
  if (size != nullptr) *size = image ? SIZE{image->width(), image->height()} : SIZE{0, 0};
  if (image != nullptr) {
    ColourRecorder colours;
    image->AddColours(&colours);
    image->AddColours(nullptr);
    PictureHandle handle;
    if (image->GetHandle(handle) && handle.kind == 1) {
      DeleteObject(static_cast<HGDIOBJ>(handle.handle));
    }
    PaintEveryPlacement();
    CopyAndReadBack();
  }
  image_->Assign("");
  Pump();
  return image != nullptr;
}

void ImageStage::PaintEveryPlacement() {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
  HGDIOBJ old = SelectObject(memory, bitmap);
  for (ImageLoadFlags placement : {kPlaceStretched, kPlaceCentred, kPlaceTiled}) {
    image_->SetPlacement(placement);
    RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    SendMessageA(control_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    Pump();
  }
  image_->SetPlacement(kPlaceStretched);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// The copy, then what a program pasting it would ask for: the bitmap as
// put, and a device bitmap the system makes from it.
void ImageStage::CopyAndReadBack() {
  image_->CopyToClipboard(window_);
  if (!OpenClipboard(window_)) return;
  if (HANDLE dib = GetClipboardData(CF_DIB)) {
    if (const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib))) {
      volatile std::uint8_t first = bytes[0];
      (void)first;
      GlobalUnlock(dib);
    }
  }
  GetClipboardData(CF_BITMAP);
  EmptyClipboard();
  CloseClipboard();
}

}  // namespace lumbra
