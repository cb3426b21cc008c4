#pragma once
// The system DLLs the program uses that are not among Windows' known DLLs: the common controls,
// oleacc and uxtheme. (Blending needs no msimg32: its AlphaBlend is gdi32's GdiAlphaBlend, which
// the program imports, and one DLL fewer to load at start.) For such a DLL Windows looks in the program's own
// folder first, and the program runs with administrator rights from the folder it was downloaded to, where
// anyone may have left a DLL of that name. So the program never imports from them: this file
// loads each from the system folder, on the first call of one of its functions, and nothing
// else loads a library.
//
// A library or function that is missing is reported once through the application's error path
// (its error box); the call, and every later one, then fails the way the system's function
// fails (a null handle, FALSE, E_FAIL), so that a paint does not report it again and again and
// no call from a COM client ever sees an exception.

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
// clang-format on

#include "base/unique_handle.h"

// Makes every later DLL load of the process, the system's own included (the shell, OLE,
// themes), search the system folder only, and takes the current folder out of the search.
// First thing at start. Where the system has neither call, there is nothing to restrict with.
void RestrictDllSearch();

// One system DLL, loaded from the system folder when a function of it is first asked for.
// Used on the thread that runs the windows.
class TSystemLibrary {
 public:
  explicit TSystemLibrary(const wchar_t* fileName) : fileName_(fileName) {}
  TSystemLibrary(const TSystemLibrary&) = delete;
  TSystemLibrary& operator=(const TSystemLibrary&) = delete;

  // The function's address, or nullptr when the library or the function is missing; the first
  // such miss of each is reported.
  FARPROC Function(const char* name);

 private:
  const wchar_t* fileName_;
  bool tried_ = false;
  UniqueModule module_;
};

// The functions, with the system's names and signatures.
namespace syslib {

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);

HRESULT AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID iid, void** object);
LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object);

BOOL IsThemeActive();

}  // namespace syslib
