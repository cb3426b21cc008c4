#pragma once
// A top-level window built from a layout description. It owns its components, paints its
// windowless controls in creation order (double-buffered on request), lets its control host
// route the pointer to them, and passes child-window notifications to the windowed control
// they come from. An exception that escapes any handler goes to the site's error report and
// no further.

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "base/unique_handle.h"
#include "toolkit/component.h"
#include "toolkit/control.h"
#include "toolkit/control_host.h"
#include "toolkit/control_parent.h"
#include "toolkit/form_site.h"
#include "toolkit/graphics.h"
#include "toolkit/win_control.h"
#include "toolkit/window_base.h"

class TFormAccessible;
// Disconnects the form's accessible object from the form and drops the form's reference;
// clients may hold theirs longer.
struct TFormAccessibleRelease {
  void operator()(TFormAccessible* accessible) const;
};

class TForm : public TComponent, public TControlParent, public TWindowBase<TForm> {
 public:
  explicit TForm(TFormSite site);
  ~TForm() override;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  // Runs OnCreate, once the form is built (see LoadForm).
  void DoCreate();

  // Finds a component by name; raises Exception if there is none of that class.
  template <typename T>
  T& Find(std::string_view name) const {
    T* found = dynamic_cast<T*>(FindComponent(name));
    if (!found) throw Exception(L"Component " + Widen(name) + L" not found");
    return *found;
  }
  TComponent* FindComponent(std::string_view name) const;
  void AddComponent(std::unique_ptr<TComponent> component);

  // Shows the form. The first time, it is first placed (desktop centre) and OnShow runs while
  // it is still invisible; an error there is reported and the form is shown all the same.
  void Show();
  void Close();
  bool Showing() const { return IsWindowVisible(hwnd_) != FALSE; }

