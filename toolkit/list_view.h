#pragma once
// A report-style list view: hidden header row, whole-row single selection, grid lines and a
// small-image list. Each row has a caption (column 0), an image index and one text per
// further column (its sub-items).

#include <windows.h>

#include <string>
#include <vector>

class TImageList;

class TListView {
public:
  // Creates the list as a child of `parent` at the given client rectangle.
  TListView(HWND parent, const RECT& bounds, int controlId = 0);
  ~TListView();
  TListView(const TListView&) = delete;
  TListView& operator=(const TListView&) = delete;

  HWND Handle() const { return hwnd_; }

  void AddColumn(const std::wstring& caption, int width);
  int ColumnCount() const;
  void SetSmallImages(const TImageList& images);
  void SetFont(HFONT font);

  // Appends a row at the end; `subItems` fill the columns after the first, in order.
  int AddRow(const std::wstring& caption, int imageIndex, const std::vector<std::wstring>& subItems);
  void Clear();
  int RowCount() const;

  std::wstring Caption(int row) const;
  std::wstring SubItem(int row, int index) const;
  std::vector<std::wstring> SubItems(int row) const;
  int ImageIndex(int row) const;

  // The first selected row, or -1.
  int SelectedRow() const;
  void Select(int row);

  // Suspends and resumes repainting around a bulk change.
  void BeginUpdate();
  void EndUpdate();

private:
  std::wstring ItemText(int row, int column) const;

  HWND hwnd_;
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
