#include "core/ini_access.h"

#include <windows.h>

namespace lumbra {

void WriteIniKey(std::string_view section, std::string_view key, std::string_view value,
                 std::string_view file, bool deleteSection, bool deleteKey) {
  const std::string sectionArg = IniArgument(section, kIniSectionChars);
  const std::string keyArg = IniArgument(key, kIniKeyChars);
  const std::string valueArg = IniArgument(value, kIniValueChars);
  const std::string fileArg = IniArgument(file, kIniFileChars);

  // A null key removes the section, a null value removes the key.
  const char* keyPtr = deleteSection ? nullptr : keyArg.c_str();
  const char* valuePtr = deleteKey ? nullptr : valueArg.c_str();
  if (fileArg.empty())
    WriteProfileStringA(sectionArg.c_str(), keyPtr, valuePtr);
  else
    WritePrivateProfileStringA(sectionArg.c_str(), keyPtr, valuePtr, fileArg.c_str());
}

std::string ReadIniKey(std::string_view section, std::string_view key, std::string_view fallback,
                       std::string_view file) {
  const std::string sectionArg = IniArgument(section, kIniSectionChars);
  const std::string keyArg = IniArgument(key, kIniKeyChars);
  const std::string fallbackArg = IniArgument(fallback, kIniValueChars);
  const std::string fileArg = IniArgument(file, kIniFileChars);

  char buffer[kIniResultChars + 1] = {};
  if (fileArg.empty())
    GetProfileStringA(sectionArg.c_str(), keyArg.c_str(), fallbackArg.c_str(), buffer,
                      sizeof buffer);
  else
    GetPrivateProfileStringA(sectionArg.c_str(), keyArg.c_str(), fallbackArg.c_str(), buffer,
                             sizeof buffer, fileArg.c_str());
  return std::string(buffer);
}

}  // namespace lumbra
