// The group file format: golden bytes, round trips, escapes and the reader's rules.
#include "tests/groups/GroupsTestEnv.h"

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
const std::string kNote = "<Note>A font group of Orvel Font Manager. Edit group files only while the program is closed.</Note>\r\n";

// U+1D11E MUSICAL SYMBOL G CLEF, a surrogate pair in UTF-16.
const std::wstring kClef = L"\xD834\xDD1E";

FontGroup GoldenGroup() {
  FontGroup g;
  g.FileName = L"orvelgrp00004.xml";
  g.Name = L"Serif & <Sans> \"quoted\" 'single' " + kClef;
  g.Parent = L"orvel_Root.xml";
  g.Installed = true;
  g.AddNode(L"Linked", L"orvelgrp00009.xml", false, true);
  g.AddNode(L"Child", L"orvelgrp00002.xml", true, false);
  g.AddFont(L"Zeta", L"C:\\Fonts\\zeta.ttf");
  g.AddFont(L"Alpha Type 1", L"C:\\Fonts\\alpha.pfm|C:\\Fonts\\alpha.pfb");
  return g;
}

const std::string kGolden =
    kDeclaration +
    "<OrvelFontGroups>\r\n" + kNote +
    "<Name>Serif &amp; &lt;Sans&gt; &quot;quoted&quot; &#39;single&#39; \xF0\x9D\x84\x9E</Name>\r\n"
    "<Parent>orvel_Root.xml</Parent>\r\n"
    "<Installed>true</Installed>\r\n"
    "<orvelnodes>\r\n"
    "\t<node>\r\n"
    "\t<name>Child</name>\r\n"
    "\t<file>orvelgrp00002.xml</file>\r\n"
    "\t<installed>true</installed>\r\n"
    "\t</node>\r\n"
    "\t<node>\r\n"
    "\t<name>Linked</name>\r\n"
    "\t<link>orvelgrp00009.xml</link>\r\n"
    "\t</node>\r\n"
    "</orvelnodes>\r\n"
    "<fonts>\r\n"
    "\t<font>\r\n"
    "\t\t<name>Alpha Type 1</name>\r\n"
    "\t\t<path>C:\\Fonts\\alpha.pfm|C:\\Fonts\\alpha.pfb</path>\r\n"
    "\t</font>\r\n"
    "\t<font>\r\n"
    "\t\t<name>Zeta</name>\r\n"
    "\t\t<path>C:\\Fonts\\zeta.ttf</path>\r\n"
    "\t</font>\r\n"
    "</fonts>\r\n"
    "</OrvelFontGroups>\r\n";

std::string WrapGroup(const std::string& body) {
  return kDeclaration + "<OrvelFontGroups>\r\n" + kNote + body + "</OrvelFontGroups>\r\n";
}

std::string Node(const std::string& name, const std::string& file, const char* tag = "file",
                 const char* installed = nullptr) {
  std::string s = "\t<node>\r\n\t<name>" + name + "</name>\r\n\t<" + tag + ">" + file + "</" + tag + ">\r\n";
  if (installed) s += std::string("\t<installed>") + installed + "</installed>\r\n";
  return s + "\t</node>\r\n";
}

std::string Font(const std::string& name, const std::string& path) {
  return "\t<font>\r\n\t\t<name>" + name + "</name>\r\n\t\t<path>" + path + "</path>\r\n\t</font>\r\n";
}

std::vector<std::wstring> Names(const std::vector<FontGroupEntry>& entries) {
  std::vector<std::wstring> names;
  for (const FontGroupEntry& e : entries) names.push_back(e.Name);
  return names;
}

}  // namespace

