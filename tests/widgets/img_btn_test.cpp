// The image buttons of the real window, driven by the pointer: which face shows at each step.
#include <gtest/gtest.h>

#include "tests/app/main_window_fixture.h"

namespace testsupport {
namespace {

// Names the face a button shows by comparing the shown picture with the stored faces.
std::string FaceOf(const TImgBtn& button) {
  const TPicture& shown = button.Picture();
  if (shown == button.PicDown()) return "down";
  if (shown == button.PicUp()) return "up";
  if (shown == button.Pic()) return "pic";
  if (shown == button.PicDisable()) return "disable";
  return shown.Empty() ? "empty" : "other";
}

class ImgBtnTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    Start();
  }

  // Records every own event and the click of `button` with the face shown at that moment.
  void Record(TImgBtn& button) {
    const auto log = [this, &button](const std::string& event) {
      events_.push_back(event + ":" + FaceOf(button));
    };
    button.OnMouseEnter = [log](TWMMouse) { log("enter"); };
    button.OnMouseLeave = [log](TWMMouse) { log("leave"); };
    button.OnMouseDown = [log](TWMMouse) { log("down"); };
    button.OnMouseUp = [log](TWMMouse) { log("up"); };
    button.OnClick = [log](TObject&) { log("click"); };
  }

  // Records `button`, moves onto its centre and presses the left button there.
  void RecordAndPress(TImgBtn& button) {
    Record(button);
    MoveTo(Centre(button));
    Press();
  }

  static POINT Centre(const TControl& control) {
    return {control.Left() + control.Width() / 2, control.Top() + control.Height() / 2};
  }

  std::vector<std::string> events_;
};

TEST_F(ImgBtnTest, StartsOnTheNormalFaceAtItsSize) {
  for (TImgBtn* button : {form_->imgbtn2, form_->imgbtn4, form_->imgbtnMix, form_->imgbtn5}) {
    SCOPED_TRACE(button->Name());
    // The stored Picture is shown: its own copy of the normal face, not a hover face.
    EXPECT_FALSE(button->Picture().Empty());
    EXPECT_NE(button->Picture(), button->PicUp());
    EXPECT_EQ(button->Width(), button->Pic().Width());
    EXPECT_EQ(button->Height(), button->Pic().Height());
    EXPECT_FALSE(button->Hovered());
    EXPECT_FALSE(button->Pressed());
  }
  EXPECT_EQ(form_->imgbtn4->Width(), 151);
}

TEST_F(ImgBtnTest, NormalClickShowsHoverPressedHoverNormalWithPressedFaceDuringTheClick) {
  TImgBtn& button = *form_->imgbtn2;
  RecordAndPress(button);
  Release();
  MoveAway();
  EXPECT_EQ(events_, (std::vector<std::string>{"enter:up", "down:down", "click:down", "up:up", "leave:pic"}));
  EXPECT_FALSE(button.Hovered());
  EXPECT_FALSE(button.Pressed());
}

TEST_F(ImgBtnTest, PressMoveOutAndReleaseOutsideGivesNoClick) {
  TImgBtn& button = *form_->imgbtn2;
  RecordAndPress(button);
  MoveTo({button.Left() - 40, button.Top() + 60});  // onto the background, button still held
  EXPECT_TRUE(button.Pressed());
  Release();
  EXPECT_EQ(events_, (std::vector<std::string>{"enter:up", "down:down", "leave:pic", "up:pic"}));
  EXPECT_FALSE(button.Pressed());
  EXPECT_EQ(FaceOf(button), "pic");
}

TEST_F(ImgBtnTest, PressMoveOutAndBackInStillClicks) {
  TImgBtn& button = *form_->imgbtn2;
  RecordAndPress(button);
  MoveTo({button.Left() - 40, button.Top() + 60});
  MoveTo(Centre(button));
  Release();
  EXPECT_EQ(events_, (std::vector<std::string>{"enter:up", "down:down", "leave:pic", "enter:down",
                                               "click:down", "up:up"}));
}

