#pragma once
// COM objects of ours. A COM object lives by its references: it is made with one, and its own
// Release frees it when the last one goes, whoever holds that one (a screen reader may hold an
// accessible object longer than the window it describes). MakeComObject is where such an object
// is allocated; its first reference goes straight to an owner type.

#include <utility>

#include "base/unique_handle.h"

template <typename T, typename Owner = UniqueCom<T>, typename... Args>
Owner MakeComObject(Args&&... args) {
  return Owner(new T(std::forward<Args>(args)...));
}
