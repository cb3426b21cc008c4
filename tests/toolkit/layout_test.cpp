// The layout description reader: objects, properties in order, items, and its errors.
#include "toolkit/layout.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace {

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
