// The shipped program on screens of 96, 120, 144 and 192 dpi: the whole window grows with the
// density, its skin keeps its colours at the scaled points, the list's four columns fit, and
// every button and header acts where it is drawn. At 96 dpi the window is pixel for pixel the
// picture kept in tests/fixtures.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "catalogue/uninstall_entries.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/shipped_program.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/screenshot.h"
#include "tests/support/skin_colours.h"
#include "tests/support/user_input.h"
#include "toolkit/picture.h"

namespace testsupport {
namespace {

class DisplayScalingTest : public ShippedProgramTest, public testing::WithParamInterface<int> {};

constexpr wchar_t kSelfRemover[] = L"Scaled Self Remover";

// An entry whose uninstaller is the system's reg.exe deleting the entry's own key.
void AddSelfRemovingEntry() {
  AddEntry(kSelfRemover, kSelfRemover,
           {.publisher = L"Zeta Tests",
            .version = L"1.2.3",
            .helpLink = L"https://example.org/help",
            .uninstall = L"\"C:\\windows\\system32\\reg.exe\" delete \"HKLM\\" + std::wstring(kUninstallKey) +
                         L"\\" + kSelfRemover + L"\" /f",
            .icon = L"C:\\windows\\system32\\winecfg.exe"});
}

std::vector<std::wstring> Column(const ShippedProgram& program, int column) {
  std::vector<std::wstring> texts;
  for (int row = 0; row < program.RowCount(); ++row) texts.push_back(program.Cell(row, column));
  return texts;
}

bool SortedAsTheListSorts(const std::vector<std::wstring>& texts) {
  return std::is_sorted(texts.begin(), texts.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                          b.c_str(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
  });
}

// The pixels of `shot` that differ from the picture in `path`; a size mismatch differs wholly.
int PixelsDifferingFrom(const Screenshot& shot, const std::wstring& path, POINT& firstDifference) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  const TPicture reference = DecodePng(bytes);
  if (reference.Width() != shot.Width() || reference.Height() != shot.Height())
    return shot.Width() * shot.Height();
  const auto pixels = reference.Graphic()->Pixels();
  int differing = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      const std::uint8_t* p = &pixels[(static_cast<size_t>(y) * shot.Width() + x) * 4];
      if (shot.At(x, y) == RGB(p[2], p[1], p[0])) continue;
      if (differing++ == 0) firstDifference = {x, y};
    }
  return differing;
}

