// The form's keys: a key pressed anywhere in the form reaches the form's OnKeyDown before the
// child window with the focus, as window-wide keys need (F5 in the list and in the search box).
#include "toolkit/form.h"

bool TForm::PreviewKey(const MSG& message) {
  if (!OnKeyDown || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
  return SendMessageW(hwnd_, kPreviewKeyMessage, message.wParam, message.lParam) != 0;
}

LRESULT TForm::OnPreviewKey(WORD key) {
  if (!OnKeyDown) return FALSE;
  // The keys' state as of the message being handled, which is the key's own.
  TShiftState shift;
  shift.shift = GetKeyState(VK_SHIFT) < 0;
  shift.ctrl = GetKeyState(VK_CONTROL) < 0;
  OnKeyDown(*this, key, shift);
  return key == 0;
}
