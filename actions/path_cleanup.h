#pragma once
// Reduces the file references that uninstall entries store (icon references with an index,
// commands with switches, quoted paths, NT and SystemRoot prefixes) to a plain path, and looks
// up the shell icon that belongs to such a path.

#include <windows.h>

#include <string>
#include <string_view>

// The text without leading and trailing characters whose code unit is not above `limit`.
std::wstring TrimChars(std::wstring_view text, wchar_t limit);

// The Windows directory as the system reports it, or the empty text if the call fails.
std::wstring GetWindowsDir();

// The cleanup rules with the Windows directory given, so that they can be checked exhaustively.
std::wstring CleanPath(std::wstring_view text, std::wstring_view windowsDir);
// The cleanup rules with the system's Windows directory.
std::wstring CleanPath(std::wstring_view text);

// The shell's large icon for the cleaned path, as if a normal file of that name existed.
// The caller owns the returned handle; null when the shell has none.
HICON GetFileIcon(std::wstring_view iconReference);
