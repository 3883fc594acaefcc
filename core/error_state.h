// The program-wide error state: statements set it and return, callers read
// it afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "core/fixed_text.h"

// <windows.h> defines ERROR as 0 (a region result); the name here is the
// error text. Include <windows.h> before this header.
#ifdef ERROR
#undef ERROR
#endif

namespace lumbra {

struct ErrorState {
  std::int32_t ERRORCODE = 0;  // 0: no error
  FixedText<80> ERROR;         // the code's text, at most 79 characters
  FixedText<81> extra1;        // further texts kept with the state
  FixedText<255> extra2;
};

// The process's error state.
ErrorState& CurrentErrorState();

// Where texts come from. The default looks in the built-in table; the
// Windows runtime installs one that asks the program's registered texts and
// string table. A null result means "no text for this code".
using ErrorTextLookup = std::string (*)(std::int32_t code, bool* found);
void SetErrorTextLookup(ErrorTextLookup lookup);

// The platform's last system error number, used for code 0. The default
// returns 0; the Windows runtime installs GetLastError.
using LastSystemErrorQuery = std::uint32_t (*)();
void SetLastSystemErrorQuery(LastSystemErrorQuery query);

// The text for a code: its entry, or the text of 81 + " : " + the code.
std::string ErrorTextOf(std::int32_t code);

// Sets ERRORCODE and ERROR. Code 0 stands for the last system error + 300.
void SetErrorState(std::int32_t code);
// ERRORCODE 0 and every text blank.
void ClearErrorState();

inline std::int32_t ERRORCODE() { return CurrentErrorState().ERRORCODE; }
inline std::string ERROR() { return CurrentErrorState().ERROR.str(); }

}  // namespace lumbra
