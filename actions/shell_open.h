#pragma once
// Hands folders and web addresses to the Windows shell, which opens them with the handler the
// user has set up (the file manager, the web browser).

#include <windows.h>

#include <string>
#include <string_view>

// The maker's web site, opened by the promotional link.
inline constexpr wchar_t kMakerWebAddress[] = L"https://www.caldwex.com/";

// Opens a path or address with the shell's "open" verb, without an owner window.
void ShellOpen(std::wstring_view pathOrAddress);

// The folder part of an uninstall command, taken from the raw text: everything before its last
// backslash or colon, or up to and including it where that is a colon, a leading backslash or
// the second of two (so "C:\" and "\\" stay whole). The empty text when there is neither.
std::wstring UninstallerFolder(std::wstring_view uninstallCommand);

// The Open Directory command: the folder of the uninstall command, cleaned up, opened by the
// shell. Where the cleaned text names an existing file rather than a folder (a command whose
// switches hold a path), the folder holding that file is opened instead; text that names no
// existing folder is not handed to the shell at all. So this command never starts a program.
void OpenUninstallerFolder(std::wstring_view uninstallCommand);

// True when `link` is a web address that may be handed to the shell: it begins with "http://" or
// "https://" in any letter case, and holds no double quote and no control character, which could
// break out of the browser's command line.
bool IsWebAddress(std::wstring_view link);

// Opens a web address with the shell's default verb, owned by `owner` (the application window).
void OpenWebAddress(HWND owner, std::wstring_view address);

// The promotional link's click: the maker's web site.
void OpenMakerWebSite(HWND owner);

// The help link's click: the entry's help link, only when it is a web address; a program path,
// a file: address or any other scheme from the registry is not opened.
void OpenHelpLink(HWND owner, std::wstring_view link);
