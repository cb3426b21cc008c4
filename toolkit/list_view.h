#pragma once
// A report-style list view: hidden header row, whole-row single selection, grid lines and a
// small-image list. Each row has a caption (column 0), an image index and one text per
// further column (its sub-items). The list keeps the rows itself and the control only their
// number (an owner-data list): the control asks for the texts of the rows it paints, so that
// emptying and refilling thousands of rows costs no message per row, and the list sorts its
// rows itself, as the system's list sort would.

#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <string>
#include <vector>

#include "toolkit/list_rows.h"
#include "toolkit/win_control.h"

class TImageList;
class TPopupMenu;

class TListView : public TWinControl {
 public:
  // Creates the list as a child of `parent` at the given client rectangle.
  TListView(HWND parent, const RECT& bounds, int controlId = 0);

  void AddColumn(const std::wstring& caption, int width);
  int ColumnCount() const;
  void SetSmallImages(const TImageList& images);
  using TWinControl::SetFont;

  // Appends a row at the end; `subItems` fill the columns after the first, in order. Between
  // BeginUpdate and EndUpdate the control learns of the new rows at EndUpdate.
  int AddRow(std::wstring caption, int imageIndex, std::vector<std::wstring> subItems);
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

  // Suspends and resumes repainting around a bulk change; pairs may nest.
  void BeginUpdate();
  void EndUpdate();

  // Sorts all rows in place: OnCompare decides each pair, given `data` unchanged; the selected
  // and the focused row stay so, at their new places, with no change notification. An error
  // raised by OnCompare ends the comparisons (the rest compare equal) and is raised again here.
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
  // The columns, styles, font and bounds of a layout go in with the list's drawing off, and it
  // lays itself out once at the end.
  void BeginLoading() override;
  void Loaded() override;

 private:
  void SetStyleBit(DWORD bit, bool on);
  void SetExtendedStyleBit(DWORD bit, bool on);
  // Tells the control how many rows there are.
  void SyncRowCount();
  // Puts the selection, focus and selection mark back on the rows they were on before a sort.
  void MoveStates(const std::vector<size_t>& moved, int selected, int focused, int mark);

  // One handler per notification of the control; each returns whether it handled it.
  bool OnContextMenu(POINT at);
  bool OnGetDispInfo(LVITEMW& item) const;
  bool OnFindItem(const NMLVFINDITEMW& find, LRESULT& result) const;
  bool OnDeleteAllItems(LRESULT& result) const;
  bool OnItemChanged(const NMLISTVIEW& change);
  bool OnClickNotify();
  bool OnDblClickNotify();
  bool OnColumnClickNotify(int column);
  bool OnCustomDraw(const NMCUSTOMDRAW& draw, LRESULT& result) const;

  std::vector<TListItem> rows_;
  int updateDepth_ = 0;
  // Set while a sort puts the states back: those are no changes of the user's.
  bool movingStates_ = false;
  TPopupMenu* popupMenu_ = nullptr;
  const TImageList* smallImages_ = nullptr;
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
