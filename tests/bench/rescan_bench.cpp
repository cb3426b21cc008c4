// Times ten rescans (the All Programs button) in the real window over 5,000 synthetic entries,
// half of them with an icon reference, and the program's memory after the first scan and after
// each rescan. Each rescan appends 2,500 images of 20 x 20 to the entry icon list, which is
// never cleared; a rescan should cost no more than the first scan however many came before it.
// Run by hand (see README); prints one line per scan.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "tests/bench/bench_support.h"
#include "tests/support/process_memory.h"
#include "tests/support/registry_fixture.h"
#include "toolkit/application.h"
#include "toolkit/image_list.h"
#include "toolkit/list_view.h"

using namespace testsupport;

namespace {

constexpr int kEntries = 5000;
constexpr int kRescans = 10;

struct TMemory {
  double workingSetMb;
  double privateMb;
};

TMemory Memory() {
  const TProcessMemory memory = ProcessMemory();
  return {Megabytes(memory.workingSet), Megabytes(memory.privateBytes)};
}

// One scan's line: its time beside the bare registry reads timed right after it (the machine's
// speed drifts over a run; the ratio does not), the rows and images, and the memory.
void Report(const char* what, double ms, const TForm1& form, const TMemory& before) {
  const TMemory now = Memory();
  const double floor = MedianMs(ReadsOnly, 1);
  std::printf(
      "%-10s %6.0f ms (reads %5.0f ms, x%4.2f) %5d rows %6d images  working set %5.1f MB (%+4.1f)  "
      "private %5.1f MB (%+4.1f)\n",
      what, ms, floor, ms / floor, form.lv1->RowCount(), form.ImageListSofticon->Count(), now.workingSetMb,
      now.workingSetMb - before.workingSetMb, now.privateMb, now.privateMb - before.privateMb);
}

}  // namespace

int main() {
  const double floor = PrepareWindowBench(kEntries);
  std::printf("%d entries, half with an icon; floor (registry reads of a scan) %.0f ms\n", kEntries, floor);

  TForm1 form(Application().FormSite());
  Application().SetMainForm(form);
  TMemory last = Memory();
  std::printf("window built: working set %.1f MB, private %.1f MB\n", last.workingSetMb, last.privateMb);
  auto start = std::chrono::steady_clock::now();
  form.Show();  // the first scan runs as the window is shown
  Application().ProcessMessages();
  Report("first scan", MsSince(start), form, last);
  std::vector<double> rescans;
  for (int round = 1; round <= kRescans; ++round) {
    last = Memory();
    start = std::chrono::steady_clock::now();
    form.imgbtn4Click(form);
    Application().ProcessMessages();
    rescans.push_back(MsSince(start));
    char name[16];
    std::snprintf(name, sizeof(name), "rescan %d", round);
    Report(name, rescans.back(), form, last);
  }
  std::printf("rescans: median %.0f ms, first %.0f ms, last %.0f ms\n", Median(rescans), rescans.front(),
              rescans.back());

  // The image list's own share: 2,500 appends of one drawn icon to a list of growing size, as
  // a rescan makes them, with no registry and no list view.
  TImageList images(20, 20);
  const UniqueIcon icon(LoadIconW(nullptr, IDI_APPLICATION));
  const UniqueBitmap image = images.RenderIcon(icon.Get());
  std::printf("appending %d images to an image list of\n", kEntries / 2);
  for (int round = 0; round <= kRescans; ++round) {
    const int had = images.Count();
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kEntries / 2; ++i) images.AddImage(image.Get());
    std::printf("  %6d images: %6.0f ms\n", had, MsSince(start));
  }
  ClearUninstallKey();
  return 0;
}
