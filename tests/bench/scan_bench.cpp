// Times the scan over synthetic Uninstall keys of growing size, against a floor: the same
// registry reads without any window work. Run by hand (see README); prints medians.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "base/unique_handle.h"
#include "catalogue/softwarelist.h"
#include "tests/support/host_window.h"
#include "tests/support/registry_fixture.h"
#include "toolkit/image_list.h"
#include "toolkit/list_view.h"

using namespace testsupport;

namespace {

void FillRegistry(int entries) {
  ClearUninstallKey();
  for (int i = 0; i < entries; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"{%08d-0000-0000-0000-000000000000}", i);
    const auto key = CreateEntryKey(name);
    SetText(key.Get(), L"DisplayName", std::wstring(L"Program ") + name);
    SetText(key.Get(), L"Publisher", L"Example Corporation");
    SetText(key.Get(), L"DisplayVersion", L"1.2.3");
    SetText(key.Get(), L"UninstallString", std::wstring(L"MsiExec.exe /X") + name);
    if (i % 2 == 0) SetText(key.Get(), L"DisplayIcon", L"C:\\Program Files\\Example\\app.exe,0");
  }
}

// The registry work of a scan alone: open, enumerate, read the six values.
void ReadsOnly() {
  UniqueRegKey uninstall;
  RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS, uninstall.Put());
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(uninstall.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    UniqueRegKey entry;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + name).c_str(), 0, KEY_ALL_ACCESS,
                  entry.Put());
    for (const wchar_t* value : {L"DisplayName", L"Publisher", L"DisplayVersion", L"URLInfoAbout",
                                 L"UninstallString", L"DisplayIcon"}) {
      ReadRegistryText(entry.Get(), value);
    }
  }
}

double MedianMs(const std::function<void()>& work, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  HostWindow host;
  TListView list(host.Handle(), RECT{168, 164, 849, 489});
  for (int i = 0; i < 7; ++i) list.AddColumn(L"column", i < 4 ? 100 : 0);
  TImageList images(20, 20);
  list.SetSmallImages(images);
  ShowWindow(host.Handle(), SW_SHOW);  // rescans happen while the window is on screen

  std::printf("%8s %12s %12s %8s\n", "entries", "floor ms", "scan ms", "ratio");
  for (const int entries : {1000, 5000, 20000}) {
    FillRegistry(entries);
    const double floor = MedianMs(ReadsOnly, 3);
    const double scan = MedianMs([&] { ScanUninstallEntries(list, images); }, 3);
    std::printf("%8d %12.0f %12.0f %8.2f\n", entries, floor, scan, scan / floor);
  }
  ClearUninstallKey();
  return 0;
}