TEST_F(GroupsTest, GoldenFileByteForByte) {
  FontGroup g = GoldenGroup();
  ASSERT_TRUE(g.Save());
  EXPECT_EQ(ReadRaw(L"orvelgrp00004.xml"), kGolden);

  FontGroup back;
  ASSERT_TRUE(back.Load(L"orvelgrp00004.xml"));
  EXPECT_EQ(back.Name, g.Name);
  EXPECT_EQ(back.Parent, L"orvel_Root.xml");
  EXPECT_TRUE(back.Installed);
  ASSERT_EQ(back.Nodes.size(), 2u);
  EXPECT_TRUE(back.Nodes[0].Installed);
  EXPECT_FALSE(back.Nodes[0].IsLink);
  EXPECT_TRUE(back.Nodes[1].IsLink);
  EXPECT_EQ(back.Nodes[1].Path, L"orvelgrp00009.xml");
  ASSERT_EQ(back.Fonts.size(), 2u);
  EXPECT_EQ(back.Fonts[0].Path, L"C:\\Fonts\\alpha.pfm|C:\\Fonts\\alpha.pfb");

  // Save, load, save: the same bytes.
  ASSERT_TRUE(back.Save());
  EXPECT_EQ(ReadRaw(L"orvelgrp00004.xml"), kGolden);
  EXPECT_TRUE(testing_support::Boxes().empty());
}

TEST_F(GroupsTest, EarlierFileReadsBackUnchanged) {
  // A file as an earlier version wrote it (another note text) reads and writes back the same
  // entries; only the note is the current one.
  std::string earlier = kGolden;
  earlier.replace(earlier.find(kNote), kNote.size(), "<Note>Old note</Note>\r\n");
  WriteRaw(L"orvelgrp00004.xml", earlier);
  FontGroup g;
  ASSERT_TRUE(g.Load(L"orvelgrp00004.xml"));
  ASSERT_TRUE(g.Save());
  EXPECT_EQ(ReadRaw(L"orvelgrp00004.xml"), kGolden);
}

TEST_F(GroupsTest, EmptyGroupHasNoSections) {
  FontGroup g;
  g.FileName = L"orvel_Root.xml";
  ASSERT_TRUE(g.Save(true));
  EXPECT_EQ(ReadRaw(L"orvel_Root.xml"), WrapGroup("<Name></Name>\r\n<Parent></Parent>\r\n"));

  FontGroup withNodes = GoldenGroup();
  withNodes.Installed = false;
  ASSERT_TRUE(withNodes.Save(true));  // skip-nodes: no node section at all
  const std::string text = ReadRaw(L"orvelgrp00004.xml");
  EXPECT_EQ(text.find("orvelnodes"), std::string::npos);
  EXPECT_EQ(text.find("Installed"), std::string::npos);
  EXPECT_NE(text.find("<fonts>"), std::string::npos);
}

TEST_F(GroupsTest, ValuesRoundTripOrAreCleaned) {
  struct Case {
    std::wstring name;
    std::wstring expected;  // what reads back
  } cases[] = {
      {L"a & b < c > d \" e ' f", L"a & b < c > d \" e ' f"},
      {L"&lt;", L"&lt;"},                              // literal entity text stays text
      {L"&amp;lt; &#39;", L"&amp;lt; &#39;"},
      {L"</name></font></fonts></OrvelFontGroups>", L"</name></font></fonts></OrvelFontGroups>"},
      {L"line\r\nbreak\ttab\x01\x1F\x7F", L"line\r\nbreak\ttab\x7F"},  // what XML cannot carry is dropped
      {L"lone\rreturn ]]> end", L"lone\rreturn ]]> end"},
      {L"pair " + kClef + L" end", L"pair " + kClef + L" end"},
      {std::wstring(L"nul\0inside", 10), L"nulinside"},   // U+0000 dropped, the rest kept
      {L"lone \xD834 high", L"lone \xFFFD high"},
      {L"lone \xDD1E low", L"lone \xFFFD low"},
      {L"\xFEFF" L"bom in name", L"\xFEFF" L"bom in name"},
      {L"\x65E5\x672C\x8A9E", L"\x65E5\x672C\x8A9E"},
  };
  for (const Case& c : cases) {
    FontGroup g;
    g.FileName = L"orvelgrp00010.xml";
    g.Name = c.name;
    g.Parent = c.name;
    g.AddFont(c.name, L"C:\\f.ttf");
    g.AddFont(L"after", L"C:\\after.ttf");
    g.AddNode(c.name, L"orvelgrp00011.xml", false, false);
    ASSERT_TRUE(g.Save());
    FontGroup back;
    ASSERT_TRUE(back.Load(L"orvelgrp00010.xml")) << testing_support::Narrow(c.name);
    EXPECT_EQ(back.Name, c.expected);
    EXPECT_EQ(back.Parent, c.expected);
    ASSERT_EQ(back.Nodes.size(), 1u);
    EXPECT_EQ(back.Nodes[0].Name, c.expected);
    ASSERT_EQ(back.Fonts.size(), 2u) << "nothing behind the name is cut";
    EXPECT_TRUE(back.Fonts[0].Name == c.expected || back.Fonts[1].Name == c.expected);
  }
}

