#pragma once
// The entries of an Uninstall key that each test fills itself, as the reader hands them out.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/uninstall_entries.h"
#include "tests/support/registry_fixture.h"

namespace testsupport {

class UninstallEntriesFixture : public testing::Test {
 protected:
  void SetUp() override { ClearUninstallKey(); }
  void TearDown() override { ClearUninstallKey(); }

  // Reads every entry into entries_; when the reading fails, the entries read before the error
  // are there and the error comes out.
  void Read(const TEntrySeams& seams = {});
  std::vector<std::wstring> Names() const;
  // The entry read from Uninstall\<subkey>; fails the test if there is none.
  const TUninstallEntry& EntryOf(const std::wstring& subkey) const;
  // The subkey names as the registry enumerates them, read independently of the reader.
  static std::vector<std::wstring> EnumeratedSubkeys();
  static std::wstring KeyPath(const std::wstring& subkey);

  std::vector<TUninstallEntry> entries_;
};

}  // namespace testsupport
