#include "toolkit/graphics.h"

TColor ParseColor(const TLayoutProperty& property) {
  if (const int* value = std::get_if<int>(&property.value)) {
    const auto v = static_cast<unsigned>(*value);
    return TColor::Rgb(static_cast<BYTE>(v & 0xFF), static_cast<BYTE>((v >> 8) & 0xFF),
                       static_cast<BYTE>((v >> 16) & 0xFF));
  }
  const std::string& name = property.Ident();
  if (name == "clWhite") return TColor::Rgb(255, 255, 255);
  if (name == "clSilver") return TColor::Rgb(192, 192, 192);
  if (name == "clBlue") return TColor::Rgb(0, 0, 255);
  if (name == "clBlack") return TColor::Rgb(0, 0, 0);
  if (name == "clWindowText") return TColor::System(COLOR_WINDOWTEXT);
  if (name == "clBtnFace") return TColor::System(COLOR_BTNFACE);
  if (name == "clWindow") return TColor::System(COLOR_WINDOW);
  property.Fail("unknown colour " + name);
}

bool TFontSpec::Apply(const TLayoutProperty& property) {
  const std::string& key = property.name;
  if (!key.starts_with("Font.")) return false;
  if (key == "Font.Name") {
    name = property.Text();
  } else if (key == "Font.Height") {
    height = property.Int();
  } else if (key == "Font.Color") {
    color = ParseColor(property);
  } else if (key == "Font.Charset") {
    const std::string& value = property.Ident();
    if (value == "ANSI_CHARSET") {
      charset = ANSI_CHARSET;
    } else if (value == "DEFAULT_CHARSET") {
      charset = DEFAULT_CHARSET;
    } else {
      property.Fail("unknown character set " + value);
    }
  } else if (key == "Font.Style") {
    bold = italic = underline = false;
    for (const std::string& style : property.Set()) {
      if (style == "fsBold") {
        bold = true;
      } else if (style == "fsItalic") {
        italic = true;
      } else if (style == "fsUnderline") {
        underline = true;
      } else {
        property.Fail("unknown font style " + style);
      }
    }
  } else {
    property.Fail("unknown font property");
  }
  return true;
}

bool TOwnFont::Apply(const TLayoutProperty& property, const TFontSpec& inherited, TScale scale) {
  TFontSpec next = spec_.value_or(inherited);
  if (!next.Apply(property)) return false;
  spec_ = std::move(next);
  handle_ = spec_->Create(scale);
  return true;
}

bool ApplyBoundsProperty(const TLayoutProperty& property, TScale scale, RECT& bounds) {
  const std::string& name = property.name;
  if (name == "Left") {
    OffsetRect(&bounds, scale.Pixels(property.Int()) - bounds.left, 0);
  } else if (name == "Top") {
    OffsetRect(&bounds, 0, scale.Pixels(property.Int()) - bounds.top);
  } else if (name == "Width") {
    bounds.right = bounds.left + scale.Pixels(property.Int());
  } else if (name == "Height") {
    bounds.bottom = bounds.top + scale.Pixels(property.Int());
  } else {
    return false;
  }
  return true;
}

BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

UniqueFont TFontSpec::Create(TScale scale) const {
  return UniqueFont(CreateFontW(scale.Pixels(height), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline,
                                FALSE, static_cast<DWORD>(charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
}

// The system's cursors are shared and never destroyed, so one load serves every control; under
// Wine each load asks the display for the cursor's size.
HCURSOR ArrowCursor() {
  static const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  return arrow;
}

HCURSOR ParseCursor(const TLayoutProperty& property) {
  const std::string& name = property.Ident();
  if (name == "crDefault" || name == "crArrow") return ArrowCursor();
  if (name == "crHandPoint") {
    static const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    return hand;
  }
  property.Fail("unknown cursor " + name);
}
