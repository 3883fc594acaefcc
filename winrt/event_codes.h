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

// Program values of the events the viewer reacts to.
namespace Event {
constexpr std::int32_t Accepted = 0x01;
constexpr std::int32_t NewSelection = 0x02;
constexpr std::int32_t ScrollUp = 0x03;
constexpr std::int32_t ScrollDown = 0x04;
constexpr std::int32_t PageUp = 0x05;
constexpr std::int32_t PageDown = 0x06;
constexpr std::int32_t ScrollTop = 0x07;
constexpr std::int32_t ScrollBottom = 0x08;
constexpr std::int32_t AlertKey = 0x0F;
constexpr std::int32_t Drop = 0x13;
constexpr std::int32_t ScrollDrag = 0x14;
constexpr std::int32_t TabChanging = 0x15;
constexpr std::int32_t Rejected = 0x1A;
constexpr std::int32_t ScrollTrack = 0x1D;
constexpr std::int32_t ColumnResize = 0x1E;
constexpr std::int32_t Selected = 0x101;
constexpr std::int32_t CloseWindow = 0x201;
constexpr std::int32_t CloseDown = 0x202;
constexpr std::int32_t OpenWindow = 0x203;
constexpr std::int32_t OpenFailed = 0x204;
constexpr std::int32_t LoseFocus = 0x205;
constexpr std::int32_t GainFocus = 0x206;
constexpr std::int32_t Suspend = 0x208;
constexpr std::int32_t Resume = 0x209;
constexpr std::int32_t Timer = 0x20B;
constexpr std::int32_t Moved = 0x230;
constexpr std::int32_t Sized = 0x231;
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
