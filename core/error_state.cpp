#include "core/error_state.h"

#include "core/error_texts.h"

namespace lumbra {

namespace {

constexpr std::int32_t kUnknownErrorCode = 81;
constexpr std::size_t kErrorChars = 79;

std::string BuiltInText(std::int32_t code, bool* found) {
  const char* text = FindErrorText(code);
  *found = text != nullptr;
  return text ? text : "";
}

std::uint32_t NoSystemError() { return 0; }

ErrorTextLookup g_lookup = BuiltInText;
LastSystemErrorQuery g_lastSystemError = NoSystemError;

}  // namespace

ErrorState& CurrentErrorState() {
  static ErrorState state;
  return state;
}

void SetErrorTextLookup(ErrorTextLookup lookup) { g_lookup = lookup ? lookup : BuiltInText; }

void SetLastSystemErrorQuery(LastSystemErrorQuery query) {
  g_lastSystemError = query ? query : NoSystemError;
}

std::string ErrorTextOf(std::int32_t code) {
  bool found = false;
  std::string text = g_lookup(code, &found);
  if (found) return text;
  return g_lookup(kUnknownErrorCode, &found) + " : " + std::to_string(code);
}

void SetErrorState(std::int32_t code) {
  if (code == 0) code = static_cast<std::int32_t>(g_lastSystemError()) + 300;
  const std::string text = ErrorTextOf(code);
  ErrorState& state = CurrentErrorState();
  state.ERRORCODE = code;
  state.ERROR = StripLeadingBlanks(text).substr(0, kErrorChars);
}

void ClearErrorState() { CurrentErrorState() = ErrorState(); }

}  // namespace lumbra
