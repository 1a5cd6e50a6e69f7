// Walks over group trees: file chains, deleting subtrees, collecting fonts, installed marks,
// and hand-made cycles.
#include "tests/groups/GroupsTestEnv.h"

#include "groups/GroupFileTree.h"
#include "groups/GroupNames.h"

namespace {

// The smallest list of fonts that CollectGroupFonts fills: a use count per name and path.
struct CountingList {
  struct Row {
    std::wstring name, path;
    int uses;
  };
  std::vector<Row> rows;
  void AddGroupFont(const std::wstring& name, const std::wstring& path) {
    for (Row& r : rows)
      if (r.name == name && EqualsNoCase(r.path, path)) {
        ++r.uses;
        return;
      }
    rows.push_back({name, path, 1});
  }
};

std::wstring G(int n) { return FormatGroupFileName(n); }

}  // namespace

TEST_F(GroupsTest, FileChainFromTheRootDown) {
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1)});
  MakeGroup(G(1), L"A", kRootGroupFile, {G(2)});
  MakeGroup(G(2), L"B", G(1));
  EXPECT_EQ(BuildGroupFileChain(G(2), L"\\"), L"orvel_Root.xml\\orvelgrp00001.xml\\orvelgrp00002.xml");
  EXPECT_EQ(BuildGroupFileChain(kRootGroupFile, L"\\"), L"orvel_Root.xml");
  EXPECT_EQ(BuildGroupFileChain(L"", L"\\"), L"orvel_Root.xml");
  EXPECT_EQ(BuildGroupFileChain(G(7), L"*"), L"orvelgrp00007.xml") << "a missing file is its own chain";
}

TEST_F(GroupsTest, FileChainEndsOnCyclesAndForeignNames) {
  MakeGroup(G(1), L"A", G(2));
  MakeGroup(G(2), L"B", G(1));
  MakeGroup(G(3), L"Self", G(3));
  MakeGroup(G(4), L"Out", L"..\\orvel_Root.xml");
  EXPECT_EQ(BuildGroupFileChain(G(1), L"\\"), L"orvelgrp00002.xml\\orvelgrp00001.xml");
  EXPECT_EQ(BuildGroupFileChain(G(3), L"\\"), L"orvelgrp00003.xml");
  EXPECT_EQ(BuildGroupFileChain(G(4), L"\\"), L"orvelgrp00004.xml");
}

TEST_F(GroupsTest, DeleteRemovesTheSubtreeDepthFirst) {
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1)});
  MakeGroup(G(1), L"A", kRootGroupFile, {G(2), G(3)});
  MakeGroup(G(2), L"A1", G(1), {G(4)});
  MakeGroup(G(3), L"A2", G(1));
  MakeGroup(G(4), L"A1a", G(2));
  EXPECT_TRUE(DeleteGroupFileTree(G(1)));
  EXPECT_EQ(FolderFiles(), (std::vector<std::wstring>{L"orvel_Root.xml"}));
  EXPECT_FALSE(DeleteGroupFileTree(kRootGroupFile));
  EXPECT_FALSE(DeleteGroupFileTree(G(1))) << "already gone";
  EXPECT_TRUE(Exists(kRootGroupFile));
}

TEST_F(GroupsTest, DeleteTouchesOnlyWhatBelongsToTheGroup) {
  testing_support::ScratchDir outside;
  const std::wstring outsideFile = outside.File(L"orvelgrp00001.xml");
  const std::string keep = "keep";
  ASSERT_TRUE(testing_support::WriteFileBytes(outsideFile, keep.data(), keep.size()));

  MakeGroup(kRootGroupFile, L"Root", L"", {G(1), G(5)});
  MakeGroup(G(5), L"Other parent's child", kRootGroupFile);
  MakeGroup(G(6), L"Link target", kRootGroupFile);
  {
    FontGroup g;
    g.FileName = G(1);
    g.Name = L"Doomed";
    g.Parent = kRootGroupFile;
    g.AddNode(L"root", kRootGroupFile, false, false);
    g.AddNode(L"up", L"..\\orvelgrp00001.xml", false, false);
    g.AddNode(L"abs", outsideFile, false, false);
    g.AddNode(L"foreign", G(5), false, false);
    g.AddNode(L"self", G(1), false, false);
    g.AddNode(L"link", G(6), false, true);
    ASSERT_TRUE(g.Save());
  }
  EXPECT_TRUE(DeleteGroupFileTree(G(1)));
  EXPECT_EQ(FolderFiles(), (std::vector<std::wstring>{L"orvel_Root.xml", G(5), G(6)}));
  EXPECT_EQ(testing_support::ReadFileBytes(outsideFile), keep);
}

TEST_F(GroupsTest, DeleteTakesAMissingChildAsGoneAndStopsAtAnUnreadableOne) {
  MakeGroup(G(1), L"A", kRootGroupFile, {G(2), G(3)});
  MakeGroup(G(3), L"A2", G(1));
  EXPECT_TRUE(DeleteGroupFileTree(G(1))) << "G(2) is missing: nothing left to delete there";
  EXPECT_TRUE(FolderFiles().empty());
  EXPECT_FALSE(DeleteGroupFileTree(G(1))) << "the group named must exist";

  MakeGroup(G(1), L"A", kRootGroupFile, {G(2), G(3)});
  MakeGroup(G(2), L"A1", G(1));
  WriteRaw(G(3), "<OrvelFontGroups><Name>cut");
  EXPECT_FALSE(DeleteGroupFileTree(G(1)));
  EXPECT_TRUE(Exists(G(1)));
  EXPECT_EQ(ReadRaw(G(3)), "<OrvelFontGroups><Name>cut");
}

