#pragma once
// A top-level window built from a layout description. It owns its components, paints its
// windowless controls in creation order (double-buffered on request), routes the mouse to the
// topmost visible control under the pointer or to the control that holds the capture, tells
// controls when the pointer enters and leaves them, and passes child-window notifications to
// the windowed control they come from. An exception that escapes any handler is given to the
// application's error box and goes no further.

#include <windows.h>

#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "base/unique_handle.h"
#include "toolkit/component.h"
#include "toolkit/control.h"
#include "toolkit/graphics.h"
#include "toolkit/win_control.h"

class TForm;
using TComponentFactory = std::function<std::unique_ptr<TComponent>(TForm& form)>;

// Component classes by the name a layout description uses.
class TClassRegistry {
 public:
  void Add(std::string className, TComponentFactory factory) {
    factories_[std::move(className)] = std::move(factory);
  }
  const TComponentFactory* Find(const std::string& className) const;

 private:
  std::map<std::string, TComponentFactory, std::less<>> factories_;
};

class TForm : public TComponent {
 public:
  TForm();
  ~TForm() override;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  HWND Handle() const { return hwnd_; }

  // Builds the form from a description: the form's own properties, then every nested object
  // in order, then the references between components. OnCreate is not run here: see DoCreate.
  void Load(std::string_view description, HMODULE module, const TClassRegistry& classes,
            const THandlerTable& handlers);
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
  const TFontSpec& Font() const { return font_; }
  HFONT FontHandle() const { return fontHandle_.Get(); }
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }
  SIZE ClientSize() const { return clientSize_; }

  // Windowless controls in creation order, the first at the bottom.
  const std::vector<TControl*>& Controls() const { return controls_; }
  // The topmost visible control whose rectangle holds `point` (client coordinates).
  TControl* ControlAtPos(POINT point) const;
  TControl* HoverControl() const { return hover_; }
  TControl* CaptureControl() const { return capture_; }
  void SetCaptureControl(TControl* control);
  void ReleaseCaptureControl(TControl* control);
  void InvalidateRect(const RECT& rect) const;

  // Where the first show places a window of this size: the centre of the rectangle spanning
  // all monitors, moved right or down to stay inside it.
  static POINT DesktopCentre(SIZE windowSize, const RECT& desktop);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;

  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;
  void AddChild(const TLayoutNode& child, TLayoutContext& context) override;

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void PaintControls(HDC dc, const RECT& area) const;
  void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
  void UpdateHover(POINT point);
  void SetHover(TControl* control);
  void CheckPointerLeft();
  bool SetCursorFor(POINT point) const;
  TWinControl* WindowedControl(HWND child) const;
  void ApplyTabOrder() const;
  void SetClientSize(SIZE size);

  HWND hwnd_ = nullptr;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> windowed_;
  TControl* hover_ = nullptr;
  TControl* capture_ = nullptr;
  bool doubleBuffered_ = false;
  bool centreOnShow_ = false;
  bool shownOnce_ = false;
  std::wstring caption_;
  SIZE clientSize_ = {0, 0};
  TColor color_ = TColor::System(COLOR_BTNFACE);
  TFontSpec font_;
  UniqueFont fontHandle_;
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
};
