#include "common/IconPopupMenu.h"

#include <commctrl.h>

#include "common/LoadImageListFromResource.h"
#include "framework/MenuPictures.h"

IconPopupMenu::~IconPopupMenu() {
  // The menu refers to the bitmaps: destroy it first.
  menu_.Reset();
  bitmaps_.clear();
}

bool IconPopupMenu::RenderIcons(const int* commandIds, int count) {
  commandIds_ = commandIds;
  count_ = count;
  bitmaps_.clear();
  orv::ScopedImageList icons;
  if (!LoadImageListFromResource(icons, count, commandIds)) return false;
  const int built = ::ImageList_GetImageCount(icons.Get());
  if (built <= 0) return false;

  bitmaps_.reserve(static_cast<size_t>(built));
  for (int i = 0; i < built; ++i) {
    orv::ScopedBitmap bitmap;
    if (CommandIconIndex(commandIds[i]) >= 0) bitmap = orv::MakeMenuPicture(icons.Get(), i);
    bitmaps_.push_back(std::move(bitmap));
  }
  return true;
}

HBITMAP IconPopupMenu::BitmapOf(UINT commandId) const noexcept {
  for (size_t i = 0; i < bitmaps_.size() && static_cast<int>(i) < count_; ++i) {
    if (commandIds_[i] == static_cast<int>(commandId)) return bitmaps_[i].Get();
  }
  return nullptr;
}

bool IconPopupMenu::InsertItem(UINT commandId, const wchar_t* text, UINT state) {
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
  item.fState = state;
  item.wID = commandId;
  item.dwTypeData = const_cast<wchar_t*>(text);
  ::InsertMenuItemW(menu_.Get(), commandId, FALSE, &item);
  SetItemBitmap(commandId, false);
  return true;
}

void IconPopupMenu::ShowItemIcons() const {
  const int count = ::GetMenuItemCount(menu_.Get());
  for (int i = 0; i < count; ++i) SetItemBitmap(static_cast<UINT>(i), true);
}

void IconPopupMenu::SetItemBitmap(UINT item, bool byPosition) const {
  const UINT command = byPosition ? ::GetMenuItemID(menu_.Get(), static_cast<int>(item)) : item;
  HBITMAP bitmap = command != static_cast<UINT>(-1) ? BitmapOf(command) : nullptr;
  if (!bitmap) return;
  MENUITEMINFOW image{};
  image.cbSize = sizeof(image);
  image.fMask = MIIM_BITMAP;
  image.hbmpItem = bitmap;
  ::SetMenuItemInfoW(menu_.Get(), item, byPosition ? TRUE : FALSE, &image);
}
