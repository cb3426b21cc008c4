#include "tests/app/main_window_fixture.h"

#include <commctrl.h>

#include "catalogue/snapshot.h"
#include "toolkit/application.h"

namespace testsupport {

std::vector<std::wstring> MainWindowFixture::Captions() const {
  std::vector<std::wstring> captions;
  for (int row = 0; row < form_->lv1->RowCount(); ++row) captions.push_back(form_->lv1->Caption(row));
  return captions;
}

void MainWindowFixture::SetUpTestSuite() {
  Application().Initialize();
  Application().SetTitle(L"Caldwex Uninstaller");
}

void MainWindowFixture::SetUp() {
  // Each test is a program run of its own: the snapshot starts empty.
  FreeSnapshotRecords();
  SnapshotList.clear();
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
  NewForm();
  Application().SetMainForm(*form_);
  form_->Show();
  Pump(200);
}

void MainWindowFixture::NewForm() {
  form_ = std::make_unique<TForm1>(Application().FormSite());
}

void MainWindowFixture::Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    if (!Application().ProcessMessages()) return;
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

POINT MainWindowFixture::RowPoint(int row) const {
  RECT item = {};
  ListView_GetItemRect(form_->lv1->Handle(), row, &item, LVIR_LABEL);
  MapWindowPoints(form_->lv1->Handle(), form_->Handle(), reinterpret_cast<POINT*>(&item), 2);
  return {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
}

POINT MainWindowFixture::ListEmptySpace() const {
  RECT client = {};
  GetClientRect(form_->lv1->Handle(), &client);
  POINT point = {client.right / 2, client.bottom - 10};
  MapWindowPoints(form_->lv1->Handle(), form_->Handle(), &point, 1);
  return point;
}

void MainWindowFixture::MoveAway() {
  MovePointer({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
  // Leaving the window is noticed by polling, not by a message of the pointer's.
  Pump(250);
}

}  // namespace testsupport
