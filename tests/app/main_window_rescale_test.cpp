// The real main window built again at another density: its icons drawn again for every index
// that rows and search hand out, and a rebuild that comes inside a control's own handler.
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/app/main_window_fixture.h"

namespace testsupport {
namespace {

using RescaleTest = MainWindowFixture;

// How many pixels of an image of the list are not fully transparent.
int DrawnPixels(const TImageList& images, int index) {
  int drawn = 0;
  for (const std::uint32_t pixel : images.Pixels(index)) drawn += (pixel >> 24) != 0;
  return drawn;
}

TEST_F(RescaleTest, RebuiltAtAnotherDensityEveryRowAndSearchFindsItsIconDrawnAtTheNewSize) {
  AddEntry(L"1", L"Text Entry", {.icon = L"C:\\windows\\notepad.exe"});
  AddEntry(L"2", L"Plain Entry");
  Start();
  AddEntry(L"3", L"Later Entry", {.icon = L"C:\\windows\\system32\\winecfg.exe"});
  form_->imgbtn4Click(*form_);  // a rescan: the images of the first scan stay, for the snapshot
  const int images = form_->ImageListSofticon->Count();
  ASSERT_EQ(images, 4);

  form_->Rescale(TScale(144));
  Pump();
  const TImageList& list = *form_->ImageListSofticon;
  EXPECT_EQ(list.Width(), 30);
  EXPECT_EQ(list.Count(), images);
  const auto iconOf = [&](const std::wstring& caption) {
    for (int row = 0; row < form_->lv1->RowCount(); ++row)
      if (form_->lv1->Caption(row) == caption) return form_->lv1->ImageIndex(row);
    return -1;
  };
  EXPECT_GT(iconOf(L"Later Entry"), 0);
  EXPECT_GT(DrawnPixels(list, iconOf(L"Later Entry")), 100);
  // The search's rows come from the snapshot, with the indices of the first scan.
  form_->edt1->SetText(L"text");
  Pump();
  ASSERT_EQ(Captions(), std::vector<std::wstring>{L"Text Entry"});
  EXPECT_GT(DrawnPixels(list, form_->lv1->ImageIndex(0)), 100);
  EXPECT_EQ(form_->lv1->ImageIndex(0), 1);
}

// The drag that moves the window to another screen runs inside a control's handler, and the
// system's WM_DPICHANGED comes inside it: the rebuild must not pull the control from under it.
TEST_F(RescaleTest, ARebuildFromInsideAControlsOwnHandlerLetsTheHandlerFinish) {
  Start();
  const TImgBtn* before = form_->imgbtn4;
  form_->imgbtn4->OnClick = [&](TObject&) {
    RECT suggested = {};
    GetWindowRect(form_->Handle(), &suggested);
    SendMessageW(form_->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  };
  const RECT button = form_->imgbtn4->BoundsRect();
  ClickAt({(button.left + button.right) / 2, (button.top + button.bottom) / 2});
  MoveAway();
  EXPECT_NE(form_->imgbtn4, before);
  RECT window = {};
  GetWindowRect(form_->Handle(), &window);
  EXPECT_EQ(window.right - window.left, TScale(144).Pixels(870));
  EXPECT_EQ(form_->Scale(), TScale(144));
  EXPECT_TRUE(errors_.empty());
}

}  // namespace
}  // namespace testsupport
