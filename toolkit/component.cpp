#include "toolkit/component.h"

#include "toolkit/form.h"

void TComponent::ApplyProperty(const TLayoutProperty& property, TLayoutContext&) {
  property.Fail("not a property of " + name_);
}

void TComponent::AddChild(const TLayoutNode& child, TLayoutContext&) {
  child.Fail(name_ + " holds no nested objects");
}

TScale TLayoutContext::Scale() const {
  return form_.Scale();
}

TPicture TLayoutContext::Picture(const TLayoutProperty& property) const {
  return LoadScaledPicture(module_, property.Text(), Scale());
}

void TLayoutContext::RunFixups() {
  for (const auto& fixup : fixups_) fixup();
  fixups_.clear();
}

namespace {
HRSRC FindRcData(HMODULE module, const std::wstring& name) {
  return FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
}
}  // namespace

bool HasResourceBytes(HMODULE module, const std::wstring& name) {
  return FindRcData(module, name) != nullptr;
}

std::span<const std::uint8_t> ResourceBytes(HMODULE module, const std::wstring& name) {
  const HRSRC found = FindRcData(module, name);
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw Exception(L"Resource " + name + L" not found");
  // Resources stay mapped for the module's life, so the bytes need no owner.
  return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}
