// Runtime errors raised as exceptions while a test runs (the handler given
// to SetRuntimeErrorHandler): a failure meets the test where it happens,
// with its code and message, instead of a message box nobody answers.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "winrt/runtime_errors.h"

namespace lumbra::testing {

struct RaisedError : std::runtime_error {
  RaisedError(std::int32_t c, const std::string& m) : std::runtime_error(m), code(c) {}
  std::int32_t code;
};

inline void ThrowRaisedError(std::int32_t code, const std::string& message) {
  throw RaisedError(code, message);
}

}  // namespace lumbra::testing
