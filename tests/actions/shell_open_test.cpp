// Shell opens observed for real: the test prefix's shell gets handlers of our own (the action
// recorder) for a test URL scheme, for web addresses and for folders, and the recorder writes
// down what the shell handed it.
#include "actions/shell_open.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actions/path_cleanup.h"
#include "base/ascii_text.h"
#include "base/unique_handle.h"
#include "tests/helpers/recording.h"
#include "tests/helpers/shell_handlers.h"
#include "tests/support/host_window.h"

namespace testsupport {
namespace {

class ShellOpenTest : public testing::Test {
 protected:
  // Waits for `expected.size()` handler starts, then a little longer to see that no more come.
  // The handlers run as separate processes, so the order in which they record is not fixed.
  void ExpectHandlerStarts(std::vector<std::wstring> expected) {
    recording_.WaitForStarts(expected.size(), 15000);
    Sleep(700);
    std::vector<std::wstring> got = CommandLines(recording_.Starts());
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(got, expected);
  }

  Recording recording_;
  TestScheme scheme_;
  HostWindow owner_;
};

TEST_F(ShellOpenTest, ShellOpenHandsTheTextToTheRegisteredHandler) {
  ShellOpen(L"caldwextest://entry/a%20b?x=1&y=\u00e9");
  ExpectHandlerStarts({HandlerGot(L"caldwextest://entry/a%20b?x=1&y=\u00e9")});
  const auto starts = recording_.Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_TRUE(starts[0].startupFlags & STARTF_USESHOWWINDOW);
  EXPECT_EQ(starts[0].showState, SW_SHOWNORMAL);
}

class WebLinkTest : public ShellOpenTest {
 protected:
  OpenHandlerOverride http_{L"http\\shell\\open"};
  OpenHandlerOverride https_{L"https\\shell\\open"};
};

TEST_F(WebLinkTest, PromotionalLinkOpensTheMakersWebSite) {
  OpenMakerWebSite(owner_.Handle());
  ExpectHandlerStarts({HandlerGot(kMakerWebAddress)});
}

TEST_F(WebLinkTest, HelpLinkIsOpenedOnlyWhenItIsAWebAddress) {
  const ScratchFolder folder(L"CaldwexHelpLink");
  const std::wstring program = folder.CopyRecorder(L"helper.exe");
  for (const std::wstring& link :
       {std::wstring(L"HTTP://example.com/Help"), program, L"\"" + program + L"\"", L"file:///" + program,
        std::wstring(L"caldwextest://help"), std::wstring(L"https://example.com/a\" \"caldwextest://x"),
        std::wstring(L"https://example.com/support?id=7")}) {
    OpenHelpLink(owner_.Handle(), link);
  }
  ExpectHandlerStarts(
      {HandlerGot(L"HTTP://example.com/Help"), HandlerGot(L"https://example.com/support?id=7")});
}

class OpenDirectoryTest : public ShellOpenTest {
 protected:
  OpenHandlerOverride folders_{L"Folder\\shell\\open"};
};

TEST_F(OpenDirectoryTest, OpensTheCleanedFolderOfTheUninstaller) {
  const ScratchFolder app(L"Caldwex Open Test");
  const std::wstring uninstaller = app.CopyRecorder(L"uninst.exe");
  OpenUninstallerFolder(L"\"" + uninstaller + L"\" /S");
  OpenUninstallerFolder(L"%SystemRoot%\\unins.exe");
  ExpectHandlerStarts({HandlerGot(AsciiUpper(app.Path())), HandlerGot(GetWindowsDir())});
}

TEST_F(OpenDirectoryTest, NeverStartsTheProgramNamedInTheCommand) {
  // Switches holding a path leave the uninstaller's own path, or the uninstaller followed by an
  // argument; the shell would run either. A folder holding an existing file is opened instead.
  const ScratchFolder app(L"Caldwex Switch Test");
  const std::wstring uninstaller = app.CopyRecorder(L"remove.exe");
  OpenUninstallerFolder(L"\"" + uninstaller + L"\" -u \"" + app.Path() + L"\\install.log\"");

  const ScratchFolder plain(L"CaldwexPlain");
  const std::wstring plainUninstaller = plain.CopyRecorder(L"uninstgs.exe");
  OpenUninstallerFolder(plainUninstaller + L" \"" + plain.Path() + L"\\fonts\\uninstal.txt\"");
  OpenUninstallerFolder(plainUninstaller + L" " + plain.Path() + L"\\fonts\\uninstal.txt");
  // Nothing to open: no folder part, or a folder that does not exist.
  OpenUninstallerFolder(L"MsiExec.exe /X{6F1B7A2C-0D3E-4C55-9A10-3B2C4D5E6F70}");
  OpenUninstallerFolder(L"C:\\No Such Folder\\uninst.exe");

  ExpectHandlerStarts({HandlerGot(AsciiUpper(app.Path()))});
}

}  // namespace
}  // namespace testsupport
