// The groups tree as a real window over real group files: building, lazy branches, damaged
// files, new, rename, delete, install and uninstall of whole groups, and cycles.
#include "tests/groups/GroupsTreeHost.h"

#include "framework/Handles.h"
#include "groups/GroupFileTree.h"
#include "lists/CLVGroupFonts.h"
#include "lists/FontItemList.h"

namespace {

// Stands in for the font installer: records what it is given and answers as told.
struct FakeInstaller : GroupFontInstaller {
  struct Call {
    UINT command;
    std::vector<std::pair<std::wstring, int>> fonts;  // name and count
  };
  std::vector<Call> calls;
  bool succeed = true;
  bool Run(UINT command, FontItemList& fonts, HWND, FontChanges&) override {
    Call call{command, {}};
    for (const FontItemListEntry& e : fonts.Entries()) call.fonts.emplace_back(e.record.displayName, e.count);
    calls.push_back(call);
    return succeed;
  }
};

void PressKey(HWND wnd, UINT key) {
  ::SendMessageW(wnd, WM_KEYDOWN, key, 1);
  ::SendMessageW(wnd, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

TEST_F(GroupsTreeTest, FirstStartCreatesTheRootGroup) {
  Tree().Init();
  EXPECT_FALSE(Tree().IsInitPending());
  EXPECT_EQ(ChildTexts(nullptr), std::vector<std::wstring>{L"Orvel Classification"});
  const FontGroup root = Group(kRootGroupFile);
  EXPECT_EQ(root.LoadState(), GroupLoadState::kLoaded);
  EXPECT_EQ(root.Name, L"Orvel Classification");
  EXPECT_TRUE(HasButton(Tree().GetRootItem())) << "the root always offers its button";
  EXPECT_TRUE(testing_support::Boxes().empty());
}

TEST_F(GroupsTreeTest, ShowsTheGroupsSortedAndReadsEachBranchWhenItOpens) {
  MakeGroup(kRootGroupFile, L"My Groups", L"", {G(1), G(2), G(3), G(9)});
  MakeGroup(G(1), L"Zeta", kRootGroupFile);
  MakeGroup(G(2), L"alpha", kRootGroupFile, {G(4)}, {L"Arial"});
  MakeGroup(G(3), L"Beta", kRootGroupFile, {G(8)});  // its only child file is missing
  MakeGroup(G(4), L"Grand", G(2));
  Tree().Init();
  HTREEITEM root = Tree().GetRootItem();
  EXPECT_EQ(Text(root), L"My Groups");
  EXPECT_EQ(ChildTexts(root), (std::vector<std::wstring>{L"alpha", L"Beta", L"Zeta"})) << "G(9) is missing: no item";
  HTREEITEM alpha = Tree().FindChildByFile(root, G(2));
  HTREEITEM beta = Tree().FindChildByFile(root, G(3));
  EXPECT_TRUE(HasButton(alpha));
  EXPECT_TRUE(HasButton(beta)) << "the node count decides, not whether the child exists";
  EXPECT_FALSE(HasButton(Tree().FindChildByFile(root, G(1))));
  EXPECT_EQ(Tree().GetChildItem(alpha), nullptr) << "branches are read when first opened";
  EXPECT_EQ(Tree().FindItemByFile(G(4)), nullptr);

  HTREEITEM grand = Tree().SelectGroupByFile(G(4), -1);
  ASSERT_NE(grand, nullptr);
  EXPECT_EQ(Tree().GetSelectedItem(), grand);
  EXPECT_EQ(Text(grand), L"Grand");
  EXPECT_EQ(Tree().GetItemFile(), G(4));
  EXPECT_TRUE(Tree().IsFileOnAncestorPath(G(2)));
  EXPECT_FALSE(Tree().IsFileOnAncestorPath(G(3)));
  Tree().Expand(beta, TVE_EXPAND);
  EXPECT_EQ(Tree().GetChildItem(beta), nullptr);

  // Closing a branch drops its items; opening it again reads the files again.
  Tree().SelectItem(alpha);
  PressKey(Tree().m_hWnd, VK_LEFT);
  EXPECT_EQ(Tree().GetChildItem(alpha), nullptr);
  MakeGroup(G(5), L"Added", G(2));
  MakeGroup(G(2), L"alpha", kRootGroupFile, {G(4), G(5)});
  PressKey(Tree().m_hWnd, VK_RIGHT);
  EXPECT_EQ(ChildTexts(alpha), (std::vector<std::wstring>{L"Added", L"Grand"}));
}

TEST_F(GroupsTreeTest, DamagedFilesAreShownAsReadAndKeptByteForByte) {
  // A root with an element the format has no place for, a child cut off in its fonts, and a
  // sound group below the damaged one.
  const std::string root = "<OrvelFontGroups><Name>Hand Root</Name><Extra>x</Extra><orvelnodes>"
                           "<node><name>a</name><file>orvelgrp00001.xml</file></node>"
                           "<node><name>b</name><file>orvelgrp00002.xml</file></node></orvelnodes></OrvelFontGroups>";
  const std::string child = "<OrvelFontGroups><Name>Cut</Name><Parent>orvel_Root.xml</Parent><orvelnodes><node>"
                            "<name>g</name><file>orvelgrp00003.xml</file></node></orvelnodes><fonts><font><name>F</name>"
                            "<path>C:\\f.ttf</path></font><font><name>Hal";
  WriteRaw(kRootGroupFile, root);
  MakeGroup(G(1), L"Sound", kRootGroupFile);
  WriteRaw(G(2), child);
  MakeGroup(G(3), L"Grand", G(2));
  {
    FontGroup g;
    ASSERT_TRUE(g.Load(G(3)));
    g.Installed = true;
    ASSERT_TRUE(g.Save());
  }
  Tree().Init();
  EXPECT_TRUE(testing_support::Boxes().empty()) << "shown once the action is done";
  EXPECT_TRUE(FlushGroupFileNotices());
  ASSERT_EQ(testing_support::Boxes().size(), 1u) << "one box at start";
  const std::wstring& told = testing_support::Boxes()[0].text;
  EXPECT_TRUE(told.find(L"orvel_Root.xml") != std::wstring::npos && told.find(G(2)) != std::wstring::npos) << testing_support::Narrow(told);

  HTREEITEM top = Tree().GetRootItem();
  EXPECT_EQ(Text(top), L"Hand Root");
  EXPECT_EQ(ChildTexts(top), (std::vector<std::wstring>{L"Cut", L"Sound"})) << "a damaged root keeps its children";
  HTREEITEM cut = Tree().FindChildByFile(top, G(2));
  ASSERT_TRUE(cut);
  EXPECT_TRUE(Tree().GetItemRecord(cut)->Damaged);
  EXPECT_TRUE(Tree().GetItemRecord(top)->Damaged);
  EXPECT_FALSE(Tree().GetItemRecord(Tree().FindChildByFile(top, G(1)))->Damaged);
  EXPECT_EQ(Tree().GetItemRecord(cut)->FontCount, 1) << "the fonts read before the cut";
  Tree().Expand(cut, TVE_EXPAND);
  EXPECT_EQ(ChildTexts(cut), std::vector<std::wstring>{L"Grand"}) << "a damaged group can be opened";

  // Every change to a damaged file is refused, told once per action, and writes nothing.
  Tree().SelectItem(cut);
  EXPECT_EQ(::SendMessageW(Tree().m_hWnd, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(cut)), 0) << "no rename";
  Tree().NewGroup();
  EXPECT_TRUE(FlushGroupFileNotices());
  EXPECT_FALSE(FlushGroupFileNotices());
  Tree().SelectItem(top);
  Tree().ClearInstalledMarks();
  EXPECT_TRUE(FlushGroupFileNotices());
  EXPECT_FALSE(Group(G(3)).Installed) << "the sound group below the damaged one is reached";
  testing_support::SetBoxAnswer(IDYES);
  EXPECT_FALSE(Tree().DeleteGroup(cut));
  EXPECT_FALSE(Tree().DeleteGroup(Tree().FindChildByFile(top, G(1)))) << "its damaged parent would keep listing it";
  EXPECT_EQ(ReadRaw(kRootGroupFile), root);
  EXPECT_EQ(ReadRaw(G(2)), child);
  EXPECT_EQ(FolderFiles(), (std::vector<std::wstring>{kRootGroupFile, G(1), G(2), G(3)})) << "no group made or deleted";
}

TEST_F(GroupsTreeTest, GroupsWithoutANameAreLabelledSortedAndGreyedAfterARefresh) {
  // Damaged before their Name: a reference to no character in it (the node names the group),
  // a repeated attribute (the node names it not); a sound group whose file names none; a
  // broken declaration, read past for showing.
  const std::string noCharacter = "<OrvelFontGroups><Name>&#0;Unread</Name></OrvelFontGroups>";
  const std::string repeatedAttribute = "<OrvelFontGroups><x a=\"1\" a=\"2\"/><Name>Unread</Name></OrvelFontGroups>";
  const std::string brokenDeclaration = "<?xml version=\"1,0\"?>\r\n<OrvelFontGroups><Name>Read</Name></OrvelFontGroups>";
  {
    FontGroup root;
    root.FileName = kRootGroupFile;
    root.Name = L"Root";
    root.AddNode(L"Alpha", G(1), false, false);
    root.AddNode(L"Delta node", G(2), false, false);
    root.AddNode(L"", G(3), false, false);
    root.AddNode(L"Zulu", G(4), false, false);
    root.AddNode(L"Kilo node", G(5), false, false);
    root.AddNode(L"Unused node name", G(6), false, false);
    ASSERT_TRUE(root.Save());
  }
  MakeGroup(G(1), L"Alpha", kRootGroupFile);
  WriteRaw(G(2), noCharacter);
  WriteRaw(G(6), brokenDeclaration);
  WriteRaw(G(3), repeatedAttribute);
  MakeGroup(G(4), L"Zulu", kRootGroupFile);
  MakeGroup(G(5), L"", kRootGroupFile);
  Tree().Init();
  HTREEITEM root = Tree().GetRootItem();
  const std::vector<std::wstring> labels{L"Alpha", L"Delta node", L"Kilo node", G(3), L"Read", L"Zulu"};
  EXPECT_EQ(ChildTexts(root), labels) << "no blank item, each in its sorted place";
  const auto damaged = [&](int n) { return Tree().GetItemRecord(Tree().FindChildByFile(root, G(n)))->Damaged; };
  EXPECT_TRUE(damaged(2) && damaged(3) && damaged(6));
  EXPECT_FALSE(damaged(5));

  // A refresh brings the same look; a branch read again the same order.
  for (int n : {2, 3, 6}) Tree().RefreshItem(Tree().FindChildByFile(root, G(n)), true);
  Tree().RefreshItem(root, true);
  EXPECT_TRUE(damaged(2) && damaged(3) && damaged(6));
  Tree().CollapseReset(root);
  Tree().Expand(root, TVE_EXPAND);
  EXPECT_EQ(ChildTexts(root), labels);
  EXPECT_TRUE(damaged(2) && damaged(3) && damaged(6));
  Tree().SelectItem(root);
  Tree().ClearInstalledMarks();
  EXPECT_EQ(ReadRaw(G(2)), noCharacter);
  EXPECT_EQ(ReadRaw(G(3)), repeatedAttribute);
  EXPECT_EQ(ReadRaw(G(6)), brokenDeclaration);
}

TEST_F(GroupsTreeTest, AnUnreadableRootOrOneWithABrokenDeclarationStaysGreyedWhenRefreshed) {
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1)});
  MakeGroup(G(1), L"Child", kRootGroupFile);
  {
    // Held open without sharing: the file exists and cannot be read.
    orv::ScopedHandle held(::CreateFileW(PathOf(kRootGroupFile).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.IsValid());
    Tree().Init();
    HTREEITEM root = Tree().GetRootItem();
    EXPECT_EQ(Text(root), L"Orvel Classification");
    EXPECT_TRUE(Tree().GetItemRecord(root)->Damaged);
    Tree().RefreshItem(root, false);
    EXPECT_TRUE(Tree().GetItemRecord(root)->Damaged) << "one rule for inserting and refreshing";
    Tree().RefreshItem(root, true);
    EXPECT_TRUE(Tree().GetItemRecord(root)->Damaged);
  }
  const std::string broken = "<?xml version=\"1.0\" standalone=\"maybe\"?><OrvelFontGroups><Name>Root</Name><orvelnodes>"
                             "<node><name>Child</name><file>orvelgrp00001.xml</file></node></orvelnodes></OrvelFontGroups>";
  WriteRaw(kRootGroupFile, broken);
  Tree().Reload();
  HTREEITEM root = Tree().GetRootItem();
  EXPECT_EQ(Text(root), L"Root");
  EXPECT_EQ(ChildTexts(root), std::vector<std::wstring>{L"Child"}) << "read past the declaration, it keeps its children";
  Tree().RefreshItem(root, true);
  EXPECT_TRUE(Tree().GetItemRecord(root)->Damaged);
  Tree().SelectItem(root);
  Tree().ClearInstalledMarks();
  EXPECT_EQ(ReadRaw(kRootGroupFile), broken);
  (void)FlushGroupFileNotices();
}

TEST_F(GroupsTreeTest, NewGroupsGetUniqueNamesAndTheInstalledFlagOfTheirParent) {
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1), G(2), G(3)});
  MakeGroup(G(1), L"New Group", kRootGroupFile);
  MakeGroup(G(2), L"New Group(1)", kRootGroupFile);
  {
    FontGroup installed;
    installed.FileName = G(3);
    installed.Name = L"Installed";
    installed.Parent = kRootGroupFile;
    installed.Installed = true;
    ASSERT_TRUE(installed.Save());
  }
  NameNodesAfterChildren(kRootGroupFile);
  Tree().Init();
  HTREEITEM root = Tree().GetRootItem();
  Tree().SelectItem(root);
  PressKey(Tree().m_hWnd, VK_INSERT);
  HTREEITEM made = Tree().GetSelectedItem();
  ASSERT_NE(made, root);
  EXPECT_EQ(Text(made), L"New Group(2)");
  HWND edit = reinterpret_cast<HWND>(Tree().SendMessage(TVM_GETEDITCONTROL));
  EXPECT_NE(edit, nullptr) << "the new group's label is open for editing";
  Tree().SendMessage(TVM_ENDEDITLABELNOW, TRUE);
  const std::wstring file = Tree().GetItemFile(made);
  EXPECT_EQ(Group(file).Parent, kRootGroupFile);
  EXPECT_EQ(NodeNames(kRootGroupFile), (std::vector<std::wstring>{L"Installed", L"New Group", L"New Group(1)", L"New Group(2)"}));

  // Under an installed group the new group is installed too, and looks it.
  Tree().SelectItem(Tree().FindChildByFile(root, G(3)));
  Tree().NewGroup();
  Tree().SendMessage(TVM_ENDEDITLABELNOW, TRUE);
  HTREEITEM child = Tree().GetSelectedItem();
  EXPECT_TRUE(Group(Tree().GetItemFile(child)).Installed);
  EXPECT_TRUE(LooksInstalled(child));
}

