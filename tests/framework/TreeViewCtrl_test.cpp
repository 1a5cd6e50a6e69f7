#include "framework/TreeViewCtrl.h"

#include <gtest/gtest.h>

#include "framework/Window.h"

namespace {

HTREEITEM Insert(HWND tree, HTREEITEM parent, const wchar_t* text) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<wchar_t*>(text);
  return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

// A branch collapsed with its items deleted, whatever row is the first visible one: a row under
// the branch (one or two levels down), the branch itself or a row after it. The tree is left
// with the rows outside the branch, one of them the first visible, and still lays out and paints.
TEST(TreeViewCtrl, CollapseResetWhereverTheFirstVisibleRowIs) {
  HWND host = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_TRUE(host);
  enum First { kChild, kGrandchild, kBranch, kAfter };
  for (First first : {kChild, kGrandchild, kBranch, kAfter}) {
    SCOPED_TRACE(first);
    orv::CTreeViewCtrlT<orv::CWindow> tree;
    tree.m_hWnd = ::CreateWindowExW(0, WC_TREEVIEWW, nullptr, WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, 0, 0, 280, 150,
                                    host, nullptr, nullptr, nullptr);
    ASSERT_TRUE(tree.m_hWnd);
    Insert(tree, TVI_ROOT, L"before");
    HTREEITEM branch = Insert(tree, TVI_ROOT, L"branch");
    HTREEITEM child = nullptr, nested = nullptr, grandchild = nullptr;
    for (int i = 0; i < 40; ++i) {
      HTREEITEM item = Insert(tree, branch, L"child");
      if (i == 10) child = item;
      if (i == 20) nested = item;
    }
    for (int i = 0; i < 40; ++i) {
      HTREEITEM item = Insert(tree, nested, L"grandchild");
      if (i == 5) grandchild = item;
    }
    HTREEITEM after = Insert(tree, TVI_ROOT, L"after");
    for (int i = 0; i < 20; ++i) Insert(tree, TVI_ROOT, L"tail");
    tree.Expand(branch, TVE_EXPAND);
    tree.Expand(nested, TVE_EXPAND);
    const HTREEITEM top[] = {child, grandchild, branch, after};
    tree.SelectItem(top[first], TVGN_FIRSTVISIBLE);
    ASSERT_EQ(tree.GetFirstVisibleItem(), top[first]);

    EXPECT_TRUE(tree.CollapseReset(branch));
    EXPECT_EQ(tree.GetChildItem(branch), nullptr);
    EXPECT_EQ(::SendMessageW(tree, TVM_GETCOUNT, 0, 0), 23);
    const HTREEITEM shown = tree.GetFirstVisibleItem();
    EXPECT_TRUE(shown && !tree.GetParentItem(shown)) << "a row outside the branch is the first visible";
    ::InvalidateRect(tree, nullptr, TRUE);
    ::UpdateWindow(tree);
    ::DestroyWindow(tree);
  }
  ::DestroyWindow(host);
}
