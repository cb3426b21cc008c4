// The scan against the real registry of the test prefix, over imported .reg fixtures.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/errors.h"
#include "tests/support/scan_fixture.h"

namespace testsupport {
namespace {

using ScanTest = ScanFixture;

TEST_F(ScanTest, ListsNamedEntriesInEnumerationOrderWithAllSixSubItems) {
  ImportRegFile(L"scan_shapes.reg");
  ScanUninstallEntries(list_, images_);

  // Expected: every enumerated subkey with a non-empty display name, in enumeration order.
  std::vector<std::wstring> expectedKeys;
  for (const auto& name : EnumeratedSubkeys()) {
    if (name != L"AddressBook" && name != L"Bare Update" && name != L"Empty Name")
      expectedKeys.push_back(KeyPath(name));
  }
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 6u);
  for (size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i].subItems.size(), 6u);
    EXPECT_EQ(rows[i].subItems[kSubKeyPath], expectedKeys[i]);
  }

  const auto find = [&](const std::wstring& keyName) {
    return *std::find_if(rows.begin(), rows.end(),
                         [&](const Row& r) { return r.subItems[kSubKeyPath] == KeyPath(keyName); });
  };
  const Row zip = find(L"7-Zip");
  EXPECT_EQ(zip.caption, L"7-Zip 22.01");
  EXPECT_EQ(zip.subItems,
            (std::vector<std::wstring>{L"Igor Pavlov", L"22.01", L"https://www.7-zip.org/",
                                       L"\"C:\\Program Files\\7-Zip\\Uninstall.exe\"", KeyPath(L"7-Zip"),
                                       L"C:\\Program Files\\7-Zip\\7zFM.exe"}));

  // A display name of spaces is not empty; absent values leave empty sub-items in place.
  const Row spaces = find(L"Spaces");
  EXPECT_EQ(spaces.caption, L"   ");
  EXPECT_EQ(spaces.subItems, (std::vector<std::wstring>{L"", L"", L"", L"", KeyPath(L"Spaces"), L""}));
  EXPECT_EQ(spaces.imageIndex, 0);

  // Two subkeys with the same display name give two rows.
  EXPECT_EQ(find(L"Twin A").caption, L"Twin");
  EXPECT_EQ(find(L"Twin B").caption, L"Twin");
  EXPECT_EQ(find(L"Twin B").subItems[kSubVersion], L"2.0");

  // The braces of a product code are spelled as enumerated.
  const Row office = find(L"{90120000-0030-0000-0000-0000000FF1CE}");
  EXPECT_EQ(office.caption, L"Microsoft Office Enterprise 2007");
  EXPECT_EQ(office.subItems[kSubUninstall], L"MsiExec.exe /X{90120000-0030-0000-0000-0000000FF1CE}");
}

TEST_F(ScanTest, ExpandableStringsKeepTheirReferencesUnexpanded) {
  ImportRegFile(L"scan_shapes.reg");
  ScanUninstallEntries(list_, images_);
  const auto rows = Rows();
  const auto expand =
      std::find_if(rows.begin(), rows.end(), [](const Row& r) { return r.caption == L"Expandable Tool"; });
  ASSERT_NE(expand, rows.end());
  EXPECT_EQ(expand->subItems[kSubUninstall], L"%ProgramFiles%\\Expand\\uninst.exe /S");
  EXPECT_EQ(expand->subItems[kSubIcon], L"%ProgramFiles%\\Expand\\tool.exe,0");
}

TEST_F(ScanTest, AppendsOneImagePerIconedRowAndZeroForTheRest) {
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

TEST_F(ScanTest, EveryRunAppendsFreshImagesAndNeverClearsThem) {
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

TEST_F(ScanTest, ADoubleWordVersionStopsTheScanAndKeepsTheRowsBeforeIt) {
  ImportRegFile(L"dword_version.reg");
  try {
    ScanUninstallEntries(list_, images_);
    FAIL() << "the scan should stop with an error";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), L"Invalid data type for 'DisplayVersion'");
  }
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"First", L"Second"}));
  EXPECT_EQ(images_.Count(), 2);
}

TEST_F(ScanTest, EveryNonStringTypeOfEachValueRaisesTheTypeError) {
  const std::vector<BYTE> bytes = {1, 0, 0, 0};
  for (const wchar_t* value : {L"DisplayName", L"Publisher", L"DisplayVersion", L"URLInfoAbout",
                               L"UninstallString", L"DisplayIcon"}) {
    for (const DWORD type : {REG_DWORD, REG_BINARY, REG_MULTI_SZ, REG_NONE, REG_QWORD_LITTLE_ENDIAN}) {
      ClearUninstallKey();
      const auto key = CreateEntryKey(L"Entry");
      if (std::wstring(value) != L"DisplayName") SetText(key.Get(), L"DisplayName", L"Entry");
      SetRaw(key.Get(), value, type, type == REG_QWORD_LITTLE_ENDIAN ? std::vector<BYTE>(8, 1) : bytes);
      try {
        ScanUninstallEntries(list_, images_);
        ADD_FAILURE() << "no error for type " << type;
      } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for '" + std::wstring(value) + L"'");
      }
      EXPECT_EQ(list_.RowCount(), 0);
    }
  }
}

TEST_F(ScanTest, EmptyDataOfAnyTypeReadsAsEmptyText) {
  const auto key = CreateEntryKey(L"Entry");
  SetText(key.Get(), L"DisplayName", L"Entry");
  SetRaw(key.Get(), L"Publisher", REG_BINARY, {});
  SetRaw(key.Get(), L"DisplayVersion", REG_SZ, {});
  ScanUninstallEntries(list_, images_);
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(list_.SubItem(0, kSubPublisher), L"");
  EXPECT_EQ(list_.SubItem(0, kSubVersion), L"");
}

TEST_F(ScanTest, MissingOrEmptyUninstallKeyGivesAnEmptyList) {
  ImportRegFile(L"scan_shapes.reg");
  ScanUninstallEntries(list_, images_);
  ASSERT_GT(list_.RowCount(), 0);

  ClearUninstallKey();  // no Uninstall key at all
  ScanUninstallEntries(list_, images_);
  EXPECT_EQ(list_.RowCount(), 0);
  HKEY created = nullptr;  // the scan only reads: it never creates the key
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &created), ERROR_FILE_NOT_FOUND);

  CreateEmptyUninstallKey();
  ScanUninstallEntries(list_, images_);
  EXPECT_EQ(list_.RowCount(), 0);
}

TEST_F(ScanTest, NonAsciiNamesAndValuesArriveUnchanged) {
  const std::wstring name = L"\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u0430 {A1}";
  const auto key = CreateEntryKey(name);
  SetText(key.Get(), L"DisplayName", L"\u0410\u043d\u0442\u0438\u0432\u0438\u0440\u0443\u0441 \u00e9\u00df");
  ScanUninstallEntries(list_, images_);
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(list_.Caption(0), L"\u0410\u043d\u0442\u0438\u0432\u0438\u0440\u0443\u0441 \u00e9\u00df");
  EXPECT_EQ(list_.SubItem(0, kSubKeyPath), KeyPath(name));
}

TEST_F(ScanTest, AnIconReferenceWithoutIconShowsTheDefaultImage) {
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

}  // namespace
}  // namespace testsupport
