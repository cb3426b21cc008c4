#pragma once
// The real main window, built from the real layout, over an Uninstall key that each test
// imports, shown on the test display and driven with real mouse input (SendInput), so that
// the system produces the messages: moves, presses, double clicks, capture.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/user_input.h"

namespace testsupport {

class MainWindowFixture : public testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Builds the window, hidden, with the application's owner window and error report.
  void NewForm();
  // Builds the window and shows it (FormShow scans), then lets it paint.
  void Start();
  // Dispatches messages for about `ms` milliseconds.
  static void Pump(int ms = 60);

  // Pointer input at a point of the window's client area.
  POINT ToScreen(POINT client) const;
  void MoveTo(POINT client);
  void Press();
  void Release();
  void ClickAt(POINT client);
  // Moves the pointer off the window, to the screen's bottom-right corner.
  void MoveAway();
  // The centre of a list row, in the form's client coordinates.
  POINT RowPoint(int row) const;
  // A point of the list below its rows (with few rows), in the form's client coordinates.
  POINT ListEmptySpace() const;

  // The captions of the list's rows, top to bottom.
  std::vector<std::wstring> Captions() const;

  // The messages that the error box would have shown.
  std::vector<std::wstring> errors_;
  std::unique_ptr<TForm1> form_;
};

}  // namespace testsupport
