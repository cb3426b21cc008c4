#include "toolkit/control.h"

#include <windowsx.h>

#include "toolkit/graphics.h"

TWMMouse TWMMouse::From(const TMessage& message) {
  TWMMouse mouse;
  mouse.Msg = message.Msg;
  mouse.Keys = static_cast<DWORD>(message.WParam);
  mouse.XPos = static_cast<short>(GET_X_LPARAM(message.LParam));
  mouse.YPos = static_cast<short>(GET_Y_LPARAM(message.LParam));
  mouse.Result = message.Result;
  return mouse;
}

TShiftState ShiftFromKeys(DWORD keys) {
  TShiftState shift;
  shift.left = (keys & MK_LBUTTON) != 0;
  shift.right = (keys & MK_RBUTTON) != 0;
  shift.middle = (keys & MK_MBUTTON) != 0;
  shift.shift = (keys & MK_SHIFT) != 0;
  shift.ctrl = (keys & MK_CONTROL) != 0;
  return shift;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  const RECT next = {left, top, left + width, top + height};
  if (EqualRect(&next, &bounds_)) return;
  Invalidate();
  bounds_ = next;
  Invalidate();
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (parent_) parent_->InvalidateRect(bounds_);
  NotifyAccessible(visible ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
}

void TControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
  NotifyAccessible(EVENT_OBJECT_STATECHANGE);
}

void TControl::NotifyAccessible(DWORD event) const {
  if (parent_ && accessibleRole_ != TAccessibleRole::None && !Loading())
    parent_->NotifyAccessible(*this, event);
}

void TControl::Invalidate() const {
  if (parent_ && visible_) parent_->InvalidateRect(bounds_);
}

void TControl::WndProc(TMessage& message) {
  const TWMMouse mouse = TWMMouse::From(message);
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
      return LeftDown();
    case WM_LBUTTONDBLCLK:
      return LeftDoubleClick();
    case WM_LBUTTONUP:
      return LeftUp({mouse.XPos, mouse.YPos});
    case WM_MOUSEMOVE:
      return PointerMove(ShiftFromKeys(mouse.Keys), mouse.XPos, mouse.YPos);
    case WM_CAPTURECHANGED:
      return CaptureLost();
    default:
      return;
  }
}

void TControl::LeftDown() {
  if (parent_) parent_->SetCaptureControl(this);
  clickTracking_ = true;
}

void TControl::LeftDoubleClick() {
  // The second press of a double click captures like a press but does not start a click.
  if (parent_) parent_->SetCaptureControl(this);
  if (OnDblClick) OnDblClick(*this);
}

void TControl::LeftUp(POINT at) {
  if (parent_) parent_->ReleaseCaptureControl(this);
  const bool tracking = std::exchange(clickTracking_, false);
  const RECT client = ClientRect();
  if (tracking && PtInRect(&client, at)) Click();
}

void TControl::PointerMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TControl::CaptureLost() {
  // The form took the capture away (another window grabbed it): no click can follow.
  clickTracking_ = false;
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

void TControl::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  if (context.BindEvent(property, "OnClick", OnClick) ||
      context.BindEvent(property, "OnDblClick", OnDblClick) ||
      context.BindEvent(property, "OnMouseMove", OnMouseMove))
    return;
  const std::string& name = property.name;
  if (RECT bounds = bounds_; ApplyBoundsProperty(property, context.Scale(), bounds)) {
    SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  } else if (name == "Visible") {
    SetVisible(property.Bool());
  } else if (name == "Enabled") {
    SetEnabled(property.Bool());
  } else if (name == "Cursor") {
    SetCursor(ParseCursor(property));
  } else {
    TComponent::ApplyProperty(property, context);
  }
}
