#pragma once
// A popup menu of named items, built afresh each time it opens so that it shows the items'
// current captions and enabled states.

#include <memory>
#include <vector>

#include "toolkit/component.h"

class TMenuItem : public TComponent {
 public:
  const std::wstring& Caption() const { return caption_; }
  bool IsSeparator() const { return caption_ == L"-"; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  void Click();

  TNotifyEvent OnClick;

  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;

 private:
  std::wstring caption_;
  bool enabled_ = true;
};

class TPopupMenu : public TComponent {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Item(int index) const { return *items_.at(static_cast<size_t>(index)); }

  // Runs OnPopup, shows the menu at a screen point on behalf of `owner` and runs the chosen
  // item's click, if any, before returning.
  void Popup(HWND owner, POINT screen);

  TNotifyEvent OnPopup;

  void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) override;
  void AddChild(const TLayoutNode& child, TLayoutContext& context) override;
  TComponent* FindPart(std::string_view name) const override;

 private:
  std::vector<std::unique_ptr<TMenuItem>> items_;
};
