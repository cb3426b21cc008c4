// Entry point: the application object with its title, the main window built from its layout,
// and the message loop until the window is closed.
#include <objbase.h>
#include <windows.h>

#include "app/main_window.h"
#include "toolkit/application.h"
#include "toolkit/error_box.h"
#include "toolkit/scale.h"
#include "toolkit/system_libraries.h"

namespace {

// The shell's icon lookup expects COM on the calling thread.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialized_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialized_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything loads a DLL: the program may sit in a folder where anyone could put one.
  RestrictDllSearch();
  DeclareDpiAware();
  const ComScope com;
  TApplication& application = Application();
  application.Initialize();
  application.SetTitle(L"Caldwex Uninstaller");
  try {
    TForm1 form(application.FormSite());
    application.SetMainForm(form);
    application.Run();
  } catch (...) {
    // Only a damaged layout gets here: the window could not be built.
    application.HandleException(std::current_exception());
    return 1;
  }
  return 0;
}
