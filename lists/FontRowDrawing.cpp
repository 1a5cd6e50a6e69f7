// Row height and drawing of the font lists: type icon with status overlay, the sample drawn in
// the font's own face at the preferred point size, the name, all in a colour chosen by status.
#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResourceIds.h"
#include "lists/COrvelListView.h"
#include "lists/FontListImages.h"

namespace {

constexpr COLORREF kSuffixColor = 0xFF00FF;
constexpr uint32_t kStyleSeparators = 0x10;

// The preferred size is checked where it is loaded and set; one out of range all the same draws
// at the nearest size the options offer, so that size times scale never overflows.
int PixelsForPoints(HDC dc, int points, int numerator = 1, int denominator = 72) {
  const int size = std::clamp(points, kMinFontPointSize, kMaxFontPointSize);
  return ::MulDiv(size * numerator, ::GetDeviceCaps(dc, LOGPIXELSY), denominator);
}

int IconSizeFor(int rowHeight, int textHeight) {
  return std::clamp((rowHeight - textHeight - 6) / 4 * 4, 16, 32);
}

// The suffix drawn behind a record's name: " (Temp)" for a font known to GDI only, " ²" for one
// installed from another file.
const wchar_t* NameSuffix(const FontItem& record) {
  if (record.IsGdiOnly()) return L" (Temp)";
  if (record.IsInstalledFromOtherFile()) return L" \x00B2";
  return nullptr;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  orv::ScopedBrush brush(::CreateSolidBrush(color));
  ::FillRect(dc, &rect, brush.Get());
}

// Draws the name and its suffix from `rect`'s left edge.
void DrawNameWithSuffix(HDC dc, RECT rect, const FontItem& record, UINT format) {
  ::DrawTextW(dc, record.displayName.c_str(), static_cast<int>(record.displayName.size()), &rect, format);
  const wchar_t* suffix = NameSuffix(record);
  if (!suffix) return;
  RECT measure = rect;
  ::DrawTextW(dc, record.displayName.c_str(), static_cast<int>(record.displayName.size()), &measure,
              format | DT_CALCRECT);
  rect.left = measure.right;
  const COLORREF old = ::SetTextColor(dc, kSuffixColor);
  ::DrawTextW(dc, suffix, -1, &rect, format);
  ::SetTextColor(dc, old);
}

}  // namespace

HFONT COrvelListView::CreateSampleFont(FontListRow& row, int height) {
  if (row.sampleFontHeight == height && height != 0) return ::CreateFontIndirectW(&row.sampleFont);
  HFONT font = row.record->CreateDisplayFont(height);
  row.sampleFontHeight = font ? height : 0;
  if (font) row.sampleFont = row.record->logFont;
  return font;
}

int COrvelListView::SampleHeight() const {
  orv::ScopedGetDC dc(m_hWnd);
  return -PixelsForPoints(dc.Get(), g_Preferences.FontPointSize);
}

int COrvelListView::TextHeightOfX(HDC dc) const {
  orv::ScopedSelectObject select(dc, listFont_.Get());
  RECT rect{0, 0, 0, 0};
  ::DrawTextW(dc, L"X", 1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return rect.bottom - rect.top;
}

void COrvelListView::MeasureRows() {
  if (!m_hWnd) return;
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  ::SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, 0, FALSE);
  int textHeight = 0;
  int sample = 0;
  {
    orv::ScopedGetDC dc(m_hWnd);
    orv::ScopedSelectObject select(dc.Get(), listFont_.Get());
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), L"X", 1, &size);
    textHeight = size.cy;
    sample = PixelsForPoints(dc.Get(), g_Preferences.FontPointSize, 125, 7200);
  }
  m_rowHeight = m_namesOnly ? std::max(20, textHeight) : textHeight + std::max(16, sample) + 6;
  LOGFONTW carrier{};
  carrier.lfHeight = m_rowHeight;
  wcscpy_s(carrier.lfFaceName, L"Arial");
  orv::ScopedFont font(::CreateFontIndirectW(&carrier));
  ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  // The control draws and measures with the font it was given until it gets another: the one
  // it had before goes only now.
  rowHeightFont_ = std::move(font);
  const int count = ItemCount();
  if (count > 0) {
    ::SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, count - 1, FALSE);
    ::SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, 0, FALSE);
  }
}

