#include "printing/CPrintFontList.h"

#include <algorithm>
#include <cwctype>
#include <iterator>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "framework/Handles.h"

namespace {
constexpr int kLabelPoints = 8;
constexpr int kGapPoints = 12;
constexpr int kTitlePoints = 24;
constexpr int kDefaultSampleSize = 16;
constexpr int kPreviewInset = 4;
constexpr UINT kSampleFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXTERNALLEADING;
constexpr wchar_t kEllipsis[] = L"\u2026";
constexpr UINT kTitleFormat = DT_CENTER | DT_WORDBREAK | DT_EXTERNALLEADING | DT_NOPREFIX;

int ReadSampleFontSize() {
  DWORD size = kDefaultSampleSize;
  if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ)) {
    if (!ReadRegDword(key.Get(), L"SampleFontSize", size)) size = kDefaultSampleSize;
  }
  return std::clamp(static_cast<int>(size), 1, 1000);
}

SIZE TextExtent(HDC dc, const wchar_t* text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
  return size;
}
}  // namespace

CPrintFontList::CPrintFontList(int zoom)
    : CPreviewFrame(zoom), options_(ReadReportOptions()), sampleFontSize_(ReadSampleFontSize()) {
  unboundedPage_ = false;
}

int CPrintFontList::ColumnPitch(int left, int right, int columns, int gutter) {
  columns = std::max(columns, 1);
  return (right - gutter * (columns - 1) - left) / columns;
}

LOGFONTW CPrintFontList::ArialAt(HDC dc, int points) const {
  LOGFONTW font{};
  font.lfOutPrecision = OUT_TT_PRECIS;
  wcscpy_s(font.lfFaceName, L"Arial");
  font.lfHeight = -PointsToPixels(dc, points);
  return font;
}

bool CPrintFontList::LayoutFontListPage(HDC dc) {
  if (fonts_.Empty()) return false;
  const RECT page = pageRect_;
  drawRect_ = page;
  const int columns = std::max(options_.columns, 1);
  int gutter = 0;
  {
    const LOGFONTW label = ArialAt(dc, kGapPoints);
    orv::ScopedFont font(::CreateFontIndirectW(&label));
    orv::ScopedSelectObject select(dc, font.Get());
    const SIZE a = TextExtent(dc, L"A");
    gap_ = a.cy / 2;
    if (columns > 1) gutter = 2 * a.cx;
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  DrawListHeader(dc);
  const int headerBottom = drawRect_.top;
  const int pitch = ColumnPitch(page.left, page.right, columns, gutter);
  int column = 0;
  auto placeColumn = [&] {
    drawRect_.left = page.left + column * pitch;
    drawRect_.right = drawRect_.left + pitch - gutter;
    drawRect_.top = headerBottom;
    drawRect_.bottom = page.bottom;
  };
  placeColumn();

  const int count = static_cast<int>(fonts_.Count());
  auto entry = fonts_.Entries().begin();
  std::advance(entry, std::min(nextIndex_, count));
  int i = nextIndex_;
  while (i < endIndex_ && i < count) {
    if (!entry->marked) {
      ++i;
      ++entry;
      continue;
    }
    work_ = entry->record;
    if (!work_.IsInstalledExactly() && !work_.IsGdiOnly() && !work_.IsRaster())
      g_AppState.FontCache.Add(work_.GetFilePaths(), nullptr);
    const int labelHeight = DrawFontLabel(dc, true);
    orv::ScopedFont sampleFont(work_.CreateDisplayFont(-PointsToPixels(dc, sampleFontSize_)));
    const UINT format = kSampleFormat | (options_.singleLineSample ? DT_SINGLELINE : 0);
    const std::wstring& text = g_Preferences.SampleText;
    int sampleHeight = 0;
    {
      orv::ScopedSelectObject select(dc, sampleFont.Get());
      RECT measure = drawRect_;
      if (sampleFont) sampleHeight = ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, format | DT_CALCRECT);
    }
    const bool emptyColumn = drawRect_.top == headerBottom;
    if (sampleHeight + labelHeight + drawRect_.top < page.bottom || emptyColumn) {
      DrawFontLabel(dc, false);
      if (sampleFont && drawRect_.top < drawRect_.bottom) {
        orv::ScopedSelectObject select(dc, sampleFont.Get());
        drawRect_.top += ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &drawRect_, format);
      }
      ++i;
      ++entry;
      continue;
    }
    nextIndex_ = i;
    if (++column == columns) return true;
    placeColumn();
  }
  nextIndex_ = endIndex_;
  return false;
}

