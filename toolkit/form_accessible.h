#pragma once
// The form as accessibility clients (screen readers) see it: an IAccessible for the form's
// client area whose children are its visible windowless controls that have a role, in creation
// order, and its visible child windows, which keep the system's own accessible objects.
// Windowless children are simple elements: child id N is the Nth child as the tree stands now.

#include <oleacc.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class TControl;
class TForm;
class TWinControl;
enum class TAccessibleRole;

// A VARIANT naming a child by its id (CHILDID_SELF for the object itself), as clients pass it.
VARIANT ChildVariant(long id);

// One child of the form's tree: a windowless control, or a child window.
struct TAccessibleChild {
  TControl* control = nullptr;
  TWinControl* window = nullptr;
};
// The tree as it stands now: the visible windowless controls that have a role and the visible
// child windows, in creation order.
std::vector<TAccessibleChild> AccessibleChildren(const TForm& form);
// The child id of `control`: one more than the children before it, so that a control that has
// just gone is reported at the place it had.
LONG AccessibleChildId(const TForm& form, const TControl& control);

// The role of a windowless control (ROLE_SYSTEM_*), and its default action's name, or null
// when it has none.
long AccessibleRoleOf(TAccessibleRole role);
const wchar_t* AccessibleDefaultAction(TAccessibleRole role);
// A child window's role, as Windows' own proxies give it for the classes the toolkit makes (a
// list, an edit box): Wine's give none. Nothing for other classes; their own object answers.
std::optional<long> AccessibleWindowRole(HWND window);
// A child window's state: focusable, focused (also when a window inside it has the focus),
// unavailable.
long AccessibleWindowState(HWND window);
std::wstring AccessibleWindowText(HWND window);

class TFormAccessible final : public IAccessible {
 public:
  explicit TFormAccessible(TForm& form) : form_(&form) {}
  TFormAccessible(const TFormAccessible&) = delete;
  TFormAccessible& operator=(const TFormAccessible&) = delete;

  // The form is going: clients that still hold the object get "disconnected" from now on.
  void Disconnect() { form_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: clients use the IAccessible methods directly; no type information is offered.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  ~TFormAccessible() = default;

  TForm* form_;
  LONG references_ = 1;
};
