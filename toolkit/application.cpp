#include "toolkit/application.h"

#include "base/errors.h"
#include "base/system_libraries.h"
#include "toolkit/error_box.h"
#include "toolkit/form.h"

namespace {
constexpr wchar_t kApplicationClass[] = L"CaldwexApplication";
}

TApplication& Application() {
  static TApplication application;
  return application;
}

TApplication::TApplication() {
  // A system library that cannot be loaded is an error the user is told of, as any other.
  SetSystemLibraryReporter([](const std::wstring& message) {
    Application().HandleException(std::make_exception_ptr(Exception(message)));
  });
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
  // Under Wine the common controls, which the list and the image list need, take a third of the
  // time that building the main window does. The window made just now has brought the display
  // driver up, which they use as they load.
  libraryWarmUps_.emplace_back(std::initializer_list<const wchar_t*>{L"comctl32.dll"});
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (hwnd_) SetWindowTextW(hwnd_, title_.c_str());
}

TFormSite TApplication::FormSite() {
  return {hwnd_, [this](std::exception_ptr error) { HandleException(error); }, TScale::OfScreen()};
}

void TApplication::SetMainForm(TForm& form) {
  mainForm_ = &form;
  form.OnMinimizeRequest = [this] { Minimize(); };
  form.OnWindowDestroyed = [this, &form] {
    if (mainForm_ != &form) return;
    mainForm_ = nullptr;
    PostQuitMessage(0);
  };
}

void TApplication::DeliverMessage(MSG& message) {
  // The main form sees the keys pressed in it before the window with the focus does.
  if (message.message == WM_KEYDOWN && mainForm_ && mainForm_->PreviewKey(message)) return;
  // Tab moves between the main form's child windows as in a dialog.
  if (mainForm_ && IsWindow(mainForm_->Handle()) && IsDialogMessageW(mainForm_->Handle(), &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void TApplication::Run() {
  // OLE, which the input method loads when a window is first activated (some 5 ms of the first
  // show under Wine), loads beside the main form's first show, whose handler may wait on the
  // registry for a while; loaded earlier, it would hold up the building of the window.
  libraryWarmUps_.emplace_back(std::initializer_list<const wchar_t*>{L"ole32.dll"});
  if (hwnd_) ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  if (mainForm_) mainForm_->Show();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DeliverMessage(message);
}

bool TApplication::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    DeliverMessage(message);
  }
  return true;
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

std::optional<LRESULT> TApplication::OnSize(WPARAM kind) {
  if (kind == SIZE_RESTORED) Restored();
  return std::nullopt;
}

std::optional<LRESULT> TApplication::OnSysCommand(UINT command, WPARAM wParam, LPARAM lParam) {
  if (command != SC_RESTORE) return std::nullopt;
  const LRESULT result = DefWindowProcW(hwnd_, WM_SYSCOMMAND, wParam, lParam);
  Restored();
  return result;
}

std::optional<LRESULT> TApplication::OnActivate(WORD state) {
  // Activation of the taskbar button passes on to the main form.
  if (state == WA_INACTIVE || minimized_ || !mainForm_ || !IsWindowVisible(mainForm_->Handle()))
    return std::nullopt;
  SetActiveWindow(mainForm_->Handle());
  return 0;
}

LRESULT TApplication::OnClose() {
  // Closing from the taskbar closes the main form.
  if (mainForm_) mainForm_->Close();
  return 0;
}

std::optional<LRESULT> TApplication::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      return OnSize(wParam);
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wParam & 0xFFF0), wParam, lParam);
    case WM_ACTIVATE:
      return OnActivate(LOWORD(wParam));
    case WM_CLOSE:
      return OnClose();
    default:
      return std::nullopt;
  }
}
