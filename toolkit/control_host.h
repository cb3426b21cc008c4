#pragma once
// The pointer's side of a form: finds the windowless control under the pointer (topmost
// visible first), hands it the form's mouse messages in its own coordinates, keeps the capture
// for the control that was pressed, and tells controls when the pointer enters and leaves them,
// also while the pointer is captured.

#include <windows.h>

#include <optional>
#include <vector>

#include "toolkit/control.h"

class TControlHost {
 public:
  // `window` is the form's window handle, held by reference because the host is built before
  // the form creates its window; `controls` are its windowless controls, the first at the bottom.
  TControlHost(const HWND& window, const std::vector<TControl*>& controls)
      : window_(window), controls_(controls) {}

  TControl* ControlAtPos(POINT point) const;
  TControl* HoverControl() const { return hover_; }
  void SetCaptureControl(TControl* control);
  void ReleaseCaptureControl(TControl* control);
  // Forgets every control, before they are destroyed.
  void Forget() { hover_ = capture_ = nullptr; }

  // The form's messages for the pointer; `point` in client coordinates.
  LRESULT OnMouse(UINT message, WPARAM keys, POINT point);
  std::optional<LRESULT> OnTimer(UINT_PTR timer);
  LRESULT OnCaptureChanged(HWND newCapture);
  // The cursor of the control under the pointer, or of the captured one.
  LRESULT OnSetCursor(POINT point) const;

 private:
  void UpdateHover(POINT point);
  void SetHover(TControl* control);
  void CheckPointerLeft();

  const HWND& window_;
  const std::vector<TControl*>& controls_;
  TControl* hover_ = nullptr;
  TControl* capture_ = nullptr;
};
