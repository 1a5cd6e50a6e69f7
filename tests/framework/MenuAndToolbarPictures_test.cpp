// Pictures of menu items and toolbar buttons, looked at as drawn: a popup whose items carry
// pictures keeps every label whole beside them (read back off the screen), and a disabled
// toolbar button shows a greyed, lighter picture, not a flat square.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/Handles.h"
#include "framework/ImageListPixels.h"
#include "framework/MenuPictures.h"
#include "framework/ToolbarResource.h"
#include "framework/TrackPopupMenuOnMonitor.h"
#include "tests/support/MenuDrawing.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr int kSize = 16;
constexpr uint32_t kInk = 0xFF202080;  // opaque dark blue, 0xAARRGGBB

// A dark square of 10 pixels in a transparent 16-pixel frame: twice in a 32-bit list with alpha,
// once drawn masked on magenta in a 24-bit list.
orv::ScopedImageList AlphaImages() {
  orv::ImagePixels picture;
  picture.Width = picture.Height = kSize;
  picture.Pixels.assign(kSize * kSize, 0);
  for (int y = 3; y < 13; ++y)
    for (int x = 3; x < 13; ++x) picture.Pixels[y * kSize + x] = kInk;
  orv::ScopedImageList list(::ImageList_Create(kSize, kSize, ILC_COLOR32, 2, 0));
  orv::ScopedBitmap bitmap = orv::MakeStraightAlphaBitmap(picture);
  ::ImageList_Add(list.Get(), bitmap.Get(), nullptr);
  ::ImageList_Add(list.Get(), bitmap.Get(), nullptr);
  return list;
}

orv::ScopedImageList MaskedImages() {
  orv::ScopedGetDC screen(nullptr);
  orv::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), kSize, kSize));
  {
    orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
    orv::ScopedSelectObject select(dc.Get(), bitmap.Get());
    RECT all{0, 0, kSize, kSize}, square{3, 3, 13, 13};
    orv::ScopedBrush magenta(::CreateSolidBrush(RGB(255, 0, 255))), ink(::CreateSolidBrush(RGB(0x20, 0x20, 0x80)));
    ::FillRect(dc.Get(), &all, magenta.Get());
    ::FillRect(dc.Get(), &square, ink.Get());
  }
  orv::ScopedImageList list(::ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, 1, 0));
  ::ImageList_AddMasked(list.Get(), bitmap.Get(), RGB(255, 0, 255));
  return list;
}

uint32_t At(const orv::ImagePixels& p, int x, int y) { return p.Pixels[static_cast<size_t>(y) * p.Width + x]; }

TEST(MenuAndToolbarPictures, PicturesKeepTheirTransparencyAndDisabledCopiesAreGreyAndLighter) {
  for (bool masked : {false, true}) {
    SCOPED_TRACE(masked ? "masked list" : "alpha list");
    orv::ScopedImageList images = masked ? MaskedImages() : AlphaImages();
    const orv::ImagePixels read = orv::ReadImagePixels(images.Get(), 0);
    ASSERT_EQ(read.Width, kSize);
    EXPECT_EQ(At(read, 0, 0), 0u) << "the frame stays transparent";
    EXPECT_EQ(At(read, 8, 8), kInk) << "the square keeps its colour";

    orv::ScopedImageList disabled = orv::MakeDisabledImageList(images.Get());
    ASSERT_TRUE(disabled);
    EXPECT_EQ(::ImageList_GetImageCount(disabled.Get()), ::ImageList_GetImageCount(images.Get()));
    const orv::ImagePixels grey = orv::ReadImagePixels(disabled.Get(), 0);
    ASSERT_EQ(grey.Width, kSize);
    EXPECT_EQ(At(grey, 0, 0), 0u);
    const uint32_t p = At(grey, 8, 8), alpha = p >> 24;
    const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    EXPECT_TRUE(alpha > 0x80 && alpha < 0xFF) << std::hex << p;
    EXPECT_TRUE(r == g && g == b) << std::hex << p;
    EXPECT_GT(r * 0xFF / alpha, 0x80u) << "lighter than the dark original";
  }
  EXPECT_TRUE(orv::ReadImagePixels(nullptr, 0).Empty());
  orv::ScopedImageList images = AlphaImages();
  EXPECT_TRUE(orv::ReadImagePixels(images.Get(), 2).Empty());
  EXPECT_FALSE(orv::MakeDisabledImageList(nullptr));
}

