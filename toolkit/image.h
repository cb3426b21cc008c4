#pragma once
// The picture control: shows one picture, at its natural size from the top-left corner, scaled
// to the control (Stretch), or with the control sized to the picture (AutoSize).

#include "toolkit/control.h"

class TImage : public TControl {
 public:
  explicit TImage(TControlParent* parent);

  const TPicture& Picture() const { return picture_; }
  // Shows `picture`; with AutoSize a non-empty picture also resizes the control to it, keeping
  // its left and top.
  void SetPicture(const TPicture& picture);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  bool Transparent() const { return transparent_; }

  void Paint(HDC dc) override;
  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;

 private:
  void FitToPicture();

  TPicture picture_;
  bool autoSize_ = false;
  bool stretch_ = false;
  // Kept as stored; alpha in the picture itself decides what shows through.
  bool transparent_ = false;
};