TEST_F(GroupsTest, DeleteEndsOnACycle) {
  MakeGroup(G(1), L"A", G(2), {G(2)});
  MakeGroup(G(2), L"B", G(1), {G(1)});
  EXPECT_TRUE(DeleteGroupFileTree(G(1)));
  EXPECT_TRUE(FolderFiles().empty());
}

TEST_F(GroupsTest, WalksEndOnCyclesAndSurviveDeepChains) {
  MakeGroup(G(1), L"A", G(2), {G(2)}, {L"Shared", L"OnlyA"});
  MakeGroup(G(2), L"B", G(1), {G(1)}, {L"Shared"});
  int visits = 0;
  EXPECT_TRUE(WalkGroupTree(G(1), [&visits](FontGroup&) { return ++visits < 100; }));
  EXPECT_EQ(visits, 2);

  // A chain far deeper than any recursion could take.
  constexpr int kDepth = 2000;
  for (int i = 10; i < 10 + kDepth; ++i) {
    WriteRaw(G(i), testing_support::Narrow(L"<OrvelFontGroups><Parent>" + G(i - 1) + L"</Parent><orvelnodes><node><file>" +
                                           G(i + 1) + L"</file></node></orvelnodes></OrvelFontGroups>"));
  }
  visits = 0;
  EXPECT_TRUE(WalkGroupTree(G(10), [&visits](FontGroup&) { ++visits; return true; }));
  EXPECT_EQ(visits, kDepth);
  EXPECT_EQ(BuildGroupFileChain(G(9 + kDepth), L"\\").size(), (kDepth + 1) * (17 + 1) - 1u);
  EXPECT_FALSE(WalkGroupTree(G(10), [](FontGroup&) { return false; }));
}

TEST_F(GroupsTest, CollectCountsARepeatedFont) {
  MakeGroup(G(1), L"Top", kRootGroupFile, {G(2), G(3)}, {L"Arial"});
  MakeGroup(G(2), L"Left", G(1), {}, {L"Arial", L"Serif"});
  MakeGroup(G(3), L"Right", G(1), {G(1)}, {L"Serif"});  // and a node back to the top
  {
    FontGroup g;
    ASSERT_TRUE(g.Load(G(3)));
    g.AddFont(L"Arial", L"C:\\OTHER\\Arial.ttf");  // another file: another row
    ASSERT_TRUE(g.Save());
  }
  CountingList list;
  ASSERT_TRUE(CollectGroupFonts(list, G(1)));
  ASSERT_EQ(list.rows.size(), 3u);
  EXPECT_EQ(list.rows[0].name, L"Arial");
  EXPECT_EQ(list.rows[0].uses, 2);
  EXPECT_EQ(list.rows[1].name, L"Serif");
  EXPECT_EQ(list.rows[1].uses, 2);
  EXPECT_EQ(list.rows[2].path, L"C:\\OTHER\\Arial.ttf");
  EXPECT_EQ(list.rows[2].uses, 1);
}

TEST_F(GroupsTest, CollectStopsOnEscBehindOtherKeys) {
  MakeGroup(G(1), L"Top", kRootGroupFile, {}, {L"Arial"});
  // A key typed before the Esc, and its character, come first in the queue.
  const std::vector<std::pair<UINT, WPARAM>> typed = {
      {WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}, {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}};
  for (const auto& [message, key] : typed) ASSERT_TRUE(::PostThreadMessageW(::GetCurrentThreadId(), message, key, 0));
  CountingList list;
  EXPECT_FALSE(CollectGroupFonts(list, G(1)));
  EXPECT_TRUE(IsEscapePending());

  // Every key is left in the queue, in the order it was typed.
  std::vector<std::pair<UINT, WPARAM>> left;
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) left.emplace_back(msg.message, msg.wParam);
  EXPECT_EQ(left, typed);
  EXPECT_FALSE(IsEscapePending());
  EXPECT_TRUE(CollectGroupFonts(list, G(1)));
  EXPECT_EQ(list.rows.size(), 1u);
}

TEST_F(GroupsTest, InstalledMarksSkipMissingAndUnreadableFiles) {
  MakeGroup(G(1), L"Top", kRootGroupFile, {G(2), G(3), G(4)});
  MakeGroup(G(2), L"Child", G(1), {G(1)});
  WriteRaw(G(4), "garbage that is no group");
  SetGroupTreeInstalled(G(1), true);
  for (int n : {1, 2}) {
    FontGroup g;
    ASSERT_TRUE(g.Load(G(n)));
    EXPECT_TRUE(g.Installed) << n;
  }
  EXPECT_FALSE(Exists(G(3))) << "a missing child is not created";
  EXPECT_EQ(ReadRaw(G(4)), "garbage that is no group");
  SetGroupTreeInstalled(G(1), false);
  FontGroup g;
  ASSERT_TRUE(g.Load(G(2)));
  EXPECT_FALSE(g.Installed);
}