COLORREF ToolbarPixel(HWND toolbar, int command, int dx, int dy) {
  RECT rc{};
  ::SendMessageW(toolbar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rc));
  ::RedrawWindow(toolbar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  orv::ScopedGetDC dc(toolbar);
  const int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
  return ::GetPixel(dc.Get(), cx + dx, cy + dy);
}

TEST(MenuAndToolbarPictures, ADisabledToolbarButtonShowsItsGreyedPicture) {
  HWND host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 50, 200, 60, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(host);
  HWND toolbar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER,
                                   0, 0, 200, 30, host, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(toolbar);
  ::SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  orv::ScopedImageList images = AlphaImages();
  orv::ScopedImageList disabled = orv::SetToolbarImages(toolbar, images.Get());
  ASSERT_TRUE(disabled);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessageW(toolbar, TB_GETDISABLEDIMAGELIST, 0, 0)), disabled.Get());
  TBBUTTON buttons[] = {{0, 101, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1}, {1, 102, 0, BTNS_BUTTON, {}, 0, -1}};
  ::SendMessageW(toolbar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
  ::SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
  testing_support::PumpMessages(50);

  const COLORREF enabledInk = ToolbarPixel(toolbar, 101, 0, 0);
  const COLORREF disabledInk = ToolbarPixel(toolbar, 102, 0, 0);
  const COLORREF disabledFrame = ToolbarPixel(toolbar, 102, -7, -7);
  const COLORREF face = ::GetPixel(orv::ScopedGetDC(toolbar).Get(), 1, 1);
  EXPECT_EQ(enabledInk, RGB(0x20, 0x20, 0x80));
  EXPECT_TRUE(GetRValue(disabledInk) == GetGValue(disabledInk) && GetGValue(disabledInk) == GetBValue(disabledInk))
      << std::hex << disabledInk;
  EXPECT_GT(GetRValue(disabledInk), 0x80) << "lighter than the picture";
  EXPECT_NE(disabledInk, face) << "a picture, not the button face";
  EXPECT_EQ(disabledFrame, face) << "the picture's transparent frame shows the face, not a square";
  testing_support::SaveWindowImage(host, testing_support::ArtifactsDir() + L"\\framework_disabled_button.bmp");
  ::DestroyWindow(host);
}

