#include "toolkit/picture.h"

#include <algorithm>
#include <cmath>

#include "base/errors.h"
#include "toolkit/graphics.h"

TGraphic::TGraphic(int width, int height, bool hasAlpha, std::span<const std::uint8_t> bgra, TAlphaForm form)
    : width_(width), height_(height), hasAlpha_(hasAlpha) {
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) throw Exception(L"Out of system resources");
  auto* out = static_cast<std::uint8_t*>(bits);
  const size_t rowPixels = static_cast<size_t>(width);
  pixels_ = {out, rowPixels * static_cast<size_t>(height) * 4};
  for (int y = 0; y < height; ++y) {
    bool opaque = true;
    for (size_t i = static_cast<size_t>(y) * rowPixels; i < (static_cast<size_t>(y) + 1) * rowPixels; ++i) {
      const std::uint8_t* p = &bgra[i * 4];
      std::uint8_t* q = &out[i * 4];
      // AlphaBlend wants premultiplied colours; opaque pixels keep theirs unchanged.
      const unsigned a = hasAlpha ? p[3] : 255u;
      if (a == 255 || form == TAlphaForm::Premultiplied) {
        q[0] = p[0], q[1] = p[1], q[2] = p[2];
      } else {
        for (int c = 0; c < 3; ++c) q[c] = static_cast<std::uint8_t>((p[c] * a + 127) / 255);
      }
      q[3] = static_cast<std::uint8_t>(a);
      opaque = opaque && a == 255;
    }
    if (bands_.empty() || bands_.back().opaque != opaque) bands_.push_back({y, 0, opaque});
    ++bands_.back().height;
  }
}

void TGraphic::DrawRows(HDC dc, HDC source, POINT at, const TRowBand& band) const {
  if (band.opaque) {
    BitBlt(dc, at.x, at.y + band.top, width_, band.height, source, 0, band.top, SRCCOPY);
  } else {
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, at.x, at.y + band.top, width_, band.height, source, 0, band.top, width_, band.height,
                  blend);
  }
}

void TGraphic::Draw(HDC dc, const RECT& dest) const {
  const UniqueMemoryDc source(CreateCompatibleDC(dc));
  const HGDIOBJ old = SelectObject(source.Get(), bitmap_.Get());
  const int w = dest.right - dest.left;
  const int h = dest.bottom - dest.top;
  if (w == width_ && h == height_) {
    for (const TRowBand& band : bands_) DrawRows(dc, source.Get(), {dest.left, dest.top}, band);
  } else if (hasAlpha_) {
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, dest.left, dest.top, w, h, source.Get(), 0, 0, width_, height_, blend);
  } else {
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, dest.left, dest.top, w, h, source.Get(), 0, 0, width_, height_, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
  SelectObject(source.Get(), old);
}

namespace {

// For each pixel of a row (or column) of `to` pixels, the source pixels of a row of `from`
// pixels that it takes, with their weights (summing to one).
struct TTap {
  int source;
  float weight;
};
std::vector<std::vector<TTap>> ResampleTaps(int from, int to) {
  const double ratio = static_cast<double>(from) / to;
  const double radius = std::max(1.0, ratio);  // a reduction widens the filter to cover every pixel
  std::vector<std::vector<TTap>> taps(static_cast<size_t>(to));
  for (int x = 0; x < to; ++x) {
    const double centre = (x + 0.5) * ratio - 0.5;
    const int first = std::max(0, static_cast<int>(std::floor(centre - radius)) + 1);
    const int last = std::min(from - 1, static_cast<int>(std::ceil(centre + radius)) - 1);
    std::vector<TTap>& pixel = taps[static_cast<size_t>(x)];
    float total = 0;
    for (int s = first; s <= last; ++s) {
      const auto weight = static_cast<float>(1.0 - std::abs(s - centre) / radius);
      if (weight <= 0) continue;
      pixel.push_back({s, weight});
      total += weight;
    }
    for (TTap& tap : pixel) tap.weight /= total;
    if (pixel.empty()) pixel.push_back({std::clamp(x, 0, from - 1), 1.0f});
  }
  return taps;
}

}  // namespace

TPicture ResizedPicture(const TPicture& picture, int width, int height) {
  const TGraphic* graphic = picture.Graphic();
  if (!graphic || width <= 0 || height <= 0) return {};
  if (width == graphic->Width() && height == graphic->Height()) return picture;
  const int sourceWidth = graphic->Width();
  const std::span<const std::uint8_t> source = graphic->Pixels();
  // Rows first, then columns; premultiplied colours, so transparent pixels add no colour.
  const auto across = ResampleTaps(sourceWidth, width);
  const auto down = ResampleTaps(graphic->Height(), height);
  std::vector<float> rows(static_cast<size_t>(width) * static_cast<size_t>(graphic->Height()) * 4);
  for (int y = 0; y < graphic->Height(); ++y)
    for (int x = 0; x < width; ++x)
      for (const TTap& tap : across[static_cast<size_t>(x)])
        for (int c = 0; c < 4; ++c)
          rows[(static_cast<size_t>(y) * width + x) * 4 + c] +=
              tap.weight * source[(static_cast<size_t>(y) * sourceWidth + tap.source) * 4 + c];
  std::vector<std::uint8_t> out(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 4; ++c) {
        float sum = 0;
        for (const TTap& tap : down[static_cast<size_t>(y)])
          sum += tap.weight * rows[(static_cast<size_t>(tap.source) * width + x) * 4 + c];
        out[(static_cast<size_t>(y) * width + x) * 4 + c] =
            static_cast<std::uint8_t>(std::clamp(sum + 0.5f, 0.0f, 255.0f));
      }
  return TPicture(
      std::make_shared<const TGraphic>(width, height, graphic->HasAlpha(), out, TAlphaForm::Premultiplied));
}

TPicture DecodePicture(std::span<const std::uint8_t> data) {
  static constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (data.size() >= sizeof(kPngSignature) &&
      std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin()))
    return DecodePng(data);
  if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8) return DecodeJpeg(data);
  throw Exception(L"Unknown picture format");
}
