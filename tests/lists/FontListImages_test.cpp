// The image lists and icons that every font list shares: loaded once, and destroyed by the
// entry point after the message loop has ended.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/ResourceIds.h"
#include "lists/FontListImages.h"

namespace {

bool IsLiveIcon(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return false;
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  return true;
}

TEST(FontListImages, DestroyReleasesListsAndIconsAndALaterListLoadsThemAgain) {
  HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(list);
  FontListImages::Destroy();
  FontListImages::Load(list);
  const FontListImages& images = FontListImages::Get();
  ASSERT_TRUE(images.small && images.large);
  EXPECT_EQ(::ImageList_GetImageCount(images.large), FontListImages::kImageCount);
  const HICON typeIcon = FontListImages::Icon(0);
  // A resource icon is loaded once, however often the rows draw it.
  const HICON resourceIcon = FontListImages::ResourceIcon(IDR_MAINFRAME, 16);
  EXPECT_EQ(FontListImages::ResourceIcon(IDR_MAINFRAME, 16), resourceIcon);
  ASSERT_TRUE(IsLiveIcon(typeIcon));
  ASSERT_TRUE(IsLiveIcon(resourceIcon));

  FontListImages::Destroy();
  EXPECT_FALSE(images.small || images.large || images.ownerList);
  EXPECT_FALSE(IsLiveIcon(typeIcon));
  EXPECT_FALSE(IsLiveIcon(resourceIcon));
  EXPECT_EQ(FontListImages::Icon(0), nullptr);

  FontListImages::Load(list);
  EXPECT_TRUE(images.small && images.large);
  EXPECT_TRUE(IsLiveIcon(FontListImages::Icon(0)));
  ::DestroyWindow(list);
}

}  // namespace
