// The image list's icons: what the list draws is what the icon itself draws at that size, over
// any background, for icons with an alpha channel and icons with only a mask.
#include "toolkit/image_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "actions/path_cleanup.h"
#include "tests/support/drawn_pixels.h"
#include "toolkit/graphics.h"

namespace {

// 20 x 20 pixels over a background of one colour, drawn by `draw` into a memory DC.
template <typename Draw>
std::vector<std::uint32_t> Pixels(COLORREF background, Draw draw) {
  return testsupport::DrawnPixels(background, draw);
}

// The largest difference of one colour channel between two pictures.
int LargestDifference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  int largest = 0;
  for (size_t i = 0; i < a.size(); ++i)
    for (int shift = 0; shift <= 16; shift += 8)
      largest = std::max(largest, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                           static_cast<int>((b[i] >> shift) & 0xFF)));
  return largest;
}

// An icon with no alpha channel: a white square with a black cross, transparent around it.
UniqueIcon MaskedIcon() {
  std::vector<std::uint8_t> mask(32 * 32 / 8, 0xFF);
  std::vector<std::uint32_t> colour(32 * 32, 0);
  for (int y = 8; y < 24; ++y)
    for (int x = 8; x < 24; ++x) {
      mask[static_cast<size_t>(y * 4 + x / 8)] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
      colour[static_cast<size_t>(y * 32 + x)] = (x == y || x == 31 - y) ? 0x000000 : 0xFFFFFF;
    }
  const UniqueBitmap maskBitmap(CreateBitmap(32, 32, 1, 1, mask.data()));
  const UniqueBitmap colourBitmap(CreateBitmap(32, 32, 1, 32, colour.data()));
  ICONINFO parts = {TRUE, 0, 0, maskBitmap.Get(), colourBitmap.Get()};
  return UniqueIcon(CreateIconIndirect(&parts));
}

TEST(ImageList, DrawsEachIconAsTheIconDrawsItselfOverWhiteAndOverBlack) {
  const UniqueIcon shell(GetFileIcon(L"C:\\windows\\notepad.exe"));
  const UniqueIcon system(CopyIcon(LoadIconW(nullptr, IDI_WARNING)));
  const UniqueIcon masked = MaskedIcon();
  TImageList images(20, 20);
  for (const HICON icon : {shell.Get(), system.Get(), masked.Get()}) {
    ASSERT_NE(icon, nullptr);
    const int index = images.AddIcon(icon);
    ASSERT_GE(index, 0);
    for (const COLORREF background : {RGB(255, 255, 255), RGB(0, 0, 0), RGB(40, 120, 200)}) {
      const auto listed = Pixels(background, [&](HDC dc) { images.Draw(dc, index, 0, 0, false); });
      const auto itself =
          Pixels(background, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 20, 20, 0, nullptr, DI_NORMAL); });
      EXPECT_LE(LargestDifference(listed, itself), 4) << "icon " << index << ", background " << background;
      EXPECT_NE(listed, Pixels(background, [](HDC) {})) << "the icon was drawn at all";
    }
  }
  EXPECT_EQ(images.Count(), 3);
  EXPECT_EQ(images.AddIcon(nullptr), -1);
  EXPECT_EQ(images.Count(), 3);
}

