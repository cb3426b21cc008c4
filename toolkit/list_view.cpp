#include "toolkit/list_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "base/errors.h"
#include "toolkit/form.h"
#include "toolkit/image_list.h"
#include "toolkit/popup_menu.h"
#include "toolkit/system_libraries.h"

namespace {

const wchar_t* ListViewClass() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES};
    return syslib::InitCommonControlsEx(&init) != FALSE;
  }();
  (void)registered;
  return WC_LISTVIEWW;
}

// No LVS_SHOWSELALWAYS: the selection is hidden while the list lacks the focus.
constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                         LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS;

struct SortContext {
  TListView* list;
  int data;
  std::exception_ptr error;
};

}  // namespace

TListView::TListView(HWND parent, const RECT& bounds, int controlId)
    : TWinControl(ListViewClass(), kStyle, 0, parent, bounds, controlId) {
  ListView_SetExtendedListViewStyle(Handle(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
}

TListView::~TListView() {
  // The rows point at their copies; remove the rows first.
  if (IsWindow(Handle())) ListView_DeleteAllItems(Handle());
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
  ListView_SetImageList(Handle(), images.Handle(), LVSIL_SMALL);
}

int TListView::AddRow(const std::wstring& caption, int imageIndex,
                      const std::vector<std::wstring>& subItems) {
  auto record = std::make_unique<TListItem>(TListItem{caption, imageIndex, subItems});
  // The texts stay in the record: the control asks for them (LVN_GETDISPINFO) only for the rows
  // it paints, so that refilling the list with thousands of rows costs one message per row.
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = RowCount();
  item.iImage = imageIndex;
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.lParam = reinterpret_cast<LPARAM>(record.get());
  items_.push_back(std::move(record));
  return ListView_InsertItem(Handle(), &item);
}

void TListView::Clear() {
  ListView_DeleteAllItems(Handle());
  items_.clear();
}

int TListView::RowCount() const {
  return ListView_GetItemCount(Handle());
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
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!ListView_GetItem(Handle(), &item) || !item.lParam)
    throw Exception(L"List index out of bounds (" + std::to_wstring(row) + L")");
  return *reinterpret_cast<const TListItem*>(item.lParam);
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
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ListView_GetItem(Handle(), &item);
  return item.iImage;
}

int TListView::SelectedRow() const {
  return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED);
}

const TListItem* TListView::SelectedItem() const {
  const int row = SelectedRow();
  return row >= 0 ? &Item(row) : nullptr;
}

void TListView::Select(int row) {
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

void TListView::BeginUpdate() {
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

int CALLBACK TListView::CompareRows(LPARAM first, LPARAM second, LPARAM sort) {
  auto& context = *reinterpret_cast<SortContext*>(sort);
  // The comparison runs inside the control's sort: an error must not unwind through it.
  if (context.error || !context.list->OnCompare) return 0;
  int compare = 0;
  try {
    context.list->OnCompare(*context.list, *reinterpret_cast<const TListItem*>(first),
                            *reinterpret_cast<const TListItem*>(second), context.data, compare);
  } catch (...) {
    context.error = std::current_exception();
  }
  return compare;
}

void TListView::SortItems(int data) {
  SortContext context{this, data, nullptr};
  SendMessageW(Handle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
               reinterpret_cast<LPARAM>(CompareRows));
  if (context.error) std::rethrow_exception(context.error);
}

bool TListView::HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  if (message == WM_CONTEXTMENU) {
    if (!popupMenu_) return false;
    POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
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
  if (message != WM_NOTIFY) return false;
  (void)wParam;
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      auto& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
      const auto* record = reinterpret_cast<const TListItem*>(item.lParam);
      if (!(item.mask & LVIF_TEXT) || !record || !item.pszText || item.cchTextMax <= 0) return true;
      const size_t column = static_cast<size_t>(item.iSubItem);
      const std::wstring* text = column == 0                         ? &record->Caption
                                 : column <= record->SubItems.size() ? &record->SubItems[column - 1]
                                                                     : nullptr;
      const size_t length = text ? std::min(text->size(), static_cast<size_t>(item.cchTextMax - 1)) : 0;
      if (text) std::wmemcpy(item.pszText, text->data(), length);
      item.pszText[length] = L'\0';
      return true;
    }
    case LVN_DELETEALLITEMS:
      result = TRUE;  // no LVN_DELETEITEM per row: the records go with items_
      return true;
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
      if (!OnChange) return false;
      const TItemChange kind = (change->uChanged & LVIF_STATE)   ? TItemChange::State
                               : (change->uChanged & LVIF_IMAGE) ? TItemChange::Image
                                                                 : TItemChange::Text;
      OnChange(*this, reinterpret_cast<const TListItem*>(change->lParam), kind);
      return true;
    }
    case NM_CLICK:
      if (OnClick) OnClick(*this);
      return true;
    case NM_DBLCLK:
      if (OnDblClick) OnDblClick(*this);
      return true;
    case LVN_COLUMNCLICK:
      if (OnColumnClick) OnColumnClick(*this, reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
      return true;
    default:
      return false;
  }
}

