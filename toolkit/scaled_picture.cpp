#include "toolkit/scaled_picture.h"

#include "toolkit/resource.h"

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
