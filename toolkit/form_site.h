#pragma once
// What a form needs from the program around it, handed to it when it is built.

#include <windows.h>

#include <exception>
#include <functional>

#include "toolkit/scale.h"

struct TFormSite {
  // The window that owns the form's window (the application window), or none.
  HWND owner = nullptr;
  // Receives what a handler of the form lets escape; without it such errors are dropped.
  std::function<void(std::exception_ptr)> reportError;
  // The screen's density against the layout's.
  TScale scale;
};
