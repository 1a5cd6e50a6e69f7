#include "fonts/FontItem.h"

#include <gtest/gtest.h>

namespace {

FontItem WithFlags(uint32_t flags) {
  FontItem item;
  item.flags = flags;
  return item;
}

TEST(FontItem, FreshRecordDefaults) {
  FontItem item;
  EXPECT_EQ(item.displayHeight, -16);
  EXPECT_EQ(item.upperOpticalSize, 0xFFFF);
  EXPECT_EQ(item.lowerOpticalSize, 0);
  EXPECT_EQ(item.flags, 0u);
  EXPECT_EQ(item.GetTypeIconIndex(), 5);
  EXPECT_EQ(item.enumOwner, &item);
  EXPECT_EQ(item.logFont.lfCharSet, DEFAULT_CHARSET);
  EXPECT_FALSE(item.HasUnicodeRanges());
}

TEST(FontItem, TypeIconTable) {
  struct Case {
    uint32_t flags;
    int icon;
  } cases[] = {
      {0x8 | 0x1, 7},      // raster wins over everything
      {0x8 | 0x4, 7},
      {0x4, 6},            // Type 1
      {0x4 | 0x80, 6},
      {0x5 | 0x80, 3},     // collection face with CFF
      {0x1 | 0x80, 3},
      {0x5, 4},            // OpenType CFF without DSIG
      {0x3, 4},            // TrueType outlines with DSIG
      {0x1, 5},
      {0x0, 5},
      {0x10, 5},
      {0x2, 5},            // DSIG without sfnt
  };
  for (const Case& c : cases) EXPECT_EQ(WithFlags(c.flags).GetTypeIconIndex(), c.icon) << std::hex << c.flags;
}

TEST(FontItem, OverlayTable) {
  struct Case {
    uint32_t flags;
    bool groups;
    int overlay;
  } cases[] = {
      {0x80000 | 0x100, false, 1},   // unreadable beats variable
      {0x80000 | 0x10, false, 1},
      {0x10, false, 2},
      {0x20000, false, 2},
      {0x20000 | 0x100, false, 2},
      {0x100, false, 3},
      {0x100 | 0x10000, true, 3},
      {0x10000, true, 11},
      {0x10000, false, 0},
      {0x0, true, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WithFlags(c.flags).GetStatusOverlayIndex(c.groups), c.overlay) << std::hex << c.flags;
}

TEST(FontItem, AccessorTable) {
  EXPECT_TRUE(WithFlags(0x400).IsInstalledExactly());
  EXPECT_FALSE(WithFlags(0x400 | 0x100000).IsInstalledExactly());
  EXPECT_FALSE(WithFlags(0x400 | 0x80000).IsInstalledExactly());
  EXPECT_FALSE(WithFlags(0x400 | 0x200000).IsInstalledExactly());
  EXPECT_TRUE(WithFlags(0x400 | 0x4000).IsInstalledExactly());
  EXPECT_TRUE(WithFlags(0x400).IsInstalledFromOtherFile());
  EXPECT_FALSE(WithFlags(0x4400).IsInstalledFromOtherFile());
  EXPECT_TRUE(WithFlags(0x5).IsType(0x5));
  EXPECT_FALSE(WithFlags(0x5).IsType(0x1));
  EXPECT_TRUE(WithFlags(0x40000005).IsType(0xE5));  // only the type bits count
  for (uint32_t f : {0u, 0x1u, 0x80000u, 0xFFFFFFFFu}) EXPECT_TRUE(WithFlags(f).IsAnyType(0));
  EXPECT_TRUE(WithFlags(0x5).IsAnyType(0x4));
  EXPECT_FALSE(WithFlags(0x1).IsAnyType(0x8));
  EXPECT_FALSE(WithFlags(0x400).IsAnyType(0x400));  // not a type bit
  struct Single {
    bool (FontItem::*test)() const;
    uint32_t bit;
  } singles[] = {
      {&FontItem::IsInstalled, 0x400},   {&FontItem::IsInstalledFile, 0x4000}, {&FontItem::IsGdiOnly, 0x10},
      {&FontItem::IsRaster, 0x8},        {&FontItem::IsEudc, 0x20},            {&FontItem::IsSymbol, 0x40},
      {&FontItem::IsUnreadable, 0x80000}, {&FontItem::IsCollectionFace, 0x80}, {&FontItem::IsProtected, 0x8000},
      {&FontItem::IsVariable, 0x100},    {&FontItem::IsPerUser, 0x2000},
  };
  for (const Single& s : singles) {
    EXPECT_TRUE((WithFlags(s.bit).*s.test)()) << std::hex << s.bit;
    EXPECT_FALSE((WithFlags(~s.bit).*s.test)()) << std::hex << s.bit;
  }
}

TEST(FontItem, UnicodeRangesAnyWordNonZero) {
  FontItem item;
  // These words sum to 0 modulo 2^32, yet the font has ranges.
  item.unicodeRange[0] = 0x80000000;
  item.unicodeRange[1] = 0x80000000;
  EXPECT_TRUE(item.HasUnicodeRanges());
  item.unicodeRange[0] = item.unicodeRange[1] = 0;
  item.unicodeRange[3] = 1;
  EXPECT_TRUE(item.HasUnicodeRanges());
  item.unicodeRange[3] = 0;
  EXPECT_FALSE(item.HasUnicodeRanges());
}

TEST(FontItem, ResetInstallStatusClearsResolutionBits) {
  FontItem item = WithFlags(0xFFFFFFFF);
  item.ResetInstallStatus();
  EXPECT_EQ(item.flags, 0x3FCDBBFFu);
  EXPECT_FALSE(item.IsInstalled());
  EXPECT_FALSE(item.HasFlag(0x40000000 | 0x80000000 | 0x4000 | 0x20000 | 0x100000 | 0x200000));
  EXPECT_TRUE(item.HasFlag(0x2000));  // per-user install stays
}

TEST(FontItem, FilePaths) {
  FontItem item;
  item.fullPath = L"C:\\f\\a.pfm";
  item.flags = 0x4;
  EXPECT_EQ(item.GetFilePaths(), L"C:\\f\\a.pfm|");
  item.pfbPath = L"C:\\f\\a.pfb";
  EXPECT_EQ(item.GetFilePaths(), L"C:\\f\\a.pfm|C:\\f\\a.pfb");
  item.flags = 0x5;
  EXPECT_EQ(item.GetFilePaths(), L"C:\\f\\a.pfm");
}

TEST(FontItem, FullNamePrefersSystemLanguage) {
  FontItem item;
  item.names.English(NameSlot::FullName) = L"English";
  EXPECT_EQ(item.FullName(), L"English");
  item.names.System(NameSlot::FullName) = L"System";
  EXPECT_EQ(item.FullName(), L"System");
}

TEST(FontItem, CopyFromLeavesScratchCopyConstructTakesAll) {
  FontItem source;
  source.flags = 0x40000105;
  source.displayName = L"Foo Bold";
  source.names.English(NameSlot::Family) = L"Foo";
  source.names.System(NameSlot::WwsSubfamily) = L"Fett";
  source.postScriptName = L"Foo-Bold";
  source.version = L"1.0";
  source.uniqueId = L"u";
  source.collectionName = L"A & B";
  source.folder = L"C:\\f";
  source.fileRef = L"foo.ttf";
  source.fullPath = L"C:\\f\\foo.ttf";
  source.pfbPath = L"p";
  source.panose[9] = 7;
  source.familyClass = -3;
  source.namePlatformId = 3;
  source.nameEncodingId = 1;
  source.unicodeRange[2] = 9;
  source.fsSelection = 0x40;
  source.displayHeight = -20;
  source.numTables = 12;
  source.os2Version = 5;
  source.lowerOpticalSize = 6;
  source.upperOpticalSize = 72;
  source.instanceCount = 3;
  source.instanceNumber = 2;
  source.instanceOffset = 400;
  source.instanceSize = 14;
  source.axisCount = 2;
  source.enumMode = 1;
  source.enumFound = 1;
  wcscpy(source.enumName, L"Face");
  source.logFont.lfHeight = -33;
  wcscpy(source.logFont.lfFaceName, L"Face");

  FontItem target;
  target.logFont.lfHeight = -11;
  target.CopyFrom(source);
  EXPECT_EQ(target.logFont.lfHeight, -11);
  EXPECT_EQ(target.enumMode, 0u);
  EXPECT_EQ(target.enumName[0], L'\0');
  EXPECT_EQ(target.enumOwner, &target);

  FontItem copy = FontItem::CopyConstruct(source);
  EXPECT_EQ(copy.logFont.lfHeight, -33);
  EXPECT_STREQ(copy.enumName, L"Face");
  EXPECT_EQ(copy.enumMode, 1u);

  for (const FontItem* item : {&target, &copy}) {
    EXPECT_EQ(item->flags, source.flags);
    EXPECT_EQ(item->displayName, source.displayName);
    EXPECT_EQ(item->names, source.names);
    EXPECT_EQ(item->postScriptName, source.postScriptName);
    EXPECT_EQ(item->version, source.version);
    EXPECT_EQ(item->uniqueId, source.uniqueId);
    EXPECT_EQ(item->collectionName, source.collectionName);
    EXPECT_EQ(item->folder, source.folder);
    EXPECT_EQ(item->fileRef, source.fileRef);
    EXPECT_EQ(item->fullPath, source.fullPath);
    EXPECT_EQ(item->pfbPath, source.pfbPath);
    EXPECT_EQ(memcmp(item->panose, source.panose, 10), 0);
    EXPECT_EQ(item->familyClass, source.familyClass);
    EXPECT_EQ(item->namePlatformId, source.namePlatformId);
    EXPECT_EQ(item->nameEncodingId, source.nameEncodingId);
    EXPECT_EQ(item->unicodeRange[2], 9u);
    EXPECT_EQ(item->fsSelection, source.fsSelection);
    EXPECT_EQ(item->displayHeight, source.displayHeight);
    EXPECT_EQ(item->numTables, source.numTables);
    EXPECT_EQ(item->os2Version, source.os2Version);
    EXPECT_EQ(item->lowerOpticalSize, source.lowerOpticalSize);
    EXPECT_EQ(item->upperOpticalSize, source.upperOpticalSize);
    EXPECT_EQ(item->instanceCount, source.instanceCount);
    EXPECT_EQ(item->instanceNumber, source.instanceNumber);
    EXPECT_EQ(item->instanceOffset, source.instanceOffset);
    EXPECT_EQ(item->instanceSize, source.instanceSize);
    EXPECT_EQ(item->axisCount, source.axisCount);
  }
}

TEST(FontItem, StyleNameTable) {
  struct Case {
    const wchar_t* family;
    const wchar_t* subfamily;
    const wchar_t* typoFamily;
    const wchar_t* typoSubfamily;
    const wchar_t* expected;
  } cases[] = {
      {L"Foo", L"Regular", L"", L"", L"Foo"},
      {L"Foo", L"REGULAR", L"", L"", L"Foo"},
      {L"Foo", L"Bold", L"", L"", L"Foo Bold"},
      {L"Foo Light", L"Regular", L"Foo", L"Light", L"Foo Light"},
      {L"Foo Light", L"Regular", L"Foo", L"regular", L"Foo"},
      {L"Foo Light", L"Italic", L"Foo", L"", L"Foo Italic"},
      {L"Foo", L"", L"", L"", L"Foo"},
  };
  for (const Case& c : cases) {
    FontItem item;
    item.names.English(NameSlot::Family) = c.family;
    item.names.English(NameSlot::Subfamily) = c.subfamily;
    item.names.English(NameSlot::TypoFamily) = c.typoFamily;
    item.names.English(NameSlot::TypoSubfamily) = c.typoSubfamily;
    EXPECT_EQ(item.BuildStyleName(), c.expected) << c.family << L"/" << c.subfamily;
  }
  // System-language strings come first; "Regular" is judged on the English one.
  FontItem item;
  item.names.English(NameSlot::Family) = L"Foo";
  item.names.English(NameSlot::Subfamily) = L"Bold";
  item.names.System(NameSlot::Family) = L"Fu";
  item.names.System(NameSlot::Subfamily) = L"Fett";
  EXPECT_EQ(item.BuildStyleName(), L"Fu Fett");
}

}  // namespace
