// Event codes of the window runtime, the runtime's internal message codes,
// and the one code-to-name table that the trace log and the fault report use.
#pragma once

#include <cstdint>
#include <string>

namespace lumbra {

// The program sees an event as its internal code minus this offset.
constexpr std::uint32_t kEventOffset = 0x1400;

// Internal event codes. 0x1401-0x141E and 0x1501 are field events (they
// carry a control); codes from 0x1601 are window events.
enum EventCode : std::uint32_t {
  kEventAccepted = 0x1401,
  kEventNewSelection = 0x1402,
  kEventScrollUp = 0x1403,
  kEventScrollDown = 0x1404,
  kEventPageUp = 0x1405,
  kEventPageDown = 0x1406,
  kEventScrollTop = 0x1407,
  kEventScrollBottom = 0x1408,
  kEventAlertKey = 0x140F,
  kEventDrop = 0x1413,
  kEventScrollDrag = 0x1414,
  kEventTabChanging = 0x1415,
  kEventRejected = 0x141A,
  kEventScrollTrack = 0x141D,
  kEventColumnResize = 0x141E,
  kEventSelected = 0x1501,
  kEventCloseWindow = 0x1601,
  kEventCloseDown = 0x1602,
  kEventOpenWindow = 0x1603,
  kEventOpenFailed = 0x1604,
  kEventLoseFocus = 0x1605,
  kEventGainFocus = 0x1606,
  kEventSuspend = 0x1608,
  kEventResume = 0x1609,
  kEventTimer = 0x160B,
  kEventMoved = 0x1630,
  kEventSized = 0x1631,
};

// The value the program sees for an internal event code.
constexpr std::int32_t ProgramEvent(EventCode code) {
  return static_cast<std::int32_t>(code - kEventOffset);
}

// Program values of the events the viewer reacts to.
namespace Event {
constexpr std::int32_t Accepted = ProgramEvent(kEventAccepted);
constexpr std::int32_t NewSelection = ProgramEvent(kEventNewSelection);
constexpr std::int32_t ScrollUp = ProgramEvent(kEventScrollUp);
constexpr std::int32_t ScrollDown = ProgramEvent(kEventScrollDown);
constexpr std::int32_t PageUp = ProgramEvent(kEventPageUp);
constexpr std::int32_t PageDown = ProgramEvent(kEventPageDown);
constexpr std::int32_t ScrollTop = ProgramEvent(kEventScrollTop);
constexpr std::int32_t ScrollBottom = ProgramEvent(kEventScrollBottom);
constexpr std::int32_t AlertKey = ProgramEvent(kEventAlertKey);
constexpr std::int32_t Drop = ProgramEvent(kEventDrop);
constexpr std::int32_t ScrollDrag = ProgramEvent(kEventScrollDrag);
constexpr std::int32_t TabChanging = ProgramEvent(kEventTabChanging);
constexpr std::int32_t Rejected = ProgramEvent(kEventRejected);
constexpr std::int32_t ScrollTrack = ProgramEvent(kEventScrollTrack);
constexpr std::int32_t ColumnResize = ProgramEvent(kEventColumnResize);
constexpr std::int32_t Selected = ProgramEvent(kEventSelected);
constexpr std::int32_t CloseWindow = ProgramEvent(kEventCloseWindow);
constexpr std::int32_t CloseDown = ProgramEvent(kEventCloseDown);
constexpr std::int32_t OpenWindow = ProgramEvent(kEventOpenWindow);
constexpr std::int32_t OpenFailed = ProgramEvent(kEventOpenFailed);
constexpr std::int32_t LoseFocus = ProgramEvent(kEventLoseFocus);
constexpr std::int32_t GainFocus = ProgramEvent(kEventGainFocus);
constexpr std::int32_t Suspend = ProgramEvent(kEventSuspend);
constexpr std::int32_t Resume = ProgramEvent(kEventResume);
constexpr std::int32_t Timer = ProgramEvent(kEventTimer);
constexpr std::int32_t Moved = ProgramEvent(kEventMoved);
constexpr std::int32_t Sized = ProgramEvent(kEventSized);
}  // namespace Event

// Messages between the runtime's own windows.
constexpr std::uint32_t kQueryPostedEvent = 0x241B;  // carries a posted event record

// Whether an internal code is a field event (one that names a control).
constexpr bool IsFieldEvent(std::uint32_t code) {
  return (code >= 0x1401 && code <= 0x141E) || code == kEventSelected;
}

// The name of an event, runtime message or standard window message, or null
// when the code has none.
const char* CodeName(std::uint32_t code);

// The name of a code, or the code as "%#.4x" when it has no name.
std::string CodeText(std::uint32_t code);

}  // namespace lumbra
