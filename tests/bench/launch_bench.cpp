// Launch to full list: the time from starting a program to its list showing every entry, for
// the shipped program and for Wine's own Add/Remove Programs (`control appwiz.cpl`) over the
// same registry, both observed the same way from this process: wait for the window to be
// visible, then read its list's row count until it has not changed for a second; the time is
// that of the first reading of the final count. A bare program of ours (one window, nothing
// else) gives the start-up that any program pays. scripts/bench.sh drives it:
//   launch_bench count                  the number of entries the shipped program lists
//   launch_bench warm RUNS EXPECTED     starts each program RUNS times, alternating, with the
//                                       Wine server already running, and prints medians
//   launch_bench watch ours|wine|bare START_US
//                                       observes a program that the script started at
//                                       START_US (microseconds since 1970, the system clock),
//                                       with no server running before it, and closes it
//   launch_bench split RUNS             where the shipped program's time goes, in this process:
//                                       building the window, the scan's registry reads, icon
//                                       lookups, icon drawing, and the rest of the list fill
#include <objbase.h>
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "actions/path_cleanup.h"
#include "app/main_window.h"
#include "base/unique_handle.h"
#include "catalogue/softwarelist.h"
#include "catalogue/uninstall_entries.h"
#include "tests/bench/bench_support.h"
#include "tests/support/other_windows.h"
#include "toolkit/application.h"
#include "toolkit/image_list.h"
#include "toolkit/list_view.h"

using namespace testsupport;

namespace {

enum class TKind { kOurs, kWine, kBare };
constexpr const char* kNames[] = {"ours", "wine", "bare"};

// How long a list's row count must stay the same to count as full, and how long a start may take.
constexpr long long kSettledUs = 1000000;
constexpr long long kLimitUs = 60000000;

std::wstring WindowsPath(std::wstring path) {
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  return path;
}

std::wstring CommandLine(TKind kind) {
  switch (kind) {
    case TKind::kOurs:
      return L"\"" + WindowsPath(CALDWEX_PROGRAM) + L"\"";
    case TKind::kWine:
      return L"control.exe appwiz.cpl";
    case TKind::kBare:
      return L"\"" + WindowsPath(BARE_WINDOW_PROGRAM) + L"\"";
  }
  return {};
}

// Microseconds since 1970 by the system clock, which under Wine is the host's real-time clock:
// the one the script reads with `date` when it starts a program itself.
long long NowUs() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<long long>(ticks / 10) - 11644473600000000LL;
}

HWND FindTargetWindow(TKind kind) {
  if (kind == TKind::kOurs || kind == TKind::kBare) {
    const auto windows = VisibleWindows(0, kind == TKind::kOurs ? L"CaldwexForm" : L"CaldwexBareWindow");
    return windows.empty() ? nullptr : windows.front();
  }
  // Wine's Add/Remove Programs is a property sheet whose page holds the list.
  for (const HWND window : VisibleWindows(0, L"#32770"))
    if (FindDescendant(window, WC_LISTVIEWW)) return window;
  return nullptr;
}

struct TLaunch {
  double createdMs = -1;  // the shipped program's window made, still hidden: its layout is being built
  double visibleMs = -1;
  double fullMs = -1;
  int rows = -1;
  HWND window = nullptr;
};

TLaunch Observe(TKind kind, long long startUs) {
  TLaunch launch;
  long long lastChange = 0;
  while (NowUs() - startUs < kLimitUs) {
    if (!launch.window) {
      if (kind == TKind::kOurs && launch.createdMs < 0 && !VisibleWindows(0, L"CaldwexForm", false).empty())
        launch.createdMs = static_cast<double>(NowUs() - startUs) / 1000.0;
      launch.window = FindTargetWindow(kind);
      if (launch.window) launch.visibleMs = static_cast<double>(NowUs() - startUs) / 1000.0;
      if (launch.window && kind == TKind::kBare) break;
    } else {
      const int rows = ListRowCount(FindDescendant(launch.window, WC_LISTVIEWW), 5000);
      const long long read = NowUs();
      if (rows != launch.rows) {
        launch.rows = rows;
        launch.fullMs = static_cast<double>(read - startUs) / 1000.0;
        lastChange = read;
      } else if (rows > 0 && read - lastChange >= kSettledUs) {
        break;
      }
    }
    Sleep(10);
  }
  if (kind == TKind::kBare) launch.fullMs = launch.visibleMs;
  return launch;
}

