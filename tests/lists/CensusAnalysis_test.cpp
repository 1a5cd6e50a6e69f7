// The census analysis and the row sets of its filters over hand-made records: groups of one
// name, copies that differ, copies under other file names, installed fonts, shared file names,
// and records that were unreadable; the report's cells and rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "lists/CensusAnalysis.h"
#include "lists/CensusReport.h"

using namespace census_flags;

namespace {

constexpr uint32_t kTrueType = 0x1;
constexpr uint32_t kOpenTypeCff = 0x5;

CensusRecord Rec(const wchar_t* name, const wchar_t* files, const wchar_t* version, const wchar_t* folder,
                 uint32_t fontFlags = kTrueType, uint32_t censusFlags = 0, const wchar_t* faces = L" &") {
  CensusRecord r;
  r.name = name;
  r.files = files;
  r.version = version;
  r.folder = folder;
  r.fontFlags = fontFlags;
  r.censusFlags = censusFlags;
  r.collectionFaces = faces;
  return r;
}

struct AnalysisCase {
  const char* label;
  std::vector<CensusRecord> records;
  std::vector<uint32_t> flags;        // the census flags after the analysis, in record order
  std::vector<int> duplicates;        // the rows of the duplicates filter (record indices)
};

}  // namespace

TEST(CensusAnalysis, FlagsAndDuplicatesTable) {
  const std::vector<AnalysisCase> cases = {
      {"same font, same file name in two folders",
       {Rec(L"Alpha", L"a.ttf", L"1.0", L"C:\\x"), Rec(L"Alpha", L"a.ttf", L"1.0", L"C:\\y")},
       {kFirstOfGroup, kInGroup},
       {0, 1}},
      {"same font under another file name",
       {Rec(L"Alpha", L"a.ttf", L"1.0", L"C:\\x"), Rec(L"Alpha", L"alpha2.ttf", L"1.0", L"C:\\y")},
       {kFirstOfGroup | kOtherFileName, kInGroup | kOtherFileName},
       {0, 1}},
      {"names differing in letter case, other version",
       {Rec(L"Gamma", L"g.ttf", L"2.0", L"C:\\x"), Rec(L"GAMMA", L"g.ttf", L"1.0", L"C:\\y")},
       {kFirstOfGroup | kSharedFileName, kInGroup | kDiffers | kSharedFileName},
       {0, 1}},
      {"installed font with one identical copy leaves the duplicates",
       {Rec(L"Beta", L"b.ttf", L"1.0", L"C:\\Windows\\Fonts", kTrueType, kInSystemFonts),
        Rec(L"Beta", L"b.ttf", L"1.0", L"C:\\y")},
       {kFirstOfGroup | kInSystemFonts, kInGroup},
       {}},
      {"installed pair at the very end is left out too",
       {Rec(L"Aa", L"aa.ttf", L"1", L"C:\\y"), Rec(L"Aa", L"aa.ttf", L"1", L"C:\\z"),
        Rec(L"Zz", L"z.ttf", L"1", L"C:\\Windows\\Fonts", kTrueType, kInSystemFonts), Rec(L"Zz", L"z.ttf", L"1", L"C:\\y")},
       {kFirstOfGroup, kInGroup, kFirstOfGroup | kInSystemFonts, kInGroup},
       {0, 1}},
      {"installed font whose copies all differ in version",
       {Rec(L"Beta", L"b.ttf", L"2.0", L"C:\\Windows\\Fonts", kTrueType, kInSystemFonts),
        Rec(L"Beta", L"b.ttf", L"1.0", L"C:\\y"), Rec(L"Beta", L"b.ttf", L"1.5", L"C:\\z")},
       {kInSystemFonts | kLeftOut, kLeftOut | kDiffers, kLeftOut | kDiffers},
       {}},
      {"installed single font",
       {Rec(L"Solo", L"s.ttf", L"1", L"C:\\Windows\\Fonts", kTrueType, kInSystemFonts)},
       {kInSystemFonts | kLeftOut},
       {}},
      {"one file name for two different fonts",
       {Rec(L"Delta", L"same.ttf", L"1", L"C:\\x"), Rec(L"Epsilon", L"same.ttf", L"1", L"C:\\y")},
       {kSharedFileName, kSharedFileName},
       {}},
      {"two faces of one collection share its file name",
       {Rec(L"Zeta", L"c.ttc", L"1", L"C:\\x", kTrueType | 0x80, kCollectionFace, L"Zeta & Eta &"),
        Rec(L"Eta", L"c.ttc", L"1", L"C:\\x", kTrueType | 0x80, kCollectionFace, L"Zeta & Eta &")},
       {kCollectionFace, kCollectionFace},
       {}},
      {"a face name inside another face's name is no face of the collection",
       {Rec(L"Sans", L"c.ttc", L"1", L"C:\\x", kTrueType | 0x80, kCollectionFace, L"Sans & Mono &"),
        Rec(L"Zeta", L"c.ttc", L"1", L"C:\\y", kTrueType | 0x80, kCollectionFace, L"Noto Sans & Zeta &")},
       {kCollectionFace | kSharedFileName, kCollectionFace | kSharedFileName},
       {}},
      {"installed font whose only copy has another type",
       {Rec(L"Omega", L"o.ttf", L"1", L"C:\\Windows\\Fonts", kTrueType, kInSystemFonts),
        Rec(L"Omega", L"o.otf", L"1", L"C:\\y", kOpenTypeCff)},
       {kInSystemFonts | kLeftOut | kOtherFileName, kLeftOut | kOtherFileName},
       {}},
      {"an unreadable record between two copies joins no group",
       {Rec(L"Kappa", L"k.ttf", L"1", L"C:\\x"), Rec(L"Kappa", L"k.ttf", L"", L"C:\\y", kTrueType, kUnusable),
        Rec(L"Lambda", L"l.ttf", L"1", L"C:\\z")},
       {0, kUnusable, 0},
       {}},
      {"an unreadable record does not pull the next name into a group",
       {Rec(L"Mu", L"m.ttf", L"1", L"C:\\x"), Rec(L"Mu", L"m.ttf", L"1", L"C:\\y"),
        Rec(L"Mu", L"bad.ttf", L"", L"C:\\z", kTrueType, kUnusable), Rec(L"Nu", L"n.ttf", L"1", L"C:\\z")},
       {kFirstOfGroup, kInGroup, kUnusable, 0},
       {0, 1}},
  };
  for (const AnalysisCase& c : cases) {
    SCOPED_TRACE(c.label);
    std::vector<CensusRecord> records = c.records;
    AnalyseCensus(records);
    ASSERT_EQ(records.size(), c.flags.size());
    for (size_t i = 0; i < records.size(); ++i)
      EXPECT_EQ(records[i].censusFlags, c.flags[i]) << "record " << i;
    std::vector<int> byName = AllCensusRows(records);
    SortCensusRows(records, byName, kCensusName, true);
    std::vector<int> duplicates = DuplicateRows(records, byName);
    std::sort(duplicates.begin(), duplicates.end());
    EXPECT_EQ(duplicates, c.duplicates);
    // A second analysis gives the same flags: nothing is left over from the first.
    std::vector<CensusRecord> again = records;
    AnalyseCensus(again);
    for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(again[i].censusFlags, records[i].censusFlags);
  }
}

