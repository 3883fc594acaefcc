// The list control ("WexList"): the records of a queue as rows, some of
// their fields as columns laid out by the list's format, a header row, a
// selection bar the user moves with the keyboard and the mouse, and a
// vertical scroll bar. Only the visible rows are read and painted.
//
// Besides painting, the control answers the list-box queries LB_GETCOUNT,
// LB_GETCURSEL, LB_GETTOPINDEX, LB_GETITEMRECT, LB_GETTEXTLEN and
// LB_GETTEXT (a row's cells joined by tabs; row -1: the headers), and its
// window text is its header texts joined by tabs, so that tests and
// accessibility tools read what the user sees.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "winrt/list_cells.h"
#include "winrt/list_format.h"
#include "winrt/list_layout.h"

namespace lumbra {

struct ControlObject;
class Queue;

inline constexpr const char* kListClass = "WexList";
void RegisterListClass();

class ListControl {
 public:
  // For a control whose window has just been made; its queue is the
  // control's bound variable when that is a queue.
  explicit ListControl(ControlObject* control);
  ListControl(const ListControl&) = delete;
  ListControl& operator=(const ListControl&) = delete;

  // Messages of the control's window; true when handled, with the result.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // Redisplay: reads the queue's length again; a selection beyond the
  // last record moves to the last row and the loop hears of it.
  void Refresh();
  // Selects a row (1-based, kept within the queue) and scrolls it into view.
  void Select(std::int32_t row);
  // The selected row, 0 when the queue is empty.
  std::int32_t Choice();

 private:
  std::int32_t LineHeight() const;
  std::int32_t PageRows() const;
  std::int32_t RowAt(std::int32_t y) const;
  std::int32_t LineAt(std::int32_t y) const;
  RECT RowRect(std::int32_t row) const;
  void Notify(std::uint32_t event);
  void MoveSelection(std::int32_t row);
  void ScrollTo(std::int32_t top);
  void ScrollIntoView(std::int32_t row);
  void UpdateScrollBar();
  void OnKey(WPARAM key);
  void OnScrollBar(WORD request);
  void OnWheel(short delta);
  void OnButtonDown(std::int32_t x, std::int32_t y, bool twice);
  void OnMouseMove(std::int32_t x);
  void EndDrag();
  void ScrollText(std::int32_t by);
  // A row's cell texts joined by tabs (row 0: the headers); false when
  // there is no such row.
  bool RowText(std::int32_t row, std::string& text);
  void Paint(HDC dc, const RECT& area);
  void PaintHeader(HDC dc, std::int32_t width);
  bool PaintRow(HDC dc, std::int32_t row, std::int32_t y, std::int32_t width);
  void PaintText(HDC dc, const std::string& text, std::size_t column, ListAlign align,
                 std::int32_t indent, RECT cell);
  void PaintLines(HDC dc, std::int32_t height);

  ControlObject* control_;
  HWND hwnd_;
  Queue* queue_ = nullptr;
  HFONT font_ = nullptr;
  ListFormat format_;
  ListLayout layout_;
  ListRows rows_;
  std::vector<ListCell> cells_;         // the row being painted
  std::vector<std::int32_t> decimals_;  // the decimal places of each column's picture
  COLORREF text_, back_, selectedText_, selectedBack_, grid_;
  std::int32_t count_ = 0;       // the queue's length when last read
  std::int32_t top_ = 1;         // the first visible row
  std::int32_t selected_ = 0;    // 0: none
  std::int32_t textOffset_ = 0;  // how far the scrolling columns' texts are scrolled
  std::int32_t dragColumn_ = -1;
  std::int32_t dragStartWidth_ = 0;
};

}  // namespace lumbra
