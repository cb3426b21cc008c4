#pragma once
// Shows a registry key in the Registry Editor by driving the editor from outside, the way a user
// at the keyboard would: find (or start) the editor, walk its key tree up to the top with
// left-arrow presses, type the key path one name at a time (a right arrow opens each key before
// the next name is typed), then type the value name into the value list. All input is sent as
// window messages to the editor's child windows; the user's keyboard is not involved.

#include <windows.h>

#include <string_view>

#include "actions/regedit_keystrokes.h"

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

// How long the editor may take over one message before the navigation gives up on it.
inline constexpr DWORD kEditorAnswerLimit = 5000;

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
