// The windowed controls of the real window as the later commands use them: the list's
// notifications and sort, the search box's change notification, the context menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "app/entry_compare.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/host_window.h"
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

// The system's own list, sorted by LVM_SORTITEMS with the program's comparison of names: the
// order that the list's sort must give, rows equal but for case included.
class SystemSortedList {
 public:
  explicit SystemSortedList(const std::vector<std::wstring>& names)
      : names_(names),
        list_(CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT | LVS_SINGLESEL, 0, 0, 200, 200,
                              host_.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr)) {
    for (size_t i = 0; i < names.size(); ++i) {
      LVITEMW item = {};
      item.mask = LVIF_TEXT | LVIF_PARAM;
      item.iItem = static_cast<int>(i);
      item.pszText = const_cast<wchar_t*>(names[i].c_str());
      item.lParam = static_cast<LPARAM>(i);
      ListView_InsertItem(list_, &item);
    }
  }
  void Select(size_t original) {
    LVFINDINFOW find = {};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(original);
    const int row = ListView_FindItem(list_, -1, &find);
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  void Sort(bool ascending) {
    ascending_ = ascending;
    ListView_SortItems(list_, Compare, reinterpret_cast<LPARAM>(this));
  }
  // The rows' original positions, top to bottom; and the selected row's.
  std::vector<size_t> Order() const {
    std::vector<size_t> order;
    for (int row = 0; row < ListView_GetItemCount(list_); ++row) order.push_back(Original(row));
    return order;
  }
  size_t Selected() const { return Original(ListView_GetNextItem(list_, -1, LVNI_SELECTED)); }

 private:
  static int CALLBACK Compare(LPARAM first, LPARAM second, LPARAM self) {
    const auto& list = *reinterpret_cast<const SystemSortedList*>(self);
    return CompareEntryTexts(list.names_[static_cast<size_t>(first)],
                             list.names_[static_cast<size_t>(second)], list.ascending_);
  }
  size_t Original(int row) const {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    ListView_GetItem(list_, &item);
    return static_cast<size_t>(item.lParam);
  }

  std::vector<std::wstring> names_;
  HostWindow host_;
  HWND list_;
  bool ascending_ = false;
};

TEST_F(ToolkitControlsTest, NameSortGivesTheSystemListsOrderForNamesEqualButForCaseAndKeepsTheSelection) {
  const std::vector<std::wstring> names = {L"beta",  L"Alpha", L"ALPHA", L"alpha", L"Beta",
                                           L"aLpHa", L"BETA",  L"Gamma", L"alpha", L"gamma",
                                           L"Delta", L"ALPHA", L"beta"};
  TListView& list = *form_->lv1;
  list.Clear();
  // Each row carries its original position as its publisher, to tell equal names apart.
  for (size_t i = 0; i < names.size(); ++i)
    list.AddRow(names[i], 0, {std::to_wstring(i), L"", L"", L"", L"", L""});
  SystemSortedList system(names);
  constexpr size_t kSelected = 5;
  list.Select(5);
  system.Select(kSelected);
  int changes = 0;
  list.OnChange = [&](TObject&, const TListItem*, TItemChange) { ++changes; };
  const auto order = [&] {
    std::vector<size_t> original;
    for (int row = 0; row < list.RowCount(); ++row) original.push_back(std::stoul(list.SubItem(row, 0)));
    return original;
  };
  // The header's alternation: descending first, then ascending, then descending again, each
  // sort starting from the order the one before left.
  for (const bool ascending : {false, true, false}) {
    ASSERT_EQ(form_->sortAscending, ascending);
    form_->img4Click(*form_);
    system.Sort(ascending);
    EXPECT_EQ(order(), system.Order()) << (ascending ? "ascending" : "descending");
    ASSERT_GE(list.SelectedRow(), 0);
    EXPECT_EQ(std::stoul(list.SelectedItem()->SubItems[0]), system.Selected());
    EXPECT_EQ(std::stoul(list.SubItem(ListView_GetNextItem(list.Handle(), -1, LVNI_FOCUSED), 0)), kSelected);
  }
  EXPECT_EQ(system.Selected(), kSelected);
  EXPECT_EQ(changes, 0);  // a sort moves the selection without a change of it
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

TEST_F(ToolkitControlsTest, ALetterTypedIntoTheListSelectsTheNextRowWhoseNameBeginsWithItAndShowsIt) {
  TListView& list = *form_->lv1;
  ClickAt(RowPoint(0));
  ASSERT_EQ(GetFocus(), list.Handle());
  for (const auto& [key, name] : {std::pair{'W', L"WinRAR 6.24 (32-bit)"}, {'F', L"FileZilla 3.66.4"}}) {
    PressKey(key);
    Pump(600);  // a pause ends the typed word, so the next letter starts a new one
    ASSERT_GE(list.SelectedRow(), 0);
    EXPECT_EQ(list.Caption(list.SelectedRow()), name);
    EXPECT_EQ(form_->lblProgramsname->Caption(), name);  // the details panel follows
  }
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
