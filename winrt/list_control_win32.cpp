#include "winrt/list_control_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "core/queue.h"
#include "winrt/event_codes.h"
#include "winrt/window_internal_win32.h"

namespace lumbra {

using namespace internal;

namespace {

constexpr std::int32_t kBoundarySlack = 3;  // pixels either side of a resizable boundary
constexpr std::int32_t kWheelRows = 3;

COLORREF ColourOr(std::int32_t colour, COLORREF otherwise) {
  return colour >= 0 ? static_cast<COLORREF>(colour) : otherwise;
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
  const RECT r = {x0, y0, std::max(x0 + 1, x1), std::max(y0 + 1, y1)};
  FillSolid(dc, r, colour);
}

std::int32_t TextWidth(HDC dc, std::string_view text) {
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// A memory DC to paint into, copied to its target in one go.
class Backbuffer {
 public:
  Backbuffer(HDC target, int width, int height)
      : dc_(gdi_tally::Made(CreateCompatibleDC(target))),
        bitmap_(CreateCompatibleBitmap(target, width, height)) {
    if (dc_ && bitmap_.handle) old_ = SelectObject(dc_, bitmap_.handle);
  }
  ~Backbuffer() {
    if (old_) SelectObject(dc_, old_);
    gdi_tally::DeleteDc(dc_);
  }
  Backbuffer(const Backbuffer&) = delete;
  Backbuffer& operator=(const Backbuffer&) = delete;
  HDC dc() const { return old_ ? dc_ : nullptr; }

 private:
  HDC dc_;
  GdiObject bitmap_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

void RegisterListClass() {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kListClass;
  RegisterClassExA(&wc);
}

ListControl::ListControl(ControlObject* control)
    : control_(control),
      hwnd_(control->hwnd),
      format_(ParseListFormat(control->plan.text)),
      rows_(format_) {
  const ControlPlan& plan = control->plan;
  if (control->bound && control->use.type == kUseQueue) {
    queue_ = static_cast<Queue*>(control->use.address);
  }
  font_ = static_cast<HFONT>(control->font.handle ? control->font.handle
                                                  : control->window->native->font.handle);
  text_ = ColourOr(plan.textColour, GetSysColor(COLOR_WINDOWTEXT));
  back_ = ColourOr(plan.background, GetSysColor(COLOR_WINDOW));
  selectedText_ = ColourOr(plan.selectedText, GetSysColor(COLOR_HIGHLIGHTTEXT));
  selectedBack_ = ColourOr(plan.selectedBackground, GetSysColor(COLOR_HIGHLIGHT));
  grid_ = ColourOr(plan.gridColour, 0x808080);
  for (const ListColumn& column : format_.columns) {
    decimals_.push_back(CompilePicture(column.picture).layout.decimals);
  }
  layout_ = LayOutList(format_, control->window->units, LineHeight());
  std::string headers;
  RowText(0, headers);
  SetWindowTextA(hwnd_, headers.c_str());
  count_ = queue_ ? static_cast<std::int32_t>(ListRows::Count(*queue_)) : 0;
  selected_ = count_ > 0 ? 1 : 0;
  UpdateScrollBar();
  // A list drawn over a sheet lies above the sheet's pages, which lie
  // above the controls made before them.
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// --- Geometry ---

std::int32_t ListControl::LineHeight() const {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FONT));
  TEXTMETRICA tm = {};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return std::max<std::int32_t>(1, tm.tmHeight);
}

std::int32_t ListControl::PageRows() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return std::max<std::int32_t>(1, (client.bottom - layout_.headerHeight) / layout_.rowHeight);
}

std::int32_t ListControl::RowAt(std::int32_t y) const {
  if (y < layout_.headerHeight) return 0;
  return top_ + (y - layout_.headerHeight) / layout_.rowHeight;
}

// The line of the row (or of the header) at a height.
std::int32_t ListControl::LineAt(std::int32_t y) const {
  if (y >= layout_.headerHeight) {
    return ((y - layout_.headerHeight) % layout_.rowHeight) / layout_.lineHeight;
  }
  for (std::size_t i = 0; i < layout_.columns.size(); ++i) {
    const ColumnBox& box = layout_.columns[i];
    if (y >= box.headerTop && y < box.headerBottom) return box.line;
  }
  return 0;
}

RECT ListControl::RowRect(std::int32_t row) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  const std::int32_t y = layout_.headerHeight + (row - top_) * layout_.rowHeight;
  return {0, y, client.right, y + layout_.rowHeight};
}

// --- Selection and scrolling ---

void ListControl::Notify(std::uint32_t event) {
  QueueEvent(control_->window, event, control_->plan.number);
}

void ListControl::MoveSelection(std::int32_t row) {
  if (count_ <= 0) return;
  row = std::clamp(row, 1, count_);
  ScrollIntoView(row);
  if (row == selected_) return;
  RECT old = RowRect(selected_);
  InvalidateRect(hwnd_, &old, FALSE);
  selected_ = row;
  RECT now = RowRect(selected_);
  InvalidateRect(hwnd_, &now, FALSE);
  Notify(kEventNewSelection);
}

void ListControl::ScrollTo(std::int32_t top) {
  const std::int32_t page = PageRows();
  top = std::clamp(top, 1, std::max(1, count_ - page + 1));
  if (top == top_) return;
  const std::int32_t delta = top - top_;
  top_ = top;
  RECT rows;
  GetClientRect(hwnd_, &rows);
  rows.top = layout_.headerHeight;
  if (std::abs(delta) < page) {
    ScrollWindowEx(hwnd_, 0, -delta * layout_.rowHeight, &rows, &rows, nullptr, nullptr,
                   SW_INVALIDATE);
  } else {
    InvalidateRect(hwnd_, &rows, FALSE);
  }
  UpdateScrollBar();
}

void ListControl::ScrollIntoView(std::int32_t row) {
  const std::int32_t page = PageRows();
  if (row < top_) {
    ScrollTo(row);
  } else if (row >= top_ + page) {
    ScrollTo(row - page + 1);
  }
}

void ListControl::UpdateScrollBar() {
  // Setting a scroll bar's range gives a window one; a list without its
  // scroll-bar flag stays without.
  if (!(GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VSCROLL)) return;
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMax = std::max(0, count_ - 1);
  si.nPage = static_cast<UINT>(PageRows());
  si.nPos = top_ - 1;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void ListControl::Refresh() {
  count_ = queue_ ? static_cast<std::int32_t>(ListRows::Count(*queue_)) : 0;
  if (selected_ > count_) {
    selected_ = count_;
    if (count_ > 0) Notify(kEventNewSelection);
  } else if (selected_ == 0 && count_ > 0) {
    selected_ = 1;
    Notify(kEventNewSelection);
  }
  top_ = std::clamp(top_, 1, std::max(1, count_ - PageRows() + 1));
  UpdateScrollBar();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ListControl::Select(std::int32_t row) {
  count_ = queue_ ? static_cast<std::int32_t>(ListRows::Count(*queue_)) : 0;
  UpdateScrollBar();
  MoveSelection(row);
}

std::int32_t ListControl::Choice() {
  const std::int32_t records = queue_ ? static_cast<std::int32_t>(ListRows::Count(*queue_)) : 0;
  return std::min(selected_, records);
}

// --- Input ---

void ListControl::OnKey(WPARAM key) {
  const std::int32_t page = PageRows();
  switch (key) {
    case VK_UP:
      Notify(kEventScrollUp);
      MoveSelection(selected_ - 1);
      break;
    case VK_DOWN:
      Notify(kEventScrollDown);
      MoveSelection(selected_ + 1);
      break;
    case VK_PRIOR:
      Notify(kEventPageUp);
      ScrollTo(top_ - page);
      MoveSelection(selected_ - page);
      break;
    case VK_NEXT:
      Notify(kEventPageDown);
      ScrollTo(top_ + page);
      MoveSelection(selected_ + page);
      break;
    case VK_HOME:
      Notify(kEventScrollTop);
      MoveSelection(1);
      break;
    case VK_END:
      Notify(kEventScrollBottom);
      MoveSelection(count_);
      break;
    case VK_LEFT: ScrollText(-control_->window->units.baseX); break;
    case VK_RIGHT: ScrollText(control_->window->units.baseX); break;
    default: break;
  }
}

// The scroll bar moves the rows in view, not the selection.
void ListControl::OnScrollBar(WORD request) {
  const std::int32_t page = PageRows();
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_TRACKPOS;
  switch (request) {
    case SB_LINEUP:
      Notify(kEventScrollUp);
      ScrollTo(top_ - 1);
      break;
    case SB_LINEDOWN:
      Notify(kEventScrollDown);
      ScrollTo(top_ + 1);
      break;
    case SB_PAGEUP:
      Notify(kEventPageUp);
      ScrollTo(top_ - page);
      break;
    case SB_PAGEDOWN:
      Notify(kEventPageDown);
      ScrollTo(top_ + page);
      break;
    case SB_TOP:
      Notify(kEventScrollTop);
      ScrollTo(1);
      break;
    case SB_BOTTOM:
      Notify(kEventScrollBottom);
      ScrollTo(count_);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      Notify(request == SB_THUMBTRACK ? kEventScrollTrack : kEventScrollDrag);
      // The 32-bit position: the message's own is cut to 16 bits.
      if (GetScrollInfo(hwnd_, SB_VERT, &si)) ScrollTo(si.nTrackPos + 1);
      break;
    default: break;
  }
}

void ListControl::OnWheel(short delta) {
  const std::int32_t notches = delta / WHEEL_DELTA;
  if (notches == 0) return;
  Notify(notches > 0 ? kEventScrollUp : kEventScrollDown);
  ScrollTo(top_ - notches * kWheelRows);
}

// A press on a resizable boundary starts dragging it; elsewhere it
// selects the row under it, and a double click confirms the row.
void ListControl::OnButtonDown(std::int32_t x, std::int32_t y, bool twice) {
  SetFocus(hwnd_);
  const std::int32_t boundary = BoundaryAt(layout_, format_, x, LineAt(y), kBoundarySlack);
  if (boundary >= 0 && !twice) {
    dragColumn_ = boundary;
    dragStartWidth_ = layout_.columns[static_cast<std::size_t>(boundary)].width;
    SetCapture(hwnd_);
    return;
  }
  const std::int32_t row = RowAt(y);
  if (row < 1 || row > count_) return;
  MoveSelection(row);
  if (twice) {
    control_->window->accepted = control_->plan.number;
    Notify(kEventAccepted);
  }
}

void ListControl::OnMouseMove(std::int32_t x) {
  if (dragColumn_ < 0) return;
  const auto column = static_cast<std::size_t>(dragColumn_);
  const std::int32_t width = std::max(0, x - layout_.columns[column].left);
  if (width == layout_.columns[column].width) return;
  ResizeColumn(layout_, format_, column, width);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ListControl::EndDrag() {
  if (dragColumn_ < 0) return;
  const auto column = static_cast<std::size_t>(dragColumn_);
  dragColumn_ = -1;
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (layout_.columns[column].width != dragStartWidth_) Notify(kEventColumnResize);
}

// Scrolls the texts of the scrolling columns through their scroll widths.
void ListControl::ScrollText(std::int32_t by) {
  std::int32_t most = 0;
  for (std::size_t i = 0; i < format_.columns.size(); ++i) {
    if (!(format_.columns[i].flags & ListFlag::Scrolling)) continue;
    most = std::max(most, layout_.columns[i].scrollWidth - layout_.columns[i].width);
  }
  const std::int32_t offset = std::clamp(textOffset_ + by, 0, most);
  if (offset == textOffset_) return;
  textOffset_ = offset;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// --- What the control shows, as text ---

bool ListControl::RowText(std::int32_t row, std::string& text) {
  text.clear();
  if (row == 0) {
    for (std::size_t i = 0; i < format_.columns.size(); ++i) {
      if (i > 0) text += '\t';
      text += format_.columns[i].header.text;
    }
    return true;
  }
  if (!queue_ || row < 0 || !rows_.Row(*queue_, static_cast<std::uint32_t>(row), cells_)) {
    return false;
  }
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    if (i > 0) text += '\t';
    text += cells_[i].text;
  }
  return true;
}

// --- Painting ---

void ListControl::Paint(HDC target, const RECT& area) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  Backbuffer buffer(target, client.right, client.bottom);
  HDC dc = buffer.dc();
  if (!dc) return;
  FillSolid(dc, area, back_);
  HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FONT));
  SetBkMode(dc, TRANSPARENT);
  // Only the rows that meet the area are read and painted.
  const std::int32_t first =
      std::max<std::int32_t>(0, (area.top - layout_.headerHeight) / std::max(1, layout_.rowHeight));
  for (std::int32_t i = first;; ++i) {
    const std::int32_t y = layout_.headerHeight + i * layout_.rowHeight;
    if (y >= area.bottom || y >= client.bottom) break;
    if (!PaintRow(dc, top_ + i, y, client.right)) break;
  }
  PaintLines(dc, client.bottom);
  if (layout_.headerHeight > 0 && area.top < layout_.headerHeight) PaintHeader(dc, client.right);
  SelectObject(dc, oldFont);
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left,
         area.top, SRCCOPY);
}

