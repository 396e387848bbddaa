#include "declaration_texts.h"

#include <cctype>
#include <vector>

namespace rundd {

namespace {

struct Token {
  enum Kind { kWord, kString, kSemicolon, kOther } kind;
  std::string text;
};

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWordPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

// The tokens that matter here: words ("s.t." counts as one), string literals (a doubled quote inside stands for
// one), semicolons; comments are skipped and everything else is one-character noise.
class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : s_(text) {}

  bool Next(Token *t) {
    SkipBlanksAndComments();
    if (pos_ >= s_.size()) return false;
    const char c = s_[pos_];
    if (IsWordStart(c)) {
      const size_t start = pos_;
      while (pos_ < s_.size() && IsWordPart(s_[pos_])) ++pos_;
      *t = {Token::kWord, std::string(s_.substr(start, pos_ - start))};
    } else if (c == '\'' || c == '"') {
      *t = {Token::kString, ReadString(c)};
    } else {
      ++pos_;
      *t = {c == ';' ? Token::kSemicolon : Token::kOther, std::string(1, c)};
    }
    return true;
  }

 private:
  void SkipBlanksAndComments() {
    while (pos_ < s_.size()) {
      if (std::isspace(static_cast<unsigned char>(s_[pos_]))) {
        ++pos_;
      } else if (s_[pos_] == '#') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else if (s_.substr(pos_, 2) == "/*") {
        const size_t end = s_.find("*/", pos_ + 2);
        pos_ = end == std::string_view::npos ? s_.size() : end + 2;
      } else {
        return;
      }
    }
  }

  std::string ReadString(char quote) {
    std::string text;
    for (++pos_; pos_ < s_.size(); ++pos_) {
      if (s_[pos_] != quote) {
        text += s_[pos_];
      } else if (pos_ + 1 < s_.size() && s_[pos_ + 1] == quote) {
        text += quote;
        ++pos_;
      } else {
        ++pos_;
        break;
      }
    }
    return text;
  }

  std::string_view s_;
  size_t pos_ = 0;
};

// Statements that declare something other than a variable, constraint or objective.
bool IsOtherStatement(const std::string &word) {
  for (const char *keyword : {"set", "param", "check", "display", "printf", "for", "solve", "table", "end"}) {
    if (word == keyword) return true;
  }
  return false;
}

}  // namespace

std::map<std::string, std::string> DeclarationTexts(std::string_view model) {
  std::map<std::string, std::string> texts;
  Tokenizer tokenizer(model);
  std::vector<Token> statement;  // the first three tokens of the current statement
  Token t;
  bool more = true;
  while (more) {
    more = tokenizer.Next(&t);
    if (more && t.kind != Token::kSemicolon) {
      if (statement.size() < 4) statement.push_back(t);
      continue;
    }
    // A statement ended: [keyword] name "text" ...
    size_t at = 0;
    if (!statement.empty() && statement[0].kind == Token::kWord) {
      const std::string &first = statement[0].text;
      if (first == "data") break;  // the data section follows
      if (first == "var" || first == "minimize" || first == "maximize" || first == "s.t.") at = 1;
      if ((first == "subject" || first == "subj") && statement.size() > 1 && statement[1].text == "to") at = 2;
      if (at == 0 && IsOtherStatement(first)) at = statement.size();
    }
    if (at + 1 < statement.size() && statement[at].kind == Token::kWord && statement[at + 1].kind == Token::kString) {
      texts[statement[at].text] = statement[at + 1].text;
    }
    statement.clear();
  }
  return texts;
}

}  // namespace rundd
