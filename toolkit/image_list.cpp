#include "toolkit/image_list.h"

#include "base/unique_handle.h"

TImageList::TImageList(int width, int height) {
  Recreate(width, height);
}

TImageList::~TImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

void TImageList::Recreate(int width, int height) {
  if (handle_) ImageList_Destroy(handle_);
  width_ = width;
  height_ = height;
  handle_ = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, 64);
}

int TImageList::AddIcon(HICON icon) {
  if (!icon) return -1;
  return ImageList_AddIcon(handle_, icon);
}

int TImageList::Count() const {
  return ImageList_GetImageCount(handle_);
}

void TImageList::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  const std::string& name = property.name;
  if (name == "Width" || name == "Height") {
    if (Count() > 0) property.Fail("the size must be set before the images");
    if (name == "Width") {
      Recreate(property.Int(), height_);
    } else {
      Recreate(width_, property.Int());
    }
  } else if (name == "Icon") {
    const UniqueIcon icon(static_cast<HICON>(
        LoadImageW(context.Module(), property.Text().c_str(), IMAGE_ICON, width_, height_, LR_DEFAULTCOLOR)));
    if (AddIcon(icon.Get()) < 0) property.Fail("icon resource not found");
  } else {
    TComponent::ApplyProperty(property, context);
  }
}
