// The groups pane in the real main window over a scratch groups folder: its buttons follow the
// selected group, its menu offers what the group allows, and the quick-search band finds a font
// through the group tree.
#include "tests/app/GroupsMainFrame.h"

#include "app/PaneMenus.h"
#include "common/ResString.h"
#include "fonts/FontInstaller.h"

using namespace testing_support;

namespace {

class GroupsPane : public GroupsMainFrame {
protected:
  HWND Toolbar() { return frame_->Panes().m_groupsPane.m_hWndToolBar; }
  bool Enabled(int id) { return ::SendMessageW(Toolbar(), TB_ISBUTTONENABLED, id, 0) != 0; }
  bool Hidden(int id) { return ::SendMessageW(Toolbar(), TB_ISBUTTONHIDDEN, id, 0) != 0; }
};

UINT MenuState(HMENU menu, UINT id) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE;
  if (!::GetMenuItemInfoW(menu, id, FALSE, &info)) return 0xFFFF;  // no such item
  return info.fState & MFS_DISABLED;
}

}  // namespace

// With the program's installer, as the program has it from its start, a group that is not
// installed offers the install button and an installed one the uninstall button. Uninstalling a
// group none of whose fonts is installed says so and leaves its mark.
TEST_F(GroupsPane, InstallButtonsFollowTheSelectedGroup) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Plain"}, {G(2), L"Marked"}});
  Make(G(1), L"Plain", kRootGroupFile, {}, {{L"Arial", Font(L"Arial")}});
  Make(G(2), L"Marked", kRootGroupFile, {}, {{L"Arial", Font(L"Arial")}}, true);
  UseFontInstallerForGroups();
  CMainFrame& f = Open();
  HTREEITEM root = Tree().GetRootItem();
  ASSERT_NE(root, nullptr);
  Tree().SelectItem(Tree().FindChildByFile(root, G(1)));
  f.RunIdleJob();
  EXPECT_TRUE(Enabled(ID_GROUP_INSTALL));
  EXPECT_FALSE(Hidden(ID_GROUP_INSTALL));
  EXPECT_TRUE(Hidden(ID_GROUP_UNINSTALL));

  Tree().SelectItem(Tree().FindChildByFile(root, G(2)));
  f.RunIdleJob();
  EXPECT_TRUE(Enabled(ID_GROUP_UNINSTALL));
  EXPECT_FALSE(Hidden(ID_GROUP_UNINSTALL));
  EXPECT_TRUE(Hidden(ID_GROUP_INSTALL));
  ResetRecords();
  ::SendMessageW(f.Panes().m_groupsPane, WM_COMMAND, ID_GROUP_UNINSTALL, reinterpret_cast<LPARAM>(Toolbar()));
  ASSERT_EQ(Boxes().size(), 1u) << Narrow(Boxes().empty() ? std::wstring() : Boxes()[0].text);
  EXPECT_NE(Boxes()[0].text.find(LoadResString(IDS_NOTHING_TO_UNINSTALL)), std::wstring::npos);
  EXPECT_EQ(Boxes()[0].caption, LoadResString(kUninstallGroup));
  EXPECT_TRUE(Tree().IsItemInstalled());
  FontGroup marked;
  ASSERT_TRUE(marked.Load(G(2)));
  EXPECT_TRUE(marked.Installed);
}

