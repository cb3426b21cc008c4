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
      [&](const TUninstallEntry& entry) {
        std::vector<std::wstring> subItems(kSubItemCount);
        subItems[kSubPublisher] = entry.publisher;
        subItems[kSubVersion] = entry.version;
        subItems[kSubHelpLink] = entry.helpLink;
        subItems[kSubUninstall] = entry.uninstall;
        subItems[kSubKeyPath] = entry.keyPath;
        subItems[kSubIcon] = entry.icon;
        // A reference for which no icon can be had shows the default image 0, never the image
        // that happens to be last in the list.
        int imageIndex = 0;
        if (!entry.icon.empty()) {
          const int added = images.AddImage(imageFor(entry.icon));
          if (added >= 0) imageIndex = added;
        }
        list.AddRow(entry.displayName, imageIndex, std::move(subItems));
      },
      seams);
}
