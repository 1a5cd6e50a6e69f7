// Where the parts of a pane caption go: its text, shortened when the band is too narrow, and the
// sort-order icon of the font list panes.
//
// A caption is a title with parts that are kept whole: a head (the sample pane's
// "[12 points] ") and a tail (a list's counts, " [2527 / 2600]"). When the caption does not fit,
// the title is shortened with a trailing "...", never the kept parts; only when not even they fit
// is the title left out (and the drawing cuts what is left). The icon stands in the middle of
// the text area while the caption ends left of it; otherwise it follows the caption, which then
// has the whole text area but the icon's room.
#pragma once

#include <windows.h>

#include <string>

struct PaneCaptionLayout {
  std::wstring text;  // what is drawn
  int textWidth = 0;  // its extent
  int iconLeft = -1;  // where the icon goes (-1: no icon, or no room for it)
};

// `caption` in the font selected into `dc`, laid out between `left` and `right`; `head` and
// `tail` characters of it are kept whole. `iconWidth` 0: no icon; else the icon wants to stand
// at `iconCentreLeft` and keeps `gap` pixels from the text.
[[nodiscard]] PaneCaptionLayout LayOutPaneCaption(HDC dc, const std::wstring& caption, size_t head, size_t tail,
                                                  int left, int right, int iconWidth = 0, int gap = 0,
                                                  int iconCentreLeft = 0);

// `title` shortened with a trailing "..." to at most `room` pixels in `dc`'s font (whole when it
// fits; empty when not even "..." fits).
[[nodiscard]] std::wstring ShortenToWidth(HDC dc, const std::wstring& title, int room);
