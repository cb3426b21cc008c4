#include "actions/regedit_navigation.h"

#include "base/system_libraries.h"
#include "base/unique_handle.h"

namespace {

constexpr wchar_t kEditorClass[] = L"RegEdit_RegEdit";
constexpr wchar_t kTreeClass[] = L"SysTreeView32";
constexpr wchar_t kListClass[] = L"SysListView32";
// How often a wait for a freshly started editor looks for its window.
constexpr DWORD kStartPollInterval = 50;
// How long to wait for a freshly started editor.
constexpr DWORD kEditorStartLimit = 10000;

bool RunsOnWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool HasClass(HWND window, const wchar_t* className) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return lstrcmpiW(name, className) == 0;
}

struct PartSearch {
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchPart(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<PartSearch*>(param);
  if (!HasClass(window, search.className)) return TRUE;
  search.found = window;
  return FALSE;
}

// The editor's child window of a class: a direct child as in Windows' editor, or else the first
// descendant, since Wine's editor keeps its tree and list inside a child window of its own.
HWND FindEditorPart(HWND editor, const wchar_t* className) {
  if (const HWND direct = FindWindowExW(editor, nullptr, className, nullptr)) return direct;
  PartSearch search{className, nullptr};
  EnumChildWindows(editor, MatchPart, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits, for at most kEditorStartLimit in all, until the editor is ready for input. On a 64-bit
// system "regedit.exe" started from this 32-bit program may be a launcher that starts the 64-bit
// editor and waits for it, so that it never becomes ready for input itself, or one that has ended
// already. So the wait also ends when the editor's window appears, and then waits for the
// window's own process, which on a fresh start is still setting its window up.
void WaitForEditor(HANDLE started) {
  const DWORD begin = GetTickCount();
  const auto remaining = [begin] {
    const DWORD spent = GetTickCount() - begin;
    return spent < kEditorStartLimit ? kEditorStartLimit - spent : 0;
  };
  HWND editor = nullptr;
  while (!(editor = FindWindowW(kEditorClass, nullptr)) && remaining() > 0) {
    const DWORD result = WaitForInputIdle(started, kStartPollInterval);
    if (result == 0) return;
    if (result == WAIT_FAILED) Sleep(kStartPollInterval);
  }
  if (!editor) return;
  DWORD processId = 0;
  GetWindowThreadProcessId(editor, &processId);
  const UniqueKernelHandle editorProcess(
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (editorProcess) WaitForInputIdle(editorProcess.Get(), remaining());
}

bool Answers(HWND editor) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(editor, WM_NULL, 0, 0, SMTO_NORMAL, kEditorAnswerLimit, &ignored) != 0;
}

// Sends one message and waits until the editor has handled it, for at most kEditorAnswerLimit.
// False only when the editor did not answer in time; a message to a window that is not there
// (a tree or list that was not found) is lost as it would be with SendMessageW.
bool SendToEditor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR ignored = 0;
  if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kEditorAnswerLimit, &ignored))
    return true;
  return GetLastError() != ERROR_TIMEOUT;
}

// Sends the plan's messages to `window`, each as SendMessageW would but giving up on an editor
// that takes longer than kEditorAnswerLimit over one, and sleeps through the plan's pauses. False
// when the editor stopped answering; the rest of the plan is then not sent.
bool SendKeystrokes(HWND window, const KeystrokePlan& plan) {
  for (const auto& step : plan) {
    switch (step.kind) {
      case Keystroke::Kind::kKeyDown:
        if (!SendToEditor(window, WM_KEYDOWN, step.code, step.lParam)) return false;
        break;
      case Keystroke::Kind::kChar:
        if (!SendToEditor(window, WM_CHAR, step.code, step.lParam)) return false;
        break;
      case Keystroke::Kind::kPause:
        Sleep(static_cast<DWORD>(step.code));
        break;
    }
  }
  return true;
}

}  // namespace

RegEditTarget CurrentRegEditTarget() {
  return {RunsOnWine() ? EditorKind::kWine : EditorKind::kWindows, RunsUnderWow64()};
}

HWND FindOrStartRegEdit() {
  if (const HWND editor = FindWindowW(kEditorClass, nullptr)) return editor;
  SHELLEXECUTEINFOW start = {};
  start.cbSize = sizeof(start);
  start.fMask = SEE_MASK_NOCLOSEPROCESS;
  start.lpVerb = L"open";
  start.lpFile = L"regedit.exe";
  start.nShow = SW_SHOWMAXIMIZED;
  syslib::ShellExecuteExW(&start);
  const UniqueKernelHandle process(start.hProcess);
  if (process) WaitForEditor(process.Get());
  return FindWindowW(kEditorClass, nullptr);
}

bool CollapseToRoot(HWND tree) {
  return SendKeystrokes(tree, CollapsePlan());
}

bool TypeKeyPath(HWND tree, std::wstring_view path, EditorKind editor) {
  SetForegroundWindow(tree);
  SetFocus(tree);
  return SendKeystrokes(tree, KeyPathPlan(path, editor));
}

bool TypeValueName(HWND list, std::wstring_view valueName, EditorKind editor) {
  SetForegroundWindow(list);
  SetFocus(list);
  return SendKeystrokes(list, ValueNamePlan(valueName, editor));
}

bool GotoRegistryKey(std::wstring_view keyPath, std::wstring_view valueName) {
  return GotoRegistryKey(keyPath, valueName, CurrentRegEditTarget());
}

bool GotoRegistryKey(std::wstring_view keyPath, std::wstring_view valueName, const RegEditTarget& target) {
  const HWND editor = FindOrStartRegEdit();
  // An editor that does not answer would hold this thread in ShowWindow or in the first key.
  if (!editor || !Answers(editor)) return false;
  ShowWindow(editor, SW_SHOWMAXIMIZED);
  SetForegroundWindow(editor);
  const HWND tree = FindEditorPart(editor, kTreeClass);
  if (!CollapseToRoot(tree)) return false;
  Sleep(kKeyPause);
  if (!TypeKeyPath(tree, AddLeadingBackslash(EditorKeyPath(keyPath, target.wow64)), target.editor))
    return false;
  const HWND list = FindEditorPart(editor, kListClass);
  return TypeValueName(list, valueName, target.editor);
}
