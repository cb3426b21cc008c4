#pragma once
// The layout description of a window: a tree of named objects, each with its properties in the
// order they are written (the order in which they are applied) and its nested objects.
//
//   object lblNO: TLabel          an object: name, class
//     Left = 176                  integer
//     Caption = "Total " "0"      text; adjacent texts are joined; \" \\ \n escapes
//     Transparent = True          identifier (booleans, colour and cursor names, handlers)
//     Font.Style = [fsBold]       set of identifiers
//   end
//   item Caption = "URL" Width = 200 end     an unnamed collection item (list columns)
//
// '#' starts a comment that runs to the end of the line.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/errors.h"

// A fault in a description, reported as "Layout line N: what".
class ELayoutError : public Exception {
 public:
  ELayoutError(int line, std::string_view what);
};

struct TLayoutIdent {
  std::string name;
  friend bool operator==(const TLayoutIdent&, const TLayoutIdent&) = default;
};
using TLayoutSet = std::vector<std::string>;
using TLayoutValue = std::variant<int, std::wstring, TLayoutIdent, TLayoutSet>;

struct TLayoutProperty {
  std::string name;
  TLayoutValue value;
  int line = 0;

  // Typed reads; each raises ELayoutError naming the property and line on a type mismatch.
  int Int() const;
  bool Bool() const;
  const std::wstring& Text() const;
  const std::string& Ident() const;
  const TLayoutSet& Set() const;
  [[noreturn]] void Fail(const std::string& what) const;
};

struct TLayoutNode {
  std::string name;       // empty for collection items
  std::string className;  // "item" for collection items
  std::vector<TLayoutProperty> properties;
  std::vector<TLayoutNode> children;
  int line = 0;

  [[noreturn]] void Fail(const std::string& what) const;
};

// Parses a whole description, which holds exactly one top-level object.
TLayoutNode ParseLayout(std::string_view text);

std::wstring Widen(std::string_view ascii);
