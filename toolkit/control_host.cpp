#include "toolkit/control_host.h"

#include <utility>

namespace {

// The host looks for the pointer having left the form by polling, while a control is hovered.
// The system's own leave notification comes late under Wine (it polls at the hover interval,
// about 400 ms), which would leave a button lit well after the pointer has gone.
constexpr UINT_PTR kLeaveTimer = 1;
constexpr UINT kLeavePollMs = 50;

}  // namespace

TControl* TControlHost::ControlAtPos(POINT point) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    const TControl* control = *it;
    if (control->Visible() && PtInRect(&control->BoundsRect(), point)) return *it;
  }
  return nullptr;
}

void TControlHost::SetCaptureControl(TControl* control) {
  capture_ = control;
  SetCapture(window_);
}

void TControlHost::ReleaseCaptureControl(TControl* control) {
  if (capture_ != control) return;
  capture_ = nullptr;
  if (GetCapture() == window_) ReleaseCapture();
}

void TControlHost::SetHover(TControl* control) {
  if (control == hover_) return;
  TControl* left = std::exchange(hover_, control);
  TMessage leave{CM_MOUSELEAVE};
  TMessage enter{CM_MOUSEENTER};
  if (left) left->Perform(leave);
  if (control) control->Perform(enter);
}

void TControlHost::UpdateHover(POINT point) {
  // Over a child window (the list, the edit box) or outside the form no windowless control
  // is under the pointer; this also holds while the pointer is captured.
  const HWND under = ChildWindowFromPointEx(window_, point, CWP_SKIPINVISIBLE);
  SetHover(under == window_ ? ControlAtPos(point) : nullptr);
}

void TControlHost::CheckPointerLeft() {
  // While the pointer is captured every move reaches the form, outside it too.
  if (capture_) return;
  POINT point;
  GetCursorPos(&point);
  if (WindowFromPoint(point) == window_) return;
  KillTimer(window_, kLeaveTimer);
  SetHover(nullptr);
}

LRESULT TControlHost::OnMouse(UINT message, WPARAM keys, POINT point) {
  UpdateHover(point);
  if (hover_) SetTimer(window_, kLeaveTimer, kLeavePollMs, nullptr);
  TControl* target = capture_ ? capture_ : ControlAtPos(point);
  if (!target || (!capture_ && !target->BaseEnabled())) return 0;
  TMessage forwarded{message, keys, MAKELPARAM(point.x - target->Left(), point.y - target->Top())};
  target->Perform(forwarded);
  return 0;
}

std::optional<LRESULT> TControlHost::OnTimer(UINT_PTR timer) {
  if (timer != kLeaveTimer) return std::nullopt;
  CheckPointerLeft();
  return 0;
}

LRESULT TControlHost::OnCaptureChanged(HWND newCapture) {
  if (capture_ && newCapture != window_) {
    TControl* lost = std::exchange(capture_, nullptr);
    TMessage changed{WM_CAPTURECHANGED};
    lost->Perform(changed);
  }
  return 0;
}

LRESULT TControlHost::OnSetCursor(POINT point) const {
  const TControl* control = capture_ ? capture_ : ControlAtPos(point);
  SetCursor(control ? control->Cursor() : ArrowCursor());
  return TRUE;
}
