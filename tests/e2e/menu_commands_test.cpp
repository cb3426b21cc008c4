// The context menu's commands that open other programs' windows (Open Directory, View Entry),
// against the shipped program: no command writes to the registry, and the close button still
// ends the program once those windows are closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/shipped_program.h"
#include "tests/helpers/recording.h"
#include "tests/support/menu_hand.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/user_input.h"

namespace testsupport {
namespace {

using HostileDataTest = ShippedProgramTest;

// The whole of HKLM\Software in both views, as reg.exe writes them. The user's key is left out:
// the programs that Open Directory and View Entry start (Wine's file manager and Registry Editor)
// write their own settings there, and Wine itself its pointer settings.
std::string ExportRegistry(const ScratchFolder& folder, const std::wstring& tag) {
  std::string all;
  const std::pair<const wchar_t*, const wchar_t*> exports[] = {{L"HKLM\\Software", L" /reg:32"},
                                                               {L"HKLM\\Software", L" /reg:64"}};
  int n = 0;
  for (const auto& [key, view] : exports) {
    const std::wstring file = folder.Path() + L"\\" + tag + std::to_wstring(n++) + L".reg";
    EXPECT_EQ(RunCommand(L"reg.exe export " + std::wstring(key) + L" \"" + file + L"\" /y" + view), 0u);
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    all.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    all += '\0';
  }
  return all;
}

// Top-level windows that other programs show, by handle.
std::set<HWND> OtherWindows(DWORD programId) {
  std::set<HWND> windows;
  for (const HWND window : VisibleWindows(0)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != programId && owner != GetCurrentProcessId()) windows.insert(window);
  }
  return windows;
}

std::string DescribeWindows(const std::vector<HWND>& windows) {
  std::wstring text;
  for (const HWND window : windows) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    text += L"[" + std::wstring(className) + L" \"" + WindowText(window) + L"\"] ";
  }
  return testing::PrintToString(text);
}

// Closes the windows of other programs and waits until they are gone.
void CloseWindows(const std::set<HWND>& windows) {
  for (const HWND window : windows) PostMessageW(window, WM_CLOSE, 0, 0);
  // Hidden is not enough: until its window is destroyed, a maximised Registry Editor still takes
  // clicks meant for the program's window under Wine.
  EXPECT_TRUE(WaitUntil([&] { return std::none_of(windows.begin(), windows.end(), IsWindow); }, 10000))
      << "windows that did not close: " << DescribeWindows(std::vector<HWND>(windows.begin(), windows.end()));
}

// Picks the context menu's item `downPresses` down from the top, with the keyboard, and waits
// for a window of another program to appear, which it closes. An editor left open by an earlier
// test would be reused rather than opened, so other programs' windows are closed first.
void UseMenuItemThatOpensAWindow(const ShippedProgram& program, int row, int downPresses, const char* what) {
  CloseWindows(OtherWindows(program.ProcessId()));
  const std::set<HWND> before = OtherWindows(program.ProcessId());
  MenuHand hand(downPresses, MenuHand::Input::kKeyboard);
  program.RightClick(program.RowPoint(row));
  ASSERT_TRUE(hand.Shown()) << "no context menu for " << what;
  std::vector<HWND> opened;
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (const HWND window : OtherWindows(program.ProcessId()))
          if (!before.contains(window)) opened.push_back(window);
        return !opened.empty();
      },
      20000))
      << what << " opened no window; shown: " << DescribeWindows(VisibleWindows(0))
      << "; before: " << DescribeWindows(std::vector<HWND>(before.begin(), before.end()));
  EXPECT_TRUE(program.Answers(20000));
  CloseWindows({opened.begin(), opened.end()});
}

// Once the windows the commands opened are gone, the close button is the program's again, and a
// single click there ends it.
void ClickCloseButton(ShippedProgram& program) {
  EXPECT_TRUE(WaitUntil([&] { return program.ReachableAt("imgbtn5"); }, 10000))
      << "another window still covers the close button: " << DescribeWindows(VisibleWindows(0));
  program.ClickControl("imgbtn5");
  EXPECT_EQ(program.WaitForExit(10000), 0u) << "the close button left the program running";
}

TEST_F(HostileDataTest, NoCommandWritesToTheRegistry) {
  ImportRegFile(L"gui_entries.reg");
  const Recording recording;
  const ScratchFolder folder(L"caldwex-e2e-registry");
  // Open Directory opens this folder; its uninstaller, were it run by mistake, is recorded.
  AddEntry(L"Harmless", L"AAA Harmless entry",
           {.uninstall = L"\"" + folder.CopyRecorder(L"uninst.exe") + L"\""});
  const std::string before = ExportRegistry(folder, L"before");
  {
    ShippedProgram program;
    ASSERT_TRUE(program.Started());
    const int rows = program.RowCount();
    ASSERT_GT(rows, 10);
    program.ClickControl("imgbtn4");
    program.TypeIntoSearch(L"zip");
    EXPECT_TRUE(WaitUntil([&] { return program.RowCount() < rows; }, 3000));
    for (int i = 0; i < 3; ++i) PressKey(VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == rows; }, 3000));
    for (const char* header : {"img4", "img5", "img6", "img7", "img4"}) program.ClickControl(header);
    for (int row = 0; row < 4; ++row) EXPECT_TRUE(program.SelectRow(row));
    {
      MenuHand hand(MenuHand::kNone);
      program.RightClick(program.RowPoint(1));
      EXPECT_TRUE(hand.Shown());
    }
    EXPECT_TRUE(WaitUntil([&] { return VisibleWindows(program.ProcessId(), L"#32768").empty(); }, 3000));

    // The sorts moved the rows; the harmless entry is found again by name.
    const int harmless = program.RowOf(L"AAA Harmless entry");
    ASSERT_GE(harmless, 0);
    ASSERT_TRUE(program.SelectRow(harmless));
    // The menu: Uninstall, Refresh, a separator, Open Directory, View Entry.
    UseMenuItemThatOpensAWindow(program, harmless, 3, "Open Directory");
    UseMenuItemThatOpensAWindow(program, harmless, 4, "View Entry");
    EXPECT_TRUE(recording.Starts().empty()) << "a menu command ran the uninstaller";
    EXPECT_TRUE(program.Dialogs().empty());
    ClickCloseButton(program);
  }
  const std::string after = ExportRegistry(folder, L"after");
  EXPECT_EQ(before.size(), after.size());
  EXPECT_TRUE(before == after) << "the registry changed during the run";
}

// While the Registry Editor that View Entry maximised is open, Wine takes its window to cover the
// whole screen, though on screen it keeps its earlier size and leaves the close button in view:
// a click there goes to the editor. Once the other programs' windows are closed, the button is
// ours again and a single click ends the program.
TEST_F(HostileDataTest, TheCloseButtonEndsTheProgramAfterOtherProgramsWindowsWereClosed) {
  const ScratchFolder folder(L"caldwex-e2e-close");
  AddEntry(L"Harmless", L"AAA Harmless entry",
           {.uninstall = L"\"" + folder.CopyRecorder(L"uninst.exe") + L"\""});
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.SelectRow(0));
  UseMenuItemThatOpensAWindow(program, 0, 3, "Open Directory");
  UseMenuItemThatOpensAWindow(program, 0, 4, "View Entry");
  ClickCloseButton(program);
}

}  // namespace
}  // namespace testsupport
