#pragma once
// A report-style list view: hidden header row, whole-row single selection, grid lines and a
// small-image list. Each row has a caption (column 0), an image index and one text per
// further column (its sub-items). The list keeps a copy of every row it was given, so that a
// sort can compare rows without asking the control for their texts.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/win_control.h"

class TImageList;
class TPopupMenu;

// One row as it was added.
class TListItem {
 public:
  std::wstring Caption;
  int ImageIndex = 0;
  std::vector<std::wstring> SubItems;
};

class TListView : public TWinControl {
 public:
  // Creates the list as a child of `parent` at the given client rectangle.
  TListView(HWND parent, const RECT& bounds, int controlId = 0);
  ~TListView() override;

  void AddColumn(const std::wstring& caption, int width);
  int ColumnCount() const;
  void SetSmallImages(const TImageList& images);
  using TWinControl::SetFont;

  // Appends a row at the end; `subItems` fill the columns after the first, in order.
  int AddRow(const std::wstring& caption, int imageIndex, const std::vector<std::wstring>& subItems);
  void Clear();
  int RowCount() const;

  // The row's record as it was added, wherever a sort has moved the row since.
  const TListItem& Item(int row) const;
  std::wstring Caption(int row) const;
  std::wstring SubItem(int row, int index) const;
  std::vector<std::wstring> SubItems(int row) const;
  // The text the control itself shows in a column, which it asks of the parent window.
  std::wstring DisplayedText(int row, int column) const;
  int ImageIndex(int row) const;

  // The first selected row, or -1; its record, or null.
  int SelectedRow() const;
  const TListItem* SelectedItem() const;
  void Select(int row);

  // The first row shown, and a scroll that makes `row` the first one shown (as far as the rows
  // below it allow).
  int TopRow() const;
  void ScrollToRow(int row);

  // Suspends and resumes repainting around a bulk change.
  void BeginUpdate();
  void EndUpdate();

  // Sorts all rows in place: OnCompare decides each pair, given `data` unchanged. An error
  // raised by OnCompare ends the sort and is raised again here.
  void SortItems(int data);

  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

  TLVChangeEvent OnChange;
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TLVColumnClickEvent OnColumnClick;
  TLVCompareEvent OnCompare;

  bool HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;
  // A column: `item Caption = "..." Width = N end`.
  void AddChild(const TLayoutNode& child, TLayoutContext& context) override;

 private:
  void SetStyleBit(DWORD bit, bool on);
  void SetExtendedStyleBit(DWORD bit, bool on);
  static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM sort);

  std::vector<std::unique_ptr<TListItem>> items_;
  TPopupMenu* popupMenu_ = nullptr;
};

// Suspends the list's repainting for its lifetime, also when an exception passes through: a
// visible list that repaints after every inserted row takes seconds for a few thousand rows.
class ListUpdateLock {
 public:
  explicit ListUpdateLock(TListView& list) : list_(list) { list_.BeginUpdate(); }
  ~ListUpdateLock() { list_.EndUpdate(); }
  ListUpdateLock(const ListUpdateLock&) = delete;
  ListUpdateLock& operator=(const ListUpdateLock&) = delete;

 private:
  TListView& list_;
};
