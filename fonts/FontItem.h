// The one record that describes a font: one face of a font file, one face of a collection, one
// named instance of a variable font, or an installed font known only from the registry or GDI.
// A plain value: the file readers fill it, the lists keep a copy per row, every subsystem reads
// its fields and flags. Not thread-safe by itself; whoever shares a record across threads
// (the lists' detail reader) keeps the threads apart.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

#include "common/StringHelpers.h"
#include "fonts/FontNames.h"

class InstalledFontIndex;

// Bits of `FontItem::flags`. The low five bits form the font's type.
namespace font_flags {
constexpr uint32_t kSfnt = 0x1;
constexpr uint32_t kDsig = 0x2;
constexpr uint32_t kCffOrType1 = 0x4;  // with kSfnt: CFF outlines; without: a Type 1 font
constexpr uint32_t kRaster = 0x8;
constexpr uint32_t kGdiOnly = 0x10;
constexpr uint32_t kTypeMask = 0x1F;
constexpr uint32_t kEudc = 0x20;
constexpr uint32_t kSymbol = 0x40;
constexpr uint32_t kCollectionFace = 0x80;
constexpr uint32_t kVariable = 0x100;
constexpr uint32_t kPfbInParent = 0x200;
constexpr uint32_t kInstalled = 0x400;
constexpr uint32_t kInSystemFonts = 0x800;
constexpr uint32_t kInUserFonts = 0x1000;
constexpr uint32_t kPerUser = 0x2000;
constexpr uint32_t kInstalledFile = 0x4000;
constexpr uint32_t kProtected = 0x8000;
constexpr uint32_t kGroupInstalled = 0x10000;
constexpr uint32_t kNamesakeGdiOnly = 0x20000;
constexpr uint32_t kReserved40000 = 0x40000;
constexpr uint32_t kUnreadable = 0x80000;
constexpr uint32_t kOtherVersion = 0x100000;
constexpr uint32_t kOtherType = 0x200000;
constexpr uint32_t kBold = 0x1000000;
constexpr uint32_t kItalic = 0x2000000;
constexpr uint32_t kUnderline = 0x4000000;
constexpr uint32_t kStyleOverride = 0x8000000;
constexpr uint32_t kRead = 0x40000000;
constexpr uint32_t kResolved = 0x80000000;

// Type values of (flags & 5).
constexpr uint32_t kTrueTypeOutlines = 0x1;
constexpr uint32_t kOpenTypeCff = 0x5;
constexpr uint32_t kType1 = 0x4;
}  // namespace font_flags

// Image indices in the shared image list of font types.
namespace font_icons {
constexpr int kCollection = 3;
constexpr int kOpenType = 4;   // sfnt with DSIG or CFF
constexpr int kTrueType = 5;
constexpr int kType1 = 6;
constexpr int kRaster = 7;
constexpr int kOverlayNone = 0;
constexpr int kOverlayUnreadable = 1;
constexpr int kOverlayGdiOnly = 2;
constexpr int kOverlayVariable = 3;
constexpr int kOverlayGroupInstalled = 11;
}  // namespace font_icons

constexpr int kDefaultDisplayHeight = -16;

class FontItem {
public:
  FontItem();
  FontItem(const FontItem& other) = default;  // every field: see CopyConstruct
  FontItem& operator=(const FontItem& other) = default;

  // A new record equal to `source` in every field, the enumeration scratch and logFont too.
  static FontItem CopyConstruct(const FontItem& source) { return FontItem(source); }
  // Every field of `source` except the enumeration scratch area and logFont.
  void CopyFrom(const FontItem& source);

  bool HasFlag(uint32_t mask) const { return (flags & mask) != 0; }
  bool IsType(uint32_t type) const { return (flags & font_flags::kTypeMask) == (type & font_flags::kTypeMask); }
  bool IsAnyType(uint32_t mask) const { return mask == 0 || (mask & flags & font_flags::kTypeMask) != 0; }
  bool IsInstalled() const { return HasFlag(font_flags::kInstalled); }
  bool IsInstalledFromOtherFile() const { return (flags & 0x4400) == 0x400; }
  bool IsInstalledExactly() const { return (flags & 0x380400) == 0x400; }
  bool IsInstalledFile() const { return HasFlag(font_flags::kInstalledFile); }
  bool IsGdiOnly() const { return HasFlag(font_flags::kGdiOnly); }
  bool IsRaster() const { return HasFlag(font_flags::kRaster); }
  bool IsEudc() const { return HasFlag(font_flags::kEudc); }
  bool IsSymbol() const { return HasFlag(font_flags::kSymbol); }
  bool IsUnreadable() const { return HasFlag(font_flags::kUnreadable); }
  bool IsCollectionFace() const { return HasFlag(font_flags::kCollectionFace); }
  bool IsProtected() const { return HasFlag(font_flags::kProtected); }
  bool IsVariable() const { return HasFlag(font_flags::kVariable); }
  bool IsPerUser() const { return HasFlag(font_flags::kPerUser); }
  bool IsType1() const { return (flags & 5) == font_flags::kType1; }
  // Any of the four OS/2 range words non-zero. (A sum of the words could wrap to zero.)
  bool HasUnicodeRanges() const {
    return (unicodeRange[0] | unicodeRange[1] | unicodeRange[2] | unicodeRange[3]) != 0;
  }
  // Takes the record back to "listed" so that the next load reads and resolves it again.
  void ResetInstallStatus() { flags &= 0x3FCDBBFF; }

