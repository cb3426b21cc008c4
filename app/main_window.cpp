#include "app/main_window.h"

#include <string_view>
#include <type_traits>

#include "actions/launch.h"
#include "actions/path_cleanup.h"
#include "actions/regedit_navigation.h"
#include "actions/shell_open.h"
#include "app/count_text.h"
#include "app/entry_compare.h"
#include "catalogue/snapshot.h"
#include "catalogue/softwarelist.h"
#include "toolkit/application.h"
#include "toolkit/classes.h"
#include "toolkit/picture.h"

namespace {

std::string_view LayoutText(HMODULE module) {
  const auto bytes = ResourceBytes(module, L"MAIN_WINDOW_LAYOUT");
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

TForm1::TForm1(TFormSite site, HMODULE module) : TForm(std::move(site)) {
  TClassRegistry classes = StandardClasses();
  RegisterImgBtn(classes);
  LoadForm(*this, LayoutText(module), module, classes, Handlers());
  BindControls();
  DescribeForAccessibility();
  DoCreate();
}

// Every name of the layout that the form binds, each given once: a control, found by that name
// once the layout is loaded and kept in the member of that name, or a handler, registered under
// its name before the layout binds events to it.
template <typename Visit>
void TForm1::ForEachLayoutName(Visit&& visit) {
#define NAME(member) visit(#member, &TForm1::member)
  // clang-format off
  // The controls, in creation order.
  NAME(img2); NAME(lblNO); NAME(imgbtn2); NAME(img3); NAME(img1); NAME(imgSoftIcon); NAME(lbl1); NAME(lbl3);
  NAME(lbl4); NAME(lblProgramsname); NAME(lblPublisher); NAME(lblURL); NAME(lblVersion); NAME(img4);
  NAME(img5); NAME(img6); NAME(img7); NAME(imgbtn4); NAME(lbl2); NAME(lbl5); NAME(lbl6); NAME(lbl7);
  NAME(imgbtnMix); NAME(imgbtn5); NAME(lbl8); NAME(lv1); NAME(edt1); NAME(ImageListSofticon); NAME(pm1);
  // The handlers the layout binds events to.
  NAME(FormCreate); NAME(FormShow); NAME(img2MouseMove); NAME(imgbtnMixClick); NAME(imgbtn5Click);
  NAME(imgbtn2Click); NAME(imgbtn4Click); NAME(img4Click); NAME(img5Click); NAME(img6Click); NAME(img7Click);
  NAME(lbl8Click); NAME(lblURLClick); NAME(lv1Change); NAME(lv1Click); NAME(lv1ColumnClick); NAME(lv1Compare);
  NAME(lv1DblClick); NAME(edt1Change); NAME(pm1Popup); NAME(Uninstall1Click); NAME(Res1Click);
  NAME(Open1Click); NAME(ViewEntry1Click);
  // clang-format on
#undef NAME
}

THandlerTable TForm1::Handlers() {
  THandlerTable table;
  // Each handler is registered with the event type its signature gives.
  ForEachLayoutName([&]<typename Member>(const char* name, Member member) {
    if constexpr (std::is_member_function_pointer_v<Member>) AddHandler(table, name, member);
  });
  return table;
}

template <typename... Args>
void TForm1::AddHandler(THandlerTable& table, std::string name, void (TForm1::*method)(Args...)) {
  table.Add(std::move(name), std::function<void(Args...)>([this, method](Args... args) {
              (this->*method)(std::forward<Args>(args)...);
            }));
}

void TForm1::BindControls() {
  ForEachLayoutName([&]<typename Member>(const char* name, Member member) {
    if constexpr (std::is_member_object_pointer_v<Member>) {
      using Control = std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
      this->*member = &Find<Control>(name);
    }
  });
}

void TForm1::DescribeForAccessibility() {
  // The buttons are pictures with their words drawn in; a screen reader needs the words.
  imgbtn2->SetAccessibleName(L"Uninstall");
  imgbtn4->SetAccessibleName(L"All Programs");
  imgbtnMix->SetAccessibleName(L"Minimise");
  imgbtn5->SetAccessibleName(L"Close");
  for (TLabel* link : {lbl8, lblURL}) link->SetAccessibleRole(TAccessibleRole::Link);
  // The header bars sort on a click; each is named by the caption drawn over it.
  for (const auto& [bar, caption] : {std::pair{img4, lbl2}, {img5, lbl5}, {img6, lbl6}, {img7, lbl7}}) {
    bar->SetAccessibleRole(TAccessibleRole::ColumnHeader);
    bar->SetAccessibleName(caption->Caption());
  }
}

void TForm1::FormCreate(TObject&) {
  SetDoubleBuffered(true);
  SetRoundedRegion();
}

void TForm1::SetRoundedRegion() {
  RECT window = {};
  GetWindowRect(Handle(), &window);
  UniqueRegion region(CreateRoundRectRgn(0, 0, window.right - window.left, window.bottom - window.top,
                                         Scale().Pixels(11), Scale().Pixels(11)));
  // From here on the system owns the region.
  if (SetWindowRgn(Handle(), region.Get(), TRUE)) region.Release();
}

void TForm1::FormShow(TObject&) {
  ScanUninstallEntries(*lv1, *ImageListSofticon);
  ShowCount(TCountForm::Total);
  BuildSnapshot(*lv1);
}

void TForm1::img2MouseMove(TObject&, TShiftState, int, int) {
  // The move command drags the window while the left button is held and returns on release.
  // Sent with no button held, Wine without a window manager starts a move loop that never
  // ends, so the drag starts only while the left button is really down.
  if ((GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000) == 0) return;
  ReleaseCapture();
  SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

// The one place that writes the count label, in the form the command that changed the rows
// gives.
void TForm1::ShowCount(TCountForm form) {
  const int rows = lv1->RowCount();
  lblNO->SetCaption(form == TCountForm::Total ? TotalCountText(rows) : BareCountText(rows));
}

void TForm1::imgbtnMixClick(TObject&) {
  // Posted, so that the minimise happens after the click has been handled.
  PostMessageW(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TForm1::imgbtn5Click(TObject&) {
  Close();
}

void TForm1::imgbtn4Click(TObject&) {
  ScanUninstallEntries(*lv1, *ImageListSofticon);
  ShowCount(TCountForm::Total);
}

void TForm1::lbl8Click(TObject&) {
  OpenMakerWebSite(Application().Handle());
}

// The label is drawn as a link, so a click opens it, but only when it is a web address: the
// text comes from the registry, where any installer may have written a program path.
void TForm1::lblURLClick(TObject&) {
  OpenHelpLink(Application().Handle(), lblURL->Caption());
}

// The four header pictures sort by the list column beneath them.
void TForm1::img4Click(TObject&) {
  lv1ColumnClick(*this, 0);
}
void TForm1::img5Click(TObject&) {
  lv1ColumnClick(*this, 1);
}
void TForm1::img6Click(TObject&) {
  lv1ColumnClick(*this, 2);
}
void TForm1::img7Click(TObject&) {
  lv1ColumnClick(*this, 3);
}

// Another column sorts ascending; the same column alternates. The sort itself uses the direction
// from before the inversion.
void TForm1::lv1ColumnClick(TObject&, int ColumnIndex) {
  if (ColumnIndex != lastSortColumn) sortAscending = true;
  lv1->SortItems(ColumnIndex - 1);
  sortAscending = !sortAscending;
  lastSortColumn = ColumnIndex;
}

void TForm1::lv1Compare(TObject&, const TListItem& Item1, const TListItem& Item2, int Data, int& Compare) {
  const std::wstring* first = EntrySortText(Item1, Data);
  const std::wstring* second = EntrySortText(Item2, Data);
  if (!first || !second) return;  // no header sorts by such a selector
  Compare = CompareEntryTexts(*first, *second, sortAscending);
}

void TForm1::lv1Change(TObject&, const TListItem*, TItemChange) {
  ShowDetails();
}

void TForm1::lv1Click(TObject&) {
  ShowDetails();
}

void TForm1::ShowDetails() {
  const TListItem* selected = lv1->SelectedItem();
  if (!selected) return;
  const TListItem& item = *selected;
  lblProgramsname->SetWordWrap(false);

  const std::wstring& iconReference = item.SubItems.at(kSubIcon);
  const bool hasIcon = !iconReference.empty();
  img1->SetVisible(!hasIcon);
  imgSoftIcon->SetVisible(hasIcon);
  if (hasIcon) {
    // The picture keeps a copy of the icon's image; the icon itself goes with `icon`.
    const UniqueIcon icon(GetFileIcon(iconReference));
    imgSoftIcon->SetPicture(PictureFromIcon(icon.Get()));
  }

  lblProgramsname->SetCaption(item.Caption);
  ShowDetailPair(*lbl3, *lblPublisher, item.SubItems.at(kSubPublisher));
  ShowDetailPair(*lbl1, *lblVersion, item.SubItems.at(kSubVersion));
  ShowDetailPair(*lbl4, *lblURL, item.SubItems.at(kSubHelpLink));
}

// A caption and its value are shown together, and only for a value with at least one
// character; a hidden value keeps its old text.
void TForm1::ShowDetailPair(TLabel& caption, TLabel& value, const std::wstring& text) {
  const bool shown = !text.empty();
  caption.SetVisible(shown);
  value.SetVisible(shown);
  if (shown) value.SetCaption(text);
}

void TForm1::imgbtn2Click(TObject&) {
  UninstallSelected();
  ShowCount(TCountForm::Total);
}

void TForm1::lv1DblClick(TObject&) {
  UninstallSelected();
  ShowCount(TCountForm::Bare);
}

// Runs the selected entry's uninstaller as stored, waits for it to end, and rescans. Nothing is
// run, and nothing rescanned, without a selected row. The uninstaller's first window takes the
// show state given here in place of its own, so it must be a shown one: a hidden uninstaller
// that waits for a click would never end, and the wait with it.
void TForm1::UninstallSelected() {
  const TListItem* selected = lv1->SelectedItem();
  if (!selected) return;
  const std::wstring command = selected->SubItems.at(kSubUninstall);  // the rescan drops the row
  RunAndWait(command, SW_SHOWNORMAL);
  ScanUninstallEntries(*lv1, *ImageListSofticon);
}

void TForm1::edt1Change(TObject&) {
  const ListUpdateLock noRepaintUntilDone(*lv1);
  lv1->Clear();
  FillFromSnapshot(*lv1, FilterSnapshot(edt1->Text()));
  ShowCount(TCountForm::Bare);
}

// The entry commands need a selected row; Refresh is always there.
void TForm1::pm1Popup(TObject&) {
  const bool selected = lv1->SelectedItem() != nullptr;
  for (const int position : {0, 3, 4}) pm1->Item(position).SetEnabled(selected);
}

// The menu's Uninstall and Refresh do what the Uninstall and All Programs buttons do: the menu
// is how the keyboard reaches those commands.
void TForm1::Uninstall1Click(TObject& Sender) {
  imgbtn2Click(Sender);
}

void TForm1::Res1Click(TObject& Sender) {
  imgbtn4Click(Sender);
}

void TForm1::Open1Click(TObject&) {
  if (const TListItem* selected = lv1->SelectedItem())
    OpenUninstallerFolder(selected->SubItems.at(kSubUninstall));
}

void TForm1::ViewEntry1Click(TObject&) {
  if (const TListItem* selected = lv1->SelectedItem())
    GotoRegistryKey(selected->SubItems.at(kSubKeyPath), L"DisplayName");
}
