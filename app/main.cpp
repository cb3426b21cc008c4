// Entry point: the application object with its title, the main window built from its layout,
// and the message loop until the window is closed.
#include <windows.h>

#include "app/main_window.h"
#include "base/system_libraries.h"
#include "toolkit/application.h"
#include "toolkit/error_box.h"
#include "toolkit/scale.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything loads a DLL: the program may sit in a folder where anyone could put one.
  RestrictDllSearch();
  DeclareDpiAware();
  // COM starts with the first shell call or accessibility client, and ends here.
  const TComApartmentScope com;
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
