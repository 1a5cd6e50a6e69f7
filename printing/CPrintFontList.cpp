#include "printing/CPrintFontList.h"

#include <algorithm>
#include <iterator>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "framework/Handles.h"
#include "viewing/WrappedText.h"

namespace {
constexpr int kLabelPoints = 8;
constexpr int kGapPoints = 12;
constexpr int kTitlePoints = 24;
constexpr int kDefaultSampleSize = 16;
constexpr int kPreviewInset = 4;
// A title of a group with a very long name keeps to this many lines.
constexpr size_t kTitleLines = 3;
constexpr size_t kAnyLines = static_cast<size_t>(-1);

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
  columnTop_ = headerBottom;
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
    const std::wstring& text = g_Preferences.SampleText;
    const size_t sampleLines = options_.singleLineSample ? 1 : kAnyLines;
    int sampleHeight = 0;
    if (sampleFont) {
      orv::ScopedSelectObject select(dc, sampleFont.Get());
      sampleHeight = MeasureLines(dc, text, sampleLines);
    }
    const bool emptyColumn = drawRect_.top == headerBottom;
    if (sampleHeight + labelHeight + drawRect_.top < page.bottom || emptyColumn) {
      // A label cut short fills its column: no sample is drawn under it.
      if (DrawFontLabel(dc, false) == labelHeight && sampleFont) {
        orv::ScopedSelectObject select(dc, sampleFont.Get());
        (void)DrawWrapped(dc, text, sampleLines);
      } else if (drawRect_.top < drawRect_.bottom) {
        drawRect_.top = drawRect_.bottom;
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

std::wstring CPrintFontList::LabelText() const {
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
  return text;
}

// The height of `text` in the column from its top, in the DC's font: the whole of it, or, for a
// text taller than an empty column, a little more than the column.
int CPrintFontList::MeasureLines(HDC dc, const std::wstring& text, size_t maxLines) const {
  const int lineHeight = std::max(1, TextLineHeight(dc));
  const size_t columnLines = static_cast<size_t>(std::max(0, static_cast<int>(pageRect_.bottom - columnTop_))) / lineHeight;
  const WrappedText wrapped = WrapText(dc, text, drawRect_.right - drawRect_.left, std::min(maxLines, columnLines + 1));
  return static_cast<int>(wrapped.lines.size()) * lineHeight;
}

int CPrintFontList::DrawFontLabel(HDC dc, bool measure) {
  const LOGFONTW label = ArialAt(dc, kLabelPoints);
  orv::ScopedFont font(::CreateFontIndirectW(&label));
  orv::ScopedSelectObject select(dc, font.Get());
  const std::wstring text = LabelText();
  if (measure) return MeasureLines(dc, text, kAnyLines);
  const int top = drawRect_.top;
  (void)DrawWrapped(dc, text, kAnyLines);
  return drawRect_.top - top;
}

void CPrintFontList::DrawListHeader(HDC dc) {
  {
    const LOGFONTW heading = ArialAt(dc, kTitlePoints);
    orv::ScopedFont font(::CreateFontIndirectW(&heading));
    orv::ScopedSelectObject select(dc, font.Get());
    (void)DrawWrapped(dc, title_, kTitleLines, DT_CENTER);
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
