#pragma once
// A control with a window of its own (the list view, the edit box): a child window of the form,
// always above the form's windowless controls. The form hands it the notifications that its
// window sends to the parent.

#include <windows.h>

#include <optional>
#include <string>

#include "toolkit/component.h"
#include "toolkit/graphics.h"

class TWinControl : public TComponent {
 public:
  TWinControl(const wchar_t* windowClass, DWORD style, DWORD exStyle, HWND parent, const RECT& bounds,
              int controlId);
  ~TWinControl() override;
  TWinControl(const TWinControl&) = delete;
  TWinControl& operator=(const TWinControl&) = delete;

  HWND Handle() const { return hwnd_; }
  RECT BoundsRect() const;
  void SetBounds(const RECT& bounds);
  int TabOrder() const { return tabOrder_; }
  bool Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
  void SetFont(HFONT font);
  // The name that accessibility clients read, where the window's own text is not one (an edit
  // box's text is its value); empty leaves the name to the system.
  const std::wstring& AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(std::wstring name) { accessibleName_ = std::move(name); }

  // A message that this control's window sent to its parent (WM_NOTIFY, WM_COMMAND,
  // WM_CONTEXTMENU). Returns true when handled, with the result in `result`.
  virtual bool HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;
  void Loaded() override;

 private:
  HWND hwnd_;
  TOwnFont font_;
  // While loading, the bounds and the font that Loaded gives the window: each move or font
  // change makes a control such as the list lay itself out again.
  std::optional<RECT> loadingBounds_;
  HFONT loadingFont_ = nullptr;
  int tabOrder_ = -1;
  std::wstring accessibleName_;
};
