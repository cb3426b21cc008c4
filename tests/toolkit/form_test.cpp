// A form built from a description of its own, without the application: what it is handed
// (owner, error report) is all it uses; the loader's errors name the line; controls inherit
// the form's font until they set their own.
#include "toolkit/form.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/classes.h"
#include "toolkit/edit.h"
#include "toolkit/error_box.h"
#include "toolkit/image_list.h"
#include "toolkit/label.h"
#include "toolkit/list_view.h"

namespace {

TEST(DesktopCentre, HalvesRoundTowardsZeroAndTheWindowStaysInsideTheDesktop) {
  const SIZE window = {870, 619};
  const auto at = [&](RECT desktop) {
    const POINT p = TForm::DesktopCentre(window, desktop);
    return std::make_pair(p.x, p.y);
  };
  EXPECT_EQ(at({0, 0, 1280, 1024}), std::make_pair(205L, 203L));
  EXPECT_EQ(at({0, 0, 1281, 1025}), std::make_pair(205L, 203L));
  // Two monitors, the second left of the primary: the desktop spans both.
  EXPECT_EQ(at({-1920, 0, 1280, 1080}), std::make_pair(-1920L + 1600 - 435, 540L - 309));
  // A desktop smaller than the window: its top-left corner, never beyond.
  EXPECT_EQ(at({0, 0, 800, 600}), std::make_pair(0L, 0L));
  EXPECT_EQ(at({-100, -50, 700, 550}), std::make_pair(-100L, -50L));
}

// A rectangle's left, top, right and bottom.
std::vector<LONG> Edges(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

class FormTest : public testing::Test {
 protected:
  // A form whose errors are collected instead of shown.
  TForm& Build(const std::string& description, HWND owner = nullptr, TScale scale = {}) {
    form_ = std::make_unique<TForm>(TFormSite{
        owner, [this](std::exception_ptr error) { errors_.push_back(ExceptionMessage(error)); }, scale});
    LoadForm(*form_, description, GetModuleHandleW(nullptr), StandardClasses(), handlers_);
    return *form_;
  }
  std::wstring LoadError(const std::string& description) {
    try {
      Build(description);
    } catch (const Exception& e) {
      return e.Message();
    }
    return L"(no error)";
  }

  THandlerTable handlers_;
  std::vector<std::wstring> errors_;
  std::unique_ptr<TForm> form_;
};

TEST_F(FormTest, LoaderErrorsNameTheLineOfTheFault) {
  EXPECT_EQ(LoadError("object f: TForm\n  object x: TNoSuchClass\n  end\nend"),
            L"Layout line 2: unknown class TNoSuchClass");
  EXPECT_EQ(LoadError("object f: TForm\n  object l: TLabel\n    Font.Size = 9\n  end\nend"),
            L"Layout line 3: Font.Size: unknown font property");
  EXPECT_EQ(LoadError("object f: TForm\n  object l: TLabel\n    object n: TLabel\n    end\n  end\nend"),
            L"Layout line 3: l holds no nested objects");
  EXPECT_EQ(LoadError("object f: TForm\n  Font.Style = [fsWavy]\nend"),
            L"Layout line 2: Font.Style: unknown font style fsWavy");
  EXPECT_EQ(LoadError("object f: TForm\n  object e: TEdit\n    Width = \"wide\"\n  end\nend"),
            L"Layout line 3: Width: a number was expected");
  EXPECT_EQ(LoadError("object f: TForm\n  PixelsPerInch = 120\nend"),
            L"Layout line 2: PixelsPerInch: layouts are drawn at 96 pixels per inch");
}

// Pictures are decoded ahead, on a thread of their own; a picture that cannot be had is still an
// error of the build, raised where its image asks for it, and a fault before that image ends the
// build first.
TEST_F(FormTest, APictureThatCannotBeHadEndsTheBuildWithItsError) {
  const std::string image = "  object a: TImage\n    Picture = \"NO_SUCH_PICTURE\"\n  end\n";
  EXPECT_EQ(LoadError("object f: TForm\n" + image + "end"), L"Resource NO_SUCH_PICTURE not found");
  EXPECT_EQ(LoadError("object f: TForm\n  object x: TNoSuchClass\n  end\n" + image + "end"),
            L"Layout line 2: unknown class TNoSuchClass");
}

TEST_F(FormTest, ControlsDrawWithTheFormsFontUntilTheyNameTheirOwnWhichStartsFromIt) {
  TForm& form = Build(R"(object f: TForm
  Font.Height = -20
  Font.Name = "Courier New"
  object plain: TLabel
    Caption = "plain"
  end
  object bold: TLabel
    Font.Style = [fsBold]
    Caption = "bold"
  end
end)");
  const TLabel& plain = form.Find<TLabel>("plain");
  const TLabel& bold = form.Find<TLabel>("bold");
  EXPECT_EQ(plain.Font(), form.Font());
  EXPECT_EQ(bold.Font().height, -20);
  EXPECT_EQ(bold.Font().name, L"Courier New");
  EXPECT_TRUE(bold.Font().bold);
  EXPECT_FALSE(form.Font().bold);
  // Both are measured with a 20-pixel font, not the toolkit's default 11-pixel one.
  EXPECT_GE(bold.Height(), 20);
  EXPECT_EQ(plain.Height(), bold.Height());
}

TEST_F(FormTest, BoundsPropertiesPlaceWindowlessAndWindowedControlsAlike) {
  TForm& form = Build(R"(object f: TForm
  ClientWidth = 400
  ClientHeight = 300
  object l: TLabel
    AutoSize = False
    Left = 10
    Top = 20
    Width = 30
    Height = 40
    Left = 15
  end
  object e: TEdit
    Left = 10
    Top = 20
    Width = 30
    Height = 40
    Top = 25
  end
end)");
  // A later Left or Top moves the control and keeps its size.
  EXPECT_EQ(Edges(form.Find<TLabel>("l").BoundsRect()), (std::vector<LONG>{15, 20, 45, 60}));
  EXPECT_EQ(Edges(form.Find<TEdit>("e").BoundsRect()), (std::vector<LONG>{10, 25, 40, 65}));
  EXPECT_EQ(form.ClientSize().cx, 400);
}

TEST_F(FormTest, OnADenserScreenEveryLengthOfTheLayoutGrowsWithTheDensity) {
  TForm& form = Build(R"(object f: TForm
  ClientWidth = 400
  ClientHeight = 301
  Font.Height = -12
  object l: TLabel
    AutoSize = False
    Left = 10
    Top = 21
    Width = 30
    Height = 40
  end
  object big: TLabel
    Font.Height = -19
    Caption = "big"
  end
  object e: TEdit
    Left = 10
    Top = 20
    Width = 30
    Height = 41
  end
  object list: TListView
    item Caption = "one" Width = 260 end
    item Caption = "two" Width = 75 end
  end
  object images: TImageList
    Width = 20
    Height = 20
  end
end)",
                      nullptr, TScale(144));
  EXPECT_EQ(form.ClientSize().cx, 600);
  EXPECT_EQ(form.ClientSize().cy, 452);  // 451.5
  EXPECT_EQ(Edges(form.Find<TLabel>("l").BoundsRect()), (std::vector<LONG>{15, 32, 60, 92}));
  EXPECT_EQ(Edges(form.Find<TEdit>("e").BoundsRect()), (std::vector<LONG>{15, 30, 60, 92}));
  // Fonts keep their layout heights and are made at the screen's.
  const auto fontHeight = [](HFONT font) {
    LOGFONTW values = {};
    GetObjectW(font, sizeof(values), &values);
    return values.lfHeight;
  };
  EXPECT_EQ(form.Font().height, -12);
  EXPECT_EQ(fontHeight(form.FontHandle()), -18);
  // A label's own font too: a 19-pixel font at 150 % is 28.5 pixels, at least 29 pixels a line.
  EXPECT_GE(form.Find<TLabel>("big").Height(), 29);
  const HWND list = form.Find<TListView>("list").Handle();
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 390);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 113);  // 112.5
  EXPECT_EQ(form.Find<TImageList>("images").Width(), 30);
  EXPECT_EQ(form.Find<TImageList>("images").Height(), 30);
}

