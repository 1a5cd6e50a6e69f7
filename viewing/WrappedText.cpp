#include "viewing/WrappedText.h"

#include <algorithm>

#include "common/UnicodeText.h"

namespace {

constexpr wchar_t kEllipsis[] = L"\u2026";
// A line is looked for within this many characters: no line of a page holds more, and a name
// of tens of thousands of letters is not measured whole for each of its lines.
constexpr size_t kLineScan = 2048;

bool IsBreakSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\u3000'; }

int Extent(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// How many of the first `count` characters of `text` fit `width`.
size_t Fit(HDC dc, const wchar_t* text, size_t count, int width) {
  if (count == 0 || width <= 0) return 0;
  INT fit = 0;
  SIZE size{};
  if (!::GetTextExtentExPointW(dc, text, static_cast<int>(count), width, &fit, nullptr, &size)) return 0;
  return static_cast<size_t>(std::clamp<INT>(fit, 0, static_cast<INT>(count)));
}

void TrimEnd(std::wstring& line) {
  while (!line.empty() && (IsBreakSpace(line.back()) || line.back() == L'\r')) line.pop_back();
}

// The line of `paragraph` that starts at `pos`; returns where the next one starts.
size_t NextLine(HDC dc, const std::wstring& paragraph, size_t pos, int width, std::wstring& line) {
  const size_t rest = paragraph.size() - pos;
  const size_t scan = std::min(rest, kLineScan);
  size_t fit = Fit(dc, paragraph.data() + pos, scan, width);
  size_t next;
  if (fit >= rest) {
    line = paragraph.substr(pos);
    next = paragraph.size();
  } else {
    // The last space at or before the first character that does not fit ends the line.
    size_t space = pos + fit;
    while (space > pos && !IsBreakSpace(paragraph[space])) --space;
    if (space > pos) {
      line = paragraph.substr(pos, space - pos);
      next = space;
    } else {
      // One word wider than the line: it breaks inside, never between the halves of a pair.
      fit = std::max<size_t>(fit, 1);
      if (IsLowSurrogate(paragraph[pos + fit])) fit = fit > 1 ? fit - 1 : fit + 1;
      fit = std::min(fit, rest);
      line = paragraph.substr(pos, fit);
      next = pos + fit;
    }
  }
  TrimEnd(line);
  while (next < paragraph.size() && IsBreakSpace(paragraph[next])) ++next;
  return next;
}

// The last line of a cut text: as much of it as leaves room for "…" and the tail.
void EndWithEllipsis(HDC dc, std::wstring& line, int width, const std::wstring& cutTail) {
  std::wstring tail = kEllipsis + cutTail;
  int tailWidth = Extent(dc, tail);
  if (tailWidth > width && !cutTail.empty()) {
    tail = kEllipsis;
    tailWidth = Extent(dc, tail);
  }
  line.resize(Fit(dc, line.c_str(), line.size(), width - tailWidth));
  if (!line.empty() && IsHighSurrogate(line.back())) line.pop_back();
  TrimEnd(line);
  line += tail;
}

}  // namespace

WrappedText WrapText(HDC dc, const std::wstring& text, int width, size_t maxLines, const std::wstring& cutTail) {
  WrappedText result;
  if (text.empty()) return result;
  size_t start = 0;
  // One line more than allowed tells that the text was cut.
  while (start <= text.size() && result.lines.size() <= maxLines) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring paragraph = text.substr(start, end - start);
    if (!paragraph.empty() && paragraph.back() == L'\r') paragraph.pop_back();
    if (paragraph.empty()) {
      result.lines.emplace_back();
    } else {
      for (size_t pos = 0; pos < paragraph.size() && result.lines.size() <= maxLines;) {
        std::wstring line;
        pos = NextLine(dc, paragraph, pos, width, line);
        result.lines.push_back(std::move(line));
      }
    }
    // A line break at the very end starts no line of its own.
    if (end + 1 >= text.size()) break;
    start = end + 1;
  }
  if (result.lines.size() > maxLines) {
    result.cut = true;
    result.lines.resize(maxLines);
    if (!result.lines.empty()) EndWithEllipsis(dc, result.lines.back(), width, cutTail);
  }
  return result;
}

int TextLineHeight(HDC dc) {
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  return metrics.tmHeight + metrics.tmExternalLeading;
}

int DrawTextLines(HDC dc, const std::vector<std::wstring>& lines, const RECT& area, UINT align,
                  orv::TextOutFunction textOut) {
  const int lineHeight = TextLineHeight(dc);
  const UINT previousAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  int y = area.top;
  for (const std::wstring& line : lines) {
    int x = area.left;
    if (align & (DT_CENTER | DT_RIGHT)) {
      const int free = area.right - area.left - Extent(dc, line);
      x += (align & DT_CENTER) ? free / 2 : free;
    }
    textOut(dc, x, y, ETO_CLIPPED, &area, line.c_str(), static_cast<UINT>(line.size()), nullptr);
    y += lineHeight;
  }
  ::SetTextAlign(dc, previousAlign);
  return y - area.top;
}