TEST_P(DisplayScalingTest, TheWholeWindowGrowsWithTheDensityAndActsWhereItIsDrawn) {
  const int dpi = GetParam();
  const TScale scale(dpi);
  ImportRegFile(L"gui_entries.reg");
  AddSelfRemovingEntry();
  const ScreenDensity density(dpi);
  ShippedProgram program(scale);
  ASSERT_TRUE(program.Started());
  const HWND window = program.Window();

  RECT bounds = {};
  GetWindowRect(window, &bounds);
  EXPECT_EQ(bounds.right - bounds.left, scale.Pixels(870));
  EXPECT_EQ(bounds.bottom - bounds.top, scale.Pixels(619));
  {
    const Screenshot shot(window);
    KeepScreenshot(window, "window_" + std::to_string(dpi) + "dpi");
    ExpectSkinColours(shot, dpi);
    if (dpi == 96) {
      POINT first = {};
      EXPECT_EQ(PixelsDifferingFrom(shot, TEST_FIXTURE_DIR L"/window_96dpi.png", first), 0)
          << "first at (" << first.x << ", " << first.y << ")";
    }
  }

  // The list grows with its font and icons: its four columns fit without a scroll bar, and it
  // shows as many rows as at 96 dpi.
  const HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
  EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL, 0);
  RECT client = {};
  GetClientRect(list, &client);
  int columns = 0;
  for (int column = 0; column < 4; ++column)
    columns += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
  EXPECT_EQ(columns, scale.Pixels(260) + scale.Pixels(110) + scale.Pixels(90) + scale.Pixels(200));
  EXPECT_LE(columns, client.right);
  const auto rowsPerPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_GE(rowsPerPage, 13);
  EXPECT_LE(rowsPerPage, 16);

  // Each header bar sorts by its column, clicked right of its caption (the captions are labels
  // of their own, which take the clicks on them). Each first click on a column sorts ascending.
  for (const auto& [x, column] : {std::pair{530, 1}, {620, 2}, {800, 3}, {400, 0}}) {
    SCOPED_TRACE(column);
    ASSERT_FALSE(SortedAsTheListSorts(Column(program, column)));
    program.Click(ScaledPoint(x, 151, dpi));
    EXPECT_TRUE(SortedAsTheListSorts(Column(program, column)));
  }

  // All Programs rescans, and lights up, its tab reaching into the panel, while pointed at.
  const int rows = program.RowCount();
  AddEntry(L"Scaled Newcomer", L"Scaled Newcomer");
  program.ClickControl("imgbtn4");
  EXPECT_EQ(program.RowCount(), rows + 1);
  {
    const Screenshot hovered(window);
    const POINT tab = ScaledPoint(150, 165, dpi);
    EXPECT_TRUE(Near(hovered.At(tab.x, tab.y), 207, 206, 207, 8));
  }

  // Pressing on the background and moving drags the window along.
  RECT before = {};
  GetWindowRect(window, &before);
  POINT grip = ScaledPoint(80, 400, dpi);
  ClientToScreen(window, &grip);
  MovePointer(grip);
  Sleep(100);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 5; ++step) {
    Sleep(60);
    MovePointer({grip.x + 8 * step, grip.y + 6 * step});
  }
  Sleep(100);
  SendMouse(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitUntil(
      [&] {
        RECT after = {};
        GetWindowRect(window, &after);
        return std::abs(after.left - before.left - 40) <= 8 && std::abs(after.top - before.top - 30) <= 6;
      },
      3000));

  // Uninstall runs the selected entry's uninstaller, which removes the entry.
  ASSERT_TRUE(program.SelectRow(program.RowOf(kSelfRemover)));
  KeepScreenshot(window, "window_" + std::to_string(dpi) + "dpi_details");
  program.ClickControl("imgbtn2");
  EXPECT_TRUE(WaitUntil([&] { return program.RowOf(kSelfRemover) < 0; }, 15000));
  EXPECT_FALSE(EntryExists(kSelfRemover));

  // Minimise hides the window with the application; restored, Close ends the program.
  program.ClickControl("imgbtnMix");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));
  PostMessageW(GetWindow(window, GW_OWNER), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
  program.ClickControl("imgbtn5");
  EXPECT_EQ(program.WaitForExit(10000), 0u);
}

class DensityChangeTest : public ShippedProgramTest {};

// Rows enough to scroll, a third of them with icons.
void AddScrollingEntries() {
  for (int i = 0; i < 30; ++i) {
    const std::wstring name = L"Density Entry " + std::to_wstring(100 + i);
    const UniqueRegKey key = CreateEntryKey(name);
    SetText(key.Get(), L"DisplayName", name);
    SetText(key.Get(), L"Publisher",
            L"Publisher " + std::wstring(1, static_cast<wchar_t>(L'A' + (i * 7) % 26)));
    if (i % 3 == 0)
      SetText(key.Get(), L"DisplayIcon",
              i % 2 ? L"C:\\windows\\notepad.exe" : L"C:\\windows\\system32\\winecfg.exe");
  }
}

// What the user has done before the window moves: searched, sorted by publisher once (so that
// the next click on it sorts the other way), selected a row, which fills the details panel, and
// scrolled the list, which keeps the focus.
void Arrange(const ShippedProgram& program, int dpi) {
  program.TypeIntoSearch(L"e");
  program.Click(ScaledPoint(530, 151, dpi));
  ASSERT_TRUE(program.SelectRow(2));
  program.ScrollRows(6);
  MovePointer({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
  Sleep(400);
}

// Where two pictures of one window differ: inside the places allowed to, and elsewhere (the
// first such pixel in `first`). A size mismatch differs wholly.
struct Difference {
  int allowed = 0;
  int elsewhere = 0;
  POINT first = {-1, -1};
};
Difference Compare(const Screenshot& a, const Screenshot& b, const std::vector<RECT>& allowed) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return {0, a.Width() * a.Height()};
  Difference difference;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      if (a.At(x, y) == b.At(x, y)) continue;
      const POINT at = {x, y};
      if (std::any_of(allowed.begin(), allowed.end(), [&](const RECT& r) { return PtInRect(&r, at); })) {
        ++difference.allowed;
      } else if (difference.elsewhere++ == 0) {
        difference.first = at;
      }
    }
  return difference;
}

