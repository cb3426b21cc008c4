#pragma once
// The catalogue snapshot: a copy of every entry row as the list stood when the window was first
// shown, and the name search over it. Built once per run; rescans leave it alone, so a search
// always filters the start-up rows.

#include <memory>
#include <string>
#include <vector>

class TListView;

// One row of the entry list as it was copied: image index, display name and the six sub-items
// in their positions (publisher, version, help link, uninstall command, key path, icon
// reference). The sub-items are kept apart, so that a value holding a line break comes back
// whole and in its place.
class Tmy_data {
 public:
  int ImageIndex = 0;
  std::wstring Caption;
  std::vector<std::wstring> SubItems;
};

// An ordered list of entries, each a text (the record's caption) and its record. Records are
// shared between the snapshot and the lists a search returns; they are immutable once built.
struct TSnapshotEntry {
  std::wstring Text;
  std::shared_ptr<const Tmy_data> Object;
};
using TSnapshotList = std::vector<TSnapshotEntry>;

// The program-wide snapshot: empty from program start, filled by BuildSnapshot, its records
// released at program exit.
extern TSnapshotList SnapshotList;

// Releases the record of every entry, leaving the entries in place (with no record).
void FreeSnapshotRecords();

// Releases the old records, empties the snapshot and copies every row of `list` into it, in row
// order.
void BuildSnapshot(const TListView& list);

// The entries of the snapshot whose caption holds `text`, in snapshot order. The letters a to z
// are folded to upper case in both, nothing else; the match is a contiguous run of code units;
// an empty text takes every entry. An error inside the loop ends it quietly: the entries taken
// so far are returned.
TSnapshotList FilterSnapshot(const std::wstring& text);

// Replaces the rows of `list` with the records of `entries`, in their order.
void FillFromSnapshot(TListView& list, const TSnapshotList& entries);
