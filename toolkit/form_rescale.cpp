// The form on screens of different densities: told by the system that its window has come to
// another one, it has itself built again at that density and placed where the system says.
#include "toolkit/form.h"

TForm::TDispatchScope::TDispatchScope(TForm& form) : form_(form) {
  ++form_.dispatchDepth_;
}

TForm::TDispatchScope::~TDispatchScope() {
  if (--form_.dispatchDepth_ == 0) form_.ReleaseRetired();
}

void TForm::ReleaseRetired() {
  if (retired_.empty()) return;
  {
    // Destroying their windows sends the form messages in turn, which end in a call here: they
    // must find nothing retired.
    const auto retired = std::move(retired_);
    retired_.clear();
  }
  retiredFont_.Reset();
}

std::optional<LRESULT> TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const TDispatchScope scope(*this);
  return Dispatch(message, wParam, lParam);
}

void TForm::BeginRebuild(TScale scale) {
  pointer_.Forget();
  for (TWinControl* window : windowed_) ShowWindow(window->Handle(), SW_HIDE);
  controls_.clear();
  windowed_.clear();
  for (auto& component : components_) retired_.push_back(std::move(component));
  components_.clear();
  site_.scale = scale;
  // The retired child windows still hold the form's font until they go.
  retiredFont_ = std::move(fontHandle_);
  fontHandle_ = font_.Create(Scale());
  ::InvalidateRect(hwnd_, nullptr, FALSE);
  // Called from outside any message of the form's, no handler of theirs can be running.
  if (dispatchDepth_ == 0) ReleaseRetired();
}

std::optional<LRESULT> TForm::OnGetDpiScaledSize(int dpi, SIZE& size) const {
  if (!OnRescale) return std::nullopt;
  // The window is the layout's size at every density, which a size scaled from the current one
  // can miss by a pixel; the system then suggests a rectangle of exactly this size.
  const TScale scale(dpi);
  size = {scale.Pixels(layoutClientSize_.cx), scale.Pixels(layoutClientSize_.cy)};
  return TRUE;
}

std::optional<LRESULT> TForm::OnDpiChanged(int dpi, const RECT& suggested) {
  const POINT at = {suggested.left, suggested.top};
  if (OnRescale && TScale(dpi) != Scale()) {
    OnRescale(TScale(dpi));
    // Clients read the tree again: every child has a new place.
    NotifyWinEvent(EVENT_OBJECT_REORDER, hwnd_, OBJID_CLIENT, CHILDID_SELF);
  }
  // The rebuild gave the window its size at the new density; the system's place keeps it on the
  // screen it has come to.
  SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}
