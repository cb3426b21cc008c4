#include "toolkit/application.h"

#include "toolkit/error_box.h"
#include "toolkit/form.h"
#include "toolkit/window_object.h"

namespace {
constexpr wchar_t kApplicationClass[] = L"CaldwexApplication";
}

TApplication& Application() {
  static TApplication application;
  return application;
}

TApplication::~TApplication() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void TApplication::Initialize() {
  if (hwnd_) return;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kApplicationClass;
  // The taskbar shows the program's icon, when the module has one.
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  RegisterClassExW(&wc);
  // A captioned window of no size: invisible on the screen, yet it is the one that owns the
  // taskbar button, with the application's title, and that minimises and restores.
  hwnd_ = CreateWindowExW(0, kApplicationClass, title_.c_str(),
                          WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                          nullptr, nullptr, instance, this);
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (hwnd_) SetWindowTextW(hwnd_, title_.c_str());
}

void TApplication::Dispatch(MSG& message) {
  // Tab moves between the main form's child windows as in a dialog.
  if (mainForm_ && IsWindow(mainForm_->Handle()) && IsDialogMessageW(mainForm_->Handle(), &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void TApplication::Run() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  if (mainForm_) mainForm_->Show();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
}

void TApplication::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

void TApplication::Minimize() {
  if (!hwnd_) return;
  minimized_ = true;
  // Windows hides owned windows with their minimised owner; Wine does not, so hide them here
  // in a way that Restored() can undo.
  ShowOwnedPopups(hwnd_, FALSE);
  ShowWindow(hwnd_, SW_MINIMIZE);
}

void TApplication::Restored() {
  if (!minimized_) return;
  minimized_ = false;
  ShowOwnedPopups(hwnd_, TRUE);
  if (mainForm_) SetForegroundWindow(mainForm_->Handle());
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
  try {
    const std::wstring message = ExceptionMessage(error);
    if (OnException) {
      OnException(message);
    } else {
      ShowErrorBox(title_, message);
    }
  } catch (...) {
    // Reporting must not fail in turn; there is nobody left to tell.
  }
}

LRESULT TApplication::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_RESTORED) Restored();
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_RESTORE) {
        const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
        Restored();
        return result;
      }
      break;
    case WM_ACTIVATE:
      // Activation of the taskbar button passes on to the main form.
      if (LOWORD(wParam) != WA_INACTIVE && !minimized_ && mainForm_ && IsWindowVisible(mainForm_->Handle())) {
        SetActiveWindow(mainForm_->Handle());
        return 0;
      }
      break;
    case WM_CLOSE:
      // Closing from the taskbar closes the main form.
      if (mainForm_) mainForm_->Close();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK TApplication::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* application = WindowObject<TApplication>(hwnd, message, lParam);
  if (!application) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) application->hwnd_ = hwnd;
  try {
    return application->HandleMessage(message, wParam, lParam);
  } catch (...) {
    application->HandleException(std::current_exception());
    return 0;
  }
}
