// How the header bars compare two rows: which text, and the sign of the result.
#include "app/entry_compare.h"

#include <gtest/gtest.h>

namespace {

TEST(SignedCompareResult, AscendingKeepsTheOrderDescendingFlipsItAndAFailureCountsTheFirstAsSmaller) {
  EXPECT_EQ(SignedCompareResult(CSTR_LESS_THAN, true), -1);
  EXPECT_EQ(SignedCompareResult(CSTR_EQUAL, true), 0);
  EXPECT_EQ(SignedCompareResult(CSTR_GREATER_THAN, true), 1);
  EXPECT_EQ(SignedCompareResult(CSTR_LESS_THAN, false), 1);
  EXPECT_EQ(SignedCompareResult(CSTR_GREATER_THAN, false), -1);
  EXPECT_EQ(SignedCompareResult(0, true), -2);
  EXPECT_EQ(SignedCompareResult(0, false), 2);
}

TEST(EntrySortText, TheCaptionOrOneOfTheFirstThreeSubItems) {
  const TListItem item{L"Name", 0, {L"Pub", L"1.0", L"http://x", L"u.exe", L"key", L"icon"}};
  EXPECT_EQ(*EntrySortText(item, -1), L"Name");
  EXPECT_EQ(*EntrySortText(item, 0), L"Pub");
  EXPECT_EQ(*EntrySortText(item, 2), L"http://x");
  EXPECT_EQ(EntrySortText(item, 3), nullptr);  // the uninstall command has no header bar
  EXPECT_EQ(EntrySortText(item, -2), nullptr);
}

TEST(CompareEntryTexts, IgnoresCaseAndComparesNumbersAsText) {
  EXPECT_EQ(CompareEntryTexts(L"alpha", L"ALPHA", true), 0);
  EXPECT_LT(CompareEntryTexts(L"10.0", L"9.1", true), 0);
  EXPECT_LT(CompareEntryTexts(L"2.10", L"2.9", true), 0);
  EXPECT_GT(CompareEntryTexts(L"2.10", L"2.9", false), 0);
  EXPECT_LT(CompareEntryTexts(L"", L"a", true), 0);
  // Explicit lengths: a text holding a NUL is compared whole.
  EXPECT_NE(CompareEntryTexts(std::wstring(L"a\0b", 3), std::wstring(L"a\0c", 3), true), 0);
}

}  // namespace