LRESULT COrvelListView::OnSetFont(UINT, WPARAM, LPARAM, BOOL&) {
  // The control asks its parent for the item height again when its size is announced; the
  // parent answers with the row height.
  RECT rect{};
  ::GetWindowRect(m_hWnd, &rect);
  WINDOWPOS pos{};
  pos.hwnd = m_hWnd;
  pos.cx = rect.right - rect.left;
  pos.cy = rect.bottom - rect.top;
  pos.flags = 0x216;  // SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER
  ::SendMessageW(m_hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  return 0;
}

LRESULT COrvelListView::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  FillSolid(reinterpret_cast<HDC>(wParam), client, m_backgroundColor);
  return 1;
}

LRESULT COrvelListView::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&) {
  DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  return 1;
}

COLORREF COrvelListView::GetItemTextColor(uint32_t flags, int controlId) const {
  const COLORREF* colors = g_Preferences.Colors;
  if (flags & font_flags::kRaster) return colors[4];
  if (flags & font_flags::kOtherType) return colors[2];
  if (flags & font_flags::kUnreadable) return colors[3];
  if (controlId == IDC_INSTALLED_FONTS_LIST) {
    if (flags & font_flags::kReserved40000) return colors[1];
    return ::GetSysColor(COLOR_WINDOWTEXT);
  }
  if (flags & font_flags::kInstalled) return (flags & font_flags::kOtherVersion) ? colors[1] : colors[0];
  return ::GetSysColor(COLOR_WINDOWTEXT);
}

void COrvelListView::DrawImageListIcon(HDC dc, int x, int y, int size, int image, int overlay, HIMAGELIST) {
  if (HICON icon = FontListImages::Icon(image)) ::DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
  if (overlay != 0)
    if (HICON icon = FontListImages::Icon(overlay - 1)) ::DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
}

void COrvelListView::DrawResourceIcon(HDC dc, int x, int y, int size, int iconId) {
  if (HICON icon = FontListImages::ResourceIcon(iconId, size)) ::DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
}

void COrvelListView::DrawRowSeparator(HDC dc, const RECT& row) const {
  orv::ScopedPen pen(::CreatePen(PS_SOLID, 2, ::GetSysColor(COLOR_3DLIGHT)));
  orv::ScopedSelectObject select(dc, pen.Get());
  ::MoveToEx(dc, row.left, row.bottom - 1, nullptr);
  ::LineTo(dc, row.right, row.bottom - 1);
}

