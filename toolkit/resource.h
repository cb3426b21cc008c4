#pragma once
// The raw data resources of a module (the layout description, the pictures), read in place.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

// The raw bytes of a resource of type RCDATA; raises Exception if it is missing.
std::span<const std::uint8_t> ResourceBytes(HMODULE module, const std::wstring& name);
// Whether the module holds a resource of type RCDATA of that name.
bool HasResourceBytes(HMODULE module, const std::wstring& name);
