// The runtime's error texts, one per error code.
#pragma once

#include <cstdint>
#include <span>

namespace lumbra {

struct ErrorText {
  std::int32_t code;
  const char* text;
};

// All entries in ascending code order.
std::span<const ErrorText> ErrorTexts();

// The built-in text of a code, or null when the code has none.
const char* FindErrorText(std::int32_t code);

}  // namespace lumbra
