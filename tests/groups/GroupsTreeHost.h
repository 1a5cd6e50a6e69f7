// The groups tree built for real in its pane (which reflects its notifications back), over a
// scratch groups folder, and helpers that read the tree back.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/CGroupsTVContainer.h"
#include "common/ResourceIds.h"
#include "groups/GroupFontInstaller.h"
#include "groups/GroupNames.h"
#include "tests/groups/GroupsTestEnv.h"

class GroupsTreeTest : public GroupsTest {
protected:
  void SetUp() override {
    GroupsTest::SetUp();
    pane_.Create(nullptr, nullptr, nullptr, WS_POPUP | WS_VISIBLE);
    pane_.SetWindowPos(nullptr, 20, 20, 320, 480, SWP_NOZORDER);
    ASSERT_TRUE(Tree().CreateTree(pane_, IDC_GROUPS_TREE));
    pane_.SetClient(Tree());
  }
  void TearDown() override {
    SetGroupFontInstaller(nullptr);
    if (pane_.IsWindow()) pane_.DestroyWindow();
    GroupsTest::TearDown();
  }

  static CGroupsTreeView& Tree() { return g_AppState.GroupsTree; }

  // The texts of the children of an item (the root level for null), in tree order.
  std::vector<std::wstring> ChildTexts(HTREEITEM parent) const {
    std::vector<std::wstring> texts;
    HTREEITEM child = parent ? Tree().GetChildItem(parent) : Tree().GetRootItem();
    for (; child; child = Tree().GetNextSiblingItem(child)) texts.push_back(Text(child));
    return texts;
  }
  // The item's text as the control shows it (asked of the tree through its pane).
  static std::wstring Text(HTREEITEM item) { return testing_support::TreeItemText(Tree().m_hWnd, item); }
  static bool HasButton(HTREEITEM item) {
    TVITEMW tvi{};
    tvi.mask = TVIF_CHILDREN;
    tvi.hItem = item;
    ::SendMessageW(Tree().m_hWnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
    return tvi.cChildren != 0;
  }
  static bool LooksInstalled(HTREEITEM item) {
    return (Tree().GetItemState(item, CGroupsTreeView::kInstalledLookMask) & CGroupsTreeView::kInstalledLookMask) ==
           CGroupsTreeView::kInstalledLook;
  }
  // The loaded group of a file (empty record when it does not load).
  static FontGroup Group(const std::wstring& file) {
    FontGroup g;
    (void)g.Load(file);
    return g;
  }
  static std::vector<std::wstring> NodeNames(const std::wstring& file) {
    std::vector<std::wstring> names;
    for (const FontGroupEntry& n : Group(file).Nodes) names.push_back(n.Name);
    return names;
  }

  // Names the nodes of a group file after the groups they lead to, as the tree writes them.
  static void NameNodesAfterChildren(const std::wstring& file) {
    FontGroup g;
    ASSERT_TRUE(g.Load(file));
    std::vector<FontGroupEntry> nodes = std::move(g.Nodes);
    g.Nodes.clear();
    for (const FontGroupEntry& n : nodes) g.AddNode(Group(n.Path).Name, n.Path, n.Installed, n.IsLink);
    ASSERT_TRUE(g.Save());
  }

  CGroupsTVContainer pane_;
};

inline std::wstring G(int n) { return FormatGroupFileName(n); }
