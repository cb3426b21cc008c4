// The reader over real machines' entries, checked against Wine's own uninstaller as a peer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/catalogue/uninstall_entries_fixture.h"

namespace testsupport {
namespace {

using UninstallEntriesRealDataTest = UninstallEntriesFixture;

// Wine's uninstaller prints one "key|||display name" line per entry that it offers to remove.
std::map<std::wstring, std::wstring> PeerListing() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring out = std::wstring(temp) + L"caldwex_peer.txt";
  EXPECT_EQ(RunCommand(L"cmd.exe /c uninstaller.exe --list > \"" + out + L"\""), 0u);
  std::ifstream file{std::filesystem::path(out)};
  std::map<std::wstring, std::wstring> entries;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto bar = line.find("|||");
    if (bar == std::string::npos) continue;
    entries[std::wstring(line.begin(), line.begin() + bar)] =
        std::wstring(line.begin() + bar + 3, line.end());
  }
  DeleteFileW(out.c_str());
  return entries;
}

DWORD ReadDword(const std::wstring& subkey, const wchar_t* value) {
  DWORD data = 0;
  DWORD size = sizeof(data);
  RegGetValueW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + subkey).c_str(), value,
               RRF_RT_REG_DWORD, nullptr, &data, &size);
  return data;
}

TEST_F(UninstallEntriesRealDataTest, ListsEveryEntryThatWinesUninstallerOffersAndTheHiddenOnesBesides) {
  ImportRegFile(L"realdata/regipy_uninstall.reg");
  {
    const auto component = CreateEntryKey(L"KB000001");
    SetText(component.Get(), L"DisplayName", L"Security Update for Windows (KB000001)");
    SetText(component.Get(), L"UninstallString", L"C:\\Windows\\spuninst.exe");
    SetRaw(component.Get(), L"SystemComponent", REG_DWORD, DwordBytes(1));
    AddEntry(L"NoCommand", L"Entry without uninstall command");
  }
  Read();
  const auto peer = PeerListing();
  ASSERT_GE(peer.size(), 10u);

  std::map<std::wstring, TUninstallEntry> ours;
  const std::wstring prefix = KeyPath(L"");
  for (const TUninstallEntry& entry : entries_) ours[entry.keyPath.substr(prefix.size())] = entry;

  for (const auto& [key, name] : peer) {
    ASSERT_TRUE(ours.count(key)) << "missing: " << testing::PrintToString(key);
    EXPECT_EQ(ours[key].displayName, name);
  }
  // What the peer leaves out, it hides on purpose: system components and entries that have no
  // uninstall command. The reader hands them out all the same.
  for (const auto& [key, entry] : ours) {
    if (!peer.count(key)) {
      EXPECT_TRUE(ReadDword(key, L"SystemComponent") == 1 || entry.uninstall.empty())
          << testing::PrintToString(key);
    }
  }
  EXPECT_EQ(ours.size(), peer.size() + 2);
}

}  // namespace
}  // namespace testsupport
