// Registry data that no sane installer writes, and uninstall commands that fail, against the
// shipped program: it reports what it cannot read in its error box and goes on, shows any text
// as stored, survives a failing or missing uninstaller, and never writes to the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "catalogue/softwarelist.h"
#include "catalogue/uninstall_entries.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/shipped_program.h"
#include "tests/helpers/recording.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/user_input.h"

namespace testsupport {
namespace {

using HostileDataTest = ShippedProgramTest;

constexpr const wchar_t* kTextValues[] = {L"DisplayName",  L"Publisher",       L"DisplayVersion",
                                          L"URLInfoAbout", L"UninstallString", L"DisplayIcon"};

void DeleteEntry(const std::wstring& name) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + name).c_str());
}

// An entry whose `valueName` holds data of `type`; its other values are plain.
void AddBadEntry(const std::wstring& valueName, DWORD type) {
  const UniqueRegKey key = CreateEntryKey(L"Bad");
  if (valueName != L"DisplayName") SetText(key.Get(), L"DisplayName", L"Bad");
  SetRaw(key.Get(), valueName, type,
         type == REG_QWORD ? std::vector<BYTE>(8, 1) : std::vector<BYTE>{1, 0, 0, 0});
}

void AddNamedEntry(const std::wstring& key, const std::wstring& name) {
  const UniqueRegKey entry = CreateEntryKey(key);
  SetText(entry.Get(), L"DisplayName", name);
}

// Waits for the program's error box, checks its text and closes it with its button.
void ExpectErrorBox(const ShippedProgram& program, const std::wstring& text) {
  const HWND box = program.WaitForDialog(10000);
  ASSERT_NE(box, nullptr) << "no error box for " << testing::PrintToString(text);
  EXPECT_EQ(ShippedProgram::DialogText(box), text);
  EXPECT_EQ(WindowText(box), L"Caldwex Uninstaller");
  ASSERT_TRUE(ShippedProgram::PressButton(box, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return program.Dialogs().empty(); }, 5000)) << "the error box stayed";
}

TEST_F(HostileDataTest, AWrongTypeOfAnyValueShowsTheErrorBoxAndTheProgramAnswersTheNextClick) {
  AddNamedEntry(L"Good", L"Good One");
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  ASSERT_EQ(program.Names(), std::vector<std::wstring>{L"Good One"});
  const DWORD types[] = {REG_DWORD, REG_BINARY, REG_MULTI_SZ, REG_QWORD, REG_NONE, REG_DWORD_BIG_ENDIAN};
  for (size_t i = 0; i < std::size(kTextValues); ++i) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(kTextValues[i])));
    AddBadEntry(kTextValues[i], types[i]);
    program.ClickControl("imgbtn4");  // All Programs: the rescan meets the bad value
    ExpectErrorBox(program, L"Invalid data type for '" + std::wstring(kTextValues[i]) + L"'");
    // The entries enumerated before the bad one stay; "Bad" comes before "Good".
    EXPECT_EQ(program.RowCount(), 0);
    DeleteEntry(L"Bad");
    program.ClickControl("imgbtn4");
    EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 1; }, 5000))
        << "the next click was not answered";
    EXPECT_TRUE(program.Dialogs().empty());
  }
  ASSERT_TRUE(program.Running());
}

TEST_F(HostileDataTest, AWrongTypeAtStartShowsTheErrorBoxAndTheWindowStays) {
  AddNamedEntry(L"Good", L"Good One");
  AddBadEntry(L"Publisher", REG_DWORD);
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  ExpectErrorBox(program, L"Invalid data type for 'Publisher'");
  // The scan runs as the window is shown; the window appears once the box is closed.
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(program.Window()) != FALSE; }, 5000));
  DeleteEntry(L"Bad");
  program.ClickControl("imgbtn4");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 1; }, 5000));
  EXPECT_EQ(program.Names(), std::vector<std::wstring>{L"Good One"});
}

TEST_F(HostileDataTest, NamesWithControlCharactersLoneSurrogatesAndDirectionMarksAreShownAsStored) {
  const std::vector<std::wstring> names = {
      L"Tab\there, bell\a, escape\x1b",
      L"Line\r\nbreak and\nnewline",
      std::wstring(L"lone high \xD800 surrogate"),
      std::wstring(L"lone low \xDC00 surrogate"),
      L"\x202Egnp.exe right-to-left override",
      L"mark\x200F\x200E and isolate \x2067x\x2069",
  };
  for (size_t i = 0; i < names.size(); ++i) AddNamedEntry(L"Odd" + std::to_wstring(i), names[i]);
  const std::wstring huge(512 * 1024 - 1, L'p');  // with its NUL, exactly 1 MiB
  {
    const UniqueRegKey key = CreateEntryKey(L"Huge");
    SetText(key.Get(), L"DisplayName", L"Huge publisher");
    SetText(key.Get(), L"Publisher", huge);
  }
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  EXPECT_TRUE(program.Dialogs().empty());
  std::vector<std::wstring> shown = program.Names();
  std::vector<std::wstring> expected = names;
  expected.push_back(L"Huge publisher");
  std::sort(shown.begin(), shown.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(shown, expected);
  const int hugeRow = program.RowOf(L"Huge publisher");
  ASSERT_GE(hugeRow, 0);
  EXPECT_EQ(program.Cell(hugeRow, kSubPublisher + 1), huge);

  // Every row's details, the huge one's too, with no error and no hang.
  for (int row = 0; row < program.RowCount(); ++row) {
    EXPECT_TRUE(program.SelectRow(row)) << "row " << row;
    EXPECT_TRUE(program.Answers(5000)) << "row " << row;
  }
  KeepScreenshot(program.Window(), "e2e_odd_names");
  EXPECT_TRUE(program.Dialogs().empty());

  program.TypeIntoSearch(L"lone");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 2; }, 3000)) << program.RowCount() << " rows";
  EXPECT_TRUE(program.Running());
}

