// Text broken into lines that fit a width, measured in a DC's current font, for pages that
// must show a text whole or end it visibly: the printed font lists and the font sheets. Lines
// break at spaces where a line has one, inside a word where it has none (a font name of
// thousands of letters without a space), and at every line break of the text. A text that
// needs more lines than allowed ends its last line with "…". The same lines are measured and
// drawn, so a block never takes more room than it was given. Main thread only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/PrinterText.h"

struct WrappedText {
  std::vector<std::wstring> lines;
  // More text followed than the lines allowed; the last line ends with "…" (and the tail).
  bool cut = false;
};

// At most `maxLines` lines no wider than `width`. When the text is cut, its last line ends
// with "…" followed by `cutTail`, when that fits beside it.
WrappedText WrapText(HDC dc, const std::wstring& text, int width, size_t maxLines, const std::wstring& cutTail = {});

// The height of one line in the DC's current font, its external leading included.
int TextLineHeight(HDC dc);

// Draws the lines from `area`'s top down, each clipped to `area`, with `textOut` (a printer page
// gives PrinterTextOut); `align` is DT_LEFT, DT_CENTER or DT_RIGHT. Returns the height of the
// lines.
int DrawTextLines(HDC dc, const std::vector<std::wstring>& lines, const RECT& area, UINT align,
                  orv::TextOutFunction textOut = &::ExtTextOutW);
