// The source form of window descriptions: one window per file, records
// nested in braces, one field per line.
//
//   # comment
//   window "$PICVIEWWINDOW" {
//     title "Lumbra 1.0"
//     rect default default 547 378
//     menubar {
//       menu 1 {
//         text "&File"
//         item 2 { text "&Open Image...   Ctrl+O" }
//         separator
//       }
//     }
//     button 41 { rect 2 3 20 20; tip "Load Image"; icon "Open.gif" }
//   }
//
// A statement is a record (a record kind, its number or name, and a body
// in braces) or a field (a field name and its values); statements end at
// the end of the line or at ";". Values are numbers (decimal, 0x hex,
// negative), "default" (0x80000000), colours "#rrggbb" (stored as
// 0x00BBGGRR), quoted strings (\" and \\ escape) and plain words.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumbra::description {

struct Token {
  enum Kind { Word, String, Open, Close, End } kind = End;
  std::string text;
  int line = 0;
};

struct SourceField {
  std::string name;
  std::vector<Token> values;
  int line = 0;
};

struct SourceRecord {
  std::string kind;
  std::vector<Token> arguments;  // the number, or the window's name
  std::vector<SourceField> fields;
  std::vector<SourceRecord> children;
  int line = 0;
};

// A diagnostic of the form "file:line: message".
struct Diagnostics {
  std::string file;
  std::vector<std::string> messages;
  void Error(int line, const std::string& message) {
    messages.push_back(file + ":" + std::to_string(line) + ": " + message);
  }
  bool ok() const { return messages.empty(); }
};

// Splits a source text into tokens; a bad token is reported and skipped.
std::vector<Token> Tokenize(const std::string& text, Diagnostics& diagnostics);

// Parses the top-level records of a source text.
std::vector<SourceRecord> ParseSource(const std::string& text, Diagnostics& diagnostics);

}  // namespace lumbra::description
