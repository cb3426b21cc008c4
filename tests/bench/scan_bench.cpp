// Times the scan over synthetic Uninstall keys of growing size, against a floor: the same
// registry reads without any window work. Run by hand (see README); prints medians.
#include <windows.h>

#include <cstdio>

#include "catalogue/softwarelist.h"
#include "tests/bench/bench_support.h"
#include "tests/support/host_window.h"
#include "tests/support/registry_fixture.h"
#include "toolkit/image_list.h"
#include "toolkit/list_view.h"

using namespace testsupport;

int main() {
  HostWindow host;
  TListView list(host.Handle(), RECT{168, 164, 849, 489});
  for (int i = 0; i < 4; ++i) list.AddColumn(L"column", 100);  // the visible columns' painting counts
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
