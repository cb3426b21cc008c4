// The name search over the start-up snapshot, and the header bars' sort, in the real window.
#include <gtest/gtest.h>

#include "catalogue/snapshot.h"
#include "catalogue/softwarelist.h"
#include "tests/app/main_window_fixture.h"

namespace testsupport {
namespace {

using Names = std::vector<std::wstring>;

class SearchTest : public MainWindowFixture {
 protected:
  void Search(const std::wstring& text) { form_->edt1->SetText(text); }
};

TEST_F(SearchTest, FoldsOnlyAToZAndMatchesAContiguousRunOfTheName) {
  AddEntry(L"1", L"Microsoft Office");
  AddEntry(L"2", L"MICROCHIP TOOLS");
  AddEntry(L"3", L"Micr osoft");
  AddEntry(L"4", L"\u00c9cran Tools");                      // capital E with acute
  AddEntry(L"5", L"\u00e9cran tools");                      // small e with acute
  AddEntry(L"6", L"\u041f\u0440\u0438\u0432\u0435\u0442");  // Cyrillic, capital first letter
  AddEntry(L"7", L"Zeta", {.publisher = L"Microware", .version = L"micro"});
  Start();

  for (const wchar_t* text : {L"micro", L"MICRO", L"mIcRo"}) {
    Search(text);
    EXPECT_EQ(Captions(), (Names{L"Microsoft Office", L"MICROCHIP TOOLS"})) << text;
  }
  EXPECT_EQ(form_->lblNO->Caption(), L"2");

  Search(L"\u00e9cran");  // the accented letter is not folded
  EXPECT_EQ(Captions(), (Names{L"\u00e9cran tools"}));
  Search(L"CRAN TOOLS");  // the ASCII rest is
  EXPECT_EQ(Captions(), (Names{L"\u00c9cran Tools", L"\u00e9cran tools"}));

  Search(L"\u043f\u0440\u0438");  // small Cyrillic letters find only the same case
  EXPECT_TRUE(Captions().empty());
  EXPECT_EQ(form_->lblNO->Caption(), L"0");
  Search(L"\u041f\u0440\u0438");
  EXPECT_EQ(Captions(), (Names{L"\u041f\u0440\u0438\u0432\u0435\u0442"}));

  Search(L"ware");  // only in the publisher: the name alone is searched
  EXPECT_TRUE(Captions().empty());
  Search(L" tools");  // spaces count
  EXPECT_EQ(Captions(), (Names{L"MICROCHIP TOOLS", L"\u00c9cran Tools", L"\u00e9cran tools"}));
}

TEST_F(SearchTest, WindowKeysGoToTheSearchBoxClearItAndRefreshFromAnywhere) {
  AddEntry(L"1", L"Alpha Tool");
  AddEntry(L"2", L"Beta Tool");
  Start();
  Search(L"zzz");
  ClickAt(ListEmptySpace());
  ASSERT_EQ(GetFocus(), form_->lv1->Handle());

  // Ctrl+F selects the text there, so that typing replaces it.
  PressKeys({VK_CONTROL, 'F'});
  Pump();
  EXPECT_EQ(GetFocus(), form_->edt1->Handle());
  TypeText(L"beta");
  Pump();
  EXPECT_EQ(form_->edt1->Text(), L"beta");
  EXPECT_EQ(Captions(), (Names{L"Beta Tool"}));

  // Escape empties the box, which searches again as any change does.
  PressKey(VK_ESCAPE);
  Pump();
  EXPECT_EQ(form_->edt1->Text(), L"");
  EXPECT_EQ(Captions(), (Names{L"Alpha Tool", L"Beta Tool"}));
  EXPECT_EQ(form_->lblNO->Caption(), L"2");

  // F5 rescans as All Programs does, even from the search box, which takes other keys itself.
  AddEntry(L"3", L"Gamma Tool");
  PressKey(VK_F5);
  Pump(200);
  EXPECT_EQ(Captions(), (Names{L"Alpha Tool", L"Beta Tool", L"Gamma Tool"}));
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 3 Softwares");
  // Escape in an empty box leaves the rescanned list alone: no search of the start-up rows.
  PressKey(VK_ESCAPE);
  Pump();
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 3 Softwares");
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SearchTest, EmptyTextListsEverySnapshotRowInScanOrderWithTheBareCount) {
  ImportRegFile(L"gui_entries.reg");
  Start();
  const Names scanned = Captions();
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 14 Softwares");
  form_->img5Click(*form_);  // a sort is not kept by a search
  ASSERT_NE(Captions(), scanned);

  // Typed and deleted for real, in the box.
  ClickAt({400, 86});
  PressKey('Z');
  Pump();
  EXPECT_EQ(Captions(), (Names{L"7-Zip 23.01", L"FileZilla 3.66.4", L"Mozilla Firefox (x86 en-US)"}));
  EXPECT_EQ(form_->lblNO->Caption(), L"3");
  PressKey(VK_BACK);
  Pump();
  EXPECT_EQ(Captions(), scanned);
  EXPECT_EQ(form_->lblNO->Caption(), L"14");
}

TEST_F(SearchTest, SearchRowsCarryTheIconAndEverySubItemOfTheirSourceRowWhateverTheyHold) {
  AddEntry(L"Plain", L"Same Name", {.publisher = L"P1", .version = L"1", .uninstall = L"u1.exe"});
  AddEntry(L"Broken", L"Same Name",
           {.publisher = L"Line\r\nBreak",
            .version = L"2\n0",
            .helpLink = L"\rlink",
            .uninstall = L"C:\\Tools\\uninstall.exe /S",
            .icon = L"C:\\Tools\\app.exe,0"});
  AddEntry(L"Other", L"Other");
  Start();
  std::vector<TListItem> source;  // in scan order: Broken, Other, Plain
  for (const int row : {0, 2}) source.push_back(form_->lv1->Item(row));

  form_->edt1->SetText(L"same");
  ASSERT_EQ(form_->lv1->RowCount(), 2);  // equal names are all listed
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(form_->lv1->Caption(row), source[row].Caption);
    EXPECT_EQ(form_->lv1->ImageIndex(row), source[row].ImageIndex);
    // What the control itself shows, asked of the form row by row.
    EXPECT_EQ(form_->lv1->DisplayedText(row, 0), source[row].Caption);
    for (int column = 1; column <= 6; ++column)
      EXPECT_EQ(form_->lv1->DisplayedText(row, column), source[row].SubItems[column - 1]) << column;
  }
  const std::wstring brokenKey = std::wstring(kUninstallKeyRoot) + kUninstallKey + L"\\Broken";
  EXPECT_EQ(form_->lv1->SubItem(0, kSubPublisher), L"Line\r\nBreak");
  EXPECT_EQ(form_->lv1->SubItem(0, kSubUninstall), L"C:\\Tools\\uninstall.exe /S");
  EXPECT_EQ(form_->lv1->SubItem(0, kSubKeyPath), brokenKey);
  EXPECT_GT(form_->lv1->ImageIndex(0), 0);
}

TEST_F(SearchTest, TheSnapshotIsTheStartUpListWhateverRescansFindLater) {
  AddEntry(L"Kept", L"Kept App");
  AddEntry(L"Gone", L"Gone App", {.uninstall = L"gone.exe"});
  Start();
  DeleteEntry(L"Gone");
  AddEntry(L"New", L"New App");
  form_->edt1->SetText(L"app");
  form_->imgbtn4Click(*form_);  // All Programs: the registry as it is now, the box keeps its text
  EXPECT_EQ(Captions(), (Names{L"Kept App", L"New App"}));
  EXPECT_EQ(form_->edt1->Text(), L"app");
  EXPECT_EQ(form_->lblNO->Caption(), L"Total 2 Softwares");

  form_->edt1->SetText(L"ap");  // back to the start-up rows, the removed one included
  EXPECT_EQ(Captions(), (Names{L"Gone App", L"Kept App"}));
  EXPECT_EQ(form_->lv1->SubItem(0, kSubUninstall), L"gone.exe");
}

TEST_F(SearchTest, AfterAScanErrorAtStartTheSnapshotStaysEmpty) {
  ImportRegFile(L"dword_version.reg");
  Start();
  ASSERT_EQ(errors_.size(), 1u);
  ASSERT_EQ(form_->lv1->RowCount(), 2);
  form_->edt1->SetText(L"");
  EXPECT_EQ(form_->lv1->RowCount(), 0);
  EXPECT_EQ(form_->lblNO->Caption(), L"0");
}

TEST(FilterSnapshot, SkipsReleasedRecordsAndSharesTheRest) {
  SnapshotList.clear();
  for (const wchar_t* name : {L"alpha", L"beta", L"alphabet"}) {
    auto record = std::make_shared<const Tmy_data>(Tmy_data{1, name, std::vector<std::wstring>(6)});
    SnapshotList.push_back({name, record});
  }
  const TSnapshotList found = FilterSnapshot(L"ALPHA");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[1].Object, SnapshotList[2].Object);  // the same record, not a copy
  FreeSnapshotRecords();
  EXPECT_EQ(SnapshotList.size(), 3u);  // the entries stay, without their records
  EXPECT_TRUE(FilterSnapshot(L"").empty());
  EXPECT_EQ(found[0].Object->Caption, L"alpha");  // a search's own list keeps what it found
  SnapshotList.clear();
}

