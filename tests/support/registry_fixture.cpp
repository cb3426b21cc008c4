#include "tests/support/registry_fixture.h"

#include <stdexcept>

#include "actions/launch.h"
#include "catalogue/uninstall_entries.h"

namespace testsupport {

void ClearUninstallKey() {
  const LONG status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    throw std::runtime_error("cannot delete the Uninstall key");
  }
}

DWORD RunCommand(const std::wstring& commandLine) {
  return static_cast<DWORD>(RunAndWait(commandLine, SW_HIDE));
}

constexpr const wchar_t* kProgramRegistryView = kBuildRunsUnderWow64 ? L" /reg:32" : L" /reg:64";

void ImportRegFile(const std::wstring& fixtureName) {
  const std::wstring path = std::wstring(TEST_FIXTURE_DIR) + L"/" + fixtureName;
  if (RunCommand(L"reg.exe import \"" + path + L"\"" + kProgramRegistryView) != 0) {
    throw std::runtime_error("reg import failed");
  }
}

UniqueRegKey CreateEntryKey(const std::wstring& name) {
  UniqueRegKey key;
  const std::wstring path = std::wstring(kUninstallKey) + L"\\" + name;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(),
                      nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create an entry key");
  }
  return key;
}

void AddEntry(const std::wstring& key, const std::wstring& displayName, const EntryValues& values) {
  const UniqueRegKey entry = CreateEntryKey(key);
  SetText(entry.Get(), L"DisplayName", displayName);
  const std::pair<const wchar_t*, const std::wstring*> named[] = {{L"Publisher", &values.publisher},
                                                                  {L"DisplayVersion", &values.version},
                                                                  {L"URLInfoAbout", &values.helpLink},
                                                                  {L"UninstallString", &values.uninstall},
                                                                  {L"DisplayIcon", &values.icon}};
  for (const auto& [name, text] : named) {
    if (!text->empty()) SetText(entry.Get(), name, *text);
  }
}

LONG DeleteEntry(const std::wstring& key) {
  return RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + key).c_str());
}

void CreateEmptyUninstallKey() {
  UniqueRegKey key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(),
                      nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create the Uninstall key");
  }
}

void SetText(HKEY key, const std::wstring& valueName, const std::wstring& text, DWORD type) {
  const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  SetRaw(key, valueName, type, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t)));
}

void SetRaw(HKEY key, const std::wstring& valueName, DWORD type, const std::vector<BYTE>& bytes) {
  if (RegSetValueExW(key, valueName.c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size())) !=
      ERROR_SUCCESS) {
    throw std::runtime_error("cannot set a value");
  }
}

std::vector<BYTE> DwordBytes(DWORD value) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&value);
  return std::vector<BYTE>(bytes, bytes + sizeof(value));
}

}  // namespace testsupport
