// The sample window's drawing: the information block, the sample text in the font and the two
// notes (optical-size range, size of the drawing area).
#include "viewing/CSampleWindow.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"

namespace {

constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOCLIP | DT_EXTERNALLEADING | DT_NOPREFIX;
constexpr uint16_t kNoUpperOpticalSize = 0xFFFF;
constexpr uint16_t kFirstOs2VersionWithOpticalSizes = 5;
constexpr int kInfoGap = 15;
constexpr int kColumnMargin = 5;
constexpr int kTextMargin = 4;
constexpr wchar_t kEudcSample[] = L"\uE000\uE001\uE002\uE003\uE004\uE005\uE006\uE007\uE008";

void ReplaceAll(std::wstring& text, const std::wstring& what, const std::wstring& with) {
  if (what.empty()) return;
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

}  // namespace

void MarkMissingGlyphs(HDC dc, std::wstring& text) {
  if (text.empty()) return;
  std::vector<WORD> glyphs(text.size());
  if (::GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
    return;
  for (size_t i = 0; i < text.size(); ++i)
    if (glyphs[i] == 0xFFFF && text[i] > 31) text[i] = L'\uFFFD';
}

std::wstring InfoBlockLeftText(const FontItem& item, const std::wstring& userFontsFolder) {
  const bool readable = !item.IsUnreadable();
  std::wstring text;
  if (readable && item.IsCollectionFace()) text += L"Collection: " + item.collectionName + L"\r\n";
  std::wstring location = item.IsGdiOnly() ? std::wstring(L"? (Temp)") : item.fileRef;
  if (item.HasFlag(font_flags::kInUserFonts) && !userFontsFolder.empty())
    ReplaceAll(location, userFontsFolder + L"\\", L"");
  ReplaceAll(location, L"|", L" +\r\n   ");
  text += L" [ " + location + L" ]";
  if (readable && item.IsVariable()) text += FormatWide(L" (%d Variations)", static_cast<int>(item.instanceCount));
  text += L"\r\n";
  if (readable && !item.IsType1()) {
    std::wstring scripts;
    item.GetScriptNames(scripts, L" ; ", -1);
    text += L"Scripts: " + scripts;
  }
  return text;
}

std::wstring OpticalSizeNote(const FontItem& item) {
  if (item.os2Version < kFirstOs2VersionWithOpticalSizes) return {};
  if (item.lowerOpticalSize == 0 && item.upperOpticalSize == kNoUpperOpticalSize) return {};
  wchar_t note[64]{};
  if (item.upperOpticalSize == kNoUpperOpticalSize)
    std::swprintf(note, std::size(note), L"(%.1f \u2264 pts < \u221E)", item.lowerOpticalSize / 20.0);
  else
    std::swprintf(note, std::size(note), L"(%.1f \u2264 pts < %.1f)", item.lowerOpticalSize / 20.0,
                  item.upperOpticalSize / 20.0);
  return note;
}

bool CSampleWindow::LoadFontForDrawing(bool& eudcLoaded) const {
  eudcLoaded = false;
  if (item_.IsEudc()) {
    // An EUDC font is loaded for the one drawing only; when that fails GDI draws what it finds.
    eudcLoaded = ::AddFontResourceExW(item_.GetFilePaths().c_str(), FR_PRIVATE, nullptr) != 0;
    return true;
  }
  if (item_.IsGdiOnly() || item_.IsRaster() || item_.IsInstalledExactly()) return true;
  return g_AppState.FontCache.Add(item_.GetFilePaths(), item_.displayName.c_str());
}

void CSampleWindow::UnloadEudc(bool eudcLoaded) const {
  if (eudcLoaded) ::RemoveFontResourceExW(item_.GetFilePaths().c_str(), FR_PRIVATE, nullptr);
}

void CSampleWindow::DrawSample(HDC dc) {
  RECT area{};
  GetClientRect(&area);
  int used = 0;
  if (g_AppState.ShowInfoBlock) {
    DrawInfoBlock(dc, area);
    used = area.top;
  }
  if (HasFont() && !item_.IsUnreadable()) {
    DrawSampleText(dc, area);
    used += textHeight_;
    if (!measuring_ && used != contentHeight_) {
      // A new content height starts again at the top.
      contentHeight_ = used;
      SetScrollSize(1, used, true, true);
    }
  }
  if (measuring_) return;
  ::SetBkMode(dc, TRANSPARENT);
  orv::ScopedSelectObject select(dc, MessageFont());
  ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
  if (showSizeLabel_) {
    const std::wstring label = FormatWide(L"%d x %d", static_cast<int>(area.right - area.left),
                                          static_cast<int>(area.bottom - area.top));
    ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &area,
                DT_SINGLELINE | DT_BOTTOM | DT_RIGHT | DT_NOPREFIX);
  }
  const std::wstring note = OpticalSizeNote(item_);
  if (!note.empty()) {
    RECT top = area;
    top.top = 0;
    ::DrawTextW(dc, note.c_str(), static_cast<int>(note.size()), &top, DT_SINGLELINE | DT_RIGHT | DT_NOPREFIX);
  }
}

void CSampleWindow::DrawSampleText(HDC dc, RECT& area) {
  bool eudcLoaded = false;
  if (!LoadFontForDrawing(eudcLoaded)) return;
  const bool overrides = std::any_of(std::begin(styleOverrides_), std::end(styleOverrides_), [](int v) { return v != 0; });
  if (overrides) item_.flags |= font_flags::kStyleOverride;
  else item_.flags &= ~font_flags::kStyleOverride;
  orv::ScopedFont font(item_.CreateDisplayFont(-::MulDiv(sampleSize_, ::GetDeviceCaps(dc, LOGPIXELSY), 72)));
  if (font) {
    orv::ScopedSelectObject select(dc, font.Get());
    if (!measuring_) {
      COLORREF color = ::GetSysColor(COLOR_WINDOWTEXT);
      if (item_.HasFlag(font_flags::kOtherVersion)) color = g_Preferences.Colors[kColorOtherVersion];
      else if (item_.HasFlag(font_flags::kOtherType)) color = g_Preferences.Colors[kColorNotInstalled];
      ::SetTextColor(dc, color);
      ::SetBkMode(dc, TRANSPARENT);
    }
    RECT text = area;
    ::InflateRect(&text, -kTextMargin, -kTextMargin);
    std::wstring sample = item_.IsEudc() ? std::wstring(kEudcSample) : activeText_;
    if (g_AppState.MarkMissingGlyphs) MarkMissingGlyphs(dc, sample);
    const UINT format = kTextFormat | DT_NOFULLWIDTHCHARBREAK | (measuring_ ? DT_CALCRECT : 0);
    textHeight_ = ::DrawTextW(dc, sample.c_str(), static_cast<int>(sample.size()), &text, format) + 10;
  }
  UnloadEudc(eudcLoaded);
}

int CSampleWindow::DrawInfoLine(HDC dc, RECT& column, int labelWidth, const std::wstring& label,
                                const std::wstring& value) {
  const UINT format = kTextFormat | (measuring_ ? DT_CALCRECT : 0);
  RECT labelRect = column;
  ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &labelRect, format);
  RECT valueRect = column;
  valueRect.left += labelWidth;
  const std::wstring text = L": " + value;
  const int height = ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &valueRect, format);
  column.top += height;
  return height;
}