TEST_F(FormTest, AnErrorEscapingOnShowGoesToTheSiteAndTheFormIsShownAllTheSame) {
  HWND owner =
      CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  handlers_.Add("Shown", TNotifyEvent([](TObject&) { throw std::runtime_error("show failed"); }));
  TForm& form = Build("object f: TForm\n  OnShow = Shown\nend", owner);
  EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), owner);
  form.Show();
  EXPECT_EQ(errors_, std::vector<std::wstring>{L"show failed"});
  EXPECT_TRUE(form.Showing());
  form_.reset();
  DestroyWindow(owner);
}

TEST_F(FormTest, MinimiseIsTheFormsOwnUnlessSomeoneAsksForTheRequest) {
  TForm& form = Build("object f: TForm\n  ClientWidth = 100\n  ClientHeight = 100\nend");
  form.Show();
  int requests = 0;
  form.OnMinimizeRequest = [&] { ++requests; };
  SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(requests, 1);
  EXPECT_FALSE(IsIconic(form.Handle()));
  form.OnMinimizeRequest = nullptr;
  SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(form.Handle()));
}

TEST_F(FormTest, TheWindowsEndIsReportedOnceWhetherClosedOrFreed) {
  int ends = 0;
  TForm& form = Build("object f: TForm\nend");
  form.OnWindowDestroyed = [&] { ++ends; };
  form.Close();
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(IsWindow(form.Handle()));
  form_.reset();  // the window is gone already: nothing more to report
  EXPECT_EQ(ends, 1);

  TForm& freed = Build("object f: TForm\nend");
  freed.OnWindowDestroyed = [&] { ++ends; };
  form_.reset();
  EXPECT_EQ(ends, 2);
}

TEST_F(FormTest, ChildWindowsTakeTheKeyboardInTheirTabOrder) {
  TForm& form = Build(R"(object f: TForm
  object second: TEdit
    TabOrder = 1
  end
  object first: TListView
    TabOrder = 0
  end
end)");
  EXPECT_EQ(GetNextDlgTabItem(form.Handle(), nullptr, FALSE), form.Find<TListView>("first").Handle());
}

}  // namespace
