#pragma once
// The text label: one caption in a font and colour, left-aligned, optionally word-wrapped
// within its width, sized to its text unless AutoSize is off.

#include "toolkit/control.h"
#include "toolkit/graphics.h"

class TLabel : public TControl {
 public:
  explicit TLabel(TControlParent* parent);

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wordWrap);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  bool Transparent() const { return transparent_; }
  // The label's own font, or the form's when it has none.
  const TFontSpec& Font() const;

  std::wstring AccessibleName() const override { return caption_; }
  void Paint(HDC dc) override;
  void Loaded() override;
  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;

 private:
  HFONT FontHandle() const;
  UINT DrawFlags() const;
  // With AutoSize, fits the rectangle to the caption: the height to the wrapped lines when
  // WordWrap is on (the width stays), both otherwise.
  void AdjustBounds();

  std::wstring caption_;
  TOwnFont font_;
  TColor color_ = TColor::System(COLOR_BTNFACE);
  bool transparent_ = false;
  bool wordWrap_ = false;
  bool autoSize_ = true;
};
