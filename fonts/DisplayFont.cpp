// The HFONT in which lists, samples, sheets and printouts draw a font record: its logical font,
// and the GDI enumeration that finds the face name belonging to the record's full name. Each
// enumeration is asked of GDI once while the fonts stay as they are (fonts/FaceLookups.h).
#include "fonts/FontItem.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "common/Seams.h"
#include "fonts/FaceLookups.h"
#include "fonts/InstalledFontRecords.h"
#include "framework/Handles.h"

using namespace font_flags;

namespace {

constexpr uint32_t kMatchFullName = 1;
constexpr size_t kFaceNameChars = LF_FACESIZE - 1;  // 31
constexpr size_t kEnumNameChars = 64;
constexpr LONG kBoldWeight = FW_BOLD;
constexpr DWORD kNtmUnderscore = 0x2;  // ntmFlags follow the OS/2 fsSelection bits
const wchar_t kEudcFaceName[] = L"EUDC";

// The screen DC of the enumeration running on this thread; the family callback enumerates each
// family's faces on it.
thread_local HDC t_enumDc = nullptr;

void CopyName(wchar_t* target, size_t capacity, const wchar_t* source, size_t maxChars) {
  const size_t n = std::min(std::min(wcslen(source), maxChars), capacity - 1);
  wmemcpy(target, source, n);
  target[n] = L'\0';
}

int CALLBACK FontFaceEnumProc(const LOGFONTW* logFont, const TEXTMETRICW* metrics, DWORD fontType, LPARAM param) {
  FontItem* item = reinterpret_cast<FontItem*>(param);
  if (item->enumMode != kMatchFullName) return 1;
  const auto* face = reinterpret_cast<const ENUMLOGFONTEXW*>(logFont);
  wchar_t fullName[LF_FULLFACESIZE + 1] = {};
  CopyName(fullName, LF_FULLFACESIZE + 1, face->elfFullName, LF_FULLFACESIZE);
  if (!EqualsNoCase(fullName, item->enumName)) return 1;
  // TrueType and OpenType faces come with the extended metrics; raster and vector faces with
  // plain text metrics only.
  item->enumMetrics = {};
  if (fontType & TRUETYPE_FONTTYPE)
    item->enumMetrics = *reinterpret_cast<const NEWTEXTMETRICEXW*>(metrics);
  else
    memcpy(&item->enumMetrics.ntmTm, metrics, sizeof(TEXTMETRICW));
  CopyName(item->enumName, sizeof item->enumName / sizeof item->enumName[0], logFont->lfFaceName, kFaceNameChars);
  item->enumFound = 1;
  return 0;
}

int CALLBACK FontFamilyEnumProc(const LOGFONTW* logFont, const TEXTMETRICW*, DWORD, LPARAM param) {
  FontItem* item = reinterpret_cast<FontItem*>(param);
  LOGFONTW family{};
  family.lfCharSet = logFont->lfCharSet;
  CopyName(family.lfFaceName, LF_FACESIZE, logFont->lfFaceName, kFaceNameChars);
  ::EnumFontFamiliesExW(t_enumDc, &family, FontFaceEnumProc, param, 0);
  return item->enumFound ? 0 : 1;
}

}  // namespace

void FontItem::ResetEnumScratch() {
  enumMode = 0;
  enumOwner = this;
  enumMetrics = {};
  enumFound = 0;
  wmemset(enumName, 0, sizeof enumName / sizeof enumName[0]);
  logFont = {};
  logFont.lfCharSet = DEFAULT_CHARSET;
}

void FontItem::EnumerateFamilies(uint32_t mode) {
  enumMode = mode;
  enumFound = 0;
  // Only a lookup by full name can find anything; what it found holds until the fonts change.
  const bool byFullName = mode == kMatchFullName;
  std::wstring key;
  FaceLookup face;
  uint64_t state = 0;
  if (byFullName) {
    key = FaceLookupKey(logFont, enumName);
    if (FindFaceLookup(key, face, state)) {
      if (face.found) {
        enumMetrics = face.metrics;
        CopyName(enumName, sizeof enumName / sizeof enumName[0], face.faceName.c_str(), kFaceNameChars);
        enumFound = 1;
      }
      return;
    }
  }
  orv::ScopedGetDC screen(nullptr);
  if (!screen) return;
  HDC outer = t_enumDc;
  t_enumDc = screen.Get();
  seams::EnumFontFamilies(screen.Get(), &logFont, FontFamilyEnumProc, reinterpret_cast<LPARAM>(this), 0);
  t_enumDc = outer;
  if (!byFullName) return;
  face.found = enumFound != 0;
  if (face.found) {
    face.metrics = enumMetrics;
    face.faceName = enumName;
  }
  RememberFaceLookup(key, std::move(face), state);
}

