// Times what a user waits for in the real window over a 5,000-entry Uninstall key: one search
// keystroke (typing "micro" and deleting it again), a sort by each header bar, and filling the
// details panel; beside the floor of the same run, the bare registry reads of a scan. Run by
// hand (see README); prints medians.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "catalogue/snapshot.h"
#include "tests/bench/bench_support.h"
#include "tests/support/registry_fixture.h"
#include "toolkit/application.h"

using namespace testsupport;

namespace {

constexpr int kEntries = 5000;

// One change of the search text, up to the list painted again.
double KeystrokeMs(TForm1& form, const std::wstring& text) {
  const auto start = std::chrono::steady_clock::now();
  form.edt1->SetText(text);
  UpdateWindow(form.lv1->Handle());
  return MsSince(start);
}

}  // namespace

int main() {
  const double floor = PrepareWindowBench(kEntries);
  TForm1 form(Application().FormSite());
  Application().SetMainForm(form);
  form.Show();
  Application().ProcessMessages();
  std::printf("%d entries, %d rows; floor (registry reads of a scan) %.0f ms\n", kEntries,
              form.lv1->RowCount(), floor);

  std::vector<double> keystrokes;
  const std::wstring word = L"micro";
  for (int round = 0; round < 3; ++round) {
    for (size_t length = 1; length <= word.size(); ++length)
      keystrokes.push_back(KeystrokeMs(form, word.substr(0, length)));
    for (size_t length = word.size(); length-- > 0;)
      keystrokes.push_back(KeystrokeMs(form, word.substr(0, length)));
    Application().ProcessMessages();
  }
  std::printf("search keystroke: median %.1f ms (goal 12), slowest %.1f ms\n", Median(keystrokes),
              *std::max_element(keystrokes.begin(), keystrokes.end()));

  using Click = void (TForm1::*)(TObject&);
  const std::pair<const char*, Click> bars[] = {{"name", &TForm1::img4Click},
                                                {"publisher", &TForm1::img5Click},
                                                {"version", &TForm1::img6Click},
                                                {"link", &TForm1::img7Click}};
  for (const auto& [column, click] : bars) {
    const double sort = MedianMs(
        [&] {
          (form.*click)(form);
          UpdateWindow(form.lv1->Handle());
        },
        5);
    std::printf("sort by %-9s median %.1f ms (goal 50)\n", column, sort);
  }

  // Where a keystroke's time goes: emptying the list of every row, and filling it again.
  const TSnapshotList all = FilterSnapshot(L"");
  std::vector<double> clears, fills;
  for (int round = 0; round < 3; ++round) {
    const ListUpdateLock noRepaint(*form.lv1);
    auto start = std::chrono::steady_clock::now();
    form.lv1->Clear();
    clears.push_back(MsSince(start));
    start = std::chrono::steady_clock::now();
    FillFromSnapshot(*form.lv1, all);
    fills.push_back(MsSince(start));
  }
  std::printf("all %zu rows: empty the list %.1f ms, fill it %.1f ms\n", all.size(), Median(clears),
              Median(fills));
  // The parts of a keystroke outside the list: the search over the snapshot (a word that few
  // names hold, and the empty text that takes every one), and the count label.
  const double filterWord = MedianMs([] { FilterSnapshot(L"micro"); }, 9);
  const double filterAll = MedianMs([] { FilterSnapshot(L""); }, 9);
  int shown = 0;
  const double label = MedianMs(
      [&] {
        form.lblNO->SetCaption(std::to_wstring(++shown));
        UpdateWindow(form.Handle());
      },
      9);
  std::printf("search the snapshot %.1f ms (\"micro\") and %.1f ms (all), count label %.1f ms\n", filterWord,
              filterAll, label);
  // The fixed part of a keystroke: the list view's own work when repainting resumes, and one
  // paint of the visible rows.
  const double resume = MedianMs([&] { ListUpdateLock noRepaint(*form.lv1); }, 9);
  const double paint = MedianMs(
      [&] {
        InvalidateRect(form.lv1->Handle(), nullptr, TRUE);
        UpdateWindow(form.lv1->Handle());
      },
      9);
  std::printf("resume repainting %.1f ms, paint the visible rows %.1f ms\n", resume, paint);

  std::vector<double> details;
  for (int row = 0; row < 60; ++row) {
    form.lv1->Select(row * 80);
    details.push_back(MedianMs([&] { form.ShowDetails(); }, 1));
  }
  std::printf("details panel: median %.2f ms (goal 5)\n", Median(details));
  ClearUninstallKey();
  return 0;
}
