// Runtime errors: the texts a program registers, the fatal error path
// (RuntimeErrorBox) and the handler a program may put in its place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumbra {

// A text the program registers for a code; it takes precedence over the
// string table and the built-in texts. An empty text removes the entry.
void RegisterErrorText(std::int32_t code, std::string_view text);

// Where the program's string table is read (the Windows runtime installs
// LoadString); null: none.
using StringTableLookup = bool (*)(std::int32_t code, std::string* text);
void SetStringTableLookup(StringTableLookup lookup);

// Makes the error state look texts up in the registered texts, then the
// string table, then the built-in table.
void UseProgramErrorTexts();

// The message of the error box: ERROR without trailing blanks, then
// " : " and the detail when one is given; at most 255 characters.
std::string RuntimeErrorMessage(std::string_view errorText, std::string_view detail);

// A program's replacement for the error box. It is called with the code and
// the message instead of the box. It may throw to abandon the statement
// that failed; when it returns, the program halts.
using RuntimeErrorHandler = void (*)(std::int32_t code, const std::string& message);
void SetRuntimeErrorHandler(RuntimeErrorHandler handler);

// Whether the runtime has finished starting. Before that the error box
// neither calls the handler nor shows anything, and returns.
void SetRuntimeStarted(bool started);
bool RuntimeStarted();
// Whether an error box has been shown (or its handler called).
bool RuntimeErrorShown();

// The fatal error path: sets the error state from the code and reports the
// message through the handler or the "Runtime error" box. Once the runtime
// has started it does not return: OK or a returning handler halt with exit
// code 2, Cancel writes the fault report and ends the process.
void RuntimeErrorBox(std::int32_t code, std::string_view detail = {});

// The platform's halt and box (the Windows runtime installs them). The box
// returns true for OK, false for Cancel. Halt and fault-and-end do not
// return; the error box ends the process itself should one of them do so.
struct ErrorBoxPlatform {
  bool (*show)(const std::string& message) = nullptr;
  void (*halt)(int exitCode) = nullptr;
  void (*faultAndEnd)() = nullptr;
};
void SetErrorBoxPlatform(const ErrorBoxPlatform& platform);

}  // namespace lumbra
