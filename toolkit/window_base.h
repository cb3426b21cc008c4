#pragma once
// The pattern every window of ours follows: the object passed as the creation parameter is
// stored with its window at WM_NCCREATE, keeps the window's handle, and receives each message
// in its member HandleMessage, which returns the result of the messages it handles and nothing
// for the rest, which go to the system's default. An exception that a handler lets escape goes
// to the object's ReportError and never crosses into the system.
//
//   class TThing : public TWindowBase<TThing> {
//     std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
//     void ReportError(std::exception_ptr error) noexcept;
//   };
//   CreateWindowExW(..., this) with TWindowBase<TThing>::WindowProc as the class's procedure.

#include <windows.h>

#include <exception>
#include <optional>

template <typename Derived>
class TWindowBase {
 public:
  HWND Handle() const { return hwnd_; }

 protected:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* object = nullptr;
    if (message == WM_NCCREATE) {
      object = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
      object->hwnd_ = hwnd;
    } else {
      object = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    // Messages sent before WM_NCCREATE (WM_GETMINMAXINFO) find no object yet.
    if (!object) return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
      const std::optional<LRESULT> result = object->HandleMessage(message, wParam, lParam);
      return result ? *result : DefWindowProcW(hwnd, message, wParam, lParam);
    } catch (...) {
      object->ReportError(std::current_exception());
      return 0;
    }
  }

  HWND hwnd_ = nullptr;
};
