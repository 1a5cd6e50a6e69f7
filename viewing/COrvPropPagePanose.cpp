#include "viewing/COrvPropPagePanose.h"

#include <cwchar>

#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "viewing/PropertyPageHelpers.h"

namespace {

constexpr int kLastFamilyKind = 6;
constexpr int kFamilyKindNoFit = 1;
constexpr int kFirstLatinKind = 2;
constexpr int kValueNames = 16;
constexpr int kLastClass = 14;
constexpr int kLastSubclass = 15;

// The string of value names per digit (rows 1 to 9) and digit set (columns 0 to 4). The
// Latin Symbol set names digits 5 to 9 alike; strings past it close up.
constexpr UINT kSymbolAspect = IDS_PANOSE_SYMBOL_ASPECT;
constexpr UINT kValueStrings[9][5] = {
    {IDS_PANOSE_SERIF_STYLE, IDS_PANOSE_SERIF_STYLE + 1, IDS_PANOSE_SERIF_STYLE + 2, IDS_PANOSE_SERIF_STYLE + 3,
     IDS_PANOSE_SERIF_STYLE + 4},
    {IDS_PANOSE_WEIGHT, IDS_PANOSE_WEIGHT, IDS_PANOSE_WEIGHT, IDS_PANOSE_WEIGHT, IDS_PANOSE_WEIGHT},
    {IDS_PANOSE_PROPORTION, IDS_PANOSE_PROPORTION + 1, IDS_PANOSE_PROPORTION + 2, IDS_PANOSE_PROPORTION + 3,
     IDS_PANOSE_PROPORTION + 4},
    {IDS_PANOSE_CONTRAST, IDS_PANOSE_CONTRAST + 1, IDS_PANOSE_CONTRAST + 2, IDS_PANOSE_CONTRAST,
     IDS_PANOSE_CONTRAST + 3},
    {IDS_PANOSE_STROKE, IDS_PANOSE_STROKE + 1, IDS_PANOSE_STROKE + 2, kSymbolAspect, IDS_PANOSE_STROKE + 4},
    {IDS_PANOSE_ARM_STYLE, IDS_PANOSE_ARM_STYLE + 1, IDS_PANOSE_ARM_STYLE + 2, kSymbolAspect,
     IDS_PANOSE_ARM_STYLE + 3},
    {IDS_PANOSE_LETTERFORM, IDS_PANOSE_LETTERFORM + 1, IDS_PANOSE_LETTERFORM + 2, kSymbolAspect,
     IDS_PANOSE_LETTERFORM + 3},
    {IDS_PANOSE_MIDLINE, IDS_PANOSE_MIDLINE + 1, IDS_PANOSE_MIDLINE + 2, kSymbolAspect, IDS_PANOSE_MIDLINE + 3},
    {IDS_PANOSE_X_HEIGHT, IDS_PANOSE_X_HEIGHT + 1, IDS_PANOSE_X_HEIGHT + 2, kSymbolAspect, IDS_PANOSE_X_HEIGHT + 3},
};

std::wstring ValueName(UINT stringId, uint8_t value) {
  if (value < kValueNames) return FieldAt(LoadResString(stringId), value);
  wchar_t text[32] = {};
  std::swprintf(text, 32, L"??? (%d)", value);
  return text;
}

}  // namespace

COrvPropPagePanose::Texts COrvPropPagePanose::Describe(const uint8_t (&panose)[10], int16_t familyClass) {
  Texts texts;
  int kind = panose[0];
  if (kind > kLastFamilyKind) kind = 0;
  texts.kind = FieldAt(LoadResString(IDS_PANOSE_FAMILY_KINDS), kind);
  const int set = kind >= kFirstLatinKind ? kind - kFirstLatinKind : 0;
  if (kind == kFamilyKindNoFit) texts.kind = LoadResString(IDS_PROP_NO_FIT);
  const std::wstring titles = LoadResString(IDS_PANOSE_DIGIT_TITLES + set);
  for (int d = 0; d < 9; ++d) {
    texts.titles[d] = FieldAt(titles, d);
    texts.values[d] = ValueName(kValueStrings[d][set], panose[d + 1]);
  }
  const auto classWord = static_cast<uint16_t>(familyClass);
  const int cls = (classWord >> 8) < kLastClass ? (classWord >> 8) : kLastClass;
  const int subclass = (classWord & 0xFF) < kLastSubclass ? (classWord & 0xFF) : kLastSubclass;
  texts.familyClass = FieldAt(LoadResString(IDS_FAMILY_CLASSES), cls);
  texts.familySubclass = FieldAt(LoadResString(IDS_FAMILY_CLASSES + cls), subclass);
  return texts;
}

void COrvPropPagePanose::OnInitDialog() {
  const Texts texts = Describe(panose, familyClass);
  SetControlText(m_hWnd, IDC_PROP_PANOSE_KIND, texts.kind);
  for (int d = 0; d < 9; ++d) {
    SetControlText(m_hWnd, IDC_PROP_PANOSE_TITLE1 + d, texts.titles[d]);
    SetControlText(m_hWnd, IDC_PROP_PANOSE_VALUE1 + d, texts.values[d]);
  }
  SetControlText(m_hWnd, IDC_PROP_FAMILY_CLASS, texts.familyClass);
  SetControlText(m_hWnd, IDC_PROP_FAMILY_SUBCLASS, texts.familySubclass);
}
