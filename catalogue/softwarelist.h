#pragma once
// The software catalogue: scans the machine-wide Uninstall key into the entry list.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

class TListView;
class TImageList;

// Where the scan reads, under HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr wchar_t kUninstallKeyRoot[] = L"HKEY_LOCAL_MACHINE\\";

// The positions of an entry row's sub-items.
enum SubItem : int {
  kSubPublisher = 0,
  kSubVersion = 1,
  kSubHelpLink = 2,
  kSubUninstall = 3,
  kSubKeyPath = 4,
  kSubIcon = 5,
  kSubItemCount = 6,
};

// Reads a text value by the scan's rules: a missing or empty value reads as empty text; the
// text ends at the first NUL; types other than plain and expandable strings, and a data read
// that fails, raise ERegistryException.
std::wstring ReadRegistryText(HKEY key, const std::wstring& valueName);

// Points where tests can step in between two registry calls, to arrange the races that real
// installers can cause (a key deleted after enumeration, a value rewritten after its size was
// queried), and the icon lookup itself.
struct ScanSeams {
  std::function<void(const std::wstring& subkeyName)> beforeOpenEntry;
  std::function<void(HKEY key, const std::wstring& valueName)> beforeReadData;
  std::function<HICON(std::wstring_view iconReference)> iconLookup;
};

// Replaces the rows of `list` with one row per Uninstall subkey that has a display name, in
// enumeration order, and appends one image to `images` per row with an icon reference.
void ScanUninstallEntries(TListView& list, TImageList& images);
void ScanUninstallEntries(TListView& list, TImageList& images, const ScanSeams& seams);
