// The list control of the file-listing window, opened from its real
// description over a queue of image-list records, driven with native key
// and mouse messages and read back through its list-box queries and its
// pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/native_probe_win32.h"
#include "tests/winrt/image_list_queue.h"
#include "winrt/event_codes.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace lumbra {
namespace {

constexpr std::int32_t kList = 8;
// Controls the window lacks: the start and the end of a script.
constexpr std::int32_t kStart = 98;
constexpr std::int32_t kDone = 99;

// The list's client area as painted, in a 32-bit bitmap.
class Pixels {
 public:
  explicit Pixels(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    width_ = r.right;
    height_ = r.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    GdiFlush();
    bits_ = static_cast<const std::uint32_t*>(bits);
  }
  ~Pixels() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF At(int x, int y) const {
    const std::uint32_t p = bits_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // The x of every pixel of a colour on a line.
  std::vector<int> Find(int y, COLORREF colour) const {
    std::vector<int> xs;
    for (int x = 0; x < width_; ++x) {
      if (At(x, y) == colour) xs.push_back(x);
    }
    return xs;
  }
  // The leftmost and rightmost x of dark (text) pixels in a box, or {-1, -1}.
  std::pair<int, int> Ink(int left, int top, int right, int bottom) const {
    std::pair<int, int> ink{-1, -1};
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        const COLORREF c = At(x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) > 200) continue;
        if (ink.first < 0 || x < ink.first) ink.first = x;
        ink.second = std::max(ink.second, x);
      }
    }
    return ink;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  const std::uint32_t* bits_ = nullptr;
};

class ListControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRuntimeErrorHandler([](std::int32_t, const std::string& m) { throw std::runtime_error(m); });
    SetRuntimeStarted(true);
  }
  void TearDown() override {
    CloseWindowObject(window_);
    SetRuntimeStarted(false);
    SetRuntimeErrorHandler(nullptr);
  }
  void Open(std::uint32_t records) {
    list_.Fill(records);
    count_ = static_cast<std::int32_t>(records);
    ASSERT_TRUE(CreateWindowFromDescription(window_, "lumbra$LUMBRA", "P32$FILELISTINGWINDOW",
                                            {{&list_.queue, 0x1A, 0}, {&count_, 0x06, 4}}));
    OpenWindowObject(window_);
  }
  HWND List() const { return reinterpret_cast<HWND>(NativeHandle(window_, kList)); }
  LRESULT Ask(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
    return SendMessageA(List(), msg, wp, lp);
  }
  // The cells of a row (0-based; -1: the headers) joined by tabs, or "none".
  std::string Row(int index) const {
    const LRESULT length = Ask(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR) return "none";
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    Ask(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
  }
  RECT RowRect(int index) const {
    RECT r = {};
    Ask(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  int PageRows() const {
    RECT client, first = RowRect(static_cast<int>(Ask(LB_GETTOPINDEX)));
    GetClientRect(List(), &client);
    return (client.bottom - first.top) / (first.bottom - first.top);
  }
  void Key(WPARAM key) const { PostMessageA(List(), WM_KEYDOWN, key, 1); }
  void Click(int x, int y, UINT down = WM_LBUTTONDOWN) const {
    PostMessageA(List(), down, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(List(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  // Runs the window's loop: the script once the events so far are taken,
  // then every event of the list is recorded until the script's native
  // messages are all handled.
  std::vector<std::int32_t> Run(const std::function<void()>& script) {
    std::vector<std::int32_t> events;
    bool started = false;
    PostEvent(Event::Accepted, kStart);
    Accept([&] {
      if (EVENT() == Event::Accepted && FIELD() == kStart) {
        started = true;
        script();
        PostEvent(Event::Accepted, kDone);
      } else if (EVENT() == Event::Accepted && FIELD() == kDone) {
        return kPassLeave;
      } else if (started && FIELD() == kList && EVENT() != Event::Selected) {
        events.push_back(EVENT());
      }
      return kPassNormal;
    });
    return events;
  }
  static int Count(const std::vector<std::int32_t>& events, std::int32_t event) {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
  }

  testing::ImageListQueue list_;
  std::int32_t count_ = 0;
  Window window_;
};

TEST_F(ListControlTest, ShowsTheHeadersAndTheRowsThroughTheirPictures) {
  Open(1000);
  EXPECT_EQ(probe::ClassOf(List()), "WexList");
  EXPECT_EQ(probe::TextOf(List()), "Path\tName\tSize\tDate");
  EXPECT_EQ(Row(-1), "Path\tName\tSize\tDate");
  EXPECT_EQ(Ask(LB_GETCOUNT), 1000);
  EXPECT_EQ(Row(0), "C:\\PICTURES\\\tIMAGE1.GIF\t1,237\t" + testing::ImageDateText(1));
  EXPECT_EQ(Row(999), "C:\\PICTURES\\\tIMAGE1000.GIF\t1,237,000\t" + testing::ImageDateText(1000));
  EXPECT_EQ(Row(1000), "none");
  EXPECT_EQ(CurrentChoice(kList), 1);
  EXPECT_TRUE(GetWindowLongPtrA(List(), GWL_STYLE) & WS_VSCROLL);

  const Pixels shot(List());
  // The first row carries the selection bar, below the header row.
  const COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
  int rowTop = 0;
  while (rowTop < shot.height() && shot.At(1, rowTop) != bar) ++rowTop;
  int rowBottom = rowTop;
  while (rowBottom < shot.height() && shot.At(1, rowBottom) == bar) ++rowBottom;
  ASSERT_GT(rowTop, 0) << "no header row";
  ASSERT_LT(rowTop, shot.height());
  const RECT first = RowRect(0);
  EXPECT_EQ(first.top, rowTop);
  EXPECT_EQ(first.bottom, rowBottom);
  EXPECT_FALSE(shot.Find(rowTop + 2, GetSysColor(COLOR_HIGHLIGHTTEXT)).empty());
  // The column lines on the right of Path, Name and Size run down the list.
  const int second = rowBottom + 2;
  const std::vector<int> lines = shot.Find(second, RGB(128, 128, 128));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(shot.Find(shot.height() - 1, RGB(128, 128, 128)), lines);
  // Sizes are right-aligned in their column, the header "Size" left-aligned.
  const auto size = shot.Ink(lines[1] + 1, rowBottom, lines[2], 2 * rowBottom - rowTop);
  EXPECT_GE(size.second, lines[2] - 6);
  EXPECT_GT(size.first, lines[1] + 15);
  const auto header = shot.Ink(lines[1] + 1, 0, lines[2], rowTop);
  EXPECT_LE(header.first, lines[1] + 8);
  EXPECT_LT(header.second, lines[2] - 15);
}

TEST_F(ListControlTest, KeysAndClicksMoveTheSelectionWithOneEventPerChange) {
  Open(1000);
  const int page = PageRows();
  ASSERT_GT(page, 3);
  const RECT third = RowRect(2);
  const std::vector<std::int32_t> keys = Run([&] {
    SetFocus(List());
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_HOME, VK_HOME, VK_UP}) Key(key);
    Click(20, third.top + 2);  // row 3
    Click(20, third.top + 2);  // again: no change
    Key(VK_END);
    Key(VK_DOWN);
    Key(VK_PRIOR);
  });
  // Changes: 2, 3, 4, 3, 1, (1), (1), 3, (3), 1000, (1000), 1000 - page.
  EXPECT_EQ(Count(keys, Event::NewSelection), 8);
  EXPECT_EQ(CurrentChoice(kList), 1000 - page);
  EXPECT_EQ(Ask(LB_GETCURSEL), 1000 - page - 1);
  EXPECT_EQ(Count(keys, Event::ScrollDown), 4);
  EXPECT_EQ(Count(keys, Event::ScrollUp), 2);
  EXPECT_EQ(Count(keys, Event::ScrollTop), 2);
  EXPECT_EQ(Count(keys, Event::ScrollBottom), 1);
  EXPECT_EQ(Count(keys, Event::PageUp), 1);
  // The last row stays in view after End; Page Up moves the view a page.
  EXPECT_EQ(Ask(LB_GETTOPINDEX), 1000 - 2 * page);

  const std::vector<std::int32_t> clicks = Run([&] {
    const RECT r = RowRect(static_cast<int>(Ask(LB_GETTOPINDEX)) + 1);
    Click(20, r.top + 1, WM_LBUTTONDBLCLK);  // selects and confirms
  });
  EXPECT_EQ(clicks, (std::vector<std::int32_t>{Event::NewSelection, Event::Accepted}));
  EXPECT_EQ(CurrentChoice(kList), 1000 - 2 * page + 2);
}

TEST_F(ListControlTest, SelectingARowScrollsItIntoViewAndTheScrollBarMovesTheView) {
  Open(1000);
  const std::vector<std::int32_t> events = Run([&] {
    SelectControl(kList, 500);
    EXPECT_EQ(CurrentChoice(kList), 500);
    const int top = static_cast<int>(Ask(LB_GETTOPINDEX));
    EXPECT_LE(top, 499);
    EXPECT_GT(top + PageRows(), 499);
    EXPECT_NE(Row(499).find("IMAGE500.GIF"), std::string::npos);
    SendMessageA(List(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(Ask(LB_GETTOPINDEX), top + PageRows());
    SendMessageA(List(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(Ask(LB_GETTOPINDEX), 1000 - PageRows());
    SelectControl(kList, 5000);  // kept within the queue
  });
  EXPECT_EQ(events, (std::vector<std::int32_t>{Event::NewSelection, Event::PageDown,
                                               Event::ScrollBottom, Event::NewSelection}));
  EXPECT_EQ(CurrentChoice(kList), 1000);
}

TEST_F(ListControlTest, RedisplayAfterTheLastRecordsWentMovesTheSelection) {
  Open(1000);
  SelectControl(kList, 1000);
  const std::vector<std::int32_t> shortened = Run([&] {
    list_.Fill(990);
    RedisplayControls(kList);
  });
  EXPECT_EQ(shortened, (std::vector<std::int32_t>{Event::NewSelection}));
  EXPECT_EQ(CurrentChoice(kList), 990);
  EXPECT_EQ(Ask(LB_GETCOUNT), 990);
  EXPECT_EQ(Ask(LB_GETTOPINDEX), 990 - PageRows());

  const std::vector<std::int32_t> emptied = Run([&] {
    list_.Fill(0);
    RedisplayControls(kList);
    SetFocus(List());
    Key(VK_DOWN);
    Key(VK_END);
    Click(20, RowRect(0).top + 2);
  });
  EXPECT_EQ(Count(emptied, Event::NewSelection), 0);
  EXPECT_EQ(CurrentChoice(kList), 0);
  EXPECT_EQ(Ask(LB_GETCURSEL), -1);
  EXPECT_EQ(Row(0), "none");

  const std::vector<std::int32_t> refilled = Run([&] {
    list_.Fill(3);
    RedisplayControls(kList);
  });
  EXPECT_EQ(refilled, (std::vector<std::int32_t>{Event::NewSelection}));
  EXPECT_EQ(CurrentChoice(kList), 1);
}

TEST_F(ListControlTest, AnEmptyQueueHasNoChoice) {
  Open(0);
  EXPECT_EQ(CurrentChoice(kList), 0);
  EXPECT_EQ(Ask(LB_GETCOUNT), 0);
  const Pixels shot(List());  // paints the header over nothing
  EXPECT_GT(shot.Ink(0, 0, shot.width(), RowRect(0).top).second, 0);
}

TEST_F(ListControlTest, DraggingAResizableBoundaryResizesTheColumn) {
  Open(20);
  const RECT first = RowRect(0);
  const std::vector<int> before = Pixels(List()).Find(first.bottom + 2, RGB(128, 128, 128));
  ASSERT_EQ(before.size(), 3u);
  const int edge = before[0] + 1;  // the Path column's right boundary
  const int y = first.bottom + 3;
  const std::vector<std::int32_t> events = Run([&] {
    PostMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edge, y));
    PostMessageA(List(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(edge + 30, y));
    PostMessageA(List(), WM_LBUTTONUP, 0, MAKELPARAM(edge + 30, y));
  });
  EXPECT_EQ(events, (std::vector<std::int32_t>{Event::ColumnResize}));  // and no selection
  const std::vector<int> after = Pixels(List()).Find(first.bottom + 2, RGB(128, 128, 128));
  ASSERT_EQ(after.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(after[i], before[i] + 30);
}

}  // namespace
}  // namespace lumbra
