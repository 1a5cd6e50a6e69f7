// Sizes and pictures at the screen's density: scaled by dpi / 96, pictures resampled with their
// transparency, nothing changed at 96 DPI.
#include "framework/Dpi.h"

#include <gtest/gtest.h>

#include "framework/MenuPictures.h"

namespace {

TEST(Dpi, SizesFollowTheDensity) {
  struct Case {
    int dpi, picture, gap, button;
  };
  // A 16-pixel picture, the menu's 3-pixel gap and a 23-pixel button at each density.
  for (const Case& c : {Case{96, 16, 3, 23}, Case{120, 20, 4, 29}, Case{144, 24, 5, 35}, Case{192, 32, 6, 46}}) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(orv::PictureSizeForDpi(c.dpi), c.picture);
    EXPECT_EQ(orv::MenuPictureGap(c.dpi), c.gap);
    EXPECT_EQ(orv::ScaleToDpi(23, c.dpi), c.button);
  }
  EXPECT_GT(orv::ScreenDpi(), 0);
  EXPECT_EQ(orv::ScreenPictureSize(), orv::PictureSizeForDpi(orv::ScreenDpi()));
}

orv::ImagePixels Picture(int width, int height, uint32_t fill) {
  orv::ImagePixels p;
  p.Width = width;
  p.Height = height;
  p.Pixels.assign(static_cast<size_t>(width) * height, fill);
  return p;
}

TEST(Dpi, PicturesAreResampledWithTheirTransparency) {
  // An opaque red pixel beside a transparent one: at 1.5 times the middle pixel covers half of
  // each, a half transparent red (premultiplied).
  orv::ImagePixels pair = Picture(2, 1, 0);
  pair.Pixels[0] = 0xFFFF0000;
  const orv::ImagePixels big = orv::ScaleImagePixels(pair, 3, 2);
  EXPECT_EQ(big.Pixels, (std::vector<uint32_t>{0xFFFF0000u, 0x80800000u, 0u, 0xFFFF0000u, 0x80800000u, 0u}));
  orv::ImagePixels half = Picture(4, 2, 0);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) half.Pixels[static_cast<size_t>(y) * 4 + x] = 0xFFFF0000;
  // The same size gives the picture itself; an empty picture or size gives nothing.
  EXPECT_EQ(orv::ScaleImagePixels(half, 4, 2).Pixels, half.Pixels);
  EXPECT_TRUE(orv::ScaleImagePixels(orv::ImagePixels{}, 6, 3).Empty());
  EXPECT_TRUE(orv::ScaleImagePixels(half, 0, 3).Empty());
  // A smaller picture averages what each new pixel covers.
  EXPECT_EQ(orv::ScaleImagePixels(half, 2, 1).Pixels, (std::vector<uint32_t>{0xFFFF0000u, 0u}));
}

TEST(Dpi, ImageListsAreScaledPictureByPicture) {
  orv::ScopedImageList list(::ImageList_Create(16, 16, ILC_COLOR32, 2, 0));
  ASSERT_TRUE(list);
  for (uint32_t colour : {0xFF00FF00u, 0xFF0000FFu}) {
    orv::ScopedBitmap bitmap = orv::MakeStraightAlphaBitmap(Picture(16, 16, colour));
    ASSERT_GE(::ImageList_Add(list.Get(), bitmap.Get(), nullptr), 0);
  }
  const HIMAGELIST original = list.Get();
  orv::ScopedImageList same = orv::ScaleImageList(std::move(list), 16, 16);
  EXPECT_EQ(same.Get(), original) << "at 96 DPI the list stays as it is";
  orv::ScopedImageList scaled = orv::ScaleImageList(std::move(same), 24, 24);
  ASSERT_TRUE(scaled);
  int w = 0, h = 0;
  ASSERT_TRUE(::ImageList_GetIconSize(scaled.Get(), &w, &h));
  EXPECT_EQ(w, 24);
  EXPECT_EQ(h, 24);
  ASSERT_EQ(::ImageList_GetImageCount(scaled.Get()), 2);
  EXPECT_EQ(orv::ReadImagePixels(scaled.Get(), 0).Pixels[300], 0xFF00FF00u);
  EXPECT_EQ(orv::ReadImagePixels(scaled.Get(), 1).Pixels[300], 0xFF0000FFu);
}

TEST(Dpi, AMenuPictureKeepsTheGapOfItsDensity) {
  orv::ScopedImageList list(::ImageList_Create(24, 24, ILC_COLOR32, 1, 0));
  orv::ScopedBitmap bitmap = orv::MakeStraightAlphaBitmap(Picture(24, 24, 0xFF102030u));
  ASSERT_GE(::ImageList_Add(list.Get(), bitmap.Get(), nullptr), 0);
  for (const int dpi : {96, 144}) {
    orv::ScopedBitmap picture = orv::MakeMenuPicture(list.Get(), 0, dpi);
    BITMAP bm{};
    ASSERT_TRUE(::GetObjectW(picture.Get(), sizeof(bm), &bm));
    EXPECT_EQ(bm.bmWidth, 24 + orv::MenuPictureGap(dpi));
    EXPECT_EQ(bm.bmHeight, 24);
  }
}

}  // namespace
