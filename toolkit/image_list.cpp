#include "toolkit/image_list.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "base/system_libraries.h"
#include "toolkit/graphics.h"

namespace {

// Images are appended in runs of thousands (a scan), and the list is never cleared; a block of
// this many images is the most that the list holds in room not yet used.
constexpr int kImagesPerBlock = 256;

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
  width_ = width;
  height_ = height;
  count_ = 0;
  blocks_.clear();
  blendDc_.Reset();
  blendBitmap_.Reset();
  blendPixels_ = nullptr;
  spacer_.Reset(syslib::ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 1));
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
  if (!image) return -1;
  BITMAP header = {};
  if (!GetObjectW(image, sizeof(header), &header) || header.bmWidth != width_ ||
      std::abs(header.bmHeight) != height_)
    return -1;
  std::uint32_t* room = AppendRoom();
  if (!room) return -1;
  BITMAPINFO info = TopDownBitmapInfo(width_, height_);
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (GetDIBits(dc.Get(), image, 0, static_cast<UINT>(height_), room, &info, DIB_RGB_COLORS) != height_) {
    std::fill(room, room + PixelsPerImage(), 0u);  // cleared for the next append
    --count_;
    return -1;
  }
  return count_ - 1;
}

int TImageList::AddBlank() {
  return AppendRoom() ? count_ - 1 : -1;
}

std::uint32_t* TImageList::AppendRoom() {
  const auto block = static_cast<size_t>(count_ / kImagesPerBlock);
  try {
    if (block == blocks_.size()) blocks_.emplace_back(PixelsPerImage() * kImagesPerBlock, 0u);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  const auto slot = static_cast<size_t>(count_ % kImagesPerBlock);
  ++count_;
  return blocks_[block].data() + slot * PixelsPerImage();
}

const std::uint32_t* TImageList::ImageAt(int index) const {
  if (index < 0 || index >= count_) return nullptr;
  const auto block = static_cast<size_t>(index / kImagesPerBlock);
  const auto slot = static_cast<size_t>(index % kImagesPerBlock);
  return blocks_[block].data() + slot * PixelsPerImage();
}

std::vector<std::uint32_t> TImageList::Pixels(int index) const {
  const std::uint32_t* image = ImageAt(index);
  return image ? std::vector<std::uint32_t>(image, image + PixelsPerImage()) : std::vector<std::uint32_t>();
}

// As the system's image list draws an image with an alpha channel: tinted (each channel half-way
// to the highlight colour's), then each channel multiplied by the transparency, then blended.
void TImageList::Draw(HDC dc, int index, int x, int y, bool selected) const {
  const std::uint32_t* image = ImageAt(index);
  if (!image) return;
  if (!blendPixels_) {
    TDib dib = CreateDib(width_, height_);
    blendDc_.Reset(CreateCompatibleDC(nullptr));
    if (!dib.pixels || !blendDc_) return;
    SelectObject(blendDc_.Get(), dib.bitmap.Get());
    blendBitmap_ = std::move(dib.bitmap);
    blendPixels_ = dib.pixels;
  }
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const unsigned tint[] = {GetBValue(highlight), GetGValue(highlight), GetRValue(highlight)};
  for (size_t i = 0; i < PixelsPerImage(); ++i) {
    const std::uint32_t pixel = image[i];
    const std::uint32_t alpha = pixel >> 24;
    std::uint32_t ready = alpha << 24;
    for (int channel = 0; channel < 3; ++channel) {
      unsigned value = (pixel >> (8 * channel)) & 0xFF;
      if (selected) value = (value + tint[channel]) / 2;
      ready |= (value * alpha / 255) << (8 * channel);
    }
    blendPixels_[i] = ready;
  }
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, x, y, width_, height_, blendDc_.Get(), 0, 0, width_, height_, blend);
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
