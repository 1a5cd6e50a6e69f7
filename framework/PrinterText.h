// Text on a printer page. Wine's PostScript driver sends an sfnt font to the printer as Type 42,
// built from the font's 'glyf' and 'loca' tables, and reads those tables without looking whether
// the font has them: text in a font without them (CFF or CFF2 outlines, as in most ".otf" files
// and in CJK collections, or a font of bitmaps only) ends the program inside the driver, and the
// job is lost. Under Wine such text is therefore drawn as a picture: rendered by GDI into a
// bitmap at the printer's resolution and put on the page with StretchDIBits. Any other text,
// and all text on Windows, goes to the printer with ExtTextOutW as it is.
//
// A picture is opaque: it covers the text's cell (its advance, widened by any overhang of its
// first and last character, by the line height) with the paper's white, or with the DC's
// background colour when its background mode is OPAQUE. Page layouts draw no two texts into
// one cell, so the page looks as it would with the text itself. Main thread only.
#pragma once

#include <windows.h>

namespace orv {

// What draws one run of text: ::ExtTextOutW itself, or PrinterTextOut.
using TextOutFunction = BOOL(WINAPI*)(HDC dc, int x, int y, UINT options, const RECT* clip, const wchar_t* text,
                                      UINT count, const INT* dx);

// Whether Wine's PostScript driver can take text in the DC's current font: a font that is no
// sfnt font (the driver prints it in a printer font), or one with TrueType outlines.
bool PostScriptDriverTakesFont(HDC dc);

// ExtTextOutW for a printer page: under Wine, text in a font its PostScript driver cannot take
// becomes a picture. A picture keeps ETO_CLIPPED and the DC's text alignment (not its current
// position); `dx` is passed to the drawing of the text as it is.
BOOL WINAPI PrinterTextOut(HDC dc, int x, int y, UINT options, const RECT* clip, const wchar_t* text, UINT count,
                           const INT* dx);

}  // namespace orv
