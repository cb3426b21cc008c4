#pragma once
// Reads the machine-wide Uninstall key: one entry per subkey that has a display name, in the
// order the registry enumerates them. It needs no window; the list is filled from it.

#include <windows.h>

#include <functional>
#include <string>

// Where the entries are, under HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr wchar_t kUninstallKeyRoot[] = L"HKEY_LOCAL_MACHINE\\";

// One entry's texts as stored, unexpanded. keyPath is the entry's full key path from its root
// key's name.
struct TUninstallEntry {
  std::wstring displayName;
  std::wstring publisher;
  std::wstring version;
  std::wstring helpLink;
  std::wstring uninstall;
  std::wstring keyPath;
  std::wstring icon;
  friend bool operator==(const TUninstallEntry&, const TUninstallEntry&) = default;
};

// Points where tests can step in between two registry calls, to arrange the races that real
// installers can cause: a key deleted after enumeration, a value rewritten after its size was
// queried.
struct TEntrySeams {
  std::function<void(const std::wstring& subkeyName)> beforeOpenEntry;
  std::function<void(HKEY key, const std::wstring& valueName)> beforeReadData;
};

// Hands each entry to `visit` as soon as it is read, to keep or take apart. Every value of an entry is read
// before its display name decides whether it counts, so a bad value stops the reading even in an unnamed
// entry; the entries before the error have been handed over by then. A missing Uninstall key
// gives no entries (and is not created); a subkey gone since the enumeration is skipped.
void ReadUninstallEntries(const std::function<void(TUninstallEntry&&)>& visit, const TEntrySeams& seams = {});
