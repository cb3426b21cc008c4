// The main window built again at another density, when the system has moved it to a screen of
// another scale: what the user has made of the window is kept across the rebuild.
#include "app/main_window.h"
#include "catalogue/softwarelist.h"

namespace {

// What the user has made of the window, beyond the sort's alternation, which the form keeps
// itself, and the snapshot, which the catalogue keeps.
struct TUserState {
  std::vector<TListItem> rows;
  int images = 0;
  int selectedRow = -1;
  int topRow = 0;
  std::wstring search;
  TEdit::TRange searchSelection;
  std::wstring count;
  bool listFocused = false;
  bool searchFocused = false;
};

}  // namespace

void TForm1::Rescale(TScale scale) {
  TUserState kept;
  for (int row = 0; row < lv1->RowCount(); ++row) kept.rows.push_back(lv1->Item(row));
  kept.images = ImageListSofticon->Count();
  kept.selectedRow = lv1->SelectedRow();
  kept.topRow = lv1->TopRow();
  kept.search = edt1->Text();
  kept.searchSelection = edt1->Selection();
  kept.count = lblNO->Caption();
  const HWND focus = GetFocus();
  kept.listFocused = focus == lv1->Handle();
  kept.searchFocused = focus == edt1->Handle();
  const std::optional<TListItem> details = detailsShown_;

  BeginRebuild(scale);
  Build();
  SetRoundedRegion();

  {
    const ListUpdateLock noRepaintUntilDone(*lv1);
    for (const TListItem& row : kept.rows) lv1->AddRow(row.Caption, row.ImageIndex, row.SubItems);
    RedrawEntryIcons(*lv1, *ImageListSofticon, kept.images);
    lv1->Select(kept.selectedRow);
  }
  lv1->ScrollToRow(kept.topRow);
  if (details) ShowDetailsOf(*details);
  // The text is put back as it was, not searched for again: the rows already are its result,
  // in the order the user sorted them.
  const TNotifyEvent search = std::exchange(edt1->OnChange, nullptr);
  edt1->SetText(kept.search);
  edt1->OnChange = search;
  edt1->SetSelection(kept.searchSelection);
  lblNO->SetCaption(kept.count);
  if (kept.listFocused) SetFocus(lv1->Handle());
  if (kept.searchFocused) SetFocus(edt1->Handle());
}
