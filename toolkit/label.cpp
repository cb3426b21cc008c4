#include "toolkit/label.h"

#include "base/system_libraries.h"

TLabel::TLabel(TControlParent* parent) : TControl(parent) {
  SetBounds(0, 0, 65, 17);
  SetAccessibleRole(TAccessibleRole::StaticText);
}

const TFontSpec& TLabel::Font() const {
  static const TFontSpec fallback;
  if (const TFontSpec* own = font_.Values()) return *own;
  return Parent() ? Parent()->Font() : fallback;
}

HFONT TLabel::FontHandle() const {
  if (const HFONT own = font_.Handle()) return own;
  return Parent() ? Parent()->FontHandle() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

UINT TLabel::DrawFlags() const {
  // Captions show names of installed programs, so '&' is text, not a mnemonic mark.
  return DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : 0);
}

void TLabel::SetCaption(const std::wstring& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  AdjustBounds();
  Invalidate();
  NotifyAccessible(EVENT_OBJECT_NAMECHANGE);
}

void TLabel::SetWordWrap(bool wordWrap) {
  wordWrap_ = wordWrap;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  AdjustBounds();
}

void TLabel::Loaded() {
  TControl::Loaded();
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || Loading()) return;
  const UniqueScreenDc screen(GetDC(nullptr));
  const HGDIOBJ old = SelectObject(screen.Get(), FontHandle());
  RECT measured = {0, 0, wordWrap_ ? Width() : 0, 0};
  // An empty caption still takes one line's height.
  const std::wstring text = caption_.empty() ? L" " : caption_;
  DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &measured, DrawFlags() | DT_CALCRECT);
  SelectObject(screen.Get(), old);
  SetBounds(Left(), Top(), wordWrap_ ? Width() : measured.right, measured.bottom);
}

void TLabel::Paint(HDC dc) {
  RECT bounds = BoundsRect();
  // An opaque label fills its rectangle, unless visual themes draw labels without one.
  if (!transparent_ && !syslib::IsThemeActive()) {
    const UniqueBrush brush(CreateSolidBrush(color_.ToColorRef()));
    FillRect(dc, &bounds, brush.Get());
  }
  const HGDIOBJ old = SelectObject(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Font().color.ToColorRef());
  DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &bounds, DrawFlags());
  SelectObject(dc, old);
}

void TLabel::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  const std::string& name = property.name;
  if (font_.Apply(property, Font(), context.Scale())) {
    AdjustBounds();
  } else if (name == "Caption") {
    SetCaption(property.Text());
  } else if (name == "AutoSize") {
    SetAutoSize(property.Bool());
  } else if (name == "WordWrap") {
    SetWordWrap(property.Bool());
  } else if (name == "Transparent") {
    transparent_ = property.Bool();
  } else if (name == "Color") {
    color_ = ParseColor(property);
  } else {
    TControl::ApplyProperty(property, context);
  }
}