TEST_F(GroupsTest, ReaderCases) {
  struct Case {
    const char* what;
    std::string bytes;
    bool installed;
    std::vector<std::wstring> nodeNames;
    std::vector<std::wstring> fontNames;
  } cases[] = {
      {"Installed false still reads as installed", WrapGroup("<Name>G</Name>\r\n<Installed>false</Installed>\r\n"),
       true, {}, {}},
      {"empty Installed reads as not installed", WrapGroup("<Name>G</Name>\r\n<Installed></Installed>\r\n"), false,
       {}, {}},
      {"byte-order mark", "\xEF\xBB\xBF" + WrapGroup("<Name>G</Name>\r\n<fonts>\r\n" + Font("f", "C:\\f.ttf") +
                                                       "</fonts>\r\n"),
       false, {}, {L"f"}},
      {"unsorted input is sorted, upper case first",
       WrapGroup("<fonts>\r\n" + Font("b", "C:\\b.ttf") + Font("B", "C:\\B2.ttf") + Font("a", "C:\\a.ttf") +
                 "</fonts>\r\n"),
       false, {}, {L"B", L"a", L"b"}},
      {"duplicate fonts: same path and name ignoring case dropped, other name kept",
       WrapGroup("<fonts>\r\n" + Font("Arial", "C:\\A.ttf") + Font("ARIAL", "c:\\a.TTF") + Font("Arial 2", "C:\\A.ttf") +
                 "</fonts>\r\n"),
       false, {}, {L"Arial", L"Arial 2"}},
      {"duplicate nodes: same file in other case keeps the first",
       WrapGroup("<orvelnodes>\r\n" + Node("one", "orvelgrp00001.xml") + Node("two", "ORVELGRP00001.XML") +
                 "</orvelnodes>\r\n"),
       false, {L"one"}, {}},
      {"link node", WrapGroup("<orvelnodes>\r\n" + Node("lnk", "orvelgrp00003.xml", "link") + "</orvelnodes>\r\n"),
       false, {L"lnk"}, {}},
      {"empty sections and an empty Name",
       WrapGroup("<Name></Name>\r\n<orvelnodes></orvelnodes>\r\n<fonts></fonts>\r\n"), false, {}, {}},
      {"any indentation and line ends",
       "<OrvelFontGroups><Name>G</Name><fonts><font><path>C:\\p.ttf</path><name>p</name></font></fonts>"
       "</OrvelFontGroups>",
       false, {}, {L"p"}},
      {"an empty root element is an empty group", "<OrvelFontGroups></OrvelFontGroups>", false, {}, {}},
      {"zero bytes behind the file", WrapGroup("<fonts>\r\n" + Font("z", "C:\\z.ttf") + "</fonts>\r\n") +
                                         std::string(16, '\0'),
       false, {}, {L"z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteRaw(L"orvelgrp00020.xml", c.bytes);
    FontGroup g;
    ASSERT_TRUE(g.Load(L"orvelgrp00020.xml"));
    EXPECT_EQ(g.LoadState(), GroupLoadState::kLoaded);
    EXPECT_EQ(g.Installed, c.installed);
    EXPECT_EQ(Names(g.Nodes), c.nodeNames);
    EXPECT_EQ(Names(g.Fonts), c.fontNames);
  }
  EXPECT_TRUE(testing_support::Boxes().empty());
}

TEST_F(GroupsTest, HandEditedFilesAreReadWholeOrNeverSavedOver) {
  const std::string b = Font("b", "C:\\b.ttf"), open = "<Installed>true</Installed><fonts>", end = "</fonts>";
  const std::string utf8 = WrapGroup(open + Font("Caf\xC3\xA9 Sans", "C:\\c.ttf") +
                                     Font("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E Gothic", "C:\\j.ttf") + end);
  std::string broken = utf8;
  broken[broken.find("\xC3\xA9") + 1] = '\xE9';
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::wstring> fonts;  // read back after a save; none: damaged, never saved over
  } cases[] = {
      {"clean", utf8, {L"Caf\x00E9 Sans", L"\x65E5\x672C\x8A9E Gothic"}},
      {"duplicate dropped on purpose", WrapGroup(open + b + Font("B", "c:\\B.TTF") + end), {L"b"}},
      {"legacy ANSI", WrapGroup(open + Font("Caf\xE9", "C:\\Caf\xE9.ttf") + end), {L"Caf\x00E9"}},
      {"X unclosed font", WrapGroup(open + "<font><name>a</name><path>C:\\a.ttf</path>" + b + end), {}},
      {"attribute read past", WrapGroup(open + "<font id=\"2\"><name>a</name><path>C:\\a.ttf</path></font>" + b + end), {L"a", L"b"}},
      {"Y empty name", WrapGroup(open + Font("", "C:\\a.ttf") + b + end), {}},
      {"Z two fonts blocks", WrapGroup(open + b + end + "<fonts>" + Font("c", "C:\\c.ttf") + end), {}},
      {"M one broken byte", broken, {}},
      {"D empty font element", WrapGroup(open + "<font></font>" + b + end), {}},
      {"node without target", WrapGroup("<orvelnodes>" + Node("n", "") + "</orvelnodes>"), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteRaw(L"orvelgrp00030.xml", c.bytes);
    FontGroup g, back;
    (void)g.Load(L"orvelgrp00030.xml");
    EXPECT_EQ(g.LoadState(), c.fonts.empty() ? GroupLoadState::kDamaged : GroupLoadState::kLoaded);
    g.Installed = false;  // what "Clear installed marks" changes
    EXPECT_EQ(g.Save(), !c.fonts.empty());
    EXPECT_EQ(ReadRaw(L"orvelgrp00030.xml") == c.bytes, c.fonts.empty()) << "a damaged file keeps its bytes";
    EXPECT_EQ(back.Load(L"orvelgrp00030.xml") ? Names(back.Fonts) : std::vector<std::wstring>{}, c.fonts);
    EXPECT_TRUE(c.fonts.empty() || !back.Installed) << "the change is saved";
  }
}

TEST_F(GroupsTest, Utf16FileFromAnEditor) {
  const std::wstring text = L"\xFEFF<OrvelFontGroups><Name>\x00E9t\x00E9</Name><fonts><font><name>f</name>"
                            L"<path>C:\\f.ttf</path></font></fonts></OrvelFontGroups>";
  std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  WriteRaw(L"orvelgrp00021.xml", bytes);
  FontGroup g;
  ASSERT_TRUE(g.Load(L"orvelgrp00021.xml"));
  EXPECT_EQ(g.Name, L"\x00E9t\x00E9");
  EXPECT_EQ(g.Fonts.size(), 1u);
}

TEST_F(GroupsTest, FilesOfOtherEditorsKeepTheirCharactersThroughASave) {
  // "Café" in a font path, saved by editors in other forms; each reads with its "é", and the
  // next save writes it as UTF-8: the path still names the font's file.
  const std::string body = "<OrvelFontGroups>\r\n<Name>Caf\xE9</Name>\r\n<fonts>\r\n" +
                           Font("Caf\xE9", "C:\\Fonts\\Caf\xE9.ttf") + "</fonts>\r\n</OrvelFontGroups>\r\n";
  std::string utf16;
  for (unsigned char c : body) {
    utf16 += static_cast<char>(c);
    utf16 += '\0';
  }
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"Windows-1252 by its declaration", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n" + body},
      {"the system code page under the program's UTF-8 declaration", kDeclaration + body},
      {"UTF-16 without a byte-order mark", utf16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteRaw(L"orvelgrp00022.xml", c.bytes);
    FontGroup g;
    ASSERT_TRUE(g.Load(L"orvelgrp00022.xml")) << "system code page " << ::GetACP() << " (a Western one is expected)";
    EXPECT_EQ(g.Name, L"Caf\x00E9");
    ASSERT_EQ(g.Fonts.size(), 1u);
    EXPECT_EQ(g.Fonts[0].Path, L"C:\\Fonts\\Caf\x00E9.ttf");
    ASSERT_TRUE(g.Save());
    const std::string saved = ReadRaw(L"orvelgrp00022.xml");
    EXPECT_NE(saved.find("<path>C:\\Fonts\\Caf\xC3\xA9.ttf</path>"), std::string::npos);
    EXPECT_EQ(saved.find("\xEF\xBF\xBD"), std::string::npos) << "no replacement character written";
  }
  EXPECT_TRUE(testing_support::Boxes().empty());
}

TEST_F(GroupsTest, SortedInsertKeepsArrivalOrderOfEqualNames) {
  FontGroup g;
  EXPECT_TRUE(g.AddFont(L"b", L"1"));
  EXPECT_TRUE(g.AddFont(L"B", L"2"));
  EXPECT_TRUE(g.AddFont(L"a", L"3"));
  EXPECT_TRUE(g.AddFont(L"a", L"4"));
  EXPECT_TRUE(g.AddFont(L"ab", L"5"));
  EXPECT_FALSE(g.AddFont(L"", L"6"));
  EXPECT_FALSE(g.AddFont(L"x", L""));
  std::vector<std::wstring> paths;
  for (const FontGroupEntry& e : g.Fonts) paths.push_back(e.Path);
  EXPECT_EQ(paths, (std::vector<std::wstring>{L"2", L"3", L"4", L"5", L"1"}));

  EXPECT_FALSE(g.AddNode(L"n", L"", false, false));
  EXPECT_TRUE(g.AddNode(L"", L"orvelgrp00001.xml", false, false));
  EXPECT_TRUE(g.AddNode(L"z", L"orvelgrp00002.xml", false, false));
  EXPECT_TRUE(g.RemoveNode(L"ORVELGRP00001.XML"));
  EXPECT_FALSE(g.RemoveNode(L"orvelgrp00001.xml"));
  EXPECT_FALSE(g.RemoveNodeAt(1));
  EXPECT_TRUE(g.RemoveNodeAt(0));
  EXPECT_TRUE(g.Nodes.empty());
  EXPECT_TRUE(g.RemoveFontAt(4));
  EXPECT_FALSE(g.RemoveFontAt(4));
  EXPECT_EQ(g.Fonts.size(), 4u);

  g.Installed = true;
  g.Name = L"n";
  g.FileName = L"f";
  g.Parent = L"p";
  g.Clear();
  EXPECT_TRUE(g.Installed);
  EXPECT_TRUE(g.Name.empty() && g.FileName.empty() && g.Parent.empty() && g.Fonts.empty());
}

TEST(FontGroupElements, WriteElementEscapes) {
  EXPECT_EQ(FontGroup::WriteElement(L"<&>", L"t"), L"<t>&lt;&amp;&gt;</t>\r\n");
}
