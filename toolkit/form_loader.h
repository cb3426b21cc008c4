#pragma once
// Builds a form from its layout description: the form's own properties, then every nested
// object, created by the class the description names, then the references between them.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/handlers.h"

class TComponent;
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

// Applies `description` to `form`; resources (pictures, icons) come from `module`, and events
// are bound to the handlers of `handlers` by name. The form's OnCreate is not run here.
void LoadForm(TForm& form, std::string_view description, HMODULE module, const TClassRegistry& classes,
              const THandlerTable& handlers);
