#include "catalogue/uninstall_entries.h"

#include <utility>
#include <vector>

#include "base/errors.h"
#include "base/unique_handle.h"

namespace {

std::wstring ReadText(HKEY key, const std::wstring& valueName, const TEntrySeams& seams) {
  DWORD size = 0;
  if (RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS ||
      size == 0) {
    return {};
  }
  if (seams.beforeReadData) seams.beforeReadData(key, valueName);

  // Sized by the query; if the data grew since, the read fails instead of overrunning.
  std::vector<BYTE> data(size);
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
    throw ERegistryException(L"Failed to get data for '" + valueName + L"'");
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    throw ERegistryException(L"Invalid data type for '" + valueName + L"'");
  }
  // The data may lack its terminating NUL or have an odd byte count: take the whole code units
  // that arrived, up to the first NUL.
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!text.empty()) memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  const auto nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

UniqueRegKey OpenKey(const std::wstring& path) {
  UniqueRegKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) {
    return {};
  }
  return key;
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
  DWORD count = 0;
  DWORD longest = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr);
  std::vector<std::wstring> names;
  names.reserve(count);
  std::wstring buffer(longest + 1, L'\0');
  for (DWORD index = 0; index < count; ++index) {
    DWORD length = static_cast<DWORD>(buffer.size());
    LONG status = RegEnumKeyExW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) {  // a longer name appeared since the key was asked
      buffer.resize(256 + 1);         // the registry's limit for a key name
      length = static_cast<DWORD>(buffer.size());
      status = RegEnumKeyExW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    }
    if (status == ERROR_NO_MORE_ITEMS) break;  // subkeys were deleted meanwhile
    if (status == ERROR_SUCCESS) names.emplace_back(buffer.data(), length);
  }
  return names;
}

}  // namespace

void ReadUninstallEntries(const std::function<void(TUninstallEntry&&)>& visit, const TEntrySeams& seams) {
  const UniqueRegKey uninstall = OpenKey(kUninstallKey);
  if (!uninstall) return;

  const std::wstring prefix = std::wstring(kUninstallKey) + L"\\";
  for (const std::wstring& name : SubkeyNames(uninstall.Get())) {
    if (seams.beforeOpenEntry) seams.beforeOpenEntry(name);
    const std::wstring entryPath = prefix + name;
    const UniqueRegKey key = OpenKey(entryPath);
    if (!key) continue;  // deleted since the enumeration, or not ours to open

    const auto read = [&](const wchar_t* valueName) { return ReadText(key.Get(), valueName, seams); };
    TUninstallEntry entry;
    entry.displayName = read(L"DisplayName");
    entry.publisher = read(L"Publisher");
    entry.version = read(L"DisplayVersion");
    entry.helpLink = read(L"URLInfoAbout");
    entry.uninstall = read(L"UninstallString");
    entry.icon = read(L"DisplayIcon");
    entry.keyPath = kUninstallKeyRoot + entryPath;
    if (!entry.displayName.empty()) visit(std::move(entry));
  }
}
