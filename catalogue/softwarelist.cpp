#include "catalogue/softwarelist.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "actions/path_cleanup.h"
#include "base/unique_handle.h"
#include "catalogue/snapshot.h"
#include "toolkit/image_list.h"
#include "toolkit/list_view.h"

namespace {

// Each distinct icon reference is looked up and drawn once; every row that names it still gets
// an image of its own appended, as the list's rule is one image per iconed row.
class TIconDrawings {
 public:
  TIconDrawings(const TImageList& images, const ScanSeams& seams) : images_(images), seams_(seams) {}

  // The reference's icon drawn at the list's size; null when no icon can be had for it.
  HBITMAP ImageFor(const std::wstring& reference) {
    auto found = rendered_.find(reference);
    if (found == rendered_.end()) {
      const UniqueIcon icon(seams_.iconLookup ? seams_.iconLookup(reference) : GetFileIcon(reference));
      found = rendered_.emplace(reference, images_.RenderIcon(icon.Get())).first;
    }
    return found->second.Get();
  }

 private:
  const TImageList& images_;
  const ScanSeams& seams_;
  std::map<std::wstring, UniqueBitmap, std::less<>> rendered_;
};

}  // namespace

void ScanUninstallEntries(TListView& list, TImageList& images) {
  ScanUninstallEntries(list, images, {});
}

void RedrawEntryIcons(const TListView& list, TImageList& images, int count) {
  // Where each index came from: the rows and the snapshot's records hold every index that can
  // be shown again, with the icon reference it was drawn from.
  std::vector<const std::wstring*> references(static_cast<size_t>(std::max(count, 0)), nullptr);
  const auto note = [&](int index, const std::wstring& reference) {
    if (index > 0 && index < count) references[static_cast<size_t>(index)] = &reference;
  };
  for (int row = 0; row < list.RowCount(); ++row) {
    const TListItem& item = list.Item(row);
    note(item.ImageIndex, item.SubItems.at(kSubIcon));
  }
  for (const TSnapshotEntry& entry : SnapshotList)
    if (entry.Object) note(entry.Object->ImageIndex, entry.Object->SubItems.at(kSubIcon));
  const ScanSeams seams;
  TIconDrawings drawings(images, seams);
  for (int index = images.Count(); index < count; ++index) {
    const std::wstring* reference = references[static_cast<size_t>(index)];
    const HBITMAP image = reference ? drawings.ImageFor(*reference) : nullptr;
    if ((image ? images.AddImage(image) : images.AddBlank()) < 0) images.AddBlank();
  }
}

void ScanUninstallEntries(TListView& list, TImageList& images, const ScanSeams& seams) {
  const ListUpdateLock noRepaintUntilDone(list);
  list.Clear();
  TIconDrawings drawings(images, seams);
  ReadUninstallEntries(
      [&](TUninstallEntry&& entry) {
        // A reference for which no icon can be had shows the default image 0, never the image
        // that happens to be last in the list.
        int imageIndex = 0;
        if (!entry.icon.empty()) {
          const int added = images.AddImage(drawings.ImageFor(entry.icon));
          if (added >= 0) imageIndex = added;
        }
        // The texts move into the row: reading thousands of entries copies none of them.
        std::vector<std::wstring> subItems(kSubItemCount);
        subItems[kSubPublisher] = std::move(entry.publisher);
        subItems[kSubVersion] = std::move(entry.version);
        subItems[kSubHelpLink] = std::move(entry.helpLink);
        subItems[kSubUninstall] = std::move(entry.uninstall);
        subItems[kSubKeyPath] = std::move(entry.keyPath);
        subItems[kSubIcon] = std::move(entry.icon);
        list.AddRow(std::move(entry.displayName), imageIndex, std::move(subItems));
      },
      seams);
}
