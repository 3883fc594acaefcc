#include "winrt/runtime_errors.h"

#include <cstdlib>
#include <map>
#include <mutex>

#include "core/error_state.h"
#include "core/error_texts.h"
#include "core/fixed_text.h"

namespace lumbra {

namespace {

constexpr std::size_t kMessageChars = 255;

std::mutex g_textsLock;
std::map<std::int32_t, std::string>& RegisteredTexts() {
  static std::map<std::int32_t, std::string> texts;
  return texts;
}

StringTableLookup g_stringTable = nullptr;
RuntimeErrorHandler g_handler = nullptr;
ErrorBoxPlatform g_platform;
bool g_started = false;
bool g_shown = false;

std::string ProgramText(std::int32_t code, bool* found) {
  {
    std::lock_guard lock(g_textsLock);
    const auto& texts = RegisteredTexts();
    if (auto it = texts.find(code); it != texts.end()) {
      *found = true;
      return it->second;
    }
  }
  std::string text;
  if (g_stringTable && g_stringTable(code, &text)) {
    *found = true;
    return text;
  }
  const char* builtIn = FindErrorText(code);
  *found = builtIn != nullptr;
  return builtIn ? builtIn : "";
}

}  // namespace

void RegisterErrorText(std::int32_t code, std::string_view text) {
  std::lock_guard lock(g_textsLock);
  if (text.empty()) {
    RegisteredTexts().erase(code);
  } else {
    RegisteredTexts()[code] = std::string(text);
  }
}

void SetStringTableLookup(StringTableLookup lookup) { g_stringTable = lookup; }

void UseProgramErrorTexts() { SetErrorTextLookup(ProgramText); }

std::string RuntimeErrorMessage(std::string_view errorText, std::string_view detail) {
  std::string message(ClipTrailingBlanks(errorText));
  if (!detail.empty()) {
    message += " : ";
    message += detail;
  }
  if (message.size() > kMessageChars) message.resize(kMessageChars);
  return message;
}

void SetRuntimeErrorHandler(RuntimeErrorHandler handler) { g_handler = handler; }
void SetRuntimeStarted(bool started) { g_started = started; }
bool RuntimeStarted() { return g_started; }
bool RuntimeErrorShown() { return g_shown; }
void SetErrorBoxPlatform(const ErrorBoxPlatform& platform) { g_platform = platform; }

void RuntimeErrorBox(std::int32_t code, std::string_view detail) {
  SetErrorState(code);
  const std::string message = RuntimeErrorMessage(CurrentErrorState().ERROR.full(), detail);
  if (!g_started) return;
  if (g_handler) {
    g_handler(code, message);
  } else if (g_platform.show && !g_platform.show(message)) {
    if (g_platform.faultAndEnd) g_platform.faultAndEnd();
    std::abort();
  }
  g_shown = true;
  if (g_platform.halt) g_platform.halt(2);
  std::exit(2);
}

}  // namespace lumbra
