// The drawing of a font sheet, the same on the screen and on paper.
#include "viewing/CFontSheetView.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "viewing/CSampleWindow.h"
#include "viewing/ValueFormatters.h"
#include "viewing/WrappedText.h"

namespace {

// A heading or a detail line of a font with a name of thousands of letters keeps to its band
// and ends there with an ellipsis; the rest of the page stays the sheet's. The heading's band is
// a quarter of a bounded page (a name of some hundred letters shows whole), or this many lines
// of an unbounded one; a detail line's band is this many lines.
constexpr size_t kHeadingLines = 3;
constexpr int kHeadingBandParts = 4;
constexpr size_t kInfoLines = 4;
constexpr size_t kAnyLines = static_cast<size_t>(-1);
constexpr int kHeaderPoints = 24;
constexpr int kInfoPoints = 12;
constexpr int kNoticePoints = 10;
constexpr int kSamplePoints = 16;
constexpr int kLabelPoints = 10;
constexpr int kUnboundedSlack = 10;
constexpr int kUnboundedBottomSlack = 20;
constexpr size_t kMinCutText = 3;

SIZE TextExtent(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The sample paragraph: the built-in sample text after its title.
std::wstring SheetSampleText() {
  const std::wstring text = LoadResString(IDS_SHEET_SAMPLE);
  const size_t tab = text.find(L'\t');
  return tab == std::wstring::npos ? text : text.substr(tab + 1);
}

std::wstring TypeTag(const FontItem& font) {
  if (font.IsGdiOnly()) return L"(Temp)";
  if (font.HasFlag(font_flags::kSfnt)) return font.HasFlag(font_flags::kCffOrType1) ? L"(OpenType)" : L"(TrueType)";
  return L"(" + (font.IsRaster() ? font.fileRef : std::wstring(L"Type 1")) + L")";
}

}  // namespace

COLORREF CFontSheetView::EntryTextColor() const {
  if (font_.HasFlag(font_flags::kOtherType)) return g_Preferences.Colors[kColorNotInstalled];
  if (font_.HasFlag(font_flags::kOtherVersion)) return g_Preferences.Colors[kColorOtherVersion];
  return ::GetSysColor(COLOR_WINDOWTEXT);
}

void CFontSheetView::DrawLine(HDC dc, const std::wstring& text, size_t maxLines) { (void)DrawWrapped(dc, text, maxLines); }

void CFontSheetView::SetSheetFont(int points, int weight) {
  logFont_.lfHeight = -PointsToPixels(currentDc_, points);
  logFont_.lfWeight = weight;
}

void CFontSheetView::ReplaceMissingGlyphs(HDC dc, std::wstring& text) const {
  if (g_AppState.MarkMissingGlyphs) MarkMissingGlyphs(dc, text);
}

void CFontSheetView::DrawFontEntry(HDC dc) {
  currentDc_ = dc;
  LoadFontForDrawing();
  ::SetTextColor(dc, EntryTextColor());
  ::SetBkMode(dc, TRANSPARENT);
  drawRect_ = pageRect_;
  logFont_ = LOGFONTW{};
  logFont_.lfOutPrecision = OUT_TT_PRECIS;
  wcscpy_s(logFont_.lfFaceName, L"Times New Roman");
  SetSheetFont(kInfoPoints);
  {
    orv::ScopedFont heading(::CreateFontIndirectW(&logFont_));
    orv::ScopedSelectObject select(dc, heading.Get());
    halfLine_ = TextExtent(dc, L"A").cy / 2;
  }
  DrawEntryHeader(dc);
  if (!font_.IsRaster() && !font_.IsGdiOnly()) DrawEntryInfo(dc);
  DrawEntrySample(dc);
  wcscpy_s(logFont_.lfFaceName, L"Arial");
  for (int points : kSizeLinePoints) DrawSizeLine(dc, points);
  if (unboundedPage_ && pageRect_.right == kUnboundedExtent) {
    pageRect_.bottom = drawRect_.top + kUnboundedBottomSlack;
    pageRect_.right = drawRect_.right;
    ExtendScrollToPage();
  }
  currentDc_ = nullptr;
}

void CFontSheetView::DrawEntryHeader(HDC dc) {
  std::wstring text = font_.displayName;
  const std::wstring& full = font_.FullName();
  if (!full.empty() && full != text) text += L" [" + full + L"]";
  // A name cut short keeps the font's type after its ellipsis.
  const std::wstring tag = L" " + TypeTag(font_);
  SetSheetFont(kHeaderPoints);
  {
    orv::ScopedFont font(::CreateFontIndirectW(&logFont_));
    orv::ScopedSelectObject select(dc, font.Get());
    size_t lines = kHeadingLines;
    if (!unboundedPage_)
      lines = std::max<size_t>(1, static_cast<size_t>((pageRect_.bottom - pageRect_.top) / kHeadingBandParts) /
                                      std::max(1, TextLineHeight(dc)));
    (void)DrawWrapped(dc, text + tag, lines, DT_LEFT, tag);
  }
  if (font_.HasFlag(font_flags::kOtherType | font_flags::kOtherVersion)) {
    drawRect_.top += halfLine_;
    SetSheetFont(kInfoPoints, FW_BOLD);
    orv::ScopedFont font(::CreateFontIndirectW(&logFont_));
    orv::ScopedSelectObject select(dc, font.Get());
    DrawLine(dc, LoadResString(IDS_SHEET_OTHER_INSTALLED), kInfoLines);
    logFont_.lfWeight = FW_NORMAL;
  }
  drawRect_.top += halfLine_;
  DrawRule(dc);
  drawRect_.top += halfLine_;
}

void CFontSheetView::DrawEntryInfo(HDC dc) {
  SetSheetFont(kInfoPoints);
  orv::ScopedFont font(::CreateFontIndirectW(&logFont_));
  orv::ScopedSelectObject select(dc, font.Get());
  const bool sfnt = font_.HasFlag(font_flags::kSfnt);
  DrawLine(dc, LoadResString(IDS_SHEET_FAMILY) + details_.familyText, kInfoLines);
  if (sfnt) {
    std::wstring file = LoadResString(IDS_SHEET_FILE) + font_.fileRef;
    if (font_.IsCollectionFace()) file += L"  (" + LoadResString(IDS_SHEET_COLLECTION) + L")";
    DrawLine(dc, file, kInfoLines);
    DrawLine(dc, LoadResString(IDS_SHEET_FILE_SIZE) + FormatByteSize(details_.fileSize), kInfoLines);
  } else {
    DrawLine(dc, LoadResString(IDS_SHEET_METRICS_FILE) + font_.fullPath, kInfoLines);
    DrawLine(dc, LoadResString(IDS_SHEET_OUTLINE_FILE) + font_.pfbPath, kInfoLines);
  }
  if (!font_.version.empty()) DrawLine(dc, LoadResString(IDS_SHEET_VERSION) + font_.version, kInfoLines);
  if (!font_.uniqueId.empty()) DrawLine(dc, LoadResString(IDS_SHEET_UNIQUE_ID) + font_.uniqueId, kInfoLines);
  std::wstring scripts;
  font_.GetScriptNames(scripts, L"; ", -1);
  if (!scripts.empty()) DrawLine(dc, L"Scripts: " + scripts, kAnyLines);
  drawRect_.top += halfLine_;
  if (details_.hasDsig || details_.hasCff) {
    std::wstring outlines = LoadResString(details_.hasCff ? IDS_SHEET_CFF_OUTLINES : IDS_SHEET_TT_OUTLINES);
    if (details_.hasDsig) outlines += L" " + LoadResString(IDS_SHEET_SIGNED);
    if (font_.IsVariable()) {
      const std::wstring format = LoadResString(IDS_SHEET_INSTANCES);
      wchar_t* text = nullptr;
      DWORD_PTR args[] = {font_.instanceCount};
      if (::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                           format.c_str(), 0, 0, reinterpret_cast<wchar_t*>(&text), 0,
                           reinterpret_cast<va_list*>(args))) {
        outlines += L" " + std::wstring(text);
        ::LocalFree(text);
      }
    }
    DrawLine(dc, outlines, kInfoLines);
    drawRect_.top += halfLine_;
  }
  if (!details_.noticeText.empty()) {
    SetSheetFont(kNoticePoints);
    orv::ScopedFont notice(::CreateFontIndirectW(&logFont_));
    orv::ScopedSelectObject selectNotice(dc, notice.Get());
    DrawLine(dc, details_.noticeText, kAnyLines);
    drawRect_.top += halfLine_;
  }
}

