#pragma once
// What a windowless control needs from the window it sits on (the form): repainting, the
// pointer's capture, accessibility events and the font its text inherits. The form implements
// it, so that the controls need not know the form.

#include <windows.h>

#include "toolkit/graphics.h"

class TControl;

class TControlParent {
 public:
  // Repaints a rectangle of the parent's client area.
  virtual void InvalidateRect(const RECT& rect) const = 0;
  // Mouse messages go to `control` until it releases the capture.
  virtual void SetCaptureControl(TControl* control) = 0;
  virtual void ReleaseCaptureControl(TControl* control) = 0;
  // Raises an accessibility event for `control`, as the child the tree has (or had) it.
  virtual void NotifyAccessible(const TControl& control, DWORD event) const = 0;
  // The font of the parent, which a control without a font of its own draws its text in.
  virtual const TFontSpec& Font() const = 0;
  virtual HFONT FontHandle() const = 0;

 protected:
  ~TControlParent() = default;
};
