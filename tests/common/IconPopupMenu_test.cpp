// Popup menus with command icons: bitmaps by identifier, insertion order, and items without
// icons.
#include "common/IconPopupMenu.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/AppModule.h"
#include "framework/Dpi.h"
#include "framework/MenuPictures.h"
#include "tests/common/CommandIconStrip.h"

namespace {

std::wstring ItemText(HMENU menu, int position) {
  wchar_t text[64] = {};
  ::GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
  return text;
}

HBITMAP ItemBitmap(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP;
  if (!::GetMenuItemInfoW(menu, position, TRUE, &info)) return nullptr;
  return info.hbmpItem;
}

UINT ItemState(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_ID;
  ::GetMenuItemInfoW(menu, position, TRUE, &info);
  return info.fState;
}

// Every command of the one picture table shows its picture, in any menu; others show none.
TEST(IconPopupMenu, ItemsCarryTheIconsOfTheirCommands) {
  TestStripLibrary library;
  ASSERT_TRUE(library.Loaded());
  IconPopupMenu menu(::CreatePopupMenu());
  EXPECT_TRUE(menu.InsertItem(170, L"Open", MFS_ENABLED));
  EXPECT_TRUE(menu.InsertItem(282, L"Alias", MFS_DISABLED));
  EXPECT_TRUE(menu.InsertItem(9999, L"No icon", MFS_ENABLED));
  EXPECT_TRUE(menu.InsertItem(500, L"Not listed", MFS_CHECKED));
  // Same identifier again: goes before the existing item.
  EXPECT_TRUE(menu.InsertItem(170, L"Open again", MFS_ENABLED));

  HMENU m = menu.Get();
  ASSERT_EQ(::GetMenuItemCount(m), 5);
  const struct {
    const wchar_t* text;
    int stripImage;  // -1: no bitmap
  } table[] = {{L"Open again", 0}, {L"Open", 0}, {L"Alias", 2}, {L"No icon", -1}, {L"Not listed", -1}};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(ItemText(m, i) == table[i].text);
    HBITMAP bitmap = ItemBitmap(m, i);
    if (table[i].stripImage < 0) {
      EXPECT_EQ(bitmap, nullptr);
      continue;
    }
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_TRUE(::GetObjectW(bitmap, sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, orv::ScreenPictureSize() + orv::MenuPictureGap(orv::ScreenDpi()));
    EXPECT_EQ(info.bmHeight, orv::ScreenPictureSize());
    EXPECT_EQ(BitmapPixel(bitmap, orv::ScreenPictureSize() / 2, orv::ScreenPictureSize() / 2 - 1),
              TestStripLibrary::Colour(table[i].stripImage));
  }
  EXPECT_TRUE(ItemState(m, 2) & MFS_DISABLED);
  EXPECT_TRUE(ItemState(m, 4) & MFS_CHECKED);
}

TEST(IconPopupMenu, WithoutIconsItemsHaveNoBitmaps) {
  const HINSTANCE previous = orv::g_Module.SetResourceInstance(::GetModuleHandleW(nullptr));
  {
    IconPopupMenu menu(::CreatePopupMenu());
    EXPECT_TRUE(menu.InsertItem(170, L"Open", MFS_ENABLED));
    EXPECT_EQ(ItemBitmap(menu.Get(), 0), nullptr);
    EXPECT_EQ(::GetMenuItemCount(menu.Get()), 1);
  }
  orv::g_Module.SetResourceInstance(previous);
}

TEST(IconPopupMenu, DestroysItsMenu) {
  HMENU raw = ::CreatePopupMenu();
  {
    IconPopupMenu menu(raw);
    EXPECT_TRUE(::IsMenu(raw));
  }
  EXPECT_FALSE(::IsMenu(raw));
}

}  // namespace
