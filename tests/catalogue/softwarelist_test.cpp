// The list filled from the reader: one row per entry with its sub-items, and the images.
#include "catalogue/softwarelist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "base/errors.h"
#include "tests/catalogue/uninstall_entries_fixture.h"
#include "tests/support/host_window.h"
#include "toolkit/image_list.h"
#include "toolkit/list_view.h"

namespace testsupport {
namespace {

struct Row {
  std::wstring caption;
  std::vector<std::wstring> subItems;
  int imageIndex;
};

class SoftwareListTest : public UninstallEntriesFixture {
 protected:
  SoftwareListTest() {
    images_.AddIcon(LoadIconW(nullptr, IDI_APPLICATION));  // the default image 0
    list_.SetSmallImages(images_);
  }
  std::vector<Row> Rows() const {
    std::vector<Row> rows;
    for (int i = 0; i < list_.RowCount(); ++i)
      rows.push_back({list_.Caption(i), list_.SubItems(i), list_.ImageIndex(i)});
    return rows;
  }

  HostWindow host_;
  TListView list_{host_.Handle(), RECT{0, 0, 600, 300}};
  TImageList images_{20, 20};
};

TEST_F(SoftwareListTest, OneRowPerEntryInReadingOrderWithItsSixSubItems) {
  ImportRegFile(L"scan_shapes.reg");
  ScanUninstallEntries(list_, images_);
  Read();
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), entries_.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const TUninstallEntry& e = entries_[i];
    EXPECT_EQ(rows[i].caption, e.displayName);
    EXPECT_EQ(rows[i].subItems, (std::vector<std::wstring>{e.publisher, e.version, e.helpLink, e.uninstall,
                                                           e.keyPath, e.icon}));
  }
}

TEST_F(SoftwareListTest, AppendsOneImagePerIconedRowAndZeroForTheRest) {
  ImportRegFile(L"scan_shapes.reg");
  ScanUninstallEntries(list_, images_);
  int iconed = 0;
  int lastIndex = 0;
  for (const Row& row : Rows()) {
    if (row.subItems[kSubIcon].empty()) {
      EXPECT_EQ(row.imageIndex, 0) << testing::PrintToString(row.caption);
    } else {
      ++iconed;
      EXPECT_GT(row.imageIndex, lastIndex) << "each iconed row gets the image just appended";
      lastIndex = row.imageIndex;
    }
  }
  EXPECT_EQ(iconed, 3);
  // The entry with an icon reference but an empty display name adds no image.
  EXPECT_EQ(images_.Count(), 1 + iconed);
}

TEST_F(SoftwareListTest, EveryRunReplacesTheRowsAndAppendsFreshImages) {
  ImportRegFile(L"scan_shapes.reg");
  ScanUninstallEntries(list_, images_);
  const auto first = Rows();
  const int firstMax = std::max_element(first.begin(), first.end(), [](auto& a, auto& b) {
                         return a.imageIndex < b.imageIndex;
                       })->imageIndex;
  ScanUninstallEntries(list_, images_);
  const auto second = Rows();
  ASSERT_EQ(second.size(), first.size());
  for (const Row& row : second) {
    if (!row.subItems[kSubIcon].empty()) {
      EXPECT_GT(row.imageIndex, firstMax);
    }
  }
  EXPECT_EQ(images_.Count(), 1 + 3 + 3);
}

TEST_F(SoftwareListTest, AReadingErrorKeepsTheRowsAndImagesBeforeIt) {
  ImportRegFile(L"dword_version.reg");
  EXPECT_THROW(ScanUninstallEntries(list_, images_), ERegistryException);
  ASSERT_EQ(list_.RowCount(), 2);
  EXPECT_EQ(list_.Caption(0), L"First");
  EXPECT_EQ(list_.Caption(1), L"Second");
  EXPECT_EQ(images_.Count(), 2);
}

TEST_F(SoftwareListTest, AnIconReferenceWithoutIconShowsTheDefaultImage) {
  ImportRegFile(L"scan_shapes.reg");
  ScanSeams seams;
  seams.iconLookup = [](std::wstring_view reference) -> HICON {
    // The Office entry's lookup finds nothing; the others get a real icon.
    return reference.find(L"misc.exe") != std::wstring_view::npos ? nullptr
                                                                  : CopyIcon(LoadIconW(nullptr, IDI_WARNING));
  };
  ScanUninstallEntries(list_, images_, seams);
  const auto rows = Rows();
  const auto office = std::find_if(rows.begin(), rows.end(),
                                   [](const Row& r) { return r.caption.starts_with(L"Microsoft Office"); });
  ASSERT_NE(office, rows.end());
  // Iconed rows come before it, so "the last image in the list" would be another entry's icon.
  ASSERT_TRUE(std::any_of(rows.begin(), office, [](const Row& r) { return r.imageIndex > 0; }));
  EXPECT_EQ(office->imageIndex, 0);
  for (const Row& row : rows) {
    if (row.caption != office->caption && !row.subItems[kSubIcon].empty()) {
      EXPECT_GT(row.imageIndex, 0);
    }
  }
  EXPECT_EQ(images_.Count(), 1 + 2);
}

TEST_F(SoftwareListTest, FiveThousandEntriesScanCompletely) {
  for (int i = 0; i < 5000; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"Entry %05d", i);
    AddEntry(name, name,
             {.publisher = L"Publisher", .icon = i % 2 == 0 ? L"C:\\Program Files\\App\\app.exe,0" : L""});
  }
  const auto start = std::chrono::steady_clock::now();
  ScanUninstallEntries(list_, images_);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(list_.RowCount(), 5000);
  EXPECT_EQ(list_.Caption(4999), L"Entry 04999");
  EXPECT_EQ(images_.Count(), 1 + 2500);
  RecordProperty("scan_ms", static_cast<int>(ms));
  std::printf("scan of 5000 entries: %lld ms\n", static_cast<long long>(ms));
}

}  // namespace
}  // namespace testsupport
