// GotoRegistryKey against the Registry Editor that Wine ships, on the test display. What the
// editor shows is read back from its status bar (the selected key's path) and its value list.
#include <windows.h>
// The list view messages need the base definitions first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "actions/regedit_navigation.h"
#include "base/ascii_text.h"
#include "base/unique_handle.h"
#include "catalogue/uninstall_entries.h"
#include "tests/support/registry_fixture.h"

namespace testsupport {
namespace {

HWND FindDescendant(HWND parent, const wchar_t* className) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, className) == 0) return child;
    if (const HWND found = FindDescendant(child, className)) return found;
  }
  return nullptr;
}

BOOL CALLBACK CollectEditor(HWND window, LPARAM param) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpW(name, L"RegEdit_RegEdit") == 0) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::vector<HWND> EditorWindows() {
  std::vector<HWND> editors;
  EnumWindows(CollectEditor, reinterpret_cast<LPARAM>(&editors));
  return editors;
}

void CloseEditors() {
  for (const HWND editor : EditorWindows()) {
    DWORD processId = 0;
    GetWindowThreadProcessId(editor, &processId);
    const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
    PostMessageW(editor, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.Get(), 5000) != WAIT_OBJECT_0) {
      TerminateProcess(process.Get(), 1);
      WaitForSingleObject(process.Get(), 5000);
    }
  }
}

// The key path the editor's status bar shows, after the computer's name.
std::wstring ShownKey(HWND editor) {
  wchar_t text[1024] = {};
  SendMessageW(FindDescendant(editor, L"msctls_statusbar32"), WM_GETTEXT, 1024,
               reinterpret_cast<LPARAM>(text));
  const std::wstring shown = text;
  const auto hive = shown.find(L"\\HKEY_");
  return hive == std::wstring::npos ? shown : shown.substr(hive + 1);
}

// The name of the value selected in the editor's list. The list belongs to another process,
// 64-bit in a 64-bit prefix, so the item record and its text buffer are placed in that process's
// memory, laid out for its pointer size.
std::wstring SelectedValue(HWND editor) {
  const HWND list = FindDescendant(editor, L"SysListView32");
  const auto index = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (index < 0) return L"(none selected)";
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  const UniqueKernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                  FALSE, processId));
  BOOL editorIs32Bit = FALSE;
  IsWow64Process(process.Get(), &editorIs32Bit);
  constexpr size_t kTextOffset = 256, kTextUnits = 256;
  auto* remote = static_cast<char*>(VirtualAllocEx(process.Get(), nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return L"(no memory in the editor)";

  std::vector<char> item(128, 0);
  const auto text = reinterpret_cast<uintptr_t>(remote + kTextOffset);
  const int units = kTextUnits;
  if (editorIs32Bit) {  // LVITEMW as this program lays it out
    std::memcpy(item.data() + offsetof(LVITEMW, pszText), &text, sizeof(text));
    std::memcpy(item.data() + offsetof(LVITEMW, cchTextMax), &units, sizeof(units));
  } else {  // 64-bit LVITEMW: five 32-bit fields, padding, then the text pointer and its size
    const uint64_t text64 = text;
    std::memcpy(item.data() + 24, &text64, sizeof(text64));
    std::memcpy(item.data() + 32, &units, sizeof(units));
  }
  WriteProcessMemory(process.Get(), remote, item.data(), item.size(), nullptr);
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
  std::wstring name(kTextUnits, L'\0');
  ReadProcessMemory(process.Get(), remote + kTextOffset, name.data(), kTextUnits * sizeof(wchar_t), nullptr);
  VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
  name.resize(name.find(L'\0'));
  return name;
}

std::wstring EntryPath(const std::wstring& name) {
  return std::wstring(kUninstallKeyRoot) + kUninstallKey + L"\\" + name;
}

// Where the 64-bit editor shows an entry of the view that this program reads: a 32-bit
// program's entries sit under Wow6432Node.
std::wstring ShownEntryPath(const std::wstring& name) {
  if (!kBuildRunsUnderWow64) return EntryPath(name);
  return L"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
}

class WineRegistryEditor : public testing::Test {
 protected:
  // Two product codes that differ only in their last two digits, and a plain name.
  const std::vector<std::wstring> entries_{L"{6F1B7A2C-0D3E-4C55-9A10-3B2C4D5E6F07}",
                                           L"{6F1B7A2C-0D3E-4C55-9A10-3B2C4D5E6F70}", L"Caldwex_Test2"};

  // The very first editor in a fresh prefix can take many seconds longer to come up than any
  // later one, while Wine prepares it once. Start and close one here, so that the tests see the
  // editor start as a user does every other time.
  static void SetUpTestSuite() {
    // The navigation's own start gives up after a few seconds; this first one may take longer.
    FindOrStartRegEdit();
    for (int i = 0; i < 600 && EditorWindows().empty(); ++i) Sleep(100);
    CloseEditors();
  }

  void SetUp() override {
    CloseEditors();
    for (const auto& name : entries_)
      AddEntry(name, name, {.publisher = name, .version = name, .icon = name});
  }
  void TearDown() override {
    CloseEditors();
    for (const auto& name : entries_) DeleteEntry(name);
  }

  static bool Goto(const std::wstring& name) {
    const DWORD start = GetTickCount();
    const bool found = GotoRegistryKey(EntryPath(name), L"DisplayName");
    std::wcout << L"GotoRegistryKey " << name << L": " << GetTickCount() - start << L" ms" << std::endl;
    return found;
  }
};

TEST_F(WineRegistryEditor, StartsTheEditorAndShowsAnEntryWithABracedProductCode) {
  ASSERT_TRUE(EditorWindows().empty());
  ASSERT_TRUE(Goto(entries_[1]));
  const HWND editor = FindWindowW(L"RegEdit_RegEdit", nullptr);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(IsZoomed(editor));
  EXPECT_EQ(AsciiUpper(ShownKey(editor)), AsciiUpper(ShownEntryPath(entries_[1])));
  EXPECT_EQ(SelectedValue(editor), L"DisplayName");
}

TEST_F(WineRegistryEditor, ASecondCallDrivesTheOpenEditorFromWhereverItIs) {
  ASSERT_TRUE(Goto(entries_[1]));
  const auto first = EditorWindows();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(AsciiUpper(ShownKey(first[0])), AsciiUpper(ShownEntryPath(entries_[1])));

  ASSERT_TRUE(Goto(entries_[2]));
  EXPECT_EQ(AsciiUpper(ShownKey(first[0])), AsciiUpper(ShownEntryPath(entries_[2])));
  EXPECT_EQ(SelectedValue(first[0]), L"DisplayName");
  ASSERT_TRUE(Goto(entries_[0]));
  EXPECT_EQ(AsciiUpper(ShownKey(first[0])), AsciiUpper(ShownEntryPath(entries_[0])));

  // A second editor, had one been started, would have shown its window by now.
  Sleep(1000);
  EXPECT_EQ(EditorWindows(), first);
}

}  // namespace
}  // namespace testsupport
