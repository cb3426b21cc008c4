#pragma once
// Every system DLL the program calls beyond kernel32, user32, gdi32, advapi32 and the C runtime,
// loaded from the system folder on the first call of one of its functions, and nothing else
// loads a library but the warm-up below, from the same folder:
// - the common controls, oleacc and uxtheme, which are not among Windows' known DLLs: for such a
//   DLL Windows looks in the program's own folder first, and the program runs with administrator
//   rights from the folder it was downloaded to, where anyone may have left a DLL of that name;
// - OLE, OLE Automation and the shell, which are known DLLs but take some 12 ms to load under
//   Wine: a start whose entries have no icons needs neither the shell nor OLE Automation, nor COM
//   on its thread (the input method loads OLE itself when the window is first activated).
// (Blending needs no msimg32: its AlphaBlend is gdi32's GdiAlphaBlend, which the program imports.)
//
// A library or function that is missing is reported once through the reporter that the
// application sets (its error box); the call, and every later one, then fails the way the
// system's function fails (a null handle, FALSE, E_FAIL), so that a paint does not report it
// again and again and no call from a COM client ever sees an exception.

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
// clang-format on

#include <initializer_list>
#include <string>
#include <vector>

#include "base/unique_handle.h"

// Makes every later DLL load of the process, the system's own included (the shell, OLE,
// themes), search the system folder only, and takes the current folder out of the search.
// First thing at start. Where the system has neither call, there is nothing to restrict with.
void RestrictDllSearch();

// Where a missing library or function is reported; until it is set, nowhere.
using TSystemLibraryReporter = void (*)(const std::wstring& message);
void SetSystemLibraryReporter(TSystemLibraryReporter reporter);

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

// Loads system DLLs that the program is about to need, from the system folder, on a thread of its
// own while the caller goes on. The caller's own load of such a DLL (through `TSystemLibrary`, or
// the system's) then finds it loaded, or waits in the system's loader until it is. A load that
// fails here is left to the caller's own load to report. Waits for the thread when it ends, and
// keeps its own reference to each DLL until then.
class TSystemLibraryWarmUp {
 public:
  explicit TSystemLibraryWarmUp(std::initializer_list<const wchar_t*> fileNames);
  ~TSystemLibraryWarmUp();
  TSystemLibraryWarmUp(const TSystemLibraryWarmUp&) = delete;
  TSystemLibraryWarmUp& operator=(const TSystemLibraryWarmUp&) = delete;

 private:
  static DWORD WINAPI LoadAll(void* self);

  std::vector<const wchar_t*> fileNames_;
  std::vector<UniqueModule> modules_;  // written by the thread alone, until it has ended
  UniqueKernelHandle thread_;
};

// COM on the thread that runs the windows, a single-threaded apartment, which the shell's calls
// and the accessible objects want. It starts with the first of those calls rather than at start;
// the program's entry point holds this scope, which ends it.
class TComApartmentScope {
 public:
  TComApartmentScope() = default;
  ~TComApartmentScope();
  TComApartmentScope(const TComApartmentScope&) = delete;
  TComApartmentScope& operator=(const TComApartmentScope&) = delete;
};

// The functions, with the system's names and signatures. The shell's and oleacc's enter the COM
// apartment first.
namespace syslib {

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);

HRESULT AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID iid, void** object);
LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object);

BOOL IsThemeActive();

BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void VariantInit(VARIANTARG* variant);

DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT size, UINT flags);
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show);
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);

}  // namespace syslib
