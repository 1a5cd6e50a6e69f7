// The program's popup-menu routine: opens a popup at a point that is first brought onto the
// monitor nearest to it (a point from a saved position or a window half off screen would
// otherwise open the menu where nobody sees it), with its item pictures in a column of their own
// (ArrangeMenuPictures), drawn for the owner while the menu is open. Returns what
// TrackPopupMenuEx returns.
#pragma once

#include <windows.h>

namespace orv {

// The point moved into the work area of the monitor nearest to it.
[[nodiscard]] POINT ClampPointToMonitor(POINT pt);

BOOL TrackPopupMenuOnMonitor(HMENU menu, UINT flags, POINT pt, HWND owner, const RECT* exclude = nullptr);

}  // namespace orv
