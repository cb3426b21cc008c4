// What the user sees: the window captured from the screen, checked at points whose colours
// the skin fixes, and kept as artifacts/main_window.png in the build folder.
#include "tests/support/screenshot.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/app/main_window_fixture.h"
#include "tests/support/skin_colours.h"
#include "toolkit/graphics.h"

namespace testsupport {
namespace {

using ScreenshotTest = MainWindowFixture;

TEST_F(ScreenshotTest, WindowShowsTheSkinTheListAndTheButtonsWhereTheyBelong) {
  ImportRegFile(L"gui_entries.reg");
  Start();
  Pump(300);
  const Screenshot shot(form_->Handle());
  std::filesystem::create_directories(ARTIFACT_DIR);
  shot.SavePng(std::string(ARTIFACT_DIR) + "/main_window.png");

  ExpectSkinColours(shot);
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