// The header bars: img4 to img7 over the name, publisher, version and link columns.
class SortTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    AddEntry(L"1", L"beta", {.publisher = L"Zed", .version = L"9.1", .helpLink = L"http://b"});
    AddEntry(L"2", L"Alpha", {.version = L"10.0", .helpLink = L"http://a"});
    AddEntry(L"3", L"gamma", {.publisher = L"adobe", .version = L"2.9"});
    AddEntry(L"4", L"ALPHA", {.publisher = L"Mozilla", .version = L"2.10", .helpLink = L"http://c"});
    Start();
  }

  // A point of a header bar that its caption label does not cover.
  POINT BarPoint(const TImage& bar) const {
    const POINT point = {bar.BoundsRect().right - 6, bar.Top() + bar.Height() / 2};
    EXPECT_EQ(form_->ControlAtPos(point), &bar);
    return point;
  }
  std::vector<std::wstring> Column(int subItem) const {
    std::vector<std::wstring> texts;
    for (int row = 0; row < form_->lv1->RowCount(); ++row) texts.push_back(form_->lv1->SubItem(row, subItem));
    return texts;
  }
  void ClickBar(const TImage& bar) {
    ClickAt(BarPoint(bar));
    MoveAway();
    Pump(300);  // two clicks at one place in quick succession would be a double click
  }
};

