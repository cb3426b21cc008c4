// The details panel, the uninstall and rescan commands and the context menu, in the real window
// with real input; the uninstallers are the action recorder of the tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "catalogue/softwarelist.h"
#include "tests/app/main_window_fixture.h"
#include "tests/helpers/recording.h"

namespace testsupport {
namespace {

using Names = std::vector<std::wstring>;

class DetailsTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    AddEntry(L"1", L"Full Entry",
             {.publisher = L"Pub",
              .version = L"1.2",
              .helpLink = L"https://example.org/",
              .icon = L"C:\\windows\\notepad.exe"});
    AddEntry(L"2",
             L"Bare Entry with a long name that would need two lines if the label still wrapped its text");
    AddEntry(L"3", L"Blank Publisher", {.publisher = L" "});
    Start();
  }
  void ClickRow(int row) {
    ClickAt(RowPoint(row));
    MoveAway();
    Pump(300);  // no double click with the next one
  }
  bool PairShown(const TLabel& caption, const TLabel& value) const {
    EXPECT_EQ(caption.Visible(), value.Visible()) << caption.Name();
    return caption.Visible() && value.Visible();
  }
};

TEST_F(DetailsTest, ARowWithEverythingShowsItsIconNameAndThreePairs) {
  EXPECT_TRUE(form_->lblProgramsname->WordWrap());
  ClickRow(0);
  EXPECT_FALSE(form_->img1->Visible());
  EXPECT_TRUE(form_->imgSoftIcon->Visible());
  EXPECT_FALSE(form_->imgSoftIcon->Picture().Empty());
  EXPECT_EQ(form_->lblProgramsname->Caption(), L"Full Entry");
  EXPECT_FALSE(form_->lblProgramsname->WordWrap());
  EXPECT_TRUE(PairShown(*form_->lbl3, *form_->lblPublisher));
  EXPECT_TRUE(PairShown(*form_->lbl1, *form_->lblVersion));
  EXPECT_TRUE(PairShown(*form_->lbl4, *form_->lblURL));
  EXPECT_EQ(form_->lblPublisher->Caption(), L"Pub");
  EXPECT_EQ(form_->lblVersion->Caption(), L"1.2");
  EXPECT_EQ(form_->lblURL->Caption(), L"https://example.org/");
}

TEST_F(DetailsTest, EmptyValuesHideTheirPairsAndAnEmptyIconReferenceShowsTheDefaultPicture) {
  ClickRow(0);
  const int publisherTop = form_->lblPublisher->Top();
  ClickRow(1);
  EXPECT_TRUE(form_->img1->Visible());
  EXPECT_FALSE(form_->imgSoftIcon->Visible());
  EXPECT_FALSE(PairShown(*form_->lbl3, *form_->lblPublisher));
  EXPECT_FALSE(PairShown(*form_->lbl1, *form_->lblVersion));
  EXPECT_FALSE(PairShown(*form_->lbl4, *form_->lblURL));
  EXPECT_EQ(form_->lblPublisher->Caption(), L"Pub");  // hidden, not cleared
  // The long name stays on one line.
  EXPECT_LT(form_->lblProgramsname->Height(), 2 * 14);

  ClickRow(2);  // a publisher of one blank is a publisher
  EXPECT_TRUE(PairShown(*form_->lbl3, *form_->lblPublisher));
  EXPECT_EQ(form_->lblPublisher->Caption(), L" ");
  EXPECT_EQ(form_->lblPublisher->Top(), publisherTop);
  EXPECT_FALSE(PairShown(*form_->lbl1, *form_->lblVersion));
}

TEST_F(DetailsTest, LosingTheSelectionKeepsThePanelAndTheKeyboardMovesIt) {
  ClickRow(0);
  // Empty space below the rows takes the selection away.
  ClickAt(ListEmptySpace());
  ASSERT_EQ(form_->lv1->SelectedRow(), -1);
  EXPECT_EQ(form_->lblProgramsname->Caption(), L"Full Entry");
  form_->imgbtn4Click(*form_);  // a rescan neither
  EXPECT_EQ(form_->lblProgramsname->Caption(), L"Full Entry");
  EXPECT_TRUE(form_->imgSoftIcon->Visible());

  form_->lv1->Select(0);
  SetFocus(form_->lv1->Handle());
  PressKey(VK_DOWN);
  Pump();
  EXPECT_EQ(form_->lv1->SelectedRow(), 1);
  EXPECT_EQ(form_->lblProgramsname->Caption(), form_->lv1->Caption(1));
  EXPECT_TRUE(form_->img1->Visible());
}

// The context menu, driven from another thread while the menu runs its own loop: notes which
// items are greyed, then chooses one with the mouse, or closes the menu with Escape.
class MenuHand {
 public:
  static constexpr int kNone = -1;
  explicit MenuHand(int choose) : thread_([this, choose] { Run(choose); }) {}
  ~MenuHand() { Join(); }
  MenuHand(const MenuHand&) = delete;
  MenuHand& operator=(const MenuHand&) = delete;

