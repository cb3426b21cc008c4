#include "toolkit/scale.h"

#include "base/unique_handle.h"

TScale TScale::OfScreen() {
  const UniqueScreenDc screen(GetDC(nullptr));
  return TScale(GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

void DeclareDpiAware() {
  // Per monitor (second version, Windows 10 1703 and later): the system tells each window when
  // it comes to a screen of another density (WM_DPICHANGED) instead of stretching it, and scales
  // its frame and child windows' frames itself. Older systems lack the call, and take the
  // system-wide awareness that every version since Vista knows: the window is built once, at the
  // system's density. user32 is loaded with the program, so nothing is loaded here.
  using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const FARPROC found = user32 ? GetProcAddress(user32, "SetProcessDpiAwarenessContext") : nullptr;
  const auto setContext = reinterpret_cast<SetContext>(reinterpret_cast<void (*)()>(found));
  if (setContext && setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
  SetProcessDPIAware();
}