// A popup like the program's: items with and without pictures, a check mark, a disabled item,
// a label longer than the rest and a shortcut; shown through the program's popup routine.
TEST(MenuAndToolbarPictures, APopupShowsItsPicturesBesideWholeLabels) {
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 40, 40, 100, 40, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(owner);
  orv::ScopedImageList images = AlphaImages();
  orv::ScopedBitmap picture = orv::MakeMenuPicture(images.Get(), 0);
  ASSERT_TRUE(picture);
  orv::ScopedMenu menu(::CreatePopupMenu());
  ::AppendMenuW(menu.Get(), MF_STRING, 1, L"&Index");
  ::AppendMenuW(menu.Get(), MF_STRING | MF_CHECKED, 2, L"Wide item without a picture of its own, longest of all");
  ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu.Get(), MF_STRING | MF_GRAYED, 3, L"Jumbled\tCtrl+J");
  ::AppendMenuW(menu.Get(), MF_STRING | MF_CHECKED, 4, L"With picture and check");
  for (UINT id : {1u, 3u, 4u}) {
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_BITMAP;
    mii.hbmpItem = picture.Get();
    ::SetMenuItemInfoW(menu.Get(), id, FALSE, &mii);
  }
  MENUINFO style{sizeof(style), MIM_STYLE, MNS_CHECKORBMP};
  ::SetMenuInfo(menu.Get(), &style);

  static HMENU s_menu;
  s_menu = menu.Get();
  const std::string found = testing_support::CheckMenuWhileShown(
      [](void* owner) { orv::TrackPopupMenuOnMonitor(s_menu, TPM_LEFTBUTTON, POINT{60, 60}, static_cast<HWND>(owner)); },
      owner, testing_support::ArtifactsDir() + L"\\framework_menu_pictures.bmp");
  EXPECT_EQ(found, "");
  MENUINFO after{sizeof(after), MIM_STYLE};
  ASSERT_TRUE(::GetMenuInfo(menu.Get(), &after));
  EXPECT_FALSE(after.dwStyle & (MNS_CHECKORBMP | MNS_NOCHECK));
  EXPECT_EQ(orv::MenuItemPicture(menu.Get(), 2, false), nullptr);
  EXPECT_EQ(orv::MenuItemPicture(menu.Get(), 1, false), picture.Get());
  EXPECT_FALSE(orv::ArrangeMenuPictures(nullptr));

  // The highlighted item without a picture shows the highlight across its picture column, and
  // the highlighted item with one shows the highlight around the picture (no square of another
  // colour, no inverted picture).
  static std::string s_seen;
  static int s_step;
  s_seen = "not shown";
  s_step = 0;
  // One step a tick: down, down to item 1 (no picture), look, up to item 0 (a picture), wait, look, close.
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND wnd = testing_support::FindShownMenuWindow();
    if (!wnd) return;
    const int step = s_step++;
    if (step != 2 && step != 5) {
      if (step != 4) ::PostMessageW(wnd, WM_KEYDOWN, step == 3 ? VK_UP : VK_DOWN, 0);
      return;
    }
    const int item = step == 2 ? 1 : 0;
    RECT rc{};
    ::GetMenuItemRect(nullptr, s_menu, item, &rc);
    ::MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&rc), 2);
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    orv::ScopedGetDC dc(wnd);
    const COLORREF highlight = ::GetPixel(dc.Get(), rc.right - 3, rc.top + 1);
    // Across the check and picture columns, the rows of the picture's transparent frame, and
    // on the item without a picture the middle row after the check mark, show the highlight.
    const int mid = (rc.top + rc.bottom) / 2, afterCheck = rc.left + 4 + ::GetSystemMetrics(SM_CXMENUCHECK);
    int other = 0;
    for (int x = rc.left + 1; x < afterCheck + orv::kMenuPictureSize; ++x) {
      for (int y : {mid - 7, mid + 6}) other += ::GetPixel(dc.Get(), x, y) != highlight;
      if (item == 1 && x >= afterCheck) other += ::GetPixel(dc.Get(), x, mid) != highlight;
    }
    if (step == 2) s_seen = other ? "item without a picture: " + std::to_string(other) + " pixels; " : "";
    else if (other) s_seen += "item with a picture: " + std::to_string(other) + " pixels";
    if (step == 5) ::EndMenu();
  });
  orv::TrackPopupMenuOnMonitor(menu.Get(), TPM_LEFTBUTTON, POINT{60, 60}, owner);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(s_seen, "");
  ::DestroyWindow(owner);
}

TEST(MenuAndToolbarPictures, APopupWithoutPicturesIsLeftAsItIs) {
  orv::ScopedMenu menu(::CreatePopupMenu());
  ::AppendMenuW(menu.Get(), MF_STRING, 1, L"One");
  MENUINFO style{sizeof(style), MIM_STYLE, MNS_NOCHECK};
  ::SetMenuInfo(menu.Get(), &style);
  EXPECT_FALSE(orv::ArrangeMenuPictures(menu.Get()));
  MENUINFO after{sizeof(after), MIM_STYLE};
  ASSERT_TRUE(::GetMenuInfo(menu.Get(), &after));
  EXPECT_TRUE(after.dwStyle & MNS_NOCHECK);
  EXPECT_EQ(orv::MenuItemPicture(menu.Get(), 1, false), nullptr);
}

}  // namespace
