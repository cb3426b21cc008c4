// Picture decoding of damaged data: each decoder reports it as the program's error, whether the
// library says so by a result (libpng) or by jumping out of its reader (libjpeg), and leaves
// nothing behind that spoils the next picture. And drawing: a picture that copies its opaque
// rows draws what one blend of the whole would.
#include "toolkit/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/errors.h"
#include "tests/support/drawn_pixels.h"
#include "toolkit/graphics.h"
#include "toolkit/resource.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Resource(const wchar_t* name) {
  const auto bytes = ResourceBytes(GetModuleHandleW(nullptr), name);
  return Bytes(bytes.begin(), bytes.end());
}

std::wstring DecodeError(const Bytes& data) {
  try {
    DecodePicture(data);
  } catch (const Exception& e) {
    return e.Message();
  }
  return L"(decoded)";
}

TEST(PictureDecoding, DamagedPngDataIsAnErrorAndTheNextPictureDecodes) {
  const Bytes png = Resource(L"SKIN_PNG");
  // The signature alone, a header whose check sum fails (a byte of the width changed), and rows
  // cut off half way: the first two fail as the header is read, the last as the rows are.
  EXPECT_EQ(DecodeError(Bytes(png.begin(), png.begin() + 8)), L"Bitmap image is not valid");
  Bytes badHeader = png;
  badHeader[17] ^= 0x01;
  EXPECT_EQ(DecodeError(badHeader), L"Bitmap image is not valid");
  EXPECT_EQ(DecodeError(Bytes(png.begin(), png.begin() + png.size() / 2)), L"Bitmap image is not valid");
  const TPicture decoded = DecodePicture(png);
  EXPECT_EQ(decoded.Width(), 870);
  EXPECT_EQ(decoded.Height(), 619);
  EXPECT_EQ(DecodeError({'G', 'I', 'F', '8', '9', 'a'}), L"Unknown picture format");
}

TEST(PictureDecoding, DamagedJpegDataIsAnErrorAndTheNextPictureDecodes) {
  const Bytes jpeg = Resource(L"DEFAULT_ICON_JPG");
  // The start marker alone: the reader meets the end of the data and finds no image.
  EXPECT_EQ(DecodeError({0xFF, 0xD8}), L"JPEG error");
  // A frame of no lines: its height (after the marker, length, precision) made zero.
  const Bytes frameMarker = {0xFF, 0xC0};
  const auto frame = std::search(jpeg.begin(), jpeg.end(), frameMarker.begin(), frameMarker.end());
  ASSERT_NE(frame, jpeg.end());
  Bytes noLines = jpeg;
  const auto height = static_cast<size_t>(frame - jpeg.begin()) + 5;
  noLines[height] = noLines[height + 1] = 0;
  EXPECT_EQ(DecodeError(noLines), L"JPEG error");
  // After both jumps out of the library, a good picture decodes whole, twice.
  for (int i = 0; i < 2; ++i) {
    const TPicture decoded = DecodePicture(jpeg);
    EXPECT_EQ(decoded.Width(), 34);
    EXPECT_EQ(decoded.Height(), 36);
    EXPECT_FALSE(decoded.Graphic()->HasAlpha());
  }
}

// 20 x 20 pixels over a grey background, drawn by `draw` into a memory DC.
template <typename Draw>
std::vector<std::uint32_t> Drawn(Draw draw) {
  return testsupport::DrawnPixels(RGB(90, 140, 200), draw);
}

TEST(PictureDrawing, OpaqueRowsCopiedAndTheOthersBlendedDrawWhatOneBlendOfTheWholeDraws) {
  // Rows of alpha 0, 255, 255, 100, 255 and 200, each pixel of another colour.
  constexpr int kWidth = 5;
  const std::uint8_t alphas[] = {0, 255, 255, 100, 255, 200};
  constexpr int kHeight = static_cast<int>(sizeof(alphas));
  Bytes bgra;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      bgra.insert(bgra.end(), {static_cast<std::uint8_t>(40 * x), static_cast<std::uint8_t>(30 * y),
                               static_cast<std::uint8_t>(250 - 20 * x), alphas[y]});
  const TGraphic graphic(kWidth, kHeight, true, bgra);
  const RECT dest = {7, 3, 7 + kWidth, 3 + kHeight};
  const auto banded = Drawn([&](HDC dc) { graphic.Draw(dc, dest); });

  const BITMAPINFO info = TopDownBitmapInfo(kWidth, kHeight);
  void* bits = nullptr;
  const UniqueBitmap whole(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  std::copy(graphic.Pixels().begin(), graphic.Pixels().end(), static_cast<std::uint8_t*>(bits));
  const auto blended = Drawn([&](HDC dc) {
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    const HGDIOBJ old = SelectObject(source.Get(), whole.Get());
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, dest.left, dest.top, kWidth, kHeight, source.Get(), 0, 0, kWidth, kHeight, blend);
    SelectObject(source.Get(), old);
  });
  EXPECT_EQ(banded, blended);
  // The transparent first row left the background; the opaque second row is the picture's own.
  EXPECT_EQ(banded[3 * 20 + 7] & 0xFFFFFF, 0x5A8CC8u);
  EXPECT_EQ(banded[4 * 20 + 8] & 0xFFFFFF, 0xE61E28u);
}

}  // namespace