void ListControl::PaintHeader(HDC dc, std::int32_t width) {
  FillSolid(dc, {0, 0, width, layout_.headerHeight}, GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  auto paint = [&](const ListHeader& header, RECT r, std::int32_t indent) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    InflateRect(&r, -1, -1);
    UINT how = DT_NOPREFIX | DT_TOP;
    switch (header.align) {
      case ListAlign::Left:
        how |= DT_LEFT;
        r.left += indent;
        break;
      case ListAlign::Centre:
        how |= DT_CENTER;
        r.left += indent;
        break;
      case ListAlign::Right:
      case ListAlign::Decimal:
        how |= DT_RIGHT;
        r.right -= indent;
        break;
    }
    DrawTextA(dc, header.text.c_str(), static_cast<int>(header.text.size()), &r, how);
  };
  for (std::size_t g = 0; g < format_.groups.size(); ++g) {
    const GroupBox& box = layout_.groups[g];
    if (format_.groups[g].header.lines > 0) {
      paint(format_.groups[g].header, {box.left, 0, box.right, box.headerBottom}, box.headerIndent);
    }
  }
  for (std::size_t i = 0; i < format_.columns.size(); ++i) {
    const ColumnBox& box = layout_.columns[i];
    const std::int32_t right =
        i + 1 == format_.columns.size() ? std::max(box.right, width) : box.right;
    paint(format_.columns[i].header, {box.left, box.headerTop, right, box.headerBottom},
          box.headerIndent);
  }
}

