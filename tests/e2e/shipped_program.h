#pragma once
// The shipped program, started as its own process and driven from outside the way a user
// drives it: real pointer and keyboard input at the places its layout gives its controls, and
// window messages to read what it shows. Its list lives in the other process, so list texts and
// rectangles are read through memory allocated there.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/unique_handle.h"
#include "tests/support/other_windows.h"
#include "tests/support/process_memory.h"
#include "toolkit/scale.h"

namespace testsupport {

// The controls' places in the program's window, from the layout compiled into the program, at
// the screen density the program runs at.
class ShippedLayout {
 public:
  ShippedLayout(const std::wstring& programPath, TScale scale);
  // The control's rectangle in the window's client coordinates; a name that the layout does not
  // hold is a test failure, and gives an empty rectangle.
  RECT Bounds(std::string_view controlName) const;

 private:
  struct Control {
    std::string name;
    RECT bounds;
  };
  std::vector<Control> controls_;
};

// Sets the screen density that programs started from now on find (the prefix's LogPixels), and
// puts back the one before when it goes.
class ScreenDensity {
 public:
  explicit ScreenDensity(int dpi);
  ~ScreenDensity();
  ScreenDensity(const ScreenDensity&) = delete;
  ScreenDensity& operator=(const ScreenDensity&) = delete;

 private:
  std::vector<BYTE> before_;  // the value's data, empty when there was none
};

// The program this build made, as a Windows path.
std::wstring ShippedProgramPath();

class ShippedProgram {
 public:
  // Starts the program and waits until its window is shown, or a dialog in its place (an error
  // box while the window is being shown) within `startLimitMs`; failure to do so is a test
  // failure (see Started()). The first scan runs before the window is shown. `scale` is the
  // screen density that the program will find (see ScreenDensity).
  explicit ShippedProgram(TScale scale = {}, DWORD startLimitMs = 20000);
  // The same for a copy of the program at `programPath`.
  explicit ShippedProgram(const std::wstring& programPath, TScale scale = {}, DWORD startLimitMs = 20000);
  // Closes the error boxes and the window if still there, and ends the process if it hangs.
  ~ShippedProgram();
  ShippedProgram(const ShippedProgram&) = delete;
  ShippedProgram& operator=(const ShippedProgram&) = delete;

  bool Started() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  DWORD ProcessId() const { return processId_; }
  const ShippedLayout& Layout() const { return layout_; }
  // Whether the process is still there, and whether its window answers a message within `ms`.
  bool Running() const;
  bool Answers(DWORD ms = 2000) const;
  // Waits up to `ms` until the window stops answering at once: a command it was given runs on the
  // window's thread. A click may still wait in the program's input queue, and a sent message is
  // answered ahead of it, so Answers alone, right after a click, may answer before the command.
  bool BusyWithin(DWORD ms) const;
  // Clicks a control whose command takes a while (a rescan), and waits until the command has
  // begun and then until the window answers again, for at most `ms`.
  bool RunLongCommand(std::string_view controlName, DWORD ms) const;
  // Waits for the process to end; its exit code, or STILL_ACTIVE if it did not end.
  DWORD WaitForExit(DWORD timeoutMs);
  // The process's working set and private bytes now.
  TProcessMemory Memory() const { return ProcessMemory(process_.Get()); }
  // The full paths of the modules the process has loaded now, the program's own first.
  std::vector<std::wstring> LoadedModules() const;

  // Pointer input at a point of the window's client area.
  void Click(POINT client) const;
  void RightClick(POINT client) const;
  void DoubleClick(POINT client) const;
  // A left click at the centre of a control that the layout names.
  void ClickControl(std::string_view controlName) const;
  // Whether a click at the control's centre would reach this program's window, and no other
  // program's window that covers it.
  bool ReachableAt(std::string_view controlName) const;
  // Clicks into the search box and types `text`.
  void TypeIntoSearch(std::wstring_view text) const;
  std::wstring SearchText() const;

  // The list as shown.
  int RowCount() const;
  // The count label's text. The label has no window of its own, so it is read as a screen reader
  // reads it: the first child of the window's accessible object. Empty if that cannot be read.
  std::wstring CountText() const;
  std::wstring Cell(int row, int column) const;
  std::vector<std::wstring> Names() const;
  int RowOf(std::wstring_view name) const;  // -1 when no row has that name
  int SelectedRow() const;                  // -1 without one
  // The first row shown, and a scroll of the list by whole rows.
  int TopRow() const;
  void ScrollRows(int rows) const;
  // The names of every child of the window's accessible object, in order, as a screen reader
  // reads them; empty for a child without a name, and none if the object cannot be read.
  std::vector<std::wstring> AccessibleNames() const;
  // What the system tells the window when it has come to a screen of `dpi`: WM_DPICHANGED with
  // the rectangle it suggests. Returns when the window has handled it.
  void SendDpiChanged(int dpi, const RECT& suggested) const;
  // The centre of a row's name, in the window's client coordinates.
  POINT RowPoint(int row) const;
  // Clicks a row and waits until it is the selected one.
  bool SelectRow(int row) const;

  // The program's error boxes and other dialogs that are shown now.
  std::vector<HWND> Dialogs() const;
  // Waits for a dialog; nullptr if none came within `timeoutMs`.
  HWND WaitForDialog(DWORD timeoutMs) const;
  // A message box's text (its static text control).
  static std::wstring DialogText(HWND dialog);
  // Presses a dialog's button by message; false when it has no such button.
  static bool PressButton(HWND dialog, int buttonId);

 private:
  // The pause that lets the program handle one piece of input before the next.
  static constexpr DWORD kInputPause = 80;
  HWND List() const;
  // Moves the pointer to a point of the screen. A press at the place of the previous one waits
  // out the double-click time first: the program takes a quick second press as a double click,
  // which is not a click.
  void PointAt(POINT client) const;
  // Exchanges `size` bytes with the program's memory around one message to the list.
  LRESULT ListMessage(UINT message, WPARAM wParam, void* data, size_t size) const;

  ShippedLayout layout_;
  UniqueKernelHandle process_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
  mutable POINT lastPress_ = {-1, -1};
  mutable DWORD lastPressTime_ = 0;
};

}  // namespace testsupport
