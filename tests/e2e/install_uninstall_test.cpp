// Two programs really installed in the test prefix, one by an NSIS installer and one by an MSI
// package, then found, searched and uninstalled through the shipped program's window.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/softwarelist.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/shipped_program.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/user_input.h"

namespace testsupport {
namespace {

constexpr wchar_t kNsisKey[] = L"CaldwexSample";
constexpr wchar_t kNsisName[] = L"Caldwex Sample";
constexpr wchar_t kNsisFolder[] = L"%ProgramFiles%\\Caldwex Sample";
constexpr wchar_t kMsiKey[] = L"{5C0B7E2A-3D41-4C8E-9A77-1E2F0D6B4A10}";
constexpr wchar_t kMsiName[] = L"Caldwex Msi Sample";
constexpr wchar_t kMsiFile[] = L"%ProgramFiles%\\Caldwex Msi Sample\\readme.txt";

// Installers and uninstallers under Wine take seconds each; these are generous bounds.
constexpr DWORD kUninstallLimit = 60000;

std::wstring WindowsPath(std::wstring path) {
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The NSIS uninstaller's window, whichever process shows it (it hands over to a copy of itself).
HWND NsisUninstallerWindow() {
  for (const HWND window : VisibleWindows(0, L"#32770"))
    if (WindowText(window).starts_with(kNsisName)) return window;
  return nullptr;
}

class InstallUninstallTest : public ShippedProgramTest {
 protected:
  void SetUp() override {
    ShippedProgramTest::SetUp();
    ASSERT_EQ(RunCommand(L"\"" + WindowsPath(SAMPLE_SETUP) + L"\" /S"), 0u);
    ASSERT_EQ(RunCommand(L"msiexec.exe /i \"" + WindowsPath(SAMPLE_MSI) + L"\" /qn"), 0u);
    // Two hand-written entries beside the installed ones, for the search to leave out.
    AddEntry(L"Other1", L"Zeta Tool");
    AddEntry(L"Other2", L"Alpha Editor");
  }

  // Whatever a failed test left installed goes, silently.
  void TearDown() override {
    if (EntryExists(kMsiKey)) RunCommand(std::wstring(L"msiexec.exe /x") + kMsiKey + L" /qn");
    const std::wstring folder = Expanded(kNsisFolder);
    if (FileExists(folder + L"\\uninstall.exe"))
      RunCommand(L"\"" + folder + L"\\uninstall.exe\" /S _?=" + folder);
    ShippedProgramTest::TearDown();
  }
};

TEST_F(InstallUninstallTest, InstalledProgramsAreListedSearchedAndUninstalledThroughTheWindow) {
  // What the installers wrote.
  ASSERT_TRUE(EntryExists(kNsisKey));
  ASSERT_TRUE(EntryExists(kMsiKey));
  ASSERT_TRUE(FileExists(Expanded(kNsisFolder) + L"\\readme.txt"));
  ASSERT_TRUE(FileExists(Expanded(kMsiFile)));

  ShippedProgram program;
  ASSERT_TRUE(program.Started());
  KeepScreenshot(program.Window(), "e2e_installed");
  std::vector<std::wstring> names = program.Names();
  ASSERT_EQ(names.size(), 4u);
  EXPECT_EQ(program.CountText(), L"Total 4 Softwares");
  EXPECT_TRUE(Contains(names, kNsisName));
  EXPECT_TRUE(Contains(names, kMsiName));
  const int nsisRow = program.RowOf(kNsisName);
  EXPECT_EQ(program.Cell(nsisRow, 1), L"Caldwex Test Publisher");
  EXPECT_EQ(program.Cell(nsisRow, 2), L"3.1.4");
  EXPECT_EQ(program.Cell(program.RowOf(kMsiName), kSubUninstall + 1),
            std::wstring(L"MsiExec.exe /X") + kMsiKey);

  // Typing filters the rows by name; deleting the text brings them all back.
  program.TypeIntoSearch(L"msi");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 1; }, 3000)) << program.RowCount() << " rows";
  EXPECT_EQ(program.Names(), std::vector<std::wstring>{kMsiName});
  EXPECT_EQ(program.CountText(), L"1");  // a search shows the bare number
  KeepScreenshot(program.Window(), "e2e_search");
  for (int i = 0; i < 3; ++i) PressKey(VK_BACK);
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 4; }, 3000)) << program.RowCount() << " rows";
  EXPECT_EQ(program.SearchText(), L"");
  EXPECT_EQ(program.CountText(), L"4");

  // A right click opens the context menu; Escape closes it and leaves the list as it was.
  program.RightClick(program.RowPoint(0));
  EXPECT_TRUE(WaitUntil([&] { return !VisibleWindows(program.ProcessId(), L"#32768").empty(); }, 3000));
  KeepScreenshot(program.Window(), "e2e_context_menu");
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return VisibleWindows(program.ProcessId(), L"#32768").empty(); }, 3000));
  EXPECT_EQ(program.RowCount(), 4);
  EXPECT_TRUE(program.Answers());

  // The MSI entry: its command removes the product without asking; the program waits for it
  // and its rescan no longer lists it.
  ASSERT_TRUE(program.SelectRow(program.RowOf(kMsiName)));
  program.ClickControl("imgbtn2");
  EXPECT_TRUE(
      WaitUntil([&] { return !EntryExists(kMsiKey) && !FileExists(Expanded(kMsiFile)); }, kUninstallLimit))
      << "the MSI product is still installed";
  EXPECT_TRUE(WaitUntil([&] { return program.Answers(100) && program.RowCount() == 3; }, kUninstallLimit));
  EXPECT_EQ(program.CountText(), L"Total 3 Softwares");
  names = program.Names();
  EXPECT_FALSE(Contains(names, kMsiName));
  EXPECT_TRUE(Contains(names, kNsisName));

  // The NSIS entry: its uninstaller hands over to a copy of itself and asks first.
  ASSERT_TRUE(program.SelectRow(program.RowOf(kNsisName)));
  program.ClickControl("imgbtn2");
  HWND confirmation = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (confirmation = NsisUninstallerWindow()) != nullptr; }, kUninstallLimit))
      << "the NSIS uninstaller showed no window";
  EXPECT_TRUE(EntryExists(kNsisKey));  // nothing is removed before the answer
  KeepScreenshot(confirmation, "e2e_nsis_confirmation");
  ASSERT_TRUE(ShippedProgram::PressButton(confirmation, IDOK));
  EXPECT_TRUE(WaitUntil(
      [&] { return !EntryExists(kNsisKey) && !FileExists(Expanded(kNsisFolder) + L"\\readme.txt"); },
      kUninstallLimit))
      << "the NSIS program is still installed";
  EXPECT_TRUE(WaitUntil([&] { return NsisUninstallerWindow() == nullptr; }, kUninstallLimit));
  // The program's own rescan came before the uninstaller was done; All Programs scans again.
  ASSERT_TRUE(program.Answers());
  program.ClickControl("imgbtn4");
  EXPECT_TRUE(WaitUntil([&] { return program.RowCount() == 2; }, 5000)) << program.RowCount() << " rows";
  EXPECT_EQ(program.CountText(), L"Total 2 Softwares");
  names = program.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Alpha Editor", L"Zeta Tool"}));
  KeepScreenshot(program.Window(), "e2e_uninstalled");

  // The close button ends the program normally.
  program.ClickControl("imgbtn5");
  EXPECT_EQ(program.WaitForExit(5000), 0u);
}

}  // namespace
}  // namespace testsupport