TEST_F(GroupsTreeTest, RenameKeepsTheParentSortedAndRefusesASiblingsName) {
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1), G(2)});
  MakeGroup(G(1), L"Apple", kRootGroupFile);
  MakeGroup(G(2), L"Mango", kRootGroupFile);
  NameNodesAfterChildren(kRootGroupFile);
  Tree().Init();
  HTREEITEM apple = Tree().FindChildByFile(Tree().GetRootItem(), G(1));
  const std::string rootBytes = ReadRaw(kRootGroupFile), appleBytes = ReadRaw(G(1));
  EXPECT_FALSE(Tree().RenameGroup(apple, L"mANGO"));
  EXPECT_EQ(testing_support::Beeps(), std::vector<UINT>{0});
  EXPECT_EQ(ReadRaw(kRootGroupFile), rootBytes);
  EXPECT_EQ(ReadRaw(G(1)), appleBytes);

  // The label edit of the tree renames.
  Tree().SelectItem(apple);
  PressKey(Tree().m_hWnd, VK_F2);
  HWND edit = reinterpret_cast<HWND>(Tree().SendMessage(TVM_GETEDITCONTROL));
  ASSERT_NE(edit, nullptr);
  ::SetWindowTextW(edit, L"Zebra");
  Tree().SendMessage(TVM_ENDEDITLABELNOW, FALSE);
  EXPECT_EQ(Group(G(1)).Name, L"Zebra");
  EXPECT_EQ(NodeNames(kRootGroupFile), (std::vector<std::wstring>{L"Mango", L"Zebra"})) << "still sorted";
  EXPECT_EQ(ChildTexts(Tree().GetRootItem()), (std::vector<std::wstring>{L"Mango", L"Zebra"}));
}

