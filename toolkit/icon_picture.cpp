// Icons as pictures: the icon's colour bitmap with its own alpha, or, for icons drawn without
// alpha, opacity from the icon's mask.
#include "base/unique_handle.h"
#include "toolkit/graphics.h"
#include "toolkit/picture.h"

namespace {

// The bitmap's pixels as 32-bit BGRA rows, top row first.
std::vector<std::uint8_t> ReadPixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  const UniqueScreenDc screen(GetDC(nullptr));
  GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

}  // namespace

TPicture PictureFromIcon(HICON icon) {
  ICONINFO parts = {};
  if (!icon || !GetIconInfo(icon, &parts)) return {};
  // GetIconInfo hands out copies of both bitmaps; they are ours to delete.
  const UniqueBitmap color(parts.hbmColor);
  const UniqueBitmap mask(parts.hbmMask);
  if (!color) return {};  // monochrome icons are not used by the program
  BITMAP size = {};
  GetObjectW(color.Get(), sizeof(size), &size);
  const int width = size.bmWidth;
  const int height = size.bmHeight;
  std::vector<std::uint8_t> pixels = ReadPixels(color.Get(), width, height);
  bool hasAlpha = false;
  for (size_t i = 3; i < pixels.size() && !hasAlpha; i += 4) hasAlpha = pixels[i] != 0;
  if (!hasAlpha) {
    // A set mask bit marks a transparent pixel.
    const std::vector<std::uint8_t> maskPixels = ReadPixels(mask.Get(), width, height);
    for (size_t i = 0; i < pixels.size(); i += 4) pixels[i + 3] = maskPixels[i] ? 0 : 255;
  }
  return TPicture(std::make_shared<const TGraphic>(width, height, true, pixels));
}
