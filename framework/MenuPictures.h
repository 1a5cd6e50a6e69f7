// Pictures of popup-menu items in a column of their own, left of every item's text.
//
// A popup whose items carry pictures (hbmpItem) lays them out one of two ways. With
// MNS_CHECKORBMP the picture takes the check-mark column, which is narrower than a 16-pixel
// picture under Wine, so the picture covers the first letters of its text. Without it the
// pictures get a column beside the check marks and the text of every item starts after it, but
// only the items that have a picture are measured for that column, so the longest item without
// one loses its end. And a bitmap given as it is loses its transparency and is drawn inverted
// on the highlighted item.
//
// ArrangeMenuPictures therefore clears MNS_CHECKORBMP and makes every text item of a popup with
// pictures a callback picture (HBMMENU_CALLBACK, the picture kept as the item's data, none for
// the items without one): every item is measured alike, and the menu's owner draws the picture
// with its transparency, faded on a disabled item, through HandleMenuPictureMessage. Every
// popup with item pictures goes through it before it is shown: the command bar's on
// WM_INITMENUPOPUP (the bar answers the drawing messages), the others in
// TrackPopupMenuOnMonitor, which answers them for the owner while the menu is open. Main thread
// only; the pictures stay the caller's and must outlive the menu.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Handles.h"

namespace orv {

constexpr int kMenuPictureSize = 16;  // at 96 DPI; the pictures follow the screen's density
constexpr int kMenuPictureGap = 3;   // columns between a picture and its text, at 96 DPI

// The gap at `dpi`: proportional to it (3 at 96 DPI, 4 at 120, 5 at 144).
[[nodiscard]] int MenuPictureGap(int dpi);

// Image `index` of `images` as an item picture (32-bit, premultiplied alpha, with the gap of
// `dpi` as transparent columns on its right; the images have the size the screen wants). Null
// when the list has no such image.
[[nodiscard]] ScopedBitmap MakeMenuPicture(HIMAGELIST images, int index, int dpi);
[[nodiscard]] ScopedBitmap MakeMenuPicture(HIMAGELIST images, int index);  // at the screen's density

// When any text item of `popup` has a picture of its own: clears MNS_CHECKORBMP and MNS_NOCHECK
// and makes every text item a callback picture. Returns whether the popup has pictures.
// Submenus are arranged when they open; arranging twice changes nothing.
bool ArrangeMenuPictures(HMENU popup);

// The picture an item shows, arranged or not (null: none). `item` is a position or an identifier.
[[nodiscard]] HBITMAP MenuItemPicture(HMENU menu, UINT item, bool byPosition);

// WM_MEASUREITEM and WM_DRAWITEM of an arranged item's picture: answers them and gives the
// result (TRUE); false for every other message, which goes on as before.
bool HandleMenuPictureMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace orv
