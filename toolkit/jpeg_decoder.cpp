// JPEG decoding through libjpeg. The library reports fatal errors through a callback that must
// not return; it jumps back here with longjmp, so the decoding function keeps only objects that
// were constructed before the jump target.
#include <csetjmp>

// jpeglib.h uses size_t and FILE without including their headers.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include "base/errors.h"
#include "toolkit/picture.h"

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void OnFatalError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void Silence(j_common_ptr, int) {}

// Returns false on damaged data; fills width, height and BGRA pixels otherwise.
bool Decode(std::span<const std::uint8_t> data, int& width, int& height, std::vector<std::uint8_t>& pixels) {
  jpeg_decompress_struct info = {};
  ErrorManager errors = {};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnFatalError;
  errors.base.emit_message = Silence;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &pixels[static_cast<size_t>(info.output_scanline) * static_cast<size_t>(width) * 4];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

TPicture DecodeJpeg(std::span<const std::uint8_t> data) {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  if (!Decode(data, width, height, pixels)) throw Exception(L"JPEG error");
  return TPicture(std::make_shared<const TGraphic>(width, height, false, pixels));
}
