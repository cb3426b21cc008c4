// Shell opens observed for real: the test prefix's shell gets handlers of our own (the action
// recorder) for a test URL scheme, for web addresses and for folders, and the recorder writes
// down what the shell handed it.
#include "actions/shell_open.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actions/path_cleanup.h"
#include "base/unique_handle.h"
#include "tests/helpers/recording.h"
#include "tests/support/host_window.h"

namespace testsupport {
namespace {

// Replaces the shell's "open" command of a class (below HKEY_CLASSES_ROOT, which Wine's shell
// reads) by the recorder, keeping what was there in a backup key until the end of the test.
class OpenHandlerOverride {
 public:
  explicit OpenHandlerOverride(std::wstring openKey) : openKey_(std::move(openKey)) {
    backup_ = L"CaldwexTestBackup\\" + std::to_wstring(++count_);
    UniqueRegKey existing;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, openKey_.c_str(), 0, KEY_READ, existing.Put()) == ERROR_SUCCESS) {
      UniqueRegKey backup;
      RegCreateKeyExW(HKEY_CLASSES_ROOT, backup_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      backup.Put(), nullptr);
      backedUp_ = RegCopyTreeW(existing.Get(), nullptr, backup.Get()) == ERROR_SUCCESS;
      existing.Reset();
      RegDeleteTreeW(HKEY_CLASSES_ROOT, openKey_.c_str());
    }
    const std::wstring command = L"\"" + RecorderPath() + L"\" \"%1\"";
    RegSetKeyValueW(HKEY_CLASSES_ROOT, (openKey_ + L"\\command").c_str(), nullptr, REG_SZ, command.c_str(),
                    static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  }
  ~OpenHandlerOverride() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, openKey_.c_str());
    if (!backedUp_) return;
    UniqueRegKey backup, restored;
    RegOpenKeyExW(HKEY_CLASSES_ROOT, backup_.c_str(), 0, KEY_READ, backup.Put());
    RegCreateKeyExW(HKEY_CLASSES_ROOT, openKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    restored.Put(), nullptr);
    RegCopyTreeW(backup.Get(), nullptr, restored.Get());
    backup.Reset();
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"CaldwexTestBackup");
  }
  OpenHandlerOverride(const OpenHandlerOverride&) = delete;
  OpenHandlerOverride& operator=(const OpenHandlerOverride&) = delete;

 private:
  static inline int count_ = 0;
  std::wstring openKey_, backup_;
  bool backedUp_ = false;
};

// A URL scheme of our own, present only during the test.
class TestScheme {
 public:
  TestScheme() {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"caldwextest", L"URL Protocol", REG_SZ, L"", sizeof(wchar_t));
  }
  ~TestScheme() { RegDeleteTreeW(HKEY_CLASSES_ROOT, L"caldwextest"); }
  TestScheme(const TestScheme&) = delete;
  TestScheme& operator=(const TestScheme&) = delete;

 private:
  OpenHandlerOverride handler_{L"caldwextest\\shell\\open"};
};

std::wstring HandlerGot(const std::wstring& argument) {
  return L"\"" + RecorderPath() + L"\" \"" + argument + L"\"";
}

std::vector<std::wstring> CommandLines(const std::vector<RecordedStart>& starts) {
  std::vector<std::wstring> lines;
  for (const auto& start : starts) lines.push_back(start.commandLine);
  return lines;
}

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
