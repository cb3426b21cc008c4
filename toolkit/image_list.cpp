#include "toolkit/image_list.h"

#include <algorithm>
#include <cstdint>

#include "toolkit/graphics.h"
#include "toolkit/system_libraries.h"

namespace {

// Images are appended in runs of thousands (a scan), and the list is never cleared. The system
// grows its bitmaps by a fixed step (Wine caps it at 256 images) and copies every image held on
// each step, so that appending 2,500 images cost four times as much to a list of 25,000 as to an
// empty one. The list therefore reserves room itself, by a quarter of what it holds (at least
// kGrowBy), and appends into that room: an append costs the same however many came before.
constexpr int kGrowBy = 256;

// A top-down 32-bit DIB section and its pixels.
struct TDib {
  UniqueBitmap bitmap;
  std::uint32_t* pixels = nullptr;
};

TDib CreateDib(int width, int height) {
  const BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  TDib dib{UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0))};
  dib.pixels = static_cast<std::uint32_t*>(bits);
  return dib;
}

}  // namespace

void ImageListTraits::Close(HIMAGELIST h) {
  syslib::ImageList_Destroy(h);
}

TImageList::TImageList(int width, int height) {
  Recreate(width, height);
}

void TImageList::Recreate(int width, int height) {
  handle_.Reset();
  width_ = width;
  height_ = height;
  count_ = 0;
  handle_.Reset(syslib::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, kGrowBy));
}

UniqueBitmap TImageList::RenderIcon(HICON icon) const {
  if (!icon) return {};
  // The icon is drawn once over black and once over white: where the two agree the pixel is
  // opaque, and how far they differ is how transparent it is. This serves icons with an alpha
  // channel and icons with a mask alike, and costs two draws, where the system's own
  // ImageList_AddIcon takes milliseconds per icon under Wine.
  TDib onBlack = CreateDib(width_, height_);
  TDib onWhite = CreateDib(width_, height_);
  if (!onBlack.pixels || !onWhite.pixels) return {};
  const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  std::fill(onWhite.pixels, onWhite.pixels + count, 0x00FFFFFFu);
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  for (TDib* dib : {&onBlack, &onWhite}) {
    const HGDIOBJ old = SelectObject(dc.Get(), dib->bitmap.Get());
    DrawIconEx(dc.Get(), 0, 0, icon, width_, height_, 0, nullptr, DI_NORMAL);
    SelectObject(dc.Get(), old);
  }
  GdiFlush();
  for (size_t i = 0; i < count; ++i) {
    const std::uint32_t black = onBlack.pixels[i];
    const std::uint32_t white = onWhite.pixels[i];
    // Over black each channel is colour x alpha; over white it is that plus (1 - alpha).
    const int difference = static_cast<int>((white >> 8) & 0xFF) - static_cast<int>((black >> 8) & 0xFF);
    const auto alpha = static_cast<unsigned>(255 - std::clamp(difference, 0, 255));
    std::uint32_t pixel = alpha << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
      const unsigned premultiplied = (black >> shift) & 0xFF;
      const unsigned straight = alpha ? std::min(255u, (premultiplied * 255u + alpha / 2) / alpha) : 0u;
      pixel |= straight << shift;
    }
    onBlack.pixels[i] = pixel;
  }
  return std::move(onBlack.bitmap);
}

int TImageList::AddImage(HBITMAP image) {
  if (!image || !ReserveOne()) return -1;
  if (!syslib::ImageList_Replace(handle_.Get(), count_, image, nullptr)) return -1;
  return count_++;
}

int TImageList::AddBlank() {
  // The reserved room as it is: whatever it holds is never shown.
  return ReserveOne() ? count_++ : -1;
}

bool TImageList::ReserveOne() {
  return count_ < syslib::ImageList_GetImageCount(handle_.Get()) ||
         syslib::ImageList_SetImageCount(handle_.Get(),
                                         static_cast<UINT>(count_ + std::max(kGrowBy, count_ / 4)));
}

int TImageList::AddIcon(HICON icon) {
  const UniqueBitmap image = RenderIcon(icon);
  return AddImage(image.Get());
}

int TImageList::Count() const {
  return count_;
}

void TImageList::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  const std::string& name = property.name;
  if (name == "Width" || name == "Height") {
    if (Count() > 0) property.Fail("the size must be set before the images");
    if (name == "Width") {
      Recreate(context.Pixels(property), height_);
    } else {
      Recreate(width_, context.Pixels(property));
    }
  } else if (name == "Icon") {
    const UniqueIcon icon(static_cast<HICON>(
        LoadImageW(context.Module(), property.Text().c_str(), IMAGE_ICON, width_, height_, LR_DEFAULTCOLOR)));
    if (AddIcon(icon.Get()) < 0) property.Fail("icon resource not found");
  } else {
    TComponent::ApplyProperty(property, context);
  }
}
