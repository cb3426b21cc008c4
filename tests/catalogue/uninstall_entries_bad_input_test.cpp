// Registry data written by third-party installers can be anything: the scan must read it within
// its buffers and end with its own errors or skips.
#include <gtest/gtest.h>

#include <vector>

#include "base/errors.h"
#include "tests/catalogue/uninstall_entries_fixture.h"

namespace testsupport {
namespace {

using UninstallEntriesBadInputTest = UninstallEntriesFixture;

// Bytes of UTF-16 text, with no terminating NUL unless the text holds one.
std::vector<BYTE> Utf16Bytes(const std::wstring& text) {
  const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
  return std::vector<BYTE>(bytes, bytes + text.size() * sizeof(wchar_t));
}

TEST_F(UninstallEntriesBadInputTest, StringsWithoutNulOrWithOddLengthAreReadWithinTheirData) {
  // Written through the registry API: Wine's 64-bit reg.exe crashes importing such data.
  const auto key = CreateEntryKey(L"Odd");
  std::vector<BYTE> oddLength = Utf16Bytes(L"OddX");
  oddLength.pop_back();  // 7 bytes: "Odd" and half of "X"
  SetRaw(key.Get(), L"DisplayName", REG_SZ, oddLength);
  SetRaw(key.Get(), L"Publisher", REG_SZ, Utf16Bytes(L"NoNul"));
  SetRaw(key.Get(), L"DisplayVersion", REG_SZ, Utf16Bytes(std::wstring(L"1.0\0garbage", 11)));
  SetRaw(key.Get(), L"URLInfoAbout", REG_SZ, {});
  SetRaw(key.Get(), L"UninstallString", REG_SZ, {0x41});
  Read();
  ASSERT_EQ(entries_.size(), 1u);
  EXPECT_EQ(entries_[0].displayName, L"Odd");  // 7 bytes: the odd byte is dropped
  EXPECT_EQ(entries_[0].publisher, L"NoNul");  // no terminating NUL
  EXPECT_EQ(entries_[0].version, L"1.0");      // cut at the first NUL
  EXPECT_EQ(entries_[0].helpLink, L"");        // no data at all
  EXPECT_EQ(entries_[0].uninstall, L"");       // a single byte holds no character
}

TEST_F(UninstallEntriesBadInputTest, AOneMebibyteStringIsReadWhole) {
  const std::wstring huge(512 * 1024 - 1, L'x');  // with its NUL, exactly 1 MiB
  AddEntry(L"Huge", L"Huge", {.uninstall = huge});
  Read();
  ASSERT_EQ(entries_.size(), 1u);
  EXPECT_EQ(entries_[0].uninstall, huge);
}

TEST_F(UninstallEntriesBadInputTest, DataThatGrowsAfterTheSizeQueryFailsTheRead) {
  AddEntry(L"Growing", L"Growing", {.publisher = L"short"});
  TEntrySeams seams;
  seams.beforeReadData = [](HKEY entry, const std::wstring& valueName) {
    if (valueName == L"Publisher") SetText(entry, L"Publisher", std::wstring(5000, L'y'));
  };
  try {
    Read(seams);
    FAIL() << "the read of a grown value must fail";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), L"Failed to get data for 'Publisher'");
  }
  EXPECT_TRUE(entries_.empty());
}

TEST_F(UninstallEntriesBadInputTest, DataThatShrinksAfterTheSizeQueryReadsTheNewText) {
  AddEntry(L"Shrinking", L"Shrinking", {.publisher = L"a rather long publisher name"});
  TEntrySeams seams;
  seams.beforeReadData = [](HKEY entry, const std::wstring& valueName) {
    if (valueName == L"Publisher") SetText(entry, L"Publisher", L"ab");
  };
  Read(seams);
  ASSERT_EQ(entries_.size(), 1u);
  EXPECT_EQ(entries_[0].publisher, L"ab");
}

TEST_F(UninstallEntriesBadInputTest, AKeyDeletedAfterEnumerationIsSkipped) {
  for (const wchar_t* name : {L"A", L"B", L"C"}) AddEntry(name, name);
  TEntrySeams seams;
  seams.beforeOpenEntry = [](const std::wstring& name) {
    if (name == L"B") {
      ASSERT_EQ(DeleteEntry(L"B"), ERROR_SUCCESS);
    }
  };
  Read(seams);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"A", L"C"}));
}

}  // namespace
}  // namespace testsupport
