// The grid's code point list, character names, layout and drawing.
#include "viewing/CCharMapGrid.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/UnicodeText.h"
#include "fonts/FontItem.h"
#include "viewing/LoadUnicodeCharName.h"

namespace {

constexpr uint32_t kLastBmp = 0xFFFF;
constexpr int kStatusCodePane = 0;
constexpr int kStatusNamePane = 1;

}  // namespace

CCharMapGrid::CCharMapGrid() = default;

CCharMapGrid::~CCharMapGrid() = default;

HWND CCharMapGrid::CreateGrid(HWND parent, const RECT& rc, UINT id) {
  return Create(parent, &rc, nullptr, kStyle, WS_EX_CLIENTEDGE, id);
}

LRESULT CCharMapGrid::OnCreate(CREATESTRUCTW*) {
  zoomWnd_.CreateZoom(m_hWnd);
  // A placeholder extent until the first layout knows the cell size.
  SetScrollSize(1, 9999, false);
  layoutDirty_ = true;
  return 0;
}

void CCharMapGrid::OnDestroy() {
  if (zoomWnd_.IsWindow()) zoomWnd_.DestroyWindow();
  zoomShown_ = false;
  list_.Clear();
  cellFont_.Reset();
}

void CCharMapGrid::LoadFontPrivately() const {
  if (!font_.installed && !font_.fontPath.empty()) g_AppState.FontCache.Add(font_.fontPath);
}

void CCharMapGrid::BuildCodePointList() {
  list_.Clear();
  if (font_.eightBit) return;
  LoadFontPrivately();
  orv::ScopedGetDC dc(m_hWnd);
  if (!dc) return;
  LOGFONTW lf = font_.logFont;
  orv::ScopedFont font(::CreateFontIndirectW(&lf));
  orv::ScopedSelectObject select(dc.Get(), font.Get());
  const std::vector<uint8_t> cmap = CodePointList::ReadCmapTable(dc.Get());
  const ByteReader cmapBytes(cmap.data(), cmap.size());
  font_.ucs4Cmap = CodePointList::HasUcs4Subtable(cmapBytes);
  if (font_.wideList && list_.ReadUcs4Cmap(cmapBytes)) return;
  font_.wideList = false;
  list_.ReadUnicodeRanges(dc.Get());
}

std::wstring CCharMapGrid::GetCharacterName(uint32_t codePoint) const {
  if (!nameModule_) return {};
  std::wstring name;
  if (LoadUnicodeCharName(name, nameModule_, codePoint) && !name.empty()) return name;
  name = g_AppState.BlockTable.NameOfCodePoint(codePoint);
  if (name.empty() && codePoint > kLastBmp) {
    const std::wstring pair = CodePointText(codePoint);
    name = LoadResString(IDS_SUPPLEMENTARY_CHAR) +
           FormatWide(L" [x%04X - x%04X]", static_cast<unsigned>(pair[0]), static_cast<unsigned>(pair[1]));
    if (font_.ucs4Cmap) name += L" (UCS-4)";
  }
  return name.empty() ? std::wstring() : L"<" + name + L">";
}

LRESULT CCharMapGrid::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  layoutDirty_ = true;
  Invalidate();
  handled = FALSE;  // the scrolling base keeps its client size
  return 0;
}

void CCharMapGrid::EnsureLayout() {
  if (layoutDirty_ && m_hWnd) Layout();
}

void CCharMapGrid::Layout() {
  RECT client{};
  GetClientRect(&client);
  cell_ = client.right / kColumns;
  {
    orv::ScopedGetDC dc(m_hWnd);
    const int dpiY = dc ? ::GetDeviceCaps(dc.Get(), LOGPIXELSY) : 96;
    // The cell's pixels taken as points: the glyph is three quarters of the cell less two
    // pixels at 96 dpi, which leaves room for accents and descenders.
    glyphHeight_ = -::MulDiv(std::max(cell_ - 2, 0), 72, dpiY);
  }
  LOGFONTW lf = font_.logFont;
  lf.lfHeight = glyphHeight_;
  cellFont_.Reset(::CreateFontIndirectW(&lf));
  const int extent = cell_ * RowCount();
  SetScrollSize(1, extent, true, false);
  SetScrollLine(0, std::max(1, std::min(extent, cell_)));
  SetScrollPage(0, 0);
  SetScrollOffset(0, topRow_ * cell_, false);
  layoutDirty_ = false;
}

COLORREF CCharMapGrid::TextColor() const {
  if (font_.itemFlags & font_flags::kOtherType) return g_Preferences.Colors[kColorNotInstalled];
  if (font_.itemFlags & font_flags::kOtherVersion) return g_Preferences.Colors[kColorOtherVersion];
  return ::GetSysColor(COLOR_WINDOWTEXT);
}

