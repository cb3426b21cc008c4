#pragma once
// The software catalogue: fills the entry list from the machine-wide Uninstall key.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "catalogue/uninstall_entries.h"

class TListView;
class TImageList;

// The positions of an entry row's sub-items.
enum SubItem : int {
  kSubPublisher = 0,
  kSubVersion = 1,
  kSubHelpLink = 2,
  kSubUninstall = 3,
  kSubKeyPath = 4,
  kSubIcon = 5,
  kSubItemCount = 6,
};

// The reading's seams, and the icon lookup, where a test can hand out icons of its own.
struct ScanSeams : TEntrySeams {
  std::function<HICON(std::wstring_view iconReference)> iconLookup;
};

// Replaces the rows of `list` with one row per Uninstall entry, in enumeration order, and
// appends one image to `images` per row with an icon reference. When the reading stops with an
// error, the rows before it stay.
void ScanUninstallEntries(TListView& list, TImageList& images);
void ScanUninstallEntries(TListView& list, TImageList& images, const ScanSeams& seams);

// Draws the entry icons again into `images`, a list built anew at another size that holds only
// its default image, until it holds `count` images as the old one did: each index that a row of
// `list` or a record of the snapshot holds gets the icon of its reference again, so that every
// index handed out stays valid; an index that nothing holds any more gets a blank.
void RedrawEntryIcons(const TListView& list, TImageList& images, int count);
