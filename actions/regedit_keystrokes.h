#pragma once
// The keystrokes that drive the Registry Editor, as plain data: which messages the navigation
// sends to the editor's key tree and value list, in which order and with which pauses, and the
// key path as the editor shows it. Nothing here touches a window; regedit_navigation.h sends them.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// Whose Registry Editor "regedit.exe" starts: the two take typed characters differently.
enum class EditorKind {
  kWindows,
  // Wine's editor: its tree and list search only on characters that carry a key press's repeat
  // count, and they join characters typed less than 450 ms apart into one search.
  kWine,
};

// One message sent to an editor window, or a pause between messages.
struct Keystroke {
  enum class Kind { kKeyDown, kChar, kPause };
  Kind kind;
  WPARAM code;  // the virtual key, the UTF-16 unit, or the pause's milliseconds
  LPARAM lParam = 0;
  bool operator==(const Keystroke&) const = default;
};
using KeystrokePlan = std::vector<Keystroke>;

// Left-arrow presses that bring the tree's selection back to its top, from up to ten levels down.
inline constexpr int kCollapsePresses = 20;
// The pause after the tree has been collapsed, after each right arrow, and before the value name.
inline constexpr DWORD kKeyPause = 100;
// The pause after each right arrow for Wine's editor: long enough that the next name starts a
// search of its own instead of continuing the previous one.
inline constexpr DWORD kWineSearchLapse = 500;
// The keystrokes of each part of the navigation.
KeystrokePlan CollapsePlan();
KeystrokePlan KeyPathPlan(std::wstring_view path, EditorKind editor);
KeystrokePlan ValueNamePlan(std::wstring_view valueName, EditorKind editor);

// "\" followed by the text, unless it is empty or begins with "\" already.
std::wstring AddLeadingBackslash(std::wstring_view text);

// The path under which the editor shows `keyPath` (hive name first): under WOW64, a key below
// HKEY_LOCAL_MACHINE\Software\ that is not already below its Wow6432Node is shown below
// HKEY_LOCAL_MACHINE\Software\Wow6432Node\. The rest of the path is kept as given.
std::wstring EditorKeyPath(std::wstring_view keyPath, bool wow64);
