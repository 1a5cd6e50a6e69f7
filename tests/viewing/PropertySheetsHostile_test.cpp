// The property sheets over damaged fonts: a short or missing name, OS/2, head or maxp table
// leaves its own values empty, never garbage; every hostile test font opens its sheet, all
// pages shown, without a crash.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "app/CTreePropertySheet.h"
#include "fonts/FontFileReader.h"
#include "fonts/FontFileWalk.h"
#include "viewing/COrvFontPropertiesTT.h"
#include "viewing/FontPropertySheets.h"
#include "tests/support/HostileFonts.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using namespace testing_support;

namespace {

Bytes Maxp(uint16_t glyphs) {
  Bytes b;
  PutU32(b, 0x00005000);
  PutU16(b, glyphs);
  return b;
}

Bytes Names() {
  auto records = WindowsNames(L"Foo", L"Bold", L"Foo Bold");
  records.push_back({3, 1, 0x409, 11, L"http://example.org"});
  records.push_back({3, 1, 0x409, 5, L"Version 1.0"});
  return BuildNameTable(records);
}

Bytes Head() {
  Bytes b = BuildHead();
  SetU32(b, 4, 0x00018000);  // fontRevision 1.5
  return b;
}

// A font of these tables with `tag` cut to `length` bytes, or left out when length is -1.
Bytes FontWith(const std::string& tag, int length) {
  std::vector<std::pair<std::string, Bytes>> tables = {
      {"OS/2", BuildOs2(5, 6, 48)}, {"head", Head()}, {"maxp", Maxp(42)}, {"name", Names()}};
  for (auto it = tables.begin(); it != tables.end(); ++it) {
    if (it->first != tag) continue;
    if (length < 0) {
      tables.erase(it);
    } else {
      it->second.resize(static_cast<size_t>(length));
    }
    break;
  }
  return BuildSfnt(tables);
}

struct Loaded {
  bool read = false;
  std::unique_ptr<FontFileReader> reader;
  std::unique_ptr<COrvFontPropertiesTT> sheet;
};

Loaded Load(const ScratchDir& dir, const Bytes& bytes) {
  WriteFile(dir.File(L"t.ttf"), bytes);
  Loaded out;
  out.reader = std::make_unique<FontFileReader>();
  out.reader->folder = dir.Path();
  out.reader->fileRef = L"t.ttf";
  out.read = out.reader->ReadFontFile();
  out.sheet = std::make_unique<COrvFontPropertiesTT>(*out.reader);
  return out;
}

TEST(PropertySheetsHostile, ShortOrMissingTablesLeaveTheirOwnValuesEmpty) {
  ScratchDir dir;
  {
    const Loaded whole = Load(dir, FontWith("", 0));
    ASSERT_TRUE(whole.read);
    EXPECT_EQ(whole.sheet->m_pageVersion.numGlyphs, 42) << "a six-byte maxp (CFF fonts) has the glyph count";
    EXPECT_EQ(whole.sheet->m_pageVersion.fontRevision, 0x00018000);
    EXPECT_EQ(whole.sheet->m_pageNames.fullName, L"Foo Bold");
    EXPECT_EQ(whole.sheet->m_pageCPCharMap.unicodeRange[0], 0x11u);
    EXPECT_EQ(whole.sheet->m_pageVendor.vendorUrl, L"http://example.org");
  }
  struct Case {
    const char* tag;
    int length;
  } cases[] = {{"maxp", 5}, {"maxp", -1}, {"OS/2", 77}, {"OS/2", -1}, {"name", 5}, {"name", -1}};
  for (const Case& c : cases) {
    const Loaded l = Load(dir, FontWith(c.tag, c.length));
    const std::string what = std::string(c.tag) + " " + std::to_string(c.length);
    const COrvFontPropertiesTT& s = *l.sheet;
    const bool maxp = std::string(c.tag) == "maxp", os2 = std::string(c.tag) == "OS/2", name = !maxp && !os2;
    EXPECT_EQ(s.m_pageVersion.numGlyphs, maxp ? 0 : 42) << what;
    EXPECT_EQ(s.m_pageCPCharMap.unicodeRange[0], os2 ? 0u : 0x11u) << what;
    EXPECT_EQ(s.m_pageCPCharMap.os2Version, os2 ? 0 : 5) << what;
    EXPECT_EQ(s.m_pagePanose.panose[0], os2 ? 0 : 1) << what;
    EXPECT_EQ(s.m_pageNames.family.empty(), name) << what;
    EXPECT_EQ(s.m_pageVendor.vendorUrl.empty(), name) << what;
    EXPECT_EQ(s.m_pageVersion.fontRevision, 0x00018000) << what << ": head is untouched";
  }
  // OS/2 version 1 with its code-page ranges cut off: the ranges and optical sizes stay 0.
  Bytes os2 = BuildOs2(1);
  os2.resize(80);
  const Loaded shortRanges =
      Load(dir, BuildSfnt({{"OS/2", os2}, {"head", Head()}, {"maxp", Maxp(1)}, {"name", Names()}}));
  EXPECT_EQ(shortRanges.sheet->m_pageCPCharMap.os2Version, 1);
  EXPECT_EQ(shortRanges.sheet->m_pageCPCharMap.codePageRange[0], 0u);
  EXPECT_EQ(shortRanges.sheet->m_pageVersion.os2Version, 0);
  // A head the reader refuses (cut, or a wrong magic number): nothing but the File page.
  for (int headLength : {53, 20}) {
    const Loaded noHead = Load(dir, FontWith("head", headLength));
    EXPECT_TRUE(noHead.sheet->m_pageNames.fullName.empty());
    EXPECT_EQ(noHead.sheet->m_pageVersion.numGlyphs, 0);
  }
}

int g_sheetsRun = 0;

// Runs the sheet of every record of the damaged file, showing each of its pages.
void OpenEverySheet(const ScratchDir& dir, const wchar_t* fileName) {
  ForEachFontItem(dir.Path(), fileName, [&](const FontItem& record) {
    if (!record.HasFlag(font_flags::kSfnt)) return;
    HWND sheet = nullptr;
    ModalScript::Run({[&] {
                       sheet = TopDialogOfThread();
                       if (!sheet || !::GetDlgItem(sheet, CTreePropertySheet::kPageTreeId)) return false;
                       const int pages = static_cast<int>(::SendDlgItemMessageW(sheet, CTreePropertySheet::kPageTreeId,
                                                                                TVM_GETCOUNT, 0, 0));
                       for (int i = 0; i < pages; ++i) ::SendMessageW(sheet, PSM_SETCURSEL, i, 0);
                       ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                       ++g_sheetsRun;
                       return true;
                     }},
                     [&] { EXPECT_TRUE(ShowFontProperties(record, nullptr)); });
  });
}

TEST(PropertySheetsHostile, EveryDamagedFontOpensItsSheet) {
  ScratchDir dir;
  std::mt19937 random(1604);
  size_t loaded = 0;
  g_sheetsRun = 0;
  for (const HostileSource& source : HostileSources()) {
    const bool collection = source.bytes.compare(0, 4, "ttcf") == 0;
    const uint32_t face = collection ? GetU32(source.bytes, 12) : 0;
    std::vector<Bytes> damaged;
    for (const TableEntry& t : ReadDirectory(source.bytes, face)) {
      for (size_t cut : {size_t{t.offset}, size_t{t.offset} + t.length / 2, size_t{t.offset} + t.length - 1})
        if (cut <= source.bytes.size()) damaged.push_back(source.bytes.substr(0, cut));
      for (uint32_t v : {0u, 0xFFFFFFFFu, static_cast<uint32_t>(source.bytes.size())}) {
        Bytes b = source.bytes;
        SetU32(b, t.recordOffset + 8, v);
        damaged.push_back(b);
        Bytes c = source.bytes;
        SetU32(c, t.recordOffset + 12, v);
        damaged.push_back(c);
      }
    }
    for (int i = 0; i < 20; ++i) damaged.push_back(source.bytes.substr(0, random() % source.bytes.size()));
    for (size_t i = 0; i < damaged.size(); ++i) {
      WriteFile(dir.File(source.fileName), damaged[i]);
      // The loader over every record; the running sheet over the table cuts of the plain font.
      ForEachFontItem(dir.Path(), source.fileName, [&](const FontItem& record) {
        FontFileReader reader;
        reader.CopyFrom(record);
        const COrvFontPropertiesTT sheet(reader);
        ++loaded;
      });
      if (std::string(source.label) == "sfnt" && i % 5 == 0) OpenEverySheet(dir, source.fileName);
    }
  }
  std::printf("%zu damaged records loaded, %d sheets run\n", loaded, g_sheetsRun);
  EXPECT_GT(g_sheetsRun, 5);
}

}  // namespace
