#include "common/IconPopupMenu.h"

#include <commctrl.h>

#include "common/LoadImageListFromResource.h"
#include "framework/MenuPictures.h"

IconPopupMenu::~IconPopupMenu() {
  // The menu refers to the bitmaps: destroy it first.
  menu_.Reset();
  bitmaps_.clear();
}

HBITMAP IconPopupMenu::BitmapOf(UINT commandId) {
  const int image = CommandIconIndex(static_cast<int>(commandId));
  if (image < 0) return nullptr;
  if (auto found = bitmaps_.find(commandId); found != bitmaps_.end()) return found->second.Get();
  if (!loaded_) {
    loaded_ = true;
    pictures_ = LoadCommandPictures();
  }
  if (!pictures_) return nullptr;
  orv::ScopedBitmap bitmap = orv::MakeMenuPicture(pictures_.Get(), image);
  HBITMAP result = bitmap.Get();
  if (result) bitmaps_.emplace(commandId, std::move(bitmap));
  return result;
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

void IconPopupMenu::ShowItemIcons() {
  const int count = ::GetMenuItemCount(menu_.Get());
  for (int i = 0; i < count; ++i) SetItemBitmap(static_cast<UINT>(i), true);
}

void IconPopupMenu::SetItemBitmap(UINT item, bool byPosition) {
  const UINT command = byPosition ? ::GetMenuItemID(menu_.Get(), static_cast<int>(item)) : item;
  HBITMAP bitmap = command != static_cast<UINT>(-1) && command != 0 ? BitmapOf(command) : nullptr;
  if (!bitmap) return;
  MENUITEMINFOW image{};
  image.cbSize = sizeof(image);
  image.fMask = MIIM_BITMAP;
  image.hbmpItem = bitmap;
  ::SetMenuItemInfoW(menu_.Get(), item, byPosition ? TRUE : FALSE, &image);
}
