#include "catalogue/softwarelist.h"

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
  UniqueIcon icon;  // one holder for the whole run; it destroys the icon it held before
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
          icon.Reset(seams.iconLookup ? seams.iconLookup(entry.icon) : GetFileIcon(entry.icon));
          const int added = images.AddIcon(icon.Get());
          if (added >= 0) imageIndex = added;
        }
        list.AddRow(entry.displayName, imageIndex, subItems);
      },
      seams);
}