// Closes the observed program's window and waits for its process to end; ends it if it hangs.
void Close(const TLaunch& launch) {
  if (!launch.window) return;
  DWORD processId = 0;
  GetWindowThreadProcessId(launch.window, &processId);
  const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
  PostMessageW(launch.window, WM_CLOSE, 0, 0);
  if (process && WaitForSingleObject(process.Get(), 10000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "%ls did not end after WM_CLOSE; ended by force\n",
                 WindowText(launch.window).c_str());
    TerminateProcess(process.Get(), 1);
    WaitForSingleObject(process.Get(), 5000);
  }
}

TLaunch LaunchWarm(TKind kind) {
  std::wstring commandLine = CommandLine(kind);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  const long long start = NowUs();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    std::fprintf(stderr, "cannot start %ls: error %lu\n", commandLine.c_str(), GetLastError());
    return {};
  }
  const UniqueKernelHandle process(info.hProcess);
  const UniqueKernelHandle thread(info.hThread);
  const TLaunch launch = Observe(kind, start);
  Close(launch);
  return launch;
}

void PrintLaunch(const char* mode, TKind kind, const TLaunch& launch) {
  std::printf("%s %s created=%.0f visible=%.0f full=%.0f rows=%d\n", mode, kNames[static_cast<int>(kind)],
              launch.createdMs, launch.visibleMs, launch.fullMs, launch.rows);
  std::fflush(stdout);
}

int CountEntries() {
  int count = 0;
  ReadUninstallEntries([&](const TUninstallEntry&) { ++count; });
  return count;
}

std::string Range(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  char text[64];
  std::snprintf(text, sizeof(text), "%.0f ms (%.0f to %.0f)", Median(times), times.front(), times.back());
  return text;
}

int Warm(int runs, int expected) {
  std::map<TKind, std::vector<double>> full;
  std::vector<double> created, visible;
  bool allRows = true;
  const TKind order[] = {TKind::kOurs, TKind::kWine, TKind::kBare};
  // The first round loads each program's files into the host's cache and is not counted.
  for (int round = 0; round <= runs; ++round) {
    for (const TKind kind : order) {
      const TLaunch launch = LaunchWarm(kind);
      if (round == 0) continue;
      PrintLaunch("warm", kind, launch);
      full[kind].push_back(launch.fullMs);
      if (kind == TKind::kOurs) created.push_back(launch.createdMs), visible.push_back(launch.visibleMs);
      if (kind == TKind::kOurs && launch.rows != expected) allRows = false;
      Sleep(500);
    }
  }
  std::printf("warm median over %d runs: ours %s, Wine's %s, bare program %s\n", runs,
              Range(full[TKind::kOurs]).c_str(), Range(full[TKind::kWine]).c_str(),
              Range(full[TKind::kBare]).c_str());
  std::printf("the shipped program's window made (hidden) at %s, visible at %s\n", Range(created).c_str(),
              Range(visible).c_str());
  if (!allRows) std::printf("the shipped program did not always list all %d entries\n", expected);
  return allRows ? 0 : 1;
}

