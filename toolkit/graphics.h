#pragma once
// Colours, fonts and cursors as a layout description names them.

#include <windows.h>

#include <optional>
#include <string>

#include "base/unique_handle.h"
#include "toolkit/layout.h"
#include "toolkit/scale.h"

// A colour is either fixed RGB or one of the desktop's system colours.
struct TColor {
  bool system = false;
  COLORREF rgb = 0;  // for fixed colours
  int index = 0;     // COLOR_* for system colours

  COLORREF ToColorRef() const { return system ? GetSysColor(index) : rgb; }
  static TColor Rgb(BYTE r, BYTE g, BYTE b) { return {false, RGB(r, g, b), 0}; }
  static TColor System(int index) { return {true, 0, index}; }
  friend bool operator==(const TColor&, const TColor&) = default;
};

// clWhite, clSilver, clBlue, clBlack, clWindowText, clBtnFace, or a number 0xBBGGRR.
TColor ParseColor(const TLayoutProperty& property);

struct TFontSpec {
  std::wstring name = L"Tahoma";
  int height = -11;  // negative: character height in layout pixels
  int charset = DEFAULT_CHARSET;
  TColor color = TColor::System(COLOR_WINDOWTEXT);
  bool bold = false;
  bool italic = false;
  bool underline = false;

  // Applies one "Font.*" property; returns false if `property` is not a font property, and
  // raises ELayoutError for a font property it does not know.
  bool Apply(const TLayoutProperty& property);
  // The font at the screen size that `scale` gives the layout's height.
  UniqueFont Create(TScale scale) const;
  friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

// A control's own font. It starts as a copy of the font the control has so far (the form's)
// when the first "Font.*" property names it; until then the control draws with that one.
class TOwnFont {
 public:
  // Applies `property` when it is a font property; returns whether it was one.
  bool Apply(const TLayoutProperty& property, const TFontSpec& inherited, TScale scale);
  const TFontSpec* Values() const { return spec_ ? &*spec_ : nullptr; }
  HFONT Handle() const { return handle_.Get(); }

 private:
  std::optional<TFontSpec> spec_;
  UniqueFont handle_;
};

// A "Left", "Top", "Width" or "Height" property, in layout pixels, applied to `bounds` in screen
// pixels; returns false for any other property.
bool ApplyBoundsProperty(const TLayoutProperty& property, TScale scale, RECT& bounds);

// The header of a top-down 32-bit bitmap of this size, as DIB sections and bitmap reads take it.
BITMAPINFO TopDownBitmapInfo(int width, int height);

// The system's arrow cursor.
HCURSOR ArrowCursor();
// crDefault, crArrow, crHandPoint.
HCURSOR ParseCursor(const TLayoutProperty& property);
