#include "toolkit/scale.h"

#include "toolkit/component.h"

TScale TScale::OfScreen() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return TScale(dpi);
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

namespace {

std::wstring VariantName(const std::wstring& name, int dpi) {
  return dpi == TScale::kLayoutDpi ? name : name + L"_" + std::to_wstring(dpi * 100 / TScale::kLayoutDpi);
}

}  // namespace

TPicture LoadScaledPicture(HMODULE module, const std::wstring& name, TScale scale) {
  // The nearest stored density at or above the screen's, else the densest one stored.
  int chosen = TScale::kLayoutDpi;
  for (const int dpi : kPictureDpis) {
    if (!HasResourceBytes(module, VariantName(name, dpi))) continue;
    chosen = dpi;
    if (dpi >= scale.Dpi()) break;
  }
  const TPicture stored = DecodePicture(ResourceBytes(module, VariantName(name, chosen)));
  if (chosen == scale.Dpi()) return stored;
  return ResizedPicture(stored, MulDiv(stored.Width(), scale.Dpi(), chosen),
                        MulDiv(stored.Height(), scale.Dpi(), chosen));
}
