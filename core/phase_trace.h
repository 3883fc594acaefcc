// Timestamps of what the viewer does between an input and the pixels it
// leads to: start-up, a step through the image list, every redisplay and
// paint. Written, one line per phase, to the file named by the environment
// variable LUMBRA_PHASE_TRACE; without it nothing is written and a mark
// costs one test of a flag.
//
// Each line: milliseconds since the process was created, milliseconds since
// the line before, the thread ("w" the first thread to write, "b" any
// other), the phase and its detail. A scope writes its begin and its end
// with what it cost.
#pragma once

#include <cstdint>

namespace lumbra {

// Whether phases are written.
bool PhaseTraceOn();

// Writes one phase (detail may be null).
void PhaseMark(const char* phase, const char* detail = nullptr);
// The same with a number as its detail.
void PhaseMarkNumber(const char* phase, std::int64_t number);

// A phase that takes time: its begin on construction, its end with its
// cost on destruction.
class PhaseScope {
 public:
  explicit PhaseScope(const char* phase, const char* detail = nullptr);
  ~PhaseScope();
  PhaseScope(const PhaseScope&) = delete;
  PhaseScope& operator=(const PhaseScope&) = delete;

 private:
  const char* phase_;
  double begun_ = 0;
};

}  // namespace lumbra
