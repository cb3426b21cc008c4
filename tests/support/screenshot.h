#pragma once
// A window's pixels as shown on the screen, taken from the screen itself (so whatever covers
// the window is in the picture too), and written out as PNG.

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/unique_handle.h"

namespace testsupport {

// Top row first, B G R x.
class Screenshot {
 public:
  explicit Screenshot(HWND window);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // A pixel in the window's coordinates.
  COLORREF At(int x, int y) const;
  // Writes the picture, opaque, to `path`; a failure is a test failure.
  void SavePng(const std::string& path) const;

 private:
  RECT rect_ = {};
  int width_ = 0;
  int height_ = 0;
  UniqueBitmap bitmap_;
  const std::uint8_t* pixels_ = nullptr;
};

// Saves a picture of `window` as ARTIFACT_FOLDER/<name>.png, creating the folder.
void SaveArtifact(HWND window, const std::string& artifactFolder, const std::string& name);

}  // namespace testsupport
