#include "toolkit/image_list.h"

TImageList::TImageList(int width, int height)
    : width_(width), height_(height),
      handle_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, 1024)) {}

TImageList::~TImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

int TImageList::AddIcon(HICON icon) {
  if (!icon) return -1;
  return ImageList_AddIcon(handle_, icon);
}

int TImageList::Count() const { return ImageList_GetImageCount(handle_); }
