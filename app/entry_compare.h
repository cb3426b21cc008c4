#pragma once
// How the header pictures compare two entry rows.

#include <string>

#include "toolkit/list_view.h"

// The text a sort compares for a row: the caption for selector -1, sub-item 0, 1 or 2 (publisher,
// version, help link) for selectors 0 to 2; null for any other selector.
const std::wstring* EntrySortText(const TListItem& item, int selector);

// The result of CompareStringW (1 less, 2 equal, 3 greater, 0 failed) as the sort wants it:
// negative when the first row goes first. Descending flips the sign, a failed comparison
// counts the first row as the smaller.
int SignedCompareResult(int compareStringResult, bool ascending);

// The two texts compared under the user's locale, ignoring case and nothing else, as text:
// "10.0" comes before "9.1".
int CompareEntryTexts(const std::wstring& first, const std::wstring& second, bool ascending);
