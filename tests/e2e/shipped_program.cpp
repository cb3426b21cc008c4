#include "tests/e2e/shipped_program.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "tests/e2e/remote_memory.h"
#include "tests/support/user_input.h"
#include "toolkit/form_accessible.h"
#include "toolkit/layout.h"
#include "toolkit/resource.h"

namespace testsupport {

std::wstring ShippedProgramPath() {
  std::wstring path = CALDWEX_PROGRAM;
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  return path;
}

ShippedLayout::ShippedLayout(const std::wstring& programPath, TScale scale) {
  const UniqueModule program(LoadLibraryExW(programPath.c_str(), nullptr,
                                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!program) throw std::runtime_error("cannot load the program's resources");
  const auto bytes = ResourceBytes(program.Get(), L"MAIN_WINDOW_LAYOUT");
  const TLayoutNode form = ParseLayout({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  for (const TLayoutNode& child : form.children) {
    RECT bounds = {};
    int found = 0;
    for (const TLayoutProperty& property : child.properties) {
      LONG* field = property.name == "Left"     ? &bounds.left
                    : property.name == "Top"    ? &bounds.top
                    : property.name == "Width"  ? &bounds.right
                    : property.name == "Height" ? &bounds.bottom
                                                : nullptr;
      if (field) *field = scale.Pixels(property.Int()), ++found;
    }
    if (found != 4) continue;  // components without a place: image lists, menus
    bounds.right += bounds.left;
    bounds.bottom += bounds.top;
    controls_.push_back({child.name, bounds});
  }
}

RECT ShippedLayout::Bounds(std::string_view controlName) const {
  for (const Control& control : controls_)
    if (control.name == controlName) return control.bounds;
  ADD_FAILURE() << "the layout has no control " << controlName;
  return {};
}

ShippedProgram::ShippedProgram(TScale scale, DWORD startLimitMs)
    : ShippedProgram(ShippedProgramPath(), scale, startLimitMs) {}

ShippedProgram::ShippedProgram(const std::wstring& programPath, TScale scale, DWORD startLimitMs)
    : layout_(programPath, scale) {
  std::wstring commandLine = L"\"" + programPath + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    ADD_FAILURE() << "cannot start " << testing::PrintToString(programPath) << ": error " << GetLastError();
    return;
  }
  process_.Reset(info.hProcess);
  CloseHandle(info.hThread);
  processId_ = info.dwProcessId;
  WaitUntil(
      [&] {
        const auto forms = VisibleWindows(processId_, L"CaldwexForm");
        window_ = forms.empty() ? nullptr : forms.front();
        return window_ != nullptr || !Dialogs().empty() || !Running();
      },
      startLimitMs);
  if (!window_ && !Dialogs().empty()) {
    const auto forms = VisibleWindows(processId_, L"CaldwexForm", false);
    window_ = forms.empty() ? nullptr : forms.front();
  }
  if (!window_) {
    ADD_FAILURE() << "the program showed no window within " << startLimitMs << " ms";
    return;
  }
  // The scan runs as the window is shown; once the window answers, it is done.
  Answers(startLimitMs);
  // The pointer starts off the window, so that no button is lit by accident.
  MovePointer({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
  Sleep(300);
}

ShippedProgram::~ShippedProgram() {
  if (!process_) return;
  for (int round = 0; round < 5 && Running(); ++round) {
    for (const HWND dialog : Dialogs()) PressButton(dialog, IDOK);
    if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.Get(), 1000) == WAIT_OBJECT_0) return;
  }
  if (Running()) TerminateProcess(process_.Get(), 1);
  WaitForSingleObject(process_.Get(), 5000);
}

bool ShippedProgram::Running() const {
  return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

bool ShippedProgram::Answers(DWORD ms) const {
  DWORD_PTR result = 0;
  return window_ && SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &result) != 0;
}

bool ShippedProgram::BusyWithin(DWORD ms) const {
  return WaitUntil([&] { return !Answers(20); }, ms, 5);
}

bool ShippedProgram::RunLongCommand(std::string_view controlName, DWORD ms) const {
  ClickControl(controlName);
  return BusyWithin(10000) && Answers(ms);
}

DWORD ShippedProgram::WaitForExit(DWORD timeoutMs) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(process_.Get(), &code);
  return code;
}

std::vector<std::wstring> ShippedProgram::LoadedModules() const {
  std::vector<HMODULE> modules(1024);
  DWORD needed = 0;
  if (!EnumProcessModulesEx(process_.Get(), modules.data(),
                            static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed, LIST_MODULES_ALL))
    return {};
  modules.resize(std::min<size_t>(modules.size(), needed / sizeof(HMODULE)));
  std::vector<std::wstring> paths;
  for (const HMODULE module : modules) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameExW(process_.Get(), module, path.data(), MAX_PATH));
    paths.push_back(path);
  }
  return paths;
}

