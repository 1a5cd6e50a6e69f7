// The cmap lookup of the search: DejaVu Sans's own cmap, through its format 12 and its format 4
// subtable, maps exactly the code points fontTools finds; damaged subtables are refused or
// cut, never read past their bytes.
#include "search/CmapLookup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "fonts/FontFileReader.h"
#include "tests/search/SearchTestFonts.h"
#include "tests/support/TestSupport.h"

using search_test::Bytes;
using search_test::Cmap;
using search_test::Format12;
using search_test::Format4;

namespace {

constexpr wchar_t kDejaVuSans[] = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
constexpr uint32_t kUcs4 = (3u << 16) | 10, kBmp = (3u << 16) | 1;

std::set<uint32_t> GoldenCodePoints() {
  std::ifstream in(testing_support::Narrow(testing_support::BinDir() + L"\\testdata\\DejaVuSans-cmap.txt"));
  std::set<uint32_t> points;
  std::string line;
  while (std::getline(in, line))
    if (!line.empty()) points.insert(std::stoul(line, nullptr, 16));
  return points;
}

std::set<uint32_t> Mapped(const CmapLookup& lookup, uint32_t last) {
  std::set<uint32_t> points;
  for (uint32_t cp = 0x20; cp <= last; ++cp)
    if (lookup.GlyphOf(cp) != 0) points.insert(cp);
  return points;
}

TEST(CmapLookup, DejaVuSansAsFontToolsSeesIt) {
  const std::set<uint32_t> golden = GoldenCodePoints();
  ASSERT_GT(golden.size(), 3000u);
  FontFileReader reader;
  reader.fileRef = kDejaVuSans;
  reader.fullPath = kDejaVuSans;
  ASSERT_TRUE(reader.OpenSfnt(0));
  const ByteReader cmap = reader.ReadTable("cmap");
  CmapLookup lookup;
  ASSERT_TRUE(lookup.Load(cmap));
  EXPECT_EQ(Mapped(lookup, CmapLookup::kLastCodePoint), golden);

  // The (3,1) format 4 subtable on its own gives the same characters of the BMP.
  uint16_t count = 0;
  ASSERT_TRUE(cmap.U16(2, count));
  ByteReader bmp;
  for (uint16_t i = 0; i < count; ++i) {
    uint16_t platform = 0, encoding = 0;
    uint32_t offset = 0;
    ASSERT_TRUE(cmap.U16(4 + 8 * i, platform) && cmap.U16(6 + 8 * i, encoding) && cmap.U32(8 + 8 * i, offset));
    if (platform == 3 && encoding == 1) bmp = cmap.From(offset);
  }
  ASSERT_GT(bmp.Size(), 0u);
  const Bytes onlyBmp = Cmap({{kBmp, Bytes(reinterpret_cast<const char*>(bmp.Data()), bmp.Size())}});
  CmapLookup format4;
  ASSERT_TRUE(format4.Load(ByteReader(onlyBmp.data(), onlyBmp.size())));
  std::set<uint32_t> goldenBmp(golden.begin(), golden.lower_bound(0x10000));
  EXPECT_EQ(Mapped(format4, 0xFFFF), goldenBmp);
}

TEST(CmapLookup, DamagedSubtablesAreRefusedOrCut) {
  auto load = [](CmapLookup& lookup, const Bytes& table) { return lookup.Load(ByteReader(table.data(), table.size())); };
  CmapLookup lookup;
  // Format 12: a backward group is dropped, an overlapping one keeps only its new code points,
  // a group past U+10FFFF goes, one that runs past it is cut there.
  ASSERT_TRUE(load(lookup, Cmap({{kUcs4, Format12({0x41, 0x43, 10, 0x50, 0x40, 99, 0x42, 0x45, 20, 0x110000,
                                                    0x120000, 5, 0x10FFF0, 0xFFFFFFFF, 40})}})));
  EXPECT_EQ(lookup.RangeCount(), 3u);
  EXPECT_EQ(lookup.GlyphOf(0x41), 10u);
  EXPECT_EQ(lookup.GlyphOf(0x43), 12u) << "the first group keeps its own mapping";
  EXPECT_EQ(lookup.GlyphOf(0x44), 22u);
  EXPECT_EQ(lookup.GlyphOf(0x50), 0u);
  EXPECT_EQ(lookup.GlyphOf(0x10FFFF), 55u);
  EXPECT_EQ(lookup.GlyphOf(0x110000), 0u);

  // More groups than bytes: refused, and the format 4 subtable beside it is taken instead.
  Bytes lying = Format12({0x41, 0x41, 1});
  sfnt_test::SetU32(lying, 12, 0x10000000);
  ASSERT_TRUE(load(lookup, Cmap({{kUcs4, lying}, {kBmp, Format4(u"Z")}})));
  EXPECT_EQ(lookup.GlyphOf(L'Z'), 1u);
  EXPECT_EQ(lookup.GlyphOf(L'A'), 0u);

  // Format 4: an odd or oversized segment count is refused; a glyph index through
  // idRangeOffset that points past the table reads as no glyph.
  Bytes odd = Format4(u"AB");
  sfnt_test::SetU16(odd, 6, 7);
  EXPECT_FALSE(load(lookup, Cmap({{kBmp, odd}})));
  Bytes oversized = Format4(u"AB");
  sfnt_test::SetU16(oversized, 6, 0xFFFE);
  EXPECT_FALSE(load(lookup, Cmap({{kBmp, oversized}})));
  Bytes distant = Format4(u"AB");
  sfnt_test::SetU16(distant, 14 + 2 * 3 + 2 + 2 * 3 * 2, 0xFFF0);  // idRangeOffset of segment 0
  ASSERT_TRUE(load(lookup, Cmap({{kBmp, distant}})));
  EXPECT_EQ(lookup.GlyphOf(L'A'), 0u);
  EXPECT_EQ(lookup.GlyphOf(L'B'), 2u);

  // A symbol font's (3,0) table, a table cut inside its records, nothing: no lookup.
  EXPECT_FALSE(load(lookup, Cmap({{3u << 16, Format4(u"\uF041")}})));
  const Bytes cut = Cmap({{kBmp, Format4(u"A")}}).substr(0, 9);
  EXPECT_FALSE(load(lookup, cut));
  EXPECT_FALSE(lookup.Load(ByteReader()));
  EXPECT_EQ(lookup.GlyphOf(L'A'), 0u);
}

}  // namespace
