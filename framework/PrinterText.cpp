#include "framework/PrinterText.h"

#include <algorithm>

#include "framework/Handles.h"
#include "framework/WineHost.h"

namespace orv {

namespace {

// A table tag as GetFontData takes it: the file's four bytes read as a little-endian number.
constexpr DWORD TableTag(const char (&tag)[5]) {
  return DWORD{BYTE(tag[0])} | DWORD{BYTE(tag[1])} << 8 | DWORD{BYTE(tag[2])} << 16 | DWORD{BYTE(tag[3])} << 24;
}
constexpr DWORD kGlyfTable = TableTag("glyf");
constexpr DWORD kLocaTable = TableTag("loca");

// A picture is rendered in bands of at most this many pixels: a line of 72-point text across a
// page at 1,200 dpi would otherwise want a bitmap of some tens of megabytes.
constexpr LONG kBandPixels = 1 << 21;
constexpr COLORREF kPaper = RGB(255, 255, 255);

bool HasTable(HDC dc, DWORD tag) { return ::GetFontData(dc, tag, 0, nullptr, 0) != GDI_ERROR; }

bool IsSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// How far the character reaches left of its cell (`before`) or right of it.
LONG Overhang(HDC dc, wchar_t c, bool before) {
  ABC abc{};
  if (IsSurrogate(c) || !::GetCharABCWidthsW(dc, c, c, &abc)) return 0;
  return std::max(0, -(before ? abc.abcA : abc.abcC));
}

// The text's cell on the page, and where the left top of its advance box lies in it.
RECT TextCell(HDC dc, int x, int y, const wchar_t* text, UINT count, const INT* dx, POINT& origin) {
  LONG width = 0;
  if (dx) {
    for (UINT i = 0; i < count; ++i) width += dx[i];
  } else {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(count), &size);
    width = size.cx;
  }
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  const UINT align = ::GetTextAlign(dc);
  origin.x = x;
  if ((align & TA_CENTER) == TA_CENTER) origin.x -= width / 2;
  else if (align & TA_RIGHT) origin.x -= width;
  origin.y = y;
  if ((align & TA_BASELINE) == TA_BASELINE) origin.y -= metrics.tmAscent;
  else if (align & TA_BOTTOM) origin.y -= metrics.tmHeight;
  return RECT{origin.x - Overhang(dc, text[0], true), origin.y,
              origin.x + width + Overhang(dc, text[count - 1], false), origin.y + metrics.tmHeight};
}

BOOL DrawTextPicture(HDC dc, int x, int y, UINT options, const RECT* clip, const wchar_t* text, UINT count,
                     const INT* dx) {
  POINT origin{};
  RECT area = TextCell(dc, x, y, text, count, dx, origin);
  if ((options & ETO_CLIPPED) && clip && !::IntersectRect(&area, &area, clip)) return TRUE;
  // Only what lies on the paper is rendered: a line cut at the page's edge leaves no picture
  // of its rest.
  RECT paper{};
  const int kind = ::GetClipBox(dc, &paper);
  if ((kind == SIMPLEREGION || kind == COMPLEXREGION) && !::IntersectRect(&area, &area, &paper)) return TRUE;
  const LONG height = area.bottom - area.top;
  if (height <= 0 || area.right <= area.left) return TRUE;
  const COLORREF background = ::GetBkMode(dc) == OPAQUE ? ::GetBkColor(dc) : kPaper;
  const HGDIOBJ font = ::GetCurrentObject(dc, OBJ_FONT);
  ScopedCreatedDC memory(::CreateCompatibleDC(nullptr));
  ScopedBrush fill(::CreateSolidBrush(background));
  if (!memory || !fill) return FALSE;
  ::SetTextColor(memory.Get(), ::GetTextColor(dc));
  ::SetBkMode(memory.Get(), TRANSPARENT);
  ::SetTextAlign(memory.Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
  const LONG bandWidth = std::max<LONG>(1, kBandPixels / height);
  for (LONG left = area.left; left < area.right; left += bandWidth) {
    const LONG width = std::min(bandWidth, area.right - left);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScopedBitmap band(::CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!band || !bits) return FALSE;
    ScopedSelectObject selectBand(memory.Get(), band.Get());
    ScopedSelectObject selectFont(memory.Get(), font);
    const RECT all{0, 0, width, height};
    ::FillRect(memory.Get(), &all, fill.Get());
    ::ExtTextOutW(memory.Get(), origin.x - left, origin.y - area.top, options & ~(ETO_CLIPPED | ETO_OPAQUE), nullptr,
                  text, count, dx);
    ::GdiFlush();
    if (::StretchDIBits(dc, left, area.top, width, height, 0, 0, width, height, bits, &info, DIB_RGB_COLORS, SRCCOPY) == 0)
      return FALSE;
  }
  return TRUE;
}

}  // namespace

bool PostScriptDriverTakesFont(HDC dc) {
  // The whole font cannot be read for a font that is no sfnt font: the driver prints such text
  // in a font of the printer's own.
  if (::GetFontData(dc, 0, 0, nullptr, 0) == GDI_ERROR) return true;
  return HasTable(dc, kGlyfTable) && HasTable(dc, kLocaTable);
}

BOOL WINAPI PrinterTextOut(HDC dc, int x, int y, UINT options, const RECT* clip, const wchar_t* text, UINT count,
                           const INT* dx) {
  if (count == 0 || !text || !RunsUnderWine() || PostScriptDriverTakesFont(dc))
    return ::ExtTextOutW(dc, x, y, options, clip, text, count, dx);
  return DrawTextPicture(dc, x, y, options, clip, text, count, dx);
}

}  // namespace orv
