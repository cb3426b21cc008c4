#include "catalogue/softwarelist.h"

#include <map>
#include <utility>
#include <vector>

#include "actions/path_cleanup.h"
#include "base/unique_handle.h"
#include "toolkit/image_list.h"
#include "toolkit/list_view.h"

void ScanUninstallEntries(TListView& list, TImageList& images) {
  ScanUninstallEntries(list, images, {});
}

void ScanUninstallEntries(TListView& list, TImageList& images, const ScanSeams& seams) {
  const ListUpdateLock noRepaintUntilDone(list);
  list.Clear();
  // Each distinct icon reference is looked up and drawn once per scan; every row that names it
  // still gets an image of its own appended, as the list's rule is one image per iconed row.
  std::map<std::wstring, UniqueBitmap, std::less<>> rendered;
  const auto imageFor = [&](const std::wstring& reference) -> HBITMAP {
    auto found = rendered.find(reference);
    if (found == rendered.end()) {
      const UniqueIcon icon(seams.iconLookup ? seams.iconLookup(reference) : GetFileIcon(reference));
      found = rendered.emplace(reference, images.RenderIcon(icon.Get())).first;
    }
    return found->second.Get();
  };
  ReadUninstallEntries(
      [&](TUninstallEntry&& entry) {
        // A reference for which no icon can be had shows the default image 0, never the image
        // that happens to be last in the list.
        int imageIndex = 0;
        if (!entry.icon.empty()) {
          const int added = images.AddImage(imageFor(entry.icon));
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