bool ListControl::PaintRow(HDC dc, std::int32_t row, std::int32_t y, std::int32_t width) {
  if (!queue_ || row < 1 || !rows_.Row(*queue_, static_cast<std::uint32_t>(row), cells_)) {
    return false;
  }
  const bool selected = row == selected_;
  const RECT bar = {0, y, width, y + layout_.rowHeight};
  if (selected) FillSolid(dc, bar, selectedBack_);
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    const ListColumn& column = format_.columns[i];
    const ColumnBox& box = layout_.columns[i];
    if (box.width <= 0) continue;
    const ListCell& cell = cells_[i];
    RECT r = {box.left, y + box.line * layout_.lineHeight, box.right,
              y + (box.line + 1) * layout_.lineHeight};
    // The last column's text shows as far as the list is wide.
    if (i + 1 == cells_.size()) r.right = std::max<LONG>(r.right, width);
    if (column.flags & ListFlag::RightBorder) r.right -= 1;
    if (column.flags & ListFlag::BottomBorder) {
      r.bottom = std::min<LONG>(r.bottom, y + layout_.rowHeight - 1);
      Line(dc, box.left, y + layout_.rowHeight - 1, box.right, y + layout_.rowHeight, grid_);
    }
    const std::int32_t back = cell.colours[selected ? kListSelectedBack : kListBack];
    if (back >= 0) FillSolid(dc, r, static_cast<COLORREF>(back));
    const std::int32_t text = cell.colours[selected ? kListSelectedText : kListText];
    SetTextColor(dc, ColourOr(text, selected ? selectedText_ : text_));
    std::int32_t indent = box.indent;
    if (column.flags & ListFlag::Tree) {
      const std::int32_t root = (column.treeOptions & TreeOption::FromOne) ? 1 : 0;
      indent += std::max(0, cell.level - root) * layout_.lineHeight;
    }
    PaintText(dc, cell.text, i, column.align, indent, r);
  }
  if (selected && GetFocus() == hwnd_) DrawFocusRect(dc, &bar);
  return true;
}