TEST_F(GroupsTreeTest, DeleteAsksForAGroupWithContentAndRemovesItsFiles) {
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1), G(2)});
  MakeGroup(G(1), L"Empty", kRootGroupFile);
  MakeGroup(G(2), L"Full", kRootGroupFile, {G(3)}, {L"Arial"});
  MakeGroup(G(3), L"Inner", G(2));
  Tree().Init();
  HTREEITEM root = Tree().GetRootItem();
  EXPECT_FALSE(Tree().DeleteGroup(root));

  EXPECT_TRUE(Tree().DeleteGroup(Tree().FindChildByFile(root, G(1))));
  EXPECT_TRUE(testing_support::Boxes().empty()) << "an empty group goes without a question";
  EXPECT_FALSE(Exists(G(1)));

  const std::string before = ReadRaw(kRootGroupFile);
  testing_support::SetBoxAnswer(IDNO);
  EXPECT_FALSE(Tree().DeleteGroup(Tree().FindChildByFile(root, G(2))));
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_NE(testing_support::Boxes()[0].text.find(L"Full"), std::wstring::npos);
  EXPECT_EQ(ReadRaw(kRootGroupFile), before);

  testing_support::SetBoxAnswer(IDYES);
  Tree().SelectItem(Tree().FindChildByFile(root, G(2)));
  PressKey(Tree().m_hWnd, VK_DELETE);
  EXPECT_EQ(FolderFiles(), std::vector<std::wstring>{kRootGroupFile});
  EXPECT_TRUE(Group(kRootGroupFile).Nodes.empty());
  EXPECT_TRUE(ChildTexts(root).empty());
}

