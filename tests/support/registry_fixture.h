#pragma once
// Arranges the Uninstall key of the test prefix's registry, in the view that this build's
// programs read (32-bit for the i686 build, 64-bit for the x86_64 one). Entries are written in
// one of three ways: a .reg file of tests/fixtures (ImportRegFile), an entry's texts
// (AddEntry), or, for data no installer should write, value by value (CreateEntryKey, SetRaw).

#include <windows.h>

#include <string>
#include <vector>

#include "base/unique_handle.h"

namespace testsupport {

// The i686 build's programs are 32-bit and run under WOW64 in the test's 64-bit prefix: they
// read the 32-bit registry view. The x86_64 build's read the 64-bit view, unredirected.
constexpr bool kBuildRunsUnderWow64 = sizeof(void*) == 4;

// Deletes the whole Uninstall key, so that each test starts from what it imports itself.
void ClearUninstallKey();

// Imports a .reg file from tests/fixtures with the system's own reg.exe, into that view.
void ImportRegFile(const std::wstring& fixtureName);

// The texts of one Uninstall entry besides its display name; empty ones are not written.
struct EntryValues {
  std::wstring publisher = {};
  std::wstring version = {};
  std::wstring helpLink = {};
  std::wstring uninstall = {};
  std::wstring icon = {};
};
// Writes Uninstall\<key> with a display name and the given values, as plain strings.
void AddEntry(const std::wstring& key, const std::wstring& displayName, const EntryValues& values = {});
// Deletes Uninstall\<key> with everything below it; the registry's status.
LONG DeleteEntry(const std::wstring& key);

// Creates (or opens) Uninstall\<name> for writing.
UniqueRegKey CreateEntryKey(const std::wstring& name);
// Creates the Uninstall key itself with no entries.
void CreateEmptyUninstallKey();

void SetText(HKEY key, const std::wstring& valueName, const std::wstring& text, DWORD type = REG_SZ);
void SetRaw(HKEY key, const std::wstring& valueName, DWORD type, const std::vector<BYTE>& bytes);
// The bytes of a REG_DWORD value.
std::vector<BYTE> DwordBytes(DWORD value);

// Runs a command line hidden, waits for it and returns its exit code (or -1 if it did not start).
DWORD RunCommand(const std::wstring& commandLine);

}  // namespace testsupport