// A cell's text, clipped to the cell, aligned and indented.
void ListControl::PaintText(HDC dc, const std::string& text, std::size_t column, ListAlign align,
                            std::int32_t indent, RECT cell) {
  const std::int32_t width = TextWidth(dc, text);
  std::int32_t x = cell.left + indent;
  switch (align) {
    case ListAlign::Left: break;
    case ListAlign::Right: x = cell.right - indent - width; break;
    case ListAlign::Centre: x = cell.left + (cell.right - cell.left - width) / 2 + indent; break;
    case ListAlign::Decimal: {
      // The decimal points of a column line up where the picture's
      // decimal places end at the right.
      const std::size_t point = std::min(text.find('.'), text.size());
      const std::int32_t places = decimals_[column];
      const std::int32_t fraction = places > 0 ? TextWidth(dc, "." + std::string(places, '0')) : 0;
      x = cell.right - indent - fraction - TextWidth(dc, std::string_view(text).substr(0, point));
      break;
    }
  }
  const ColumnBox& box = layout_.columns[column];
  if (format_.columns[column].flags & ListFlag::Scrolling) {
    x -= std::min(textOffset_, std::max(0, box.scrollWidth - box.width));
  }
  ExtTextOutA(dc, x, cell.top, ETO_CLIPPED, &cell, text.data(), static_cast<UINT>(text.size()),
              nullptr);
}

