// The code point list of the character map from (3,10) cmap subtables, hostile ones included:
// every case ends in a bounded, increasing list or none, never in a crash or a long walk. And
// the texts around the list: the count with its digit grouping, the UTF-16 of a code point.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/support/SfntBuilder.h"
#include "viewing/CodePointList.h"

using namespace sfnt_test;

namespace {

struct Group {
  uint32_t first, last;
};

// A cmap table with a (0,3) format 4 stub and one (3,10) subtable of `format` and `groups`;
// `declaredGroups` and `declaredLength` replace the real values when not 0xFFFFFFFF.
Bytes BuildCmap(const std::vector<Group>& groups, uint16_t format = 12, uint32_t declaredGroups = 0xFFFFFFFF,
                uint32_t declaredLength = 0xFFFFFFFF) {
  Bytes sub;
  PutU16(sub, format);
  PutU16(sub, 0);
  PutU32(sub, declaredLength != 0xFFFFFFFF ? declaredLength : static_cast<uint32_t>(16 + 12 * groups.size()));
  PutU32(sub, 0);
  PutU32(sub, declaredGroups != 0xFFFFFFFF ? declaredGroups : static_cast<uint32_t>(groups.size()));
  for (const Group& g : groups) {
    PutU32(sub, g.first);
    PutU32(sub, g.last);
    PutU32(sub, 1);
  }
  Bytes cmap;
  PutU16(cmap, 0);
  PutU16(cmap, 2);
  PutU16(cmap, 0);
  PutU16(cmap, 3);
  PutU32(cmap, 20);
  PutU16(cmap, 3);
  PutU16(cmap, 10);
  PutU32(cmap, 20);
  return cmap + sub;
}

std::vector<uint32_t> Range(uint32_t first, uint32_t last) {
  std::vector<uint32_t> v;
  for (uint32_t cp = first; cp <= last; ++cp) v.push_back(cp);
  return v;
}

TEST(CodePointList, Ucs4CmapGroupsAreCheckedAndBounded) {
  struct Case {
    const char* what;
    Bytes cmap;
    std::vector<uint32_t> expected;  // empty: no list
  };
  const std::vector<Case> cases = {
      {"plain groups", BuildCmap({{0x20, 0x22}, {0xE9, 0xE9}, {0x1F600, 0x1F601}}),
       {0x20, 0x21, 0x22, 0xE9, 0x1F600, 0x1F601}},
      {"control characters left out", BuildCmap({{0, 0x21}}), {0x20, 0x21}},
      {"only control characters", BuildCmap({{0, 0x1F}}), {}},
      {"format 13 has the same groups", BuildCmap({{0x41, 0x42}}, 13), {0x41, 0x42}},
      {"format 4 in the (3,10) slot", BuildCmap({{0x41, 0x42}}, 4), {}},
      {"backwards group skipped", BuildCmap({{0x50, 0x41}, {0x60, 0x61}}), {0x60, 0x61}},
      {"overlap keeps new code points only", BuildCmap({{0x41, 0x45}, {0x43, 0x47}, {0x42, 0x44}}),
       Range(0x41, 0x47)},
      {"end clamped at U+10FFFF", BuildCmap({{0x10FFFE, 0xFFFFFFFF}}), {0x10FFFE, 0x10FFFF}},
      {"start beyond U+10FFFF", BuildCmap({{0x41, 0x41}, {0x110000, 0x110005}}), {0x41}},
      {"group count beyond the bytes", BuildCmap({{0x41, 0x42}}, 12, 0xFFFFFFF0), {}},
      {"group count beyond the length", BuildCmap({{0x41, 0x42}, {0x50, 0x50}}, 12, 2, 28), {}},
      {"length beyond the bytes", BuildCmap({{0x41, 0x42}}, 12, 1, 0xFFFFFFF0), {0x41, 0x42}},
      {"length below the header", BuildCmap({{0x41, 0x42}}, 12, 1, 8), {}},
      {"no groups", BuildCmap({}), {}},
  };
  for (const Case& c : cases) {
    CodePointList list;
    const bool read = list.ReadUcs4Cmap(ByteReader(c.cmap.data(), c.cmap.size()));
    EXPECT_EQ(read, !c.expected.empty()) << c.what;
    EXPECT_EQ(list.Points(), c.expected) << c.what;
    EXPECT_EQ(list.ReportedCount(), c.expected.size()) << c.what;
    EXPECT_EQ(list.Rows(), c.expected.size() / 16 + 1) << c.what;
    EXPECT_EQ(list.At(c.expected.size()), 0u) << c.what;
  }

  // Everything a cmap can claim is cut at the cap, increasing, without repeats.
  CodePointList all;
  const Bytes everything = BuildCmap({{0, 0xFFFFFFFF}, {0, 0xFFFFFFFF}});
  ASSERT_TRUE(all.ReadUcs4Cmap(ByteReader(everything.data(), everything.size())));
  EXPECT_EQ(all.Size(), CodePointList::kMaxCodePoints);
  EXPECT_EQ(all.Points().front(), 0x20u);
  EXPECT_EQ(all.Points().back(), 0x20u + CodePointList::kMaxCodePoints - 1);

  // A list whose length is a multiple of 16 leaves an empty row at the bottom.
  CodePointList sixteen;
  const Bytes row = BuildCmap({{0x40, 0x4F}});
  ASSERT_TRUE(sixteen.ReadUcs4Cmap(ByteReader(row.data(), row.size())));
  EXPECT_EQ(sixteen.Rows(), 2u);
}

TEST(CodePointList, DamagedTablesGiveBoundedLists) {
  const Bytes good = BuildCmap({{0x20, 0x7E}, {0xA0, 0x17F}, {0x1F600, 0x1F64F}});
  const Bytes noUcs4 = [] {
    Bytes b = BuildCmap({{0x41, 0x42}});
    SetU16(b, 14, 1);  // the second record becomes (3,1)
    return b;
  }();
  CodePointList list;
  EXPECT_FALSE(list.ReadUcs4Cmap(ByteReader(noUcs4.data(), noUcs4.size())));
  EXPECT_FALSE(CodePointList::HasUcs4Subtable(ByteReader(noUcs4.data(), noUcs4.size())));
  EXPECT_TRUE(CodePointList::HasUcs4Subtable(ByteReader(good.data(), good.size())));

  std::mt19937 random(2010);
  size_t cases = 0;
  auto check = [&](const Bytes& b) {
    CodePointList l;
    (void)l.ReadUcs4Cmap(ByteReader(b.data(), b.size()));
    ASSERT_LE(l.Size(), CodePointList::kMaxCodePoints);
    ASSERT_TRUE(std::is_sorted(l.Points().begin(), l.Points().end()));
    ASSERT_TRUE(std::adjacent_find(l.Points().begin(), l.Points().end()) == l.Points().end());
    for (uint32_t cp : l.Points()) ASSERT_TRUE(cp >= 0x20 && cp <= 0x10FFFF);
    ++cases;
  };
  for (size_t cut = 0; cut <= good.size(); ++cut) check(good.substr(0, cut));
  for (size_t at = 0; at + 4 <= good.size(); at += 2) {
    for (uint32_t v : {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0x10FFFFu, 0x110000u}) {
      Bytes b = good;
      SetU32(b, at, v);
      check(b);
    }
    for (int i = 0; i < 4; ++i) {
      Bytes b = good;
      SetU32(b, at, static_cast<uint32_t>(random()));
      check(b);
    }
  }
  EXPECT_EQ(cases, good.size() + 1 + ((good.size() - 4) / 2 + 1) * 10);
}

TEST(CodePointList, CountTextAndCodePointText) {
  const std::pair<uint32_t, const wchar_t*> counts[] = {
      {0, L"0"}, {999, L"999"}, {1000, L"1 000"}, {1234, L"1 234"}, {44810, L"44 810"}, {65000, L"65 000"},
      {1000000, L"1000 000"}};
  for (const auto& [count, text] : counts) EXPECT_EQ(FormatCodePointCount(count), text) << count;
  EXPECT_EQ(CodePointText(0x41), L"A");
  EXPECT_EQ(CodePointText(0xFFFF), std::wstring(1, wchar_t(0xFFFF)));
  EXPECT_EQ(CodePointText(0x10000), (std::wstring{wchar_t(0xD800), wchar_t(0xDC00)}));
  EXPECT_EQ(CodePointText(0x1F600), (std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}));
  EXPECT_EQ(CodePointText(0x10FFFF), (std::wstring{wchar_t(0xDBFF), wchar_t(0xDFFF)}));
}

}  // namespace
