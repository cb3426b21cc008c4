// The loader of the system DLLs that are not known DLLs: a library or function that is missing
// reaches the application's error path once, by name, and never crashes the caller.
#include "base/system_libraries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/application.h"

namespace {

class SystemLibraryTest : public testing::Test {
 protected:
  void SetUp() override {
    Application().OnException = [this](const std::wstring& message) { reports_.push_back(message); };
  }
  void TearDown() override { Application().OnException = nullptr; }

  std::vector<std::wstring> reports_;
};

TEST_F(SystemLibraryTest, AMissingLibraryIsReportedOnceByNameAndGivesNoFunctions) {
  TSystemLibrary missing(L"caldwex-missing.dll");
  EXPECT_EQ(missing.Function("AlphaBlend"), nullptr);
  EXPECT_EQ(missing.Function("IsThemeActive"), nullptr);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find(L"caldwex-missing.dll"), std::wstring::npos)
      << testing::PrintToString(reports_[0]);
}

TEST_F(SystemLibraryTest, AMissingFunctionIsReportedByNameAndTheOthersStillWork) {
  TSystemLibrary images(L"msimg32.dll");
  EXPECT_EQ(images.Function("NoSuchFunction"), nullptr);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find(L"msimg32.dll has no function NoSuchFunction"), std::wstring::npos)
      << testing::PrintToString(reports_[0]);
  EXPECT_NE(images.Function("AlphaBlend"), nullptr);
  EXPECT_EQ(reports_.size(), 1u);
}

}  // namespace