// The lines on the right of columns and groups, down the whole list.
void ListControl::PaintLines(HDC dc, std::int32_t height) {
  const std::int32_t top = layout_.headerHeight;
  for (std::size_t i = 0; i < format_.columns.size(); ++i) {
    const ColumnBox& box = layout_.columns[i];
    if ((format_.columns[i].flags & ListFlag::RightBorder) && box.width > 0) {
      const std::int32_t lineTop = top + box.line * layout_.lineHeight;
      if (layout_.lines == 1) {
        Line(dc, box.right - 1, top, box.right, height, grid_);
      } else {
        // In a row of several lines, each line's boundary is drawn in each row.
        for (std::int32_t y = lineTop; y < height; y += layout_.rowHeight) {
          Line(dc, box.right - 1, y, box.right, y + layout_.lineHeight, grid_);
        }
      }
    }
  }
  for (std::size_t g = 0; g < format_.groups.size(); ++g) {
    const GroupBox& box = layout_.groups[g];
    if ((format_.groups[g].flags & ListFlag::RightBorder) && box.width > 0) {
      Line(dc, box.right - 1, top, box.right, height, grid_);
    }
  }
}

// --- Messages ---

bool ListControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc, ps.rcPaint);
      EndPaint(hwnd_, &ps);
      return true;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd_, &client);
      Paint(reinterpret_cast<HDC>(wp), client);
      return true;
    }
    case WM_ERASEBKGND: result = 1; return true;
    case WM_SIZE:
      top_ = std::clamp(top_, 1, std::max(1, count_ - PageRows() + 1));
      UpdateScrollBar();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return false;
    case WM_GETDLGCODE: result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
    case WM_KEYDOWN: OnKey(wp); return true;
    case WM_VSCROLL: OnScrollBar(LOWORD(wp)); return true;
    case WM_MOUSEWHEEL: OnWheel(GET_WHEEL_DELTA_WPARAM(wp)); return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), msg == WM_LBUTTONDBLCLK);
      return true;
    case WM_MOUSEMOVE: OnMouseMove(GET_X_LPARAM(lp)); return true;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: EndDrag(); return true;
    case WM_SETCURSOR: {
      POINT at;
      if (LOWORD(lp) != HTCLIENT || !GetCursorPos(&at)) return false;
      ScreenToClient(hwnd_, &at);
      if (dragColumn_ < 0 && BoundaryAt(layout_, format_, at.x, LineAt(at.y), kBoundarySlack) < 0) {
        return false;
      }
      SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE)));
      result = TRUE;
      return true;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const RECT r = RowRect(selected_);
      InvalidateRect(hwnd_, &r, FALSE);
      return false;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wp);
      layout_ = LayOutList(format_, control_->window->units, LineHeight());
      UpdateScrollBar();
      if (LOWORD(lp)) InvalidateRect(hwnd_, nullptr, FALSE);
      return true;
    case WM_GETFONT: result = reinterpret_cast<LRESULT>(font_); return true;
    case LB_GETCOUNT: result = queue_ ? ListRows::Count(*queue_) : 0; return true;
    case LB_GETCURSEL: result = Choice() - 1; return true;
    case LB_GETTOPINDEX: result = top_ - 1; return true;
    case LB_GETITEMRECT:
      if (!lp) return false;
      *reinterpret_cast<RECT*>(lp) = RowRect(static_cast<std::int32_t>(wp) + 1);
      result = 1;
      return true;
    case LB_GETTEXTLEN:
    case LB_GETTEXT: {
      std::string text;
      if (!RowText(static_cast<std::int32_t>(wp) + 1, text)) {
        result = LB_ERR;
      } else {
        if (msg == LB_GETTEXT && lp)
          std::memcpy(reinterpret_cast<char*>(lp), text.c_str(), text.size() + 1);
        result = static_cast<LRESULT>(text.size());
      }
      return true;
    }
    default: return false;
  }
}

}  // namespace lumbra
