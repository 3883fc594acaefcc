// The host build has no viewer to trace: every mark is dropped.
#include "core/phase_trace.h"

namespace lumbra {

bool PhaseTraceOn() { return false; }
void PhaseMark(const char*, const char*) {}
void PhaseMarkNumber(const char*, std::int64_t) {}
PhaseScope::PhaseScope(const char* phase, const char*) : phase_(phase) {}
PhaseScope::~PhaseScope() = default;

}  // namespace lumbra
