// File names the store may touch, new group file names and unique child names.
#include "tests/groups/GroupsTestEnv.h"

#include "groups/GroupNames.h"

TEST(GroupNames, WhichNamesAreGroupFiles) {
  struct Case {
    const wchar_t* name;
    bool ok;
  } cases[] = {
      {L"orvel_Root.xml", true},       {L"orvelgrp00001.xml", true},   {L"ORVELGRP99999.XML", true},
      {L"orvel.xml", true},            {L"orvelgrp1.xml", true},       {L"Orvel Backup.xml", true},
      {L"..\\orvel_Root.xml", false},  {L"a\\orvelgrp00001.xml", false}, {L"orvel/x.xml", false},
      {L"C:orvelgrp00001.xml", false}, {L"C:\\orvel.xml", false},      {L"orvel*.xml", false},
      {L"orvel?.xml", false},          {L"orvelgrp.xml.bak", false},   {L"xorvel.xml", false},
      {L"orvel..xml", false},          {L"orvel\t.xml", false},        {L"orvel|.xml", false},
      {L"", false},                    {L".xml", false},               {L"orvel", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsGroupFileName(c.name), c.ok) << testing_support::Narrow(c.name);
  EXPECT_FALSE(IsGroupFileName(L"orvel" + std::wstring(300, L'a') + L".xml"));
  EXPECT_TRUE(IsRootGroupFile(L"ORVEL_root.XML"));
}

TEST(GroupNames, Numbers) {
  EXPECT_EQ(FormatGroupFileName(1), L"orvelgrp00001.xml");
  EXPECT_EQ(FormatGroupFileName(99998), L"orvelgrp99998.xml");
  EXPECT_EQ(GroupFileNumber(L"orvelgrp00042.xml"), 42);
  EXPECT_EQ(GroupFileNumber(L"ORVELGRP00042.XML"), 42);
  EXPECT_EQ(GroupFileNumber(L"orvelgrp0042.xml"), -1);
  EXPECT_EQ(GroupFileNumber(L"orvelgrp0004a.xml"), -1);
  EXPECT_EQ(GroupFileNumber(L"orvel_Root.xml"), -1);
  EXPECT_EQ(GroupFileNumber(L""), -1);

  std::vector<bool> taken(100000, true);
  EXPECT_EQ(PickFreeGroupNumber(taken, -1), 0) << "99999 is never handed out";
  taken[99999] = false;
  EXPECT_EQ(PickFreeGroupNumber(taken, -1), 0);
  taken[99998] = false;
  EXPECT_EQ(PickFreeGroupNumber(taken, -1), 99998);
  EXPECT_EQ(PickFreeGroupNumber(taken, 99998), 0);
  EXPECT_EQ(PickFreeGroupNumber({}, -1), 1);
  EXPECT_EQ(PickFreeGroupNumber({}, 1), 2);
}

TEST_F(GroupsTest, NewFileNamesSkipTakenNumbersAndTheParent) {
  FontGroup g;
  EXPECT_EQ(g.NewFileName(), L"orvelgrp00001.xml");
  g.Parent = L"ORVELGRP00001.XML";
  EXPECT_EQ(g.NewFileName(), L"orvelgrp00002.xml") << "the Parent's number even without its file";
  g.Parent.clear();
  WriteRaw(L"orvelgrp00001.xml", "x");
  WriteRaw(L"ORVELGRP00002.XML", "x");
  WriteRaw(L"orvelgrp00004.xml", "x");
  ::CreateDirectoryW(PathOf(L"orvelgrp00003.xml").c_str(), nullptr);
  EXPECT_EQ(g.NewFileName(), L"orvelgrp00005.xml");

  // A new group saved into the folder takes that name and leaves the others alone.
  FontGroup fresh;
  fresh.Name = L"New";
  ASSERT_TRUE(fresh.Save());
  EXPECT_EQ(fresh.FileName, L"orvelgrp00005.xml");
  EXPECT_EQ(ReadRaw(L"orvelgrp00001.xml"), "x");
  ::RemoveDirectoryW(PathOf(L"orvelgrp00003.xml").c_str());
}

TEST_F(GroupsTest, UniqueNames) {
  struct Case {
    const wchar_t* base;
    std::vector<std::wstring> siblings;
    const wchar_t* expected;
  } cases[] = {
      {L"New Group", {L"New Group", L"New Group(1)"}, L"New Group(2)"},
      {L"Serif(3)", {L"Serif(3)"}, L"Serif(4)"},
      {L"Serif(0)", {L"Serif(0)"}, L"Serif(0)(1)"},
      {L"Group(2)", {L"Group(2)", L"Group(3)"}, L"Group(4)"},
      {L"new group", {L"NEW GROUP"}, L"new group(1)"},
      {L"Free", {L"Other"}, L"Free"},
      {L"", {L""}, L"(1)"},
      {L"A(x)", {L"A(x)"}, L"A(x)(1)"},
      {L"A(7b)", {L"A(7b)"}, L"A(8)"},
      {L"A(-2)", {L"A(-2)"}, L"A(-1)"},
      {L"A (1) (2)", {L"A (1) (2)"}, L"A (1) (3)"},
      {L"Big(99999999999999999999)", {L"Big(99999999999999999999)"}, L"Big(1000000000000001)"},
      // The counter restarts the comparison from the first node each time.
      {L"S", {L"S(3)", L"S(2)", L"S(1)", L"S"}, L"S(4)"},
  };
  for (const Case& c : cases) {
    FontGroup g;
    int i = 1;
    for (const std::wstring& s : c.siblings) g.AddNode(s, FormatGroupFileName(i++), false, false);
    EXPECT_EQ(g.MakeUniqueName(c.base), c.expected) << testing_support::Narrow(c.base);
  }
}

TEST_F(GroupsTest, UniqueNameLoadsTheParentIntoTheRecord) {
  MakeGroup(L"orvel_Root.xml", L"Root", L"", {L"orvelgrp00001.xml", L"orvelgrp00002.xml"});
  FontGroup parent;
  ASSERT_TRUE(parent.Load(L"orvel_Root.xml"));
  parent.Nodes[0].Name = L"Sans";
  parent.Nodes[1].Name = L"Sans(1)";
  ASSERT_TRUE(parent.Save());

  FontGroup g;
  g.AddNode(L"Stale", L"orvelgrp00009.xml", false, false);
  EXPECT_EQ(g.MakeUniqueName(L"Sans", L"orvel_Root.xml"), L"Sans(2)");
  EXPECT_EQ(g.FileName, L"orvel_Root.xml");
  EXPECT_EQ(g.Nodes.size(), 2u);
  EXPECT_EQ(g.MakeUniqueName(L"Stale"), L"Stale");
}