TEST_F(GroupsTreeTest, InstallHandsEachFontOnceAndMarksTheWholeSubtree) {
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1)});
  MakeGroup(G(1), L"Top", kRootGroupFile, {G(2)}, {L"Arial", L"Serif"});
  MakeGroup(G(2), L"Below", G(1), {}, {L"Arial"});
  Tree().Init();
  HTREEITEM top = Tree().FindChildByFile(Tree().GetRootItem(), G(1));
  Tree().SelectItem(top);
  Tree().Expand(top, TVE_EXPAND);
  EXPECT_FALSE(Tree().CanInstallGroup(true)) << "no installer: nothing to install with";
  Tree().InstallGroup(true);
  EXPECT_FALSE(Group(G(1)).Installed);

  FakeInstaller installer;
  SetGroupFontInstaller(&installer);
  installer.succeed = false;
  Tree().SendMessage(WM_COMMAND, ID_GROUP_INSTALL);
  ASSERT_EQ(installer.calls.size(), 1u);
  EXPECT_FALSE(Group(G(1)).Installed) << "a failed install marks nothing";

  // Esc waiting in the queue abandons the collection before the installer runs.
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
  Tree().InstallGroup(true);
  EXPECT_EQ(installer.calls.size(), 1u);
  MSG msg;
  ::PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);

  installer.succeed = true;
  Tree().InstallGroup(true);
  ASSERT_EQ(installer.calls.size(), 2u);
  EXPECT_EQ(installer.calls[1].command, kGroupInstallCommand);
  EXPECT_EQ(installer.calls[1].fonts, (std::vector<std::pair<std::wstring, int>>{{L"Arial", 2}, {L"Serif", 1}}));
  EXPECT_TRUE(Group(G(1)).Installed && Group(G(2)).Installed);
  EXPECT_TRUE(LooksInstalled(top));
  EXPECT_TRUE(LooksInstalled(Tree().GetChildItem(top)));
  EXPECT_EQ(Tree().GetItemState(top) & 1, 1u);
  EXPECT_FALSE(Tree().CanInstallGroup(true));
  Tree().InstallGroup(true);
  EXPECT_EQ(installer.calls.size(), 2u) << "an installed group is not installed again";

  Tree().SendMessage(WM_COMMAND, ID_GROUP_UNINSTALL);
  ASSERT_EQ(installer.calls.size(), 3u);
  EXPECT_EQ(installer.calls[2].command, kGroupUninstallCommand);
  EXPECT_FALSE(Group(G(1)).Installed || Group(G(2)).Installed);
  EXPECT_FALSE(LooksInstalled(top));
}