void COrvelListView::DrawItem(const DRAWITEMSTRUCT& dis) {
  if (static_cast<int>(dis.itemID) == -1 || rows_.empty() || itemsStale_) return;
  auto* row = reinterpret_cast<FontListRow*>(dis.itemData);
  if (!row) return;
  if (row->subgroup) {
    DrawSubgroupRow(dis, *row->subgroup);
    return;
  }
  if (!row->record) return;
  FontItem& record = *row->record;
  if (!record.HasFlag(font_flags::kResolved)) CompleteRow(*row);
  const int controlId = static_cast<int>(dis.CtlID);
  COLORREF color = GetItemTextColor(record.flags, controlId);
  // A row left unresolved (its file held for now) shows its listed name: nothing to load yet.
  if (m_namesOnly || !record.HasFlag(font_flags::kResolved)) {
    DrawNamesOnlyRow(dis, record, color);
    return;
  }
  HDC dc = dis.hDC;
  ::SetMapMode(dc, MM_TEXT);
  const int px = PixelsForPoints(dc, g_Preferences.FontPointSize);

  // Make the face drawable.
  std::wstring eudcPaths;
  bool loaded = false;
  if (record.IsEudc()) {
    eudcPaths = record.GetFilePaths();
    loaded = ::AddFontResourceExW(eudcPaths.c_str(), FR_PRIVATE, nullptr) != 0;
  } else if (LoadsPrivately(record)) {
    loaded = g_AppState.FontCache.Add(record.GetFilePaths(), record.displayName.c_str());
  }
  const int c = TextHeightOfX(dc);

  orv::ScopedFont ownFont;
  HFONT sampleFont = nullptr;
  if ((!record.IsUnreadable() && record.IsRaster()) || loaded || record.IsInstalled()) {
    ownFont.Reset(CreateSampleFont(*row, -px));
    sampleFont = ownFont.Get();
  }
  if (!sampleFont) {
    LOGFONTW font{};
    ::GetObjectW(listFont_.Get(), sizeof(font), &font);
    font.lfHeight = -px;
    ownFont.Reset(::CreateFontIndirectW(&font));
    sampleFont = ownFont.Get();
    color = g_Preferences.Colors[3];
    record.flags |= font_flags::kUnreadable;
  }

  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  COLORREF background = m_backgroundColor;
  if (selected) {
    background = ::GetSysColor(COLOR_HIGHLIGHT);
    if (m_invertSelectedText) color ^= 0xFFFFFF;
  }
  const RECT& rc = dis.rcItem;
  FillSolid(dc, rc, background);
  ::SetBkMode(dc, TRANSPARENT);

  const int d = IconSizeFor(m_rowHeight, c);
  RECT sample{rc.left + d + 10, rc.top + 2, rc.right, rc.bottom - c - 2};
  std::wstring text;
  if (!record.IsEudc()) {
    text = (g_Preferences.ShowSampleInList && !record.IsUnreadable()) ? g_Preferences.SampleText : record.displayName;
  }
  {
    orv::ScopedSelectObject select(dc, sampleFont);
    ::SetTextColor(dc, color);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &sample, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  }
  DrawImageListIcon(dc, 5, sample.bottom - d - 2, d, record.GetTypeIconIndex(), record.GetStatusOverlayIndex(true),
                    FontListImages::Get().large);
  if (record.HasFlag(font_flags::kInUserFonts | font_flags::kPerUser)) {
    RECT strip{rc.left, rc.top, rc.left + 4, rc.bottom};
    FillSolid(dc, strip, ::GetSysColor(COLOR_BTNSHADOW));
  }
  RECT name{rc.left + d + 10, sample.bottom, rc.right, sample.bottom + c + 2};
  if (controlId == IDC_INSTALLED_FONTS_LIST) {
    if (!record.HasFlag(0x1808)) DrawResourceIcon(dc, 5, name.bottom - 28, 24, IDI_LIST_NOT_REGISTERED);
    else if (record.IsRaster() || (record.IsProtected() && !record.IsInstalledFromOtherFile()))
      DrawResourceIcon(dc, 5, name.bottom - 28, 24, IDI_LIST_PROTECTED);
  }
  {
    orv::ScopedSelectObject select(dc, listFont_.Get());
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
    DrawNameWithSuffix(dc, name, record, DT_NOPREFIX | DT_SINGLELINE);
  }
  if (g_Preferences.StyleFlags & kStyleSeparators) DrawRowSeparator(dc, rc);
  if ((dis.itemState & (ODS_SELECTED | ODS_FOCUS)) == (ODS_SELECTED | ODS_FOCUS)) ::DrawFocusRect(dc, &rc);
  if (!eudcPaths.empty() && loaded) ::RemoveFontResourceExW(eudcPaths.c_str(), FR_PRIVATE, nullptr);
}

