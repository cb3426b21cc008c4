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

TPictureLoader::TPictureLoader(HMODULE module, TScale scale, std::vector<std::wstring> ahead)
    : module_(module), scale_(scale) {
  std::vector<std::pair<std::wstring, std::promise<TPicture>>> promised;
  for (std::wstring& name : ahead) {
    if (pictures_.contains(name)) continue;
    std::promise<TPicture> promise;
    pictures_.emplace(name, promise.get_future());
    promised.emplace_back(std::move(name), std::move(promise));
  }
  if (promised.empty()) return;
  thread_ = std::jthread([module, scale, promised = std::move(promised)]() mutable {
    for (auto& [name, promise] : promised) {
      try {
        promise.set_value(LoadScaledPicture(module, name, scale));
      } catch (...) {
        promise.set_exception(std::current_exception());
      }
    }
  });
}

TPicture TPictureLoader::Load(const std::wstring& name) {
  const auto ahead = pictures_.find(name);
  if (ahead == pictures_.end()) return LoadScaledPicture(module_, name, scale_);
  std::future<TPicture> picture = std::move(ahead->second);
  pictures_.erase(ahead);
  return picture.get();
}
