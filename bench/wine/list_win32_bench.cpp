// The list control of the file-listing window over 1,000 and 1,000,000
// image-list records: painting one page, then scrolling one page down
// (and back to the top when the end is reached), timed the same way for
// both queues in alternating rounds. Prints the time per step of each and
// the ratio of the long queue's to the short one's; the list reads and
// paints only the visible rows, so the ratio stays near 1.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "tests/winrt/image_list_queue.h"
#include "winrt/runtime_errors.h"
#include "winrt/window.h"

namespace {

using namespace lumbra;

constexpr int kRounds = 7;
constexpr int kStepsPerRound = 200;
constexpr std::int32_t kList = 8;

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Bench {
  testing::ImageListQueue list;
  std::int32_t count = 0;
  Window window;

  explicit Bench(std::uint32_t records) {
    list.Fill(records);
    count = static_cast<std::int32_t>(records);
    if (!CreateWindowFromDescription(window, "lumbra$LUMBRA", "P32$FILELISTINGWINDOW",
                                     {{&list.queue, 0x1A, 0}, {&count, 0x06, 4}})) {
      throw std::runtime_error("no file-listing window");
    }
    OpenWindowObject(window);
  }
  ~Bench() { CloseWindowObject(window); }
  HWND List() const { return reinterpret_cast<HWND>(NativeHandle(window, kList)); }

  // Seconds per step: paint the page in view, scroll a page down.
  double Round() {
    HWND list = List();
    const double start = Seconds();
    for (int i = 0; i < kStepsPerRound; ++i) {
      RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
      SendMessageA(list, WM_VSCROLL, SB_PAGEDOWN, 0);
      if (SendMessageA(list, LB_GETTOPINDEX, 0, 0) == top) {
        SendMessageA(list, WM_VSCROLL, SB_TOP, 0);
      }
      UpdateWindow(list);
    }
    const double elapsed = (Seconds() - start) / kStepsPerRound;
    window.pending.clear();  // the scrolling events no loop takes
    return elapsed;
  }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  SetRuntimeErrorHandler([](std::int32_t, const std::string& m) { throw std::runtime_error(m); });
  SetRuntimeStarted(true);
  Bench shortList(1000);
  Bench longList(1000000);
  std::vector<double> shortTimes, longTimes;
  for (int round = 0; round < kRounds; ++round) {
    shortTimes.push_back(shortList.Round());
    longTimes.push_back(longList.Round());
  }
  const double shortTime = Median(shortTimes), longTime = Median(longTimes);
  std::printf("list paint + page scroll, 1,000 records:     %8.1f us per step\n", shortTime * 1e6);
  std::printf("list paint + page scroll, 1,000,000 records: %8.1f us per step\n", longTime * 1e6);
  std::printf("ratio 1,000,000 / 1,000: %.2f (aim: at most 1.2)\n", longTime / shortTime);
  lumbra::bench::TableRow("list paint + page scroll, 1,000,000 records (aim: ratio <= 1.2)",
                          longTime, "1,000 records", shortTime);
  SetRuntimeStarted(false);
  return 0;
}
