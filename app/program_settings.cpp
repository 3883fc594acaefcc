#include "app/program_settings.h"

#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/path_text.h"
#include "core/ini_access.h"

namespace lumbra {

ProgramSettings PS;
PathText IniFilePath;

namespace {

enum class Form { Text, Flag, Number };

// One persistent setting: its key, its default text, how its text reads,
// and where its value lives in the record (offset and width in bytes).
struct SettingKey {
  const char* key;
  const char* fallback;
  Form form;
  std::size_t offset;
  std::size_t width;
};

#define LUMBRA_FIELD(name) offsetof(ProgramSettings, name), sizeof(ProgramSettings::name)

// The INI file's keys, read and written in this order.
constexpr SettingKey kSettingKeys[] = {
    {"LastPath", "C:\\", Form::Text, LUMBRA_FIELD(LASTPATH)},
    {"UseLongFileNames", "YES", Form::Flag, LUMBRA_FIELD(USELONGFILENAMES)},
    {"XPos", "50", Form::Number, LUMBRA_FIELD(XPOS)},
    {"YPos", "50", Form::Number, LUMBRA_FIELD(YPOS)},
    {"Maximized", "YES", Form::Flag, LUMBRA_FIELD(MAXIMIZED)},
    {"Width", "400", Form::Number, LUMBRA_FIELD(WIDTH)},
    {"Height", "200", Form::Number, LUMBRA_FIELD(HEIGHT)},
    {"BGColor", "0", Form::Number, LUMBRA_FIELD(BGCOLOR)},
    {"DefaultSortOrder", "1", Form::Number, LUMBRA_FIELD(DEFAULTSORTORDER)},
    {"DefaultImageMode", "1", Form::Number, LUMBRA_FIELD(DEFAULTIMAGEMODE)},
    {"KeepImageSettings", "YES", Form::Flag, LUMBRA_FIELD(KEEPIMAGESETTINGS)},
    {"WarnBadImage", "YES", Form::Flag, LUMBRA_FIELD(WARNBADIMAGE)},
    {"PromptOnExit", "YES", Form::Flag, LUMBRA_FIELD(PROMPTONEXIT)},
    {"AutoLoadDir", "NO", Form::Flag, LUMBRA_FIELD(AUTOLOADDIR)},
    {"FixGIFImages", "NO", Form::Flag, LUMBRA_FIELD(FIXGIFIMAGES)},
    {"ShowWelcomeScreen", "YES", Form::Flag, LUMBRA_FIELD(SHOWWELCOMESCREEN)},
};

#undef LUMBRA_FIELD

std::byte* FieldOf(const SettingKey& setting) {
  return reinterpret_cast<std::byte*>(&PS) + setting.offset;
}

// A number text as the runtime converts it: leading blanks, an optional
// sign and digits; anything else reads as 0. The value is then kept in the
// field's width, so 70000 in a 16-bit field wraps as it would there.
std::int64_t NumberOfText(const std::string& text) {
  return std::strtoll(text.c_str(), nullptr, 10);
}

void StoreNumber(const SettingKey& setting, std::int64_t value) {
  std::byte* field = FieldOf(setting);
  switch (setting.width) {
    case 1: {
      auto v = static_cast<std::uint8_t>(value);
      std::memcpy(field, &v, 1);
      break;
    }
    case 2: {
      auto v = static_cast<std::int16_t>(value);
      std::memcpy(field, &v, 2);
      break;
    }
    default: {
      auto v = static_cast<std::int32_t>(value);
      std::memcpy(field, &v, 4);
      break;
    }
  }
}

std::int64_t LoadNumber(const SettingKey& setting) {
  const std::byte* field = FieldOf(setting);
  switch (setting.width) {
    case 1: {
      std::uint8_t v;
      std::memcpy(&v, field, 1);
      return v;
    }
    case 2: {
      std::int16_t v;
      std::memcpy(&v, field, 2);
      return v;
    }
    default: {
      std::int32_t v;
      std::memcpy(&v, field, 4);
      return v;
    }
  }
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// "YES" and "NO" in any case; any other text reads as the key's default.
std::uint8_t FlagOfText(const std::string& text, const char* fallback) {
  const std::string upper = UpperCase(text);
  if (upper == "YES") return 1;
  if (upper == "NO") return 0;
  return std::strcmp(fallback, "YES") == 0 ? 1 : 0;
}

// Out-of-range start-up modes and orders would leave the display or the
// list in an undefined state; they read as their defaults instead.
void ClampStartUpChoices() {
  if (PS.DEFAULTIMAGEMODE < kModeNormal || PS.DEFAULTIMAGEMODE > kModeBestFit)
    PS.DEFAULTIMAGEMODE = kModeNormal;
  if (PS.DEFAULTSORTORDER < kSortNone || PS.DEFAULTSORTORDER > kSortDate)
    PS.DEFAULTSORTORDER = kSortNone;
}

std::string ReadSetting(const char* key, const char* fallback) {
  return ReadIniKey(kIniSection, key, fallback, IniFilePath.clipped());
}

}  // namespace

PathText IniPathForProgram(std::string_view programPath) {
  return PathText(std::string(FolderOfPath(programPath)) + std::string(kIniFileName));
}

void LoadSettings() {
  for (const SettingKey& setting : kSettingKeys) {
    const std::string text = ReadSetting(setting.key, setting.fallback);
    switch (setting.form) {
      case Form::Text: PS.LASTPATH = text; break;
      case Form::Flag:
        *reinterpret_cast<std::uint8_t*>(FieldOf(setting)) = FlagOfText(text, setting.fallback);
        break;
      case Form::Number: StoreNumber(setting, NumberOfText(text)); break;
    }
  }
  ClampStartUpChoices();
  SaveSettings();
}

void SaveSettings() {
  for (const SettingKey& setting : kSettingKeys) {
    std::string text;
    switch (setting.form) {
      case Form::Text: text = PS.LASTPATH.clipped(); break;
      case Form::Flag:
        text = *reinterpret_cast<const std::uint8_t*>(FieldOf(setting)) ? "YES" : "NO";
        break;
      case Form::Number: text = std::to_string(LoadNumber(setting)); break;
    }
    WriteIniKey(kIniSection, setting.key, text, IniFilePath.clipped());
  }
}

}  // namespace lumbra
