#pragma once
// An image list of fixed-size images, kept and drawn by the list itself. Images are only ever
// appended, so an index once handed out stays valid for the list's life.
//
// The system's image list draws an image with an alpha channel through half a dozen temporary
// bitmaps and device contexts: under Wine a row's icon costs a third of a millisecond, most of a
// list's repaint. Here an image is one blend from pixels held ready.

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdint>
#include <vector>

#include "base/unique_handle.h"
#include "toolkit/component.h"

// A system image list, destroyed once with its owner.
struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Empty() { return nullptr; }
  static void Close(Handle h);
};
using UniqueImageList = UniqueHandle<ImageListTraits>;

class TImageList : public TComponent {
 public:
  TImageList(int width, int height);

  // Appends a copy of the icon scaled to the list's size; returns its index, or -1 if the
  // icon could not be added.
  int AddIcon(HICON icon);
  // The icon drawn at the list's size as a 32-bit bitmap with its transparency in the alpha
  // channel, to be appended with AddImage as often as needed; empty without an icon.
  UniqueBitmap RenderIcon(HICON icon) const;
  // Appends a copy of a bitmap made by RenderIcon; returns its index, or -1.
  int AddImage(HBITMAP image);
  // Appends an image that nothing is to show, to keep the indices after it; its index, or -1.
  int AddBlank();
  int Count() const;
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Draws image `index` with its top-left corner at (x, y), over what `dc` holds, by its
  // transparency; `selected` tints it half-way to the highlight colour first, as the system's
  // list shows the icon of a selected row. Draws nothing for an index the list does not hold.
  void Draw(HDC dc, int index, int x, int y, bool selected) const;
  // The pixels of image `index` row by row, 0xAARRGGBB with the colour not multiplied by the
  // transparency; empty for an index the list does not hold.
  std::vector<std::uint32_t> Pixels(int index) const;
  // A system image list of this list's image size that holds no image: given to the system's
  // list view, it makes the view leave room for an icon in each row, which its owner draws there
  // from this list.
  HIMAGELIST SpacerHandle() const { return spacer_.Get(); }

  // Width and Height (while the list is still empty) and Icon: an icon resource appended at
  // the list's size.
  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;

 private:
  void Recreate(int width, int height);
  size_t PixelsPerImage() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_); }
  // Room for one more image after the ones appended, its pixels cleared; null if there is none.
  std::uint32_t* AppendRoom();
  const std::uint32_t* ImageAt(int index) const;

  int width_ = 0;
  int height_ = 0;
  int count_ = 0;
  // The images in blocks of a fixed number, so that appending never moves the ones held.
  std::vector<std::vector<std::uint32_t>> blocks_;
  UniqueImageList spacer_;
  // The image being drawn, made ready for the blend, in a bitmap made on the first draw.
  // (The bitmap is declared first so that it outlives the device context it is selected into.)
  mutable UniqueBitmap blendBitmap_;
  mutable UniqueMemoryDc blendDc_;
  mutable std::uint32_t* blendPixels_ = nullptr;
};
