// CFontSheetView: one font sheet, a page about one font: a heading with its name and type, an
// information block (files, size, version, identifier, scripts, outlines, notice), a sample
// paragraph in the font and eleven lines of the sample text from 4 to 72 points, each with its
// size in front. The same drawing (DrawFontEntry) serves the font sheet window's tabs and the
// printed font-set pages; a frame hosts the view as a child window, a print job uses it
// without a window and sets the page rectangle to the printer's printable area.
//
// The view owns its copy of the font record and loads the font privately (PrivateFontCache)
// when it is not installed, before each drawing. Main thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "fonts/FontItem.h"
#include "viewing/CPreviewFrame.h"

// What the sheet shows beyond the font record, read from the font's file.
struct FontSheetDetails {
  bool hasDsig = false;
  bool hasCff = false;
  uint32_t fileSize = 0;
  std::wstring noticeText;
  std::wstring familyText;
};

// Fills `details` from the font's file: nothing for a raster font; for a Type 1 font the clear
// text of its ".pfb" (version, unique identifier, family and notice, into `font` and
// `details`); for an sfnt file its DSIG and CFF tables, size, notice and family names, and for
// a font that is not variable its version and unique identifier.
void ReadType1FontInfo(FontItem& font, FontSheetDetails& details);

class CFontSheetView : public CPreviewFrame {
public:
  // The point sizes of the size lines, top to bottom.
  static constexpr int kSizeLinePoints[] = {4, 6, 8, 10, 12, 18, 24, 36, 48, 60, 72};

  explicit CFontSheetView(int zoom = 100);

  // Shows a copy of `font` and reads its file details.
  void SetFont(const FontItem& font);
  const FontItem& Font() const { return font_; }
  const FontSheetDetails& Details() const { return details_; }

  // The next paint recomputes the page (after the page setup or the frame's page mode changed).
  void RefreshPage(bool unbounded, bool invalidate);

  void DrawPage(HDC dc) override;
  // The whole sheet into pageRect on `dc`.
  void DrawFontEntry(HDC dc);

private:
  COLORREF EntryTextColor() const;
  // At most `maxLines` lines of `text`, ending with an ellipsis when cut (CPreviewFrame::DrawWrapped).
  void DrawLine(HDC dc, const std::wstring& text, size_t maxLines);
  void SetSheetFont(int points, int weight = FW_NORMAL);
  void DrawEntryHeader(HDC dc);
  void DrawEntryInfo(HDC dc);
  void DrawEntrySample(HDC dc);
  void DrawSizeLine(HDC dc, int points);
  void ReplaceMissingGlyphs(HDC dc, std::wstring& text) const;
  void LoadFontForDrawing() const;

  FontItem font_;
  bool metricsDirty_ = false;
  FontSheetDetails details_;
  LOGFONTW logFont_{};
  int halfLine_ = 0;
  HDC currentDc_ = nullptr;
};
