// A DLL that someone left beside the program, under the name of a system DLL: when any process
// loads it, it writes <its own path>.loaded. Its exports (planted_dll.def) carry the names that
// the program once imported from the system DLLs it now loads itself, so that a program
// importing them would load this file and start.
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(instance, path.data(), MAX_PATH));
  const HANDLE marker = CreateFileW((path + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}

// What every export stands for: nothing is done, and the call fails.
extern "C" INT_PTR PlantedExport() {
  return 0;
}
