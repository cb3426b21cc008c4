#include "toolkit/list_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "base/errors.h"
#include "base/system_libraries.h"
#include "toolkit/form.h"
#include "toolkit/image_list.h"
#include "toolkit/popup_menu.h"

namespace {

const wchar_t* ListViewClass() {
  [[maybe_unused]] static const bool registered = [] {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES};
    return syslib::InitCommonControlsEx(&init) != FALSE;
  }();
  return WC_LISTVIEWW;
}

// No LVS_SHOWSELALWAYS: the selection is hidden while the list lacks the focus.
constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                         LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS | LVS_OWNERDATA;

}  // namespace

TListView::TListView(HWND parent, const RECT& bounds, int controlId)
    : TWinControl(ListViewClass(), kStyle, 0, parent, bounds, controlId) {
  ListView_SetExtendedListViewStyle(Handle(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
}

void TListView::AddColumn(const std::wstring& caption, int width) {
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(caption.c_str());
  column.cx = width;
  const int index = ColumnCount();
  ListView_InsertColumn(Handle(), index, &column);
}

int TListView::ColumnCount() const {
  const HWND header = ListView_GetHeader(Handle());
  return header ? Header_GetItemCount(header) : 0;
}

void TListView::SetSmallImages(const TImageList& images) {
  // The control leaves room for the icons and the list draws them itself, after the control has
  // drawn the rows: see OnCustomDraw.
  smallImages_ = &images;
  ListView_SetImageList(Handle(), images.SpacerHandle(), LVSIL_SMALL);
}

int TListView::AddRow(std::wstring caption, int imageIndex, std::vector<std::wstring> subItems) {
  rows_.push_back(TListItem{std::move(caption), imageIndex, std::move(subItems)});
  if (updateDepth_ == 0) SyncRowCount();
  return static_cast<int>(rows_.size()) - 1;
}

void TListView::SyncRowCount() {
  if (ListView_GetItemCount(Handle()) != static_cast<int>(rows_.size()))
    ListView_SetItemCountEx(Handle(), static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
}

void TListView::Clear() {
  // Deleting the control's rows drops selection and focus without a change notification.
  ListView_DeleteAllItems(Handle());
  rows_.clear();
}

int TListView::RowCount() const {
  return static_cast<int>(rows_.size());
}

std::wstring TListView::DisplayedText(int row, int column) const {
  // The control copies at most the buffer's size and reports how much it copied; grow the buffer
  // until the text fits with room to spare.
  std::wstring buffer(256, L'\0');
  for (;;) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = static_cast<size_t>(
        SendMessageW(Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

const TListItem& TListView::Item(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size())
    throw Exception(L"List index out of bounds (" + std::to_wstring(row) + L")");
  return rows_[static_cast<size_t>(row)];
}

std::wstring TListView::Caption(int row) const {
  return Item(row).Caption;
}

std::wstring TListView::SubItem(int row, int index) const {
  const auto& subItems = Item(row).SubItems;
  return index >= 0 && static_cast<size_t>(index) < subItems.size() ? subItems[static_cast<size_t>(index)]
                                                                    : std::wstring();
}

std::vector<std::wstring> TListView::SubItems(int row) const {
  return Item(row).SubItems;
}

int TListView::ImageIndex(int row) const {
  return row >= 0 && static_cast<size_t>(row) < rows_.size() ? rows_[static_cast<size_t>(row)].ImageIndex : 0;
}

int TListView::SelectedRow() const {
  return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
}

const TListItem* TListView::SelectedItem() const {
  const int row = SelectedRow();
  return row >= 0 ? &Item(row) : nullptr;
}

void TListView::Select(int row) {
  SyncRowCount();  // rows added under an update lock can be selected before it ends
  ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (row >= 0)
    ListView_SetItemState(Handle(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int TListView::TopRow() const {
  return ListView_GetTopIndex(Handle());
}

void TListView::ScrollToRow(int row) {
  // A report view scrolls by pixels, rounded to whole rows; every row has the first one's height.
  RECT first = {};
  if (RowCount() == 0 || !ListView_GetItemRect(Handle(), 0, &first, LVIR_BOUNDS)) return;
  ListView_Scroll(Handle(), 0, (row - TopRow()) * (first.bottom - first.top));
}

// The control keeps a redraw switch of its own and, switched back on, sets its scroll bars, which
// under Wine draws them at once, even unchanged: a few milliseconds per keystroke of the search.
// So the window's own switch (the default handling, which the control does not pass on) is off
// too until the control has set them, and the window is then drawn once, frame and all.
void TListView::BeginUpdate() {
  if (updateDepth_++ > 0) return;
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  DefWindowProcW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
  if (updateDepth_ == 0 || --updateDepth_ > 0) return;
  SyncRowCount();
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  DefWindowProcW(Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TListView::SortItems(int data) {
  // As the system's sort: nothing is compared with fewer than two rows.
  if (rows_.size() < 2) return;
  const int selected = SelectedRow();
  const int focused = ListView_GetNextItem(Handle(), -1, LVNI_FOCUSED);
  const int mark = ListView_GetSelectionMark(Handle());
  std::exception_ptr error;
  const auto moved = SortRows(rows_, [&](const TListItem& first, const TListItem& second) {
    // After an error the rest compare equal: the sort ends quickly and the rows all stay.
    int compare = 0;
    if (error || !OnCompare) return compare;
    try {
      OnCompare(*this, first, second, data, compare);
    } catch (...) {
      error = std::current_exception();
    }
    return compare;
  });
  MoveStates(moved, selected, focused, mark);
  InvalidateRect(Handle(), nullptr, TRUE);
  if (error) std::rethrow_exception(error);
}

void TListView::MoveStates(const std::vector<size_t>& moved, int selected, int focused, int mark) {
  const auto to = [&](int row) { return row >= 0 ? static_cast<int>(moved[static_cast<size_t>(row)]) : -1; };
  if (selected < 0 && focused < 0 && mark < 0) return;
  movingStates_ = true;
  ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (focused >= 0) ListView_SetItemState(Handle(), to(focused), LVIS_FOCUSED, LVIS_FOCUSED);
  if (selected >= 0) ListView_SetItemState(Handle(), to(selected), LVIS_SELECTED, LVIS_SELECTED);
  ListView_SetSelectionMark(Handle(), to(mark));
  movingStates_ = false;
}

bool TListView::HandleParentMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  result = 0;
  if (message == WM_CONTEXTMENU) return OnContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (message != WM_NOTIFY) return false;
  switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case LVN_GETDISPINFOW:
      return OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
    case LVN_ODFINDITEMW:
      return OnFindItem(*reinterpret_cast<const NMLVFINDITEMW*>(lParam), result);
    case LVN_DELETEALLITEMS:
      return OnDeleteAllItems(result);
    case LVN_ITEMCHANGED:
      return OnItemChanged(*reinterpret_cast<const NMLISTVIEW*>(lParam));
    case NM_CLICK:
      return OnClickNotify();
    case NM_DBLCLK:
      return OnDblClickNotify();
    case LVN_COLUMNCLICK:
      return OnColumnClickNotify(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
    case NM_CUSTOMDRAW:
      return OnCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam), result);
    default:
      return false;
  }
}

bool TListView::OnContextMenu(POINT at) {
  if (!popupMenu_) return false;
  if (at.x == -1 && at.y == -1) {
    // From the keyboard: open below the selected row, or at the list's top-left corner.
    RECT row = {};
    const int selected = SelectedRow();
    at = selected >= 0 && ListView_GetItemRect(Handle(), selected, &row, LVIR_LABEL)
             ? POINT{row.left + 8, row.bottom}
             : POINT{0, 0};
    ClientToScreen(Handle(), &at);
  }
  popupMenu_->Popup(GetParent(Handle()), at);
  return true;
}

bool TListView::OnGetDispInfo(LVITEMW& item) const {
  if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows_.size()) return true;
  const TListItem& row = rows_[static_cast<size_t>(item.iItem)];
  if (item.mask & LVIF_IMAGE) item.iImage = row.ImageIndex;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return true;
  const size_t column = static_cast<size_t>(item.iSubItem);
  const std::wstring* text = column == 0                     ? &row.Caption
                             : column <= row.SubItems.size() ? &row.SubItems[column - 1]
                                                             : nullptr;
  const size_t length = text ? std::min(text->size(), static_cast<size_t>(item.cchTextMax - 1)) : 0;
  if (text) std::wmemcpy(item.pszText, text->data(), length);
  item.pszText[length] = L'\0';
  return true;
}

// The control's type-ahead: letters typed into the list move to the next row whose name begins
// with them.
// The control draws each row's icon through the system's image list, which costs a third of a
// millisecond per icon under Wine; so it is given an image list that holds none, and once it has
// drawn the rows, the list draws their icons where the control left room for them, as the
// control would: tinted on the selected row while the list has the focus.
bool TListView::OnCustomDraw(const NMCUSTOMDRAW& draw, LRESULT& result) const {
  if (!smallImages_) return false;
  if (draw.dwDrawStage == CDDS_PREPAINT) {
    result = CDRF_NOTIFYPOSTPAINT;
    return true;
  }
  if (draw.dwDrawStage != CDDS_POSTPAINT) return false;
  const int first = std::max(0, TopRow());
  const int end = std::min(RowCount(), first + ListView_GetCountPerPage(Handle()) + 2);
  const int selected = GetFocus() == Handle() ? SelectedRow() : -1;
  const COLORREF background = ListView_GetBkColor(Handle());
  for (int row = first; row < end; ++row) {
    RECT icon = {};
    if (!ListView_GetItemRect(Handle(), row, &icon, LVIR_ICON) || IsRectEmpty(&icon) ||
        !RectVisible(draw.hdc, &icon))
      continue;
    const int image = rows_[static_cast<size_t>(row)].ImageIndex;
    if (image < 0) continue;
    if (background != CLR_NONE) {
      const UniqueBrush brush(CreateSolidBrush(background));
      FillRect(draw.hdc, &icon, brush.Get());
    }
    smallImages_->Draw(draw.hdc, image, icon.left, icon.top, row == selected);
  }
  result = CDRF_DODEFAULT;
  return true;
}

bool TListView::OnFindItem(const NMLVFINDITEMW& find, LRESULT& result) const {
  result = -1;
  if ((find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.lvfi.psz)
    result = FindRowByPrefix(rows_, find.lvfi.psz, find.iStart, (find.lvfi.flags & LVFI_WRAP) != 0);
  return true;
}

bool TListView::OnDeleteAllItems(LRESULT& result) const {
  result = TRUE;  // no LVN_DELETEITEM per row: the rows are ours
  return true;
}

bool TListView::OnItemChanged(const NMLISTVIEW& change) {
  if (!OnChange || movingStates_) return false;
  const TItemChange kind = (change.uChanged & LVIF_STATE)   ? TItemChange::State
                           : (change.uChanged & LVIF_IMAGE) ? TItemChange::Image
                                                            : TItemChange::Text;
  const bool isRow = change.iItem >= 0 && static_cast<size_t>(change.iItem) < rows_.size();
  OnChange(*this, isRow ? &rows_[static_cast<size_t>(change.iItem)] : nullptr, kind);
  return true;
}

bool TListView::OnClickNotify() {
  if (OnClick) OnClick(*this);
  return true;
}

bool TListView::OnDblClickNotify() {
  if (OnDblClick) OnDblClick(*this);
  return true;
}

bool TListView::OnColumnClickNotify(int column) {
  if (OnColumnClick) OnColumnClick(*this, column);
  return true;
}
