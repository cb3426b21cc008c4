#include "toolkit/form_loader.h"

#include <algorithm>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/scaled_picture.h"

namespace {

// Child windows take the keyboard focus in their z-order; order them by TabOrder.
void ApplyTabOrder(const std::vector<TWinControl*>& windowed) {
  std::vector<TWinControl*> ordered = windowed;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
  HWND after = HWND_TOP;
  for (const TWinControl* control : ordered) {
    SetWindowPos(control->Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = control->Handle();
  }
}

std::unique_ptr<TComponent> BuildComponent(TForm& form, const TLayoutNode& node,
                                           const TClassRegistry& classes, TLayoutContext& context) {
  const TComponentFactory* factory = classes.Find(node.className);
  if (!factory) node.Fail("unknown class " + node.className);
  std::unique_ptr<TComponent> component = (*factory)(form);
  component->SetName(node.name);
  component->BeginLoading();
  if (auto* windowed = dynamic_cast<TWinControl*>(component.get())) windowed->SetFont(form.FontHandle());
  for (const TLayoutProperty& property : node.properties) component->ApplyProperty(property, context);
  for (const TLayoutNode& nested : node.children) component->AddChild(nested, context);
  component->Loaded();
  return component;
}

// The pictures that the description's images show, in the order it names them.
void AddImagePictures(const TLayoutNode& node, std::vector<std::wstring>& names) {
  for (const TLayoutProperty& property : node.properties) {
    if (const auto* name = std::get_if<std::wstring>(&property.value); name && property.name == "Picture")
      names.push_back(*name);
  }
  for (const TLayoutNode& child : node.children) AddImagePictures(child, names);
}

}  // namespace

const TComponentFactory* TClassRegistry::Find(const std::string& className) const {
  const auto found = factories_.find(className);
  return found == factories_.end() ? nullptr : &found->second;
}

void LoadForm(TForm& form, std::string_view description, HMODULE module, const TClassRegistry& classes,
              const THandlerTable& handlers) {
  const TLayoutNode root = ParseLayout(description);
  form.SetName(root.name);
  // The skin and the other pictures decode beside the form's own properties.
  std::vector<std::wstring> pictureNames;
  AddImagePictures(root, pictureNames);
  TPictureLoader pictures(module, form.Scale(), std::move(pictureNames));
  TLayoutContext context(form, form.Scale(), form.Font(), module, handlers, pictures);
  for (const TLayoutProperty& property : root.properties) form.ApplyProperty(property, context);
  for (const TLayoutNode& child : root.children)
    form.AddComponent(BuildComponent(form, child, classes, context));
  context.RunFixups();
  ApplyTabOrder(form.WindowedControls());
}
