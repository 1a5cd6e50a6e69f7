// The font property sheets against what fontTools reads from the same files
// (data/golden/property_pages.jsonl, written by data/make_property_goldens.py): the values the
// loader gives the pages, and the texts the pages show once the sheet runs under Wine, with a
// picture of each sheet's first page.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/CTreePropertySheet.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/FontFileReader.h"
#include "fonts/FontFileWalk.h"
#include "viewing/COrvFontPropertiesTT.h"
#include "viewing/FontPropertySheets.h"
#include "viewing/PropertyPageHelpers.h"
#include "viewing/UnicodeBlockTable.h"
#include "tests/support/ModalScript.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

using Golden = std::map<std::string, std::wstring>;

// One flat JSON object whose values are all strings.
Golden ParseFlatObject(const std::string& line) {
  Golden out;
  size_t i = 0;
  auto readString = [&](std::wstring& s) {
    i = line.find('"', i) + 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
      if (line[i] != '\\') {
        s += static_cast<wchar_t>(static_cast<unsigned char>(line[i]));
        continue;
      }
      const char e = line[++i];
      switch (e) {
        case 'n': s += L'\n'; break;
        case 'r': s += L'\r'; break;
        case 't': s += L'\t'; break;
        case 'u': s += static_cast<wchar_t>(std::stoul(line.substr(i + 1, 4), nullptr, 16)); i += 4; break;
        default: s += static_cast<wchar_t>(e);
      }
    }
    ++i;
  };
  while (line.find('"', i) != std::string::npos) {
    std::wstring key, value;
    readString(key);
    readString(value);
    out[Narrow(key)] = value;
  }
  return out;
}

std::map<std::string, Golden> Goldens() {
  std::map<std::string, Golden> out;
  std::istringstream in(ReadFileBytes(SourceDir() + L"\\tests\\viewing\\data\\golden\\property_pages.jsonl"));
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) {
      Golden g = ParseFlatObject(line);
      out[Narrow(g["label"])] = g;
    }
  return out;
}

struct SfntCase {
  const char* label;
  const wchar_t* folder;
  const wchar_t* file;
  size_t record;  // which record of the file: collection face or named instance
};

const SfntCase kSfntCases[] = {
    {"DejaVuSans", L"Z:\\usr\\share\\fonts\\truetype\\dejavu", L"DejaVuSans.ttf", 0},
    {"CantarellBold", L"Z:\\usr\\share\\fonts\\opentype\\cantarell", L"Cantarell-Bold.otf", 0},
    {"NotoSansCJKFace1", L"Z:\\usr\\share\\fonts\\opentype\\noto", L"NotoSansCJK-Regular.ttc", 1},
    {"OrvelVarInstance1", nullptr, L"OrvelVarPlain.ttf", 1},
};

std::wstring FolderOfCase(const SfntCase& c) {
  return c.folder ? std::wstring(c.folder) : SourceDir() + L"\\tests\\fonts\\data";
}

bool RecordOf(const std::wstring& folder, const std::wstring& file, size_t index, FontItem& out) {
  size_t n = 0;
  bool found = false;
  ForEachFontItem(folder, file, [&](const FontItem& item) {
    if (n++ == index) {
      out = item;
      found = true;
    }
  });
  return found;
}

std::wstring Hex(uint32_t v, int digits = 8) {
  wchar_t text[16] = {};
  swprintf(text, 16, L"%0*x", digits, v);
  return text;
}

std::wstring Flag(bool b) { return b ? L"true" : L"false"; }

std::wstring Joined(const std::vector<std::wstring>& parts, const wchar_t* separator) {
  std::wstring out;
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? separator : L"") + parts[i];
  return out;
}

