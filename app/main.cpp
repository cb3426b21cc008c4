// Entry point. The main window comes with the toolkit; until then the program scans the
// Uninstall key and reports what it found.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"Caldwex Uninstaller: the main window is not built yet.", L"Caldwex Uninstaller",
              MB_OK);
  return 0;
}
