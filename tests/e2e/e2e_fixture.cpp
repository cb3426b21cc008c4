#include "tests/e2e/e2e_fixture.h"

#include "base/unique_handle.h"
#include "catalogue/uninstall_entries.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/screenshot.h"
#include "tests/support/user_input.h"

namespace testsupport {

bool EntryExists(const std::wstring& name) {
  UniqueRegKey key;
  const std::wstring path = std::wstring(kUninstallKey) + L"\\" + name;
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

std::wstring Expanded(const std::wstring& path) {
  std::wstring expanded(32768, L'\0');
  const DWORD length = ExpandEnvironmentStringsW(path.c_str(), expanded.data(), 32768);
  expanded.resize(length > 0 ? length - 1 : 0);
  return expanded;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ShippedProgramTest::SetUp() {
  ClearUninstallKey();
}

void ShippedProgramTest::TearDown() {
  ClearUninstallKey();
  MovePointer({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

void ShippedProgramTest::KeepScreenshot(HWND window, const std::string& name) {
  SaveArtifact(window, ARTIFACT_DIR, name);
}

}  // namespace testsupport
