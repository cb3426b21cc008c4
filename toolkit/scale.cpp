#include "toolkit/scale.h"

TScale TScale::OfScreen() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return TScale(dpi);
}

void DeclareDpiAware() {
  // Windows 10 and later know per-monitor awareness too; the window is built once at the
  // system's density, which the older call declares on every version since Vista.
  SetProcessDPIAware();
}