TEST(CensusAnalysis, SortIsStableAndCaseBlind) {
  std::vector<CensusRecord> records = {Rec(L"beta", L"1", L"", L"A"), Rec(L"Alpha", L"2", L"", L"B"),
                                       Rec(L"BETA", L"3", L"", L"C"), Rec(L"alpha", L"4", L"", L"D")};
  std::vector<int> rows = AllCensusRows(records);
  SortCensusRows(records, rows, kCensusName, true);
  EXPECT_EQ(rows, (std::vector<int>{1, 3, 0, 2}));
  SortCensusRows(records, rows, kCensusName, false);
  EXPECT_EQ(rows, (std::vector<int>{0, 2, 1, 3}));
  SortCensusRows(records, rows, kCensusFolder, false);
  EXPECT_EQ(rows, (std::vector<int>{3, 2, 1, 0}));
}

TEST(CensusReport, CellsAndRowsTable) {
  using namespace std::literals;
  struct Case {
    std::wstring cell;
    const wchar_t* html;
    const wchar_t* text;
  };
  const Case cases[] = {
      {L"Q&A <b> \"x\"", L"Q&amp;A &lt;b&gt; &quot;x&quot;", L"Q&A <b> \"\"x\"\""},
      {L"", L"&nbsp;", L""},
      {L"line\r\nbreak\tand\0nul"s, L"line  break and nul", L"line  break and nul"},
      {L"\u00C9t\u00E9 \u4E2D", L"\u00C9t\u00E9 \u4E2D", L"\u00C9t\u00E9 \u4E2D"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CensusReportCell(c.cell, CensusReportKind::kHtml), c.html);
    EXPECT_EQ(CensusReportCell(c.cell, CensusReportKind::kText), c.text);
  }
  const std::vector<std::wstring> cells = {L"A&B", L"a.ttf", L"", L"id", L"C:\\x"};
  EXPECT_EQ(CensusReportRow(cells, CensusReportKind::kText), L"\"A&B\";\"a.ttf\";\"\";\"id\";\"C:\\x\"\r\n");
  EXPECT_EQ(CensusReportRow(cells, CensusReportKind::kHtml),
            L"  <tr onmouseover=\"className='hover'\" onmouseout=\"className='out'\">\r\n    <td>A&amp;B</td>\r\n"
            L"    <td>a.ttf</td>\r\n    <td>&nbsp;</td>\r\n    <td>id</td>\r\n    <td>C:\\x</td>\r\n  </tr>\r\n");
}
