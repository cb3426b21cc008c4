#include "toolkit/image.h"

TImage::TImage(TControlParent* parent) : TControl(parent) {
  SetBounds(0, 0, 105, 105);
}

void TImage::SetPicture(const TPicture& picture) {
  picture_ = picture;
  FitToPicture();
  Invalidate();
}

void TImage::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitToPicture();
}

void TImage::SetStretch(bool stretch) {
  stretch_ = stretch;
  Invalidate();
}

void TImage::FitToPicture() {
  if (autoSize_ && !picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
}

void TImage::Paint(HDC dc) {
  if (picture_.Empty()) return;
  const RECT& bounds = BoundsRect();
  if (stretch_) {
    picture_.Draw(dc, bounds);
    return;
  }
  // Natural size, clipped to the control.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
  const RECT natural = {bounds.left, bounds.top, bounds.left + picture_.Width(),
                        bounds.top + picture_.Height()};
  picture_.Draw(dc, natural);
  RestoreDC(dc, saved);
}

void TImage::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  const std::string& name = property.name;
  if (name == "Picture") {
    SetPicture(context.Picture(property));
  } else if (name == "AutoSize") {
    SetAutoSize(property.Bool());
  } else if (name == "Stretch") {
    SetStretch(property.Bool());
  } else if (name == "Transparent") {
    transparent_ = property.Bool();
  } else {
    TControl::ApplyProperty(property, context);
  }
}
