#include "actions/regedit_keystrokes.h"

#include "base/ascii_text.h"

namespace {

Keystroke KeyDown(WPARAM key) {
  return {Keystroke::Kind::kKeyDown, key};
}
Keystroke Pause(DWORD milliseconds) {
  return {Keystroke::Kind::kPause, milliseconds};
}

// The lParam of a typed character. Windows' editor gets 0, as it always has. Wine's tree and list
// ignore a character whose lParam is 0, so they get the repeat count of 1 that a real key press
// carries.
Keystroke Char(wchar_t unit, EditorKind editor) {
  return {Keystroke::Kind::kChar, unit, editor == EditorKind::kWine ? 1 : 0};
}

}  // namespace

KeystrokePlan CollapsePlan() {
  return KeystrokePlan(kCollapsePresses, KeyDown(VK_LEFT));
}

KeystrokePlan KeyPathPlan(std::wstring_view path, EditorKind editor) {
  // Wine's tree would take a name typed within 450 ms of the previous one (the one before this
  // right arrow, or the last one of an earlier call) as its continuation.
  const DWORD pauseAfterRight = editor == EditorKind::kWine ? kWineSearchLapse : kKeyPause;
  KeystrokePlan plan;
  for (const wchar_t unit : path) {
    if (unit == L'\\') {
      plan.push_back(KeyDown(VK_RIGHT));
      plan.push_back(Pause(pauseAfterRight));
    } else {
      plan.push_back(Char(unit, editor));
    }
  }
  return plan;
}

KeystrokePlan ValueNamePlan(std::wstring_view valueName, EditorKind editor) {
  KeystrokePlan plan{Pause(kKeyPause), KeyDown(VK_HOME)};
  for (const wchar_t unit : AsciiUpper(valueName)) plan.push_back(Char(unit, editor));
  return plan;
}

std::wstring AddLeadingBackslash(std::wstring_view text) {
  if (text.empty() || text.front() == L'\\') return std::wstring(text);
  return L"\\" + std::wstring(text);
}

std::wstring EditorKeyPath(std::wstring_view keyPath, bool wow64) {
  std::wstring path(keyPath);
  if (!wow64) return path;
  constexpr std::wstring_view kSoftware = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\";
  constexpr std::wstring_view kNode = L"WOW6432NODE";
  const size_t start = path.starts_with(L'\\') ? 1 : 0;
  const std::wstring upper = AsciiUpper(path);
  const std::wstring_view fromHive = std::wstring_view(upper).substr(start);
  if (!fromHive.starts_with(kSoftware)) return path;
  const std::wstring_view belowSoftware = fromHive.substr(kSoftware.size());
  if (belowSoftware.starts_with(kNode) &&
      (belowSoftware.size() == kNode.size() || belowSoftware[kNode.size()] == L'\\')) {
    return path;
  }
  path.insert(start + kSoftware.size(), L"Wow6432Node\\");
  return path;
}
