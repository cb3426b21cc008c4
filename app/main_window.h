#pragma once
// TForm1, the program's one window, built from the layout description MAIN_WINDOW_LAYOUT,
// and its event handlers. The layout binds events to the handlers by the names registered in
// Handlers().

#include "toolkit/edit.h"
#include "toolkit/form.h"
#include "toolkit/image.h"
#include "toolkit/image_list.h"
#include "toolkit/label.h"
#include "toolkit/list_view.h"
#include "toolkit/popup_menu.h"
#include "widgets/img_btn.h"

class TForm1 : public TForm {
 public:
  // Builds the window from the layout stored in `module` and runs FormCreate. The window
  // stays hidden until Show().
  explicit TForm1(TFormSite site, HMODULE module = GetModuleHandleW(nullptr));

  // The controls, by the layout's names, in creation order.
  TImage* img2;
  TLabel* lblNO;
  TImgBtn* imgbtn2;
  TImage* img3;
  TImage* img1;
  TImage* imgSoftIcon;
  TLabel* lbl1;
  TLabel* lbl3;
  TLabel* lbl4;
  TLabel* lblProgramsname;
  TLabel* lblPublisher;
  TLabel* lblURL;
  TLabel* lblVersion;
  TImage* img4;
  TImage* img5;
  TImage* img6;
  TImage* img7;
  TImgBtn* imgbtn4;
  TLabel* lbl2;
  TLabel* lbl5;
  TLabel* lbl6;
  TLabel* lbl7;
  TImgBtn* imgbtnMix;
  TImgBtn* imgbtn5;
  TLabel* lbl8;
  TListView* lv1;
  TEdit* edt1;
  TImageList* ImageListSofticon;
  TPopupMenu* pm1;

  void FormCreate(TObject& Sender);
  void FormShow(TObject& Sender);
  void SetRoundedRegion();
  void img2MouseMove(TObject& Sender, TShiftState Shift, int X, int Y);
  void imgbtnMixClick(TObject& Sender);
  void imgbtn5Click(TObject& Sender);
  void imgbtn2Click(TObject& Sender);
  void imgbtn4Click(TObject& Sender);
  void img4Click(TObject& Sender);
  void img5Click(TObject& Sender);
  void img6Click(TObject& Sender);
  void img7Click(TObject& Sender);
  void lbl8Click(TObject& Sender);
  void lblURLClick(TObject& Sender);
  void lv1Change(TObject& Sender, const TListItem* Item, TItemChange Change);
  void lv1Click(TObject& Sender);
  void lv1ColumnClick(TObject& Sender, int ColumnIndex);
  void lv1Compare(TObject& Sender, const TListItem& Item1, const TListItem& Item2, int Data, int& Compare);
  void lv1DblClick(TObject& Sender);
  void edt1Change(TObject& Sender);
  void pm1Popup(TObject& Sender);
  void Uninstall1Click(TObject& Sender);
  void Res1Click(TObject& Sender);
  void Open1Click(TObject& Sender);
  void ViewEntry1Click(TObject& Sender);

  // Fills the details panel from the selected row; does nothing without one.
  void ShowDetails();
  // Writes the number of rows into the count label: "Total N Softwares" after the first show, the
  // Uninstall and All Programs buttons; the bare number after a search and a double-click.
  enum class TCountForm { Total, Bare };
  void ShowCount(TCountForm form);

  // The column that the last header click sorted, and the direction of the next sort of that
  // same column. Before any click: the name column, descending.
  int lastSortColumn = 0;
  bool sortAscending = false;

 private:
  static void ShowDetailPair(TLabel& caption, TLabel& value, const std::wstring& text);
  void UninstallSelected();
  template <typename Visit>
  void ForEachLayoutName(Visit&& visit);
  THandlerTable Handlers();
  template <typename... Args>
  void AddHandler(THandlerTable& table, std::string name, void (TForm1::*method)(Args...));
  void BindControls();
  void DescribeForAccessibility();
};
