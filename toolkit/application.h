#pragma once
// The application: its title, the hidden application window that owns the main form and
// carries the taskbar button, the message loop, the minimise of the whole application, and
// the error box for anything that escapes a handler.

#include <windows.h>

#include <exception>
#include <functional>
#include <list>
#include <optional>
#include <string>

#include "base/system_libraries.h"
#include "toolkit/form_site.h"
#include "toolkit/window_base.h"

class TForm;

class TApplication : public TWindowBase<TApplication> {
 public:
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Creates the application window, and starts loading the common controls beside the building
  // of the first window. Forms created before this have no owner.
  void Initialize();
  // What a form of this application is built with: the application window as its owner, and
  // the error box for what escapes its handlers.
  TFormSite FormSite();

  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title);

  // The form that the application shows first and whose end ends the message loop. The
  // application lets go of it when its window is destroyed.
  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm& form);

  // Shows the main form and dispatches messages until the main form closes. OLE loads beside the
  // main form's first show.
  void Run();
  // Dispatches the messages waiting now and returns.
  // Returns false when the loop's end message was among them; it is left in the queue.
  bool ProcessMessages();

  // Hides the application's windows together with its taskbar button; restoring the
  // taskbar button shows them again as they were.
  void Minimize();
  bool Minimized() const { return minimized_; }

  // Reports an error that escaped a handler, then the program carries on.
  void HandleException(std::exception_ptr error) noexcept;
  // When set, receives the message instead of the error box.
  std::function<void(const std::wstring& message)> OnException;

 private:
  friend class TWindowBase<TApplication>;
  std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ReportError(std::exception_ptr error) noexcept { HandleException(error); }
  std::optional<LRESULT> OnSize(WPARAM kind);
  std::optional<LRESULT> OnSysCommand(UINT command, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnActivate(WORD state);
  LRESULT OnClose();
  void Restored();
  void DeliverMessage(MSG& message);

  std::wstring title_;
  TForm* mainForm_ = nullptr;
  bool minimized_ = false;
  std::list<TSystemLibraryWarmUp> libraryWarmUps_;
};

// The one application object of the program.
TApplication& Application();
