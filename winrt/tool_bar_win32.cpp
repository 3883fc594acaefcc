// The tool bar: a "WexToolBar" child along the top of the client area,
// as wide as the window, with its own background picture; its buttons
// show only their pictures, drawn by the bar over its background.
#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "images/image_format_registry.h"
#include "winrt/menus_win32.h"
#include "winrt/runtime_class_win32.h"

namespace lumbra {

// A button's picture, shown (and, when animated, repainted) by its button.
class ButtonPicture final : public ImageViewer {
 public:
  ButtonPicture(std::int32_t number, HWND button, ImagePtr picture)
      : number_(number), button_(button), picture_(std::move(picture)) {
    picture_->AttachViewer(this, nullptr);
  }
  ~ButtonPicture() { picture_->DetachViewer(this); }
  ButtonPicture(const ButtonPicture&) = delete;
  ButtonPicture& operator=(const ButtonPicture&) = delete;

  std::int32_t number() const { return number_; }
  ImageObject* picture() const { return picture_.get(); }
  void RepaintImage(const ImageRect*) override { InvalidateRect(button_, nullptr, FALSE); }

 private:
  std::int32_t number_;
  HWND button_;
  ImagePtr picture_;
};

struct ToolBarParts {
  HWND bar = nullptr;
  int height = 0;                         // pixels
  std::unique_ptr<Wallpaper> background;  // tiled or at its size; none: the button face
  std::vector<std::unique_ptr<ButtonPicture>> pictures;
};

}  // namespace lumbra

namespace lumbra::internal {

namespace {

constexpr const char* kToolBarClass = "WexToolBar";
// The draw-state word of a picture drawn greyed.
constexpr std::uint32_t kDrawGreyed = 0x08;
// The bar's height when its record leaves it to the runtime, in dialog units.
constexpr std::int32_t kDefaultBarHeight = 26;

ControlObject* BarObject(HWND bar) {
  return reinterpret_cast<ControlObject*>(GetWindowLongPtrA(bar, GWLP_USERDATA));
}

ToolBarParts* PartsOf(ControlObject* c) {
  return c && c->window && c->window->native ? c->window->native->toolBar.get() : nullptr;
}

// The bar's background behind one of its children (or itself), painted
// into the child's device context.
void PaintBarBackground(ToolBarParts& parts, HWND child, HDC dc) {
  RECT area;
  GetClientRect(parts.bar, &area);
  POINT origin = {0, 0};
  if (child != parts.bar) MapWindowPoints(child, parts.bar, &origin, 1);
  POINT old;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  if (parts.background) parts.background->Paint(dc, area);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

ImageObject* PictureOf(ToolBarParts& parts, std::int32_t number) {
  for (const auto& shown : parts.pictures) {
    if (shown->number() == number) return shown->picture();
  }
  return nullptr;
}

// A picture button: the bar's background, the picture centred (greyed
// when the button is disabled, pushed in while pressed) and a raised or
// sunken edge.
void DrawButton(ToolBarParts& parts, const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  PaintBarBackground(parts, item.hwndItem, dc);
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool greyed = item.itemState & ODS_DISABLED;
  if (ImageObject* picture = PictureOf(parts, static_cast<std::int32_t>(item.CtlID))) {
    const int shift = pressed ? 1 : 0;
    const int x = (r.right - r.left - picture->width()) / 2 + shift;
    const int y = (r.bottom - r.top - picture->height()) / 2 + shift;
    picture->DrawInRectangle(greyed ? kDrawGreyed : 0, dc,
                             {x, y, x + picture->width(), y + picture->height()});
  }
  DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&r, -3, -3);
    DrawFocusRect(dc, &r);
  }
}

LRESULT CALLBACK ToolBarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ControlObject* c = BarObject(hwnd);
  ToolBarParts* parts = PartsOf(c);
  if (!parts) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND: PaintBarBackground(*parts, hwnd, reinterpret_cast<HDC>(wp)); return 1;
    case WM_DRAWITEM: DrawButton(*parts, *reinterpret_cast<const DRAWITEMSTRUCT*>(lp)); return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wp);
      PaintBarBackground(*parts, reinterpret_cast<HWND>(lp), dc);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    // What the bar's buttons tell it is the window's to hear.
    case WM_COMMAND:
    case WM_NOTIFY: return SendMessageA(GetParent(hwnd), msg, wp, lp);
    default:
      if (HandleInput(c->window, c->plan.number, msg, wp, lp)) return 0;
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

