#include "tests/bench/bench_support.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "base/unique_handle.h"
#include "catalogue/uninstall_entries.h"
#include "tests/support/registry_fixture.h"

namespace testsupport {

void FillRegistry(int entries) {
  ClearUninstallKey();
  const wchar_t* const kinds[] = {L"Microsoft Visual C++ Redistributable",
                                  L"Adobe Reader",
                                  L"Python Tools",
                                  L"Intel Graphics Driver",
                                  L"Realtek Audio",
                                  L"Game Launcher",
                                  L"Java Runtime",
                                  L"Office Helper",
                                  L"Zip Utility",
                                  L"Media Player"};
  for (int i = 0; i < entries; ++i) {
    wchar_t name[48];
    swprintf(name, 48, L"{%08d-0000-0000-0000-000000000000}", i);
    const auto key = CreateEntryKey(name);
    SetText(key.Get(), L"DisplayName", std::wstring(kinds[i % 10]) + L" " + std::to_wstring(i));
    SetText(key.Get(), L"Publisher", i % 3 == 0 ? L"Example Corporation" : L"Another Vendor Ltd.");
    SetText(key.Get(), L"DisplayVersion", std::to_wstring(i % 17) + L".2." + std::to_wstring(i % 101));
    SetText(key.Get(), L"UninstallString", std::wstring(L"MsiExec.exe /X") + name);
    if (i % 2 == 0) SetText(key.Get(), L"DisplayIcon", L"C:\\Program Files\\Example\\app.exe,0");
  }
}

void ReadsOnly() {
  ReadUninstallEntries([](const TUninstallEntry&) {});
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double MedianMs(const std::function<void()>& work, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  return Median(times);
}

}  // namespace testsupport
