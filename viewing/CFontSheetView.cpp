#include "viewing/CFontSheetView.h"

#include "app/AppState.h"
#include "fonts/FontFileReader.h"

namespace {

void ReadType1Details(FontItem& font, FontSheetDetails& details) {
  FontFileReader reader;
  reader.CopyFrom(font);
  std::wstring header;
  if (!reader.ReadType1Header(header)) return;
  FontFileReader::FindType1Key(header, L"/version ", font.version, 0);
  FontFileReader::FindType1Key(header, L"/UniqueID ", font.uniqueId, 0);
  FontFileReader::FindType1Key(header, L"/FamilyName ", details.familyText, 0);
  if (!FontFileReader::FindType1Key(header, L"/Notice ", details.noticeText, 0))
    FontFileReader::FindType1Key(header, L"/Copyright ", details.noticeText, 0);
}

void ReadSfntDetails(FontItem& font, FontSheetDetails& details) {
  FontFileReader reader;
  reader.CopyFrom(font);
  if (reader.IsCollectionFace() && !reader.ReadCollectionFaceByName()) return;
  if (!reader.OpenSfnt(0)) return;
  details.hasDsig = reader.SeekToTable("DSIG");
  details.hasCff = reader.SeekToTable("CFF ") || reader.SeekToTable("CFF2");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (::GetFileAttributesExW(reader.fullPath.c_str(), GetFileExInfoStandard, &data))
    details.fileSize = data.nFileSizeHigh ? UINT32_MAX : data.nFileSizeLow;
  std::wstring names[26];
  reader.ReadAllNames(names);
  details.noticeText = names[name_ids::kCopyright];
  details.familyText = names[name_ids::kFamily];
  if (!font.IsVariable()) {
    font.version = names[name_ids::kVersion];
    font.uniqueId = names[name_ids::kUniqueId];
  }
  reader.CloseFile();
}

}  // namespace

void ReadType1FontInfo(FontItem& font, FontSheetDetails& details) {
  details = FontSheetDetails{};
  if (font.IsRaster()) return;
  if (font.IsType1()) ReadType1Details(font, details);
  else if (font.HasFlag(font_flags::kSfnt)) ReadSfntDetails(font, details);
}

CFontSheetView::CFontSheetView(int zoom) : CPreviewFrame(zoom) {}

void CFontSheetView::SetFont(const FontItem& font) {
  font_.CopyFrom(font);
  ReadType1FontInfo(font_, details_);
}

void CFontSheetView::RefreshPage(bool unbounded, bool invalidate) {
  metricsDirty_ = true;
  unboundedPage_ = unbounded;
  if (invalidate && m_hWnd) Invalidate();
}

void CFontSheetView::DrawPage(HDC dc) {
  if (metricsDirty_) {
    UpdatePageMetrics(-1);
    metricsDirty_ = false;
  }
  if (!unboundedPage_) {
    orv::ScopedPen pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT)));
    orv::ScopedSelectObject select(dc, pen.Get());
    ::Rectangle(dc, pageRect_.left, pageRect_.top, pageRect_.right, pageRect_.bottom);
  }
  DrawFontEntry(dc);
}

// A font that is not installed is drawn from its file, loaded privately; the cache keeps it
// loaded, and a print job keeps the cache from unloading anything while it runs.
void CFontSheetView::LoadFontForDrawing() const {
  if (font_.IsGdiOnly() || font_.IsRaster() || font_.IsInstalledExactly() || font_.IsUnreadable()) return;
  g_AppState.FontCache.Add(font_.GetFilePaths(), nullptr);
}
