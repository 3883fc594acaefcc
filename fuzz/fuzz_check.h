// The checks of the fuzz targets: a broken one names itself and aborts,
// which libFuzzer reports as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace lumbra::fuzz {

[[noreturn]] inline void CheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

}  // namespace lumbra::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? void() : ::lumbra::fuzz::CheckFailed(#condition, __FILE__, __LINE__))
