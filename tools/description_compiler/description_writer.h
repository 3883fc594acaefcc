// Compiles parsed window sources into the "DABDUMP" resource.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/description_compiler/description_source.h"

namespace lumbra::description {

struct WindowSource {
  std::string file;  // for diagnostics
  std::vector<SourceRecord> records;
};

// The resource bytes for all windows, chained in the order given: the
// module tag with its NUL, then the data. Errors go to `errors` as
// "file:line: message"; with any error the result is empty.
std::vector<std::uint8_t> CompileDescriptions(const std::string& moduleTag,
                                              const std::vector<WindowSource>& windows,
                                              std::vector<std::string>& errors);

// Parses and compiles source texts given as {file name, text} pairs.
std::vector<std::uint8_t> CompileSourceTexts(
    const std::string& moduleTag, const std::vector<std::pair<std::string, std::string>>& texts,
    std::vector<std::string>& errors);

}  // namespace lumbra::description
