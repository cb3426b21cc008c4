#include "actions/shell_open.h"

#include "actions/path_cleanup.h"
#include "base/ascii_text.h"
#include "base/system_libraries.h"

namespace {

bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && AsciiUpper(text.substr(0, prefix.size())) == AsciiUpper(prefix);
}

enum class PathKind { kNothing, kFile, kFolder };

PathKind KindOf(const std::wstring& path) {
  if (path.empty()) return PathKind::kNothing;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kNothing;
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::kFolder : PathKind::kFile;
}

}  // namespace

void ShellOpen(std::wstring_view pathOrAddress) {
  const std::wstring file(pathOrAddress);
  syslib::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::wstring UninstallerFolder(std::wstring_view uninstallCommand) {
  const auto at = uninstallCommand.find_last_of(L"\\:");
  if (at == std::wstring_view::npos) return {};
  const bool keepsSeparator = uninstallCommand[at] == L':' || at == 0 || uninstallCommand[at - 1] == L'\\' ||
                              uninstallCommand[at - 1] == L':';
  return std::wstring(uninstallCommand.substr(0, keepsSeparator ? at + 1 : at));
}

void OpenUninstallerFolder(std::wstring_view uninstallCommand) {
  std::wstring folder = CleanPath(UninstallerFolder(uninstallCommand));
  // The shell opens a file by running it. A command whose switches hold a path, such as
  // `"C:\App\remove.exe" -u "C:\App\install.log"`, leaves the program's own path here; that
  // file's folder is what the user asked for.
  if (KindOf(folder) == PathKind::kFile) folder = UninstallerFolder(folder);
  // Anything else that is not a folder is not handed over: Wine's shell reads unquoted text such
  // as `C:\GS\UNINSTGS.EXE "C:\GS\FONTS` as a program and its arguments and runs it, and for a
  // path that does not exist Windows' shell has nothing to open either.
  if (KindOf(folder) == PathKind::kFolder) ShellOpen(folder);
}

bool IsWebAddress(std::wstring_view link) {
  if (!StartsWithIgnoringAsciiCase(link, L"http://") && !StartsWithIgnoringAsciiCase(link, L"https://")) {
    return false;
  }
  for (const wchar_t unit : link) {
    if (unit == L'"' || unit < 0x20 || unit == 0x7F) return false;
  }
  return true;
}

void OpenWebAddress(HWND owner, std::wstring_view address) {
  const std::wstring file(address);
  syslib::ShellExecuteW(owner, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenMakerWebSite(HWND owner) {
  OpenWebAddress(owner, kMakerWebAddress);
}

void OpenHelpLink(HWND owner, std::wstring_view link) {
  if (IsWebAddress(link)) OpenWebAddress(owner, link);
}
