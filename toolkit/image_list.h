#pragma once
// A system image list of fixed-size images. Images are only ever appended, so an index once
// handed out stays valid for the list's life.

#include <windows.h>
#include <commctrl.h>

class TImageList {
public:
  TImageList(int width, int height);
  ~TImageList();
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  // Appends a copy of the icon scaled to the list's size; returns its index, or -1 if the
  // icon could not be added.
  int AddIcon(HICON icon);
  int Count() const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  HIMAGELIST Handle() const { return handle_; }

private:
  int width_;
  int height_;
  HIMAGELIST handle_;
};
