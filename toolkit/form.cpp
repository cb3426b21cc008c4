#include "toolkit/form.h"

#include <windowsx.h>

#include <algorithm>

#include "base/com_object.h"
#include "base/system_libraries.h"
#include "toolkit/form_accessible.h"

namespace {

constexpr wchar_t kFormClass[] = L"CaldwexForm";

POINT PointFrom(LPARAM lParam) {
  return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

RECT VirtualDesktop() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

TForm::TForm(TFormSite site) : site_(std::move(site)) {
  static const ATOM registered = [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    // Double clicks arrive as their own message, which controls tell apart from a press.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kFormClass;
    return RegisterClassExW(&wc);
  }();
  (void)registered;
  fontHandle_ = font_.Create(Scale());
  // No frame and no caption bar; the system menu and minimise box are kept so that the system
  // commands for them are accepted.
  const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
  CreateWindowExW(0, kFormClass, L"", style, 0, 0, 0, 0, site_.owner, nullptr, GetModuleHandleW(nullptr),
                  this);
}

void TFormAccessibleRelease::operator()(TFormAccessible* accessible) const {
  accessible->Disconnect();
  accessible->Release();
}

TForm::~TForm() {
  accessible_.reset();
  // Children first: they are windows of ours and must go before the form's window.
  pointer_.Forget();
  controls_.clear();
  windowed_.clear();
  components_.clear();
  ReleaseRetired();
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void TForm::ReportError(std::exception_ptr error) const noexcept {
  if (site_.reportError) site_.reportError(error);
}

void TForm::AddComponent(std::unique_ptr<TComponent> component) {
  if (auto* control = dynamic_cast<TControl*>(component.get())) controls_.push_back(control);
  if (auto* windowed = dynamic_cast<TWinControl*>(component.get())) windowed_.push_back(windowed);
  components_.push_back(std::move(component));
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(*this);
}

TComponent* TForm::FindComponent(std::string_view name) const {
  for (const auto& component : components_) {
    if (component->Name() == name) return component.get();
    // Components may own named parts of their own (menu items).
    if (TComponent* part = component->FindPart(name)) return part;
  }
  return nullptr;
}

POINT TForm::DesktopCentre(SIZE windowSize, const RECT& desktop) {
  const int width = desktop.right - desktop.left;
  const int height = desktop.bottom - desktop.top;
  POINT at = {desktop.left + width / 2 - windowSize.cx / 2, desktop.top + height / 2 - windowSize.cy / 2};
  at.x = std::max(at.x, desktop.left);
  at.y = std::max(at.y, desktop.top);
  return at;
}

void TForm::Show() {
  if (!shownOnce_) {
    shownOnce_ = true;
    if (centreOnShow_) {
      const POINT at = DesktopCentre(clientSize_, VirtualDesktop());
      SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(hwnd_, kFirstShowMessage, 0, 0);
    // Drawn while the window is still hidden, so that it appears whole at once and its first
    // paint is one copy: the list's rows are in by now, and every control's picture and text.
    if (doubleBuffered_) firstFrame_ = DrawOffscreen({0, 0, clientSize_.cx, clientSize_.cy});
    WarmChildWindows();
  }
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

void TForm::Close() {
  SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TForm::SetClientSize(SIZE size) {
  clientSize_ = size;
  // With no frame the window's outer size is its client size.
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  if (context.BindEvent(property, "OnCreate", OnCreate) || context.BindEvent(property, "OnShow", OnShow) ||
      context.BindEvent(property, "OnKeyDown", OnKeyDown))
    return;
  const std::string& name = property.name;
  if (name == "Caption") {
    caption_ = property.Text();
    SetWindowTextW(hwnd_, caption_.c_str());
  } else if (name == "ClientWidth") {
    layoutClientSize_.cx = property.Int();
    SetClientSize({context.Pixels(property), clientSize_.cy});
  } else if (name == "ClientHeight") {
    layoutClientSize_.cy = property.Int();
    SetClientSize({clientSize_.cx, context.Pixels(property)});
  } else if (name == "Color") {
    color_ = ParseColor(property);
  } else if (font_.Apply(property)) {
    fontHandle_ = font_.Create(Scale());
  } else if (name == "Position") {
    if (property.Ident() == "poDesktopCenter") {
      centreOnShow_ = true;
    } else if (property.Ident() != "poDesigned") {
      property.Fail("unknown position " + property.Ident());
    }
  } else if (name == "BorderStyle") {
    if (property.Ident() != "bsNone") property.Fail("only bsNone is supported");
  } else if (name == "BorderIcons") {
    ApplyBorderIcons(property);
  } else if (name == "Icon") {
    LoadIcons(property, context.Module());
  } else if (name == "Left" || name == "Top") {
    // The design position; the first show places the window itself.
    property.Int();
  } else if (name == "PixelsPerInch") {
    // Lengths are read as 96-dpi pixels (the site's scale maps them to the screen), so a
    // description drawn at another density would come out the wrong size.
    if (property.Int() != TScale::kLayoutDpi) property.Fail("layouts are drawn at 96 pixels per inch");
  } else if (name == "TextHeight") {
    property.Int();
  } else {
    TComponent::ApplyProperty(property, context);
  }
}

void TForm::ApplyBorderIcons(const TLayoutProperty& property) const {
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE) & ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  for (const std::string& icon : property.Set()) {
    if (icon == "biSystemMenu") {
      style |= WS_SYSMENU;
    } else if (icon == "biMinimize") {
      style |= WS_MINIMIZEBOX;
    } else if (icon == "biMaximize") {
      style |= WS_MAXIMIZEBOX;
    } else {
      property.Fail("unknown border icon " + icon);
    }
  }
  SetWindowLongW(hwnd_, GWL_STYLE, style);
}

void TForm::LoadIcons(const TLayoutProperty& property, HMODULE module) {
  const std::wstring& resource = property.Text();
  const auto load = [&](int metric) {
    return UniqueIcon(static_cast<HICON>(LoadImageW(module, resource.c_str(), IMAGE_ICON,
                                                    GetSystemMetrics(metric), GetSystemMetrics(metric), 0)));
  };
  bigIcon_ = load(SM_CXICON);
  smallIcon_ = load(SM_CXSMICON);
  if (!bigIcon_) property.Fail("icon resource not found");
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
}

void TForm::NotifyAccessible(const TControl& control, DWORD event) const {
  NotifyWinEvent(event, hwnd_, OBJID_CLIENT, AccessibleChildId(*this, control));
}

void TForm::PostDefaultAction(const TControl& control) const {
  const auto found = std::find(controls_.begin(), controls_.end(), &control);
  if (found != controls_.end())
    PostMessageW(hwnd_, kDefaultActionMessage, static_cast<WPARAM>(found - controls_.begin()), 0);
}

LRESULT TForm::OnDefaultAction(size_t controlIndex) const {
  // The control may have gone out of reach (hidden, disabled) since the client asked.
  if (controlIndex < controls_.size()) {
    TControl& control = *controls_[controlIndex];
    if (control.Visible() && control.BaseEnabled()) control.DoDefaultAction();
  }
  return 0;
}

std::optional<LRESULT> TForm::OnGetObject(WPARAM flags, DWORD objectId) {
  if (static_cast<LONG>(objectId) != OBJID_CLIENT) return std::nullopt;
  // A COM object lives by its references: the form holds one, each client its own.
  if (!accessible_) accessible_ = MakeComObject<TFormAccessible, decltype(accessible_)>(*this);
  return syslib::LresultFromObject(__uuidof(IAccessible), flags, accessible_.get());
}

std::optional<LRESULT> TForm::OnSetCursor(HWND over, UINT hitTest) const {
  if (over != hwnd_ || hitTest != HTCLIENT) return std::nullopt;
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(hwnd_, &point);
  return pointer_.OnSetCursor(point);
}

std::optional<LRESULT> TForm::OnSysCommand(UINT command) const {
  if (command != SC_MINIMIZE || !OnMinimizeRequest) return std::nullopt;
  OnMinimizeRequest();
  return 0;
}

std::optional<LRESULT> TForm::ForwardToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam) const {
  const auto control = std::find_if(windowed_.begin(), windowed_.end(), [child](const TWinControl* windowed) {
    return windowed->Handle() == child;
  });
  LRESULT result = 0;
  if (control != windowed_.end() && (*control)->HandleParentMessage(message, wParam, lParam, result))
    return result;
  return std::nullopt;
}

LRESULT TForm::OnFirstShow() {
  if (OnShow) OnShow(*this);
  return 0;
}

LRESULT TForm::OnDestroy() const {
  if (OnWindowDestroyed) OnWindowDestroyed();
  return 0;
}

std::optional<LRESULT> TForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole area
    case WM_PAINT:
      return OnPaint();
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return pointer_.OnMouse(message, wParam, PointFrom(lParam));
    case WM_TIMER:
      return pointer_.OnTimer(static_cast<UINT_PTR>(wParam));
    case WM_CAPTURECHANGED:
      return pointer_.OnCaptureChanged(reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam));
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wParam & 0xFFF0));
    case WM_NOTIFY:
      return ForwardToChild(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom, message, wParam, lParam);
    case WM_COMMAND:
      return ForwardToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam);
    case WM_CONTEXTMENU:
      return ForwardToChild(reinterpret_cast<HWND>(wParam), message, wParam, lParam);
    case WM_DESTROY:
      return OnDestroy();
    case WM_GETOBJECT:
      return OnGetObject(wParam, static_cast<DWORD>(lParam));
    case kDefaultActionMessage:
      return OnDefaultAction(static_cast<size_t>(wParam));
    case kFirstShowMessage:
      return OnFirstShow();
    case WM_DPICHANGED:
      return OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case kGetDpiScaledSize:
      return OnGetDpiScaledSize(static_cast<int>(wParam), *reinterpret_cast<SIZE*>(lParam));
    case kPreviewKeyMessage:
      return OnPreviewKey(static_cast<WORD>(wParam));
    default:
      return std::nullopt;
  }
}
