#include "tests/support/host_window.h"

namespace testsupport {

HostWindow::HostWindow() {
  static const ATOM atom = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CaldwexTestHost";
    return RegisterClassW(&wc);
  }();
  hwnd_ = CreateWindowExW(0, MAKEINTATOM(atom), L"test host", WS_OVERLAPPEDWINDOW, 0, 0, 900, 700, nullptr,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow() {
  DestroyWindow(hwnd_);
}

}  // namespace testsupport