int CPrintFontList::DrawFontLabel(HDC dc, bool measure) {
  const LOGFONTW label = ArialAt(dc, kLabelPoints);
  orv::ScopedFont font(::CreateFontIndirectW(&label));
  orv::ScopedSelectObject select(dc, font.Get());
  std::wstring text = L"\r\n" + work_.displayName;
  const std::wstring& full = work_.FullName();
  if (!full.empty() && full != work_.displayName) text += L" [" + full + L"]";
  if (options_.showFile) text += L"\r\n" + work_.fileRef;
  if (!work_.IsRaster()) {
    if (options_.showScripts) {
      std::wstring scripts;
      work_.GetScriptNames(scripts, L"; ", -1);
      text += L"\r\nScripts: " + scripts;
    }
    if (options_.showVersion && !work_.version.empty()) text += L"\r\nV.:  " + work_.version;
    if (options_.showId && !work_.uniqueId.empty()) text += L"\r\nID:  " + work_.uniqueId;
  }
  RECT area = drawRect_;
  const int height = ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, kSampleFormat | DT_CALCRECT);
  if (measure) return height;
  const int room = std::max(0, static_cast<int>(drawRect_.bottom - drawRect_.top));
  // A label cut short fills its column: no sample is drawn under it.
  const bool cut = height > room;
  if (cut) text = FitWithEllipsis(dc, text, room);
  area = drawRect_;
  const int drawn = ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, kSampleFormat);
  drawRect_.top = cut ? drawRect_.bottom : drawRect_.top + drawn;
  return height;
}

// The longest start of `text` that, with an ellipsis after it, wraps into `height`: a label
// taller than its column ends with whole lines and "…" rather than a line cut through.
std::wstring CPrintFontList::FitWithEllipsis(HDC dc, const std::wstring& text, int height) {
  auto measured = [&](size_t length) {
    std::wstring part = text.substr(0, length);
    while (!part.empty() && iswspace(part.back())) part.pop_back();
    part += kEllipsis;
    RECT area = drawRect_;
    const int h = ::DrawTextW(dc, part.c_str(), static_cast<int>(part.size()), &area, kSampleFormat | DT_CALCRECT);
    return std::make_pair(h, part);
  };
  size_t fits = 0, tooLong = text.size();
  while (tooLong - fits > 1) {
    const size_t middle = fits + (tooLong - fits) / 2;
    (measured(middle).first <= height ? fits : tooLong) = middle;
  }
  return fits == 0 ? std::wstring() : measured(fits).second;
}

void CPrintFontList::DrawListHeader(HDC dc) {
  {
    const LOGFONTW heading = ArialAt(dc, kTitlePoints);
    orv::ScopedFont font(::CreateFontIndirectW(&heading));
    orv::ScopedSelectObject select(dc, font.Get());
    drawRect_.top += ::DrawTextW(dc, title_.c_str(), static_cast<int>(title_.size()), &drawRect_, kTitleFormat);
  }
  drawRect_.top += gap_;
  DrawRule(dc);
}

void CPrintFontList::DrawPage(HDC dc) {
  // A page at the window's corner would touch its edges.
  if (pageRect_.left == 0) pageRect_.left = pageRect_.top = kPreviewInset;
  if (fonts_.Empty()) {
    COrvelListView& installed = g_AppState.InstalledFonts;
    const int rows = installed.m_hWnd ? std::min(installed.CountRecords(), kPreviewFonts) : 0;
    for (int row = 0; row < rows; ++row)
      if (const FontItem* record = installed.GetRecordAt(row)) fonts_.AddUnique(*record, row);
  }
  nextIndex_ = 0;
  endIndex_ = static_cast<int>(fonts_.Count());
  LayoutFontListPage(dc);
}
