#pragma once
// Event handler types, and the table through which a layout description binds events to a
// form's handlers by name.

#include <windows.h>

#include <any>
#include <functional>
#include <map>
#include <string>

#include "toolkit/layout.h"

class TObject {
 public:
  virtual ~TObject() = default;
};

// Which buttons and keys were down, from a mouse message's key flags.
struct TShiftState {
  bool left = false;
  bool right = false;
  bool middle = false;
  bool shift = false;
  bool ctrl = false;
};

class TListItem;

using TNotifyEvent = std::function<void(TObject& Sender)>;
using TKeyEvent = std::function<void(TObject& Sender, WORD& Key, TShiftState Shift)>;
using TMouseMoveEvent = std::function<void(TObject& Sender, TShiftState Shift, int X, int Y)>;
enum class TItemChange { Text, Image, State };
using TLVChangeEvent = std::function<void(TObject& Sender, const TListItem* Item, TItemChange Change)>;
using TLVColumnClickEvent = std::function<void(TObject& Sender, int ColumnIndex)>;
using TLVCompareEvent = std::function<void(TObject& Sender, const TListItem& Item1, const TListItem& Item2,
                                           int Data, int& Compare)>;

// Handlers by name. A name bound to a handler of another type is a layout error.
class THandlerTable {
 public:
  template <typename Event>
  void Add(std::string name, Event handler) {
    handlers_[std::move(name)] = std::move(handler);
  }

  template <typename Event>
  Event Get(const TLayoutProperty& property) const {
    const auto found = handlers_.find(property.Ident());
    if (found == handlers_.end()) property.Fail("no handler named " + property.Ident());
    const Event* handler = std::any_cast<Event>(&found->second);
    if (!handler) property.Fail("handler " + property.Ident() + " does not fit this event");
    return *handler;
  }

 private:
  std::map<std::string, std::any, std::less<>> handlers_;
};
