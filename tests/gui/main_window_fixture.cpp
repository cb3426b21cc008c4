#include "tests/gui/main_window_fixture.h"

#include "toolkit/application.h"

namespace testsupport {

void SendMouse(DWORD flags, LONG dx, LONG dy) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.dx = dx;
  input.mi.dy = dy;
  SendInput(1, &input, sizeof(input));
}

// Moves the pointer as the mouse does. Absolute positions are in 1/65536 of the screen; Wine
// maps them back by truncation, so round up to land on the very pixel.
void MovePointer(POINT screen) {
  const LONG width = GetSystemMetrics(SM_CXSCREEN);
  const LONG height = GetSystemMetrics(SM_CYSCREEN);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (screen.x * 65536 + width - 1) / width,
            (screen.y * 65536 + height - 1) / height);
}

void MainWindowFixture::SetUpTestSuite() {
  Application().Initialize();
  Application().SetTitle(L"Caldwex Uninstaller");
}

void MainWindowFixture::SetUp() {
  ClearUninstallKey();
  Application().OnException = [this](const std::wstring& message) { errors_.push_back(message); };
  MoveAway();
}

void MainWindowFixture::TearDown() {
  MoveAway();
  form_.reset();
  Pump();
  // A closed main window leaves the loop's end message behind; it must not reach the next test.
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  Application().OnException = nullptr;
  ClearUninstallKey();
}

void MainWindowFixture::Start() {
  form_ = std::make_unique<TForm1>();
  Application().SetMainForm(*form_);
  form_->Show();
  Pump(200);
}

void MainWindowFixture::Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

POINT MainWindowFixture::ToScreen(POINT client) const {
  ClientToScreen(form_->Handle(), &client);
  return client;
}

void MainWindowFixture::MoveTo(POINT client) {
  MovePointer(ToScreen(client));
  // Onto a child window the form learns of the leave by polling; give it time.
  Pump(ChildWindowFromPoint(form_->Handle(), client) != form_->Handle() ? 250 : 60);
}

void MainWindowFixture::Press() {
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Pump();
}

void MainWindowFixture::Release() {
  SendMouse(MOUSEEVENTF_LEFTUP);
  Pump();
}

void MainWindowFixture::ClickAt(POINT client) {
  MoveTo(client);
  Press();
  Release();
}

void MainWindowFixture::MoveAway() {
  MovePointer({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
  // Leaving the window is noticed by polling, not by a message of the pointer's.
  Pump(250);
}

}  // namespace testsupport
