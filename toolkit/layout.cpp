#include "toolkit/layout.h"

#include <windows.h>

#include <cctype>
#include <charconv>

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  TLayoutNode Document() {
    SkipBlank();
    if (!PeekWord("object")) Fail("the description must start with an object");
    TLayoutNode root = Object();
    SkipBlank();
    if (pos_ != text_.size()) Fail("text after the last 'end'");
    return root;
  }

 private:
  TLayoutNode Object() {
    TLayoutNode node;
    node.line = line_;
    Word();  // "object"
    node.name = Word();
    SkipBlank();
    Expect(':');
    node.className = Word();
    Body(node);
    return node;
  }

  TLayoutNode Item() {
    TLayoutNode node;
    node.line = line_;
    node.className = Word();  // "item"
    Body(node);
    return node;
  }

  void Body(TLayoutNode& node) {
    for (;;) {
      SkipBlank();
      if (pos_ == text_.size()) Fail("missing 'end' for '" + node.name + "'");
      if (PeekWord("end")) {
        Word();
        return;
      }
      if (PeekWord("object")) {
        node.children.push_back(Object());
      } else if (PeekWord("item")) {
        node.children.push_back(Item());
      } else {
        TLayoutProperty property;
        property.line = line_;
        property.name = Word();
        SkipBlank();
        Expect('=');
        property.value = Value();
        node.properties.push_back(std::move(property));
      }
    }
  }

  TLayoutValue Value() {
    SkipBlank();
    if (pos_ == text_.size()) Fail("missing value");
    const char c = text_[pos_];
    if (c == '"') {
      std::wstring joined;
      do {
        joined += QuotedText();
        SkipBlank();
      } while (pos_ < text_.size() && text_[pos_] == '"');
      return joined;
    }
    if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) return Number();
    if (c == '[') {
      ++pos_;
      TLayoutSet set;
      SkipBlank();
      while (pos_ < text_.size() && text_[pos_] != ']') {
        set.push_back(Word());
        SkipBlank();
        if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
        SkipBlank();
      }
      Expect(']');
      return set;
    }
    return TLayoutIdent{Word()};
  }

  int Number() {
    const char* begin = text_.data() + pos_;
    int value = 0;
    const auto [end, error] = std::from_chars(begin, text_.data() + text_.size(), value);
    if (error != std::errc()) Fail("bad number");
    pos_ += static_cast<size_t>(end - begin);
    return value;
  }

  // The description is UTF-8; texts are decoded to UTF-16.
  std::wstring QuotedText() {
    ++pos_;
    std::string raw;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      char c = text_[pos_++];
      if (c == '\n') Fail("line break inside a text");
      if (c == '\\') {
        if (pos_ == text_.size()) break;
        const char e = text_[pos_++];
        c = e == 'n' ? '\n' : e;
        if (e != 'n' && e != '"' && e != '\\') Fail(std::string("unknown escape \\") + e);
      }
      raw += c;
    }
    Expect('"');
    std::wstring wide(raw.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()),
                                      wide.data(), static_cast<int>(wide.size()));
    if (n == 0 && !raw.empty()) Fail("text is not UTF-8");
    wide.resize(static_cast<size_t>(n));
    return wide;
  }

  std::string Word() {
    SkipBlank();
    const size_t start = pos_;
    while (pos_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[pos_])) ||
                                   text_[pos_] == '_' || text_[pos_] == '.'))
      ++pos_;
    if (pos_ == start) Fail("a name was expected");
    return std::string(text_.substr(start, pos_ - start));
  }

  bool PeekWord(std::string_view word) const {
    if (text_.substr(pos_, word.size()) != word) return false;
    const size_t after = pos_ + word.size();
    return after == text_.size() ||
           !(std::isalnum(static_cast<unsigned char>(text_[after])) || text_[after] == '_');
  }

  void Expect(char c) {
    if (pos_ >= text_.size() || text_[pos_] != c) Fail(std::string("'") + c + "' was expected");
    ++pos_;
  }

  void SkipBlank() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '#') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else {
        return;
      }
    }
  }

  [[noreturn]] void Fail(const std::string& what) const { throw ELayoutError(line_, what); }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

std::wstring Widen(std::string_view ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

ELayoutError::ELayoutError(int line, std::string_view what)
    : Exception(L"Layout line " + std::to_wstring(line) + L": " + Widen(what)) {}

void TLayoutProperty::Fail(const std::string& what) const {
  throw ELayoutError(line, name + ": " + what);
}

void TLayoutNode::Fail(const std::string& what) const {
  throw ELayoutError(line, what);
}

int TLayoutProperty::Int() const {
  if (const int* v = std::get_if<int>(&value)) return *v;
  Fail("a number was expected");
}

bool TLayoutProperty::Bool() const {
  const std::string& word = Ident();
  if (word == "True") return true;
  if (word == "False") return false;
  Fail("True or False was expected");
}

const std::wstring& TLayoutProperty::Text() const {
  if (const auto* v = std::get_if<std::wstring>(&value)) return *v;
  Fail("a text was expected");
}

const std::string& TLayoutProperty::Ident() const {
  if (const auto* v = std::get_if<TLayoutIdent>(&value)) return v->name;
  Fail("a name was expected");
}

const TLayoutSet& TLayoutProperty::Set() const {
  if (const auto* v = std::get_if<TLayoutSet>(&value)) return *v;
  Fail("a set was expected");
}

TLayoutNode ParseLayout(std::string_view text) {
  return Parser(text).Document();
}