TEST_F(ImgBtnTest, DoubleClickActsAsOneClickAndTheSecondPressIsNotHandled) {
  TImgBtn& button = *form_->imgbtn2;
  // Two presses in quick succession: the system turns the second into a double click.
  RecordAndPress(button);
  Release();
  Press();
  Release();
  EXPECT_EQ(events_, (std::vector<std::string>{"enter:up", "down:down", "click:down", "up:up", "up:up"}));
  EXPECT_FALSE(button.Pressed());
}

TEST_F(ImgBtnTest, UnsupportedButtonKeepsItsFaceButStillClicks) {
  TImgBtn& button = *form_->imgbtn2;
  Record(button);
  button.SetSupported(false);
  const TPicture before = button.Picture();
  MoveTo(Centre(button));
  Press();
  EXPECT_EQ(button.Picture(), before);
  Release();
  MoveAway();
  EXPECT_EQ(button.Picture(), before);
  EXPECT_EQ(events_, (std::vector<std::string>{"click:other"}));
  EXPECT_FALSE(button.Hovered());
  EXPECT_FALSE(button.Pressed());
}

TEST_F(ImgBtnTest, AllProgramsGrowsToTheRightWhileHoveredAndShrinksOnLeaving) {
  TImgBtn& button = *form_->imgbtn4;
  MoveTo({100, 165});
  EXPECT_TRUE(button.Hovered());
  EXPECT_EQ(button.Left(), 4);
  EXPECT_EQ(button.Width(), 161);
  // The grown part takes the pointer too.
  MoveTo({160, 165});
  EXPECT_TRUE(button.Hovered());
  Press();
  EXPECT_EQ(button.Width(), 161);
  Release();
  MoveTo({100, 300});
  EXPECT_FALSE(button.Hovered());
  EXPECT_EQ(button.Left(), 4);
  EXPECT_EQ(button.Width(), 151);
}

TEST_F(ImgBtnTest, SettersShowWhatTheyPromise) {
  TImgBtn& button = *form_->imgbtn5;
  // Enabling an enabled, idle button shows the hover face although the pointer is elsewhere.
  button.SetEnabled(true);
  EXPECT_EQ(FaceOf(button), "up");
  // A new normal face shows at once; a new hover face waits for the next state change.
  button.SetPic(form_->imgbtn5->PicDisable());
  EXPECT_EQ(button.Picture(), button.PicDisable());
  const TPicture oldUp = button.PicUp();
  MoveTo(Centre(button));
  EXPECT_EQ(button.Picture(), oldUp);
  button.SetPicUp(form_->imgbtnMix->PicUp());
  EXPECT_EQ(button.Picture(), oldUp);
  // A disabled face given while enabled is not shown.
  button.SetPicDisable(form_->imgbtnMix->Pic());
  EXPECT_EQ(button.Picture(), oldUp);
}

TEST_F(ImgBtnTest, DisabledButtonShowsItsDisabledFaceAndIgnoresThePointer) {
  TImgBtn& button = *form_->imgbtn2;
  Record(button);
  button.SetEnabled(false);
  EXPECT_EQ(FaceOf(button), "disable");
  MoveTo(Centre(button));
  Press();
  Release();
  MoveAway();
  EXPECT_EQ(FaceOf(button), "disable");
  EXPECT_TRUE(events_.empty());
  EXPECT_FALSE(button.Hovered());
  // Enabled again: the hover face, until the next pointer notification.
  button.SetEnabled(true);
  EXPECT_EQ(FaceOf(button), "up");
  MoveTo(Centre(button));
  EXPECT_TRUE(button.Hovered());
  MoveAway();
  EXPECT_EQ(FaceOf(button), "pic");
  EXPECT_EQ(events_, (std::vector<std::string>{"enter:up", "leave:pic"}));
}

}  // namespace
}  // namespace testsupport