void TListView::SetStyleBit(DWORD bit, bool on) {
  const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
  SetWindowLongW(Handle(), GWL_STYLE,
                 on ? (style | static_cast<LONG>(bit)) : (style & ~static_cast<LONG>(bit)));
}

void TListView::SetExtendedStyleBit(DWORD bit, bool on) {
  ListView_SetExtendedListViewStyleEx(Handle(), bit, on ? bit : 0);
}

void TListView::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  const std::string& name = property.name;
  if (name == "ViewStyle") {
    if (property.Ident() != "vsReport") property.Fail("only vsReport is supported");
  } else if (name == "ShowColumnHeaders") {
    SetStyleBit(LVS_NOCOLUMNHEADER, !property.Bool());
  } else if (name == "RowSelect") {
    SetExtendedStyleBit(LVS_EX_FULLROWSELECT, property.Bool());
  } else if (name == "GridLines") {
    SetExtendedStyleBit(LVS_EX_GRIDLINES, property.Bool());
  } else if (name == "ReadOnly") {
    SetStyleBit(LVS_EDITLABELS, !property.Bool());
  } else if (name == "HideSelection") {
    SetStyleBit(LVS_SHOWSELALWAYS, !property.Bool());
  } else if (name == "SmallImages") {
    const std::string images = property.Ident();
    context.AfterBuild(
        [this, &form = context.Form(), images] { SetSmallImages(form.Find<TImageList>(images)); });
  } else if (name == "PopupMenu") {
    const std::string menu = property.Ident();
    context.AfterBuild([this, &form = context.Form(), menu] { SetPopupMenu(&form.Find<TPopupMenu>(menu)); });
  } else if (name == "OnChange") {
    OnChange = context.Handler<TLVChangeEvent>(property);
  } else if (name == "OnClick") {
    OnClick = context.Handler<TNotifyEvent>(property);
  } else if (name == "OnDblClick") {
    OnDblClick = context.Handler<TNotifyEvent>(property);
  } else if (name == "OnColumnClick") {
    OnColumnClick = context.Handler<TLVColumnClickEvent>(property);
  } else if (name == "OnCompare") {
    OnCompare = context.Handler<TLVCompareEvent>(property);
  } else {
    TWinControl::ApplyProperty(property, context);
  }
}

void TListView::AddChild(const TLayoutNode& child, TLayoutContext& context) {
  if (child.className != "item") child.Fail("a list holds only column items");
  std::wstring caption;
  int width = 50;
  for (const TLayoutProperty& property : child.properties) {
    if (property.name == "Caption") {
      caption = property.Text();
    } else if (property.name == "Width") {
      width = context.Pixels(property);
    } else {
      property.Fail("not a column property");
    }
  }
  AddColumn(caption, width);
}