TEST_F(DensityChangeTest, MovedToScreensOfOtherDensitiesItLooksAsAFreshStartThereAndKeepsWhatTheUserDid) {
  ImportRegFile(L"gui_entries.reg");
  AddScrollingEntries();
  // First a fresh start at each density, brought to the same state by the same input.
  struct FreshStart {
    RECT bounds = {};
    std::unique_ptr<Screenshot> shot;
    std::vector<std::wstring> rows;
    std::vector<std::wstring> tree;
    RECT list = {};
  };
  const int densities[] = {144, 192, 96};
  std::map<int, FreshStart> fresh;
  for (const int dpi : densities) {
    const ScreenDensity density(dpi);
    const ShippedProgram program{TScale(dpi)};
    ASSERT_TRUE(program.Started());
    Arrange(program, dpi);
    FreshStart& start = fresh[dpi];
    GetWindowRect(program.Window(), &start.bounds);
    start.shot = std::make_unique<Screenshot>(program.Window());
    KeepScreenshot(program.Window(), "window_" + std::to_string(dpi) + "dpi_arranged");
    start.rows = program.Names();
    start.tree = program.AccessibleNames();
    start.list = program.Layout().Bounds("lv1");
  }

  const ScreenDensity density(96);
  ShippedProgram program{TScale(96)};
  ASSERT_TRUE(program.Started());
  Arrange(program, 96);
  const std::vector<std::wstring> rows = program.Names();
  const int selected = program.SelectedRow();
  const int top = program.TopRow();
  const std::wstring search = program.SearchText();
  ASSERT_GT(top, 0);
  ASSERT_GE(selected, 0);
  for (const int dpi : densities) {
    SCOPED_TRACE(dpi);
    const FreshStart& start = fresh[dpi];
    program.SendDpiChanged(dpi, start.bounds);
    Sleep(500);
    RECT bounds = {};
    GetWindowRect(program.Window(), &bounds);
    EXPECT_TRUE(EqualRect(&bounds, &start.bounds));
    EXPECT_EQ(program.Names(), rows);
    EXPECT_EQ(start.rows, rows);
    EXPECT_EQ(program.SelectedRow(), selected);
    EXPECT_EQ(program.TopRow(), top);
    EXPECT_EQ(program.SearchText(), search);
    // The count, the details panel and every name a screen reader reads, as at a fresh start.
    EXPECT_EQ(program.AccessibleNames(), start.tree);
    const Screenshot shot(program.Window());
    KeepScreenshot(program.Window(), "window_96_to_" + std::to_string(dpi) + "dpi");
    // Pixel for pixel a fresh start's picture, but for two things that the system draws at the
    // density that the process started at, which a rebuild does not change: the list's scroll bar
    // (its width), and the icons that the shell hands out (their size, before the list draws them
    // at its own). Both lie in strips of the list: the scroll bar at its right, the icons at its left.
    const TScale scale(dpi);
    const RECT& list = start.list;
    const std::vector<RECT> allowed = {
        {list.left, list.top, list.left + scale.Pixels(26), list.bottom},
        {list.right - scale.Pixels(GetSystemMetrics(SM_CXVSCROLL)) - 2, list.top, list.right, list.bottom}};
    const Difference difference = Compare(shot, *start.shot, allowed);
    EXPECT_EQ(difference.elsewhere, 0)
        << "first at (" << difference.first.x << ", " << difference.first.y << ")";
    EXPECT_LT(difference.allowed, (list.right - list.left) * (list.bottom - list.top) / 20);
  }
  // The sort's alternation is kept too: the publisher header now sorts the other way.
  program.Click(ScaledPoint(530, 151, 96));
  std::vector<std::wstring> publishers = Column(program, 1);
  std::reverse(publishers.begin(), publishers.end());
  EXPECT_TRUE(SortedAsTheListSorts(publishers));
}

INSTANTIATE_TEST_SUITE_P(Densities, DisplayScalingTest, testing::Values(96, 120, 144, 192),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param) + "dpi";
                         });

}  // namespace
}  // namespace testsupport
