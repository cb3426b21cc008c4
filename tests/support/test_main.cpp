#include <gtest/gtest.h>
#include <objbase.h>

int main(int argc, char** argv) {
  // The shell calls that some tests make expect COM on the calling thread.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
