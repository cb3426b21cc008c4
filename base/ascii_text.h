#pragma once
// Text rules that know the ASCII letters only, so that they give the same answer on every system
// whatever its language settings: the search, the path cleanup and the Registry Editor's key
// names compare this way.

#include <string>
#include <string_view>

// Upper-cases the letters a to z only; every other code unit stays as it is.
inline std::wstring AsciiUpper(std::wstring_view text) {
  std::wstring result(text);
  for (auto& ch : result) {
    if (ch >= L'a' && ch <= L'z') ch = static_cast<wchar_t>(ch - L'a' + L'A');
  }
  return result;
}
