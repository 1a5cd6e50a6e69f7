// Type 1 pairs: ".pfb" files made here from the URW base-35 fonts (which Debian ships as
// ".t1" text) or from built clear texts, with a minimal ".pfm" beside them.
#include "fonts/FontFileReader.h"

#include <gtest/gtest.h>

#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;

namespace {

const wchar_t kNimbusSansT1[] = L"Z:\\usr\\share\\fonts\\type1\\urw-base35\\NimbusSans-Regular.t1";

// The clear-text part of a ".t1" (everything up to and including "eexec" and its line end),
// wrapped as a ".pfb" ASCII segment.
Bytes PfbFromT1(const Bytes& t1) {
  const size_t eexec = t1.find("eexec");
  if (eexec == Bytes::npos) return {};
  return BuildPfb(t1.substr(0, eexec + 6));
}

struct Pair {
  bool ok;
  FontItem item;
};

Pair ReadPair(const testing_support::ScratchDir& dir, const std::string& clearKeys, uint32_t declared = UINT32_MAX) {
  WriteFile(dir.File(L"x.pfm"), MinimalPfm());
  WriteFile(dir.File(L"x.pfb"), BuildPfb(Type1ClearText(clearKeys), declared));
  FontFileReader reader;
  reader.folder = dir.Path();
  const bool ok = reader.ReadFontFile(L"x.pfm");
  FontItem item;
  item.CopyFrom(reader);
  return {ok, item};
}

TEST(Type1, NimbusSansFromUrwBase35) {
  const Bytes t1 = ReadFile(kNimbusSansT1);
  if (t1.empty()) GTEST_SKIP() << "fonts-urw-base35 missing";
  testing_support::ScratchDir dir;
  WriteFile(dir.File(L"NimbusSans-Regular.pfm"), MinimalPfm());
  WriteFile(dir.File(L"NimbusSans-Regular.pfb"), PfbFromT1(t1));
  FontFileReader reader;
  reader.folder = dir.Path();
  ASSERT_TRUE(reader.ReadFontFile(L"NimbusSans-Regular.pfm"));
  EXPECT_EQ(reader.flags, 0x40000004u);
  EXPECT_EQ(reader.postScriptName, L"NimbusSans-Regular");
  EXPECT_EQ(reader.version, L"1.00");
  EXPECT_EQ(reader.displayName, L"Nimbus Sans");
  EXPECT_EQ(reader.names.English(NameSlot::FullName), L"NimbusSans Regular");
  EXPECT_EQ(reader.names.English(NameSlot::Family), L"Nimbus Sans");
  EXPECT_EQ(reader.uniqueId, L"NimbusSans-Regular");
  EXPECT_EQ(reader.fileRef, L"NimbusSans-Regular.pfm|NimbusSans-Regular.pfb");
  EXPECT_EQ(reader.fullPath, dir.File(L"NimbusSans-Regular.pfm"));
  EXPECT_EQ(reader.pfbPath, dir.File(L"NimbusSans-Regular.pfb"));
  EXPECT_EQ(reader.GetTypeIconIndex(), 6);
  EXPECT_EQ(reader.GetFilePaths(), dir.File(L"NimbusSans-Regular.pfm") + L"|" + dir.File(L"NimbusSans-Regular.pfb"));
}

TEST(Type1, KeyValues) {
  testing_support::ScratchDir dir;
  const Pair p = ReadPair(dir, "/FontName /Foo-BoldItalic def\n/FullName (Foo Bold Italic) readonly def\n"
                               "/UniqueID 0 def\n/FamilyName (Foo) readonly def\n");
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.item.postScriptName, L"Foo-BoldItalic");
  EXPECT_EQ(p.item.names.English(NameSlot::FullName), L"Foo BoldItalic");
  EXPECT_EQ(p.item.displayName, L"Foo Bold Italic");
  EXPECT_EQ(p.item.uniqueId, L"Foo-BoldItalic");
  EXPECT_EQ(p.item.names.English(NameSlot::Family), L"Foo");
  EXPECT_TRUE(p.item.version.empty());

  const Pair q = ReadPair(dir, "/FontName /Bar def\n/UniqueID 5012345 def\n/version (" + std::string(70, 'v') +
                                   ") readonly def\n/FullName (" + std::string(300, 'n') + ") def\n");
  ASSERT_TRUE(q.ok);
  EXPECT_EQ(q.item.uniqueId, L"5012345");
  EXPECT_EQ(q.item.version.size(), 64u);
  EXPECT_EQ(q.item.displayName.size(), 260u);
  EXPECT_EQ(q.item.displayName, q.item.displayName.substr(0, 1) + std::wstring(259, L'n'));
}

