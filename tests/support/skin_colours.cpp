#include "tests/support/skin_colours.h"

#include <cstdlib>

namespace testsupport {

testing::AssertionResult Near(COLORREF actual, int r, int g, int b, int tolerance) {
  const int ar = GetRValue(actual), ag = GetGValue(actual), ab = GetBValue(actual);
  if (std::abs(ar - r) <= tolerance && std::abs(ag - g) <= tolerance && std::abs(ab - b) <= tolerance)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "colour (" << ar << ", " << ag << ", " << ab << "), expected about ("
                                     << r << ", " << g << ", " << b << ")";
}

POINT ScaledPoint(int x, int y, int dpi) {
  return {(x * dpi + dpi / 2) / 96, (y * dpi + dpi / 2) / 96};
}

namespace {

struct SkinPoint {
  int x, y;
  int r, g, b;
  int tolerance;
  const char* what;
};

constexpr SkinPoint kSkinPoints[] = {
    {80, 400, 77, 76, 78, 6, "the dark body of the left column"},
    {1, 300, 43, 43, 44, 6, "the near-black outline"},
    {160, 55, 185, 8, 14, 8, "the red band at its top"},
    {600, 122, 196, 11, 20, 8, "the red band lower down, below the search field"},
    {240, 74, 250, 243, 244, 8, "the near-white search field around the edit box"},
    {160, 400, 207, 206, 207, 6, "the light panel left of the list's frame"},
    {500, 595, 207, 206, 207, 6, "the light panel below the details backdrop"},
    {400, 158, 113, 111, 114, 6, "the first header bar beside its caption"},
    {520, 158, 113, 111, 114, 6, "the second header bar"},
    {800, 150, 113, 111, 114, 6, "the last header bar"},
    {600, 480, 255, 255, 255, 6, "the list's white window below its last row"},
    {735, 86, 233, 240, 18, 12, "the Uninstall button's yellow face"},
    {140, 150, 103, 102, 104, 8, "the All Programs tile on the dark column"},
    {800, 580, 250, 243, 244, 8, "the details backdrop under the list"},
};

}  // namespace

void ExpectSkinColours(const Screenshot& shot, int dpi) {
  for (const SkinPoint& point : kSkinPoints) {
    const POINT at = ScaledPoint(point.x, point.y, dpi);
    EXPECT_TRUE(Near(shot.At(at.x, at.y), point.r, point.g, point.b, point.tolerance))
        << point.what << " at (" << at.x << ", " << at.y << ") of the window at " << dpi << " dpi";
  }
  // The list has a dark border of its own where the panel would otherwise show.
  const POINT border = ScaledPoint(168, 300, dpi);
  EXPECT_FALSE(Near(shot.At(border.x, border.y), 207, 206, 207, 20))
      << "the list's border at " << dpi << " dpi";
  // The count label's white text in the red band.
  const POINT from = ScaledPoint(176, 104, dpi);
  const POINT to = ScaledPoint(300, 126, dpi);
  bool whiteText = false;
  for (int x = from.x; x < to.x && !whiteText; ++x)
    for (int y = from.y; y < to.y && !whiteText; ++y) whiteText = Near(shot.At(x, y), 255, 255, 255, 30);
  EXPECT_TRUE(whiteText) << "no white count text in the red band at " << dpi << " dpi";
}

}  // namespace testsupport
