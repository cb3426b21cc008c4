#include "actions/path_cleanup.h"

#include <gtest/gtest.h>

#include "base/unique_handle.h"

namespace {

struct CleanCase {
  const wchar_t* input;
  const wchar_t* expected;
};

// Typical registry values, with the Windows directory C:\Windows.
const CleanCase kCleanCases[] = {
    {LR"(C:\Program Files\App\app.exe,0)", LR"(C:\PROGRAM FILES\APP\APP.EXE)"},
    {LR"("C:\Program Files\App\app.exe",0)", LR"(C:\PROGRAM FILES\APP\APP.EXE)"},
    {LR"("C:\x\unins000.exe")", LR"(C:\X\UNINS000.EXE)"},
    {LR"(%SystemRoot%\system32\msiexec.exe /x{GUID})", LR"(C:\Windows\SYSTEM32\MSIEXEC.EXE)"},
    {LR"(%SystemRoot%\System32\shell32.dll,-154)", LR"(C:\Windows\SYSTEM32\SHELL32.DLL)"},
    {LR"(%systemroot%\x.exe)", LR"(C:\Windows\X.EXE)"},
    {LR"(\??\C:\Windows\x.exe)", LR"(C:\WINDOWS\X.EXE)"},
    {LR"(\SystemRoot\System32\drivers\foo.sys)", LR"(C:\WINDOWS\SYSTEM32\DRIVERS\FOO.SYS)"},
    {LR"(\SYSTEMROOT\x.sys)", LR"(\SYSTEMROOT\X.SYS)"},
    {LR"(MsiExec.exe /I{GUID})", LR"(MSIEXEC.EXE)"},
    {LR"(C:\Program Files\Foo\uninst.exe -uninstall)", LR"(C:\PROGRAM FILES\FOO\UNINST.EXE)"},
    {LR"(C:\Program Files\Foo-Bar\uninst.exe -u)", LR"(C:\PROGRAM FILES\FOO-BAR\UNINST.EXE)"},
    {LR"(C:\Program Files\App\uninstall.exe "-x")", LR"(C:\PROGRAM FILES\APP\UNINSTALL.EXE "-X)"},
    {LR"("C:\x\app.exe" "%1")", LR"(C:\X\APP.EXE)"},
    {LR"("%1" "%1")", LR"(%1)"},
    {LR"(C:/Program Files/App/app.exe)", LR"(C:)"},
    {LR"(/S)", L""},
    {LR"(" ")", L""},
    {L"", L""},
};

TEST(CleanPath, TypicalRegistryValues) {
  for (const auto& c : kCleanCases) {
    EXPECT_EQ(CleanPath(c.input, L"C:\\Windows"), c.expected)
        << "input: " << testing::PrintToString(std::wstring(c.input));
  }
}

TEST(CleanPath, ReplacesAndRemovesOnlyTheFirstOccurrence) {
  EXPECT_EQ(CleanPath(L"\\SystemRoot\\a\\SystemRoot", L"W"), L"W\\A\\SYSTEMROOT");
  EXPECT_EQ(CleanPath(L"\\??\\a\\??\\b", L"W"), L"A\\??\\B");
  EXPECT_EQ(CleanPath(L"%SystemRoot%%systemroot%", L"w"), L"w%SYSTEMROOT%");
}

TEST(CleanPath, FailedWindowsDirectoryDeletesThePrefixes) {
  EXPECT_EQ(CleanPath(L"\\SystemRoot\\x.sys", L""), L"\\X.SYS");
  EXPECT_EQ(CleanPath(L"%SystemRoot%\\x.exe", L""), L"\\X.EXE");
}

TEST(CleanPath, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(CleanPath(L"c:\\\u00e9t\u00e9\\\u0444\u0430\u0439\u043b.exe", L"W"),
            L"C:\\\u00e9T\u00e9\\\u0444\u0430\u0439\u043b.EXE");
}

TEST(CleanPath, UsesTheSystemWindowsDirectoryByDefault) {
  EXPECT_EQ(CleanPath(L"%SystemRoot%\\x.exe"), GetWindowsDir() + L"\\X.EXE");
}

TEST(TrimChars, StripsEverythingUpToTheLimitAtBothEnds) {
  EXPECT_EQ(TrimChars(L" !\"C:\\x\\a.exe\"! ", L'"'), L"C:\\x\\a.exe");
  EXPECT_EQ(TrimChars(L"\t\r\n\x01 a b \x1f", L'"'), L"a b");
  EXPECT_EQ(TrimChars(L"a \" ! b", L'"'), L"a \" ! b");
  EXPECT_EQ(TrimChars(L" !\"\" ! ", L'"'), L"");
  EXPECT_EQ(TrimChars(L"", L'"'), L"");
  EXPECT_EQ(TrimChars(L"#x#", L'"'), L"#x#");  // '#' (0x23) lies above the limit
}

TEST(GetWindowsDir, MatchesTheSystem) {
  wchar_t expected[MAX_PATH] = {};
  GetWindowsDirectoryW(expected, MAX_PATH);
  EXPECT_EQ(GetWindowsDir(), expected);
  EXPECT_FALSE(GetWindowsDir().empty());
}

TEST(GetFileIcon, ReturnsAnIconForAMissingFileOfAKnownType) {
  for (const wchar_t* reference : {L"C:\\does\\not\\exist\\app.exe,0", L"\"C:\\nowhere\\readme.txt\"",
                                   L"%SystemRoot%\\missing\\setup.exe /x"}) {
    const UniqueIcon icon(GetFileIcon(reference));
    ASSERT_TRUE(icon) << testing::PrintToString(std::wstring(reference));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXICON));  // the large icon, never the small one
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

}  // namespace
