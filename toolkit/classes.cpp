#include "toolkit/classes.h"

#include "toolkit/edit.h"
#include "toolkit/form.h"
#include "toolkit/image.h"
#include "toolkit/image_list.h"
#include "toolkit/label.h"
#include "toolkit/list_view.h"
#include "toolkit/popup_menu.h"

TClassRegistry StandardClasses() {
  TClassRegistry classes;
  classes.Add("TImage", [](TForm& form) { return std::make_unique<TImage>(&form); });
  classes.Add("TLabel", [](TForm& form) { return std::make_unique<TLabel>(&form); });
  classes.Add("TListView", [](TForm& form) { return std::make_unique<TListView>(form.Handle(), RECT{}); });
  classes.Add("TEdit", [](TForm& form) { return std::make_unique<TEdit>(form.Handle(), RECT{}); });
  classes.Add("TImageList", [](TForm&) { return std::make_unique<TImageList>(16, 16); });
  classes.Add("TPopupMenu", [](TForm&) { return std::make_unique<TPopupMenu>(); });
  return classes;
}