// The shipped program's start, piece by piece, in this process over the registry as it is.
int Split(int runs) {
  // The registry reads of a scan, the first time in this process and once more.
  auto start = std::chrono::steady_clock::now();
  ReadsOnly();
  const double firstReads = MsSince(start);
  start = std::chrono::steady_clock::now();
  ReadsOnly();
  std::printf("the scan's registry reads: %.0f ms the first time in a process, %.0f ms the second\n",
              firstReads, MsSince(start));
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Application().Initialize();
  Application().SetTitle(L"Caldwex Uninstaller");
  start = std::chrono::steady_clock::now();
  TForm1 form(Application().FormSite());
  const double build = MsSince(start);
  Application().SetMainForm(form);
  start = std::chrono::steady_clock::now();
  form.Show();  // the first scan, the count label and the snapshot, before the window is visible
  const double show = MsSince(start);
  Application().ProcessMessages();
  const double paint = MedianMs(
      [&] {
        RedrawWindow(form.Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      },
      runs);
  std::printf("%d rows; building the window %.0f ms, showing it (first scan, count, snapshot) %.0f ms,\n",
              form.lv1->RowCount(), build, show);
  std::printf("a paint of the whole window %.0f ms\n", paint);

  // The scan again, with its icon lookups timed; each distinct reference is looked up once.
  std::vector<double> scans, lookups, lookupCounts;
  for (int run = 0; run < runs; ++run) {
    double lookupMs = 0;
    int lookupCount = 0;
    ScanSeams seams;
    seams.iconLookup = [&](std::wstring_view reference) {
      const auto begin = std::chrono::steady_clock::now();
      const HICON icon = GetFileIcon(reference);
      lookupMs += MsSince(begin);
      ++lookupCount;
      return icon;
    };
    start = std::chrono::steady_clock::now();
    ScanUninstallEntries(*form.lv1, *form.ImageListSofticon, seams);
    scans.push_back(MsSince(start));
    lookups.push_back(lookupMs);
    lookupCounts.push_back(lookupCount);
  }
  // Drawing the distinct icons into images, alone.
  std::vector<std::wstring> references;
  ReadUninstallEntries([&](const TUninstallEntry& entry) {
    if (!entry.icon.empty() &&
        std::find(references.begin(), references.end(), entry.icon) == references.end())
      references.push_back(entry.icon);
  });
  std::vector<UniqueIcon> icons;
  for (const std::wstring& reference : references) icons.emplace_back(GetFileIcon(reference));
  const double drawing = MedianMs(
      [&] {
        for (const UniqueIcon& icon : icons) form.ImageListSofticon->RenderIcon(icon.Get());
      },
      runs);
  const double reads = MedianMs(ReadsOnly, runs);
  const double scan = Median(scans);
  const double lookup = Median(lookups);
  std::printf(
      "scan and fill, median of %d: %.0f ms = registry reads %.0f ms + icon lookups %.0f ms (%.0f distinct "
      "references) + drawing the icons %.0f ms + the rest (rows, image appends, emptying the list) %.0f ms\n",
      runs, scan, reads, lookup, Median(lookupCounts), drawing, scan - reads - lookup - drawing);
  CoUninitialize();
  return 0;
}

TKind KindNamed(const char* name) {
  for (int i = 0; i < 3; ++i)
    if (std::strcmp(name, kNames[i]) == 0) return static_cast<TKind>(i);
  std::fprintf(stderr, "unknown program '%s' (ours, wine or bare)\n", name);
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "count" && argc == 2) {
    std::printf("%d\n", CountEntries());
    return 0;
  }
  if (mode == "warm" && argc == 4) return Warm(std::atoi(argv[2]), std::atoi(argv[3]));
  if (mode == "watch" && argc == 4) {
    const TKind kind = KindNamed(argv[2]);
    const TLaunch launch = Observe(kind, std::atoll(argv[3]));
    Close(launch);
    PrintLaunch("cold", kind, launch);
    return launch.window ? 0 : 1;
  }
  if (mode == "split" && argc == 3) return Split(std::atoi(argv[2]));
  std::fprintf(
      stderr,
      "usage: launch_bench count | warm RUNS EXPECTED | watch ours|wine|bare START_US | split RUNS\n");
  return 2;
}
