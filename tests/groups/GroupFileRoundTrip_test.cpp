// Hand-edited group files through the reader and the writer: a file read whole keeps every entry
// and character through a change and a save; any other file is damaged, shows what was read of
// it and keeps its bytes.
#include "tests/groups/GroupsTestEnv.h"

#include <thread>

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::string Group(const std::string& body, const std::string& decl = kDecl) {
  return decl + "<OrvelFontGroups>\r\n<Name>G</Name>\r\n<Parent>orvel_Root.xml</Parent>\r\n" + body +
         "</OrvelFontGroups>\r\n";
}

std::string F(const std::string& name, const std::string& path) {
  return "<font><name>" + name + "</name><path>" + path + "</path></font>";
}

std::string Fonts(const std::string& inner) { return "<fonts>\r\n" + inner + "\r\n</fonts>\r\n"; }

using Entries = std::vector<std::pair<std::wstring, std::wstring>>;

Entries FontsOf(const FontGroup& g) {
  Entries out;
  for (const FontGroupEntry& e : g.Fonts) out.emplace_back(e.Name, e.Path);
  return out;
}

const Entries kAB = {{L"a", L"C:\\a.ttf"}, {L"b", L"C:\\b.ttf"}};

struct Case {
  const char* what;
  std::string bytes;
  bool whole;
  Entries fonts;             // read (whole) or shown (damaged)
  std::wstring name = L"G";  // the group's Name as read
};

