#pragma once
// The rows that a list view keeps for itself: the control holds only their number and asks for
// the texts and images of the rows it paints. Here are their sort and the type-ahead search
// over their captions, which the control leaves to the rows' owner.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One row as it was added.
class TListItem {
 public:
  std::wstring Caption;
  int ImageIndex = 0;
  std::vector<std::wstring> SubItems;
};

// A comparison of two rows: negative, zero or positive, as the system's list sort takes it.
using TRowComparison = std::function<int(const TListItem& first, const TListItem& second)>;

// Sorts `rows` as the system's list sort does: a merge sort that puts a later row before an
// earlier one only when `compare(earlier, later)` is positive, so rows that compare equal keep
// their order, with the same comparisons in the same order. Returns each row's new position,
// indexed by its old one.
std::vector<size_t> SortRows(std::vector<TListItem>& rows, const TRowComparison& compare);

// The first row at `start` or after whose caption begins with `prefix`, ignoring case, going on
// from the top when `wrap`; -1 when there is none.
int FindRowByPrefix(const std::vector<TListItem>& rows, std::wstring_view prefix, int start, bool wrap);
