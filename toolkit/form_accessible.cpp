// The interface identifiers of oleacc are defined here, once for the program: without them
// MinGW resolves __uuidof(IAccessible) wrongly and every query fails.
#include "toolkit/form_accessible.h"

#include <initguid.h>

#include <optional>
#include <string>

#include "base/system_libraries.h"
#include "base/unique_handle.h"
#include "toolkit/form.h"

namespace {

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
  *out = syslib::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnNoText(BSTR* out) {
  *out = nullptr;
  return S_FALSE;
}

// Asks the system's accessible object of a child window, which answers for that window.
template <typename Question>
HRESULT AskWindow(const TWinControl& window, Question question) {
  UniqueCom<IAccessible> object;
  const HRESULT found =
      syslib::AccessibleObjectFromWindow(window.Handle(), static_cast<DWORD>(OBJID_WINDOW),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(object.Put()));
  if (FAILED(found) || !object) return FAILED(found) ? found : E_FAIL;
  return question(*object.Get(), ChildVariant(CHILDID_SELF));
}

// One child of the tree, looked up from a client's VARIANT.
struct TChildRef {
  HRESULT status = S_OK;  // E_INVALIDARG for an id that names nothing
  bool self = false;      // CHILDID_SELF: the form's client area itself
  TControl* control = nullptr;
  TWinControl* window = nullptr;
};

TChildRef Resolve(const TForm* form, const VARIANT& child) {
  if (!form) return {RPC_E_DISCONNECTED};
  if (child.vt != VT_I4) return {E_INVALIDARG};
  if (child.lVal == CHILDID_SELF) return {S_OK, true};
  const auto children = AccessibleChildren(*form);
  if (child.lVal < 1 || child.lVal > static_cast<long>(children.size())) return {E_INVALIDARG};
  const TAccessibleChild& found = children[static_cast<size_t>(child.lVal - 1)];
  return {S_OK, false, found.control, found.window};
}

// What every question about one child does first: resolves the client's id and fails for an id
// that names nothing, or once the form has gone; `own` then answers for the child it names.
template <typename Own>
HRESULT Resolved(const TForm* form, const VARIANT& child, Own own) {
  const TChildRef ref = Resolve(form, child);
  return FAILED(ref.status) ? ref.status : own(ref);
}

// The same, where `own` may leave a child window's question to the window's own object (it says
// std::nullopt), which then answers `forWindow`.
template <typename Own, typename Question>
HRESULT Answer(const TForm* form, const VARIANT& child, Own own, Question forWindow) {
  return Resolved(form, child, [&](const TChildRef& ref) {
    const std::optional<HRESULT> answered = own(ref);
    if (answered || !ref.window) return answered.value_or(E_NOTIMPL);
    return AskWindow(*ref.window, forWindow);
  });
}

}  // namespace

HRESULT TFormAccessible::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TFormAccessible::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG TFormAccessible::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT TFormAccessible::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}
HRESULT TFormAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) {
  return E_NOTIMPL;
}
HRESULT TFormAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
HRESULT TFormAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT TFormAccessible::get_accParent(IDispatch** parent) {
  if (!form_) return RPC_E_DISCONNECTED;
  return syslib::AccessibleObjectFromWindow(form_->Handle(), static_cast<DWORD>(OBJID_WINDOW),
                                            __uuidof(IDispatch), reinterpret_cast<void**>(parent));
}

HRESULT TFormAccessible::get_accChildCount(long* count) {
  if (!form_) return RPC_E_DISCONNECTED;
  *count = static_cast<long>(AccessibleChildren(*form_).size());
  return S_OK;
}

HRESULT TFormAccessible::get_accChild(VARIANT child, IDispatch** object) {
  *object = nullptr;
  return Resolved(form_, child, [&](const TChildRef& ref) {
    if (ref.self) return QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(object));
    if (!ref.window) return S_FALSE;  // a simple element: the client asks this object about it
    return syslib::AccessibleObjectFromWindow(ref.window->Handle(), static_cast<DWORD>(OBJID_WINDOW),
                                              __uuidof(IDispatch), reinterpret_cast<void**>(object));
  });
}