TEST_F(GroupsTreeTest, FontsAddedToAGroupGoInOnce) {
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1)});
  MakeGroup(G(1), L"Target", kRootGroupFile);
  Tree().Init();
  HTREEITEM target = Tree().FindChildByFile(Tree().GetRootItem(), G(1));
  FontItemList list;
  for (const wchar_t* name : {L"Kept", L"Unmarked"}) {
    FontItem item;
    item.displayName = name;
    item.fullPath = item.fileRef = std::wstring(L"C:\\Fonts\\") + name + L".ttf";
    item.flags = font_flags::kRead | font_flags::kSfnt;
    list.AddUnique(item, 0);
  }
  std::next(list.Entries().begin())->marked = false;
  Tree().AddFontsToGroup(list, target);
  Tree().AddFontsToGroup(list, target);
  const FontGroup g = Group(G(1));
  ASSERT_EQ(g.Fonts.size(), 1u);
  EXPECT_EQ(g.Fonts[0].Name, L"Kept");
  EXPECT_EQ(g.Fonts[0].Path, L"C:\\Fonts\\Kept.ttf");
  EXPECT_TRUE(Tree().IsItemNonEmpty(target));
}

TEST_F(GroupsTreeTest, CyclesOfParentLinksEnd) {
  MakeGroup(kRootGroupFile, L"Root", L"");
  MakeGroup(G(1), L"A", G(2));
  MakeGroup(G(2), L"B", G(1));
  MakeGroup(G(3), L"Self", G(3));
  Tree().Init();
  EXPECT_EQ(Tree().SelectGroupByFile(G(1), -1), nullptr);
  EXPECT_EQ(Tree().SelectGroupByFile(G(3), 0), nullptr);
  EXPECT_EQ(Tree().GetSelectedItem(), nullptr);
}

