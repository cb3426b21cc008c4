#include "toolkit/win_control.h"

#include <utility>

TWinControl::TWinControl(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent,
                         const RECT& bounds, int controlId)
    : hwnd_(CreateWindowExW(exStyle, windowClass, L"", style, bounds.left, bounds.top,
                            bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                            GetModuleHandleW(nullptr), nullptr)) {}

TWinControl::~TWinControl() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

RECT TWinControl::BoundsRect() const {
  if (loadingBounds_) return *loadingBounds_;
  RECT bounds = {};
  GetWindowRect(hwnd_, &bounds);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

void TWinControl::SetBounds(const RECT& bounds) {
  if (Loading()) {
    loadingBounds_ = bounds;
    return;
  }
  MoveWindow(hwnd_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

void TWinControl::SetFont(HFONT font) {
  if (Loading()) {
    loadingFont_ = font;
    return;
  }
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void TWinControl::Loaded() {
  TComponent::Loaded();
  if (loadingBounds_) SetBounds(*std::exchange(loadingBounds_, std::nullopt));
  if (loadingFont_) SetFont(std::exchange(loadingFont_, nullptr));
}

bool TWinControl::HandleParentMessage(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

void TWinControl::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  const std::string& name = property.name;
  if (RECT bounds = BoundsRect(); ApplyBoundsProperty(property, context.Scale(), bounds)) {
    SetBounds(bounds);
  } else if (name == "TabOrder") {
    tabOrder_ = property.Int();
  } else if (font_.Apply(property, context.Font(), context.Scale())) {
    SetFont(font_.Handle());
  } else if (name == "Ctl3D" || name == "ParentCtl3D") {
    // Only the flat one-pixel border is supported.
    if (property.Bool()) property.Fail("only a flat border is supported");
  } else if (name == "BevelInner" || name == "BevelOuter") {
    // A bevel is drawn only by a raised or lowered border kind; none of ours has one.
    property.Ident();
  } else {
    TComponent::ApplyProperty(property, context);
  }
}
