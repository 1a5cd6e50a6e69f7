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
      // Clearing the installed marks needs a mark on the group or below it.
      {"root, a child marked", root, 0, kMenuItemDisabled, kMenuItemDisabled, 0},
      {"plain", Tree().FindChildByFile(root, G(1)), 0, 0, 0, kMenuItemDisabled},
      {"installed", Tree().FindChildByFile(root, G(2)), kMenuItemDisabled, kMenuItemDisabled, kMenuItemDisabled, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Tree().SelectItem(c.item);
    IconPopupMenu menu(::CreatePopupMenu());
    FillGroupsTreeMenu(menu, Tree());
    EXPECT_EQ(::GetMenuItemCount(menu.Get()), 8);
    EXPECT_EQ(MenuItemState(menu.Get(), ID_GROUP_NEW), c.newGroup);
    EXPECT_EQ(MenuItemState(menu.Get(), ID_TREE_RENAME), c.rename);
    EXPECT_EQ(MenuItemState(menu.Get(), ID_GROUP_DELETE), c.remove);
    EXPECT_EQ(MenuItemState(menu.Get(), ID_GROUP_CLEAR_INSTALLED), c.clear);
    EXPECT_EQ(MenuItemState(menu.Get(), ID_FONTS_REFRESH), 0u);
  }
}

TEST_F(GroupsPane, TheTreeShowsTipsForItsItems) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"A group whose name is longer than the pane is wide"}});
  Open();
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(Tree().m_hWnd, GWL_STYLE));
  EXPECT_TRUE(style & TVS_INFOTIP);
  EXPECT_FALSE(style & TVS_NOTOOLTIPS);
  EXPECT_EQ(style, 0x56800A29u);
  EXPECT_TRUE(::IsWindow(reinterpret_cast<HWND>(::SendMessageW(Tree().m_hWnd, TVM_GETTOOLTIPS, 0, 0))));
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

// Hand-edited group files where every group of a rung lists both groups of the next: the
// groups of the last rung are reached along 2^12 ways. The search through the tree reads each
// group once, finishes, and finds the font in the group after the ladder.
TEST_F(GroupsPane, QuickSearchThroughSharedChildrenFinishesAndFindsTheFont) {
  constexpr int kRungs = 13;
  auto rung = [](int level, int side) { return G(1 + 2 * level + side); };
  const std::wstring last = G(100);
  Make(kRootGroupFile, L"Root", L"", {{rung(0, 0), L"Ladder A"}, {rung(0, 1), L"Ladder B"}, {last, L"Last"}});
  for (int level = 0; level < kRungs; ++level)
    for (int side = 0; side < 2; ++side) {
      const std::wstring parent = level == 0 ? std::wstring(kRootGroupFile) : rung(level - 1, 0);
      const std::wstring name = L"Rung " + std::to_wstring(level) + (side ? L"b" : L"a");
      if (level + 1 < kRungs)
        Make(rung(level, side), name, parent, {{rung(level + 1, 0), L"A"}, {rung(level + 1, 1), L"B"}},
             {{L"Font " + name, Font(name)}});
      else
        Make(rung(level, side), name, parent, {}, {{L"Font " + name, Font(name)}});
    }
  Make(last, L"Last", kRootGroupFile, {}, {{L"Sans", Font(L"Sans")}, {L"Target", Font(L"Target")}});
  CMainFrame& f = Open();
  CGroupsTVContainer& pane = f.Panes().m_groupsPane;
  Tree().SelectItem(Tree().GetRootItem());
  ::SendMessageW(Toolbar(), TB_CHECKBUTTON, ID_GROUPS_QUICK_SEARCH, TRUE);
  ::SendMessageW(pane, WM_COMMAND, ID_GROUPS_QUICK_SEARCH, reinterpret_cast<LPARAM>(Toolbar()));
  COrvelSearchWnd& band = pane.QuickSearch();
  ResetRecords();
  ::SetWindowTextW(band.Edit(), L"Targ*");
  ::SendMessageW(band.Edit(), WM_KEYUP, 'T', 0);
  ::SendMessageW(band.Edit(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(Tree().GetItemFile(), last);
  EXPECT_EQ(g_AppState.GroupFonts.m_rememberedRow, L"Target");
  EXPECT_TRUE(Beeps().empty());
}

namespace {

// A message taken from the queue as the program's message loop takes it: the main window's
// filter first, then the window it is for.
void Deliver(CMainFrame& f, MSG msg) {
  if (f.PreTranslateMessage(&msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

void PumpThrough(CMainFrame& f) {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) Deliver(f, msg);
}

// Holds Ctrl down, as the thread's messages see it, while it lives.
struct CtrlHeld {
  CtrlHeld() { Set(0x80); }
  ~CtrlHeld() { Set(0); }
  static void Set(BYTE state) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = state;
    ::SetKeyboardState(keys);
  }
};

}  // namespace

// While the groups tree has the focus its own keys reach it: Ctrl+F is the tree's (its quick
// search), not the search dialog's, and F5 reloads the groups without refreshing every font list.
TEST_F(GroupsPane, CtrlFAndF5ReachTheFocusedGroupsTree) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Sans"}});
  Make(G(1), L"Sans", kRootGroupFile, {}, {{L"Arial", Font(L"Arial")}});
  CMainFrame& f = Open();
  HWND tree = f.Panes().m_groupsTree;
  Tree().SelectItem(Tree().GetRootItem());
  ::SetFocus(tree);
  ASSERT_EQ(::GetFocus(), tree);
  {
    CtrlHeld ctrl;
    MSG find{tree, WM_KEYDOWN, 'F', 0x00210001};
    EXPECT_FALSE(f.PreTranslateMessage(&find)) << "Ctrl+F goes on to the tree";
    Deliver(f, find);
    PumpThrough(f);
    // So is the group list's: it finds through the groups.
    f.SendMessage(WM_COMMAND, ID_SHOW_FONT_LIST, 2);
    ::SetFocus(f.Panes().m_groupList);
    Deliver(f, MSG{f.Panes().m_groupList, WM_KEYDOWN, 'F', 0x00210001});
    PumpThrough(f);
  }
  EXPECT_EQ(f.Tools().Get(ToolWindowId::SearchDlg), nullptr) << "the search dialog stays closed";
  // Elsewhere Ctrl+F still opens it.
  {
    CtrlHeld ctrl;
    Deliver(f, MSG{f.m_hWnd, WM_KEYDOWN, 'F', 0x00210001});
  }
  EXPECT_NE(f.Tools().Get(ToolWindowId::SearchDlg), nullptr);

  // A group made outside the program shows after F5, and only the groups are read again.
  Make(G(2), L"Serif", kRootGroupFile);
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Sans"}, {G(2), L"Serif"}});
  f.Pending.InstalledRefresh = false;
  ::SetFocus(tree);
  Deliver(f, MSG{tree, WM_KEYDOWN, VK_F5, 0x003F0001});
  PumpThrough(f);
  EXPECT_NE(Tree().FindChildByFile(Tree().GetRootItem(), G(2)), nullptr) << "the groups were reloaded";
  EXPECT_FALSE(f.Pending.InstalledRefresh) << "the program's font lists are not refreshed";
}
