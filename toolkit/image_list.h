#pragma once
// A system image list of fixed-size images. Images are only ever appended, so an index once
// handed out stays valid for the list's life.

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

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
  // Appends a bitmap made by RenderIcon; returns its index, or -1.
  int AddImage(HBITMAP image);
  // Appends an image that nothing is to show, to keep the indices after it; its index, or -1.
  int AddBlank();
  // The images appended; the system's list holds blank room beyond them for the next appends.
  int Count() const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  HIMAGELIST Handle() const { return handle_.Get(); }

  // Width and Height (while the list is still empty) and Icon: an icon resource appended at
  // the list's size.
  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;

 private:
  void Recreate(int width, int height);
  // Room for one more image after the ones appended.
  bool ReserveOne();

  int width_ = 0;
  int height_ = 0;
  int count_ = 0;
  UniqueImageList handle_;
};
