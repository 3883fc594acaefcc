// The runtime's modal dialogs: the message dialog and the platform's file,
// folder and colour dialogs. A program may install a replacement for each,
// which is then called instead (tests install scripted ones).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

// Button codes of the message dialog.
namespace BUTTON {
constexpr std::int32_t Ok = 1;
constexpr std::int32_t Yes = 2;
constexpr std::int32_t No = 4;
constexpr std::int32_t Abort = 8;
constexpr std::int32_t Retry = 16;
constexpr std::int32_t Ignore = 32;
constexpr std::int32_t Cancel = 64;
constexpr std::int32_t Help = 128;
}  // namespace BUTTON

// One button of the message dialog: its code, caption and the native dialog
// identifier it uses.
struct DialogButton {
  std::int32_t code;
  std::string caption;
  std::int32_t nativeId;
};

// The buttons a code sum gives, in code order; or, for a text of captions
// separated by "|", one button per caption with codes 1, 2, 3...
std::vector<DialogButton> MessageDialogButtons(std::int32_t codes, std::string_view captions = {});
// The text with each "|" turned into a line end.
std::string MessageDialogLines(std::string_view text);

struct MessageDialogRequest {
  std::string text;
  std::string caption;
  std::string icon;
  std::int32_t buttons = BUTTON::Ok;
  std::string buttonCaptions;  // "|"-separated captions instead of codes
  std::int32_t defaultButton = 0;
  bool systemModal = false;
};
using MessageDialogReplacement = std::int32_t (*)(const MessageDialogRequest& request);
void SetMessageDialogReplacement(MessageDialogReplacement replacement);

// Shows the dialog and returns the code of the button pressed.
std::int32_t MessageDialog(std::string_view text, std::string_view caption,
                           std::string_view icon = {}, std::int32_t buttons = BUTTON::Ok,
                           std::int32_t defaultButton = 0, bool systemModal = false);
std::int32_t MessageDialog(const MessageDialogRequest& request);

// File dialog flags.
namespace FILE_DIALOG {
constexpr std::int32_t Save = 0x01;
constexpr std::int32_t KeepDir = 0x02;
constexpr std::int32_t NoError = 0x04;
constexpr std::int32_t Multi = 0x08;
constexpr std::int32_t LongName = 0x10;
constexpr std::int32_t Directory = 0x20;
}  // namespace FILE_DIALOG

// The filter as the platform takes it: every "|" a zero byte, and a final
// zero byte after the last pair.
std::string PlatformFilter(std::string_view filter);
// A folder choice: the path cut after its last backslash.
std::string FolderOfChoice(std::string_view path);

using FileDialogReplacement = bool (*)(std::string_view title, std::string& fileName,
                                       std::string_view filter, std::int32_t flags);
void SetFileDialogReplacement(FileDialogReplacement replacement);
// Non-zero when the user confirmed; the name then holds the choice.
bool FileDialog(std::string_view title, std::string& fileName, std::string_view filter = {},
                std::int32_t flags = 0);

using ColorDialogReplacement = bool (*)(std::string_view title, std::int32_t& colour);
void SetColorDialogReplacement(ColorDialogReplacement replacement);
bool ColorDialog(std::string_view title, std::int32_t& colour);

}  // namespace lumbra
