// The real folder tree inside the main window's folder pane: the idle phase starts it on the
// font case folder, its notifications come back to it through the pane, and a selection there
// gives the folder fonts list its folder.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "fonts/FontItem.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

class FolderPaneTree : public ::testing::Test {
protected:
  void SetUp() override {
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    cwd_ = cwd;
    savedFontCase_ = g_Preferences.FontCaseRoot;
    root_ = LongPath(scratch_.Path());
    ::CreateDirectoryW((root_ + L"\\Serif").c_str(), nullptr);
    WriteFileBytes(root_ + L"\\Serif\\face.ttf", "x", 1);
    g_Preferences.FontCaseRoot = root_;
    // The tree starts where an earlier test's tree left its target otherwise.
    g_AppState.FolderTree.SetTargetFolder(std::wstring());
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    g_Preferences.FontCaseRoot = savedFontCase_;
    g_AppState.FolderFonts.m_folder.clear();
    ::SetCurrentDirectoryW(cwd_.c_str());
  }

  ScratchDir scratch_;
  std::wstring root_, cwd_, savedFontCase_;
  std::unique_ptr<CMainFrame> frame_;
};

TEST_F(FolderPaneTree, TheIdlePhaseStartsTheTreeOnTheFontCaseFolder) {
  frame_ = std::make_unique<CMainFrame>();
  ASSERT_TRUE(frame_->CreateMainWindow());
  frame_->ShowWindow(SW_SHOWNORMAL);
  CFolderTreeView& tree = g_AppState.FolderTree;
  ASSERT_EQ(tree.m_hWnd, frame_->Panes().m_folderTree);
  ASSERT_TRUE(tree.IsInitPending());
  IdleJob job = IdleJob::None;
  for (int i = 0; i < 4 && job != IdleJob::FolderTreeInit; ++i) job = frame_->RunIdleJob();
  ASSERT_EQ(job, IdleJob::FolderTreeInit);
  EXPECT_FALSE(tree.IsInitPending());

  // The branches were enumerated down to the font case folder, which is selected and open.
  std::wstring selected;
  ASSERT_TRUE(tree.GetSelectedPath(selected));
  EXPECT_TRUE(EqualsNoCase(selected, root_)) << Narrow(selected);
  EXPECT_TRUE(tree.GetChildItem(tree.GetRootItem()));
  HTREEITEM serif = tree.FindItemByIdList(root_ + L"\\Serif", false);
  ASSERT_TRUE(serif);
  EXPECT_TRUE(EqualsNoCase(g_AppState.FolderFonts.m_folder, root_));
  EXPECT_TRUE(g_AppState.FolderFonts.m_refreshPending);

  // A click's selection reaches the tree through the pane: the list follows it.
  tree.SelectItem(serif);
  EXPECT_TRUE(EqualsNoCase(g_AppState.FolderFonts.m_folder, root_ + L"\\Serif"));
  const ULONGLONG end = ::GetTickCount64() + 5000;
  while (!(tree.GetItemState(serif, TVIS_BOLD) & TVIS_BOLD) && ::GetTickCount64() < end) PumpMessages(10);
  EXPECT_TRUE(tree.GetItemState(serif, TVIS_BOLD) & TVIS_BOLD);
}

}  // namespace