void COrvelListView::DrawNamesOnlyRow(const DRAWITEMSTRUCT& dis, FontItem& record, COLORREF color) {
  HDC dc = dis.hDC;
  const RECT& rc = dis.rcItem;
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  COLORREF background = m_backgroundColor;
  if (selected) {
    background = ::GetSysColor(COLOR_HIGHLIGHT);
    if (m_invertSelectedText) color ^= 0xFFFFFF;
  }
  FillSolid(dc, rc, background);
  ::SetBkMode(dc, TRANSPARENT);
  const int controlId = static_cast<int>(dis.CtlID);
  DrawImageListIcon(dc, 5, rc.top + 2, 16, record.GetTypeIconIndex(),
                    record.GetStatusOverlayIndex(controlId != IDC_INSTALLED_FONTS_LIST), FontListImages::Get().large);
  if (controlId == IDC_INSTALLED_FONTS_LIST && !record.HasFlag(0x1808))
    DrawResourceIcon(dc, 5, rc.top + 2, 16, IDI_LIST_NOT_REGISTERED);
  if (record.HasFlag(0x8008)) DrawResourceIcon(dc, 5, rc.top + 2, 16, IDI_LIST_PROTECTED);
  if (record.HasFlag(font_flags::kInUserFonts | font_flags::kPerUser)) {
    RECT strip{rc.left, rc.top, rc.left + 4, rc.bottom};
    FillSolid(dc, strip, ::GetSysColor(COLOR_BTNSHADOW));
  }
  RECT name{rc.left + 22, rc.top, rc.right, rc.bottom};
  {
    orv::ScopedSelectObject select(dc, listFont_.Get());
    ::SetTextColor(dc, color);
    DrawNameWithSuffix(dc, name, record, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  }
  if (g_Preferences.StyleFlags & kStyleSeparators) DrawRowSeparator(dc, rc);
  if ((dis.itemState & (ODS_SELECTED | ODS_FOCUS)) == (ODS_SELECTED | ODS_FOCUS)) ::DrawFocusRect(dc, &rc);
}

void COrvelListView::DrawSubgroupRow(const DRAWITEMSTRUCT& dis, const SubgroupEntry& entry) {
  HDC dc = dis.hDC;
  const RECT& rc = dis.rcItem;
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  const int c = TextHeightOfX(dc);
  orv::ScopedFont ownFont;
  HFONT font = nullptr;
  if (!m_namesOnly) {
    LOGFONTW lf{};
    ::GetObjectW(listFont_.Get(), sizeof(lf), &lf);
    lf.lfHeight = -PixelsForPoints(dc, g_Preferences.FontPointSize);
    if (entry.installed) lf.lfWeight = FW_BOLD;
    ownFont.Reset(::CreateFontIndirectW(&lf));
    font = ownFont.Get();
  }
  COLORREF color = entry.loadFailed ? g_Preferences.Colors[3] : ::GetSysColor(COLOR_GRAYTEXT);
  COLORREF background = m_backgroundColor;
  if (selected) {
    color = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    background = ::GetSysColor(COLOR_HIGHLIGHT);
  }
  FillSolid(dc, rc, background);
  ::SetBkMode(dc, TRANSPARENT);
  const int size = m_namesOnly ? 16 : IconSizeFor(m_rowHeight, c);
  RECT name{rc.left + size + 4, m_namesOnly ? rc.top : rc.top + 2, rc.right, m_namesOnly ? rc.bottom : rc.bottom - (c + 2)};
  {
    orv::ScopedSelectObject select(dc, font ? font : static_cast<HFONT>(::GetCurrentObject(dc, OBJ_FONT)));
    ::SetTextColor(dc, color);
    ::DrawTextW(dc, entry.name.c_str(), static_cast<int>(entry.name.size()), &name,
                DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
  }
  const int y = m_namesOnly ? rc.top + 2 : name.bottom - size - 2;
  if (m_shellIconsForSubgroups) {
    SHFILEINFOW info{};
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
    if (dis.itemState & ODS_FOCUS) flags |= SHGFI_OPENICON;
    if (::SHGetFileInfoW(entry.groupFile.c_str(), FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info), flags) && info.hIcon) {
      ::DrawIconEx(dc, 2, y, info.hIcon, size, size, 0, nullptr, DI_NORMAL);
      ::DestroyIcon(info.hIcon);
    }
  } else {
    DrawImageListIcon(dc, 2, y, size, selected ? 13 : 12, entry.installed ? 12 : 0, FontListImages::Get().large);
  }
  if (g_Preferences.StyleFlags & kStyleSeparators) DrawRowSeparator(dc, rc);
  if ((dis.itemState & (ODS_SELECTED | ODS_FOCUS)) == (ODS_SELECTED | ODS_FOCUS)) ::DrawFocusRect(dc, &rc);
}