TEST_F(SortTest, FirstNameClickSortsDescendingThenEachClickAlternates) {
  EXPECT_EQ(form_->lastSortColumn, 0);
  EXPECT_FALSE(form_->sortAscending);
  ClickBar(*form_->img4);
  EXPECT_EQ(Captions()[0], L"gamma");
  EXPECT_EQ(Captions()[1], L"beta");
  EXPECT_TRUE(form_->sortAscending);
  ClickBar(*form_->img4);
  EXPECT_EQ(Captions()[2], L"beta");
  EXPECT_EQ(Captions()[3], L"gamma");
  // Names equal but for case compare equal: both come before "beta" in either order.
  const Names firstTwo = {Captions()[0], Captions()[1]};
  EXPECT_TRUE((firstTwo == Names{L"Alpha", L"ALPHA"}) || (firstTwo == Names{L"ALPHA", L"Alpha"}));
}

TEST_F(SortTest, AnotherColumnSortsAscendingAsTextWithEmptyTextsFirst) {
  ClickBar(*form_->img5);
  EXPECT_EQ(Column(kSubPublisher), (Names{L"", L"adobe", L"Mozilla", L"Zed"}));
  ClickBar(*form_->img5);
  EXPECT_EQ(Column(kSubPublisher), (Names{L"Zed", L"Mozilla", L"adobe", L""}));
  ClickBar(*form_->img6);  // versions are text: 10.0 before 2.10 before 2.9
  EXPECT_EQ(Column(kSubVersion), (Names{L"10.0", L"2.10", L"2.9", L"9.1"}));
  ClickBar(*form_->img7);
  EXPECT_EQ(Column(kSubHelpLink), (Names{L"", L"http://a", L"http://b", L"http://c"}));
  ClickBar(*form_->img4);  // back to the names, from another column: ascending
  EXPECT_EQ(Captions()[3], L"gamma");
  EXPECT_EQ(form_->lastSortColumn, 0);
}

TEST_F(SortTest, TheAlternationGoesOnAcrossARescanAndASearch) {
  ClickBar(*form_->img5);  // ascending; the next is descending
  form_->imgbtn4Click(*form_);
  EXPECT_EQ(Captions(), (Names{L"beta", L"Alpha", L"gamma", L"ALPHA"}));  // scan order
  ClickBar(*form_->img5);
  EXPECT_EQ(Column(kSubPublisher), (Names{L"Zed", L"Mozilla", L"adobe", L""}));
  form_->edt1->SetText(L"a");
  EXPECT_EQ(Captions(), (Names{L"beta", L"Alpha", L"gamma", L"ALPHA"}));  // snapshot order
  ClickBar(*form_->img5);
  EXPECT_EQ(Column(kSubPublisher), (Names{L"", L"adobe", L"Mozilla", L"Zed"}));
}

TEST_F(SortTest, AClickOnACaptionOverAHeaderSortsNothing) {
  const Names before = Captions();
  for (const TLabel* caption : {form_->lbl2, form_->lbl5, form_->lbl6, form_->lbl7}) {
    const POINT onText = {caption->Left() + 3, caption->Top() + caption->Height() / 2};
    ASSERT_EQ(form_->ControlAtPos(onText), caption);
    ClickAt(onText);
    MoveAway();
    Pump(300);
  }
  EXPECT_EQ(Captions(), before);
  EXPECT_FALSE(form_->sortAscending);
}

}  // namespace
}  // namespace testsupport
