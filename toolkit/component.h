#pragma once
// The base of everything a layout description creates: a named object that applies its stored
// properties one by one, in the order the description gives them.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/graphics.h"
#include "toolkit/handlers.h"
#include "toolkit/layout.h"
#include "toolkit/picture.h"
#include "toolkit/scale.h"
#include "toolkit/scaled_picture.h"

class TForm;

// What the properties of one description need while the window is built.
class TLayoutContext {
 public:
  // `font` is the form's, which controls without a font of their own inherit; it is read as
  // it stands when each property is applied.
  TLayoutContext(TForm& form, TScale scale, const TFontSpec& font, HMODULE module,
                 const THandlerTable& handlers, TPictureLoader& pictures)
      : form_(form), scale_(scale), font_(font), module_(module), handlers_(handlers), pictures_(pictures) {}

  TForm& Form() const { return form_; }
  HMODULE Module() const { return module_; }
  TScale Scale() const { return scale_; }
  const TFontSpec& Font() const { return font_; }
  // An integer property that is a length in layout pixels, in screen pixels.
  int Pixels(const TLayoutProperty& property) const { return Scale().Pixels(property.Int()); }
  template <typename Event>
  Event Handler(const TLayoutProperty& property) const {
    return handlers_.Get<Event>(property);
  }
  // When the property is the event `name`, binds `event` to the handler it names and returns
  // true; false for any other property.
  template <typename Event>
  bool BindEvent(const TLayoutProperty& property, std::string_view name, Event& event) const {
    if (property.name != name) return false;
    event = Handler<Event>(property);
    return true;
  }
  // A picture stored as a resource of the module, named by the property's text, drawn for the
  // form's scale.
  TPicture Picture(const TLayoutProperty& property) const;
  // References to other components are resolved after every component exists, since a
  // description may name a component that it creates later.
  void AfterBuild(std::function<void()> fixup) { fixups_.push_back(std::move(fixup)); }
  void RunFixups();

 private:
  TForm& form_;
  TScale scale_;
  const TFontSpec& font_;
  HMODULE module_;
  const THandlerTable& handlers_;
  TPictureLoader& pictures_;
  std::vector<std::function<void()>> fixups_;
};

class TComponent : public TObject {
 public:
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Applies one stored property. The base knows none; each class handles its own and hands
  // the rest to its base class.
  virtual void ApplyProperty(const TLayoutProperty& property, TLayoutContext& context);
  // A nested object or collection item of the description.
  virtual void AddChild(const TLayoutNode& child, TLayoutContext& context);
  // While a layout description is being applied, sizes that follow from several properties
  // (a label's size from its caption, font and word wrap) and a window's position and font wait
  // for Loaded.
  bool Loading() const { return loading_; }
  virtual void BeginLoading() { loading_ = true; }
  virtual void Loaded() { loading_ = false; }

  // A named part that this component owns (a menu's items), or null.
  virtual TComponent* FindPart(std::string_view) const { return nullptr; }

 private:
  std::string name_;
  bool loading_ = false;
};
