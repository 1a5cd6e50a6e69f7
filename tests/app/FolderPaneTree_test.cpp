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
#include "common/ResourceIds.h"
#include "fonts/FontFileCommand.h"
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

// Files moved or deleted by the file command: the folders that gained or lost their fonts are
// marked again in the tree, and the folder list's caption count is renewed at idle time.
TEST_F(FolderPaneTree, FileCommandsRemarkTheFoldersTheyChanged) {
  ::CreateDirectoryW((root_ + L"\\Empty").c_str(), nullptr);
  frame_ = std::make_unique<CMainFrame>();
  ASSERT_TRUE(frame_->CreateMainWindow());
  frame_->ShowWindow(SW_SHOWNORMAL);
  for (int i = 0; i < 4 && frame_->RunIdleJob() != IdleJob::FolderTreeInit; ++i) {
  }
  CFolderTreeView& tree = g_AppState.FolderTree;
  HTREEITEM serif = tree.FindItemByIdList(root_ + L"\\Serif", false);
  HTREEITEM empty = tree.FindItemByIdList(root_ + L"\\Empty", false);
  ASSERT_TRUE(serif && empty);
  tree.SelectItem(serif);
  auto bold = [&](HTREEITEM item) { return (tree.GetItemState(item, TVIS_BOLD) & TVIS_BOLD) != 0; };
  const ULONGLONG end = ::GetTickCount64() + 5000;
  while (!(bold(serif) && tree.GetItemRecord(empty)->marksDone) && ::GetTickCount64() < end) PumpMessages(10);
  ASSERT_TRUE(bold(serif));
  ASSERT_FALSE(bold(empty));

  struct Case {
    UINT mode;
    const wchar_t* source;
    const wchar_t* target;  // empty for a delete
    bool serifBold, emptyBold, captionPending;
  };
  const Case cases[] = {
      // Moved out of the selected folder into another: both folders change.
      {FontFileCommand::kMove, L"\\Serif\\face.ttf", L"\\Empty", false, true, false},
      // Copied back: only the target is looked at again; the selected folder is the target here.
      {FontFileCommand::kCopy, L"\\Empty\\face.ttf", L"\\Serif", true, true, false},
      // Deleted from the selected folder while the list was not marked for a refill: the count
      // in its caption is renewed.
      {FontFileCommand::kDelete, L"\\Serif\\face.ttf", L"", false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.source));
    g_AppState.FolderFonts.m_refreshPending = false;
    g_AppState.FolderFonts.m_captionPending = false;
    FontFileCommand command(nullptr, c.mode, IDS_DELETE_FONTS_CAPTION);
    command.AddFlags(FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI);
    ASSERT_TRUE(command.SetSourcePaths(root_ + c.source + L"|", L'|'));
    const std::wstring target = *c.target ? root_ + c.target : std::wstring();
    if (!target.empty()) ASSERT_TRUE(command.SetTargetPath(target));
    ASSERT_TRUE(command.Execute());
    command.RefreshFolderTree(1, target);
    EXPECT_EQ(bold(serif), c.serifBold);
    EXPECT_EQ(bold(empty), c.emptyBold);
    EXPECT_EQ(g_AppState.FolderFonts.m_captionPending, c.captionPending);
  }
  // The idle pass serves the caption and clears the request.
  g_AppState.FolderFonts.m_captionPending = true;
  IdleJob job = IdleJob::None;
  for (int i = 0; i < 6 && job != IdleJob::FolderCaption; ++i) job = frame_->RunIdleJob();
  EXPECT_EQ(job, IdleJob::FolderCaption);
  EXPECT_FALSE(g_AppState.FolderFonts.m_captionPending);
}
