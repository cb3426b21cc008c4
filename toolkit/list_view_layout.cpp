#include "toolkit/form.h"
#include "toolkit/image_list.h"
#include "toolkit/list_view.h"
#include "toolkit/popup_menu.h"

// The list's properties and columns as a layout description gives them.

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

void TListView::BeginLoading() {
  TWinControl::BeginLoading();
  BeginUpdate();
}

void TListView::Loaded() {
  TWinControl::Loaded();
  EndUpdate();
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
