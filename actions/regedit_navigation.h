#pragma once
// Shows a registry key in the Registry Editor by driving the editor from outside, the way a user
// at the keyboard would: find (or start) the editor, walk its key tree up to the top with
// left-arrow presses, type the key path one name at a time (a right arrow opens each key before
// the next name is typed), then type the value name into the value list. All input is sent as
// window messages to the editor's child windows; the user's keyboard is not involved.

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

// What the navigation needs to know about the system it runs on.
struct RegEditTarget {
  EditorKind editor = EditorKind::kWindows;
  // This 32-bit program runs on a 64-bit system (WOW64). The keys it reads under
  // HKEY_LOCAL_MACHINE\Software come from the 32-bit view, which the 64-bit editor shows under
  // HKEY_LOCAL_MACHINE\Software\Wow6432Node.
  bool wow64 = false;
};

// The target as the running system is.
RegEditTarget CurrentRegEditTarget();

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
// How long to wait for a freshly started editor.
inline constexpr DWORD kEditorStartLimit = 10000;
// How long the editor may take over one message before the navigation gives up on it.
inline constexpr DWORD kEditorAnswerLimit = 5000;

// The keystrokes, as plain data.
KeystrokePlan CollapsePlan();
KeystrokePlan KeyPathPlan(std::wstring_view path, EditorKind editor);
KeystrokePlan ValueNamePlan(std::wstring_view valueName, EditorKind editor);

// "\" followed by the text, unless it is empty or begins with "\" already.
std::wstring AddLeadingBackslash(std::wstring_view text);

// The path under which the editor shows `keyPath` (hive name first): under WOW64, a key below
// HKEY_LOCAL_MACHINE\Software\ that is not already below its Wow6432Node is shown below
// HKEY_LOCAL_MACHINE\Software\Wow6432Node\. The rest of the path is kept as given.
std::wstring EditorKeyPath(std::wstring_view keyPath, bool wow64);

// Sends the plan's messages to `window`, each as SendMessageW would but giving up on an editor
// that takes longer than kEditorAnswerLimit over one, and sleeps through the plan's pauses. False
// when the editor stopped answering; the rest of the plan is then not sent.
bool SendKeystrokes(HWND window, const KeystrokePlan& plan);

// The editor's main window, starting the editor when none is open; null if it does not show up.
HWND FindOrStartRegEdit();
// These three send their part of the navigation; false when the editor stopped answering.
bool CollapseToRoot(HWND tree);
bool TypeKeyPath(HWND tree, std::wstring_view path, EditorKind editor);
bool TypeValueName(HWND list, std::wstring_view valueName, EditorKind editor);

// Shows `keyPath` and selects `valueName` in the editor. False when no editor window could be
// found or started, or when the editor stopped answering; otherwise true, whatever the editor
// made of the keystrokes.
bool GotoRegistryKey(std::wstring_view keyPath, std::wstring_view valueName);
bool GotoRegistryKey(std::wstring_view keyPath, std::wstring_view valueName, const RegEditTarget& target);
