// Pictures of popup-menu items in a column of their own, left of every item's text.
//
// A popup whose items carry pictures (hbmpItem) lays them out one of two ways. With
// MNS_CHECKORBMP the picture takes the check-mark column, which is narrower than a 16-pixel
// picture under Wine, so the picture covers the first letters of its text. Without it the
// pictures get a column beside the check marks and the text of every item starts after it, but
// only the items that have a picture are measured for that column, so the longest item without
// one loses its end. ArrangeMenuPictures takes the second way and gives every text item without
// a picture one shared blank picture, so that every item is measured alike. Every popup with
// item pictures goes through it before it is shown: the command bar's on WM_INITMENUPOPUP, the
// others in TrackPopupMenuOnMonitor. Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Handles.h"

namespace orv {

constexpr int kMenuPictureSize = 16;
constexpr int kMenuPictureGap = 3;  // columns between a picture and its text

// Image `index` of `images` as an item picture, laid on the menu colour. Null when the list has
// no such image.
[[nodiscard]] ScopedBitmap MakeMenuPicture(HIMAGELIST images, int index);

// The empty picture (the menu colour) of the items that have none of their own; one for the
// process.
[[nodiscard]] HBITMAP BlankMenuPicture();

// When any text item of `popup` has a picture of its own: clears MNS_CHECKORBMP and MNS_NOCHECK
// and gives every text item without a picture the blank one. Returns whether the popup has
// pictures. Submenus are arranged when they open.
bool ArrangeMenuPictures(HMENU popup);

}  // namespace orv
