#include "tests/support/screenshot.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <vector>

#include "toolkit/graphics.h"

namespace testsupport {

Screenshot::Screenshot(HWND window) {
  GetWindowRect(window, &rect_);
  width_ = rect_.right - rect_.left;
  height_ = rect_.bottom - rect_.top;
  BITMAPINFO info = TopDownBitmapInfo(width_, height_);
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  pixels_ = static_cast<const std::uint8_t*>(bits);
  const UniqueScreenDc screen(GetDC(nullptr));
  const UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  const HGDIOBJ old = SelectObject(memory.Get(), bitmap_.Get());
  BitBlt(memory.Get(), 0, 0, width_, height_, screen.Get(), rect_.left, rect_.top, SRCCOPY);
  SelectObject(memory.Get(), old);
}

COLORREF Screenshot::At(int x, int y) const {
  const std::uint8_t* p =
      pixels_ + (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 4;
  return RGB(p[2], p[1], p[0]);
}

void Screenshot::SavePng(const std::string& path) const {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width_);
  image.height = static_cast<png_uint_32>(height_);
  image.format = PNG_FORMAT_BGRA;
  // The capture has no alpha; write it opaque.
  std::vector<std::uint8_t> opaque(pixels_,
                                   pixels_ + static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
  for (size_t i = 3; i < opaque.size(); i += 4) opaque[i] = 255;
  ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, opaque.data(), 0, nullptr)) << image.message;
}

void SaveArtifact(HWND window, const std::string& artifactFolder, const std::string& name) {
  std::filesystem::create_directories(artifactFolder);
  Screenshot(window).SavePng(artifactFolder + "/" + name + ".png");
}

}  // namespace testsupport
