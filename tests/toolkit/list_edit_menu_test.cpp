// The windowed controls of the real window as the later commands use them: the list's
// notifications and sort, the search box's change notification, the context menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "tests/app/main_window_fixture.h"
#include "tests/support/menu_hand.h"

namespace testsupport {
namespace {

class ToolkitControlsTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ImportRegFile(L"gui_entries.reg");
    Start();
  }
};

TEST_F(ToolkitControlsTest, SortOrdersRowsByTheComparisonAndPassesItsDataThrough) {
  TListView& list = *form_->lv1;
  std::vector<int> seenData;
  list.OnCompare = [&](TObject& sender, const TListItem& a, const TListItem& b, int data, int& compare) {
    EXPECT_EQ(&sender, &list);
    seenData.push_back(data);
    // By publisher, descending: the rows' own sub-items are at hand.
    compare = -a.SubItems.at(0).compare(b.SubItems.at(0));
  };
  list.SortItems(7);
  ASSERT_FALSE(seenData.empty());
  EXPECT_TRUE(std::all_of(seenData.begin(), seenData.end(), [](int d) { return d == 7; }));
  ASSERT_EQ(list.RowCount(), 14);
  EXPECT_EQ(list.SubItem(0, 0), L"win.rar GmbH");
  EXPECT_EQ(list.Caption(0), L"WinRAR 6.24 (32-bit)");
  EXPECT_EQ(list.SubItem(13, 0), L"Adobe Systems Incorporated");
  // Each row keeps its own texts and image through the sort.
  for (int row = 0; row < list.RowCount(); ++row) {
    if (list.Caption(row) == L"7-Zip 23.01") {
      EXPECT_EQ(list.SubItem(row, 1), L"23.01");
    }
  }
}

TEST_F(ToolkitControlsTest, ErrorInsideTheComparisonComesOutOfTheSort) {
  TListView& list = *form_->lv1;
  int calls = 0;
  list.OnCompare = [&](TObject&, const TListItem&, const TListItem&, int, int&) {
    ++calls;
    throw std::runtime_error("compare failed");
  };
  EXPECT_THROW(list.SortItems(0), std::runtime_error);
  // The first error ends the comparisons; the rows are all still there.
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(list.RowCount(), 14);
}

TEST_F(ToolkitControlsTest, ClickingARowSelectsItAndNotifiesChangeThenClick) {
  TListView& list = *form_->lv1;
  std::vector<std::string> events;
  std::wstring changedCaption;
  list.OnChange = [&](TObject&, const TListItem* item, TItemChange change) {
    if (change == TItemChange::State && item && list.SelectedRow() >= 0) {
      events.push_back("change");
      changedCaption = item->Caption;
    }
  };
  list.OnClick = [&](TObject&) { events.push_back("click"); };
  list.OnDblClick = [&](TObject&) { events.push_back("dblclick"); };
  ClickAt(RowPoint(2));
  EXPECT_EQ(list.SelectedRow(), 2);
  EXPECT_EQ(changedCaption, list.Caption(2));
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front(), "change");
  EXPECT_EQ(events.back(), "click");
  // A second press on the same row at once is a double click.
  events.clear();
  Press();
  Release();
  EXPECT_NE(std::find(events.begin(), events.end(), "dblclick"), events.end());
}

TEST_F(ToolkitControlsTest, SearchBoxReportsEveryChangeOfItsText) {
  TEdit& edit = *form_->edt1;
  std::vector<std::wstring> texts;
  edit.OnChange = [&](TObject& sender) {
    EXPECT_EQ(&sender, &edit);
    texts.push_back(edit.Text());
  };
  ClickAt({400, 86});
  EXPECT_EQ(GetFocus(), edit.Handle());
  PressKey('M');
  PressKey('I');
  PressKey(VK_BACK);
  Pump();
  edit.SetText(L"zip");
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"m", L"mi", L"m", L"zip"}));
}

TEST_F(ToolkitControlsTest, RightClickOpensTheContextMenuAfterItsPopupHandler) {
  TPopupMenu& menu = *form_->pm1;
  int popups = 0;
  std::vector<std::string> chosen;
  menu.OnPopup = [&](TObject& sender) {
    EXPECT_EQ(&sender, &menu);
    ++popups;
    menu.Item(0).SetEnabled(false);
  };
  for (int i = 0; i < menu.Count(); ++i) {
    TMenuItem& item = menu.Item(i);
    item.OnClick = [&chosen, &item](TObject&) { chosen.push_back(item.Name()); };
  }
  MoveTo(RowPoint(1));
  // The popup handler disabled Uninstall before the menu showed; the hand chooses Refresh.
  MenuHand hand(1);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  Pump(1000);
  const std::vector<bool> greyed = hand.Greyed();
  Pump();
  EXPECT_EQ(popups, 1);
  ASSERT_FALSE(greyed.empty()) << "no menu appeared";
  EXPECT_TRUE(greyed[0]);
  EXPECT_EQ(chosen, (std::vector<std::string>{"Res1"}));
}

}  // namespace
}  // namespace testsupport
