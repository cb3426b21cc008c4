#include "toolkit/picture.h"

#include <algorithm>

#include "base/errors.h"
#include "toolkit/graphics.h"

TGraphic::TGraphic(int width, int height, bool hasAlpha, std::span<const std::uint8_t> bgra)
    : width_(width), height_(height), hasAlpha_(hasAlpha) {
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) throw Exception(L"Out of system resources");
  auto* out = static_cast<std::uint8_t*>(bits);
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = &bgra[i * 4];
    std::uint8_t* q = &out[i * 4];
    // AlphaBlend wants premultiplied colours; opaque pictures keep theirs unchanged.
    const unsigned a = hasAlpha ? p[3] : 255u;
    for (int c = 0; c < 3; ++c) q[c] = static_cast<std::uint8_t>((p[c] * a + 127) / 255);
    q[3] = static_cast<std::uint8_t>(a);
  }
}

void TGraphic::Draw(HDC dc, const RECT& dest) const {
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  const HGDIOBJ old = SelectObject(source.Get(), bitmap_.Get());
  const int w = dest.right - dest.left;
  const int h = dest.bottom - dest.top;
  if (hasAlpha_) {
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, dest.left, dest.top, w, h, source.Get(), 0, 0, width_, height_, blend);
  } else if (w == width_ && h == height_) {
    BitBlt(dc, dest.left, dest.top, w, h, source.Get(), 0, 0, SRCCOPY);
  } else {
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, dest.left, dest.top, w, h, source.Get(), 0, 0, width_, height_, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
  SelectObject(source.Get(), old);
}

TPicture DecodePicture(std::span<const std::uint8_t> data) {
  static constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (data.size() >= sizeof(kPngSignature) &&
      std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin()))
    return DecodePng(data);
  if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8) return DecodeJpeg(data);
  throw Exception(L"Unknown picture format");
}
