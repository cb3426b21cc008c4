#pragma once
// A hidden top-level window that parents the controls a test builds.

#include <windows.h>

namespace testsupport {

class HostWindow {
 public:
  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_;
};

}  // namespace testsupport
