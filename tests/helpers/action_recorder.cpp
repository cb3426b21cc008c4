// A stand-in for an uninstaller or a shell handler. It appends what it was started with to the
// file named by the environment variable CALDWEX_RECORD, one line per event:
//   start <tab> process id <tab> startup flags <tab> show state <tab> command line
//   end <tab> process id
// Switches anywhere on its command line:
//   /exit:N    exit with code N (default 0)
//   /sleep:MS  stay alive MS milliseconds before the end line
//   /spawn     start a second copy of itself (which stays alive 3 s) and end at once
//   /window    be a plain window program: make a window, show it with the show state it was
//              started with, as window programs do, and record whether it is visible:
//                window <tab> process id <tab> 1 or 0
//              It answers messages while it stays alive (/sleep), then closes it.
//   /removekey:NAME   delete the Uninstall entry NAME (the rest of the command line), as an
//                     uninstaller does on its way out
#include <windows.h>

#include <cwchar>
#include <string>
#include <string_view>

#include "base/unique_handle.h"

namespace {

void Append(const std::wstring& line) {
  wchar_t path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"CALDWEX_RECORD", path, MAX_PATH) == 0) return;
  const UniqueKernelHandle file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
}

// The number after `name` on the command line, or `fallback` when the switch is absent.
unsigned long Switch(std::wstring_view commandLine, std::wstring_view name, unsigned long fallback) {
  const auto at = commandLine.find(name);
  if (at == std::wstring_view::npos) return fallback;
  return std::wcstoul(commandLine.data() + at + name.size(), nullptr, 10);
}

void SpawnSecondCopy() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" /sleep:3000";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION created = {};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &created)) {
    CloseHandle(created.hThread);
    CloseHandle(created.hProcess);
  }
}

// Answers the window's messages until `milliseconds` have passed.
void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (DWORD elapsed = 0; elapsed < milliseconds; elapsed = GetTickCount() - start) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
}

void ShowWindowFor(HINSTANCE instance, int show, DWORD milliseconds, const std::wstring& pid) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"CaldwexRecorderWindow";
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Recorder", WS_OVERLAPPEDWINDOW, 100,
                                      100, 300, 200, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);
  Append(L"window\t" + pid + L"\t" + (IsWindowVisible(window) ? L"1" : L"0") + L"\n");
  PumpFor(milliseconds);
  DestroyWindow(window);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  const std::wstring_view commandLine = GetCommandLineW();
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  const std::wstring pid = std::to_wstring(GetCurrentProcessId());
  Append(L"start\t" + pid + L"\t" + std::to_wstring(startup.dwFlags) + L"\t" +
         std::to_wstring(startup.wShowWindow) + L"\t" + std::wstring(commandLine) + L"\n");

  if (commandLine.find(L"/spawn") != std::wstring_view::npos) SpawnSecondCopy();
  const DWORD stay = Switch(commandLine, L"/sleep:", 0);
  if (commandLine.find(L"/window") != std::wstring_view::npos)
    ShowWindowFor(instance, show, stay, pid);
  else
    Sleep(stay);
  if (const auto at = commandLine.find(L"/removekey:"); at != std::wstring_view::npos) {
    const std::wstring entry(commandLine.substr(at + std::wstring_view(L"/removekey:").size()));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                   (L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + entry).c_str());
  }
  Append(L"end\t" + pid + L"\n");
  return static_cast<int>(Switch(commandLine, L"/exit:", 0));
}
