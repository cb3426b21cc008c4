#include "actions/launch.h"

#include <string>

#include "base/unique_handle.h"

int RunAndWait(std::wstring_view command, WORD show) {
  if (command.size() > kMaxCommandLength || command.find(L'\0') != std::wstring_view::npos) return -1;

  // CreateProcessW may write into the command line it is given, so it gets a writable copy sized
  // to the command.
  std::wstring commandLine(command);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  PROCESS_INFORMATION created = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &created)) {
    return -1;
  }
  const UniqueKernelHandle process(created.hProcess);
  const UniqueKernelHandle thread(created.hThread);

  // No time limit: the uninstaller runs as long as its user needs.
  WaitForSingleObject(process.Get(), INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.Get(), &exitCode);
  return static_cast<int>(exitCode);
}
