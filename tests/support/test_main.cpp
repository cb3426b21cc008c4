#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdio>

#include "base/system_libraries.h"

namespace {

// Writes one line per skipped test, "skipped: Suite.Name: reason", so that the test command
// can list every skip and its reason after the run.
class SkipReporter : public testing::EmptyTestEventListener {
  void OnTestPartResult(const testing::TestPartResult& result) override {
    if (!result.skipped()) return;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::printf("skipped: %s.%s: %s\n", test->test_suite_name(), test->name(), result.message());
  }
};

}  // namespace

int main(int argc, char** argv) {
  // The DLL search the shipped program has, so that the shell, OLE and accessibility calls
  // under test load their libraries as they do there.
  RestrictDllSearch();
  // The shell calls that some tests make expect COM on the calling thread.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new SkipReporter);  // gtest owns listeners
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
