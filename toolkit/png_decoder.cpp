// PNG decoding through libpng's simplified reader, which expands every 8-bit layout to BGRA.
#include <png.h>

#include "base/errors.h"
#include "toolkit/picture.h"

TPicture DecodePng(std::span<const std::uint8_t> data) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size()))
    throw Exception(L"Bitmap image is not valid");
  const bool hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  // Plain (not linear) BGRA: 8-bit sRGB samples come through unchanged.
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    throw Exception(L"Bitmap image is not valid");
  }
  return TPicture(std::make_shared<const TGraphic>(static_cast<int>(image.width),
                                                   static_cast<int>(image.height), hasAlpha, pixels));
}
