// Picture decoding of damaged data: each decoder reports it as the program's error, whether the
// library says so by a result (libpng) or by jumping out of its reader (libjpeg), and leaves
// nothing behind that spoils the next picture.
#include "toolkit/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/errors.h"
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

}  // namespace
