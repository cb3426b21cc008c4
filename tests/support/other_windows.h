#pragma once
// Other processes' windows, found and read from outside by window messages only: what a driver
// of a program it started needs to wait for a window and read what its list shows.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// Polls `condition` every 50 ms (or `intervalMs`) until it holds or `timeoutMs` have passed;
// returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD intervalMs = 50);

// The top-level windows of one process (any process for 0) with the given class name (any class
// for an empty name): the visible ones, or all.
std::vector<HWND> VisibleWindows(DWORD processId, std::wstring_view className = {}, bool visibleOnly = true);

// A window's class name, and its text read by message (so across processes too).
std::wstring ClassName(HWND window);
std::wstring WindowText(HWND window);

// The first window of the class among all descendants of `parent`, or nullptr.
HWND FindDescendant(HWND parent, std::wstring_view className);

// The rows of a list view in any process, or -1 if it does not answer within `timeoutMs`.
int ListRowCount(HWND list, DWORD timeoutMs = 10000);

}  // namespace testsupport
