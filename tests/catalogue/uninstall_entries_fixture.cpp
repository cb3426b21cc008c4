#include "tests/catalogue/uninstall_entries_fixture.h"

#include <algorithm>
#include <stdexcept>

namespace testsupport {

void UninstallEntriesFixture::Read(const TEntrySeams& seams) {
  entries_.clear();
  ReadUninstallEntries([this](const TUninstallEntry& entry) { entries_.push_back(entry); }, seams);
}

std::vector<std::wstring> UninstallEntriesFixture::Names() const {
  std::vector<std::wstring> names;
  for (const TUninstallEntry& entry : entries_) names.push_back(entry.displayName);
  return names;
}

const TUninstallEntry& UninstallEntriesFixture::EntryOf(const std::wstring& subkey) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const TUninstallEntry& entry) {
    return entry.keyPath == KeyPath(subkey);
  });
  if (found == entries_.end()) throw std::runtime_error("no entry read from that subkey");
  return *found;
}

std::vector<std::wstring> UninstallEntriesFixture::EnumeratedSubkeys() {
  std::vector<std::wstring> names;
  UniqueRegKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  return names;
}

std::wstring UninstallEntriesFixture::KeyPath(const std::wstring& subkey) {
  return L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + subkey;
}

}  // namespace testsupport