std::vector<Case> Cases() {
  const std::string ab = F("a", "C:\\a.ttf") + F("b", "C:\\b.ttf");
  std::string lf = Group(Fonts(ab)), cr;
  std::erase(lf, '\r');
  for (char c : lf) cr += c == '\n' ? '\r' : c;
  std::string deep;
  for (int i = 0; i < 1000000; ++i) deep += "<x>";  // freed recursively, it would overflow the stack
  const auto D = [](const std::string& decl) { return Group(Fonts(F("a", "C:\\a.ttf") + F("b", "C:\\b.ttf")), decl); };
  const std::string zeros(5000, '0');
  return {
      // Read whole: XML in the format's own names, written any way XML allows.
      {"as written", Group(Fonts(ab)), true, kAB},
      {"blank inside tags", Group("<fonts >" + std::string("<font\t><name >a</name ><path>C:\\a.ttf</path></font>") +
                                  F("b", "C:\\b.ttf") + "</fonts\r\n>"),
       true, kAB},
      {"a tag split over two lines", Group(Fonts("<font\r\n><name>a</name><path>C:\\a.ttf</path></font\r\n>" +
                                                 F("b", "C:\\b.ttf"))),
       true, kAB},
      {"comments, one holding an old entry", Group(Fonts("<!-- <font><name>old</name><path>C:\\o.ttf</path></font> -->" +
                                                         ab + "<!-- mentions <font> -->")),
       true, kAB},
      {"a comment before Name holding another Name",
       kDecl + "<OrvelFontGroups><!-- <Name>Other</Name> --><Name>G</Name>" + Fonts(ab) + "</OrvelFontGroups>", true,
       kAB},
      {"CDATA and references", Group(Fonts(F("<![CDATA[Caf&]]>\xC3\xA9 &#233;&#xE9;&apos;&quot;", "C:\\&#x65E5;.ttf"))),
       true, {{L"Caf&\x00E9 \x00E9\x00E9'\"", L"C:\\\x65E5.ttf"}}},
      {"processing instruction and doctype",
       kDecl + "<!DOCTYPE OrvelFontGroups>\r\n<?editor saved?>\r\n<OrvelFontGroups><Name>G</Name>" + Fonts(ab) +
           "</OrvelFontGroups>\r\n<!-- end -->\r\n",
       true, kAB},
      {"attributes on the format's own elements",
       kDecl + "<OrvelFontGroups xmlns:x=\"urn:x\"><Name>G</Name><fonts x:n=\"2\"><font id='1'><name>a</name>"
               "<path>C:\\a.ttf</path></font>" + F("b", "C:\\b.ttf") + "</fonts></OrvelFontGroups>",
       true, kAB},
      {"LF line ends", lf, true, kAB},
      {"CR line ends", cr, true, kAB},
      {"byte-order mark", "\xEF\xBB\xBF" + Group(Fonts(ab)), true, kAB},
      {"an empty element of another name", Group("<Comment/>" + Fonts(ab)), true, kAB},
      {"legacy ANSI", Group(Fonts(F("Caf\xE9", "C:\\Caf\xE9.ttf"))), true, {{L"Caf\x00E9", L"C:\\Caf\x00E9.ttf"}}},
      {"windows-1252 declared", Group(Fonts(F("Caf\xE9", "C:\\c.ttf")), "<?xml version=\"1.0\" encoding=\"windows-1252\"?>"),
       true, {{L"Caf\x00E9", L"C:\\c.ttf"}}},
      {"a value with blanks and a line break", Group(Fonts(F(" a b ", "C:\\a.ttf"))), true, {{L" a b ", L"C:\\a.ttf"}}},
      {"declaration in single quotes, standalone", D("<?xml version='1.0' encoding='UTF-8' standalone='yes'?>"), true, kAB},
      {"declaration with blanks around =", D("<?xml\tversion = \"1.0\"\r\n encoding =\t'utf-8'  standalone= \"no\" ?>"), true, kAB},
      {"declaration of XML 1.1, no encoding", D("<?xml version=\"1.1\"?>"), true, kAB},
      {"declaration of version 1.10, standalone only", D("<?xml version=\"1.10\" standalone='no'?>"), true, kAB},
      {"a processing instruction named xml-something first", D("<?xml-stylesheet href=\"a.css\"?>"), true, kAB},
      {"windows-1252 declared with standalone", Group(Fonts(F("Caf\xE9", "C:\\c.ttf")), "<?xml version='1.0' encoding='windows-1252' standalone='yes' ?>"),
       true, {{L"Caf\x00E9", L"C:\\c.ttf"}}},
      {"character references with leading zeros", Group(Fonts(F("&#x000000000041;&#0000000000066;&#x" + zeros + "43;", "C:\\&#x0001F600;.ttf"))),
       true, {{L"ABC", L"C:\\\xD83D\xDE00.ttf"}}},
      {"the last code point by reference", Group(Fonts(F("&#x10FFFF;&#1114111;", "C:\\z.ttf"))), true,
       {{L"\xDBFF\xDFFF\xDBFF\xDFFF", L"C:\\z.ttf"}}},

      // Damaged: shown as far as read, never saved over.
      {"an entry in other case", Group(Fonts(ab + "<Font><name>c</name><path>C:\\c.ttf</path></Font>")), false, kAB},
      {"an entry element in upper case", Group(Fonts(ab + "<FONT><name>c</name><path>C:\\c.ttf</path></FONT>")), false, kAB},
      {"a node in other case", Group("<orvelnodes><Node><name>n</name><file>orvelgrp00002.xml</file></Node></orvelnodes>" +
                                     Fonts(ab)),
       false, kAB},
      {"a second fonts block", Group(Fonts(F("a", "C:\\a.ttf")) + Fonts(F("b", "C:\\b.ttf"))), false, kAB},
      {"Name twice", kDecl + "<OrvelFontGroups><Name>G</Name><Name>H</Name>" + Fonts(ab) + "</OrvelFontGroups>", false,
       kAB, L"H"},
      {"a font without a path", Group(Fonts(ab + "<font><name>c</name></font>")), false, kAB},
      {"text between entries", Group(Fonts(ab + " stray words ")), false, kAB},
      {"an unknown entity", Group(Fonts(ab + F("c &eacute;", "C:\\c.ttf"))), false, kAB},
      {"mismatched end tag", Group(Fonts(ab + "<font><name>c</name><path>C:\\c.ttf</path></fonts>")), false, kAB},
      {"cut off", Group(Fonts(ab)).substr(0, Group(Fonts(ab)).find("</fonts>")), false, kAB},
      {"trailing text", Group(Fonts(ab)) + "garbage", false, kAB},
      {"an overlong sequence in ASCII", Group(Fonts(ab + F("c\xC0\xAF", "C:\\c.ttf"))), false,
       {kAB[0], kAB[1], {L"c\xFFFD\xFFFD", L"C:\\c.ttf"}}},
      {"a CESU-8 surrogate pair", Group(Fonts(ab + F("c\xED\xA0\x80\xED\xB0\x80", "C:\\c.ttf"))), false,
       {kAB[0], kAB[1], {L"c\xFFFD\xFFFD\xFFFD\xFFFD", L"C:\\c.ttf"}}},
      {"UTF-16 declared, eight-bit bytes", Group(Fonts(ab), "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"), false, kAB},
      {"a control character reference", Group(Fonts(ab + F("c&#1;", "C:\\c.ttf"))), false, kAB},
      {"nested beyond any group file", Group(Fonts(ab) + deep), false, kAB},
      // A declaration that is not XML's, or not at the very start: damaged, the rest read for
      // showing (up to markup that comes before its "?>").
      {"version with a comma", D("<?xml version=\"1,0\"?>"), false, kAB},
      {"encoding misspelled", D("<?xml version=\"1.0\" encodin=\"UTF-8\"?>"), false, kAB},
      {"an encoding name with %", D("<?xml version=\"1.0\" encoding=\"UTF%8\"?>"), false, kAB},
      {"standalone maybe", D("<?xml version=\"1.0\" standalone=\"maybe\"?>"), false, kAB},
      {"version without a value", D("<?xml version?>"), false, kAB},
      {"standalone before encoding", D("<?xml version=\"1.0\" standalone=\"yes\" encoding=\"UTF-8\"?>"), false, kAB},
      {"encoding given twice", D("<?xml version=\"1.0\" encoding=\"UTF-8\" encoding=\"UTF-8\"?>"), false, kAB},
      {"no blank between pseudo-attributes", D("<?xml version=\"1.0\"encoding=\"UTF-8\"?>"), false, kAB},
      {"a blank line before the declaration", D("\r\n<?xml version=\"1.0\" encoding=\"UTF-8\"?>"), false, kAB},
      {"a comment before the declaration", D("<!-- x --><?xml version=\"1.0\"?>"), false, kAB},
      {"no version", D("<?xml encoding=\"UTF-8\"?>"), false, kAB},
      {"an empty declaration", D("<?xml?>"), false, kAB},
      {"XML in capitals", D("<?XML version=\"1.0\"?>"), false, kAB},
      {"version 2.0", D("<?xml version=\"2.0\"?>"), false, kAB},
      {"version 1. without digits", D("<?xml version=\"1.\"?>"), false, kAB},
      {"quotes that do not match", D("<?xml version=\"1.0'?>"), false, kAB},
      {"an empty encoding name", D("<?xml version=\"1.0\" encoding=\"\"?>"), false, kAB},
      {"an encoding name starting with a digit", D("<?xml version=\"1.0\" encoding=\"8bit\"?>"), false, kAB},
      {"standalone in capitals", D("<?xml version=\"1.0\" standalone=\"YES\"?>"), false, kAB},
      {"a pseudo-attribute XML has not", D("<?xml version=\"1.0\" lang=\"en\"?>"), false, kAB},
      {"Version capitalised", D("<?xml Version=\"1.0\"?>"), false, kAB},
      {"a declaration not closed", D("<?xml version=\"1.0\" >"), false, {}, L""},
      {"two declarations", D("<?xml version=\"1.0\"?><?xml version=\"1.0\"?>"), false, kAB},
      {"only a broken declaration", "<?xml version=\"1,0\"?>\r\n", false, {}, L""},
      // References that name no XML character.
      {"a reference past the last code point", Group(Fonts(ab + F("c&#x110000;", "C:\\c.ttf"))), false, kAB},
      {"a reference of a surrogate", Group(Fonts(ab + F("c&#xD800;", "C:\\c.ttf"))), false, kAB},
      {"a reference of U+FFFE", Group(Fonts(ab + F("c&#65534;", "C:\\c.ttf"))), false, kAB},
      {"a reference without digits", Group(Fonts(ab + F("c&#x;", "C:\\c.ttf"))), false, kAB},
      {"a reference with a capital X", Group(Fonts(ab + F("c&#X41;", "C:\\c.ttf"))), false, kAB},
      {"a reference of 40 digits", Group(Fonts(ab + F("c&#" + std::string(40, '9') + ";", "C:\\c.ttf"))), false, kAB},
      {"a reference that wraps to A in 32 bits", Group(Fonts(ab + F("c&#x100000041;", "C:\\c.ttf"))), false, kAB},
      {"a reference not ended", Group(Fonts(ab + F("c&#x41 ", "C:\\c.ttf"))), false, kAB},
      {"an internal subset", kDecl + "<!DOCTYPE x [<!ENTITY e \"v\">]><OrvelFontGroups>" + Fonts(ab) + "</OrvelFontGroups>",
       false, {}, L""},
  };
}

}  // namespace

