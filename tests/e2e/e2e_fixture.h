#pragma once
// What the end-to-end tests share: an Uninstall key that each test arranges itself, entries and
// files checked where this build's programs see them, and pictures kept as artifacts.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace testsupport {

// Whether Uninstall\<name> exists, in the view the program reads.
bool EntryExists(const std::wstring& name);
// A path with %ProgramFiles% and the like expanded as this build's programs see them.
std::wstring Expanded(const std::wstring& path);
bool FileExists(const std::wstring& path);

class ShippedProgramTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Keeps a picture of `window` as artifacts/<name>.png in the build folder.
  static void KeepScreenshot(HWND window, const std::string& name);
};

}  // namespace testsupport