  // The system-language full name when not empty, else the English one.
  const std::wstring& FullName() const { return names.SystemFirst(NameSlot::FullName); }
  // fullPath; for a Type 1 item fullPath + "|" + pfbPath.
  std::wstring GetFilePaths() const;
  int GetTypeIconIndex() const;
  // The type image of a flags word: raster, Type 1, collection, OpenType (DSIG or CFF), TrueType.
  static int TypeIconIndexOf(uint32_t flags);
  int GetStatusOverlayIndex(bool showGroupInstalls) const;
  // The display name from the names block: family, then " " and the style unless Regular.
  std::wstring BuildStyleName() const;

  // Installed status (InstallStatus.cpp). Sets 0x400, 0x2000, 0x4000, 0x8000, 0x20000,
  // 0x100000 and 0x200000 by comparing the record with the installed fonts, in their order;
  // the first form resolves against the published installed list (`InstalledFonts()`), the
  // index form looks only at the records of the same names, the vector form walks them all.
  void ResolveInstallStatus();
  void ResolveInstallStatus(const InstalledFontIndex& index);
  void ResolveInstallStatus(const std::vector<const FontItem*>& installed);
  // The type comparison with one installed namesake whose flags are installedFlags; true when
  // the record counts as installed through it.
  bool MergeInstalledType(uint32_t installedFlags);
  // Sets 0x10000 when the FontsInstalled marker of this font counts a group install; true when
  // the marker value was found.
  bool ReadInstalledMarker();
  // The name of this font's FontsInstalled value: kind prefix ("1|" Type 1, "0|" raster, "2|"
  // other) and the full name.
  std::wstring InstalledMarkerName() const;

  // Drawing (DisplayFont.cpp). The HFONT in the record's own face at this height, or null for
  // an unreadable record; the caller owns the font. A font that is not installed must have been
  // loaded privately first. Uses the enumeration scratch area: one thread per record at a time.
  HFONT CreateDisplayFont(int height);
  // EnumFontFamiliesExW over the screen with logFont; mode 1 looks for the face whose full name
  // is enumName and, when found, leaves its metrics and GDI face name in the scratch area.
  void EnumerateFamilies(uint32_t mode);
  // Zeroes the scratch area and logFont (lfCharSet DEFAULT_CHARSET).
  void ResetEnumScratch();
  // The writing systems the OS/2 Unicode-range bits cover, joined by separator (ScriptNames.cpp).
  // maxCount -1 means 4095; past maxCount names the list ends with "( … )". Type 1 records give
  // false and leave out untouched; a record without ranges gives the "no ranges" text and false.
  bool GetScriptNames(std::wstring& out, const std::wstring& separator, int maxCount) const;

private:
  // The resolution walk over the installed records at these positions (ascending).
  void ResolveAt(const std::vector<const FontItem*>& installed, const std::vector<size_t>& positions);

public:
  // Scratch area of the display-font lookup (GDI enumeration by full name).
  uint32_t enumMode = 0;
  FontItem* enumOwner = nullptr;
  NEWTEXTMETRICEXW enumMetrics{};
  uint32_t enumFound = 0;
  wchar_t enumName[65]{};
  LOGFONTW logFont{};

  uint32_t flags = 0;
  std::wstring displayName;
  std::wstring folder;
  FontNames names;
  std::wstring postScriptName;
  std::wstring version;
  std::wstring uniqueId;
  std::wstring collectionName;
  std::wstring fileRef;
  std::wstring fullPath;
  std::wstring pfbPath;
  uint8_t panose[10]{};
  int16_t familyClass = 0;
  uint16_t namePlatformId = 0;
  uint16_t nameEncodingId = 0;
  uint32_t unicodeRange[4]{};
  uint16_t fsSelection = 0;
  int32_t displayHeight = kDefaultDisplayHeight;
  uint16_t numTables = 0;
  uint16_t os2Version = 0;
  uint16_t lowerOpticalSize = 0;
  uint16_t upperOpticalSize = 0xFFFF;
  uint16_t instanceCount = 0;
  uint16_t instanceNumber = 0;
  uint32_t instanceOffset = 0;
  uint16_t instanceSize = 0;
  uint16_t axisCount = 0;
};