void CFontSheetView::DrawEntrySample(HDC dc) {
  orv::ScopedFont font(font_.CreateDisplayFont(-PointsToPixels(dc, kSamplePoints)));
  DrawRule(dc);
  drawRect_.top += 2 * halfLine_;
  {
    orv::ScopedSelectObject select(dc, font.Get());
    std::wstring text = SheetSampleText();
    ReplaceMissingGlyphs(dc, text);
    if (font) DrawLine(dc, text, kAnyLines);
  }
  drawRect_.top += 2 * halfLine_;
  DrawRule(dc);
  drawRect_.top += halfLine_;
}

void CFontSheetView::DrawSizeLine(HDC dc, int points) {
  if (drawRect_.top >= pageRect_.bottom) return;
  SetSheetFont(kLabelPoints);
  orv::ScopedFont labelFont(::CreateFontIndirectW(&logFont_));
  const int h = PointsToPixels(dc, points);
  if (drawRect_.top + std::max(h, PointsToPixels(dc, kLabelPoints)) > pageRect_.bottom) {
    // This line does not fit: neither does any later, larger one.
    drawRect_.top = drawRect_.bottom = pageRect_.bottom + 1;
    return;
  }
  orv::ScopedFont sampleFont(font_.CreateDisplayFont(-h));
  if (!sampleFont) return;
  int c = 0;
  {
    orv::ScopedSelectObject select(dc, sampleFont.Get());
    c = TextExtent(dc, L"X").cy;
  }
  const std::wstring label = FormatWide(L"%2d ", points);
  SIZE labelSize{};
  {
    orv::ScopedSelectObject select(dc, labelFont.Get());
    labelSize = TextExtent(dc, L"00 ");
    const RECT saved = drawRect_;
    if (labelSize.cy < c) drawRect_.top += (c - labelSize.cy) / 2;
    drawRect_.right = drawRect_.left + labelSize.cx;
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    DrawTextLines(dc, {label}, drawRect_, DT_RIGHT, PageTextOut());
    ::SetTextColor(dc, EntryTextColor());
    drawRect_ = saved;
    if (c < labelSize.cy) drawRect_.top += (labelSize.cy - c) / 2;
  }
  orv::ScopedSelectObject select(dc, sampleFont.Get());
  std::wstring text = g_Preferences.SampleText;
  ReplaceMissingGlyphs(dc, text);
  const int lw = labelSize.cx;
  if (unboundedPage_) {
    drawRect_.right = drawRect_.left + lw + TextExtent(dc, text).cx + kUnboundedSlack;
  } else {
    while (text.size() >= kMinCutText && TextExtent(dc, text).cx > drawRect_.right - drawRect_.left - lw) text.pop_back();
  }
  // One line, not clipped: the line was cut to the page's width above, and marks above or
  // below the cell stay whole.
  drawRect_.left += lw;
  if (!text.empty()) {
    const UINT previousAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    PageTextOut()(dc, drawRect_.left, drawRect_.top, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    ::SetTextAlign(dc, previousAlign);
    drawRect_.top += TextLineHeight(dc);
  }
  drawRect_.left -= lw;
  if (c < labelSize.cy) ::OffsetRect(&drawRect_, 0, labelSize.cy - c);
}