// Everything the loader hands the pages, in the golden file's terms.
Golden LoadedValues(const COrvFontPropertiesTT& sheet) {
  const auto& n = sheet.m_pageNames;
  const auto& v = sheet.m_pageVersion;
  const auto& c = sheet.m_pageCPCharMap;
  std::wstring panose;
  for (uint8_t b : v.panose) panose += Hex(b, 2);
  UnicodeBlockTable blocks;
  EXPECT_TRUE(blocks.Load());
  auto date = [](const uint32_t (&d)[2]) { return std::to_wstring((uint64_t{d[0]} << 32) | d[1]); };
  return {
      {"fullName", n.fullName}, {"family", n.family}, {"subfamily", n.subfamily}, {"uniqueId", n.uniqueId},
      {"postScriptName", n.postScriptName}, {"version", v.version},
      {"manufacturer", sheet.m_pageVendor.manufacturer}, {"designer", sheet.m_pageVendor.designer},
      {"vendorUrl", sheet.m_pageVendor.vendorUrl}, {"copyright", sheet.m_pageVendor.copyright},
      {"trademark", sheet.m_pageVendor.trademark}, {"description", sheet.m_pageDesc.description},
      {"license", sheet.m_pageDesc.license}, {"licenseUrl", sheet.m_pageDesc.licenseUrl},
      {"vendorId", sheet.m_pageVendor.vendorId}, {"fontRevision", std::to_wstring(v.fontRevision)},
      {"revisionText", COrvPropPageVersion::RevisionText(v.fontRevision)}, {"created", date(v.created)},
      {"modified", date(v.modified)}, {"numGlyphs", std::to_wstring(v.numGlyphs)}, {"dsig", Flag(v.hasDsig)},
      {"cff", Flag(v.hasCff)}, {"vertical", Flag(v.verticalLayout)}, {"ebdt", Flag(v.hasEbdt)},
      {"svg", Flag(v.hasSvg)}, {"fvar", Flag(v.hasFvar)}, {"panose", panose}, {"fsType", std::to_wstring(v.fsType)},
      {"os2Version", std::to_wstring(c.os2Version)}, {"familyClass", std::to_wstring(sheet.m_pagePanose.familyClass)},
      {"unicodeRange", Hex(c.unicodeRange[0]) + L" " + Hex(c.unicodeRange[1]) + L" " + Hex(c.unicodeRange[2]) + L" " +
                           Hex(c.unicodeRange[3])},
      {"codePageRange", Hex(c.codePageRange[0]) + L" " + Hex(c.codePageRange[1])},
      {"platformId", std::to_wstring(c.platformId)}, {"encodingId", std::to_wstring(c.encodingId)},
      {"rangeNames", Joined(COrvPropPageCPCharMap::RangeNames(c.unicodeRange, blocks), L"|")},
      {"instanceCount", std::to_wstring(v.instanceCount)},
  };
}

TEST(FontPropertiesGolden, OnlySfntAndType1FontsHaveASheet) {
  FontItem record;
  for (uint32_t flags : {font_flags::kGdiOnly | font_flags::kSfnt, font_flags::kRaster, font_flags::kGdiOnly,
                         font_flags::kEudc}) {
    record.flags = flags;
    EXPECT_FALSE(ShowFontProperties(record, nullptr)) << std::hex << flags;
  }
}

TEST(FontPropertiesGolden, LoadedValuesMatchFontTools) {
  const auto goldens = Goldens();
  ASSERT_EQ(goldens.size(), 5u);
  for (const SfntCase& c : kSfntCases) {
    FontItem record;
    if (!RecordOf(FolderOfCase(c), c.file, c.record, record)) {
      ADD_FAILURE() << c.label << ": font missing";
      continue;
    }
    FontFileReader reader;
    reader.CopyFrom(record);
    const COrvFontPropertiesTT sheet(reader);
    EXPECT_EQ(sheet.GetPageCount(), record.IsVariable() ? 6u : 7u) << c.label;
    const Golden& expected = goldens.at(c.label);
    for (const auto& [key, value] : LoadedValues(sheet)) {
      ASSERT_TRUE(expected.count(key)) << key;
      EXPECT_EQ(value, expected.at(key)) << c.label << " " << key;
    }
  }
}

std::wstring ControlText(HWND sheet, int page, int control) {
  HWND pageWnd = ShowSheetPage(sheet, page);
  wchar_t text[4096] = {};
  ::GetDlgItemTextW(pageWnd, control, text, 4096);
  return text;
}

std::wstring ListText(HWND sheet, int page, int control) {
  HWND list = ::GetDlgItem(ShowSheetPage(sheet, page), control);
  std::vector<std::wstring> items;
  const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return Joined(items, L"|");
}

int TreeCount(HWND sheet) {
  return static_cast<int>(::SendDlgItemMessageW(sheet, CTreePropertySheet::kPageTreeId, TVM_GETCOUNT, 0, 0));
}

// Runs the sheet of `record` as the lists open it; `inspect` looks at the running sheet.
void RunSheet(const FontItem& record, const std::string& label, const std::function<void(HWND)>& inspect) {
  HWND seen = nullptr;
  ModalScript::Run({[&] {
                      HWND sheet = TopDialogOfThread();
                      if (!sheet || TreeCount(sheet) == 0) return false;
                      seen = sheet;
                      SaveWindowImage(sheet, ArtifactsDir() + L"\\properties_" +
                                             std::wstring(label.begin(), label.end()) + L".bmp");
                      inspect(sheet);
                      return true;
                    },
                    [&] {
                      ::PostMessageW(seen, PSM_PRESSBUTTON, PSBTN_OK, 0);
                      return true;
                    }},
                   [&] { EXPECT_TRUE(ShowFontProperties(record, nullptr)) << label; });
  EXPECT_NE(seen, nullptr) << label;
}

