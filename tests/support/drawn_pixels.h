#pragma once
// What a drawing leaves in a 20 x 20 memory bitmap over a background of one colour, as 0x00RRGGBB
// pixels, top row first.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/unique_handle.h"
#include "toolkit/graphics.h"

namespace testsupport {

template <typename Draw>
std::vector<std::uint32_t> DrawnPixels(COLORREF background, Draw draw) {
  const BITMAPINFO info = TopDownBitmapInfo(20, 20);
  void* bits = nullptr;
  const UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  const HGDIOBJ old = SelectObject(dc.Get(), bitmap.Get());
  const UniqueBrush brush(CreateSolidBrush(background));
  const RECT all = {0, 0, 20, 20};
  FillRect(dc.Get(), &all, brush.Get());
  draw(dc.Get());
  GdiFlush();
  SelectObject(dc.Get(), old);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  return std::vector<std::uint32_t>(pixels, pixels + 400);
}

}  // namespace testsupport
