#include "tests/support/other_windows.h"

#include <commctrl.h>

namespace testsupport {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD intervalMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(intervalMs);
  }
}

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::vector<HWND> VisibleWindows(DWORD processId, std::wstring_view className, bool visibleOnly) {
  struct Search {
    DWORD processId;
    std::wstring_view className;
    bool visibleOnly;
    std::vector<HWND> found;
  } search{processId, className, visibleOnly, {}};
  // A lambda converts only to a plain function pointer, not to the 32-bit build's stdcall one.
  struct Visit {
    static BOOL CALLBACK Window(HWND window, LPARAM context) {
      auto& s = *reinterpret_cast<Search*>(context);
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if ((!s.visibleOnly || IsWindowVisible(window)) && (s.processId == 0 || owner == s.processId) &&
          (s.className.empty() || ClassName(window) == s.className))
        s.found.push_back(window);
      return TRUE;
    }
  };
  EnumWindows(&Visit::Window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return text;
}

HWND FindDescendant(HWND parent, std::wstring_view className) {
  struct Search {
    std::wstring_view className;
    HWND found;
  } search{className, nullptr};
  struct Visit {
    static BOOL CALLBACK Window(HWND window, LPARAM context) {
      auto& s = *reinterpret_cast<Search*>(context);
      if (ClassName(window) != s.className) return TRUE;
      s.found = window;
      return FALSE;
    }
  };
  EnumChildWindows(parent, &Visit::Window, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int ListRowCount(HWND list, DWORD timeoutMs) {
  DWORD_PTR count = 0;
  if (!list || !SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &count))
    return -1;
  return static_cast<int>(count);
}

}  // namespace testsupport
