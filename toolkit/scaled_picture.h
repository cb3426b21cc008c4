#pragma once
// Pictures drawn for the screen's density: each picture resource is stored for a few densities,
// and the one nearest the screen's is picked and, where it does not match, resized.

#include <windows.h>

#include <future>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/picture.h"
#include "toolkit/scale.h"

// The densities that pictures are stored for besides the layout's own: a picture resource NAME
// drawn at 125 % is stored as NAME_125, and so on.
inline constexpr int kPictureDpis[] = {96, 120, 144, 192};

// A picture resource at `scale`: the one stored for that density, or else the one stored for
// the nearest larger density (the largest there is for denser screens) resized to fit with a
// filter that keeps edges smooth. Raises Exception if the resource is missing or damaged.
TPicture LoadScaledPicture(HMODULE module, const std::wstring& name, TScale scale);

// The pictures of one window as it is built. The pictures named `ahead` are decoded in that
// order on a thread of their own while the caller goes on: under Wine the 870 x 619 skin alone
// takes 5 to 7 ms to decode, about as long as applying the form's own properties. Each request
// gets a picture of its own, as if it decoded it itself; a picture decoded ahead goes to the
// first request of its name. Waits for the thread when it ends.
class TPictureLoader {
 public:
  TPictureLoader(HMODULE module, TScale scale, std::vector<std::wstring> ahead);
  TPictureLoader(const TPictureLoader&) = delete;
  TPictureLoader& operator=(const TPictureLoader&) = delete;

  // The picture resource `name` at the scale, as `LoadScaledPicture` gives it: decoded ahead
  // (and waited for, if still being decoded), or else now. An error decoding it is raised here.
  TPicture Load(const std::wstring& name);

 private:
  HMODULE module_;
  TScale scale_;
  std::map<std::wstring, std::future<TPicture>> pictures_;  // decoded ahead, not yet asked for
  std::jthread thread_;  // last: it ends, and is waited for, before the pictures go
};
