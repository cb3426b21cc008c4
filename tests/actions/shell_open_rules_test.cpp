#include <gtest/gtest.h>

#include "actions/path_cleanup.h"
#include "actions/shell_open.h"

namespace {

struct FolderCase {
  const wchar_t* command;
  const wchar_t* folder;
  const wchar_t* opened;  // after CleanPath with the Windows directory C:\Windows
};

const FolderCase kFolderCases[] = {
    {LR"("C:\Program Files\App\unins000.exe")", LR"("C:\Program Files\App)", LR"(C:\PROGRAM FILES\APP)"},
    {LR"("C:\Program Files\App\uninst.exe" /uninstall)", LR"("C:\Program Files\App)",
     LR"(C:\PROGRAM FILES\APP)"},
    {LR"(C:\Program Files\Some App\uninst.exe /S)", LR"(C:\Program Files\Some App)",
     LR"(C:\PROGRAM FILES\SOME APP)"},
    {LR"(%SystemRoot%\unins.exe)", LR"(%SystemRoot%)", LR"(C:\Windows)"},
    {LR"(C:\uninst.exe)", LR"(C:\)", LR"(C:\)"},
    {LR"(\\server\share\uninst.exe)", LR"(\\server\share)", LR"(\\SERVER\SHARE)"},
    {LR"(MsiExec.exe /X{GUID})", L"", L""},
    // A colon as the last separator, a backslash as the first character or after another one.
    {LR"(C:uninst.exe)", LR"(C:)", LR"(C:)"},
    {LR"(\uninst.exe)", LR"(\)", LR"(\)"},
    {LR"(\\uninst.exe)", LR"(\\)", LR"(\\)"},
    {LR"(C:\App\\u.exe)", LR"(C:\App\\)", LR"(C:\APP\\)"},
    // Switches holding a path: the last separator lies inside them.
    {LR"(C:\gs\uninstgs.exe "C:\gs\fonts\uninstal.txt")", LR"(C:\gs\uninstgs.exe "C:\gs\fonts)",
     LR"(C:\GS\UNINSTGS.EXE "C:\GS\FONTS)"},
    {L"", L"", L""},
};

TEST(UninstallerFolder, TakesTheFolderPartOfTheRawCommand) {
  for (const auto& c : kFolderCases) {
    const std::wstring folder = UninstallerFolder(c.command);
    EXPECT_EQ(folder, c.folder) << testing::PrintToString(std::wstring(c.command));
    EXPECT_EQ(CleanPath(folder, L"C:\\Windows"), c.opened) << testing::PrintToString(std::wstring(c.command));
  }
}

TEST(IsWebAddress, AcceptsOnlyHttpAndHttpsInAnyLetterCase) {
  for (const wchar_t* link : {L"http://example.com/", L"https://example.com/help?x=1#y",
                              L"HTTP://EXAMPLE.COM", L"hTtPs://example.com/a b", L"https://"}) {
    EXPECT_TRUE(IsWebAddress(link)) << testing::PrintToString(std::wstring(link));
  }
  for (const wchar_t* link :
       {L"", L"http:/example.com", L"http//example.com", L"www.example.com", L"ftp://example.com/",
        L"file:///C:/Windows/notepad.exe", L"C:\\Windows\\notepad.exe", L"mailto:help@example.com",
        L"javascript:alert(1)", L" http://example.com", L"httpx://example.com", L"\\\\server\\share"}) {
    EXPECT_FALSE(IsWebAddress(link)) << testing::PrintToString(std::wstring(link));
  }
}

TEST(IsWebAddress, RefusesQuotesAndControlCharacters) {
  // A quote could end the browser's argument and start switches of its own.
  EXPECT_FALSE(IsWebAddress(L"http://example.com/\" --new-switch \""));
  EXPECT_FALSE(IsWebAddress(L"http://example.com/\r\nx"));
  EXPECT_FALSE(IsWebAddress(L"http://example.com/\tx"));
  EXPECT_FALSE(IsWebAddress(std::wstring(L"http://example.com/") + L'\0' + L"x"));
  EXPECT_FALSE(IsWebAddress(L"http://example.com/\x7f"));
  EXPECT_TRUE(IsWebAddress(L"http://example.com/\u00e9t\u00e9"));
}

TEST(MakerWebAddress, IsAWebAddress) {
  EXPECT_TRUE(IsWebAddress(kMakerWebAddress));
}

}  // namespace