TEST_F(GroupsTreeTest, CopiesAndCountsOfGroupTreesEndOnCycles) {
  MakeGroup(G(1), L"A", kRootGroupFile, {G(2)}, {L"One"});
  MakeGroup(G(2), L"B", G(1), {G(1), G(3)}, {L"Two", L"Three"});  // B lists A again
  MakeGroup(G(3), L"C", G(2), {G(3)});                            // C lists itself
  int64_t count = 0;
  CountGroupFonts(G(1), count);
  EXPECT_EQ(count, 3);
  std::wstring copy = G(1);
  ASSERT_TRUE(CopyGroupTree(copy, kRootGroupFile, L"A copy"));
  EXPECT_NE(copy, G(1));
  EXPECT_EQ(FolderFiles().size(), 6u) << "A, B and C copied once each";
  const FontGroup a = Group(copy);
  EXPECT_EQ(a.Name, L"A copy");
  ASSERT_EQ(a.Nodes.size(), 1u);
  const FontGroup b = Group(a.Nodes[0].Path);
  EXPECT_EQ(b.Parent, copy);
  ASSERT_EQ(b.Nodes.size(), 1u) << "the node back to A is not copied";
  EXPECT_TRUE(Group(b.Nodes[0].Path).Nodes.empty()) << "nor the node of C to itself";
  std::wstring missing = G(50);
  EXPECT_FALSE(CopyGroupTree(missing, kRootGroupFile, L""));
}
