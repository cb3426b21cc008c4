#include "toolkit/popup_menu.h"

#include "base/unique_handle.h"

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(*this);
}

void TMenuItem::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  if (property.name == "Caption") {
    caption_ = property.Text();
  } else if (property.name == "Enabled") {
    enabled_ = property.Bool();
  } else if (property.name == "OnClick") {
    OnClick = context.Handler<TNotifyEvent>(property);
  } else {
    TComponent::ApplyProperty(property, context);
  }
}

void TPopupMenu::Popup(HWND owner, POINT screen) {
  if (OnPopup) OnPopup(*this);
  const UniqueMenu menu(CreatePopupMenu());
  for (size_t i = 0; i < items_.size(); ++i) {
    const TMenuItem& item = *items_[i];
    if (item.IsSeparator()) {
      AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    } else {
      // Command 0 means "nothing chosen", so item i is command i + 1.
      AppendMenuW(menu.Get(), MF_STRING | (item.Enabled() ? MF_ENABLED : MF_GRAYED), i + 1,
                  item.Caption().c_str());
    }
  }
  // The owner must be in the foreground, or the menu does not close when the user clicks
  // elsewhere.
  SetForegroundWindow(owner);
  const int chosen = static_cast<int>(TrackPopupMenu(
      menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.x, screen.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen > 0) items_[static_cast<size_t>(chosen - 1)]->Click();
}

void TPopupMenu::ApplyProperty(const TLayoutProperty& property, TLayoutContext& context) {
  if (property.name == "OnPopup") {
    OnPopup = context.Handler<TNotifyEvent>(property);
  } else {
    TComponent::ApplyProperty(property, context);
  }
}

void TPopupMenu::AddChild(const TLayoutNode& child, TLayoutContext& context) {
  if (child.className != "TMenuItem") child.Fail("a menu holds only TMenuItem objects");
  auto item = std::make_unique<TMenuItem>();
  item->SetName(child.name);
  for (const TLayoutProperty& property : child.properties) item->ApplyProperty(property, context);
  items_.push_back(std::move(item));
}

TComponent* TPopupMenu::FindPart(std::string_view name) const {
  for (const auto& item : items_) {
    if (item->Name() == name) return item.get();
  }
  return nullptr;
}
