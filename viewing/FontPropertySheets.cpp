#include "viewing/FontPropertySheets.h"

#include "fonts/FontFileReader.h"
#include "viewing/CFontPropertiesT1.h"
#include "viewing/COrvFontPropertiesTT.h"

bool ShowFontProperties(const FontItem& record, HWND owner) {
  if (record.IsGdiOnly()) return false;
  FontFileReader reader;
  reader.CopyFrom(record);
  if (reader.fullPath.empty()) reader.ResolveFullPath();
  if (record.HasFlag(font_flags::kSfnt)) {
    COrvFontPropertiesTT sheet(reader);
    sheet.DoModal(owner);
    return true;
  }
  if (record.IsType1()) {
    CFontPropertiesT1 sheet(reader);
    sheet.DoModal(owner);
    return true;
  }
  return false;
}
