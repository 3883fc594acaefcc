// Fuzz target: the texts an image list is built from. The input is taken
// as a whole command line (the program's path, then the argument text cut
// out of it) and as a drop's text; both are split into items, and each
// item is split into folder, name and type as the image list does. Every
// item must be a piece of its text, in order, and the items must read back
// the same from the text they are written out as.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/argument_items.h"
#include "app/command_line.h"
#include "app/path_text.h"
#include "core/fixed_text.h"
#include "fuzz/fuzz_check.h"

namespace {

using lumbra::ArgumentItems;

// The items lie in the text in order and do not overlap; none holds its
// separator unless it was quoted, and then it holds no quote.
void CheckPieces(const std::vector<std::string>& items, std::string_view text, char separator) {
  std::size_t from = 0;
  for (const std::string& item : items) {
    const std::size_t at = text.find(item, from);
    FUZZ_CHECK(at != std::string_view::npos);
    from = at + item.size();
    FUZZ_CHECK(item.find(separator) == std::string::npos || item.find('"') == std::string::npos);
  }
}

// Each item quoted where it can be (it holds no quote), else as it stands
// (it then holds no separator), each followed by a separator, so that an
// unquoted one keeps its trailing blanks.
std::string WriteOut(const std::vector<std::string>& items, char separator) {
  std::string out;
  for (const std::string& item : items) {
    if (item.find('"') == std::string::npos) {
      out += '"' + item + '"';
    } else {
      out += item;
    }
    out += separator;
  }
  return out;
}

// The parts the image list takes from a path: its folder and name make
// the path again, and its type is at most three characters after a dot of
// the name.
void CheckPathParts(std::string_view path) {
  const std::string_view folder = lumbra::FolderOfPath(path);
  const std::string_view name = lumbra::NameOfPath(path);
  FUZZ_CHECK(std::string(folder) + std::string(name) == path);
  FUZZ_CHECK(name.find_first_of("\\/:") == std::string_view::npos);
  const std::string_view type = lumbra::TypeOfPath(path);
  FUZZ_CHECK(type.size() <= 3);
  if (!type.empty()) {
    const std::size_t dot = name.find_last_of('.');
    FUZZ_CHECK(dot != std::string_view::npos && name.substr(dot + 1, type.size()) == type);
  }
  if (lumbra::IsImageType(type)) FUZZ_CHECK(type.size() == 3);
}

void CheckText(std::string_view text, bool dropped) {
  const char separator = dropped ? ',' : ' ';
  const std::vector<std::string> items = ArgumentItems(text, dropped);
  CheckPieces(items, text, separator);
  FUZZ_CHECK(ArgumentItems(WriteOut(items, separator), dropped) == items);
  for (const std::string& item : items) CheckPathParts(item);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // The command line as the program measures it at start-up.
  const std::string_view line = lumbra::CommandLineText(input);
  FUZZ_CHECK(line.size() <= input.size() && input.substr(input.size() - line.size()) == line);
  const std::uint8_t start = lumbra::CommandLineStart(line);
  const std::uint8_t length = lumbra::CommandLineLength(line);
  FUZZ_CHECK(start >= 1 && length <= line.size());
  const std::string_view argument = lumbra::CommandLineArgument(line, start, length);
  if (!argument.empty()) {
    FUZZ_CHECK(argument.data() >= line.data() + (start - 1) &&
               argument.data() + argument.size() <= line.data() + length);
  }
  CheckText(argument, false);

  // A drop's text: the dropped names joined with commas.
  CheckText(input, true);
  return 0;
}
