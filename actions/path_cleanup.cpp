#include "actions/path_cleanup.h"

#include "base/ascii_text.h"
#include "base/system_libraries.h"

namespace {

void CutBefore(std::wstring& text, std::wstring_view marker) {
  const auto at = text.find(marker);
  if (at != std::wstring::npos) text.erase(at);
}

void ReplaceFirst(std::wstring& text, std::wstring_view pattern, std::wstring_view replacement) {
  const auto at = text.find(pattern);
  if (at != std::wstring::npos) text.replace(at, pattern.size(), replacement);
}

}  // namespace

std::wstring TrimChars(std::wstring_view text, wchar_t limit) {
  size_t first = 0;
  while (first < text.size() && text[first] <= limit) ++first;
  if (first == text.size()) return {};
  size_t last = text.size();
  while (text[last - 1] <= limit) --last;
  return std::wstring(text.substr(first, last - first));
}

std::wstring GetWindowsDir() {
  wchar_t buffer[261] = {};
  if (GetWindowsDirectoryW(buffer, 261) == 0) return {};
  return buffer;
}

std::wstring CleanPath(std::wstring_view text, std::wstring_view windowsDir) {
  std::wstring path(text);
  CutBefore(path, L"/");  // switches such as /x{GUID}
  ReplaceFirst(path, L"\\SystemRoot", windowsDir);
  ReplaceFirst(path, L"\\??\\", L"");
  path = AsciiUpper(path);
  // After the upper-casing, so that any spelling of %SystemRoot% is caught; the directory keeps
  // its own letter case.
  ReplaceFirst(path, L"%SYSTEMROOT%", windowsDir);
  ReplaceFirst(path, L"%1", L"");
  CutBefore(path, L",");   // icon index
  CutBefore(path, L" -");  // switches such as -uninstall
  return TrimChars(path, L'"');
}

std::wstring CleanPath(std::wstring_view text) {
  return CleanPath(text, GetWindowsDir());
}

HICON GetFileIcon(std::wstring_view iconReference) {
  const std::wstring path = CleanPath(iconReference);
  SHFILEINFOW info = {};
  // With SHGFI_USEFILEATTRIBUTES the shell never touches the file: the icon follows the type
  // that the name denotes, so a missing file still gets one.
  syslib::SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                         SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
  return info.hIcon;
}
