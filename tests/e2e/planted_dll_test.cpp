// A DLL left beside the program under the name of a system DLL is never loaded. The program runs
// with administrator rights from its download folder, and for a DLL that is not among Windows'
// known DLLs Windows looks in the program's own folder first. Wine does the same for a DLL whose
// load order is "native, then builtin", which the test sets for the program by name in Wine's
// registry (under Wine 8, WINEDLLOVERRIDES in the environment block given to CreateProcessW was
// not honoured by the program started). For each such DLL the program uses, and for the known DLLs
// that it loads itself when first needed, a copy of the program is started in a folder of its own
// with a planted DLL of that name beside it (tests/e2e/planted_dll.cpp), which leaves a marker
// file when it is loaded.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/shipped_program.h"
#include "tests/support/registry_fixture.h"

namespace testsupport {
namespace {

using PlantedDllTest = ShippedProgramTest;

std::wstring Lowered(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

// Wine's load order for one DLL of the programs of one file name, while the object lives.
class NativeFirst {
 public:
  NativeFirst(const std::wstring& programName, const std::wstring& dllName)
      : key_(L"Software\\Wine\\AppDefaults\\" + programName) {
    const std::wstring order = L"native,builtin";
    EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (key_ + L"\\DllOverrides").c_str(), dllName.c_str(), REG_SZ,
                              order.c_str(), static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  ~NativeFirst() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }
  NativeFirst(const NativeFirst&) = delete;
  NativeFirst& operator=(const NativeFirst&) = delete;

 private:
  std::wstring key_;
};

// Where this build's programs find the system's DLLs: the system folder, and for a 32-bit program
// on 64-bit Windows also the folder that stands in for it, by whichever name it is reported.
std::vector<std::wstring> SystemFolders() {
  std::vector<std::wstring> folders;
  wchar_t folder[MAX_PATH];
  folders.push_back(Lowered(std::wstring(folder, GetSystemDirectoryW(folder, MAX_PATH))));
  if (kBuildRunsUnderWow64)
    folders.push_back(Lowered(std::wstring(folder, GetSystemWow64DirectoryW(folder, MAX_PATH))));
  return folders;
}

TEST_F(PlantedDllTest, NoDllBesideTheProgramIsLoadedAndTheProgramStillWorks) {
  {
    const UniqueRegKey entry = CreateEntryKey(L"Sample");
    SetText(entry.Get(), L"DisplayName", L"Sample Program");
    // An icon to look up, which needs the shell.
    SetText(entry.Get(), L"DisplayIcon", L"C:\\Program Files\\Sample\\sample.exe,0");
  }
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  for (const std::wstring name : {L"comctl32", L"oleacc", L"uxtheme", L"ole32", L"oleaut32", L"shell32"}) {
    SCOPED_TRACE(testing::PrintToString(name));
    const std::filesystem::path folder = std::filesystem::path(temp) / (L"planted-" + name);
    const std::filesystem::path dll = folder / (name + L".dll");
    const std::filesystem::path marker = folder / (name + L".dll.loaded");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(ShippedProgramPath(), folder / L"CaldwexUninstaller.exe");
    std::filesystem::copy_file(std::filesystem::path(PLANTED_DLL_DIR) / (name + L".dll"), dll);
    {
      const NativeFirst order(L"CaldwexUninstaller.exe", name);
      ShippedProgram program((folder / L"CaldwexUninstaller.exe").wstring());
      EXPECT_TRUE(program.Started());
      if (program.Started()) {
        EXPECT_TRUE(program.Dialogs().empty()) << testing::PrintToString(
            program.Dialogs().empty() ? L"" : ShippedProgram::DialogText(program.Dialogs().front()));
        EXPECT_EQ(program.Names(), std::vector<std::wstring>{L"Sample Program"});
        // Asking for the window's accessible object loads oleacc, which nothing else needs, and
        // with it OLE.
        EXPECT_EQ(program.CountText(), L"Total 1 Softwares");
        // By now the program has used the DLL, and took it from the system folder.
        std::vector<std::wstring> loadedFrom;
        for (const std::filesystem::path module : program.LoadedModules()) {
          if (Lowered(module.filename().wstring()) == name + L".dll")
            loadedFrom.push_back(Lowered(module.parent_path().wstring()));
        }
        EXPECT_EQ(loadedFrom.size(), 1u) << testing::PrintToString(loadedFrom);
        for (const std::wstring& from : loadedFrom) EXPECT_THAT(SystemFolders(), testing::Contains(from));
      }
      EXPECT_FALSE(FileExists(marker.wstring()))
          << "the program loaded " << testing::PrintToString(dll.wstring());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
}

}  // namespace
}  // namespace testsupport
