// CPrintFontList: pages of a printed font list. A title at the top, then the fonts in one to six
// columns, each a small label block (name and the details the report options ask for)
// followed by a sample in the font itself. Lays out one page per call, carrying on where the
// last page stopped, on the printer (driven by CPrintFontSet) and on the screen as the live
// preview of the report options page (as a child window, filled from the installed fonts).
// Main thread only.
#pragma once

#include <windows.h>

#include <string>

#include "lists/FontItemList.h"
#include "printing/ReportOptions.h"
#include "viewing/CPreviewFrame.h"

class CPrintFontList : public CPreviewFrame {
public:
  // The preview shows at most this many installed fonts.
  static constexpr int kPreviewFonts = 100;

  // Reads "PrintFlags" and "SampleFontSize".
  explicit CPrintFontList(int zoom);

  // Where column k of `columns` starts, from the page's left and right edges and the gutter
  // between columns: (right - gutter * (columns - 1) - left) / columns.
  static int ColumnPitch(int left, int right, int columns, int gutter);

  FontItemList& Fonts() { return fonts_; }
  void SetTitle(const std::wstring& title) { title_ = title; }
  void SetOptions(const ReportOptions& options) { options_ = options; }
  const ReportOptions& Options() const { return options_; }
  // The fonts [first, end) are laid out, starting with the next page at `first`.
  void SetRange(int first, int end) {
    nextIndex_ = first;
    endIndex_ = end;
  }
  int NextIndex() const { return nextIndex_; }

  // Draws one page from the next font on; true when fonts remain for another page. A font too
  // big for an empty column is placed there all the same (ended with an ellipsis at the page's
  // bottom), so that no font stalls the layout.
  bool LayoutFontListPage(HDC dc);
  // The preview: the first page of the first installed fonts.
  void DrawPage(HDC dc) override;

private:
  // The label block of `work_`, in lines inside the column; its height, drawn or not. Drawn,
  // a block taller than the room left in the column ends with an ellipsis at the column's end.
  int DrawFontLabel(HDC dc, bool measure);
  std::wstring LabelText() const;
  int MeasureLines(HDC dc, const std::wstring& text, size_t maxLines) const;
  void DrawListHeader(HDC dc);
  LOGFONTW ArialAt(HDC dc, int points) const;

  FontItemList fonts_;
  std::wstring title_;
  ReportOptions options_;
  int gap_ = 0;
  int sampleFontSize_ = 16;
  int columnTop_ = 0;
  int nextIndex_ = 0;
  int endIndex_ = 0;
  FontItem work_;
};
