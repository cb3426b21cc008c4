#include "base/system_libraries.h"

#include <uxtheme.h>

#include <utility>

namespace {

// A kernel32 function that older systems lack, looked up by name.
template <typename Pointer>
Pointer KernelFunction(const char* name) {
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  // Through a pointer to a function without parameters, which converts to any other.
  return kernel32 ? reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(GetProcAddress(kernel32, name)))
                  : nullptr;
}

// Windows 7 without its 2011 loader update knows neither the LOAD_LIBRARY_SEARCH_* flags nor
// the calls that came with them; AddDllDirectory is the one the documentation says to test.
bool HasSearchFlags() {
  return KernelFunction<FARPROC>("AddDllDirectory") != nullptr;
}

std::wstring SystemFolderPath(const wchar_t* fileName) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\" + fileName;
}

HMODULE LoadFromSystemFolder(const wchar_t* fileName) {
  if (HasSearchFlags()) return LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // A full path is loaded from there and nowhere else; the altered search path makes the
  // library's own dependencies come from its folder too.
  const std::wstring path = SystemFolderPath(fileName);
  return path.empty() ? nullptr : LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

TSystemLibraryReporter reporter = nullptr;

void Report(const std::wstring& message) {
  if (reporter) reporter(message);
}

std::wstring Widened(const char* ascii) {
  std::wstring text;
  for (const char* c = ascii; *c; ++c) text += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  return text;
}

// One function of a library, looked up on its first call.
template <typename Pointer>
class TSystemFunction {
 public:
  TSystemFunction(TSystemLibrary& library, const char* name) : library_(library), name_(name) {}

  Pointer Get() {
    if (!tried_) {
      tried_ = true;
      pointer_ = reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(library_.Function(name_)));
    }
    return pointer_;
  }

 private:
  TSystemLibrary& library_;
  const char* name_;
  bool tried_ = false;
  Pointer pointer_ = nullptr;
};

// The body of a function below: calls the system function of the same name, or returns
// `failed` where it is missing. The system's declaration gives the type, unevaluated, so the
// program holds no import of it.
#define CALL_SYSTEM_FUNCTION(library, System, failed, ...)                  \
  do {                                                                      \
    static TSystemFunction<decltype(&::System)> function(library, #System); \
    const auto call = function.Get();                                       \
    return call ? call(__VA_ARGS__) : failed;                               \
  } while (false)

// Each is loaded on the first call of one of its functions and freed as the program ends.
TSystemLibrary commonControls(L"comctl32.dll");
TSystemLibrary accessibility(L"oleacc.dll");
TSystemLibrary themes(L"uxtheme.dll");
TSystemLibrary ole(L"ole32.dll");
TSystemLibrary oleAutomation(L"oleaut32.dll");
TSystemLibrary shell(L"shell32.dll");

bool comTried = false;
bool comEntered = false;

void EnterComApartment() {
  if (std::exchange(comTried, true)) return;
  static TSystemFunction<decltype(&::CoInitializeEx)> initialize(ole, "CoInitializeEx");
  const auto call = initialize.Get();
  comEntered = call && SUCCEEDED(call(nullptr, COINIT_APARTMENTTHREADED));
}

}  // namespace

void RestrictDllSearch() {
  using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
  using TSetDllDirectory = BOOL(WINAPI*)(LPCWSTR);
  if (const auto setDefault = KernelFunction<TSetDefaultDllDirectories>("SetDefaultDllDirectories"))
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // An empty string removes the current folder from the search of the calls that still use it.
  if (const auto setDirectory = KernelFunction<TSetDllDirectory>("SetDllDirectoryW")) setDirectory(L"");
}

void SetSystemLibraryReporter(TSystemLibraryReporter report) {
  reporter = report;
}

TSystemLibraryWarmUp::TSystemLibraryWarmUp(std::initializer_list<const wchar_t*> fileNames)
    : fileNames_(fileNames) {
  modules_.reserve(fileNames_.size());
  // Without the thread, each DLL is simply loaded when first asked for.
  thread_.Reset(CreateThread(nullptr, 0, LoadAll, this, 0, nullptr));
}

TSystemLibraryWarmUp::~TSystemLibraryWarmUp() {
  if (thread_) WaitForSingleObject(thread_.Get(), INFINITE);
}

DWORD WINAPI TSystemLibraryWarmUp::LoadAll(void* self) {
  auto& warmUp = *static_cast<TSystemLibraryWarmUp*>(self);
  for (const wchar_t* fileName : warmUp.fileNames_)
    warmUp.modules_.emplace_back(LoadFromSystemFolder(fileName));
  return 0;
}

TComApartmentScope::~TComApartmentScope() {
  if (!std::exchange(comEntered, false)) return;
  static TSystemFunction<decltype(&::CoUninitialize)> uninitialize(ole, "CoUninitialize");
  if (const auto call = uninitialize.Get()) call();
}

FARPROC TSystemLibrary::Function(const char* name) {
  if (!tried_) {
    tried_ = true;
    module_.Reset(LoadFromSystemFolder(fileName_));
    const DWORD error = GetLastError();
    if (!module_) {
      Report(L"The system library " + std::wstring(fileName_) +
             L" could not be loaded from the system folder (error " + std::to_wstring(error) + L")");
    }
  }
  if (!module_) return nullptr;
  const FARPROC function = GetProcAddress(module_.Get(), name);
  if (!function)
    Report(L"The system library " + std::wstring(fileName_) + L" has no function " + Widened(name));
  return function;
}

namespace syslib {

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  CALL_SYSTEM_FUNCTION(commonControls, InitCommonControlsEx, FALSE, init);
}

HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow) {
  CALL_SYSTEM_FUNCTION(commonControls, ImageList_Create, nullptr, width, height, flags, initial, grow);
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  CALL_SYSTEM_FUNCTION(commonControls, ImageList_Destroy, FALSE, list);
}

HRESULT AccessibleObjectFromWindow(HWND window, DWORD objectId, REFIID iid, void** object) {
  EnterComApartment();
  CALL_SYSTEM_FUNCTION(accessibility, AccessibleObjectFromWindow, E_FAIL, window, objectId, iid, object);
}

LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) {
  EnterComApartment();
  CALL_SYSTEM_FUNCTION(accessibility, LresultFromObject, static_cast<LRESULT>(E_FAIL), iid, wParam, object);
}

BOOL IsThemeActive() {
  CALL_SYSTEM_FUNCTION(themes, IsThemeActive, FALSE);
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  CALL_SYSTEM_FUNCTION(oleAutomation, SysAllocStringLen, nullptr, text, length);
}

void VariantInit(VARIANTARG* variant) {
  static TSystemFunction<decltype(&::VariantInit)> function(oleAutomation, "VariantInit");
  if (const auto call = function.Get()) {
    call(variant);
  } else {
    variant->vt = VT_EMPTY;
  }
}

DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT size, UINT flags) {
  EnterComApartment();
  CALL_SYSTEM_FUNCTION(shell, SHGetFileInfoW, 0, path, attributes, info, size, flags);
}

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                        INT show) {
  EnterComApartment();
  CALL_SYSTEM_FUNCTION(shell, ShellExecuteW, nullptr, owner, verb, file, parameters, folder, show);
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
  EnterComApartment();
  CALL_SYSTEM_FUNCTION(shell, ShellExecuteExW, FALSE, info);
}

}  // namespace syslib