TEST_F(GroupsTest, EditedFilesRoundTripOrStayUntouched) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    ForgetToldGroupFiles();
    WriteRaw(L"orvelgrp00040.xml", c.bytes);
    FontGroup g;
    EXPECT_EQ(g.Load(L"orvelgrp00040.xml"), c.whole);
    EXPECT_EQ(g.LoadState(), c.whole ? GroupLoadState::kLoaded : GroupLoadState::kDamaged);
    EXPECT_EQ(FontsOf(g), c.fonts);
    EXPECT_EQ(g.Name, c.name);
    g.Installed = true;  // a change
    EXPECT_EQ(g.Save(), c.whole);
    if (!c.whole) {
      EXPECT_EQ(ReadRaw(L"orvelgrp00040.xml"), c.bytes) << "a damaged file keeps its bytes";
      EXPECT_TRUE(HasPendingGroupFileNotices()) << "the load and the refused change are told";
      continue;
    }
    FontGroup back;
    if (!back.Load(L"orvelgrp00040.xml")) {
      ADD_FAILURE() << "what was saved reads back whole";
      continue;
    }
    EXPECT_EQ(FontsOf(back), c.fonts);
    EXPECT_EQ(back.Name, c.name);
    EXPECT_TRUE(back.Installed);
    EXPECT_FALSE(HasPendingGroupFileNotices());
  }
}

