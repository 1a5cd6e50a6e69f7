// Command icon lists cut from a toolbar strip whose images have known colours, and from the
// real resource library.
#include "common/LoadImageListFromResource.h"

#include <gtest/gtest.h>

#include "framework/AppModule.h"
#include "tests/common/CommandIconStrip.h"

namespace {

constexpr COLORREF kMarker = RGB(255, 0, 255);

TEST(CommandIconIndex, TableAndAliases) {
  const int table[] = {170, 142, 144, 145, 143, 146, 147, 148, 149, 150, 151, 152, 153, 155, 154, 181,
                       173, 156, 285, 157, 193, 714, 57670, 57666, 160, 172, 57665, 180, 219, 283, 297, 298};
  for (int i = 0; i < 32; ++i) EXPECT_EQ(CommandIconIndex(table[i]), i) << table[i];
  const struct {
    int command;
    int index;
  } others[] = {{282, 2}, {286, 14}, {322, 19}, {220, 26}, {0, -1}, {-1, -1}, {141, -1}, {57600, -1}};
  for (const auto& row : others) EXPECT_EQ(CommandIconIndex(row.command), row.index) << row.command;
}

TEST(LoadImageListFromResource, ImagesFollowTheIdentifiers) {
  TestStripLibrary library;
  ASSERT_TRUE(library.Loaded());
  // An unknown command keeps its slot (empty) so that the icons after it stay in place; -1 ends
  // the list before the count does.
  const int ids[] = {170, 298, 282, 220, 9999, 142, -1, 143};
  const struct {
    int image;  // strip image expected, -1: empty
  } expected[] = {{0}, {31}, {2}, {26}, {-1}, {1}};

  orv::ScopedImageList list;
  ASSERT_TRUE(LoadImageListFromResource(list, 8, ids));
  ASSERT_TRUE(list);
  int w = 0;
  int h = 0;
  ASSERT_TRUE(::ImageList_GetIconSize(list.Get(), &w, &h));
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 16);
  ASSERT_EQ(::ImageList_GetImageCount(list.Get()), 6);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const COLORREF want = expected[i].image < 0 ? kMarker : TestStripLibrary::Colour(expected[i].image);
    for (const POINT p : {POINT{0, 0}, POINT{8, 8}, POINT{15, 15}}) {
      EXPECT_EQ(ImagePixel(list.Get(), i, p.x, p.y, kMarker, ILD_TRANSPARENT), want);
    }
  }
}

TEST(LoadImageListFromResource, Counts) {
  TestStripLibrary library;
  ASSERT_TRUE(library.Loaded());
  const int ids[] = {170, 142, 144, 145};
  const struct {
    int count;
    int images;
  } table[] = {{0, 0}, {1, 1}, {4, 4}};
  for (const auto& row : table) {
    orv::ScopedImageList list;
    ASSERT_TRUE(LoadImageListFromResource(list, row.count, ids));
    EXPECT_EQ(::ImageList_GetImageCount(list.Get()), row.images);
  }
  orv::ScopedImageList list;
  EXPECT_FALSE(LoadImageListFromResource(list, 2, nullptr));
  EXPECT_FALSE(list);
}

TEST(LoadImageListFromResource, WithoutAStripThereIsNoList) {
  // The test program itself has no bitmaps.
  const HINSTANCE previous = orv::g_Module.SetResourceInstance(::GetModuleHandleW(nullptr));
  const int ids[] = {170};
  orv::ScopedImageList list(::ImageList_Create(16, 16, ILC_COLOR32, 1, 0));
  EXPECT_FALSE(LoadImageListFromResource(list, 1, ids));
  EXPECT_FALSE(list);
  orv::g_Module.SetResourceInstance(previous);
}

TEST(LoadImageListFromResource, RealResourceLibrary) {
  const bool hasStrip =
      ::FindResourceW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(kCommandIconStripId), RT_BITMAP) != nullptr;
  if (!hasStrip) GTEST_SKIP() << "the resource library has no toolbar strip yet";
  const int ids[] = {170, 142, 144, 145, 143, 146, 147, 148, 149, 150, 151, 152, 153, 155, 154, 181,
                     173, 156, 285, 157, 193, 714, 57670, 57666, 160, 172, 57665, 180, 219, 283, 297, 298};
  orv::ScopedImageList list;
  ASSERT_TRUE(LoadImageListFromResource(list, 32, ids));
  EXPECT_EQ(::ImageList_GetImageCount(list.Get()), 32);
  int w = 0;
  int h = 0;
  ::ImageList_GetIconSize(list.Get(), &w, &h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 16);
}

}  // namespace