  const std::wstring& Caption() const { return caption_; }
  const TFontSpec& Font() const override { return font_; }
  HFONT FontHandle() const override { return fontHandle_.Get(); }
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }
  SIZE ClientSize() const { return clientSize_; }
  // How the layout's pixels map to the screen's.
  TScale Scale() const { return site_.scale; }
  // Starts building the form again at another scale: the components built so far leave the
  // form (they are destroyed once the message being handled returns, since a handler of theirs
  // may be running: the drag that moved the window to another screen), the scale is set and
  // the form's font made again. The caller then builds the components anew (LoadForm).
  void BeginRebuild(TScale scale);

  // Windowless controls in creation order, the first at the bottom; child-window controls.
  const std::vector<TControl*>& Controls() const { return controls_; }
  const std::vector<TWinControl*>& WindowedControls() const { return windowed_; }
  // The topmost visible control whose rectangle holds `point` (client coordinates).
  TControl* ControlAtPos(POINT point) const { return pointer_.ControlAtPos(point); }
  TControl* HoverControl() const { return pointer_.HoverControl(); }
  void SetCaptureControl(TControl* control) override { pointer_.SetCaptureControl(control); }
  void ReleaseCaptureControl(TControl* control) override { pointer_.ReleaseCaptureControl(control); }
  void InvalidateRect(const RECT& rect) const override;

  // Every component in creation order.
  const std::vector<std::unique_ptr<TComponent>>& Components() const { return components_; }
  // Raises an accessibility event for `control`, as the child the tree has (or had) it.
  void NotifyAccessible(const TControl& control, DWORD event) const override;
  // Runs the control's default action from the message loop, after the client's call returns,
  // so that a long handler (an uninstaller's wait) does not hold the client.
  void PostDefaultAction(const TControl& control) const;

  // Where the first show places a window of this size: the centre of the rectangle spanning
  // all monitors, moved right or down to stay inside it.
  static POINT DesktopCentre(SIZE windowSize, const RECT& desktop);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  // Set by the application on its main form: a minimise request minimises the whole
  // application instead of the form alone, and the end of the window ends the program's loop.
  std::function<void()> OnMinimizeRequest;
  std::function<void()> OnWindowDestroyed;
  // Runs when the window has come to a screen of another density (WM_DPICHANGED): rebuilds the
  // form at that scale, keeping what the user sees. The form then places itself where the system
  // suggests. Without it the form stays as it was built.
  std::function<void(TScale scale)> OnRescale;
  // A key pressed in the form or in any of its child windows, before the window with the focus
  // gets it; a handler that sets Key to 0 keeps it from that window.
  TKeyEvent OnKeyDown;
  // Hands a key message of the program's loop to OnKeyDown, through the form's window procedure
  // (so that an error goes where every handler's goes); true when the key is taken.
  bool PreviewKey(const MSG& message);

  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;

 private:
  friend class TWindowBase<TForm>;
  // Counts the form's messages being handled, and lets the components that a rebuild retired go
  // when the outermost one returns.
  class TDispatchScope {
   public:
    explicit TDispatchScope(TForm& form);
    ~TDispatchScope();
    TDispatchScope(const TDispatchScope&) = delete;
    TDispatchScope& operator=(const TDispatchScope&) = delete;

   private:
    TForm& form_;
  };

  std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void ReportError(std::exception_ptr error) const noexcept;

  LRESULT OnPaint();
  void PaintControls(HDC dc, const RECT& area) const;
  // The controls over `area`, drawn into a new 32-bit bitmap whose top-left pixel is the area's.
  UniqueBitmap DrawOffscreen(const RECT& area) const;
  // Has each child window draw itself once off-screen, before the first show.
  void WarmChildWindows() const;
  std::optional<LRESULT> OnSetCursor(HWND over, UINT hitTest) const;
  std::optional<LRESULT> OnSysCommand(UINT command) const;
  std::optional<LRESULT> ForwardToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam) const;
  LRESULT OnFirstShow();
  LRESULT OnDestroy() const;
  std::optional<LRESULT> OnGetObject(WPARAM flags, DWORD objectId);
  LRESULT OnDefaultAction(size_t controlIndex) const;
  void ApplyBorderIcons(const TLayoutProperty& property) const;
  void LoadIcons(const TLayoutProperty& property, HMODULE module);
  void SetClientSize(SIZE size);
  void ReleaseRetired();
  std::optional<LRESULT> OnDpiChanged(int dpi, const RECT& suggested);
  std::optional<LRESULT> OnGetDpiScaledSize(int dpi, SIZE& size) const;
  LRESULT OnPreviewKey(WORD key);

  // The form's own messages, numbered in one place so that no two share a number.
  // Posted by PostDefaultAction; wParam is the control's index among the windowless controls.
  static constexpr UINT kDefaultActionMessage = WM_APP + 1;
  // Sent by PreviewKey, with the key in wParam; the result says whether the key was taken.
  static constexpr UINT kPreviewKeyMessage = WM_APP + 2;
  // Sent by the first Show, so that OnShow runs inside the form's message dispatch, which reports
  // what it raises as it does for every handler.
  static constexpr UINT kFirstShowMessage = WM_APP + 3;
  // WM_GETDPISCALEDSIZE, which the headers give only to programs for Windows 10 and later.
  static constexpr UINT kGetDpiScaledSize = 0x02E4;

  TFormSite site_;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> windowed_;
  TControlHost pointer_{hwnd_, controls_};
  bool doubleBuffered_ = false;
  bool centreOnShow_ = false;
  bool shownOnce_ = false;
  std::wstring caption_;
  SIZE clientSize_ = {0, 0};
  SIZE layoutClientSize_ = {0, 0};  // in layout pixels
  int dispatchDepth_ = 0;           // messages being handled, nested
  std::vector<std::unique_ptr<TComponent>> retired_;
  UniqueFont retiredFont_;
  TColor color_ = TColor::System(COLOR_BTNFACE);
  TFontSpec font_;
  UniqueFont fontHandle_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  // The whole client area as drawn just before the first show, until the first paint copies it.
  mutable UniqueBitmap firstFrame_;
  std::unique_ptr<TFormAccessible, TFormAccessibleRelease> accessible_;
};
