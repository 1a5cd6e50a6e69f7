// Collections and variable fonts: the Noto CJK collections, collections built here, and the
// generated variable fonts in data/ (made by data/make_variable_fonts.py).
#include "fonts/FontFileReader.h"

#include <gtest/gtest.h>

#include "fonts/FontFileWalk.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;

namespace {

const wchar_t kNotoSans[] = L"Z:\\usr\\share\\fonts\\opentype\\noto\\NotoSansCJK-Regular.ttc";

std::wstring Fixture(const wchar_t* name) { return testing_support::SourceDir() + L"\\tests\\fonts\\data\\" + name; }

Bytes Face(const std::wstring& family, const std::wstring& sub, const std::wstring& full) {
  return BuildSfnt({{"head", BuildHead()}, {"name", BuildNameTable(WindowsNames(family, sub, full))}});
}

std::vector<FontItem> Walk(const std::wstring& path) {
  std::vector<FontItem> out;
  ForEachFontItem(L"", path, [&](const FontItem& item) { out.push_back(FontItem::CopyConstruct(item)); });
  return out;
}

TEST(Collections, NotoCjkGivesOneRecordPerFace) {
  if (::GetFileAttributesW(kNotoSans) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "fonts-noto-cjk missing";
  const auto items = Walk(kNotoSans);
  ASSERT_EQ(items.size(), 10u);
  std::wstring joined;
  for (const FontItem& item : items) joined += (joined.empty() ? L"" : L" & ") + item.FullName();
  for (const FontItem& item : items) {
    EXPECT_EQ(item.flags & 0x400000FF, 0x40000085u);
    EXPECT_EQ(item.collectionName, joined);
    EXPECT_EQ(item.GetTypeIconIndex(), 3);
  }
  EXPECT_EQ(items[0].displayName, L"Noto Sans CJK JP");
  EXPECT_EQ(items[0].postScriptName, L"NotoSansCJKjp-Regular");
  EXPECT_EQ(items[9].displayName, L"Noto Sans Mono CJK HK");
}

TEST(Collections, FaceWalkAndByName) {
  testing_support::ScratchDir dir;
  WriteFile(dir.File(L"three.ttc"), BuildCollection({Face(L"A", L"Regular", L"A"), Face(L"B", L"Bold", L"B Bold"),
                                                     Face(L"C", L"Italic", L"C Italic")}));
  FontFileReader reader;
  reader.folder = dir.Path();
  reader.fileRef = L"three.ttc";
  ASSERT_TRUE(reader.ReadFirstCollectionFace());
  EXPECT_EQ(reader.collectionName, L"A & B Bold & C Italic");
  EXPECT_EQ(reader.FullName(), L"A");
  ASSERT_TRUE(reader.ReadNextCollectionFace());
  EXPECT_EQ(reader.displayName, L"B Bold");
  EXPECT_EQ(reader.faceIndex, 1);
  ASSERT_TRUE(reader.ReadNextCollectionFace());
  EXPECT_FALSE(reader.ReadNextCollectionFace());
  EXPECT_EQ(reader.faceIndex, 0);
  EXPECT_TRUE(reader.HasValidFace());
  EXPECT_EQ(reader.BuildCollectionRegistryName(), L"A & B Bold & C Italic");

  FontFileReader byName;
  byName.folder = dir.Path();
  byName.fileRef = L"three.ttc";
  byName.names.English(NameSlot::FullName) = L"C Italic";
  ASSERT_TRUE(byName.ReadCollectionFaceByName());
  EXPECT_EQ(byName.faceIndex, 2);
  EXPECT_EQ(byName.displayName, L"C Italic");

  FontFileReader none;
  none.folder = dir.Path();
  none.fileRef = L"three.ttc";
  none.names.English(NameSlot::FullName) = L"Nobody";
  EXPECT_FALSE(none.ReadCollectionFaceByName());
  EXPECT_EQ(none.names.English(NameSlot::FullName), L"Nobody");

  WriteFile(dir.File(L"one.ttc"), BuildCollection({Face(L"Solo", L"Regular", L"Solo")}));
  const auto one = Walk(dir.File(L"one.ttc"));
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].collectionName, L"Solo");
}