HRESULT TFormAccessible::get_accName(VARIANT child, BSTR* name) {
  return Answer(
      form_, child,
      [&](const TChildRef& ref) -> std::optional<HRESULT> {
        if (ref.self) return ReturnText(form_->Caption(), name);
        if (!ref.window) return ReturnText(ref.control->AccessibleName(), name);
        if (!ref.window->AccessibleName().empty()) return ReturnText(ref.window->AccessibleName(), name);
        return std::nullopt;
      },
      [&](IAccessible& window, VARIANT self) { return window.get_accName(self, name); });
}

HRESULT TFormAccessible::get_accValue(VARIANT child, BSTR* value) {
  // The search box's value is its text; nothing else here has one.
  return Resolved(form_, child, [&](const TChildRef& ref) {
    if (ref.window && AccessibleWindowRole(ref.window->Handle()) == ROLE_SYSTEM_TEXT)
      return ReturnText(AccessibleWindowText(ref.window->Handle()), value);
    return ReturnNoText(value);
  });
}

HRESULT TFormAccessible::get_accDescription(VARIANT, BSTR* description) {
  return ReturnNoText(description);
}

HRESULT TFormAccessible::get_accRole(VARIANT child, VARIANT* role) {
  return Answer(
      form_, child,
      [&](const TChildRef& ref) -> std::optional<HRESULT> {
        const std::optional<long> known = ref.window ? AccessibleWindowRole(ref.window->Handle())
                                          : ref.self ? ROLE_SYSTEM_CLIENT
                                                     : AccessibleRoleOf(ref.control->AccessibleRole());
        if (!known) return std::nullopt;
        *role = ChildVariant(*known);
        return S_OK;
      },
      [&](IAccessible& window, VARIANT self) { return window.get_accRole(self, role); });
}

HRESULT TFormAccessible::get_accState(VARIANT child, VARIANT* state) {
  return Resolved(form_, child, [&](const TChildRef& ref) {
    long flags = 0;
    if (ref.window) {
      flags = AccessibleWindowState(ref.window->Handle());
    } else if (!ref.self) {
      if (!ref.control->BaseEnabled()) flags |= STATE_SYSTEM_UNAVAILABLE;
      if (ref.control->AccessibleRole() == TAccessibleRole::Link) flags |= STATE_SYSTEM_LINKED;
      if (form_->HoverControl() == ref.control) flags |= STATE_SYSTEM_HOTTRACKED;
    }
    *state = ChildVariant(flags);
    return S_OK;
  });
}

HRESULT TFormAccessible::get_accHelp(VARIANT, BSTR* help) {
  return ReturnNoText(help);
}

HRESULT TFormAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  *topic = 0;
  return ReturnNoText(file);
}

HRESULT TFormAccessible::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
  return ReturnNoText(shortcut);
}

HRESULT TFormAccessible::get_accFocus(VARIANT* focus) {
  syslib::VariantInit(focus);
  if (!form_) return RPC_E_DISCONNECTED;
  // The windowless controls never hold the focus; the child windows and the form itself may.
  const HWND focused = GetFocus();
  if (!focused) return S_FALSE;
  if (focused == form_->Handle()) {
    *focus = ChildVariant(CHILDID_SELF);
    return S_OK;
  }
  const auto children = AccessibleChildren(*form_);
  for (size_t i = 0; i < children.size(); ++i) {
    const TWinControl* window = children[i].window;
    if (window && (window->Handle() == focused || IsChild(window->Handle(), focused))) {
      *focus = ChildVariant(static_cast<long>(i + 1));
      return S_OK;
    }
  }
  return S_FALSE;
}

HRESULT TFormAccessible::get_accSelection(VARIANT* selection) {
  syslib::VariantInit(selection);
  return form_ ? S_FALSE : RPC_E_DISCONNECTED;
}

HRESULT TFormAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  return Answer(
      form_, child,
      [&](const TChildRef& ref) -> std::optional<HRESULT> {
        if (ref.window) return std::nullopt;
        const wchar_t* text = ref.self ? nullptr : AccessibleDefaultAction(ref.control->AccessibleRole());
        return text ? ReturnText(text, action) : ReturnNoText(action);
      },
      [&](IAccessible& window, VARIANT self) { return window.get_accDefaultAction(self, action); });
}

