#pragma once
// The screen's density against the layout's: layouts and pictures are drawn at 96 pixels per
// inch, and a window on a denser screen is built larger by dpi / 96, every size and picture
// with it, so that it keeps its proportions and stays crisp.

#include <windows.h>

class TScale {
 public:
  static constexpr int kLayoutDpi = 96;

  constexpr TScale() = default;
  // A density the system does not report (0 or less) counts as the layout's own.
  explicit constexpr TScale(int dpi) : dpi_(dpi > 0 ? dpi : kLayoutDpi) {}

  int Dpi() const { return dpi_; }
  // A length of the layout in screen pixels, rounded half away from zero.
  int Pixels(int layoutPixels) const { return MulDiv(layoutPixels, dpi_, kLayoutDpi); }

  // The density of the screen as this process sees it.
  static TScale OfScreen();

  friend bool operator==(const TScale&, const TScale&) = default;

 private:
  int dpi_ = kLayoutDpi;
};

// Tells the system that the program scales its windows itself, so that the system neither
// stretches them as bitmaps nor reports 96 pixels per inch on a denser screen: per monitor where
// the system offers it, so that a window moved to a screen of another density is told so, else
// for the system's density. Call before the first window is made.
void DeclareDpiAware();
