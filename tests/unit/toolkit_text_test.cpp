// The toolkit's pure text rules: the error box's full stop and the layout description reader.
#include <gtest/gtest.h>

#include "app/count_text.h"
#include "base/errors.h"
#include "toolkit/error_box.h"
#include "toolkit/form.h"
#include "toolkit/layout.h"

namespace {

TEST(ErrorBoxText, AddsAFullStopOnlyAfterCharactersAboveTheFullStop) {
  EXPECT_EQ(ErrorBoxText(L"Registry read failed"), L"Registry read failed.");
  EXPECT_EQ(ErrorBoxText(L"Value 7"), L"Value 7.");  // '7' is 0x37
  EXPECT_EQ(ErrorBoxText(L"Done."), L"Done.");
  EXPECT_EQ(ErrorBoxText(L"Key 'Foo'"), L"Key 'Foo'");  // apostrophe, 0x27
  EXPECT_EQ(ErrorBoxText(L"Key \"Foo\""), L"Key \"Foo\"");
  EXPECT_EQ(ErrorBoxText(L"a-"), L"a-");   // '-' is 0x2D
  EXPECT_EQ(ErrorBoxText(L"a/"), L"a/.");  // '/' is 0x2F, the first code above '.'
  EXPECT_EQ(ErrorBoxText(L"\x00E9t\x00E9"), L"\x00E9t\x00E9.");
  EXPECT_EQ(ErrorBoxText(L""), L"");
}

TEST(ErrorBoxText, TakesTheMessageOfWhateverWasThrown) {
  const auto messageOf = [](auto thrown) {
    try {
      throw thrown;
    } catch (...) {
      return ExceptionMessage(std::current_exception());
    }
  };
  EXPECT_EQ(messageOf(ERegistryException(L"Unsupported type \x00FC")), L"Unsupported type \x00FC");
  EXPECT_EQ(messageOf(std::runtime_error("narrow text")), L"narrow text");
  EXPECT_EQ(messageOf(42), L"Unknown error");
}

TEST(CountText, TotalAndBareForms) {
  EXPECT_EQ(TotalCountText(57), L"Total 57 Softwares");
  EXPECT_EQ(TotalCountText(0), L"Total 0 Softwares");
  EXPECT_EQ(BareCountText(1000), L"1000");
}

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

TEST(Layout, ReadsObjectsPropertiesInOrderItemsAndNestedObjects) {
  const TLayoutNode root = ParseLayout(R"(
    # a comment
    object Form1: TForm1
      Caption = "Main "  "window"   # joined texts
      Left = -12
      Font.Style = [fsBold, fsUnderline]
      Visible = False
      object lv1: TListView
        item Caption = "Name" Width = 260 end
        item Caption = "Say \"hi\"\\" Width = 0 end
      end
      object pm1: TPopupMenu
        object N1: TMenuItem Caption = "-" end
      end
    end
  )");
  EXPECT_EQ(root.name, "Form1");
  EXPECT_EQ(root.className, "TForm1");
  ASSERT_EQ(root.properties.size(), 4u);
  EXPECT_EQ(root.properties[0].name, "Caption");
  EXPECT_EQ(root.properties[0].Text(), L"Main window");
  EXPECT_EQ(root.properties[1].Int(), -12);
  EXPECT_EQ(root.properties[2].Set(), (TLayoutSet{"fsBold", "fsUnderline"}));
  EXPECT_FALSE(root.properties[3].Bool());
  EXPECT_EQ(root.properties[3].line, 7);
  ASSERT_EQ(root.children.size(), 2u);
  const TLayoutNode& list = root.children[0];
  ASSERT_EQ(list.children.size(), 2u);
  EXPECT_EQ(list.children[0].className, "item");
  EXPECT_EQ(list.children[1].properties[0].Text(), L"Say \"hi\"\\");
  EXPECT_EQ(list.children[1].properties[1].Int(), 0);
  EXPECT_EQ(root.children[1].children[0].name, "N1");
}

TEST(Layout, DecodesUtf8Texts) {
  const TLayoutNode root = ParseLayout("object a: T Caption = \"Gr\xC3\xBC\xC3\x9F \xE4\xB8\xAD\" end");
  EXPECT_EQ(root.properties[0].Text(), L"Gr\x00FC\x00DF \x4E2D");
}

TEST(Layout, ReportsTheLineOfAnError) {
  const auto messageOf = [](const char* text) {
    try {
      ParseLayout(text);
    } catch (const ELayoutError& e) {
      return e.Message();
    }
    return std::wstring(L"no error");
  };
  EXPECT_EQ(messageOf("object a: T\n  Left 5\nend"), L"Layout line 2: '=' was expected");
  EXPECT_EQ(messageOf("object a: T\n  Left = 5\n"), L"Layout line 3: missing 'end' for 'a'");
  EXPECT_EQ(messageOf("object a: T\n Caption = \"open\nend"), L"Layout line 2: line break inside a text");
  EXPECT_EQ(messageOf("object a: T end end"), L"Layout line 1: text after the last 'end'");
  EXPECT_EQ(messageOf("item end"), L"Layout line 1: the description must start with an object");
}

TEST(Layout, TypedReadsRejectTheWrongKind) {
  const TLayoutNode root = ParseLayout("object a: T\n Left = Five\n Visible = Maybe\nend");
  try {
    root.properties[0].Int();
    FAIL() << "a name read as a number";
  } catch (const ELayoutError& e) {
    EXPECT_EQ(e.Message(), L"Layout line 2: Left: a number was expected");
  }
  EXPECT_THROW(root.properties[1].Bool(), ELayoutError);
}

}  // namespace
