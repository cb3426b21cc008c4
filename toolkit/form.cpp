#include "toolkit/form.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/window_object.h"

namespace {

constexpr wchar_t kFormClass[] = L"CaldwexForm";

// The form looks for the pointer having left it by polling, while a control is hovered. The
// system's own leave notification comes late under Wine (it polls at the hover interval, about
// 400 ms), which would leave a button lit well after the pointer has gone.
constexpr UINT_PTR kLeaveTimer = 1;
constexpr UINT kLeavePollMs = 50;

// BeginPaint and EndPaint as one scope, so that a failing paint still validates the window
// instead of asking to be painted again at once.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &paint_); }
  ~PaintScope() { EndPaint(hwnd_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND hwnd_;
  HDC dc_;
  PAINTSTRUCT paint_ = {};
};

}  // namespace

const TComponentFactory* TClassRegistry::Find(const std::string& className) const {
  const auto found = factories_.find(className);
  return found == factories_.end() ? nullptr : &found->second;
}

TForm::TForm() {
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
  fontHandle_ = font_.Create();
  // No frame and no caption bar; the system menu and minimise box are kept so that the system
  // commands for them are accepted.
  const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
  CreateWindowExW(0, kFormClass, L"", style, 0, 0, 0, 0, Application().Handle(), nullptr,
                  GetModuleHandleW(nullptr), this);
}

TForm::~TForm() {
  Application().FormDestroying(*this);
  // Children first: they are windows of ours and must go before the form's window.
  controls_.clear();
  windowed_.clear();
  hover_ = capture_ = nullptr;
  components_.clear();
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void TForm::Load(std::string_view description, HMODULE module, const TClassRegistry& classes,
                 const THandlerTable& handlers) {
  const TLayoutNode root = ParseLayout(description);
  SetName(root.name);
  TLayoutContext context(*this, module, handlers);
  for (const TLayoutProperty& property : root.properties) ApplyProperty(property, context);
  for (const TLayoutNode& child : root.children) {
    const TComponentFactory* factory = classes.Find(child.className);
    if (!factory)
      throw ELayoutError(L"Layout line " + std::to_wstring(child.line) + L": unknown class " +
                         Widen(child.className));
    std::unique_ptr<TComponent> component = (*factory)(*this);
    component->SetName(child.name);
    if (auto* windowed = dynamic_cast<TWinControl*>(component.get())) windowed->SetFont(fontHandle_.Get());
    component->BeginLoading();
    for (const TLayoutProperty& property : child.properties) component->ApplyProperty(property, context);
    for (const TLayoutNode& nested : child.children) component->AddChild(nested, context);
    component->Loaded();
    AddComponent(std::move(component));
  }
  context.RunFixups();
  ApplyTabOrder();
}

void TForm::AddChild(const TLayoutNode& child, TLayoutContext&) {
  throw ELayoutError(L"Layout line " + std::to_wstring(child.line) + L": objects are created by Load");
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

void TForm::ApplyTabOrder() const {
  // Child windows take the keyboard focus in their z-order; order them by TabOrder.
  std::vector<TWinControl*> ordered = windowed_;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
  HWND after = HWND_TOP;
  for (const TWinControl* control : ordered) {
    SetWindowPos(control->Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = control->Handle();
  }
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
      const RECT desktop = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                            GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
      const POINT at = DesktopCentre(clientSize_, desktop);
      SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    try {
      if (OnShow) OnShow(*this);
    } catch (...) {
      Application().HandleException(std::current_exception());
    }
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
  const std::string& name = property.name;
  if (name == "Caption") {
    caption_ = property.Text();
    SetWindowTextW(hwnd_, caption_.c_str());
  } else if (name == "ClientWidth") {
    SetClientSize({property.Int(), clientSize_.cy});
  } else if (name == "ClientHeight") {
    SetClientSize({clientSize_.cx, property.Int()});
  } else if (name == "Color") {
    color_ = ParseColor(property);
  } else if (name.starts_with("Font.")) {
    if (!font_.Apply(property)) property.Fail("unknown font property");
    fontHandle_ = font_.Create();
  } else if (name == "Position") {
    if (property.Ident() == "poDesktopCenter") {
      centreOnShow_ = true;
    } else if (property.Ident() != "poDesigned") {
      property.Fail("unknown position " + property.Ident());
    }
  } else if (name == "BorderStyle") {
    if (property.Ident() != "bsNone") property.Fail("only bsNone is supported");
  } else if (name == "BorderIcons") {
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
  } else if (name == "Icon") {
    const std::wstring& resource = property.Text();
    const auto load = [&](int metric) {
      return UniqueIcon(
          static_cast<HICON>(LoadImageW(context.Module(), resource.c_str(), IMAGE_ICON,
                                        GetSystemMetrics(metric), GetSystemMetrics(metric), 0)));
    };
    bigIcon_ = load(SM_CXICON);
    smallIcon_ = load(SM_CXSMICON);
    if (!bigIcon_) property.Fail("icon resource not found");
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  } else if (name == "Left" || name == "Top") {
    // The design position; the first show places the window itself.
    property.Int();
  } else if (name == "PixelsPerInch" || name == "TextHeight") {
    // The layout is in pixels at 96 pixels per inch and is not scaled.
    property.Int();
  } else if (name == "OnCreate") {
    OnCreate = context.Handler<TNotifyEvent>(property);
  } else if (name == "OnShow") {
    OnShow = context.Handler<TNotifyEvent>(property);
  } else {
    TComponent::ApplyProperty(property, context);
  }
}

TControl* TForm::ControlAtPos(POINT point) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    const TControl* control = *it;
    if (control->Visible() && PtInRect(&control->BoundsRect(), point)) return *it;
  }
  return nullptr;
}

void TForm::SetCaptureControl(TControl* control) {
  capture_ = control;
  SetCapture(hwnd_);
}

void TForm::ReleaseCaptureControl(TControl* control) {
  if (capture_ != control) return;
  capture_ = nullptr;
  if (GetCapture() == hwnd_) ReleaseCapture();
}

void TForm::InvalidateRect(const RECT& rect) const {
  ::InvalidateRect(hwnd_, &rect, FALSE);
}

TWinControl* TForm::WindowedControl(HWND child) const {
  for (TWinControl* control : windowed_) {
    if (control->Handle() == child) return control;
  }
  return nullptr;
}

void TForm::PaintControls(HDC dc, const RECT& area) const {
  const UniqueBrush background(CreateSolidBrush(color_.ToColorRef()));
  FillRect(dc, &area, background.Get());
  for (TControl* control : controls_) {
    RECT overlap;
    if (control->Visible() && IntersectRect(&overlap, &control->BoundsRect(), &area)) control->Paint(dc);
  }
}

void TForm::Paint() {
  const PaintScope paint(hwnd_);
  const RECT& area = paint.Area();
  if (!doubleBuffered_) {
    PaintControls(paint.Dc(), area);
    return;
  }
  // Draw the damaged area off-screen, then show it in one copy.
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  const UniqueMemoryDc buffer(CreateCompatibleDC(paint.Dc()));
  const UniqueBitmap bitmap(CreateCompatibleBitmap(paint.Dc(), width, height));
  const HGDIOBJ old = SelectObject(buffer.Get(), bitmap.Get());
  SetViewportOrgEx(buffer.Get(), -area.left, -area.top, nullptr);
  PaintControls(buffer.Get(), area);
  SetViewportOrgEx(buffer.Get(), 0, 0, nullptr);
  BitBlt(paint.Dc(), area.left, area.top, width, height, buffer.Get(), 0, 0, SRCCOPY);
  SelectObject(buffer.Get(), old);
}

void TForm::SetHover(TControl* control) {
  if (control == hover_) return;
  TControl* left = std::exchange(hover_, control);
  TMessage leave{CM_MOUSELEAVE};
  TMessage enter{CM_MOUSEENTER};
  if (left) left->Perform(leave);
  if (control) control->Perform(enter);
}

void TForm::UpdateHover(POINT point) {
  // Over a child window (the list, the edit box) or outside the form no windowless control
  // is under the pointer; this also holds while the pointer is captured.
  const HWND under = ChildWindowFromPointEx(hwnd_, point, CWP_SKIPINVISIBLE);
  SetHover(under == hwnd_ ? ControlAtPos(point) : nullptr);
}

void TForm::CheckPointerLeft() {
  // While the pointer is captured every move reaches the form, outside it too.
  if (capture_) return;
  POINT point;
  GetCursorPos(&point);
  if (WindowFromPoint(point) == hwnd_) return;
  KillTimer(hwnd_, kLeaveTimer);
  SetHover(nullptr);
}

void TForm::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  UpdateHover(point);
  if (hover_) SetTimer(hwnd_, kLeaveTimer, kLeavePollMs, nullptr);
  TControl* target = capture_ ? capture_ : ControlAtPos(point);
  if (!target || (!capture_ && !target->BaseEnabled())) return;
  TMessage forwarded{message, wParam, MAKELPARAM(point.x - target->Left(), point.y - target->Top())};
  target->Perform(forwarded);
}

bool TForm::SetCursorFor(POINT point) const {
  const TControl* control = capture_ ? capture_ : ControlAtPos(point);
  SetCursor(control ? control->Cursor() : LoadCursorW(nullptr, IDC_ARROW));
  return true;
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole area
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      OnMouse(message, wParam, lParam);
      return 0;
    case WM_TIMER:
      if (wParam == kLeaveTimer) {
        CheckPointerLeft();
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (capture_ && reinterpret_cast<HWND>(lParam) != hwnd_) {
        TControl* lost = std::exchange(capture_, nullptr);
        TMessage changed{WM_CAPTURECHANGED};
        lost->Perform(changed);
      }
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT) {
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(hwnd_, &point);
        return SetCursorFor(point);
      }
      break;
    case WM_SYSCOMMAND:
      // The application minimises as a whole, taking its windows with it.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && Application().MainForm() == this) {
        Application().Minimize();
        return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      LRESULT result = 0;
      if (TWinControl* control = WindowedControl(header->hwndFrom))
        if (control->HandleParentMessage(message, wParam, lParam, result)) return result;
      break;
    }
    case WM_COMMAND:
    case WM_CONTEXTMENU: {
      const HWND from = reinterpret_cast<HWND>(message == WM_COMMAND ? lParam : static_cast<LPARAM>(wParam));
      LRESULT result = 0;
      if (TWinControl* control = WindowedControl(from))
        if (control->HandleParentMessage(message, wParam, lParam, result)) return result;
      break;
    }
    case WM_DESTROY:
      if (Application().MainForm() == this) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK TForm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = WindowObject<TForm>(hwnd, message, lParam);
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) form->hwnd_ = hwnd;
  // Exceptions never cross into the system: whatever a handler lets escape ends here.
  try {
    return form->HandleMessage(message, wParam, lParam);
  } catch (...) {
    Application().HandleException(std::current_exception());
    return 0;
  }
}
