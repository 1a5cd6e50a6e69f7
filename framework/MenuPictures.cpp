#include "framework/MenuPictures.h"

#include <vector>

#include "framework/Dpi.h"
#include "framework/ImageListPixels.h"

namespace orv {

namespace {

// A disabled item's picture shows at this opacity (of 255).
constexpr BYTE kDisabledPictureOpacity = 0x70;

bool IsRealBitmap(HBITMAP bitmap) {
  // The magic HBMMENU_ values are small numbers (and -1), not bitmaps.
  return bitmap && bitmap != HBMMENU_CALLBACK && ::GetObjectType(bitmap) == OBJ_BITMAP;
}

SIZE PictureSize(HBITMAP picture) {
  BITMAP bm{};
  if (picture && ::GetObjectW(picture, sizeof(bm), &bm)) return {bm.bmWidth, bm.bmHeight};
  // An item without a picture: the column of a picture at the screen's density.
  const int dpi = ScreenDpi();
  return {PictureSizeForDpi(dpi) + MenuPictureGap(dpi), PictureSizeForDpi(dpi)};
}

}  // namespace

int MenuPictureGap(int dpi) { return ScaleToDpi(kMenuPictureGap, dpi); }

ScopedBitmap MakeMenuPicture(HIMAGELIST images, int index) { return MakeMenuPicture(images, index, ScreenDpi()); }

ScopedBitmap MakeMenuPicture(HIMAGELIST images, int index, int dpi) {
  const ImagePixels picture = ReadImagePixels(images, index);
  if (picture.Empty()) return {};
  ImagePixels image;
  image.Width = picture.Width + MenuPictureGap(dpi);
  image.Height = picture.Height;
  image.Pixels.assign(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height), 0);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x)
      image.Pixels[static_cast<size_t>(y) * image.Width + x] = picture.Pixels[static_cast<size_t>(y) * picture.Width + x];
  return MakePremultipliedBitmap(image);
}

HBITMAP MenuItemPicture(HMENU menu, UINT item, bool byPosition) {
  MENUITEMINFOW mii{sizeof(mii)};
  mii.fMask = MIIM_BITMAP | MIIM_DATA;
  if (!menu || !::GetMenuItemInfoW(menu, item, byPosition ? TRUE : FALSE, &mii)) return nullptr;
  if (mii.hbmpItem == HBMMENU_CALLBACK) return reinterpret_cast<HBITMAP>(mii.dwItemData);
  return IsRealBitmap(mii.hbmpItem) ? mii.hbmpItem : nullptr;
}

bool ArrangeMenuPictures(HMENU popup) {
  const int count = popup ? ::GetMenuItemCount(popup) : 0;
  std::vector<UINT> items;  // text items, by position
  bool pictures = false;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_FTYPE;
    if (!::GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &mii) ||
        (mii.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)))
      continue;
    items.push_back(static_cast<UINT>(i));
    if (MenuItemPicture(popup, static_cast<UINT>(i), true)) pictures = true;
  }
  if (!pictures) return false;
  MENUINFO info{sizeof(info)};
  info.fMask = MIM_STYLE;
  if (::GetMenuInfo(popup, &info) && (info.dwStyle & (MNS_CHECKORBMP | MNS_NOCHECK))) {
    info.dwStyle &= ~(MNS_CHECKORBMP | MNS_NOCHECK);
    ::SetMenuInfo(popup, &info);
  }
  for (UINT position : items) {
    MENUITEMINFOW set{sizeof(set)};
    set.fMask = MIIM_BITMAP | MIIM_DATA;
    set.hbmpItem = HBMMENU_CALLBACK;
    set.dwItemData = reinterpret_cast<ULONG_PTR>(MenuItemPicture(popup, position, true));
    ::SetMenuItemInfoW(popup, position, TRUE, &set);
  }
  return true;
}

bool HandleMenuPictureMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (wParam != 0 || !lParam) return false;  // menus send with no control identifier
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->CtlType != ODT_MENU) return false;
    HBITMAP picture = reinterpret_cast<HBITMAP>(measure->itemData);
    if (picture && !IsRealBitmap(picture)) return false;
    const SIZE size = PictureSize(picture);
    measure->itemWidth = static_cast<UINT>(size.cx);
    measure->itemHeight = static_cast<UINT>(size.cy);
    result = TRUE;
    return true;
  }
  if (message != WM_DRAWITEM) return false;
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (draw->CtlType != ODT_MENU) return false;
  // Only the pictures of arranged items; a menu's own owner-drawn items are not ours.
  HMENU menu = reinterpret_cast<HMENU>(draw->hwndItem);
  MENUITEMINFOW mii{sizeof(mii)};
  mii.fMask = MIIM_BITMAP | MIIM_FTYPE;
  if (!::IsMenu(menu) || !::GetMenuItemInfoW(menu, draw->itemID, FALSE, &mii) || mii.hbmpItem != HBMMENU_CALLBACK ||
      (mii.fType & MFT_OWNERDRAW))
    return false;
  result = TRUE;
  HBITMAP picture = reinterpret_cast<HBITMAP>(draw->itemData);
  if (!IsRealBitmap(picture)) return true;  // an item without a picture: its column stays empty
  const SIZE size = PictureSize(picture);
  ScopedCreatedDC dc(::CreateCompatibleDC(draw->hDC));
  if (!dc) return true;
  ScopedSelectObject select(dc.Get(), picture);
  const int top = draw->rcItem.top + ((draw->rcItem.bottom - draw->rcItem.top) - size.cy) / 2;
  const bool disabled = (draw->itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, disabled ? kDisabledPictureOpacity : BYTE{0xFF}, AC_SRC_ALPHA};
  ::GdiAlphaBlend(draw->hDC, draw->rcItem.left, top, size.cx, size.cy, dc.Get(), 0, 0, size.cx, size.cy, blend);
  return true;
}

}  // namespace orv
