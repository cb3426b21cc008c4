#include "toolkit/resource.h"

#include "base/errors.h"

namespace {
HRSRC FindRcData(HMODULE module, const std::wstring& name) {
  return FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
}
}  // namespace

bool HasResourceBytes(HMODULE module, const std::wstring& name) {
  return FindRcData(module, name) != nullptr;
}

std::span<const std::uint8_t> ResourceBytes(HMODULE module, const std::wstring& name) {
  const HRSRC found = FindRcData(module, name);
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw Exception(L"Resource " + name + L" not found");
  // Resources stay mapped for the module's life, so the bytes need no owner.
  return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}