TEST(Type1, FindKeyRules) {
  std::wstring out;
  EXPECT_TRUE(FontFileReader::FindType1Key(L"/Notice (a\rb\r\nc\nd) readonly def", L"/Notice ", out, 0));
  EXPECT_EQ(out, L"a\r\nb\r\nc\r\nd");
  EXPECT_FALSE(FontFileReader::FindType1Key(L"/Notice (unterminated)", L"/Notice ", out, 0));
  EXPECT_FALSE(FontFileReader::FindType1Key(L"/Other 1 def", L"/Notice ", out, 0));
}

TEST(Type1, HeadersAndFailures) {
  testing_support::ScratchDir dir;
  // Only the first eight characters of the header are compared.
  {
    WriteFile(dir.File(L"x.pfm"), MinimalPfm());
    std::string text = Type1ClearText("/FontName /Three def");
    text.replace(0, 18, "%!PS-AdobeFont-3.0");
    WriteFile(dir.File(L"x.pfb"), BuildPfb(text));
    FontFileReader reader;
    reader.folder = dir.Path();
    EXPECT_TRUE(reader.ReadFontFile(L"x.pfm"));
    EXPECT_EQ(reader.postScriptName, L"Three");
  }
  struct Case {
    const char* label;
    Bytes pfb;
  } cases[] = {
      {"no FontName", BuildPfb(Type1ClearText("/FullName (X) def"))},
      {"empty FontName", BuildPfb(Type1ClearText("/FontName / def\n/FullName (X) def"))},
      {"FontName only readonly", BuildPfb(Type1ClearText("/FontName /  readonly def"))},
      {"bad header", BuildPfb("%!Something\ndict begin /FontName /X def eexec")},
      {"no dict begin", BuildPfb("%!FontType1\n/FontName /X def eexec")},
      {"no eexec", BuildPfb("%!FontType1\ndict begin /FontName /X def\n")},
      {"binary first", Bytes("\x80\x02\x04\0\0\0abcd", 10)},
      {"length past the end", BuildPfb(Type1ClearText("/FontName /X def"), 0x7FFFFFFF)},
      {"empty", Bytes()},
  };
  for (const Case& c : cases) {
    WriteFile(dir.File(L"x.pfm"), MinimalPfm());
    WriteFile(dir.File(L"x.pfb"), c.pfb);
    FontFileReader reader;
    reader.folder = dir.Path();
    EXPECT_FALSE(reader.ReadFontFile(L"x.pfm")) << c.label;
    EXPECT_TRUE(reader.IsUnreadable()) << c.label;
    EXPECT_EQ(reader.displayName, L"Unreadable font") << c.label;
  }
}

TEST(Type1, ClearTextLongerThan64K) {
  testing_support::ScratchDir dir;
  // The font name lies past byte 65,536 of the clear text: a 16-bit length would lose it.
  const Pair p = ReadPair(dir, "% " + std::string(70000, 'p') + "\n/FontName /LongFont def\n");
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.item.postScriptName, L"LongFont");
}

TEST(Type1, PfbInParentFolder) {
  testing_support::ScratchDir dir;
  const std::wstring sub = dir.File(L"pfm");
  ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr));
  WriteFile(sub + L"\\x.pfm", MinimalPfm());
  WriteFile(dir.File(L"x.pfb"), BuildPfb(Type1ClearText("/FontName /Parent def")));
  FontFileReader reader;
  reader.folder = sub;
  ASSERT_TRUE(reader.ReadFontFile(L"x.pfm"));
  EXPECT_TRUE(reader.HasFlag(0x200));
  EXPECT_EQ(reader.fileRef, L"x.pfm|..\\x.pfb");
  EXPECT_EQ(reader.pfbPath, dir.File(L"x.pfb"));
  // Read again through the reference it now carries.
  FontFileReader again;
  again.folder = sub;
  ASSERT_TRUE(again.ReadFontFile(L"x.pfm|..\\x.pfb"));
  EXPECT_EQ(again.postScriptName, L"Parent");
  // No ".pfb" anywhere.
  FontFileReader lost;
  lost.folder = sub;
  EXPECT_FALSE(lost.ReadFontFile(L"y.pfm"));
  EXPECT_TRUE(lost.IsUnreadable());
}

}  // namespace