// The list draws its images itself; a row's icon must look as the system's image list, which the
// list view would otherwise draw it with, draws the same image: plain, and tinted as on a
// selected row.
TEST(ImageList, DrawsAnImageAsTheSystemImageListDrawsIt) {
  const UniqueIcon shell(GetFileIcon(L"C:\\windows\\notepad.exe"));
  const UniqueIcon system(CopyIcon(LoadIconW(nullptr, IDI_WARNING)));
  const UniqueIcon masked = MaskedIcon();
  TImageList images(20, 20);
  const UniqueImageList reference(ImageList_Create(20, 20, ILC_COLOR32 | ILC_MASK, 4, 4));
  for (const HICON icon : {shell.Get(), system.Get(), masked.Get()}) {
    ASSERT_NE(icon, nullptr);
    const UniqueBitmap rendered = images.RenderIcon(icon);
    const int index = images.AddImage(rendered.Get());
    ASSERT_EQ(ImageList_Add(reference.Get(), rendered.Get(), nullptr), index);
    for (const bool selected : {false, true})
      for (const COLORREF background : {RGB(255, 255, 255), RGB(40, 120, 200)}) {
        const auto ours = Pixels(background, [&](HDC dc) { images.Draw(dc, index, 0, 0, selected); });
        const auto system = Pixels(background, [&](HDC dc) {
          ImageList_DrawEx(reference.Get(), index, dc, 0, 0, 20, 20, CLR_NONE, CLR_DEFAULT,
                           selected ? ILD_SELECTED : ILD_NORMAL);
        });
        EXPECT_EQ(LargestDifference(ours, system), 0)
            << "icon " << index << (selected ? ", selected" : "") << ", background " << background;
      }
  }
  const auto untouched = Pixels(RGB(1, 2, 3), [](HDC) {});
  EXPECT_EQ(Pixels(RGB(1, 2, 3), [&](HDC dc) { images.Draw(dc, 3, 0, 0, false); }), untouched);
  EXPECT_EQ(Pixels(RGB(1, 2, 3), [&](HDC dc) { images.Draw(dc, -1, 0, 0, true); }), untouched);
  EXPECT_TRUE(images.Pixels(3).empty());
}

TEST(ImageList, OneRenderingServesAnyNumberOfAppends) {
  const UniqueIcon icon(CopyIcon(LoadIconW(nullptr, IDI_INFORMATION)));
  TImageList images(20, 20);
  const UniqueBitmap rendered = images.RenderIcon(icon.Get());
  ASSERT_TRUE(rendered);
  for (int i = 0; i < 300; ++i) ASSERT_EQ(images.AddImage(rendered.Get()), i);
  const auto first = Pixels(RGB(255, 255, 255), [&](HDC dc) { images.Draw(dc, 0, 0, 0, false); });
  const auto last = Pixels(RGB(255, 255, 255), [&](HDC dc) { images.Draw(dc, 299, 0, 0, false); });
  EXPECT_EQ(first, last);
}

// The list makes room for the next appends in steps; each image stays where it was appended, and
// the room made is not counted, across several steps.
TEST(ImageList, ImagesKeepTheirPlacesAsTheListGrows) {
  const UniqueIcon information(CopyIcon(LoadIconW(nullptr, IDI_INFORMATION)));
  const UniqueIcon masked = MaskedIcon();
  TImageList images(20, 20);
  const UniqueBitmap odd = images.RenderIcon(information.Get());
  const UniqueBitmap even = images.RenderIcon(masked.Get());
  constexpr int kAppends = 1500;
  for (int i = 0; i < kAppends; ++i) {
    ASSERT_EQ(images.AddImage(i % 2 ? odd.Get() : even.Get()), i);
    ASSERT_EQ(images.Count(), i + 1);
  }
  const auto drawn = [&](int index) {
    return Pixels(RGB(40, 120, 200), [&](HDC dc) { images.Draw(dc, index, 0, 0, false); });
  };
  const auto oddPicture = drawn(1);
  const auto evenPicture = drawn(0);
  ASSERT_NE(oddPicture, evenPicture);
  for (const int index :
       {2, 3, 255, 256, 257, 319, 320, 321, 511, 512, 1024, 1025, kAppends - 2, kAppends - 1})
    EXPECT_EQ(drawn(index), index % 2 ? oddPicture : evenPicture) << "image " << index;
  EXPECT_EQ(images.AddImage(nullptr), -1);
  EXPECT_EQ(images.Count(), kAppends);
}

}  // namespace