TEST_F(GroupsTest, TagsWithVeryManyAttributesAreReadInLinearTime) {
  std::string attributes;
  for (int i = 0; i < 100000; ++i) attributes += " a" + std::to_string(i) + "=\"v\"";
  for (const bool repeated : {false, true}) {
    SCOPED_TRACE(repeated ? "the first attribute again at the end" : "all different");
    const std::string bytes = Group("<fonts" + attributes + (repeated ? " a0='w'" : "") + ">" + F("a", "C:\\a.ttf") + "</fonts>");
    WriteRaw(L"orvelgrp00041.xml", bytes);
    const ULONGLONG start = ::GetTickCount64();
    FontGroup g;
    EXPECT_EQ(g.Load(L"orvelgrp00041.xml"), !repeated);
    EXPECT_LT(::GetTickCount64() - start, 3000u) << "a list walked for each attribute took about 20 s";
    EXPECT_EQ(g.Fonts.size(), repeated ? 0u : 1u);
  }
}

TEST_F(GroupsTest, NoticesWaitForTheMainThreadAndShowOneBox) {
  WriteRaw(L"orvelgrp00042.xml", "<OrvelFontGroups><Font/>");
  WriteRaw(L"orvelgrp00043.xml", "<OrvelFontGroups><Name>x</Name></orvelfontgroups>");
  std::thread worker([] {
    FontGroup a, b;
    (void)a.Load(L"orvelgrp00042.xml");
    (void)b.Load(L"orvelgrp00043.xml");
    (void)b.Load(L"orvelgrp00043.xml");
  });
  worker.join();
  EXPECT_TRUE(testing_support::Boxes().empty()) << "no thread shows a box of its own";
  EXPECT_TRUE(FlushGroupFileNotices());
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  const std::wstring text = testing_support::Boxes()[0].text;
  EXPECT_NE(text.find(L"orvelgrp00042.xml\norvelgrp00043.xml"), std::wstring::npos);
  FontGroup again;
  (void)again.Load(L"orvelgrp00043.xml");
  EXPECT_FALSE(FlushGroupFileNotices()) << "an unchanged damaged file is told once";
  again.Name = L"y";
  EXPECT_FALSE(again.Save());
  EXPECT_TRUE(FlushGroupFileNotices()) << "a refused change is told each time";
}