TEST_F(GroupsPane, MenuOffersWhatTheSelectedGroupAllows) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Plain"}, {G(2), L"Marked"}});
  Make(G(1), L"Plain", kRootGroupFile);
  Make(G(2), L"Marked", kRootGroupFile, {}, {}, true);
  Open();
  HTREEITEM root = Tree().GetRootItem();
  struct Case {
    const char* what;
    HTREEITEM item;
    UINT newGroup, rename, remove, clear;
  } cases[] = {
      {"root", root, 0, kMenuItemDisabled, kMenuItemDisabled, 0},
      {"plain", Tree().FindChildByFile(root, G(1)), 0, 0, 0, 0},
      {"installed", Tree().FindChildByFile(root, G(2)), kMenuItemDisabled, kMenuItemDisabled, kMenuItemDisabled, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Tree().SelectItem(c.item);
    IconPopupMenu menu(::CreatePopupMenu());
    FillGroupsTreeMenu(menu, Tree());
    EXPECT_EQ(::GetMenuItemCount(menu.Get()), 8);
    EXPECT_EQ(MenuState(menu.Get(), ID_GROUP_NEW), c.newGroup);
    EXPECT_EQ(MenuState(menu.Get(), ID_TREE_RENAME), c.rename);
    EXPECT_EQ(MenuState(menu.Get(), ID_GROUP_DELETE), c.remove);
    EXPECT_EQ(MenuState(menu.Get(), ID_GROUP_CLEAR_INSTALLED), c.clear);
    EXPECT_EQ(MenuState(menu.Get(), ID_FONTS_REFRESH), 0u);
  }
}

TEST_F(GroupsPane, QuickSearchFindsTheGroupThatHoldsTheFont) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Sans"}, {G(2), L"Serif"}});
  Make(G(1), L"Sans", kRootGroupFile, {}, {{L"Arial", Font(L"Arial")}, {L"Verdana", Font(L"Verdana")}});
  Make(G(2), L"Serif", kRootGroupFile, {{G(3), L"Old Style"}}, {{L"Times", Font(L"Times")}});
  Make(G(3), L"Old Style", G(2), {}, {{L"Garamond", Font(L"Garamond")}, {L"Bembo", Font(L"Bembo")}});
  CMainFrame& f = Open();
  CGroupsTVContainer& pane = f.Panes().m_groupsPane;
  const int caption = pane.m_cyCaption;
  Tree().SelectItem(Tree().GetRootItem());
  ::SendMessageW(Toolbar(), TB_CHECKBUTTON, ID_GROUPS_QUICK_SEARCH, TRUE);
  ::SendMessageW(pane, WM_COMMAND, ID_GROUPS_QUICK_SEARCH, reinterpret_cast<LPARAM>(Toolbar()));
  COrvelSearchWnd& band = pane.QuickSearch();
  ASSERT_TRUE(::IsWindowVisible(band));
  EXPECT_EQ(pane.m_cyCaption, caption + band.Height());

  ::SetWindowTextW(band.Edit(), L"Ga*");
  ::SendMessageW(band.Edit(), WM_KEYUP, 'A', 0);
  ::SendMessageW(band.Edit(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(Tree().GetItemFile(), G(3)) << "the walk went down through Serif";
  EXPECT_TRUE(g_AppState.GroupListShown) << "the group list comes to the front";
  EXPECT_EQ(g_AppState.GroupFonts.m_rememberedRow, L"Garamond");

  // Nothing after it matches: F3 goes on from there to the end of the tree and stays.
  ResetRecords();
  ::SendMessageW(band.Edit(), WM_KEYDOWN, VK_F3, 1);
  EXPECT_EQ(Tree().GetItemFile(), G(3));
  EXPECT_TRUE(Beeps().empty()) << "a walk that found something does not beep at its end";

  // A new search from a deep group wraps to the root and finds what lies before it.
  ::SetWindowTextW(band.Edit(), L"Verdana");
  ::SendMessageW(band.Edit(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(Tree().GetItemFile(), G(1));
  EXPECT_EQ(g_AppState.GroupFonts.m_rememberedRow, L"Verdana");

  ::SendMessageW(Toolbar(), TB_CHECKBUTTON, ID_GROUPS_QUICK_SEARCH, FALSE);
  ::SendMessageW(pane, WM_COMMAND, ID_GROUPS_QUICK_SEARCH, reinterpret_cast<LPARAM>(Toolbar()));
  EXPECT_FALSE(::IsWindowVisible(band));
  EXPECT_EQ(pane.m_cyCaption, caption);
}
