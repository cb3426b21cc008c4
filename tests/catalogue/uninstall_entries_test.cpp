// The reader against the real registry of the test prefix, over imported .reg fixtures.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "tests/catalogue/uninstall_entries_fixture.h"

namespace testsupport {
namespace {

using UninstallEntriesTest = UninstallEntriesFixture;

TEST_F(UninstallEntriesTest, NamedEntriesInEnumerationOrderWithAllTheirTexts) {
  ImportRegFile(L"scan_shapes.reg");
  Read();

  // Expected: every enumerated subkey with a non-empty display name, in enumeration order.
  std::vector<std::wstring> expectedKeys;
  for (const auto& name : EnumeratedSubkeys()) {
    if (name != L"AddressBook" && name != L"Bare Update" && name != L"Empty Name")
      expectedKeys.push_back(KeyPath(name));
  }
  ASSERT_EQ(entries_.size(), 6u);
  for (size_t i = 0; i < entries_.size(); ++i) EXPECT_EQ(entries_[i].keyPath, expectedKeys[i]);

  EXPECT_EQ(EntryOf(L"7-Zip"),
            (TUninstallEntry{L"7-Zip 22.01", L"Igor Pavlov", L"22.01", L"https://www.7-zip.org/",
                             L"\"C:\\Program Files\\7-Zip\\Uninstall.exe\"", KeyPath(L"7-Zip"),
                             L"C:\\Program Files\\7-Zip\\7zFM.exe"}));

  // A display name of spaces is not empty; absent values read as empty texts.
  EXPECT_EQ(EntryOf(L"Spaces"), (TUninstallEntry{L"   ", L"", L"", L"", L"", KeyPath(L"Spaces"), L""}));

  // Two subkeys with the same display name give two entries.
  EXPECT_EQ(EntryOf(L"Twin A").displayName, L"Twin");
  EXPECT_EQ(EntryOf(L"Twin B").displayName, L"Twin");
  EXPECT_EQ(EntryOf(L"Twin B").version, L"2.0");

  // The braces of a product code are spelled as enumerated.
  const TUninstallEntry& office = EntryOf(L"{90120000-0030-0000-0000-0000000FF1CE}");
  EXPECT_EQ(office.displayName, L"Microsoft Office Enterprise 2007");
  EXPECT_EQ(office.uninstall, L"MsiExec.exe /X{90120000-0030-0000-0000-0000000FF1CE}");
}

TEST_F(UninstallEntriesTest, ExpandableStringsKeepTheirReferencesUnexpanded) {
  ImportRegFile(L"scan_shapes.reg");
  Read();
  const auto expand = std::find_if(entries_.begin(), entries_.end(), [](const TUninstallEntry& e) {
    return e.displayName == L"Expandable Tool";
  });
  ASSERT_NE(expand, entries_.end());
  EXPECT_EQ(expand->uninstall, L"%ProgramFiles%\\Expand\\uninst.exe /S");
  EXPECT_EQ(expand->icon, L"%ProgramFiles%\\Expand\\tool.exe,0");
}

TEST_F(UninstallEntriesTest, ADoubleWordVersionStopsTheReadingAfterTheEntriesBeforeIt) {
  ImportRegFile(L"dword_version.reg");
  try {
    Read();
    FAIL() << "the reading should stop with an error";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), L"Invalid data type for 'DisplayVersion'");
  }
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"First", L"Second"}));
}

TEST_F(UninstallEntriesTest, EveryNonStringTypeOfEachValueRaisesTheTypeError) {
  const std::vector<BYTE> bytes = {1, 0, 0, 0};
  for (const wchar_t* value : {L"DisplayName", L"Publisher", L"DisplayVersion", L"URLInfoAbout",
                               L"UninstallString", L"DisplayIcon"}) {
    for (const DWORD type : {REG_DWORD, REG_BINARY, REG_MULTI_SZ, REG_NONE, REG_QWORD_LITTLE_ENDIAN}) {
      ClearUninstallKey();
      const auto key = CreateEntryKey(L"Entry");
      if (std::wstring(value) != L"DisplayName") SetText(key.Get(), L"DisplayName", L"Entry");
      SetRaw(key.Get(), value, type, type == REG_QWORD_LITTLE_ENDIAN ? std::vector<BYTE>(8, 1) : bytes);
      try {
        Read();
        ADD_FAILURE() << "no error for type " << type;
      } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for '" + std::wstring(value) + L"'");
      }
      EXPECT_TRUE(entries_.empty());
    }
  }
}

TEST_F(UninstallEntriesTest, EmptyDataOfAnyTypeReadsAsEmptyText) {
  const auto key = CreateEntryKey(L"Entry");
  SetText(key.Get(), L"DisplayName", L"Entry");
  SetRaw(key.Get(), L"Publisher", REG_BINARY, {});
  SetRaw(key.Get(), L"DisplayVersion", REG_SZ, {});
  Read();
  ASSERT_EQ(entries_.size(), 1u);
  EXPECT_EQ(entries_[0].publisher, L"");
  EXPECT_EQ(entries_[0].version, L"");
}

TEST_F(UninstallEntriesTest, AMissingOrEmptyUninstallKeyHasNoEntriesAndIsNotCreated) {
  Read();  // no Uninstall key at all
  EXPECT_TRUE(entries_.empty());
  HKEY created = nullptr;  // the reader only reads: it never creates the key
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &created), ERROR_FILE_NOT_FOUND);

  CreateEmptyUninstallKey();
  Read();
  EXPECT_TRUE(entries_.empty());
}

TEST_F(UninstallEntriesTest, NonAsciiNamesAndValuesArriveUnchanged) {
  const std::wstring name = L"\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u0430 {A1}";
  AddEntry(name, L"\u0410\u043d\u0442\u0438\u0432\u0438\u0440\u0443\u0441 \u00e9\u00df");
  Read();
  ASSERT_EQ(entries_.size(), 1u);
  EXPECT_EQ(entries_[0].displayName, L"\u0410\u043d\u0442\u0438\u0432\u0438\u0440\u0443\u0441 \u00e9\u00df");
  EXPECT_EQ(entries_[0].keyPath, KeyPath(name));
}

}  // namespace
}  // namespace testsupport