  // Greyed state of each shown item, by position (false for the separator); empty if no menu
  // appeared.
  std::vector<bool> Greyed() {
    Join();
    return greyed_;
  }

 private:
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  void Run(int choose) {
    HWND menuWindow = nullptr;
    for (int i = 0; i < 150 && !(menuWindow && IsWindowVisible(menuWindow)); ++i, Sleep(20))
      menuWindow = FindWindowW(L"#32768", nullptr);
    if (!menuWindow) return;
    Sleep(100);
    const auto shown = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(shown); ++i) {
      const UINT state = GetMenuState(shown, static_cast<UINT>(i), MF_BYPOSITION);
      greyed_.push_back((state & MF_SEPARATOR) == 0 && (state & MF_GRAYED) != 0);
    }
    if (choose == kNone) {
      PressKey(VK_ESCAPE);
      return;
    }
    RECT item = {};
    GetMenuItemRect(nullptr, shown, static_cast<UINT>(choose), &item);
    MovePointer({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  }

  std::vector<bool> greyed_;
  std::thread thread_;
};

class CommandsTest : public MainWindowFixture {
 protected:
  // An entry whose uninstaller is the recorder; with `removesKey` it deletes its own entry.
  void AddRecorderEntry(const std::wstring& key, bool removesKey,
                        const std::wstring& switches = L"/sleep:300") {
    std::wstring command = L"\"" + RecorderPath() + L"\" " + switches;
    if (removesKey) command += L" /removekey:" + key;
    AddEntry(key, key + L" App", {.uninstall = command});
  }
  int RowOf(const std::wstring& caption) const {
    const Names captions = Captions();
    const auto found = std::find(captions.begin(), captions.end(), caption);
    return found == captions.end() ? -1 : static_cast<int>(found - captions.begin());
  }
  void ClickUninstallButton() {
    ClickAt({form_->imgbtn2->Left() + 20, form_->imgbtn2->Top() + 15});
    MoveAway();
  }
  void DoubleClickAt(POINT client) {
    MoveTo(client);
    Press();
    Release();
    Press();
    Release();
  }
  void RightClickRow(int row) {
    MoveTo(RowPoint(row));
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    Pump(1200);
  }

