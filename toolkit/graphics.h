#pragma once
// Colours, fonts and cursors as a layout description names them.

#include <windows.h>

#include <string>

#include "base/unique_handle.h"
#include "toolkit/layout.h"

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
  int height = -11;  // negative: character height in pixels
  int charset = DEFAULT_CHARSET;
  TColor color = TColor::System(COLOR_WINDOWTEXT);
  bool bold = false;
  bool italic = false;
  bool underline = false;

  // Applies one "Font.*" property; returns false if `property` is not a font property.
  bool Apply(const TLayoutProperty& property);
  UniqueFont Create() const;
  friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

// crDefault, crArrow, crHandPoint.
HCURSOR ParseCursor(const TLayoutProperty& property);
