// The real main window after start-up: its shape and place, its owner, the count label, the
// stacking of its controls, minimise and close.

#include <gtest/gtest.h>

#include <thread>

#include "base/errors.h"
#include "tests/app/main_window_fixture.h"
#include "toolkit/application.h"

namespace testsupport {
namespace {

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, BorderlessRoundedWindowOwnedByTheApplicationAtTheDesktopCentre) {
  ImportRegFile(L"gui_entries.reg");
  Start();
  const HWND hwnd = form_->Handle();
  RECT window = {};
  GetWindowRect(hwnd, &window);
  EXPECT_EQ(window.right - window.left, 870);
  EXPECT_EQ(window.bottom - window.top, 619);
  // The test display is 1920 x 1440, large enough for the window at 200 %:
  // (1920 / 2 - 435, 1440 / 2 - 309).
  EXPECT_EQ(window.left, 525);
  EXPECT_EQ(window.top, 411);

  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME | WS_MAXIMIZEBOX), 0);
  EXPECT_NE(style & WS_POPUP, 0);
  RECT client = {};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 870);
  EXPECT_EQ(client.bottom, 619);
  EXPECT_TRUE(form_->DoubleBuffered());

  wchar_t caption[64] = {};
  GetWindowTextW(hwnd, caption, 64);
  EXPECT_STREQ(caption, L"Caldwex Uninstaller free 2.01");

  // The application window owns the main window and carries the title.
  const HWND owner = GetWindow(hwnd, GW_OWNER);
  EXPECT_EQ(owner, Application().Handle());
  GetWindowTextW(owner, caption, 64);
  EXPECT_STREQ(caption, L"Caldwex Uninstaller");

  // The region: a rectangle with corners rounded by an 11 x 11 ellipse.
  const UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetWindowRgn(hwnd, region.Get()), COMPLEXREGION);
  RECT box = {};
  GetRgnBox(region.Get(), &box);
  // A rounded-rectangle region leaves out its right and bottom edges.
  EXPECT_EQ(box.right - box.left, 869);
  EXPECT_EQ(box.bottom - box.top, 618);
  for (const POINT corner : {POINT{0, 0}, POINT{868, 0}, POINT{0, 617}, POINT{868, 617}, POINT{1, 1}})
    EXPECT_FALSE(PtInRegion(region.Get(), corner.x, corner.y)) << corner.x << "," << corner.y;
  for (const POINT inside : {POINT{5, 0}, POINT{0, 5}, POINT{3, 3}, POINT{435, 0}, POINT{864, 614}})
    EXPECT_TRUE(PtInRegion(region.Get(), inside.x, inside.y)) << inside.x << "," << inside.y;
}

