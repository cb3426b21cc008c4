#include "toolkit/list_rows.h"

#include <windows.h>

#include <algorithm>
#include <numeric>

namespace {

// Sorts order[first, last) with the system list's own merge: the left half takes one more row
// when the count is odd, and a right row goes first only when the left one compares greater.
void MergeSort(std::vector<size_t>& order, std::vector<size_t>& scratch, size_t first, size_t last,
               const std::function<bool(size_t, size_t)>& greater) {
  if (last - first < 2) return;
  const size_t middle = (first + last - 1) / 2 + 1;
  MergeSort(order, scratch, first, middle, greater);
  MergeSort(order, scratch, middle, last, greater);
  size_t left = first, right = middle, out = first;
  while (left < middle && right < last)
    scratch[out++] = greater(order[left], order[right]) ? order[right++] : order[left++];
  while (left < middle) scratch[out++] = order[left++];
  while (right < last) scratch[out++] = order[right++];
  std::copy(scratch.begin() + static_cast<std::ptrdiff_t>(first),
            scratch.begin() + static_cast<std::ptrdiff_t>(last),
            order.begin() + static_cast<std::ptrdiff_t>(first));
}

// As the system list's type-ahead compares: over the shorter of the two lengths.
bool BeginsWith(const std::wstring& caption, std::wstring_view prefix) {
  const int length = static_cast<int>(std::min(caption.size(), prefix.size()));
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.data(), length, prefix.data(),
                        length) == CSTR_EQUAL;
}

}  // namespace

std::vector<size_t> SortRows(std::vector<TListItem>& rows, const TRowComparison& compare) {
  std::vector<size_t> order(rows.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::vector<size_t> scratch(rows.size());
  MergeSort(order, scratch, 0, rows.size(),
            [&](size_t earlier, size_t later) { return compare(rows[earlier], rows[later]) > 0; });
  std::vector<TListItem> sorted;
  sorted.reserve(rows.size());
  std::vector<size_t> moved(rows.size());
  for (size_t position = 0; position < order.size(); ++position) {
    sorted.push_back(std::move(rows[order[position]]));
    moved[order[position]] = position;
  }
  rows = std::move(sorted);
  return moved;
}

int FindRowByPrefix(const std::vector<TListItem>& rows, std::wstring_view prefix, int start, bool wrap) {
  const int count = static_cast<int>(rows.size());
  if (count == 0 || prefix.empty()) return -1;
  start = std::clamp(start, 0, count - 1);
  const int end = wrap ? start + count : count;
  for (int i = start; i < end; ++i) {
    const int row = i % count;
    if (BeginsWith(rows[static_cast<size_t>(row)].Caption, prefix)) return row;
  }
  return -1;
}