TEST(FontPropertiesGolden, SheetsShowTheValuesOnTheirPages) {
  const auto goldens = Goldens();
  for (const SfntCase& c : kSfntCases) {
    FontItem record;
    if (!RecordOf(FolderOfCase(c), c.file, c.record, record)) continue;
    const Golden& g = goldens.at(c.label);
    RunSheet(record, c.label, [&](HWND sheet) {
      EXPECT_EQ(TreeCount(sheet), record.IsVariable() ? 6 : 7) << c.label;
      EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(sheet, IDCANCEL))) << "one closing button";
      EXPECT_EQ(ControlText(sheet, 0, IDC_PROP_FILE_NAME), c.file);
      EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_FULL_NAME), WithCrLf(g.at("fullName"))) << c.label;
      EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_FAMILY), g.at("family")) << c.label;
      EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_SUBFAMILY), g.at("subfamily")) << c.label;
      EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_POSTSCRIPT_NAME), g.at("postScriptName")) << c.label;
      EXPECT_EQ(ControlText(sheet, 2, IDC_PROP_COPYRIGHT), WithCrLf(g.at("copyright"))) << c.label;
      EXPECT_EQ(ControlText(sheet, 4, IDC_PROP_REVISION), g.at("revisionText")) << c.label;
      EXPECT_EQ(ControlText(sheet, 4, IDC_PROP_GLYPH_COUNT), g.at("numGlyphs")) << c.label;
      // A variable font says how many named instances its fvar table lists.
      const std::wstring features = ControlText(sheet, 4, IDC_PROP_FEATURES);
      const std::wstring instances = L"Variable font with " + g.at("instanceCount") + L" named instances\r\n";
      EXPECT_EQ(features.find(instances) != std::wstring::npos, record.IsVariable()) << c.label << ": " << Narrow(features);
      const std::wstring ranges = g.at("rangeNames");
      EXPECT_EQ(ListText(sheet, 5, IDC_PROP_UNICODE_RANGES), ranges.empty() ? LoadResString(IDS_NO_UNICODE_RANGES) : ranges) << c.label;
    });
  }
}

// A Type 1 pair made from the URW ".t1" as in the reader's tests: the pages read the header.
TEST(FontPropertiesGolden, Type1SheetShowsTheHeaderKeys) {
  const sfnt_test::Bytes t1 = sfnt_test::ReadFile(L"Z:\\usr\\share\\fonts\\type1\\urw-base35\\NimbusMonoPS-Italic.t1");
  ASSERT_FALSE(t1.empty()) << "fonts-urw-base35 missing";
  ScratchDir dir;
  sfnt_test::WriteFile(dir.File(L"NimbusMonoPS-Italic.pfm"), sfnt_test::MinimalPfm());
  sfnt_test::WriteFile(dir.File(L"NimbusMonoPS-Italic.pfb"), sfnt_test::BuildPfb(t1.substr(0, t1.find("eexec") + 6)));
  FontItem record;
  ASSERT_TRUE(RecordOf(dir.Path(), L"NimbusMonoPS-Italic.pfm", 0, record));
  ASSERT_TRUE(record.IsType1());
  const Golden g = Goldens().at("NimbusMonoPSItalic");
  RunSheet(record, "NimbusMonoPSItalic", [&](HWND sheet) {
    EXPECT_EQ(TreeCount(sheet), 3);
    EXPECT_EQ(ControlText(sheet, 0, IDC_PROP_T1_PFM_NAME), L"NimbusMonoPS-Italic.pfm");
    EXPECT_EQ(ControlText(sheet, 0, IDC_PROP_T1_PFB_NAME), L"NimbusMonoPS-Italic.pfb");
    EXPECT_EQ(ControlText(sheet, 0, IDC_PROP_FOLDER), dir.Path());
    EXPECT_NE(ControlText(sheet, 0, IDC_PROP_T1_PFB_SIZE).find(L"bytes"), std::wstring::npos);
    EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_FULL_NAME), g.at("fullName"));
    EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_FAMILY), g.at("family"));
    EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_SUBFAMILY), g.at("weightAndAngle"));
    EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_MONOSPACED).empty(), g.at("monospaced") == L"false");
    EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_UNIQUE_ID), g.at("uniqueId"));
    EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_POSTSCRIPT_NAME), g.at("postScriptName"));
    EXPECT_EQ(ControlText(sheet, 2, IDC_PROP_VERSION_STRING), g.at("version"));
    EXPECT_EQ(ControlText(sheet, 2, IDC_PROP_COPYRIGHT), g.at("copyright"));
    EXPECT_EQ(ControlText(sheet, 2, IDC_PROP_TRADEMARK), g.at("notice"));
  });
  // The same pair with the ".pfm" in a subfolder: the ".pfb" is found in the parent.
  const std::wstring sub = dir.File(L"PFM");
  ::CreateDirectoryW(sub.c_str(), nullptr);
  ASSERT_TRUE(::MoveFileW(dir.File(L"NimbusMonoPS-Italic.pfm").c_str(), (sub + L"\\NimbusMonoPS-Italic.pfm").c_str()));
  FontItem parent;
  ASSERT_TRUE(RecordOf(sub, L"NimbusMonoPS-Italic.pfm", 0, parent));
  RunSheet(parent, "Type1PfbInParent", [&](HWND sheet) {
    EXPECT_EQ(ControlText(sheet, 0, IDC_PROP_T1_PFB_NAME), L"..\\NimbusMonoPS-Italic.pfb");
    EXPECT_EQ(ControlText(sheet, 1, IDC_PROP_FAMILY), g.at("family"));
  });
}

}  // namespace
