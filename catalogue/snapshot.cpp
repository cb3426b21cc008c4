#include "catalogue/snapshot.h"

#include "base/ascii_text.h"
#include "toolkit/list_view.h"

TSnapshotList SnapshotList;

void FreeSnapshotRecords() {
  for (TSnapshotEntry& entry : SnapshotList) entry.Object.reset();
}

void BuildSnapshot(const TListView& list) {
  FreeSnapshotRecords();
  SnapshotList.clear();
  const int rows = list.RowCount();
  SnapshotList.reserve(static_cast<size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    const TListItem& item = list.Item(row);
    auto record = std::make_shared<const Tmy_data>(Tmy_data{item.ImageIndex, item.Caption, item.SubItems});
    SnapshotList.push_back({record->Caption, std::move(record)});
  }
}

TSnapshotList FilterSnapshot(const std::wstring& text) {
  TSnapshotList result;
  const std::wstring wanted = AsciiUpper(text);
  try {
    for (const TSnapshotEntry& entry : SnapshotList) {
      if (!entry.Object) continue;  // released: nothing to show
      if (wanted.empty() || AsciiUpper(entry.Object->Caption).find(wanted) != std::wstring::npos) {
        result.push_back(entry);
      }
    }
  } catch (const std::exception&) {
    // Out of memory, say: the search shows what it found so far rather than an error box.
  }
  return result;
}

void FillFromSnapshot(TListView& list, const TSnapshotList& entries) {
  for (const TSnapshotEntry& entry : entries) {
    list.AddRow(entry.Object->Caption, entry.Object->ImageIndex, entry.Object->SubItems);
  }
}
