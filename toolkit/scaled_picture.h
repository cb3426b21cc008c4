#pragma once
// Pictures drawn for the screen's density: each picture resource is stored for a few densities,
// and the one nearest the screen's is picked and, where it does not match, resized.

#include <windows.h>

#include <string>

#include "toolkit/picture.h"
#include "toolkit/scale.h"

// The densities that pictures are stored for besides the layout's own: a picture resource NAME
// drawn at 125 % is stored as NAME_125, and so on.
inline constexpr int kPictureDpis[] = {96, 120, 144, 192};

// A picture resource at `scale`: the one stored for that density, or else the one stored for
// the nearest larger density (the largest there is for denser screens) resized to fit with a
// filter that keeps edges smooth. Raises Exception if the resource is missing or damaged.
TPicture LoadScaledPicture(HMODULE module, const std::wstring& name, TScale scale);
