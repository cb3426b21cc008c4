#include "tests/support/scan_fixture.h"

namespace testsupport {

ScanFixture::ScanFixture() : list_(host_.Handle(), RECT{168, 164, 849, 489}) {
  for (const auto& [caption, width] : std::vector<std::pair<std::wstring, int>>{{L"Program Name", 260},
                                                                                {L"Publisher", 110},
                                                                                {L"Version", 90},
                                                                                {L"URL", 200},
                                                                                {L"Uninstall", 0},
                                                                                {L"key", 0},
                                                                                {L"icon", 0}}) {
    list_.AddColumn(caption, width);
  }
  images_.AddIcon(LoadIconW(nullptr, IDI_APPLICATION));  // the default image 0
  list_.SetSmallImages(images_);
}

std::vector<Row> ScanFixture::Rows() const {
  std::vector<Row> rows;
  for (int i = 0; i < list_.RowCount(); ++i)
    rows.push_back({list_.Caption(i), list_.SubItems(i), list_.ImageIndex(i)});
  return rows;
}

std::vector<std::wstring> ScanFixture::Captions() const {
  std::vector<std::wstring> captions;
  for (int i = 0; i < list_.RowCount(); ++i) captions.push_back(list_.Caption(i));
  return captions;
}

std::vector<std::wstring> ScanFixture::EnumeratedSubkeys() {
  std::vector<std::wstring> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(key);
  return names;
}

std::wstring ScanFixture::KeyPath(const std::wstring& subkey) {
  return L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + subkey;
}

}  // namespace testsupport
