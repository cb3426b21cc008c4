// The form's accessible tree: which controls are its children, under which ids, and what each
// kind of child is to a client.
#include "toolkit/form_accessible.h"
// clang-format off
#include <commctrl.h>
// clang-format on

#include <iterator>
#include <optional>
#include <string>

#include "base/system_libraries.h"
#include "toolkit/form.h"

namespace {

std::optional<TAccessibleChild> AsAccessibleChild(TComponent& component) {
  if (auto* control = dynamic_cast<TControl*>(&component)) {
    if (control->Visible() && control->AccessibleRole() != TAccessibleRole::None)
      return TAccessibleChild{control, nullptr};
  } else if (auto* window = dynamic_cast<TWinControl*>(&component)) {
    if (window->Visible()) return TAccessibleChild{nullptr, window};
  }
  return std::nullopt;
}

bool IsClass(HWND window, const wchar_t* className) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return _wcsicmp(name, className) == 0;
}

}  // namespace

VARIANT ChildVariant(long id) {
  VARIANT v;
  syslib::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::vector<TAccessibleChild> AccessibleChildren(const TForm& form) {
  std::vector<TAccessibleChild> children;
  for (const auto& component : form.Components()) {
    if (const auto child = AsAccessibleChild(*component)) children.push_back(*child);
  }
  return children;
}

LONG AccessibleChildId(const TForm& form, const TControl& control) {
  LONG id = 1;
  for (const auto& component : form.Components()) {
    if (component.get() == &control) break;
    if (AsAccessibleChild(*component)) ++id;
  }
  return id;
}

long AccessibleRoleOf(TAccessibleRole role) {
  switch (role) {
    case TAccessibleRole::PushButton:
      return ROLE_SYSTEM_PUSHBUTTON;
    case TAccessibleRole::StaticText:
      return ROLE_SYSTEM_STATICTEXT;
    case TAccessibleRole::Link:
      return ROLE_SYSTEM_LINK;
    case TAccessibleRole::ColumnHeader:
      return ROLE_SYSTEM_COLUMNHEADER;
    case TAccessibleRole::None:
      break;
  }
  return ROLE_SYSTEM_CLIENT;
}

const wchar_t* AccessibleDefaultAction(TAccessibleRole role) {
  switch (role) {
    case TAccessibleRole::PushButton:
      return L"Press";
    case TAccessibleRole::Link:
      return L"Jump";
    case TAccessibleRole::ColumnHeader:
      return L"Click";
    default:
      return nullptr;
  }
}

std::optional<long> AccessibleWindowRole(HWND window) {
  if (IsClass(window, WC_LISTVIEWW)) return ROLE_SYSTEM_LIST;
  if (IsClass(window, L"Edit")) return ROLE_SYSTEM_TEXT;
  return std::nullopt;
}

long AccessibleWindowState(HWND window) {
  long flags = 0;
  if (GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) flags |= STATE_SYSTEM_FOCUSABLE;
  const HWND focus = GetFocus();
  if (focus && (focus == window || IsChild(window, focus))) flags |= STATE_SYSTEM_FOCUSED;
  if (!IsWindowEnabled(window)) flags |= STATE_SYSTEM_UNAVAILABLE;
  return flags;
}

std::wstring AccessibleWindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}
