#include "toolkit/edit.h"

TEdit::TEdit(HWND parent, const RECT& bounds)
    : TWinControl(L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, parent, bounds,
                  0) {}

std::wstring TEdit::Text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(Handle())) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
  return text;
}

void TEdit::SetText(const std::wstring& text) {
  SetWindowTextW(Handle(), text.c_str());
}

TEdit::TRange TEdit::Selection() const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

void TEdit::SetSelection(TRange range) {
  SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(range.start), static_cast<LPARAM>(range.end));
}

bool TEdit::HandleParentMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return false;
  if (OnChange) OnChange(*this);
  result = 0;
  return true;
}

void TEdit::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  if (property.name == "Text") {
    SetText(property.Text());
  } else if (property.name == "OnChange") {
    OnChange = context.Handler<TNotifyEvent>(property);
  } else {
    TWinControl::ApplyProperty(property, context);
  }
}
