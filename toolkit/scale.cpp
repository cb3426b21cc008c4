#include "toolkit/scale.h"

#include "base/unique_handle.h"

TScale TScale::OfScreen() {
  const UniqueScreenDc screen(GetDC(nullptr));
  return TScale(GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

void DeclareDpiAware() {
  // Windows 10 and later know per-monitor awareness too; the window is built once at the
  // system's density, which the older call declares on every version since Vista.
  SetProcessDPIAware();
}