void CSampleWindow::DrawInfoBlock(HDC dc, RECT& area) {
  const bool readable = !item_.IsUnreadable();
  if (readable && !HasFont()) return;
  const int half = (area.right - area.left) / 2;
  RECT left{area.left, area.top, area.left + half, area.bottom};
  RECT right{area.left + half, area.top, area.right, area.bottom};
  ::InflateRect(&left, -kColumnMargin, -kColumnMargin);
  ::InflateRect(&right, -kColumnMargin, -kColumnMargin);
  orv::ScopedSelectObject select(dc, MessageFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  const UINT format = kTextFormat | (measuring_ ? DT_CALCRECT : 0);

  const std::wstring leftText = InfoBlockLeftText(item_, g_AppState.UserFontsFolder);
  const int leftHeight = ::DrawTextW(dc, leftText.c_str(), static_cast<int>(leftText.size()), &left, format);
  int rightHeight = 0;
  if (readable) {
    SIZE label{};
    ::GetTextExtentPoint32W(dc, L"Fam. ", 5, &label);
    rightHeight += DrawInfoLine(dc, right, label.cx, L"Fam.", item_.names.SystemFirst(NameSlot::Family));
    if (!item_.IsGdiOnly() && !item_.IsRaster()) {
      rightHeight += DrawInfoLine(dc, right, label.cx, L"Ver.", item_.version.empty() ? L"?" : item_.version);
      if (!item_.uniqueId.empty()) rightHeight += DrawInfoLine(dc, right, label.cx, L"ID.", item_.uniqueId);
    }
  }
  area.top += std::max(leftHeight, rightHeight) + kInfoGap;
  if (area.bottom < area.top) area.bottom = area.top + 2;
  if (measuring_) return;
  if (item_.HasFlag(font_flags::kInUserFonts)) {
    RECT bar{0, 0, 4, area.top};
    ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_BTNSHADOW));
  }
  orv::ScopedPen pen(::CreatePen(PS_SOLID, 2, ::GetSysColor(COLOR_3DLIGHT)));
  orv::ScopedSelectObject usePen(dc, pen.Get());
  ::MoveToEx(dc, area.left, area.top - 2, nullptr);
  ::LineTo(dc, area.right, area.top - 2);
}
