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
    return false;
  }
  return true;
}

UniqueFont TFontSpec::Create() const {
  return UniqueFont(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE,
                                static_cast<DWORD>(charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
}

HCURSOR ParseCursor(const TLayoutProperty& property) {
  const std::string& name = property.Ident();
  if (name == "crDefault" || name == "crArrow") return LoadCursorW(nullptr, IDC_ARROW);
  if (name == "crHandPoint") return LoadCursorW(nullptr, IDC_HAND);
  property.Fail("unknown cursor " + name);
}
