#pragma once
// The one-line edit box with a flat one-pixel border and a change notification.

#include "toolkit/win_control.h"

class TEdit : public TWinControl {
 public:
  TEdit(HWND parent, const RECT& bounds);

  std::wstring Text() const;
  void SetText(const std::wstring& text);
  // The selected characters, [start, end); an empty range is the caret's place.
  struct TRange {
    int start = 0;
    int end = 0;
  };
  TRange Selection() const;
  void SetSelection(TRange range);
  void SelectAll() { SetSelection({0, -1}); }

  // Runs after every change of the text: typed, deleted, cut, pasted or set.
  TNotifyEvent OnChange;

  bool HandleParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;
};
