#include "viewing/COrvFontPropertiesTT.h"

#include <algorithm>

#include "app/AppState.h"
#include "fonts/FontFileReader.h"
#include "framework/Handles.h"

namespace {

constexpr uint32_t kHeadBytes = 54;
constexpr uint32_t kHeadMagic = 0x5F0F3CF5;
constexpr uint32_t kOs2Bytes = 78;
constexpr uint32_t kOs2CodePageBytes = 8;
// maxp version 0.5 (fonts with CFF outlines) is six bytes long; numGlyphs is all it holds.
constexpr uint32_t kMaxpBytes = 6;
constexpr int kMetricsFontHeight = 10;

}  // namespace

COrvFontPropertiesTT::COrvFontPropertiesTT(FontFileReader& reader) : m_reader(&reader), m_pageFile(&reader) {
  m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP | PSH_NOCONTEXTHELP;
  AddPage(kLevelItem, m_pageFile);
  AddPage(kLevelItem, m_pageNames);
  AddPage(kLevelItem, m_pageVendor);
  AddPage(kLevelItem, m_pageDesc);
  AddPage(kLevelItem, m_pageVersion);
  AddPage(kLevelItem, m_pageCPCharMap);
  if (!reader.IsVariable()) AddPage(kLevelItem, m_pagePanose);
  SetTreeWidth(kTreeWidth);
  SetFocusPageOnTreeClick(false);
  SetTitle(reader.FullName().c_str());
  LoadFontTables();
}

void COrvFontPropertiesTT::LoadFontTables() {
  FontFileReader& font = *m_reader;
  if (font.IsCollectionFace() && !font.ReadCollectionFaceByName()) return;
  if (!font.OpenSfnt(0)) return;

  const ByteReader head = font.ReadTable("head", kHeadBytes);
  uint32_t magic = 0;
  if (head.Has(0, kHeadBytes) && head.U32(12, magic) && magic == kHeadMagic) {
    uint32_t revision = 0;
    (void)head.U32(4, revision);
    m_pageVersion.fontRevision = static_cast<int32_t>(revision);
    (void)head.U32(20, m_pageVersion.created[0]);
    (void)head.U32(24, m_pageVersion.created[1]);
    (void)head.U32(28, m_pageVersion.modified[0]);
    (void)head.U32(32, m_pageVersion.modified[1]);
  }

  std::wstring names[26];
  font.ReadAllNames(names);
  m_pageNames.fullName = names[4];
  m_pageNames.family = names[1];
  m_pageNames.subfamily = names[2];
  m_pageNames.uniqueId = names[3];
  m_pageNames.postScriptName = names[6];
  m_pageVendor.manufacturer = names[8];
  m_pageVendor.designer = names[9];
  m_pageVendor.vendorUrl = names[11];
  m_pageVendor.copyright = names[0];
  m_pageVendor.trademark = names[7];
  m_pageDesc.description = names[10];
  m_pageDesc.license = names[13];
  m_pageDesc.licenseUrl = names[14];
  m_pageVersion.version = names[5];
  m_pageCPCharMap.platformId = font.namePlatformId;
  m_pageCPCharMap.encodingId = font.nameEncodingId;
  if (font.IsVariable()) {
    // A named instance shows its own names, not those of the default instance.
    m_pageNames.family = font.names.SystemFirst(NameSlot::Family);
    m_pageNames.subfamily = font.names.SystemFirst(NameSlot::Subfamily);
    m_pageNames.fullName = font.names.SystemFirst(NameSlot::FullName);
    m_pageNames.uniqueId = font.uniqueId;
  }

  const ByteReader os2 = font.ReadTable("OS/2", kOs2Bytes + kOs2CodePageBytes);
  if (os2.Has(0, kOs2Bytes)) {
    (void)os2.U16(0, m_pageCPCharMap.os2Version);
    (void)os2.U16(8, m_pageVersion.fsType);
    (void)os2.I16(30, m_pagePanose.familyClass);
    (void)os2.Bytes(32, m_pageVersion.panose, sizeof(m_pageVersion.panose));
    std::copy(std::begin(m_pageVersion.panose), std::end(m_pageVersion.panose), m_pagePanose.panose);
    for (int i = 0; i < 4; ++i) (void)os2.U32(42 + 4 * i, m_pageCPCharMap.unicodeRange[i]);
    char vendor[4] = {};
    (void)os2.Bytes(58, vendor, sizeof(vendor));
    const int length = static_cast<int>(std::find(vendor, vendor + 4, '\0') - vendor);
    if (length > 0) {
      wchar_t text[4] = {};
      const int n = ::MultiByteToWideChar(CP_THREAD_ACP, 0, vendor, length, text, 4);
      m_pageVendor.vendorId.assign(text, n > 0 ? static_cast<size_t>(n) : 0);
    }
    if (m_pageCPCharMap.os2Version != 0 && os2.Has(kOs2Bytes, kOs2CodePageBytes)) {
      (void)os2.U32(kOs2Bytes, m_pageCPCharMap.codePageRange[0]);
      (void)os2.U32(kOs2Bytes + 4, m_pageCPCharMap.codePageRange[1]);
      m_pageVersion.os2Version = font.os2Version;
      m_pageVersion.lowerOpticalSize = font.lowerOpticalSize;
      m_pageVersion.upperOpticalSize = font.upperOpticalSize;
    }
  }

  const ByteReader maxp = font.ReadTable("maxp", kMaxpBytes);
  if (maxp.Has(0, kMaxpBytes)) (void)maxp.U16(4, m_pageVersion.numGlyphs);

  m_pageVersion.hasDsig = font.SeekToTable("DSIG");
  m_pageVersion.hasCff = font.SeekToTable("CFF ");
  m_pageVersion.hasSvg = font.SeekToTable("SVG ");
  m_pageVersion.hasFvar = font.SeekToTable("fvar");
  m_pageVersion.hasEbdt = font.SeekToTable("EBDT");
  m_pageVersion.verticalLayout = font.SupportsVerticalLayout();
  if (font.IsVariable()) m_pageVersion.instanceCount = font.instanceCount;
  font.CloseFile();

  // The face must be drawable for its metrics: a font that is not installed is loaded privately.
  if (!font.IsInstalled() && !font.IsUnreadable()) (void)g_AppState.FontCache.Add(font.GetFilePaths());
  orv::ScopedFont display(font.CreateDisplayFont(kMetricsFontHeight));
  orv::ScopedGetDC screen(nullptr);
  if (display && screen) {
    orv::ScopedSelectObject select(screen.Get(), display.Get());
    m_pageVersion.haveMetrics = ::GetTextMetricsW(screen.Get(), &m_pageVersion.metrics) != FALSE;
  }
}