void ShippedProgram::PointAt(POINT client) const {
  ClientToScreen(window_, &client);
  const DWORD since = GetTickCount() - lastPressTime_;
  if (std::abs(client.x - lastPress_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
      std::abs(client.y - lastPress_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) && since <= GetDoubleClickTime())
    Sleep(GetDoubleClickTime() - since + 50);
  MovePointer(client);
  lastPress_ = client;
  Sleep(kInputPause);
  lastPressTime_ = GetTickCount();
}

void ShippedProgram::Click(POINT client) const {
  PointAt(client);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(kInputPause);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Sleep(kInputPause);
}

void ShippedProgram::RightClick(POINT client) const {
  PointAt(client);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  Sleep(kInputPause);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  Sleep(kInputPause);
}

void ShippedProgram::DoubleClick(POINT client) const {
  PointAt(client);
  // Both clicks well within the double-click time, at the very same point.
  for (int click = 0; click < 2; ++click) {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  }
  Sleep(kInputPause);
}

void ShippedProgram::ClickControl(std::string_view controlName) const {
  const RECT bounds = layout_.Bounds(controlName);
  Click({(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2});
}

bool ShippedProgram::ReachableAt(std::string_view controlName) const {
  const RECT bounds = layout_.Bounds(controlName);
  POINT at = {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
  ClientToScreen(window_, &at);
  const HWND hit = WindowFromPoint(at);
  return hit && GetAncestor(hit, GA_ROOT) == window_;
}

void ShippedProgram::TypeIntoSearch(std::wstring_view text) const {
  ClickControl("edt1");
  TypeText(text);
  Sleep(kInputPause);
}

std::wstring ShippedProgram::SearchText() const {
  return WindowText(FindWindowExW(window_, nullptr, L"Edit", nullptr));
}

void ShippedProgram::SendDpiChanged(int dpi, const RECT& suggested) const {
  // The rectangle lives in the program's memory, where the system would have put it.
  const RemoteMemory remote(process_.Get(), sizeof(RECT));
  remote.Write(&suggested, sizeof(RECT));
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                           reinterpret_cast<LPARAM>(remote.Address()), SMTO_ABORTIFHUNG, 20000, &result))
    ADD_FAILURE() << "the window did not answer WM_DPICHANGED";
}

std::vector<HWND> ShippedProgram::Dialogs() const {
  return VisibleWindows(processId_, L"#32770");
}

HWND ShippedProgram::WaitForDialog(DWORD timeoutMs) const {
  HWND dialog = nullptr;
  WaitUntil(
      [&] {
        const auto dialogs = Dialogs();
        dialog = dialogs.empty() ? nullptr : dialogs.front();
        return dialog != nullptr;
      },
      timeoutMs);
  return dialog;
}

std::wstring ShippedProgram::DialogText(HWND dialog) {
  // A message box's text is its static control 0xFFFF.
  return WindowText(GetDlgItem(dialog, 0xFFFF));
}

bool ShippedProgram::PressButton(HWND dialog, int buttonId) {
  const HWND button = GetDlgItem(dialog, buttonId);
  if (!button) return false;
  return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button)) != 0;
}

}  // namespace testsupport
