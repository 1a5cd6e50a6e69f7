#include "viewing/UnicodeBlockTable.h"

#include <gtest/gtest.h>

namespace {

TEST(UnicodeBlockTable, LineFields) {
  UnicodeBlockTable table;
  table.ParseLine(L"5|0|0370|03FF|Greek and Coptic");
  ASSERT_EQ(table.Rows().size(), 1u);
  EXPECT_EQ(table.Rows()[0].rangeBit, 5);
  EXPECT_EQ(table.Rows()[0].listPosition, 0);
  EXPECT_EQ(table.Rows()[0].first, 0x370u);
  EXPECT_EQ(table.Rows()[0].last, 0x3FFu);
  EXPECT_EQ(table.Rows()[0].name, L"Greek and Coptic");

  // An empty field cannot be written: the rest shifts left and the line is too short.
  table.ParseLine(L"5||0370|03FF|Greek");
  table.ParseLine(L"12|5|0370|03FF");
  EXPECT_EQ(table.Rows().size(), 1u);

  // Leading and repeated separators are skipped; the name is taken as written.
  table.ParseLine(L"||12|5|0370|03FF|Greek | more");
  ASSERT_EQ(table.Rows().size(), 2u);
  EXPECT_EQ(table.Rows()[1].rangeBit, 12);
  EXPECT_EQ(table.Rows()[1].name, L"Greek ");

  // Numbers: low 8 bits kept; no digits read as 0; "0x" accepted for code points.
  table.ParseLine(L"300|x|0x10000|1FFFF|Wide");
  ASSERT_EQ(table.Rows().size(), 3u);
  EXPECT_EQ(table.Rows()[2].rangeBit, 300 & 0xFF);
  EXPECT_EQ(table.Rows()[2].listPosition, 0);
  EXPECT_EQ(table.Rows()[2].first, 0x10000u);
}

TEST(UnicodeBlockTable, LookupsAndResourceText) {
  UnicodeBlockTable table;
  table.LoadFromUtf8("# comment\r\n\r\n0|0|0000|007F|Basic Latin\n7|1|0370|03FF|Greek\r7|127|1F00|1FFF|Greek Extended\n"
                     "200|127|E000|F8FF|Private\n");
  ASSERT_EQ(table.Rows().size(), 4u);
  EXPECT_EQ(table.NameOfRangeBit(7), L"Greek");  // first row of a shared bit
  EXPECT_EQ(table.NameOfRangeBit(200), L"");     // 127 and above have no name
  EXPECT_EQ(table.NameOfRangeBit(-1), L"");
  EXPECT_EQ(table.NameOfCodePoint(0x7F), L"Basic Latin");  // both ends inclusive
  EXPECT_EQ(table.NameOfCodePoint(0x1F00), L"Greek Extended");
  EXPECT_EQ(table.NameOfCodePoint(0x80), L"");

  UnicodeBlockTable empty;
  empty.LoadFromUtf8("# only comments\n#\n");
  EXPECT_TRUE(empty.Rows().empty());
}

TEST(UnicodeBlockTable, ResourceLibraryTable) {
  UnicodeBlockTable table;
  ASSERT_TRUE(table.Load());
  EXPECT_EQ(table.NameOfRangeBit(0), L"Basic Latin");
  EXPECT_EQ(table.NameOfCodePoint(0x41), L"Basic Latin");
  EXPECT_EQ(table.NameOfCodePoint(0x416), L"Cyrillic");
  EXPECT_FALSE(table.NameOfRangeBit(9).empty());
}

}  // namespace
