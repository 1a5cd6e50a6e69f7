// A popup menu whose items carry the pictures of their commands.
//
// Every item whose command has a picture in the one command picture table
// (CommandPictureTable) shows it, whichever menu it is in: the pane menus, the right-click
// menus of the trees and lists, the tool frames' tab menus. The owner creates the menu
// (CreatePopupMenu) and hands it over; this object destroys it together with the item bitmaps.
// InsertItem adds items with their pictures; ShowItemIcons gives the pictures to items another
// part of the program appended. The menu is shown with TrackPopupMenuOnMonitor, which puts the
// bitmaps in a column of their own. The pictures have the screen's picture size. UI thread only.
#pragma once

#include <windows.h>

#include <map>

#include "framework/Handles.h"

class IconPopupMenu {
public:
  explicit IconPopupMenu(HMENU menu) noexcept : menu_(menu) {}
  ~IconPopupMenu();
  IconPopupMenu(const IconPopupMenu&) = delete;
  IconPopupMenu& operator=(const IconPopupMenu&) = delete;

  HMENU Get() const noexcept { return menu_.Get(); }

  // Inserts an item before the item with the same identifier, or at the end when there is none.
  bool InsertItem(UINT commandId, const wchar_t* text, UINT state);
  // Gives every item already in the menu the picture of its command, where the table has one:
  // for items another part of the program appended (a list's common items).
  void ShowItemIcons();

  // The bitmap of a command, or null when the command has no picture (or the strip is missing).
  HBITMAP BitmapOf(UINT commandId);

private:
  void SetItemBitmap(UINT item, bool byPosition);

  orv::ScopedMenu menu_;
  bool loaded_ = false;
  orv::ScopedImageList pictures_;               // the strip at the screen's picture size
  std::map<UINT, orv::ScopedBitmap> bitmaps_;  // made as items need them
};
