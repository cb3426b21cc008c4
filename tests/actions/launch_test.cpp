// RunAndWait against real processes: the action recorder tells what it was started with.
#include "actions/launch.h"

#include <gtest/gtest.h>

#include "tests/helpers/recording.h"

namespace testsupport {
namespace {

DWORD ElapsedSince(DWORD start) {
  return GetTickCount() - start;
}

std::wstring Quoted(const std::wstring& path) {
  return L"\"" + path + L"\"";
}

class RunAndWaitTest : public testing::Test {
 protected:
  Recording recording_;
  const std::wstring recorder_ = Quoted(RecorderPath());
};

TEST_F(RunAndWaitTest, ReturnsTheExitCodeOnlyAfterTheProcessHasEnded) {
  for (const int code : {0, 42}) {
    const DWORD start = GetTickCount();
    EXPECT_EQ(RunAndWait(recorder_ + L" /sleep:700 /exit:" + std::to_wstring(code), SW_HIDE), code);
    EXPECT_GE(ElapsedSince(start), 700u);
  }
  // Both processes had written their last line before the call returned.
  const auto starts = recording_.Starts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(recording_.Ends(), (std::vector<DWORD>{starts[0].processId, starts[1].processId}));
}

TEST_F(RunAndWaitTest, PassesTheCommandLineCharacterForCharacter) {
  const ScratchFolder folder(L"Caldwex Launch Test");
  const std::wstring command = Quoted(folder.CopyRecorder(L"unins000.exe")) + L" /SILENT  /LOG=\"a b\" -x";
  EXPECT_EQ(RunAndWait(command, SW_HIDE), 0);
  const auto starts = recording_.Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].commandLine, command);
}

TEST_F(RunAndWaitTest, PassesTheShowStateThroughTheStartupInformation) {
  for (const WORD show : {WORD{SW_HIDE}, WORD{SW_SHOWMINNOACTIVE}}) {
    EXPECT_EQ(RunAndWait(recorder_, show), 0);
  }
  const auto starts = recording_.Starts();
  ASSERT_EQ(starts.size(), 2u);
  for (const auto& start : starts) EXPECT_TRUE(start.startupFlags & STARTF_USESHOWWINDOW);
  EXPECT_EQ(starts[0].showState, SW_HIDE);
  EXPECT_EQ(starts[1].showState, SW_SHOWMINNOACTIVE);
}

TEST_F(RunAndWaitTest, FindsABareProgramNameThroughTheProgramSearch) {
  // The test program's own folder and the system folder are both on the search path.
  EXPECT_EQ(RunAndWait(L"action_recorder.exe /exit:5", SW_HIDE), 5);
  ASSERT_EQ(recording_.Starts().size(), 1u);
  EXPECT_EQ(RunAndWait(L"cmd.exe /c exit 7", SW_HIDE), 7);
}

TEST_F(RunAndWaitTest, GivesMinusOneAtOnceWhenNothingStarts) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(RunAndWait(L"", SW_HIDE), -1);
  EXPECT_EQ(RunAndWait(L"no-such-program-caldwex.exe /S", SW_HIDE), -1);
  // Process creation does not expand environment references.
  EXPECT_EQ(RunAndWait(L"%SystemRoot%\\system32\\cmd.exe /c exit 0", SW_HIDE), -1);
  // A failed start takes milliseconds; 2 s is room for a loaded machine, and short of any wait
  // for a process that never started.
  EXPECT_LT(ElapsedSince(start), 2000u);
}

TEST_F(RunAndWaitTest, EndsTheWaitWhenTheUninstallerHandsOverToASecondCopy) {
  const DWORD start = GetTickCount();
  EXPECT_EQ(RunAndWait(recorder_ + L" /spawn /exit:3", SW_HIDE), 3);
  const DWORD waited = ElapsedSince(start);

  const auto starts = recording_.WaitForStarts(2, 5000);
  ASSERT_EQ(starts.size(), 2u) << "the second copy did not start";
  const DWORD secondCopy = starts[1].processId;
  // The second copy lives 3 s; the wait ended long before it did.
  EXPECT_LT(waited, 2000u);
  EXPECT_EQ(recording_.Ends(), std::vector<DWORD>{starts[0].processId});

  if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, secondCopy)) {
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

TEST_F(RunAndWaitTest, RunsLongCommandsWhole) {
  for (const size_t length : {size_t{600}, kMaxCommandLength}) {
    std::wstring command = recorder_ + L" /exit:9 ";
    command.append(length - command.size(), L'x');
    EXPECT_EQ(RunAndWait(command, SW_HIDE), 9);
    const auto starts = recording_.Starts();
    ASSERT_FALSE(starts.empty());
    EXPECT_TRUE(starts.back().commandLine == command)
        << "sent " << command.size() << " characters, received " << starts.back().commandLine.size();
  }
}

TEST_F(RunAndWaitTest, StartsNothingForACommandOverTheSystemLimit) {
  // Wine would start this one cut to the limit.
  std::wstring command = recorder_ + L" ";
  command.append(kMaxCommandLength + 1 - command.size(), L'x');
  EXPECT_EQ(RunAndWait(command, SW_HIDE), -1);
  // A command with a zero unit inside would run only up to it.
  EXPECT_EQ(RunAndWait(recorder_ + std::wstring(1, L'\0') + L" /exit:1", SW_HIDE), -1);
  Sleep(300);
  EXPECT_TRUE(recording_.Starts().empty());
}

}  // namespace
}  // namespace testsupport
