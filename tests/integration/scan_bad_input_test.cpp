// Registry data written by third-party installers can be anything: the scan must read it within
// its buffers and end with its own errors or skips.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "base/errors.h"
#include "tests/support/scan_fixture.h"

namespace testsupport {
namespace {

using ScanBadInputTest = ScanFixture;

// Bytes of UTF-16 text, with no terminating NUL unless the text holds one.
std::vector<BYTE> Utf16Bytes(const std::wstring& text) {
  const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
  return std::vector<BYTE>(bytes, bytes + text.size() * sizeof(wchar_t));
}

TEST_F(ScanBadInputTest, StringsWithoutNulOrWithOddLengthAreReadWithinTheirData) {
  // Written through the registry API: Wine's 64-bit reg.exe crashes importing such data.
  const auto key = CreateEntryKey(L"Odd");
  std::vector<BYTE> oddLength = Utf16Bytes(L"OddX");
  oddLength.pop_back();  // 7 bytes: "Odd" and half of "X"
  SetRaw(key.Get(), L"DisplayName", REG_SZ, oddLength);
  SetRaw(key.Get(), L"Publisher", REG_SZ, Utf16Bytes(L"NoNul"));
  SetRaw(key.Get(), L"DisplayVersion", REG_SZ, Utf16Bytes(std::wstring(L"1.0\0garbage", 11)));
  SetRaw(key.Get(), L"URLInfoAbout", REG_SZ, {});
  SetRaw(key.Get(), L"UninstallString", REG_SZ, {0x41});
  ScanUninstallEntries(list_, images_);
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(list_.Caption(0), L"Odd");                   // 7 bytes: the odd byte is dropped
  EXPECT_EQ(list_.SubItem(0, kSubPublisher), L"NoNul");  // no terminating NUL
  EXPECT_EQ(list_.SubItem(0, kSubVersion), L"1.0");      // cut at the first NUL
  EXPECT_EQ(list_.SubItem(0, kSubHelpLink), L"");        // no data at all
  EXPECT_EQ(list_.SubItem(0, kSubUninstall), L"");       // a single byte holds no character
}

TEST_F(ScanBadInputTest, AOneMebibyteStringIsReadWhole) {
  const std::wstring huge(512 * 1024 - 1, L'x');  // with its NUL, exactly 1 MiB
  const auto key = CreateEntryKey(L"Huge");
  SetText(key.Get(), L"DisplayName", L"Huge");
  SetText(key.Get(), L"UninstallString", huge);
  ScanUninstallEntries(list_, images_);
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(list_.SubItem(0, kSubUninstall), huge);
}

TEST_F(ScanBadInputTest, DataThatGrowsAfterTheSizeQueryFailsTheRead) {
  auto key = CreateEntryKey(L"Growing");
  SetText(key.Get(), L"DisplayName", L"Growing");
  SetText(key.Get(), L"Publisher", L"short");
  ScanSeams seams;
  seams.beforeReadData = [](HKEY entry, const std::wstring& valueName) {
    if (valueName == L"Publisher") SetText(entry, L"Publisher", std::wstring(5000, L'y'));
  };
  try {
    ScanUninstallEntries(list_, images_, seams);
    FAIL() << "the read of a grown value must fail";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), L"Failed to get data for 'Publisher'");
  }
  EXPECT_EQ(list_.RowCount(), 0);
}

TEST_F(ScanBadInputTest, DataThatShrinksAfterTheSizeQueryReadsTheNewText) {
  auto key = CreateEntryKey(L"Shrinking");
  SetText(key.Get(), L"DisplayName", L"Shrinking");
  SetText(key.Get(), L"Publisher", L"a rather long publisher name");
  ScanSeams seams;
  seams.beforeReadData = [](HKEY entry, const std::wstring& valueName) {
    if (valueName == L"Publisher") SetText(entry, L"Publisher", L"ab");
  };
  ScanUninstallEntries(list_, images_, seams);
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(list_.SubItem(0, kSubPublisher), L"ab");
}

TEST_F(ScanBadInputTest, AKeyDeletedAfterEnumerationIsSkipped) {
  for (const wchar_t* name : {L"A", L"B", L"C"}) SetText(CreateEntryKey(name).Get(), L"DisplayName", name);
  ScanSeams seams;
  seams.beforeOpenEntry = [](const std::wstring& name) {
    if (name == L"B") {
      ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\B").c_str()),
                ERROR_SUCCESS);
    }
  };
  ScanUninstallEntries(list_, images_, seams);
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"A", L"C"}));
}

TEST_F(ScanBadInputTest, FiveThousandEntriesScanCompletely) {
  for (int i = 0; i < 5000; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"Entry %05d", i);
    const auto key = CreateEntryKey(name);
    SetText(key.Get(), L"DisplayName", name);
    SetText(key.Get(), L"Publisher", L"Publisher");
    if (i % 2 == 0) SetText(key.Get(), L"DisplayIcon", L"C:\\Program Files\\App\\app.exe,0");
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