HFONT FontItem::CreateDisplayFont(int height) {
  if (HasFlag(kUnreadable)) return nullptr;
  displayHeight = height;
  ResetEnumScratch();
  logFont.lfHeight = height;
  const std::wstring& faceSource = (flags & 5) == kTrueTypeOutlines ? FullName() : postScriptName;
  CopyName(logFont.lfFaceName, LF_FACESIZE, faceSource.c_str(), kFaceNameChars);
  const bool overrides = HasFlag(kStyleOverride);
  if (overrides) {
    if (HasFlag(kBold)) logFont.lfWeight = kBoldWeight;
    if (HasFlag(kItalic)) logFont.lfItalic = 1;
    if (HasFlag(kUnderline)) logFont.lfUnderline = 1;
  }
  if (HasFlag(kRaster)) {
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfOutPrecision = OUT_RASTER_PRECIS;
    return ::CreateFontIndirectW(&logFont);
  }
  if (HasFlag(kSfnt)) {
    logFont.lfQuality = PROOF_QUALITY;
    logFont.lfOutPrecision = OUT_TT_PRECIS;
  }
  if (HasFlag(kEudc)) {
    CopyName(logFont.lfFaceName, LF_FACESIZE, kEudcFaceName, kFaceNameChars);
  } else {
    CopyName(enumName, sizeof enumName / sizeof enumName[0], faceSource.c_str(), kEnumNameChars);
    EnumerateFamilies(kMatchFullName);
    if (!enumFound && &faceSource == &postScriptName && !FullName().empty() &&
        !names.SystemFirst(NameSlot::Family).empty()) {
      // GDIs that know a CFF face by its full name rather than its PostScript name (Wine):
      // look for the full name in the record's own family.
      const LOGFONTW asked = logFont;
      CopyName(logFont.lfFaceName, LF_FACESIZE, names.SystemFirst(NameSlot::Family).c_str(), kFaceNameChars);
      CopyName(enumName, sizeof enumName / sizeof enumName[0], FullName().c_str(), kEnumNameChars);
      EnumerateFamilies(kMatchFullName);
      if (!enumFound) {
        logFont = asked;
        CopyName(enumName, sizeof enumName / sizeof enumName[0], faceSource.c_str(), kEnumNameChars);
      }
    }
    if (enumFound) {
      CopyName(logFont.lfFaceName, LF_FACESIZE, enumName, kFaceNameChars);
    } else {
      // A full name that is not a family name (a "Foo Bold" of family "Foo"): the installed
      // records of that English name say which faces to look for among all families, each full
      // name among them once (a variable font can give hundreds of instances one name).
      const LOGFONTW asked = logFont;
      const InstalledFontIndex& index = InstalledFonts();
      for (const size_t at : index.FullNamesOfEnglishName(faceSource)) {
        const FontItem* installed = index.Records()[at];
        ResetEnumScratch();
        logFont.lfHeight = height;
        CopyName(enumName, sizeof enumName / sizeof enumName[0], installed->FullName().c_str(), kEnumNameChars);
        EnumerateFamilies(kMatchFullName);
        if (enumFound) {
          CopyName(logFont.lfFaceName, LF_FACESIZE, enumName, kFaceNameChars);
          break;
        }
      }
      // Nothing found: the font is asked for as it was, not under an empty face name.
      if (!enumFound) logFont = asked;
    }
  }
  const NEWTEXTMETRICW& face = enumMetrics.ntmTm;
  if (overrides) {
    logFont.lfWeight = HasFlag(kBold) ? kBoldWeight : face.tmWeight;
    logFont.lfItalic = HasFlag(kItalic) ? 1 : face.tmItalic;
    logFont.lfUnderline = HasFlag(kUnderline) ? 1 : face.tmUnderlined;
  } else {
    if (face.ntmFlags & NTM_ITALIC) flags |= kItalic;
    if (face.ntmFlags & kNtmUnderscore) flags |= kUnderline;
    if (face.ntmFlags & NTM_BOLD) flags |= kBold;
    logFont.lfWeight = face.tmWeight;
    logFont.lfItalic = face.tmItalic;
    logFont.lfUnderline = face.tmUnderlined;
  }
  logFont.lfStrikeOut = face.tmStruckOut;
  return ::CreateFontIndirectW(&logFont);
}