TEST(Collections, FaceCountLimitsAndBadHeaders) {
  testing_support::ScratchDir dir;
  const Bytes face = Face(L"F", L"Regular", L"F");
  std::vector<Bytes> faces63(63, face);
  WriteFile(dir.File(L"63.ttc"), BuildCollection(faces63));
  EXPECT_EQ(Walk(dir.File(L"63.ttc")).size(), 63u);
  std::vector<Bytes> faces64(64, face);
  WriteFile(dir.File(L"64.ttc"), BuildCollection(faces64));
  struct Case {
    const wchar_t* name;
    Bytes bytes;
  } cases[] = {
      {L"64.ttc", BuildCollection(faces64)},
      {L"zero.ttc", BuildCollection({face}, 0xFFFFFFFF)},
      {L"short.ttc", Bytes("ttcf\0\1\0\0", 8)},
      {L"notag.ttc", face},
      {L"nameless.ttc", BuildCollection({BuildSfnt({{"head", BuildHead()}})})},
  };
  for (const Case& c : cases) {
    WriteFile(dir.File(c.name), c.bytes);
    FontFileReader reader;
    reader.fileRef = dir.File(c.name);
    if (std::wstring(c.name) == L"notag.ttc") {
      // A ".ttc" that holds a single font is read as that font.
      EXPECT_TRUE(reader.ReadFontFile()) << c.name;
      continue;
    }
    EXPECT_FALSE(reader.ReadFirstCollectionFace()) << c.name;
    EXPECT_EQ(reader.faceIndex, -1) << c.name;
    EXPECT_TRUE(reader.IsUnreadable()) << c.name;
    EXPECT_EQ(reader.displayName, L"Unreadable font") << c.name;
    EXPECT_EQ(reader.BuildRegistryName(), L"Unreadable font") << c.name;
    EXPECT_EQ(Walk(dir.File(c.name)).size(), 1u) << c.name;
  }
}

struct InstanceExpectation {
  const wchar_t* display;
  const wchar_t* postScript;
};

void ExpectInstances(const wchar_t* fixture, const std::vector<InstanceExpectation>& expected) {
  const auto items = Walk(Fixture(fixture));
  ASSERT_EQ(items.size(), expected.size()) << fixture;
  for (size_t i = 0; i < items.size(); ++i) {
    const FontItem& item = items[i];
    EXPECT_EQ(item.displayName, expected[i].display) << fixture;
    EXPECT_EQ(item.names.English(NameSlot::FullName), expected[i].display) << fixture;
    EXPECT_EQ(item.uniqueId, expected[i].display) << fixture;
    EXPECT_EQ(item.postScriptName, expected[i].postScript) << fixture;
    EXPECT_EQ(item.flags, 0x40000101u) << fixture;
    EXPECT_EQ(item.fsSelection, 0) << fixture;
    EXPECT_EQ(item.GetStatusOverlayIndex(false), 3);
  }
}

TEST(VariableFonts, NamedInstancesTakeStatStyleNames) {
  ExpectInstances(L"OrvelVarStat.ttf", {{L"Orvel Var Light", L"OrvelVar-Light"},
                                        {L"Orvel Var Bold", L"OrvelVar-Bold"},
                                        {L"Orvel Var Bold Condensed", L"OrvelVar-BoldCond"}});
  const auto items = Walk(Fixture(L"OrvelVarStat.ttf"));
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[2].names.English(NameSlot::TypoSubfamily), L"Bold Condensed");
  EXPECT_EQ(items[2].names.English(NameSlot::WwsSubfamily), L"Bold Condensed");
  EXPECT_EQ(items[2].names.English(NameSlot::TypoFamily), L"Orvel Var");
  EXPECT_EQ(items[0].instanceCount, 3);
  EXPECT_EQ(items[0].axisCount, 2);
}

TEST(VariableFonts, StatInFvarOrderUsesInstanceSubfamilies) {
  ExpectInstances(L"OrvelVarPlain.ttf", {{L"Orvel Var Instance Light", L"OrvelVar-Light"},
                                         {L"Orvel Var Instance Bold", L"OrvelVar-Bold"},
                                         {L"Orvel Var Instance Bold Narrow", L"OrvelVar-BoldCond"}});
}

TEST(VariableFonts, WithoutStatTheFontStillGivesOneRecord) {
  const auto items = Walk(Fixture(L"OrvelVarNoStat.ttf"));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].displayName, L"Orvel Var");
  EXPECT_EQ(items[0].names.English(NameSlot::FullName), L"Orvel Var Regular");
  EXPECT_TRUE(items[0].IsVariable());
  EXPECT_FALSE(items[0].IsUnreadable());
}

// Patches the fvar header of a fixture copy and walks it.
std::vector<FontItem> WalkPatchedFvar(const testing_support::ScratchDir& dir, size_t field, uint16_t value) {
  Bytes font = ReadFile(Fixture(L"OrvelVarStat.ttf"));
  for (const auto& t : ReadDirectory(font))
    if (t.tag == "fvar") SetU16(font, t.offset + field, value);
  WriteFile(dir.File(L"patched.ttf"), font);
  return Walk(dir.File(L"patched.ttf"));
}