HRESULT TFormAccessible::accSelect(long, VARIANT) {
  return E_NOTIMPL;
}

HRESULT TFormAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  return Resolved(form_, child, [&](const TChildRef& ref) {
    RECT bounds = {};
    if (ref.self) {
      GetClientRect(form_->Handle(), &bounds);
    } else {
      bounds = ref.window ? ref.window->BoundsRect() : ref.control->BoundsRect();
    }
    MapWindowPoints(form_->Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&bounds), 2);
    *left = bounds.left;
    *top = bounds.top;
    *width = bounds.right - bounds.left;
    *height = bounds.bottom - bounds.top;
    return S_OK;
  });
}

HRESULT TFormAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  syslib::VariantInit(end);
  return Resolved(form_, start, [&](const TChildRef& ref) {
    const long count = static_cast<long>(AccessibleChildren(*form_).size());
    long next = 0;
    if (ref.self && direction == NAVDIR_FIRSTCHILD) {
      next = 1;
    } else if (ref.self && direction == NAVDIR_LASTCHILD) {
      next = count;
    } else if (!ref.self && direction == NAVDIR_NEXT) {
      next = start.lVal + 1;
    } else if (!ref.self && direction == NAVDIR_PREVIOUS) {
      next = start.lVal - 1;
    } else {
      return E_NOTIMPL;  // spatial directions: clients use the locations instead
    }
    if (next < 1 || next > count) return S_FALSE;
    VARIANT id = ChildVariant(next);
    IDispatch* window = nullptr;
    if (get_accChild(id, &window) == S_OK && window) {
      end->vt = VT_DISPATCH;
      end->pdispVal = window;
    } else {
      *end = id;
    }
    return S_OK;
  });
}

HRESULT TFormAccessible::accHitTest(long left, long top, VARIANT* child) {
  syslib::VariantInit(child);
  if (!form_) return RPC_E_DISCONNECTED;
  POINT point = {left, top};
  ScreenToClient(form_->Handle(), &point);
  RECT client = {};
  GetClientRect(form_->Handle(), &client);
  if (!PtInRect(&client, point)) return S_FALSE;
  const auto children = AccessibleChildren(*form_);
  // The topmost first: child windows lie above every windowless control.
  for (size_t i = children.size(); i-- > 0;) {
    const TAccessibleChild& candidate = children[i];
    const RECT bounds = candidate.window ? candidate.window->BoundsRect() : candidate.control->BoundsRect();
    if (!PtInRect(&bounds, point)) continue;
    if (candidate.window) {
      child->vt = VT_DISPATCH;
      return syslib::AccessibleObjectFromWindow(candidate.window->Handle(), static_cast<DWORD>(OBJID_WINDOW),
                                                __uuidof(IDispatch),
                                                reinterpret_cast<void**>(&child->pdispVal));
    }
    *child = ChildVariant(static_cast<long>(i + 1));
    return S_OK;
  }
  *child = ChildVariant(CHILDID_SELF);
  return S_OK;
}

HRESULT TFormAccessible::accDoDefaultAction(VARIANT child) {
  return Answer(
      form_, child,
      [&](const TChildRef& ref) -> std::optional<HRESULT> {
        if (ref.window) return std::nullopt;
        if (ref.self || !AccessibleDefaultAction(ref.control->AccessibleRole())) return DISP_E_MEMBERNOTFOUND;
        if (!ref.control->BaseEnabled()) return E_FAIL;  // a disabled control does not act, as for the mouse
        form_->PostDefaultAction(*ref.control);
        return S_OK;
      },
      [&](IAccessible& window, VARIANT self) { return window.accDoDefaultAction(self); });
}

HRESULT TFormAccessible::put_accName(VARIANT, BSTR) {
  return E_NOTIMPL;
}

HRESULT TFormAccessible::put_accValue(VARIANT, BSTR) {
  return E_NOTIMPL;
}