TEST_F(MainWindowTest, LayoutBuildsEveryControlInCreationOrderWithItsStartState) {
  CreateEmptyUninstallKey();
  NewForm();
  std::vector<std::string> names;
  for (const TControl* control : form_->Controls()) names.push_back(control->Name());
  EXPECT_EQ(names,
            (std::vector<std::string>{"img2",         "lblNO",  "imgbtn2",    "img3",    "img1",
                                      "imgSoftIcon",  "lbl1",   "lbl3",       "lbl4",    "lblProgramsname",
                                      "lblPublisher", "lblURL", "lblVersion", "img4",    "img5",
                                      "img6",         "img7",   "imgbtn4",    "lbl2",    "lbl5",
                                      "lbl6",         "lbl7",   "imgbtnMix",  "imgbtn5", "lbl8"}));
  // Places as laid out; the background is sized by its picture.
  EXPECT_EQ(form_->img2->Width(), 870);
  EXPECT_EQ(form_->img2->Height(), 619);
  EXPECT_EQ(form_->img3->BoundsRect().bottom, 592);
  EXPECT_EQ(form_->img7->BoundsRect().right, 848);
  EXPECT_EQ(form_->lblNO->Width(), 345);
  EXPECT_EQ(form_->lblNO->Font().height, -19);
  // Only the details panel's name line shows at start, bold and wrapped over several lines.
  for (const TControl* hidden : std::initializer_list<const TControl*>{
           form_->img1, form_->imgSoftIcon, form_->lbl1, form_->lbl3, form_->lbl4, form_->lblPublisher,
           form_->lblURL, form_->lblVersion})
    EXPECT_FALSE(hidden->Visible()) << hidden->Name();
  EXPECT_TRUE(form_->lblProgramsname->Visible());
  EXPECT_TRUE(form_->lblProgramsname->Font().bold);
  EXPECT_EQ(form_->lblProgramsname->Width(), 534);
  EXPECT_GE(form_->lblProgramsname->Height(), 28);
  EXPECT_EQ(form_->lblURL->Cursor(), LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(form_->imgbtnMix->Cursor(), LoadCursorW(nullptr, IDC_ARROW));

  // The list: seven columns, hidden header row, the default image, the context menu.
  const int widths[] = {260, 110, 90, 200, 0, 0, 0};
  ASSERT_EQ(form_->lv1->ColumnCount(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(ListView_GetColumnWidth(form_->lv1->Handle(), i), widths[i]);
  EXPECT_NE(GetWindowLongW(form_->lv1->Handle(), GWL_STYLE) & LVS_NOCOLUMNHEADER, 0);
  EXPECT_EQ(form_->lv1->PopupMenu(), form_->pm1);
  EXPECT_EQ(form_->ImageListSofticon->Count(), 1);
  EXPECT_EQ(form_->ImageListSofticon->Width(), 20);
  ASSERT_EQ(form_->pm1->Count(), 5);
  EXPECT_EQ(form_->pm1->Item(2).Name(), "N1");
  EXPECT_TRUE(form_->pm1->Item(2).IsSeparator());
  EXPECT_EQ(form_->pm1->Item(4).Caption(), L"View Entry");
  // The list comes first in the keyboard order, before the search box.
  EXPECT_EQ(GetNextDlgTabItem(form_->Handle(), nullptr, FALSE), form_->lv1->Handle());
}

TEST_F(MainWindowTest, ShowScansBeforeTheWindowBecomesVisibleAndWritesTheTotal) {
  ImportRegFile(L"gui_entries.reg");
  NewForm();
  Application().SetMainForm(*form_);
  EXPECT_EQ(form_->lblNO->Caption(), L"0");
  EXPECT_EQ(form_->lv1->RowCount(), 0);
  bool visibleDuringShow = true;
  const TNotifyEvent show = form_->OnShow;
  form_->OnShow = [&](TObject& sender) {
    visibleDuringShow = IsWindowVisible(form_->Handle()) != FALSE;
    show(sender);
  };
  form_->Show();
  Pump();
  EXPECT_FALSE(visibleDuringShow);
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  EXPECT_EQ(form_->lv1->RowCount(), 14);
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 14 Softwares");
  EXPECT_EQ(form_->lv1->Caption(0), L"7-Zip 23.01");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(MainWindowTest, EmptyUninstallKeyShowsAnEmptyListAndTotalZero) {
  CreateEmptyUninstallKey();
  Start();
  EXPECT_EQ(form_->lv1->RowCount(), 0);
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 0 Softwares");
}

TEST_F(MainWindowTest, ScanErrorAtShowIsReportedAndTheWindowShowsTheRowsBeforeIt) {
  // The third entry holds a number where text belongs, which stops the scan.
  ImportRegFile(L"dword_version.reg");
  Start();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_FALSE(errors_[0].empty());
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  EXPECT_EQ(form_->lv1->RowCount(), 2);
  EXPECT_EQ(form_->lblNO->Caption(), L"0");
}

TEST_F(MainWindowTest, ErrorEscapingAClickHandlerReachesTheErrorBoxAndTheProgramCarriesOn) {
  CreateEmptyUninstallKey();
  Start();
  form_->img5->OnClick = [](TObject&) { throw ERegistryException(L"Registry read failed"); };
  ClickAt({520, 150});
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], L"Registry read failed");
  // The window still works: the next click is handled normally.
  int clicks = 0;
  form_->img5->OnClick = [&](TObject&) { ++clicks; };
  ClickAt({530, 150});  // away from the first click, so that it is no double click
  EXPECT_EQ(clicks, 1);
}

TEST_F(MainWindowTest, ControlsStackInCreationOrderAndHiddenOnesTakeNoEvents) {
  CreateEmptyUninstallKey();
  Start();
  // The caption over a header bar is on top of it; the bar shows beside the caption.
  const POINT onCaption = {form_->lbl5->Left() + 10, form_->lbl5->Top() + 7};
  const POINT besideCaption = {form_->lbl5->Left() + form_->lbl5->Width() + 20, 150};
  EXPECT_EQ(form_->ControlAtPos(onCaption), form_->lbl5);
  EXPECT_EQ(form_->ControlAtPos(besideCaption), form_->img5);
  int barClicks = 0;
  int captionClicks = 0;
  form_->img5->OnClick = [&](TObject&) { ++barClicks; };
  form_->lbl5->OnClick = [&](TObject&) { ++captionClicks; };
  ClickAt(onCaption);
  EXPECT_EQ(barClicks, 0);
  EXPECT_EQ(captionClicks, 1);
  ClickAt(besideCaption);
  EXPECT_EQ(barClicks, 1);

  // img1 is hidden: a click on its place reaches the details backdrop beneath it.
  const POINT onHiddenIcon = {form_->img1->Left() + 5, form_->img1->Top() + 5};
  EXPECT_EQ(form_->ControlAtPos(onHiddenIcon), form_->img3);
  int hiddenClicks = 0;
  int backdropClicks = 0;
  form_->img1->OnClick = [&](TObject&) { ++hiddenClicks; };
  form_->imgSoftIcon->OnClick = [&](TObject&) { ++hiddenClicks; };
  form_->img3->OnClick = [&](TObject&) { ++backdropClicks; };
  ClickAt(onHiddenIcon);
  EXPECT_EQ(hiddenClicks, 0);
  EXPECT_EQ(backdropClicks, 1);

  // Where nothing else lies, the background takes the pointer.
  EXPECT_EQ(form_->ControlAtPos({60, 300}), form_->img2);
  // Over the list, a child window, no windowless control is hovered.
  MoveTo({500, 300});
  EXPECT_EQ(form_->HoverControl(), nullptr);
  MoveTo({60, 300});
  EXPECT_EQ(form_->HoverControl(), form_->img2);
}

TEST_F(MainWindowTest, MinimiseHidesTheWindowWithTheApplicationAndRestoreNeedsNoRescan) {
  ImportRegFile(L"gui_entries.reg");
  Start();
  form_->lv1->Select(3);
  ClickAt({form_->imgbtnMix->Left() + 10, form_->imgbtnMix->Top() + 10});
  Pump(200);
  EXPECT_TRUE(Application().Minimized());
  EXPECT_TRUE(IsIconic(Application().Handle()));
  EXPECT_FALSE(IsWindowVisible(form_->Handle()));

  // A program installed meanwhile does not show up: restoring runs no scan.
  SetText(CreateEntryKey(L"Added Later").Get(), L"DisplayName", L"Added Later");
  ShowWindow(Application().Handle(), SW_RESTORE);
  Pump(200);
  EXPECT_FALSE(Application().Minimized());
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  EXPECT_EQ(form_->lv1->RowCount(), 14);
  EXPECT_EQ(form_->lv1->SelectedRow(), 3);
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 14 Softwares");
}

TEST_F(MainWindowTest, AllProgramsRescansAndWritesTheTotal) {
  ImportRegFile(L"gui_entries.reg");
  Start();
  SetText(CreateEntryKey(L"Added Later").Get(), L"DisplayName", L"Added Later");
  form_->lblNO->SetCaption(L"3");
  ClickAt({60, 165});
  EXPECT_EQ(form_->lv1->RowCount(), 15);
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 15 Softwares");
}

TEST_F(MainWindowTest, CloseButtonEndsTheMessageLoop) {
  CreateEmptyUninstallKey();
  Start();
  ClickAt({form_->imgbtn5->Left() + 10, form_->imgbtn5->Top() + 10});
  EXPECT_FALSE(IsWindow(form_->Handle()));
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace testsupport

namespace testsupport {
namespace {

TEST_F(MainWindowTest, PressingOnTheBackgroundAndMovingDragsTheWindow) {
  CreateEmptyUninstallKey();
  Start();
  RECT before = {};
  GetWindowRect(form_->Handle(), &before);
  const POINT start = ToScreen({60, 300});
  // The system's move loop runs inside the window's own handler and returns only when the
  // button is released, so the rest of the drag comes from another thread.
  const DWORD windowThread = GetCurrentThreadId();
  bool moveLoopSeen = false;
  std::thread hand([start, windowThread, &moveLoopSeen] {
    // Wait until the window's thread is inside the move loop.
    for (int i = 0; i < 300 && !moveLoopSeen; ++i, Sleep(10)) {
      GUITHREADINFO info = {};
      info.cbSize = sizeof(info);
      moveLoopSeen = GetGUIThreadInfo(windowThread, &info) && (info.flags & GUI_INMOVESIZE) != 0;
    }
    for (int step = 1; step <= 4; ++step) {
      MovePointer({start.x + 10 * step, start.y + 5 * step});
      Sleep(100);
    }
    SendMouse(MOUSEEVENTF_LEFTUP);
  });
  MoveTo({60, 300});
  Press();
  MoveTo({61, 300});
  hand.join();
  Pump(200);
  EXPECT_TRUE(moveLoopSeen);
  RECT after = {};
  GetWindowRect(form_->Handle(), &after);
  // The drag started at the move one pixel right of the press.
  EXPECT_EQ(after.left - before.left, 40 - 1);
  EXPECT_EQ(after.top - before.top, 20);
  EXPECT_EQ(after.right - after.left, 870);
}

TEST_F(MainWindowTest, PressingOnAControlOverTheBackgroundDragsNothing) {
  CreateEmptyUninstallKey();
  Start();
  RECT before = {};
  GetWindowRect(form_->Handle(), &before);
  form_->lbl8->OnClick = nullptr;
  MoveTo({20, 545});  // the promotional link in the left column
  Press();
  MoveTo({60, 580});
  MoveTo({90, 600});
  Release();
  RECT after = {};
  GetWindowRect(form_->Handle(), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
}

}  // namespace
}  // namespace testsupport