  Recording recording_;
};

TEST_F(CommandsTest, UninstallButtonRunsTheCommandShownWaitsRescansAndWritesTheTotal) {
  AddRecorderEntry(L"Leaving", true);
  AddRecorderEntry(L"Other", false);
  Start();
  form_->lv1->Select(RowOf(L"Leaving App"));
  ClickUninstallButton();

  const auto starts = recording_.Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_NE(starts[0].commandLine.find(L"/removekey:Leaving"), std::wstring::npos);
  EXPECT_EQ(starts[0].showState, SW_SHOWNORMAL);
  EXPECT_NE(starts[0].startupFlags & STARTF_USESHOWWINDOW, 0u);
  // The window waited for the uninstaller: it had ended before the rescan.
  EXPECT_EQ(recording_.Ends(), std::vector<DWORD>{starts[0].processId});
  EXPECT_EQ(Captions(), (Names{L"Other App"}));
  EXPECT_EQ(form_->lv1->SelectedRow(), -1);
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 1 Softwares");

  // A search brings the removed entry back from the start-up snapshot.
  form_->edt1->SetText(L"app");
  EXPECT_EQ(Captions(), (Names{L"Leaving App", L"Other App"}));
}

TEST_F(CommandsTest, DoubleClickRunsTheUninstallerAndWritesTheBareNumber) {
  AddRecorderEntry(L"Staying", false);  // like a cancelled uninstaller: the key stays
  AddEntry(L"Second", L"Second App");
  Start();
  AddEntry(L"Third", L"Third App");  // installed meanwhile: the rescan finds it
  DoubleClickAt(RowPoint(RowOf(L"Staying App")));
  ASSERT_EQ(recording_.Starts().size(), 1u);
  EXPECT_EQ(recording_.Starts()[0].showState, SW_SHOWNORMAL);
  EXPECT_EQ(Captions(), (Names{L"Second App", L"Staying App", L"Third App"}));
  EXPECT_EQ(form_->lblNO->Caption(), L"3");
}

// An uninstaller that is a plain window program shows its window with the show state it is
// given; hidden, it would wait for a click nobody can give, and the window's wait with it.
TEST_F(CommandsTest, AWindowUninstallerIsVisibleWhileTheWindowWaitsAndTheWindowAnswersAfterIt) {
  AddRecorderEntry(L"Windowed", true, L"/window /sleep:1500");
  AddEntry(L"Other", L"Other App");
  Start();
  // The window's own thread is in the wait; another one looks at the screen meanwhile.
  bool seenVisible = false;
  std::thread watcher([&] {
    for (int i = 0; i < 200 && !seenVisible; ++i, Sleep(25)) {
      const HWND uninstaller = FindWindowW(L"CaldwexRecorderWindow", nullptr);
      seenVisible = uninstaller && IsWindowVisible(uninstaller);
    }
  });
  DoubleClickAt(RowPoint(RowOf(L"Windowed App")));
  watcher.join();
  EXPECT_TRUE(seenVisible) << "the uninstaller's window was never visible";
  EXPECT_EQ(recording_.WindowsVisible(), std::vector<bool>{true});
  ASSERT_EQ(recording_.Starts().size(), 1u);
  EXPECT_EQ(recording_.Ends(), std::vector<DWORD>{recording_.Starts()[0].processId});
  // Once it has closed, the window has rescanned and answers the next keystrokes.
  EXPECT_EQ(Captions(), (Names{L"Other App"}));
  EXPECT_EQ(form_->lblNO->Caption(), L"1");
  form_->edt1->SetText(L"windowed");
  EXPECT_EQ(Captions(), (Names{L"Windowed App"}));
}

TEST_F(CommandsTest, WithoutASelectionNothingRunsAndOnlyTheLabelChanges) {
  AddEntry(L"A", L"Zip One");
  AddEntry(L"B", L"Other");
  Start();
  AddEntry(L"C", L"Added Later");
  // Double-click on empty space: no rescan, the total becomes the bare number.
  DoubleClickAt(ListEmptySpace());
  EXPECT_EQ(form_->lv1->RowCount(), 2);
  EXPECT_EQ(form_->lblNO->Caption(), L"2");
  // The button after a search: the total form, of the rows shown.
  form_->edt1->SetText(L"zip");
  EXPECT_EQ(form_->lblNO->Caption(), L"1");
  ClickUninstallButton();
  EXPECT_EQ(form_->lv1->RowCount(), 1);
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 1 Softwares");
  EXPECT_TRUE(recording_.Starts().empty());
}

TEST_F(CommandsTest, AnEmptyUninstallCommandStillRescans) {
  AddEntry(L"NoCommand", L"No Command");
  Start();
  AddEntry(L"Later", L"Later App");
  form_->lv1->Select(0);
  ClickUninstallButton();
  EXPECT_EQ(Captions(), (Names{L"Later App", L"No Command"}));
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 2 Softwares");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(CommandsTest, ARescanErrorReachesTheErrorBoxAndKeepsTheLabel) {
  AddEntry(L"A", L"First");
  Start();
  form_->edt1->SetText(L"f");
  const UniqueRegKey broken = CreateEntryKey(L"B");
  SetText(broken.Get(), L"DisplayName", L"Broken");
  const DWORD number = 3;
  SetRaw(
      broken.Get(), L"DisplayVersion", REG_DWORD,
      std::vector<BYTE>(reinterpret_cast<const BYTE*>(&number), reinterpret_cast<const BYTE*>(&number + 1)));
  ClickAt({60, 165});  // All Programs
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0], L"Invalid data type for 'DisplayVersion'");
  EXPECT_EQ(Captions(), (Names{L"First"}));  // the row before the error stays
  EXPECT_EQ(form_->lblNO->Caption(), L"1");
}

TEST_F(CommandsTest, ContextMenuEnablesTheEntryCommandsOnlyWithASelection) {
  AddEntry(L"A", L"First");
  Start();
  {
    MenuHand hand(MenuHand::kNone);
    // Over empty space: nothing selected.
    MoveTo(ListEmptySpace());
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    Pump(1200);
    EXPECT_EQ(hand.Greyed(), (std::vector<bool>{true, false, false, true, true}));
  }
  Pump(300);
  MenuHand hand(MenuHand::kNone);
  RightClickRow(0);
  EXPECT_EQ(hand.Greyed(), (std::vector<bool>{false, false, false, false, false}));
}

TEST_F(CommandsTest, TheKeyboardOpensTheMenuAndItsUninstallRunsTheSameCommand) {
  AddRecorderEntry(L"Leaving", true);
  AddEntry(L"Other", L"Other App");
  Start();
  form_->lv1->Select(RowOf(L"Leaving App"));
  SetFocus(form_->lv1->Handle());
  {
    MenuHand hand(0);  // "Uninstall"
    PressKey(VK_APPS);
    Pump(1500);
    EXPECT_EQ(hand.Greyed().size(), 5u);
  }
  Pump();
  ASSERT_EQ(recording_.Starts().size(), 1u);
  EXPECT_EQ(Captions(), (Names{L"Other App"}));
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 1 Softwares");

  // Shift+F10 opens it too; "Refresh" rescans like All Programs.
  AddEntry(L"New", L"New App");
  form_->edt1->SetText(L"zzz");
  SetFocus(form_->lv1->Handle());
  MenuHand hand(1);
  INPUT keys[4] = {};
  for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[3].ki.wVk = VK_SHIFT;
  keys[1].ki.wVk = keys[2].ki.wVk = VK_F10;
  keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, keys, sizeof(INPUT));
  Pump(1500);
  EXPECT_EQ(hand.Greyed(), (std::vector<bool>{true, false, false, true, true}));
  Pump();
  EXPECT_EQ(Captions(), (Names{L"New App", L"Other App"}));
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 2 Softwares");
}

}  // namespace
}  // namespace testsupport
