#pragma once
// Windowless controls: plain objects with a rectangle on their form, painted by the form in
// creation order and fed the form's mouse messages while they are the topmost visible control
// under the pointer (or hold the capture).

#include <windows.h>

#include <string>

#include "toolkit/component.h"
#include "toolkit/control_parent.h"
#include "toolkit/graphics.h"

// The form's pointer-enter and pointer-leave notifications, sent to a control once for every
// crossing of its rectangle, also while the pointer is captured.
inline constexpr UINT CM_MOUSEENTER = 0xB013;
inline constexpr UINT CM_MOUSELEAVE = 0xB014;

// One message as a control receives it. Mouse positions are in the control's own coordinates.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A mouse message read field by field.
struct TWMMouse {
  UINT Msg = 0;
  DWORD Keys = 0;
  short XPos = 0;
  short YPos = 0;
  LRESULT Result = 0;

  static TWMMouse From(const TMessage& message);
};

TShiftState ShiftFromKeys(DWORD keys);

// What a control is to accessibility clients (screen readers). None leaves it out of the
// window's tree, as for pictures that only decorate.
enum class TAccessibleRole { None, PushButton, StaticText, Link, ColumnHeader };

class TControl : public TComponent {
 public:
  explicit TControl(TControlParent* parent) : parent_(parent) {}

  TControlParent* Parent() const { return parent_; }
  const RECT& BoundsRect() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.right - bounds_.left; }
  int Height() const { return bounds_.bottom - bounds_.top; }
  RECT ClientRect() const { return {0, 0, Width(), Height()}; }
  void SetBounds(int left, int top, int width, int height);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // The base control's enabled state. Setting it notifies (repaints) only on a change.
  bool BaseEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  HCURSOR Cursor() const { return cursor_; }
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

  // Handles one message; classes replace it to handle messages of their own and call it for
  // the rest.
  virtual void WndProc(TMessage& message);
  void Perform(TMessage& message) { WndProc(message); }

  TAccessibleRole AccessibleRole() const { return accessibleRole_; }
  void SetAccessibleRole(TAccessibleRole role) { accessibleRole_ = role; }
  // The name a client reads; by default the one set here, labels read their caption.
  virtual std::wstring AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(std::wstring name) { accessibleName_ = std::move(name); }
  // What a client's default action does: the click that the mouse gives.
  void DoDefaultAction() { Click(); }

  // Draws the control at its rectangle on a device context in form coordinates.
  virtual void Paint(HDC dc) = 0;
  // Asks the form to repaint the control's rectangle.
  void Invalidate() const;

  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseMoveEvent OnMouseMove;

 protected:
  virtual void Click();
  // Tells the form's accessibility clients of a change of this control (EVENT_OBJECT_*).
  void NotifyAccessible(DWORD event) const;

 private:
  // The messages WndProc handles, one each.
  void LeftDown();
  void LeftDoubleClick();
  void LeftUp(POINT at);
  void PointerMove(TShiftState shift, int x, int y);
  void CaptureLost();

  TControlParent* parent_;
  RECT bounds_ = {0, 0, 0, 0};
  bool visible_ = true;
  bool enabled_ = true;
  bool clickTracking_ = false;  // a left press on this control has not been released yet
  HCURSOR cursor_ = ArrowCursor();
  TAccessibleRole accessibleRole_ = TAccessibleRole::None;
  std::wstring accessibleName_;
};
