// The sort order of a font list shown and turned round in its pane's caption, for the
// font-lists pane and the installed fonts pane: the lists' sort-order icon in the middle of the
// caption's text area, and a click on the caption (left of the toolbar) that sorts the list the
// other way. Main thread only.
#pragma once

#include <windows.h>

#include "framework/Dpi.h"

class COrvelListView;

// Images of the lists' shared small image list.
inline constexpr int kSortAscendingImage = 8;
inline constexpr int kSortDescendingImage = 9;
// The icon's side, the screen's picture size like the toolbars' (16 pixels at 96 DPI), and the
// room kept between the caption text and the icon.
[[nodiscard]] inline int SortOrderIconSize() { return orv::ScreenPictureSize(); }
[[nodiscard]] inline int SortOrderIconGap() { return orv::ScaleToScreenDpi(4); }

// Where the icon stands in a pane of client width `width` whose toolbar starts at `toolbarLeft`
// while the caption text ends left of it: the middle of the text area, or of the room left of
// the toolbar when the toolbar reaches past the middle (LayOutPaneCaption moves it after a
// longer text).
[[nodiscard]] int SortOrderIconLeft(int width, int toolbarLeft);

// Draws the icon of `list`'s order at `left` and `top` of the caption band.
void DrawSortOrderIcon(HDC dc, int left, int top, const COrvelListView& list);

// A left click at `at` in a pane whose caption is `captionHeight` high and whose toolbar starts
// at `toolbarLeft`: when it lies on the caption and neither the list nor the program is busy,
// the caption band is invalidated and the list sorted the other way under a wait cursor. True
// when the list was sorted.
bool ResortFromCaptionClick(HWND pane, POINT at, int captionHeight, int toolbarLeft, COrvelListView& list);
