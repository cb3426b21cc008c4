#pragma once
// Handlers of our own in the test prefix's shell: the action recorder takes the place of the
// shell's "open" command of a class for the duration of a test, and writes down what it got.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/unique_handle.h"
#include "tests/helpers/recording.h"

namespace testsupport {

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

inline std::wstring HandlerGot(const std::wstring& argument) {
  return L"\"" + RecorderPath() + L"\" \"" + argument + L"\"";
}

inline std::vector<std::wstring> CommandLines(const std::vector<RecordedStart>& starts) {
  std::vector<std::wstring> lines;
  for (const auto& start : starts) lines.push_back(start.commandLine);
  return lines;
}

}  // namespace testsupport
