// Damaged group files through the group checks and the groups tree: a file that is read only in
// part is listed with the groups cut loose, gathered under the recovery group, and stays byte for
// byte when the user deletes the recovery group again.
#include "tests/groups/GroupsTreeHost.h"

#include <algorithm>

#include "groups/GroupFileChecker.h"

namespace {

const std::wstring kRecovery = FormatGroupFileName(kRecoveryGroupNumber);

// A group file whose node section holds an empty node before a real one.
const std::string kPartlyReadable =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<OrvelFontGroups>\r\n<Name>Hand edited</Name>\r\n"
    "<Parent>orvel_Root.xml</Parent>\r\n<orvelnodes>\r\n\t<node></node>\r\n\t<node>\r\n\t<name>Behind</name>\r\n"
    "\t<file>orvelgrp00004.xml</file>\r\n\t</node>\r\n</orvelnodes>\r\n</OrvelFontGroups>\r\n";

}  // namespace

TEST_F(GroupsTreeTest, DamagedFilesAreGatheredAndOutliveTheRecoveredGroup) {
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1), G(2)});
  MakeGroup(G(1), L"Kept", kRootGroupFile);
  WriteRaw(G(2), kPartlyReadable);
  MakeGroup(G(3), L"Orphan", G(9));  // its parent file is gone
  MakeGroup(G(4), L"Behind", G(2));

  GroupFileChecker checker;
  ASSERT_TRUE(checker.Run());
  std::vector<std::wstring> broken;
  for (const GroupCheckRecord& r : checker.BrokenChains) broken.push_back(r.Text3 + L"|" + r.Text4);
  std::sort(broken.begin(), broken.end());
  // The damaged file is listed under its file name; the group behind it is reached through what
  // was read of it, as the tree shows it.
  EXPECT_EQ(broken, (std::vector<std::wstring>{L"Orphan|" + G(3), G(2) + L"|" + G(2)}));
  EXPECT_TRUE(FlushGroupFileNotices()) << "the damaged file is reported";
  ASSERT_TRUE(checker.GatherBrokenChains());
  EXPECT_EQ(ReadRaw(G(2)), kPartlyReadable);

  Tree().Init();
  HTREEITEM root = Tree().GetRootItem();
  HTREEITEM recovered = Tree().FindChildByFile(root, kRecovery);
  ASSERT_NE(recovered, nullptr);
  testing_support::SetBoxAnswer(IDYES);
  EXPECT_TRUE(Tree().DeleteGroup(recovered));

  // The recovery group and the root's entry for it are gone; every group it listed stays.
  EXPECT_FALSE(Exists(kRecovery));
  EXPECT_EQ(NodeNames(kRootGroupFile), (std::vector<std::wstring>{G(1) + L" name", G(2) + L" name"}));
  EXPECT_EQ(ChildTexts(root), (std::vector<std::wstring>{L"Hand edited", L"Kept"})) << "the damaged group is shown";
  EXPECT_EQ(ReadRaw(G(2)), kPartlyReadable);
  EXPECT_EQ(Group(G(3)).Name, L"Orphan");
  EXPECT_EQ(Group(G(4)).Parent, G(2));
}
