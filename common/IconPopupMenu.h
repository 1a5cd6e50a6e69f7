// A popup menu whose items carry the toolbar's command icons.
//
// The owner creates the menu (CreatePopupMenu) and hands it over; this object destroys it
// together with the item bitmaps. RenderIcons makes one bitmap per command identifier of the
// caller's list (the list itself stays the caller's and must outlive this object); InsertItem
// then adds items, and those whose identifier is in the list show its bitmap. The menu is shown
// with TrackPopupMenuOnMonitor, which puts the bitmaps in a column of their own. UI thread only.
#pragma once

#include <windows.h>
#include <vector>

#include "framework/Handles.h"

class IconPopupMenu {
public:
  explicit IconPopupMenu(HMENU menu) noexcept : menu_(menu) {}
  ~IconPopupMenu();
  IconPopupMenu(const IconPopupMenu&) = delete;
  IconPopupMenu& operator=(const IconPopupMenu&) = delete;

  HMENU Get() const noexcept { return menu_.Get(); }

  // Builds the item bitmaps of `count` identifiers. False when no icon could be built.
  [[nodiscard]] bool RenderIcons(const int* commandIds, int count);

  // Inserts an item before the item with the same identifier, or at the end when there is none.
  bool InsertItem(UINT commandId, const wchar_t* text, UINT state);
  // Gives every item already in the menu the bitmap of its command, where one was rendered:
  // for items another part of the program appended (a list's common items).
  void ShowItemIcons() const;

  // The bitmap of a command, or null when the command has none.
  HBITMAP BitmapOf(UINT commandId) const noexcept;

private:
  void SetItemBitmap(UINT item, bool byPosition) const;

  orv::ScopedMenu menu_;
  const int* commandIds_ = nullptr;
  int count_ = 0;
  std::vector<orv::ScopedBitmap> bitmaps_;  // one per identifier, same order; null: no icon
};
