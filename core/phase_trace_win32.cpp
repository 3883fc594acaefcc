// The phase trace on the performance counter, its clock set to the
// creation of the process so that start-up reads from the real beginning.
#include <windows.h>

#include <cstdio>
#include <mutex>

#include "core/phase_trace.h"

namespace lumbra {

namespace {

struct PhaseLog {
  std::FILE* file = nullptr;
  double ticksPerMs = 1;
  LONGLONG created = 0;  // the counter at the creation of the process
  double last = 0;
  DWORD firstThread = 0;
  std::mutex lock;

  PhaseLog() {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("LUMBRA_PHASE_TRACE", path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    file = std::fopen(path, "ab");
    if (!file) return;
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;
    // How long ago the process was created, in 100 ns units of the system
    // clock, moved onto the counter.
    FILETIME creation, exited, kernel, user, wall;
    GetSystemTimePreciseAsFileTime(&wall);
    created = now.QuadPart;
    if (GetProcessTimes(GetCurrentProcess(), &creation, &exited, &kernel, &user)) {
      const auto ago = static_cast<LONGLONG>(
          (ULARGE_INTEGER{{wall.dwLowDateTime, wall.dwHighDateTime}}.QuadPart -
           ULARGE_INTEGER{{creation.dwLowDateTime, creation.dwHighDateTime}}.QuadPart));
      created -= static_cast<LONGLONG>(static_cast<double>(ago) / 10000.0 * ticksPerMs);
    }
    firstThread = GetCurrentThreadId();
    std::fprintf(file, "-- process %lu\n", GetCurrentProcessId());
  }
  ~PhaseLog() {
    if (file) std::fclose(file);
  }

  double Ms() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - created) / ticksPerMs;
  }

  void Write(const char* phase, const char* detail, double cost) {
    const std::lock_guard guard(lock);
    const double at = Ms();
    const char thread = GetCurrentThreadId() == firstThread ? 'w' : 'b';
    if (cost >= 0) {
      std::fprintf(file, "%10.3f %+9.3f %c %s end %.3f ms\n", at, at - last, thread, phase, cost);
    } else {
      std::fprintf(file, "%10.3f %+9.3f %c %s%s%s\n", at, at - last, thread, phase,
                   detail ? " " : "", detail ? detail : "");
    }
    std::fflush(file);
    last = at;
  }
};

PhaseLog& Log() {
  static PhaseLog log;
  return log;
}

}  // namespace

bool PhaseTraceOn() {
  static const bool on = Log().file != nullptr;
  return on;
}

void PhaseMark(const char* phase, const char* detail) {
  if (PhaseTraceOn()) Log().Write(phase, detail, -1);
}

void PhaseMarkNumber(const char* phase, std::int64_t number) {
  if (!PhaseTraceOn()) return;
  char text[24];
  std::snprintf(text, sizeof text, "%lld", static_cast<long long>(number));
  Log().Write(phase, text, -1);
}

PhaseScope::PhaseScope(const char* phase, const char* detail) : phase_(phase) {
  if (!PhaseTraceOn()) return;
  begun_ = Log().Ms();
  Log().Write(phase, detail ? detail : "begin", -1);
}

PhaseScope::~PhaseScope() {
  if (PhaseTraceOn()) Log().Write(phase_, nullptr, Log().Ms() - begun_);
}

}  // namespace lumbra