TEST(VariableFonts, InstanceRecordsFollowTheAxisArray) {
  testing_support::ScratchDir dir;
  // Move the axis array 8 bytes on: the instances must be looked for after it, not at 16.
  Bytes font = ReadFile(Fixture(L"OrvelVarStat.ttf"));
  Bytes moved;
  for (const auto& t : ReadDirectory(font)) {
    if (t.tag != "fvar") continue;
    Bytes fvar = font.substr(t.offset, t.length);
    const uint16_t axesOffset = GetU16(fvar, 4);
    fvar.insert(axesOffset, 8, '\xEE');
    SetU16(fvar, 4, axesOffset + 8);
    // Rebuild the font with the longer fvar.
    std::vector<std::pair<std::string, Bytes>> tables;
    for (const auto& u : ReadDirectory(font)) tables.push_back({u.tag, u.tag == "fvar" ? fvar : font.substr(u.offset, u.length)});
    moved = BuildSfnt(tables);
  }
  WriteFile(dir.File(L"moved.ttf"), moved);
  const auto items = Walk(dir.File(L"moved.ttf"));
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[1].displayName, L"Orvel Var Bold");
  EXPECT_EQ(items[1].postScriptName, L"OrvelVar-Bold");
}

TEST(VariableFonts, BadRecordSizesGiveTheFontRecord) {
  testing_support::ScratchDir dir;
  // axisSize below 20, instanceSize below 4 + 4 * axisCount, no instances at all.
  for (auto [field, value] : {std::pair<size_t, uint16_t>{10, 16}, {14, 11}, {12, 0}}) {
    const auto items = WalkPatchedFvar(dir, field, value);
    ASSERT_EQ(items.size(), 1u) << field;
    EXPECT_EQ(items[0].names.English(NameSlot::FullName), L"Orvel Var Regular") << field;
  }
  // Without the PostScript-name field (instanceSize = 4 + 4 * axisCount) the font's name stays.
  const auto noPs = WalkPatchedFvar(dir, 14, 12);
  ASSERT_EQ(noPs.size(), 3u);
  EXPECT_EQ(noPs[0].postScriptName, L"OrvelVar-Regular");
}

// Each named instance starts from the font's own names: an instance without a PostScript
// name (id 0xFFFF) or without a subfamily name takes nothing from the instance before it.
TEST(VariableFonts, InstancesTakeNothingFromTheInstanceBefore) {
  testing_support::ScratchDir dir;
  Bytes font = ReadFile(Fixture(L"OrvelVarPlain.ttf"));
  for (const auto& t : ReadDirectory(font)) {
    if (t.tag != "fvar") continue;
    const uint16_t axes = GetU16(font, t.offset + 8), axisSize = GetU16(font, t.offset + 10);
    const uint16_t instanceSize = GetU16(font, t.offset + 14);
    ASSERT_EQ(instanceSize, axes * 4 + 6);  // records carry a PostScript name id
    const size_t first = t.offset + GetU16(font, t.offset + 4) + size_t{axes} * axisSize;
    SetU16(font, first + instanceSize + 4 + 4 * axes, 0xFFFF);  // the second: no PostScript name
    SetU16(font, first + 2 * instanceSize, 0x7FFF);             // the third: a subfamily id not in 'name'
  }
  WriteFile(dir.File(L"patched.ttf"), font);
  const auto items = Walk(dir.File(L"patched.ttf"));
  ASSERT_EQ(items.size(), 3u);
  const struct {
    const wchar_t* fullName;
    const wchar_t* postScript;
    const wchar_t* typoSubfamily;
    const wchar_t* wwsSubfamily;
  } expected[] = {
      {L"Orvel Var Instance Light", L"OrvelVar-Light", L"Instance Light", L"Instance Light"},
      {L"Orvel Var Instance Bold", L"OrvelVar-Regular", L"Instance Bold", L"Instance Bold"},
      {L"Orvel Var", L"OrvelVar-BoldCond", L"Regular", L""},
  };
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(items[i].names.English(NameSlot::FullName), expected[i].fullName);
    EXPECT_EQ(items[i].postScriptName, expected[i].postScript);
    EXPECT_EQ(items[i].names.English(NameSlot::TypoSubfamily), expected[i].typoSubfamily);
    EXPECT_EQ(items[i].names.English(NameSlot::WwsSubfamily), expected[i].wwsSubfamily);
  }
}

TEST(VariableFonts, InstanceByNameAndElidableValues) {
  FontFileReader reader;
  reader.fileRef = Fixture(L"OrvelVarStat.ttf");
  ASSERT_TRUE(reader.ReadFontFile());
  reader.names.English(NameSlot::FullName) = L"Orvel Var Bold Condensed";
  reader.names.System(NameSlot::FullName).clear();
  ASSERT_TRUE(reader.ReadNamedInstanceByName());
  EXPECT_EQ(reader.postScriptName, L"OrvelVar-BoldCond");
  // The elidable "Normal" width never shows in a name.
  for (const FontItem& item : Walk(Fixture(L"OrvelVarStat.ttf")))
    EXPECT_EQ(item.displayName.find(L"Normal"), std::wstring::npos);
  FontFileReader missing;
  missing.fileRef = Fixture(L"OrvelVarStat.ttf");
  ASSERT_TRUE(missing.ReadFontFile());
  missing.names.English(NameSlot::FullName) = L"No Such Instance";
  EXPECT_FALSE(missing.ReadNamedInstanceByName());
  EXPECT_EQ(missing.names.English(NameSlot::FullName), L"No Such Instance");
}

}  // namespace
