#include "toolkit/list_view.h"

#include <commctrl.h>

#include "toolkit/image_list.h"

TListView::TListView(HWND parent, const RECT& bounds, int controlId) {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)registered;
  // No LVS_SHOWSELALWAYS: the selection is hidden while the list lacks the focus.
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                      LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS;
  hwnd_ = CreateWindowExW(0, WC_LISTVIEWW, L"", style, bounds.left, bounds.top,
                          bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                          GetModuleHandleW(nullptr), nullptr);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
}

TListView::~TListView() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void TListView::AddColumn(const std::wstring& caption, int width) {
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(caption.c_str());
  column.cx = width;
  const int index = ColumnCount();
  ListView_InsertColumn(hwnd_, index, &column);
}

int TListView::ColumnCount() const {
  const HWND header = ListView_GetHeader(hwnd_);
  return header ? Header_GetItemCount(header) : 0;
}

void TListView::SetSmallImages(const TImageList& images) {
  ListView_SetImageList(hwnd_, images.Handle(), LVSIL_SMALL);
}

void TListView::SetFont(HFONT font) { SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

int TListView::AddRow(const std::wstring& caption, int imageIndex,
                      const std::vector<std::wstring>& subItems) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = RowCount();
  item.iImage = imageIndex;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  const int row = ListView_InsertItem(hwnd_, &item);
  for (size_t i = 0; i < subItems.size(); ++i) {
    ListView_SetItemText(hwnd_, row, static_cast<int>(i + 1), const_cast<wchar_t*>(subItems[i].c_str()));
  }
  return row;
}

void TListView::Clear() { ListView_DeleteAllItems(hwnd_); }

int TListView::RowCount() const { return ListView_GetItemCount(hwnd_); }

std::wstring TListView::ItemText(int row, int column) const {
  // The control copies at most the buffer's size and reports how much it copied; grow the buffer
  // until the text fits with room to spare.
  std::wstring buffer(256, L'\0');
  for (;;) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = static_cast<size_t>(
        SendMessageW(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring TListView::Caption(int row) const { return ItemText(row, 0); }

std::wstring TListView::SubItem(int row, int index) const { return ItemText(row, index + 1); }

std::vector<std::wstring> TListView::SubItems(int row) const {
  std::vector<std::wstring> result;
  const int count = ColumnCount() - 1;
  for (int i = 0; i < count; ++i) result.push_back(SubItem(row, i));
  return result;
}

int TListView::ImageIndex(int row) const {
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ListView_GetItem(hwnd_, &item);
  return item.iImage;
}

int TListView::SelectedRow() const { return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); }

void TListView::Select(int row) {
  ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (row >= 0) ListView_SetItemState(hwnd_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void TListView::BeginUpdate() { SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0); }

void TListView::EndUpdate() {
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}
