#include "app/menu_marks.h"

#include "app/program_settings.h"
#include "app/viewer_popups.h"
#include "core/phase_trace.h"
#include "winrt/window.h"

namespace lumbra {

std::array<std::uint8_t, kMenuCheckCount> MenuChecks{};

namespace {
constexpr std::size_t kModeMarks = 0;
constexpr std::size_t kZoomMarks = 4;
constexpr std::size_t kSortMarks = 12;

// Checks the one item of a group whose value is `chosen`.
template <typename Values>
void MarkGroup(std::size_t first, const Values& values, std::int32_t chosen) {
  const PhaseScope phase("menu marks");
  for (std::size_t i = 0; i < std::size(values); ++i) {
    MenuChecks[first + i] = values[i] == chosen ? 1 : 0;
  }
  RedisplayControls();
}
}  // namespace

void MarkModeMenu() { MarkGroup(kModeMarks, std::array{1, 2, 3, 4}, PS.IMAGEMODE); }
void MarkZoomMenu() { MarkGroup(kZoomMarks, kZoomSteps, PS.IMAGEZOOM); }
void MarkSortMenu() { MarkGroup(kSortMarks, std::array{1, 2, 3, 4, 5, 6}, PS.SORTORDER); }

}  // namespace lumbra
