#include "tools/description_compiler/description_source.h"

#include <cctype>
#include <cstddef>

namespace lumbra::description {

std::vector<Token> Tokenize(const std::string& text, Diagnostics& diagnostics) {
  std::vector<Token> tokens;
  int line = 1;
  std::size_t i = 0;
  auto push = [&](Token::Kind kind, std::string value) {
    tokens.push_back(Token{kind, std::move(value), line});
  };
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n' || c == ';') {
      push(Token::End, "");
      if (c == '\n') ++line;
      ++i;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#' &&
               (i + 1 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])))) {
      while (i < text.size() && text[i] != '\n') ++i;  // a comment
    } else if (c == '{') {
      push(Token::Open, "{");
      ++i;
    } else if (c == '}') {
      push(Token::Close, "}");
      ++i;
    } else if (c == '"') {
      std::string value;
      bool closed = false;
      for (++i; i < text.size() && text[i] != '\n'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
          value += text[++i];
        } else if (text[i] == '"') {
          closed = true;
          ++i;
          break;
        } else {
          value += text[i];
        }
      }
      if (!closed) diagnostics.Error(line, "string without its closing quote");
      push(Token::String, std::move(value));
    } else {
      std::string value;
      while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) &&
             text[i] != ';' && text[i] != '{' && text[i] != '}' && text[i] != '"') {
        value += text[i++];
      }
      push(Token::Word, std::move(value));
    }
  }
  push(Token::End, "");
  return tokens;
}

namespace {

class Parser {
 public:
  Parser(std::vector<Token> tokens, Diagnostics& diagnostics)
      : tokens_(std::move(tokens)), diagnostics_(diagnostics) {}

  std::vector<SourceRecord> Top() {
    std::vector<SourceRecord> records;
    while (pos_ < tokens_.size()) {
      const Token& t = tokens_[pos_];
      if (t.kind == Token::End) {
        ++pos_;
      } else if (t.kind == Token::Word) {
        records.push_back(Record());
      } else {
        diagnostics_.Error(t.line, "expected a record, found \"" + t.text + "\"");
        ++pos_;
      }
    }
    return records;
  }

 private:
  // A record: kind, arguments, then an optional body in braces.
  SourceRecord Record() {
    SourceRecord record;
    record.kind = tokens_[pos_].text;
    record.line = tokens_[pos_].line;
    ++pos_;
    while (pos_ < tokens_.size() &&
           (tokens_[pos_].kind == Token::Word || tokens_[pos_].kind == Token::String)) {
      record.arguments.push_back(tokens_[pos_++]);
    }
    if (pos_ < tokens_.size() && tokens_[pos_].kind == Token::Open) {
      ++pos_;
      Body(record);
    }
    return record;
  }

  // Statements up to the closing brace: fields and nested records. A
  // statement whose line opens a brace is a record; any other is a field.
  void Body(SourceRecord& record) {
    while (pos_ < tokens_.size()) {
      const Token& t = tokens_[pos_];
      if (t.kind == Token::End) {
        ++pos_;
      } else if (t.kind == Token::Close) {
        ++pos_;
        return;
      } else if (t.kind == Token::Word && OpensRecord()) {
        record.children.push_back(Record());
      } else if (t.kind == Token::Word) {
        SourceField field{t.text, {}, t.line};
        for (++pos_; pos_ < tokens_.size() &&
                     (tokens_[pos_].kind == Token::Word || tokens_[pos_].kind == Token::String);
             ++pos_) {
          field.values.push_back(tokens_[pos_]);
        }
        record.fields.push_back(std::move(field));
      } else {
        diagnostics_.Error(t.line, "unexpected \"" + t.text + "\"");
        ++pos_;
      }
    }
    diagnostics_.Error(record.line, "record \"" + record.kind + "\" is not closed with \"}\"");
  }

  // Whether the statement at pos_ is a record: its values are followed by
  // "{", or it is a bare "separator".
  bool OpensRecord() const {
    if (tokens_[pos_].text == "separator") return true;
    for (std::size_t i = pos_ + 1; i < tokens_.size(); ++i) {
      if (tokens_[i].kind == Token::Open) return true;
      if (tokens_[i].kind != Token::Word && tokens_[i].kind != Token::String) return false;
    }
    return false;
  }

  std::vector<Token> tokens_;
  Diagnostics& diagnostics_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<SourceRecord> ParseSource(const std::string& text, Diagnostics& diagnostics) {
  return Parser(Tokenize(text, diagnostics), diagnostics).Top();
}

}  // namespace lumbra::description
