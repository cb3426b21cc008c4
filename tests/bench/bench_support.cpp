#include "tests/bench/bench_support.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "base/unique_handle.h"
#include "catalogue/uninstall_entries.h"
#include "tests/support/registry_fixture.h"
#include "toolkit/application.h"

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
    AddEntry(name, std::wstring(kinds[i % 10]) + L" " + std::to_wstring(i),
             {.publisher = i % 3 == 0 ? L"Example Corporation" : L"Another Vendor Ltd.",
              .version = std::to_wstring(i % 17) + L".2." + std::to_wstring(i % 101),
              .uninstall = std::wstring(L"MsiExec.exe /X") + name,
              .icon = i % 2 == 0 ? L"C:\\Program Files\\Example\\app.exe,0" : L""});
  }
}

void ReadsOnly() {
  ReadUninstallEntries([](const TUninstallEntry&) {});
}

double PrepareWindowBench(int entries) {
  Application().Initialize();
  FillRegistry(entries);
  return MedianMs(ReadsOnly, 3);
}

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
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
    times.push_back(MsSince(start));
  }
  return Median(times);
}

}  // namespace testsupport