void CCharMapGrid::DoPaint(HDC dc) {
  LoadFontPrivately();
  if (layoutDirty_) {
    Layout();
    return;  // the layout has invalidated the grid: the next paint draws it
  }
  if (cell_ <= 0) return;
  RECT client{};
  GetClientRect(&client);
  const int scrollY = GetScrollOffset().y;
  // The rows the visible area can show, cut to what this paint has to draw.
  int firstRow = std::max(0, scrollY / cell_ - 1);
  int lastRow = std::min(RowCount(), firstRow + static_cast<int>(client.bottom) / cell_ + 3);
  RECT clip{};
  if (::GetClipBox(dc, &clip) != NULLREGION && clip.bottom > clip.top) {
    firstRow = std::max(firstRow, static_cast<int>(clip.top / cell_) - 1);
    lastRow = std::min(lastRow, static_cast<int>(clip.bottom / cell_) + 1);
  }

  orv::ScopedSelectObject selectFont(dc, cellFont_.Get());
  orv::ScopedSelectObject selectPen(dc, ::GetStockObject(BLACK_PEN));
  orv::ScopedSelectObject selectBrush(dc, ::GetSysColorBrush(COLOR_WINDOW));
  ::SetTextColor(dc, TextColor());
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  if (font_.eightBit) DrawEightBit(dc, firstRow, std::min(lastRow, static_cast<int>(kEightBitRows)));
  else DrawUnicode(dc, firstRow, lastRow);
  topRow_ = (std::max(scrollY, 0) + cell_ / 2) / cell_;
}

namespace {

// The cell at (row, col): moved up-left by a pixel so that neighbours share their borders.
RECT CellRect(int row, int col, int cell) {
  RECT rc{col * cell - 1, row * cell - 1, (col + 1) * cell - 1, (row + 1) * cell - 1};
  return rc;
}

void FrameCell(HDC dc, const RECT& rc) { ::Rectangle(dc, rc.left, rc.top, rc.right + 1, rc.bottom + 1); }

constexpr UINT kCellTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

}  // namespace

void CCharMapGrid::DrawEightBit(HDC dc, int firstRow, int lastRow) const {
  for (int row = firstRow; row < lastRow; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      RECT rc = CellRect(row, col, cell_);
      FrameCell(dc, rc);
      ::InflateRect(&rc, -1, -1);
      const char byte = static_cast<char>(row * kColumns + col + kEightBitFirst);
      ::DrawTextA(dc, &byte, 1, &rc, kCellTextFormat);
    }
  }
}

void CCharMapGrid::DrawUnicode(HDC dc, int firstRow, int lastRow) const {
  wchar_t text[2];
  for (int row = firstRow; row < lastRow; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      const uint32_t cp = list_.At(static_cast<size_t>(row) * kColumns + col);
      if (cp == 0) break;
      RECT rc = CellRect(row, col, cell_);
      FrameCell(dc, rc);
      ::InflateRect(&rc, -1, -1);
      const int units = static_cast<int>(EncodeCodePoint(cp, text));
      ::DrawTextW(dc, text, units, &rc, kCellTextFormat);
    }
  }
}

void CCharMapGrid::SetStatus(int pane, const std::wstring& text) const {
  if (statusBar_) ::SendMessageW(statusBar_, SB_SETTEXTW, pane, reinterpret_cast<LPARAM>(text.c_str()));
}

void CCharMapGrid::NotifyBlock(uint32_t codePoint) const {
  if (!font_.eightBit)
    ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(ID_CHARMAP_BLOCK_OF, 0), static_cast<LPARAM>(codePoint));
}

void CCharMapGrid::ShowCharAt(POINT pt) {
  if (cell_ <= 0) return;
  const int y = pt.y + GetScrollOffset().y;
  const int index = (pt.x >= 0 && pt.x < kColumns * cell_ && y >= 0) ? y / cell_ * kColumns + pt.x / cell_ : -1;
  wchar_t code[32]{};
  if (font_.eightBit) {
    if (index < 0 || index > kEightBitLastIndex) {
      ResetHover(false);
      return;
    }
    const int byte = index + kEightBitFirst;
    const char ansi = static_cast<char>(byte);
    wchar_t wide = 0;
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, &ansi, 1, &wide, 1);
    hoverChar_ = wide;
    dropChar_ = font_.logFont.lfCharSet == SYMBOL_CHARSET ? static_cast<uint32_t>(byte) : wide;
    std::swprintf(code, std::size(code), L" x%02X (%d)", byte, byte);
  } else {
    const uint32_t cp = index >= 0 ? list_.At(static_cast<size_t>(index)) : 0;
    if (cp == 0) {
      ResetHover(false);
      return;
    }
    hoverChar_ = dropChar_ = cp;
    std::swprintf(code, std::size(code), L" x%05X (%u)", cp, cp);
    NotifyBlock(cp);
  }
  SetStatus(kStatusCodePane, code);
  SetStatus(kStatusNamePane, GetCharacterName(hoverChar_));
}

void CCharMapGrid::ResetHover(bool rearm) {
  SetStatus(kStatusCodePane, std::wstring());
  SetStatus(kStatusNamePane, LoadResString(IDS_CHARMAP_HINT));
  NotifyBlock(0);
  trackArmed_ = rearm;
  dropChar_ = hoverChar_ = 0;
  if (zoomShown_) ToggleZoom(POINT{});
  FocusIfActive();
}

void CCharMapGrid::FocusIfActive() const {
  // Only inside the active window: focusing a window of an inactive frame would activate it.
  if (m_hWnd && ::GetActiveWindow() == ::GetAncestor(m_hWnd, GA_ROOT)) ::SetFocus(m_hWnd);
}
