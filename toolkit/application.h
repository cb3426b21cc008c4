#pragma once
// The application: its title, the hidden application window that owns the main form and
// carries the taskbar button, the message loop, the minimise of the whole application, and
// the error box for anything that escapes a handler.

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

class TForm;

class TApplication {
 public:
  TApplication() = default;
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Creates the application window. Forms created before this have no owner.
  void Initialize();
  HWND Handle() const { return hwnd_; }

  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title);

  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm& form) { mainForm_ = &form; }
  // Called by a form that is being destroyed, so that the application never holds a dangling one.
  void FormDestroying(const TForm& form) {
    if (mainForm_ == &form) mainForm_ = nullptr;
  }

  // Shows the main form and dispatches messages until the main form closes.
  void Run();
  // Dispatches the messages waiting now and returns.
  void ProcessMessages();

  // Hides the application's windows together with its taskbar button; restoring the
  // taskbar button shows them again as they were.
  void Minimize();
  bool Minimized() const { return minimized_; }

  // Reports an error that escaped a handler, then the program carries on.
  void HandleException(std::exception_ptr error) noexcept;
  // When set, receives the message instead of the error box.
  std::function<void(const std::wstring& message)> OnException;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Restored();
  void Dispatch(MSG& message);

  HWND hwnd_ = nullptr;
  std::wstring title_;
  TForm* mainForm_ = nullptr;
  bool minimized_ = false;
};

// The one application object of the program.
TApplication& Application();
