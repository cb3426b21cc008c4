#include "toolkit/component.h"

void TComponent::ApplyProperty(const TLayoutProperty& property, TLayoutContext&) {
  property.Fail("not a property of " + name_);
}

void TComponent::AddChild(const TLayoutNode& child, TLayoutContext&) {
  child.Fail(name_ + " holds no nested objects");
}

TPicture TLayoutContext::Picture(const TLayoutProperty& property) const {
  return pictures_.Load(property.Text());
}

void TLayoutContext::RunFixups() {
  for (const auto& fixup : fixups_) fixup();
  fixups_.clear();
}
