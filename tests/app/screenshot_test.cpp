// What the user sees: the window captured from the screen, checked at points whose colours
// the skin fixes, and kept as artifacts/main_window.png in the build folder.
#include "tests/support/screenshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/app/main_window_fixture.h"
#include "toolkit/graphics.h"

namespace testsupport {
namespace {

// Each channel within `tolerance` of the expected colour.
testing::AssertionResult Near(COLORREF actual, int r, int g, int b, int tolerance = 6) {
  const int ar = GetRValue(actual), ag = GetGValue(actual), ab = GetBValue(actual);
  if (std::abs(ar - r) <= tolerance && std::abs(ag - g) <= tolerance && std::abs(ab - b) <= tolerance)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "colour (" << ar << ", " << ag << ", " << ab << "), expected about ("
                                     << r << ", " << g << ", " << b << ")";
}

using ScreenshotTest = MainWindowFixture;

TEST_F(ScreenshotTest, WindowShowsTheSkinTheListAndTheButtonsWhereTheyBelong) {
  ImportRegFile(L"gui_entries.reg");
  Start();
  Pump(300);
  const Screenshot shot(form_->Handle());
  std::filesystem::create_directories(ARTIFACT_DIR);
  shot.SavePng(std::string(ARTIFACT_DIR) + "/main_window.png");

  // The dark body of the left column and its near-black outline.
  EXPECT_TRUE(Near(shot.At(80, 400), 77, 76, 78));
  EXPECT_TRUE(Near(shot.At(1, 300), 43, 43, 44));
  // The red band, darker at its top than lower down, left of the search field and below it.
  EXPECT_TRUE(Near(shot.At(160, 55), 185, 8, 14, 8));
  EXPECT_TRUE(Near(shot.At(600, 122), 196, 11, 20, 8));
  // The near-white search field around the edit box.
  EXPECT_TRUE(Near(shot.At(240, 74), 250, 243, 244, 8));
  // The light grey panel, left of the list's frame and below the details panel.
  EXPECT_TRUE(Near(shot.At(160, 400), 207, 206, 207));
  EXPECT_TRUE(Near(shot.At(500, 595), 207, 206, 207));
  // Header bars, beside their captions, and the gap between two bars showing the panel.
  EXPECT_TRUE(Near(shot.At(400, 158), 113, 111, 114));
  EXPECT_TRUE(Near(shot.At(520, 158), 113, 111, 114));
  EXPECT_TRUE(Near(shot.At(800, 150), 113, 111, 114));
  // The list: a white window in its place, below its last row, with its own dark border.
  EXPECT_TRUE(Near(shot.At(600, 480), 255, 255, 255));
  EXPECT_FALSE(Near(shot.At(168, 300), 207, 206, 207, 20));
  // The Uninstall button's yellow face, the All Programs tile on the dark column.
  EXPECT_TRUE(Near(shot.At(735, 86), 233, 240, 18, 12));
  EXPECT_TRUE(Near(shot.At(140, 150), 103, 102, 104, 8));
  // The details backdrop under the list.
  EXPECT_TRUE(Near(shot.At(800, 580), 250, 243, 244, 8));
  // The count label's white text in the red band.
  bool whiteText = false;
  for (int x = 176; x < 300 && !whiteText; ++x)
    for (int y = 104; y < 126 && !whiteText; ++y) whiteText = Near(shot.At(x, y), 255, 255, 255, 30);
  EXPECT_TRUE(whiteText);
}

TEST_F(ScreenshotTest, IconPictureIsTransparentWhereTheIconIs) {
  CreateEmptyUninstallKey();
  Start();
  const HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"#2", IMAGE_ICON, 20, 20, 0));
  ASSERT_NE(icon, nullptr);
  const TPicture picture = PictureFromIcon(icon);
  DestroyIcon(icon);
  ASSERT_EQ(picture.Width(), 20);
  ASSERT_EQ(picture.Height(), 20);
  // Shown over the panel by a picture control: some pixels keep the panel, some do not.
  form_->img1->SetPicture(picture);
  form_->img1->SetVisible(true);
  Pump(200);
  const Screenshot shot(form_->Handle());
  int panel = 0;
  int drawn = 0;
  for (int x = form_->img1->Left(); x < form_->img1->Left() + 20; ++x)
    for (int y = form_->img1->Top(); y < form_->img1->Top() + 20; ++y)
      ++(Near(shot.At(x, y), 250, 243, 244, 2) ? panel : drawn);
  EXPECT_EQ(form_->img1->Width(), 20);  // AutoSize follows the icon
  EXPECT_GT(panel, 0);
  EXPECT_GT(drawn, 100);
  EXPECT_TRUE(PictureFromIcon(nullptr).Empty());
}

TEST_F(ScreenshotTest, HoveredButtonsShowTheirHighlightedFaces) {
  CreateEmptyUninstallKey();
  Start();
  const auto redPixels = [](const Screenshot& shot, const RECT& area) {
    int count = 0;
    for (int x = area.left; x < area.right; ++x)
      for (int y = area.top; y < area.bottom; ++y) count += Near(shot.At(x, y), 233, 4, 4, 25) ? 1 : 0;
    return count;
  };
  const RECT closeArea = form_->imgbtn5->BoundsRect();
  {
    const Screenshot idle(form_->Handle());
    EXPECT_TRUE(Near(idle.At(150, 165), 103, 102, 104, 8));  // the dark tile of All Programs
    EXPECT_EQ(redPixels(idle, closeArea), 0);
  }
  MoveTo({60, 165});
  Pump(200);
  {
    // The tab turns light and reaches into the panel, joining it.
    const Screenshot hovered(form_->Handle());
    std::filesystem::create_directories(ARTIFACT_DIR);
    hovered.SavePng(std::string(ARTIFACT_DIR) + "/main_window_hover.png");
    EXPECT_TRUE(Near(hovered.At(150, 165), 207, 206, 207, 8));
    EXPECT_TRUE(Near(hovered.At(162, 165), 207, 206, 207, 8));
  }
  MoveTo({form_->imgbtn5->Left() + 10, form_->imgbtn5->Top() + 10});
  Pump(200);
  {
    const Screenshot hovered(form_->Handle());
    EXPECT_GT(redPixels(hovered, closeArea), 10);
    EXPECT_TRUE(Near(hovered.At(150, 165), 103, 102, 104, 8));
  }
}

}  // namespace
}  // namespace testsupport
