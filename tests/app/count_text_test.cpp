// The count label's two texts.
#include "app/count_text.h"

#include <gtest/gtest.h>

namespace {

TEST(CountText, TotalAndBareForms) {
  EXPECT_EQ(TotalCountText(57), L"Total 57 Softwares");
  EXPECT_EQ(TotalCountText(0), L"Total 0 Softwares");
  EXPECT_EQ(BareCountText(1000), L"1000");
}

}  // namespace
