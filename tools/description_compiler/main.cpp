// description_compiler [--tag MODULE$TAG] -o OUTPUT WINDOW.window...
//
// Compiles window sources into the "DABDUMP" resource data. Errors are
// printed as "file:line: message"; on any error nothing is written, and
// the output is replaced only once it is complete.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/description_compiler/description_writer.h"

int main(int argc, char** argv) {
  std::string tag = "lumbra$LUMBRA";
  std::string output;
  std::vector<std::pair<std::string, std::string>> texts;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "-o" || arg == "--tag") && i + 1 < argc) {
      (arg == "-o" ? output : tag) = argv[++i];
      continue;
    }
    std::ifstream in(arg, std::ios::binary);
    if (!in) {
      std::cerr << arg << ": cannot be read\n";
      return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    texts.emplace_back(arg, text.str());
  }
  if (output.empty()) {
    std::cerr << "usage: description_compiler [--tag MODULE$TAG] -o OUTPUT WINDOW.window...\n";
    return 2;
  }
  std::vector<std::string> errors;
  const auto resource = lumbra::description::CompileSourceTexts(tag, texts, errors);
  for (const std::string& e : errors) std::cerr << e << "\n";
  if (!errors.empty() || resource.empty()) return 1;

  const std::string partial = output + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(resource.data()),
              static_cast<std::streamsize>(resource.size()));
    if (!out) {
      std::cerr << partial << ": cannot be written\n";
      std::remove(partial.c_str());
      return 1;
    }
  }
  if (std::rename(partial.c_str(), output.c_str()) != 0) {
    std::cerr << output << ": cannot be replaced\n";
    std::remove(partial.c_str());
    return 1;
  }
  return 0;
}
