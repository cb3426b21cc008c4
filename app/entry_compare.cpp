#include "app/entry_compare.h"

#include <windows.h>

const std::wstring* EntrySortText(const TListItem& item, int selector) {
  if (selector == -1) return &item.Caption;
  if (selector < 0 || selector > 2 || static_cast<size_t>(selector) >= item.SubItems.size()) return nullptr;
  return &item.SubItems[static_cast<size_t>(selector)];
}

int SignedCompareResult(int compareStringResult, bool ascending) {
  return (ascending ? 1 : -1) * (compareStringResult - 2);
}

int CompareEntryTexts(const std::wstring& first, const std::wstring& second, bool ascending) {
  const int result =
      CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, first.c_str(), static_cast<int>(first.size()),
                     second.c_str(), static_cast<int>(second.size()));
  return SignedCompareResult(result, ascending);
}
