#include "fonts/FontItem.h"

using namespace font_flags;

FontItem::FontItem() {
  enumOwner = this;
  logFont.lfCharSet = DEFAULT_CHARSET;
}

void FontItem::CopyFrom(const FontItem& source) {
  if (this == &source) return;
  flags = source.flags;
  displayName = source.displayName;
  names = source.names;
  postScriptName = source.postScriptName;
  uniqueId = source.uniqueId;
  version = source.version;
  collectionName = source.collectionName;
  folder = source.folder;
  fileRef = source.fileRef;
  fullPath = source.fullPath;
  pfbPath = source.pfbPath;
  memcpy(panose, source.panose, sizeof panose);
  familyClass = source.familyClass;
  namePlatformId = source.namePlatformId;
  nameEncodingId = source.nameEncodingId;
  memcpy(unicodeRange, source.unicodeRange, sizeof unicodeRange);
  displayHeight = source.displayHeight;
  numTables = source.numTables;
  os2Version = source.os2Version;
  lowerOpticalSize = source.lowerOpticalSize;
  upperOpticalSize = source.upperOpticalSize;
  instanceCount = source.instanceCount;
  instanceNumber = source.instanceNumber;
  instanceOffset = source.instanceOffset;
  instanceSize = source.instanceSize;
  axisCount = source.axisCount;
  fsSelection = source.fsSelection;
}

std::wstring FontItem::GetFilePaths() const {
  if (IsType1()) return fullPath + L"|" + pfbPath;
  return fullPath;
}

int FontItem::TypeIconIndexOf(uint32_t flags) {
  if (flags & kRaster) return font_icons::kRaster;
  if ((flags & 5) == kType1) return font_icons::kType1;
  if (flags & kCollectionFace) return font_icons::kCollection;
  if ((flags & kSfnt) && (flags & (kDsig | kCffOrType1))) return font_icons::kOpenType;
  return font_icons::kTrueType;
}

int FontItem::GetTypeIconIndex() const { return TypeIconIndexOf(flags); }

int FontItem::GetStatusOverlayIndex(bool showGroupInstalls) const {
  if (HasFlag(kUnreadable)) return font_icons::kOverlayUnreadable;
  if (HasFlag(kGdiOnly | kNamesakeGdiOnly)) return font_icons::kOverlayGdiOnly;
  if (HasFlag(kVariable)) return font_icons::kOverlayVariable;
  if (showGroupInstalls && HasFlag(kGroupInstalled)) return font_icons::kOverlayGroupInstalled;
  return font_icons::kOverlayNone;
}

std::wstring FontItem::BuildStyleName() const {
  static const std::wstring kRegular = L"Regular";
  std::wstring family;
  std::wstring style;
  const bool hasTypoFamily =
      !names.System(NameSlot::TypoFamily).empty() || !names.English(NameSlot::TypoFamily).empty();
  const bool hasTypoSubfamily =
      !names.System(NameSlot::TypoSubfamily).empty() || !names.English(NameSlot::TypoSubfamily).empty();
  NameSlot styleSlot = NameSlot::Subfamily;
  if (!hasTypoFamily) {
    family = names.SystemFirst(NameSlot::Family);
  } else {
    family = names.SystemFirst(NameSlot::TypoFamily);
    if (hasTypoSubfamily) styleSlot = NameSlot::TypoSubfamily;
  }
  if (!EqualsNoCase(names.English(styleSlot), kRegular)) style = names.SystemFirst(styleSlot);
  if (!style.empty()) family += L" " + style;
  return family;
}