TEST_F(HostileDataTest, AFailingUninstallerAndACommandThatPointsNowhereLeaveTheProgramRunning) {
  const Recording recording;
  const ScratchFolder folder(L"caldwex-e2e-failing");
  {
    const UniqueRegKey key = CreateEntryKey(L"Failing");
    SetText(key.Get(), L"DisplayName", L"Failing uninstaller");
    SetText(key.Get(), L"UninstallString", L"\"" + folder.CopyRecorder(L"uninst.exe") + L"\" /exit:7");
  }
  {
    const UniqueRegKey key = CreateEntryKey(L"Nowhere");
    SetText(key.Get(), L"DisplayName", L"Uninstaller nowhere");
    SetText(key.Get(), L"UninstallString", L"C:\\nowhere\\at all\\missing-uninstaller.exe /S");
  }
  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  ASSERT_EQ(program.RowCount(), 2);

  // A double click runs the row's uninstaller; it fails with its exit code, the entry stays.
  program.DoubleClick(program.RowPoint(program.RowOf(L"Failing uninstaller")));
  EXPECT_EQ(recording.WaitForStarts(1, 10000).size(), 1u) << "the uninstaller did not run";
  EXPECT_TRUE(WaitUntil([&] { return recording.Ends().size() == 1; }, 10000));
  EXPECT_TRUE(program.Answers(5000));
  EXPECT_EQ(program.WaitForDialog(1000), nullptr);
  EXPECT_EQ(program.RowCount(), 2);

  // A command naming no program starts nothing; the program goes on as before.
  ASSERT_TRUE(program.SelectRow(program.RowOf(L"Uninstaller nowhere")));
  program.ClickControl("imgbtn2");
  EXPECT_TRUE(program.Answers(5000));
  EXPECT_EQ(program.WaitForDialog(1000), nullptr);
  EXPECT_EQ(program.RowCount(), 2);
  EXPECT_EQ(recording.Starts().size(), 1u);
  program.TypeIntoSearch(L"nowhere");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 1; }, 3000)) << "the next input was not answered";
}

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
  EXPECT_TRUE(WaitUntil([&] { return std::none_of(windows.begin(), windows.end(), IsWindowVisible); }, 10000))
      << "windows that did not close: " << DescribeWindows(std::vector<HWND>(windows.begin(), windows.end()));
}

// Picks the context menu's item `downPresses` down from the top, with the keyboard, and waits
// for a window of another program to appear, which it closes. An editor left open by an earlier
// test would be reused rather than opened, so other programs' windows are closed first.
void UseMenuItemThatOpensAWindow(const ShippedProgram& program, int row, int downPresses, const char* what) {
  CloseWindows(OtherWindows(program.ProcessId()));
  const std::set<HWND> before = OtherWindows(program.ProcessId());
  program.RightClick(program.RowPoint(row));
  ASSERT_TRUE(WaitUntil([&] { return !VisibleWindows(program.ProcessId(), L"#32768").empty(); }, 3000));
  for (int i = 0; i < downPresses; ++i) PressKey(VK_DOWN), Sleep(50);
  PressKey(VK_RETURN);
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

TEST_F(HostileDataTest, NoCommandWritesToTheRegistry) {
  ImportRegFile(L"gui_entries.reg");
  const Recording recording;
  const ScratchFolder folder(L"caldwex-e2e-registry");
  {
    // Open Directory opens this folder; its uninstaller, were it run by mistake, is recorded.
    const UniqueRegKey key = CreateEntryKey(L"Harmless");
    SetText(key.Get(), L"DisplayName", L"AAA Harmless entry");
    SetText(key.Get(), L"UninstallString", L"\"" + folder.CopyRecorder(L"uninst.exe") + L"\"");
  }
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
    program.RightClick(program.RowPoint(1));
    EXPECT_TRUE(WaitUntil([&] { return !VisibleWindows(program.ProcessId(), L"#32768").empty(); }, 3000));
    PressKey(VK_ESCAPE);
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
    // The program ends as the test leaves this block (by WM_CLOSE): after the other programs'
    // windows have been closed, a click on its close button was seen to leave it running.
  }
  const std::string after = ExportRegistry(folder, L"after");
  EXPECT_EQ(before.size(), after.size());
  EXPECT_TRUE(before == after) << "the registry changed during the run";
}

}  // namespace
}  // namespace testsupport
