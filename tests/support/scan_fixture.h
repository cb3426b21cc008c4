#pragma once
// A real entry list and icon list on a hidden window, laid out as the main window's, over an
// Uninstall key that each test fills itself.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/softwarelist.h"
#include "tests/support/host_window.h"
#include "tests/support/registry_fixture.h"
#include "toolkit/image_list.h"
#include "toolkit/list_view.h"

namespace testsupport {

struct Row {
  std::wstring caption;
  std::vector<std::wstring> subItems;
  int imageIndex;
};

class ScanFixture : public testing::Test {
 protected:
  ScanFixture();
  void SetUp() override { ClearUninstallKey(); }
  void TearDown() override { ClearUninstallKey(); }

  std::vector<Row> Rows() const;
  std::vector<std::wstring> Captions() const;
  // The subkey names as the registry enumerates them, read independently of the scan.
  static std::vector<std::wstring> EnumeratedSubkeys();
  static std::wstring KeyPath(const std::wstring& subkey);

  HostWindow host_;
  TListView list_;
  TImageList images_{20, 20};
};

}  // namespace testsupport