void CreateToolBar(Window* w, ControlObject* c) {
  RegisterRuntimeClass(kToolBarClass, ToolBarProc);
  HWND window = w->native->hwnd;
  const std::int32_t height =
      c->plan.rect.height == kDefaultPosition ? kDefaultBarHeight : c->plan.rect.height;
  auto parts = std::make_shared<ToolBarParts>();
  parts->height = w->units.YToPixels(height);
  RECT client;
  GetClientRect(window, &client);
  parts->bar = CreateWindowExA(0, kToolBarClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                               client.right, parts->height, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->plan.number)),
                               GetModuleHandleA(nullptr), nullptr);
  if (!parts->bar) return;
  if (!c->plan.text.empty()) {
    parts->background = std::make_unique<Wallpaper>(parts->bar);
    parts->background->SetTiled(c->plan.placement == kPlaceTiled);
    parts->background->Assign(c->plan.text);
  }
  c->hwnd = parts->bar;
  w->native->toolBar = std::move(parts);
  SetWindowLongPtrA(c->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
  if (!c->plan.tip.empty()) RegisterTip(c);
}

HWND ToolBarHolding(Window* w, const ControlPlan& plan) {
  ControlObject* holder = plan.parent ? FindControl(w, plan.parent) : nullptr;
  return holder && holder->plan.type == ControlType::ToolBar ? holder->hwnd : nullptr;
}

bool IsToolBarButton(Window* w, const ControlPlan& plan) {
  return plan.type == ControlType::Button && ToolBarHolding(w, plan) != nullptr;
}

void AddToolBarPicture(Window* w, ControlObject* c) {
  ToolBarParts* parts = w->native->toolBar.get();
  if (!parts || c->plan.icon.empty()) return;
  // The pictures are the program's own: its resources come before files.
  if (ImagePtr picture = LoadImageByName(nullptr, c->plan.icon, true, DiscardSource)) {
    parts->pictures.push_back(
        std::make_unique<ButtonPicture>(c->plan.number, c->hwnd, std::move(picture)));
  }
}

void AddToolBarColours(Window* w, PaletteTarget& palette) {
  ToolBarParts* parts = w->native ? w->native->toolBar.get() : nullptr;
  if (!parts) return;
  if (parts->background) parts->background->AddColours(&palette);
  for (const auto& shown : parts->pictures) shown->picture()->AddColours(&palette);
}

// The bar follows the window's width. Its background is anchored at its top
// left and its buttons keep their places, so only the strip a wider bar
// uncovers needs painting, which the system asks for itself: repainting the
// whole bar and every button here, on each of the several size changes of
// one step through the images, made stepping several times slower.
void LayoutToolBar(Window* w) {
  ToolBarParts* parts = w->native ? w->native->toolBar.get() : nullptr;
  if (!parts || !parts->bar) return;
  RECT client;
  GetClientRect(w->native->hwnd, &client);
  SetWindowPos(parts->bar, nullptr, 0, 0, client.right, parts->height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT ContentOrigin(Window* w, const ControlObject* c) {
  if (c->plan.type == ControlType::ToolBar || ToolBarHolding(w, c->plan)) return {0, 0};
  const int top = w->native->toolBar ? w->native->toolBar->height : 0;
  return {-w->native->scrollOffset[0], top - w->native->scrollOffset[1]};
}

}  // namespace lumbra::internal
