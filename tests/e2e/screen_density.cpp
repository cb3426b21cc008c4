// The screen density that programs started from now on find: the prefix's LogPixels.
#include <gtest/gtest.h>

#include "tests/e2e/shipped_program.h"

namespace testsupport {

namespace {
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
}  // namespace

ScreenDensity::ScreenDensity(int dpi) {
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr, nullptr, &size) ==
      ERROR_SUCCESS) {
    before_.resize(size);
    RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr, before_.data(),
                 &size);
  }
  const DWORD value = static_cast<DWORD>(dpi);
  EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &value, sizeof(value)),
            ERROR_SUCCESS);
}

ScreenDensity::~ScreenDensity() {
  if (before_.empty()) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
  } else {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, before_.data(),
                    static_cast<DWORD>(before_.size()));
  }
}

}  // namespace testsupport
