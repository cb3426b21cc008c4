// Pictures for other screen densities: the stored picture of the nearest density at or above
// the screen's, resized smoothly where none is stored for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "base/errors.h"
#include "toolkit/picture.h"
#include "toolkit/resource.h"
#include "toolkit/scaled_picture.h"

namespace {

// A picture of `width` x `height` pixels, each given as B, G, R, A (straight alpha).
TPicture MakePicture(int width, int height, bool hasAlpha,
                     const std::function<std::array<std::uint8_t, 4>(int, int)>& at) {
  std::vector<std::uint8_t> bgra;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (const std::uint8_t channel : at(x, y)) bgra.push_back(channel);
  return TPicture(std::make_shared<const TGraphic>(width, height, hasAlpha, bgra));
}

// The premultiplied pixel as drawn.
std::array<int, 4> PixelOf(const TPicture& picture, int x, int y) {
  const auto pixels = picture.Graphic()->Pixels();
  const size_t at = (static_cast<size_t>(y) * picture.Width() + x) * 4;
  return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
}

TEST(ScaleTest, LengthsOfTheLayoutRoundHalfAwayFromZero) {
  EXPECT_EQ(TScale().Pixels(870), 870);
  EXPECT_EQ(TScale(120).Pixels(870), 1088);  // 1087.5
  EXPECT_EQ(TScale(144).Pixels(619), 929);   // 928.5
  EXPECT_EQ(TScale(192).Pixels(-12), -24);
  EXPECT_EQ(TScale(120).Pixels(-13), -16);  // -16.25
  EXPECT_EQ(TScale(0), TScale(96));         // a density the system does not report
}

TEST(ScaleTest, ResizingKeepsFlatAreasExactAndAddsNoColourAtTransparentEdges) {
  // Left half opaque red, right half transparent.
  const TPicture picture = MakePicture(40, 20, true, [](int x, int) {
    return x < 20 ? std::array<std::uint8_t, 4>{0, 0, 255, 255}
                  : std::array<std::uint8_t, 4>{255, 255, 255, 0};
  });
  for (const auto& [width, height] : {std::pair{35, 17}, {30, 15}, {20, 10}, {60, 30}}) {
    const TPicture resized = ResizedPicture(picture, width, height);
    ASSERT_EQ(resized.Width(), width);
    ASSERT_EQ(resized.Height(), height);
    EXPECT_TRUE(resized.Graphic()->HasAlpha());
    EXPECT_EQ(PixelOf(resized, 0, height / 2), (std::array<int, 4>{0, 0, 255, 255})) << width;
    EXPECT_EQ(PixelOf(resized, width - 1, height / 2), (std::array<int, 4>{0, 0, 0, 0})) << width;
    // Along the edge the pixels fade out, red all the way: the white of the transparent pixels
    // never shows.
    bool blended = false;
    for (int x = 0; x < width; ++x) {
      const auto [b, g, r, a] = PixelOf(resized, x, height / 2);
      EXPECT_EQ(b, 0);
      EXPECT_EQ(g, 0);
      EXPECT_EQ(r, a);
      blended = blended || (a > 0 && a < 255);
    }
    EXPECT_TRUE(blended) << "a hard edge at width " << width;
  }
  EXPECT_EQ(ResizedPicture(picture, 40, 20), picture);  // the same size is the same picture
  EXPECT_TRUE(ResizedPicture(TPicture(), 10, 10).Empty());
}

TEST(ScaleTest, APictureComesAsStoredForItsDensityOrResizedFromTheNearestLargerOne) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const auto sizeAt = [&](int dpi) {
    const TPicture picture = LoadScaledPicture(module, L"SKIN_PNG", TScale(dpi));
    return std::pair{picture.Width(), picture.Height()};
  };
  EXPECT_EQ(sizeAt(96), std::pair(870, 619));
  EXPECT_EQ(sizeAt(120), std::pair(1088, 774));
  EXPECT_EQ(sizeAt(144), std::pair(1305, 929));
  EXPECT_EQ(sizeAt(192), std::pair(1740, 1238));
  EXPECT_EQ(sizeAt(168), std::pair(1523, 1083));  // 175 %, from the 200 % picture
  EXPECT_EQ(sizeAt(240), std::pair(2175, 1548));  // denser than any stored: the densest, enlarged
  EXPECT_EQ(sizeAt(72), std::pair(653, 464));

  // Resized from the 200 % picture, the light panel keeps its colour.
  const TPicture at175 = LoadScaledPicture(module, L"SKIN_PNG", TScale(168));
  EXPECT_EQ(PixelOf(at175, 160 * 168 / 96, 400 * 168 / 96), (std::array<int, 4>{207, 206, 207, 255}));
  // The 96-dpi picture is the stored one, untouched.
  const TPicture stored = DecodePicture(ResourceBytes(module, L"SKIN_PNG"));
  const TPicture at100 = LoadScaledPicture(module, L"SKIN_PNG", TScale());
  EXPECT_TRUE(std::equal(stored.Graphic()->Pixels().begin(), stored.Graphic()->Pixels().end(),
                         at100.Graphic()->Pixels().begin()));
  EXPECT_THROW(LoadScaledPicture(module, L"NO_SUCH_PNG", TScale(144)), Exception);
}

}  // namespace
