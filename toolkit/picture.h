#pragma once
// Decoded pictures. A TGraphic is an immutable 32-bit bitmap (premultiplied when it carries
// alpha); a TPicture is a value that holds one graphic or none. Copying a picture copies the
// picture, never decodes again: since a graphic never changes after decoding, copies share it.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "base/unique_handle.h"

// How the colours of pixels with alpha are given: as they are, or already multiplied by alpha.
enum class TAlphaForm { Straight, Premultiplied };

class TGraphic {
 public:
  // `bgra` holds width * height pixels, top row first, in B, G, R, A byte order.
  TGraphic(int width, int height, bool hasAlpha, std::span<const std::uint8_t> bgra,
           TAlphaForm form = TAlphaForm::Straight);
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool HasAlpha() const { return hasAlpha_; }
  // The pixels as drawn: B, G, R, A, premultiplied, top row first.
  std::span<const std::uint8_t> Pixels() const { return pixels_; }

  // Draws the whole graphic scaled into `dest`: blended over what `dc` holds when it has alpha,
  // copied opaque otherwise.
  void Draw(HDC dc, const RECT& dest) const;

 private:
  // Rows that are all opaque, or not: drawn at its own size, a picture copies its opaque rows
  // and blends only the others (a window's skin is translucent only at its rounded corners).
  struct TRowBand {
    int top;
    int height;
    bool opaque;
  };
  void DrawRows(HDC dc, HDC source, POINT at, const TRowBand& band) const;

  int width_;
  int height_;
  bool hasAlpha_;
  std::vector<TRowBand> bands_;
  UniqueBitmap bitmap_;
  std::span<const std::uint8_t> pixels_;  // the bitmap's own bits
};

class TPicture {
 public:
  TPicture() = default;
  explicit TPicture(std::shared_ptr<const TGraphic> graphic) : graphic_(std::move(graphic)) {}

  bool Empty() const { return !graphic_; }
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  const TGraphic* Graphic() const { return graphic_.get(); }
  void Draw(HDC dc, const RECT& dest) const {
    if (graphic_) graphic_->Draw(dc, dest);
  }

  // True when both hold the very same decoded graphic (or both are empty).
  friend bool operator==(const TPicture&, const TPicture&) = default;

 private:
  std::shared_ptr<const TGraphic> graphic_;
};

// Decodes PNG (8 bits per channel, RGB or RGBA) or baseline JPEG data, told apart by their
// signatures. Raises Exception for anything else or for damaged data.
TPicture DecodePicture(std::span<const std::uint8_t> data);
TPicture DecodePng(std::span<const std::uint8_t> data);
TPicture DecodeJpeg(std::span<const std::uint8_t> data);

// The picture resized to `width` x `height`, each pixel the weighted mean of the pixels under it
// (a tent filter as wide as the reduction), so that a reduction keeps edges smooth and flat
// areas their colour. Alpha is filtered with the colours it weights. Empty stays empty.
TPicture ResizedPicture(const TPicture& picture, int width, int height);

// A copy of an icon's image at its own size, transparent where the icon is; the icon stays
// the caller's. A null or monochrome icon gives the empty picture.
TPicture PictureFromIcon(HICON icon);
