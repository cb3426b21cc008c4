#pragma once
// The texts of the entry count label.

#include <string>

// "Total 57 Softwares": after the first show and the Uninstall and All Programs buttons.
inline std::wstring TotalCountText(int rows) {
  return L"Total " + std::to_wstring(rows) + L" Softwares";
}

// "57": after a search and a double-click uninstall.
inline std::wstring BareCountText(int rows) {
  return std::to_wstring(rows);
}
