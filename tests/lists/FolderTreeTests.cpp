// The shell folder tree built for real under Wine inside a test parent that reflects its
// notifications: selecting folders, lazy expansion, the bold marks of the pre-fill threads,
// the file lists of a folder, shell change handling, refreshes and clean-up.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "common/ResourceIds.h"
#include "fonts/FontItem.h"
#include "framework/WindowImpl.h"
#include "lists/CFolderTreeView.h"
#include "lists/CPickerFolderTree.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

class TestParent : public orv::CWindowImpl<TestParent> {
public:
  DECLARE_WND_CLASS(L"OrvelFolderTreeTestParent")

  std::vector<std::pair<WPARAM, LPARAM>> commands;

  BEGIN_MSG_MAP(TestParent)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

  bool Got(WORD id, LPARAM lParam) const {
    for (const auto& [w, l] : commands)
      if (LOWORD(w) == id && l == lParam) return true;
    return false;
  }

private:
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    commands.emplace_back(wParam, lParam);
    return 0;
  }
};

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  while (!done()) {
    if (::GetTickCount64() > end) return false;
    PumpMessages(10);
  }
  return true;
}

std::wstring LongPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = ::GetLongPathNameW(path.c_str(), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer) : path;
}

std::wstring CurrentDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, buffer);
  return buffer;
}

void Touch(const std::wstring& path) { ASSERT_TRUE(WriteFileBytes(path, "x", 1)); }


int ChildCount(HWND tree, HTREEITEM item) {
  TVITEMW tvi{};
  tvi.mask = TVIF_CHILDREN;
  tvi.hItem = item;
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
  return tvi.cChildren;
}

std::vector<std::wstring> ChildTexts(CFolderTreeView& tree, HTREEITEM item) {
  std::vector<std::wstring> texts;
  for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
    texts.push_back(TreeItemText(tree, child));
  return texts;
}

HTREEITEM ChildNamed(CFolderTreeView& tree, HTREEITEM item, const std::wstring& name) {
  for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
    if (EqualsNoCase(TreeItemText(tree, child), name)) return child;
  return nullptr;
}

bool IsBold(CFolderTreeView& tree, HTREEITEM item) { return (tree.GetItemState(item, TVIS_BOLD) & TVIS_BOLD) != 0; }

class FolderTree : public ::testing::Test {
protected:
  void SetUp() override {
    cwd_ = CurrentDirectory();
    savedGroupListShown_ = g_AppState.GroupListShown;
    savedMainWindow_ = g_AppState.MainWindow;
    g_AppState.GroupListShown = false;
    list().m_folder.clear();
    list().m_zipFolder = false;
    list().m_refreshPending = false;
    // One parent for all tests.
    static TestParent parent;
    if (!parent.m_hWnd) {
      RECT rc{40, 40, 440, 640};
      ASSERT_TRUE(parent.Create(nullptr, &rc, L"Folder tree test", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    }
    parent.commands.clear();
    parent_ = &parent;
    scratchPath_ = LongPath(scratch_.Path());
  }

  void TearDown() override {
    tree_.reset();
    ::SetCurrentDirectoryW(cwd_.c_str());
    g_AppState.GroupListShown = savedGroupListShown_;
    g_AppState.MainWindow = savedMainWindow_;
    list().m_folder.clear();
    list().m_refreshPending = false;
  }

  static CLVFolderFonts& list() { return g_AppState.FolderFonts; }

  CFolderTreeView& MakeTree(bool main = true) {
    tree_ = std::make_unique<CFolderTreeView>();
    tree_->SetMainTree(main);
    tree_->SetTargetFolder(scratchPath_);
    HWND wnd = tree_->CreateTree(*parent_, IDC_FOLDER_TREE);
    EXPECT_TRUE(wnd);
    ::MoveWindow(wnd, 0, 0, 380, 560, TRUE);
    return *tree_;
  }

  // A tree initialised on the scratch folder, with every pre-fill thread finished.
  CFolderTreeView& ReadyTree(bool main = true) {
    CFolderTreeView& tree = MakeTree(main);
    tree.Initialize();
    EXPECT_TRUE(WaitUntil([&] { return !tree.IsPrefillRunning(); }, 10000));
    return tree;
  }

  HTREEITEM ScratchItem(CFolderTreeView& tree) { return tree.FindItemByIdList(scratchPath_, true); }

  std::wstring Sub(const std::wstring& name) const { return scratchPath_ + L"\\" + name; }
  void MakeDir(const std::wstring& name) const { ASSERT_TRUE(::CreateDirectoryW(Sub(name).c_str(), nullptr)); }

  ScratchDir scratch_;
  std::wstring scratchPath_;
  TestParent* parent_ = nullptr;
  std::unique_ptr<CFolderTreeView> tree_;
  std::wstring cwd_;
  bool savedGroupListShown_ = false;
  HWND savedMainWindow_ = nullptr;
};

TEST_F(FolderTree, InitializeSelectsTheTargetFolderAndHandsItToTheFolderList) {
  MakeDir(L"Fonts A");
  CFolderTreeView& tree = ReadyTree();
  EXPECT_FALSE(tree.IsInitPending());
  std::wstring path;
  ASSERT_TRUE(tree.GetSelectedPath(path));
  EXPECT_TRUE(EqualsNoCase(path, scratchPath_)) << Narrow(path);
  EXPECT_TRUE(EqualsNoCase(list().m_folder, scratchPath_));
  EXPECT_TRUE(list().m_refreshPending);
  EXPECT_FALSE(list().m_zipFolder);
  // The root is the Desktop; the selected folder's branch is open.
  EXPECT_TRUE(tree.GetItemRecord(tree.GetRootItem()));
  EXPECT_TRUE(tree.GetItemState(tree.GetSelectedItem(), TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(::GetWindowLongPtrW(tree, GWL_EXSTYLE) & WS_EX_CONTEXTHELP, WS_EX_CONTEXTHELP);
  EXPECT_EQ(tree.GetDlgCtrlID(), IDC_FOLDER_TREE);
}

TEST_F(FolderTree, SelectingAFolderMakesItCurrentAndMarksTheListForAFill) {
  MakeDir(L"Fonts A");
  CFolderTreeView& tree = ReadyTree();
  list().m_refreshPending = false;
  HTREEITEM item = tree.FindItemByIdList(Sub(L"Fonts A"), true);
  ASSERT_TRUE(item);
  std::wstring path;
  ASSERT_TRUE(tree.GetItemPath(item, nullptr, path));
  EXPECT_TRUE(EqualsNoCase(path, Sub(L"Fonts A"))) << Narrow(path);
  ASSERT_TRUE(tree.SelectItem(item));
  EXPECT_EQ(tree.GetSelectedItem(), item);
  EXPECT_TRUE(EqualsNoCase(tree.TargetFolder(), Sub(L"Fonts A")));
  EXPECT_TRUE(EqualsNoCase(list().m_folder, Sub(L"Fonts A")));
  EXPECT_TRUE(list().m_refreshPending);
  EXPECT_TRUE(EqualsNoCase(LongPath(CurrentDirectory()), Sub(L"Fonts A")));
  // Selecting the same folder again changes nothing.
  list().m_refreshPending = false;
  EXPECT_TRUE(tree.SelectFolder());
  EXPECT_FALSE(list().m_refreshPending);
}

TEST_F(FolderTree, AVirtualItemGivesTheListAnEmptyFolder) {
  CFolderTreeView& tree = ReadyTree();
  // "My Computer" (or whatever virtual item the Desktop lists first) has no file-system path.
  HTREEITEM root = tree.GetRootItem();
  HTREEITEM virtualItem = nullptr;
  for (HTREEITEM child = tree.GetChildItem(root); child && !virtualItem; child = tree.GetNextSiblingItem(child)) {
    std::wstring path;
    if (!tree.GetItemPath(child, nullptr, path)) virtualItem = child;
  }
  ASSERT_TRUE(virtualItem);
  list().m_refreshPending = false;
  EXPECT_FALSE(tree.SelectItem(virtualItem) && tree.SelectFolder());
  EXPECT_TRUE(list().m_folder.empty());
  EXPECT_TRUE(tree.TargetFolder().empty());
  EXPECT_TRUE(list().m_refreshPending);
}

TEST_F(FolderTree, BranchesAreEnumeratedWhenFirstExpandedSortedAndWithoutFiles) {
  MakeDir(L"b");
  MakeDir(L"a");
  MakeDir(L"c");
  Touch(Sub(L"loose.ttf"));
  CFolderTreeView& tree = MakeTree();
  tree.SetTargetFolder(LongPath(cwd_));  // start elsewhere, so the scratch branch stays closed
  tree.Initialize();
  HTREEITEM item = tree.FindItemByIdList(scratchPath_, true);
  ASSERT_TRUE(item);
  // Found with expansion of its ancestors only: its own children are not there yet.
  EXPECT_EQ(tree.GetChildItem(item), nullptr);
  const size_t before = tree.RecordCount();
  ASSERT_TRUE(tree.Expand(item, TVE_EXPAND));
  EXPECT_EQ(ChildTexts(tree, item), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(tree.RecordCount(), before + 3);
  for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child)) {
    const FolderItemData* record = tree.GetItemRecord(child);
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->parentFolder);
    EXPECT_FALSE(record->zip);
  }
  // A second expansion does not list them again.
  tree.Expand(item, TVE_COLLAPSE);
  tree.Expand(item, TVE_EXPAND);
  EXPECT_EQ(ChildTexts(tree, item).size(), 3u);
  // A collapse with reset frees the children's records.
  EXPECT_TRUE(WaitUntil([&] { return !tree.IsPrefillRunning(); }, 10000));
  tree.Expand(item, TVE_COLLAPSE | TVE_COLLAPSERESET);
  EXPECT_EQ(tree.GetChildItem(item), nullptr);
  EXPECT_EQ(tree.RecordCount(), before);
}

TEST_F(FolderTree, TheDesktopNeverListsTheControlPanelOrTheRecycleBin) {
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM root = tree.GetRootItem();
  int children = 0;
  for (HTREEITEM child = tree.GetChildItem(root); child; child = tree.GetNextSiblingItem(child), ++children) {
    const FolderItemData* record = tree.GetItemRecord(child);
    ASSERT_TRUE(record);
    std::wstring parsing;
    ASSERT_TRUE(GetShellDisplayName(record->parentFolder.Get(), record->relative.Get(), SHGDN_FORPARSING, parsing));
    EXPECT_NE(parsing, L"::{26EE0668-A00A-44D7-9371-BEB064C98683}");
    EXPECT_NE(parsing, L"::{645FF040-5081-101B-9F08-00AA002F954E}");
  }
  EXPECT_GT(children, 0);
}

TEST_F(FolderTree, PrefillMarksFontFoldersBoldAndSetsTheirButtons) {
  MakeDir(L"with font");
  MakeDir(L"with font\\deeper");
  Touch(Sub(L"with font\\Face.TTF"));
  MakeDir(L"no font");
  Touch(Sub(L"no font\\readme.txt"));
  MakeDir(L"type1");
  Touch(Sub(L"type1\\face.pfm"));
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM item = ScratchItem(tree);
  ASSERT_TRUE(item);
  HTREEITEM withFont = ChildNamed(tree, item, L"with font");
  HTREEITEM noFont = ChildNamed(tree, item, L"no font");
  HTREEITEM type1 = ChildNamed(tree, item, L"type1");
  ASSERT_TRUE(withFont && noFont && type1);
  ASSERT_TRUE(WaitUntil(
      [&] {
        return tree.GetItemRecord(withFont)->marksDone && tree.GetItemRecord(noFont)->marksDone &&
               tree.GetItemRecord(type1)->marksDone;
      },
      10000));
  EXPECT_TRUE(IsBold(tree, withFont));
  EXPECT_TRUE(IsBold(tree, type1));
  EXPECT_FALSE(IsBold(tree, noFont));
  // Buttons follow the subfolder attribute (Wine gives it to every folder); expanding a folder
  // without subfolders lists nothing.
  EXPECT_EQ(ChildCount(tree, withFont), 1);
  tree.Expand(noFont, TVE_EXPAND);
  EXPECT_EQ(tree.GetChildItem(noFont), nullptr);
  EXPECT_TRUE(tree.GetItemRecord(withFont)->attributes & SFGAO_FOLDER);
  // A picture for a person to look at: the font folders are bold.
  tree.UpdateWindow();
  PumpMessages(300);
  EXPECT_TRUE(SaveWindowImage(tree.m_hWnd, ArtifactsDir() + L"\\lists_folder_tree.bmp"));
  // Without marking, nothing is bold.
  tree.SetMarkFontFolders(false);
  tree.UpdateItemMarks(withFont, nullptr, true);
  EXPECT_FALSE(IsBold(tree, withFont));
}

TEST_F(FolderTree, ListZipFontFilesListsTheFontFilesOfTheItemsFolder) {
  Touch(Sub(L"a.ttf"));
  Touch(Sub(L"B.OTF"));
  Touch(Sub(L"c.txt"));
  Touch(Sub(L"d.pfm"));
  Touch(Sub(L"ttf"));
  Touch(Sub(L"e.ttf.bak"));
  MakeDir(L"only text");
  Touch(Sub(L"only text\\x.txt"));
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM item = ScratchItem(tree);
  ASSERT_TRUE(item);
  std::wstring names;
  EXPECT_EQ(tree.ListZipFontFiles(item, names, L"|.ttf|.otf|.ttc|.pfm|"), 3);
  for (const wchar_t* name : {L"a.ttf\t", L"B.OTF\t", L"d.pfm\t"})
    EXPECT_NE(names.find(name), std::wstring::npos) << Narrow(names);
  EXPECT_EQ(names.find(L"c.txt"), std::wstring::npos);
  EXPECT_EQ(names.size(), std::wstring(L"a.ttf\tB.OTF\td.pfm\t").size());
  std::wstring unused;
  EXPECT_EQ(tree.ListZipFontFiles(item, unused, L"|.ttf|", true), 1);
  HTREEITEM textOnly = ChildNamed(tree, item, L"only text");
  ASSERT_TRUE(textOnly);
  EXPECT_EQ(tree.ListZipFontFiles(textOnly, unused, L"|.ttf|.otf|.ttc|.pfm|", true), -1);
  EXPECT_EQ(tree.ListZipFontFiles(textOnly, unused, L"|.ttf|.otf|.ttc|.pfm|"), 0);
  EXPECT_TRUE(unused.empty());
  // Wine has no zip folders: nothing here is one.
  std::wstring zipPath;
  EXPECT_FALSE(tree.IsZipItem(item));
  EXPECT_FALSE(tree.GetZipFilePath(item, zipPath));
}

TEST_F(FolderTree, AFontFileChangeInTheListedFolderMarksTheListForARefill) {
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM item = ScratchItem(tree);
  ASSERT_TRUE(item);
  ASSERT_TRUE(EqualsNoCase(list().m_folder, scratchPath_));
  EXPECT_FALSE(IsBold(tree, item));

  struct Case {
    const wchar_t* file;
    LONG event;
    bool refill;
  };
  const Case cases[] = {
      {L"notes.txt", SHCNE_CREATE, false},
      {L"New.TTF", SHCNE_CREATE, true},
      {L"other.otf", SHCNE_UPDATEITEM, true},
      {L"gone.pfm", SHCNE_DELETE, true},
      {L"picture.png", SHCNE_DELETE, false},
  };
  for (const Case& c : cases) {
    list().m_refreshPending = false;
    if (c.event != SHCNE_DELETE) Touch(Sub(c.file));
    tree.OnShellChange(c.event, Sub(c.file), L"");
    EXPECT_EQ(list().m_refreshPending, c.refill) << Narrow(c.file);
  }
  // The folder's bold mark follows its new font file.
  EXPECT_TRUE(IsBold(tree, item));

  // A font file elsewhere leaves the list alone.
  MakeDir(L"elsewhere");
  Touch(Sub(L"elsewhere\\x.ttf"));
  list().m_refreshPending = false;
  tree.OnShellChange(SHCNE_CREATE, Sub(L"elsewhere\\x.ttf"), L"");
  EXPECT_FALSE(list().m_refreshPending);
}

TEST_F(FolderTree, ANewSubfolderIsListedAfterTheBranchRefreshWithTheSelectionKept) {
  MakeDir(L"one");
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM one = tree.FindItemByIdList(Sub(L"one"), true);
  ASSERT_TRUE(one);
  tree.SelectItem(one);
  MakeDir(L"one\\two");
  MakeDir(L"three");
  tree.OnShellChange(SHCNE_MKDIR, Sub(L"three"), L"");
  EXPECT_TRUE(tree.FindItemByIdList(Sub(L"three"), false));
  std::wstring selected;
  ASSERT_TRUE(tree.GetSelectedPath(selected));
  EXPECT_TRUE(EqualsNoCase(selected, Sub(L"one")));
  // A folder the tree already shows changes nothing.
  const size_t records = tree.RecordCount();
  tree.OnShellChange(SHCNE_MKDIR, Sub(L"three"), L"");
  EXPECT_EQ(tree.RecordCount(), records);
}

TEST_F(FolderTree, AFolderThatCannotBecomeCurrentCollapsesItsDriveAndEmptiesTheTarget) {
  MakeDir(L"gone");
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM gone = tree.FindItemByIdList(Sub(L"gone"), true);
  ASSERT_TRUE(gone);
  ASSERT_TRUE(::RemoveDirectoryW(Sub(L"gone").c_str()));
  list().m_refreshPending = false;
  tree.SelectItem(gone);
  EXPECT_TRUE(tree.TargetFolder().empty());
  EXPECT_TRUE(list().m_folder.empty());
  EXPECT_TRUE(list().m_refreshPending);
  // The drive's branch was reset: the scratch folder is no longer in the tree until expanded.
  EXPECT_EQ(tree.FindItemByIdList(scratchPath_, false), nullptr);
  EXPECT_TRUE(tree.FindItemByIdList(scratchPath_, true));
}

TEST_F(FolderTree, RefreshFolderListsANewFolderAndSelectsIt) {
  MakeDir(L"one");
  CFolderTreeView& tree = ReadyTree();
  ASSERT_TRUE(tree.FindItemByIdList(Sub(L"one"), true));
  MakeDir(L"one\\new");
  EXPECT_EQ(tree.FindItemByIdList(Sub(L"one\\new"), false), nullptr);
  tree.RefreshFolder(Sub(L"one\\new"));
  HTREEITEM item = tree.FindItemByIdList(Sub(L"one\\new"), false);
  ASSERT_TRUE(item);
  EXPECT_EQ(tree.GetSelectedItem(), item);
  // The tree's root is never refreshed; a path that is nowhere changes nothing.
  const size_t records = tree.RecordCount();
  tree.RefreshFolder(L"Q:\\nowhere\\at all");
  EXPECT_EQ(tree.RecordCount(), records);
}

TEST_F(FolderTree, HiddenFoldersFollowTheExplorerSettings) {
  MakeDir(L"shown");
  MakeDir(L"secret");
  ASSERT_TRUE(::SetFileAttributesW(Sub(L"secret").c_str(), FILE_ATTRIBUTE_HIDDEN));
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM item = ScratchItem(tree);
  ASSERT_TRUE(item);
  EXPECT_TRUE(ChildNamed(tree, item, L"shown"));
  const bool hiddenShown = tree.ShowsHidden() || tree.ShowsSuperHidden();
  EXPECT_EQ(ChildNamed(tree, item, L"secret") != nullptr, hiddenShown);
  ::SetFileAttributesW(Sub(L"secret").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FolderTree, ADriveEventRebuildsTheTreeAndKeepsTheTarget) {
  MakeDir(L"kept");
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM kept = tree.FindItemByIdList(Sub(L"kept"), true);
  ASSERT_TRUE(kept);
  tree.SelectItem(kept);
  ASSERT_TRUE(WaitUntil([&] { return !tree.IsPrefillRunning(); }, 10000));
  const uint32_t before = tree.GetItemRecord(tree.GetRootItem())->serial;
  tree.OnShellChange(SHCNE_DRIVEADD, L"", L"");
  EXPECT_NE(tree.GetItemRecord(tree.GetRootItem())->serial, before);
  std::wstring selected;
  ASSERT_TRUE(tree.GetSelectedPath(selected));
  EXPECT_TRUE(EqualsNoCase(selected, Sub(L"kept")));
  EXPECT_TRUE(EqualsNoCase(tree.TargetFolder(), Sub(L"kept")));
}

TEST_F(FolderTree, CompressedFoldersAreDrawnInTheirColour) {
  CFolderTreeView& tree = ReadyTree();
  FolderItemData* record = tree.GetItemRecord(ScratchItem(tree));
  ASSERT_TRUE(record && record->marksDone);
  record->attributes |= SFGAO_COMPRESSED;
  struct Case {
    UINT state;
    COLORREF colour;
  };
  const Case cases[] = {
      {0, CFolderTreeView::kCompressedColor},
      {CDIS_SELECTED, CFolderTreeView::kCompressedColor},
      {CDIS_SELECTED | CDIS_FOCUS, ::GetSysColor(COLOR_HIGHLIGHTTEXT)},
  };
  for (const Case& c : cases) {
    NMTVCUSTOMDRAW cd{};
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    cd.nmcd.uItemState = c.state;
    cd.nmcd.lItemlParam = reinterpret_cast<LPARAM>(record);
    cd.clrText = 0x123456;
    EXPECT_EQ(tree.OnItemPrePaint(0, &cd.nmcd), static_cast<DWORD>(CDRF_DODEFAULT));
    EXPECT_EQ(cd.clrText, c.colour) << c.state;
  }
  // Not compressed, or its marks not known yet: the control's colour.
  for (bool compressed : {false, true}) {
    record->attributes = compressed ? record->attributes | SFGAO_COMPRESSED : record->attributes & ~SFGAO_COMPRESSED;
    record->marksDone = !compressed;
    NMTVCUSTOMDRAW cd{};
    cd.nmcd.lItemlParam = reinterpret_cast<LPARAM>(record);
    cd.clrText = 0x123456;
    tree.OnItemPrePaint(0, &cd.nmcd);
    EXPECT_EQ(cd.clrText, 0x123456u);
  }
  record->marksDone = true;
}

TEST_F(FolderTree, RefreshEndsForEmptyRelativeAndVanishedFolders) {
  MakeDir(L"kept");
  CFolderTreeView& tree = ReadyTree();
  // With the group list in front the initial selection leaves the folder list's folder as it
  // was, and the refresh looks for that folder, cutting it down until an item is found.
  g_AppState.GroupListShown = true;
  struct Case {
    std::wstring folder;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"", L""},
      {L"relative folder", L""},
      {Sub(L"kept\\gone\\deeper"), Sub(L"kept")},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WaitUntil([&] { return !tree.IsPrefillRunning(); }, 10000));
    list().m_folder = c.folder;
    list().m_refreshPending = false;
    const ULONGLONG start = ::GetTickCount64();
    tree.Refresh();
    EXPECT_LT(::GetTickCount64() - start, 20000u);
    EXPECT_TRUE(list().m_refreshPending) << Narrow(c.folder);
    EXPECT_TRUE(EqualsNoCase(list().m_folder, c.expected)) << Narrow(list().m_folder);
    if (!c.expected.empty()) {
      std::wstring selected;
      ASSERT_TRUE(tree.GetSelectedPath(selected));
      EXPECT_TRUE(EqualsNoCase(selected, c.expected));
    }
  }
}

TEST_F(FolderTree, RefreshDoesNothingWhileAPrefillRuns) {
  for (int i = 0; i < 40; ++i) MakeDir(L"d" + std::to_wstring(i));
  CFolderTreeView& tree = MakeTree();
  tree.SetTargetFolder(LongPath(cwd_));
  tree.Initialize();
  HTREEITEM item = tree.FindItemByIdList(scratchPath_, true);
  ASSERT_TRUE(item);
  tree.Expand(item, TVE_EXPAND);
  // The thread of this expansion needs the window to take its answers, so it still runs.
  ASSERT_TRUE(tree.IsPrefillRunning());
  HTREEITEM first = tree.GetChildItem(item);
  const size_t records = tree.RecordCount();
  tree.Refresh();
  EXPECT_EQ(tree.GetChildItem(item), first);
  EXPECT_EQ(tree.RecordCount(), records);
  // Once every thread is done, it rebuilds.
  ASSERT_TRUE(WaitUntil([&] { return !tree.IsPrefillRunning(); }, 10000));
  tree.Refresh();
  EXPECT_NE(tree.RecordCount(), records);
}

TEST_F(FolderTree, DestroyingTheTreeWhileAPrefillRunsJoinsItsThreads) {
  for (int i = 0; i < 120; ++i) {
    MakeDir(L"f" + std::to_wstring(i));
    Touch(Sub(L"f" + std::to_wstring(i) + L"\\x.ttf"));
  }
  CFolderTreeView& tree = MakeTree();
  tree.SetTargetFolder(LongPath(cwd_));
  tree.Initialize();
  HTREEITEM item = tree.FindItemByIdList(scratchPath_, true);
  ASSERT_TRUE(item);
  tree.Expand(item, TVE_EXPAND);
  // Nothing has taken the threads' answers yet: they are waiting for this window.
  ASSERT_TRUE(tree.IsPrefillRunning());
  ASSERT_GT(tree.RecordCount(), 120u);
  const ULONGLONG start = ::GetTickCount64();
  tree.DestroyWindow();
  EXPECT_LT(::GetTickCount64() - start, 10000u);
  EXPECT_FALSE(tree.IsPrefillRunning());
  EXPECT_EQ(tree.RecordCount(), 0u);
  // Answers still on their way find no window; nothing else happens.
  PumpMessages(50);
}

TEST_F(FolderTree, ATreeThatIsNotTheMainTreeLeavesTheFolderListAlone) {
  MakeDir(L"pick");
  CFolderTreeView& tree = ReadyTree(false);
  list().m_folder = L"X:\\elsewhere";
  list().m_refreshPending = true;
  HTREEITEM item = tree.FindItemByIdList(Sub(L"pick"), true);
  ASSERT_TRUE(item);
  tree.SelectItem(item);
  EXPECT_TRUE(EqualsNoCase(tree.TargetFolder(), Sub(L"pick")));
  EXPECT_EQ(list().m_folder, L"X:\\elsewhere");
  EXPECT_TRUE(list().m_refreshPending);
  tree.Refresh();
  EXPECT_TRUE(list().m_refreshPending);
  // A double click chooses the folder in the picker.
  NMHDR hdr{tree, static_cast<UINT_PTR>(IDC_FOLDER_TREE), static_cast<UINT>(NM_DBLCLK)};
  ::SendMessageW(*parent_, WM_NOTIFY, IDC_FOLDER_TREE, reinterpret_cast<LPARAM>(&hdr));
  PumpMessages(20);
  EXPECT_TRUE(parent_->Got(IDC_BROWSE_OK, 0));
}

TEST_F(FolderTree, FocusWhileTheGroupListIsShownAsksForTheFolderList) {
  CFolderTreeView& tree = ReadyTree();
  g_AppState.MainWindow = *parent_;
  ::SetForegroundWindow(*parent_);
  ::SetFocus(*parent_);
  g_AppState.GroupListShown = false;
  tree.SetFocus();
  PumpMessages(20);
  EXPECT_FALSE(parent_->Got(ID_SHOW_FONT_LIST, 1));
  ::SetFocus(*parent_);
  g_AppState.GroupListShown = true;
  tree.SetFocus();
  PumpMessages(20);
  EXPECT_EQ(::GetFocus(), tree.m_hWnd);
  EXPECT_TRUE(parent_->Got(ID_SHOW_FONT_LIST, 1));
}

TEST_F(FolderTree, ShellNotificationsReachTheTree) {
  CFolderTreeView& tree = ReadyTree();
  ASSERT_NE(tree.NotifyRegistration(), 0u);
  ASSERT_TRUE(ScratchItem(tree));
  list().m_refreshPending = false;
  Touch(Sub(L"sent.ttf"));
  ::SHChangeNotify(SHCNE_CREATE, SHCNF_PATHW | SHCNF_FLUSH, Sub(L"sent.ttf").c_str(), nullptr);
  EXPECT_TRUE(WaitUntil([] { return list().m_refreshPending; }, 3000));
}

// The real tree inside the real folder picker: the picker's start folder is selected, a double
// click chooses it, and the main window's folder list is left alone.
struct PickerDriver {
  static inline std::function<bool()> step;
  static inline bool done = false;
  static inline int ticks = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!done && step) done = step();
    if (++ticks > 150) {
      HWND wnd = nullptr;
      while ((wnd = ::FindWindowExW(nullptr, wnd, L"#32770", nullptr)))
        if (::GetDlgItem(wnd, IDC_BROWSE_OK)) ::PostMessageW(wnd, WM_COMMAND, IDCANCEL, 0);
    }
  }
};

TEST_F(FolderTree, ThePickerShowsTheRealTreeAndADoubleClickChoosesTheFolder) {
  MakeDir(L"Alpha");
  InstallPickerFolderTree();
  list().m_folder = L"X:\\main";
  list().m_refreshPending = false;
  COrvBrowseFolderDialog dlg(Sub(L"Alpha"));
  std::wstring seenPath, seenClass;
  PickerDriver::done = false;
  PickerDriver::ticks = 0;
  PickerDriver::step = [&] {
    HWND picker = nullptr, wnd = nullptr;
    while ((wnd = ::FindWindowExW(nullptr, wnd, L"#32770", nullptr)))
      if (::GetDlgItem(wnd, IDC_BROWSE_OK) && ::IsWindowVisible(wnd)) picker = wnd;
    if (!picker || !dlg.Tree()) return false;
    HWND tree = ::GetDlgItem(picker, IDC_BROWSE_TREE);
    wchar_t cls[64] = {};
    ::GetClassNameW(tree, cls, 64);
    seenClass = cls;
    dlg.Tree()->GetSelectedPath(seenPath);
    NMHDR hdr{tree, static_cast<UINT_PTR>(IDC_BROWSE_TREE), static_cast<UINT>(NM_DBLCLK)};
    ::SendMessageW(picker, WM_NOTIFY, IDC_BROWSE_TREE, reinterpret_cast<LPARAM>(&hdr));
    return true;
  };
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 40, &PickerDriver::Tick);
  const INT_PTR result = dlg.DoModal(nullptr);
  ::KillTimer(nullptr, timer);
  PickerDriver::step = nullptr;
  COrvBrowseFolderDialog::SetTreeHooks({});
  EXPECT_TRUE(PickerDriver::done);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(seenClass, WC_TREEVIEWW);
  EXPECT_TRUE(EqualsNoCase(seenPath, Sub(L"Alpha"))) << Narrow(seenPath);
  EXPECT_TRUE(EqualsNoCase(dlg.ChosenFolder(), Sub(L"Alpha")));
  EXPECT_EQ(list().m_folder, L"X:\\main");
  EXPECT_FALSE(list().m_refreshPending);
}


// A key of the tree, sent as the control sends it (its parent reflects it).
LRESULT SendTreeKey(HWND parent, HWND tree, WORD key) {
  NMTVKEYDOWN nm{};
  nm.hdr = {tree, static_cast<UINT_PTR>(IDC_FOLDER_TREE), static_cast<UINT>(TVN_KEYDOWN)};
  nm.wVKey = key;
  return ::SendMessageW(parent, WM_NOTIFY, IDC_FOLDER_TREE, reinterpret_cast<LPARAM>(&nm));
}

// Edits the label of `item`, types `name` and ends the edit as Enter does.
void Rename(CFolderTreeView& tree, HTREEITEM item, const wchar_t* name) {
  HWND edit = reinterpret_cast<HWND>(::SendMessageW(tree, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item)));
  ASSERT_TRUE(edit);
  ::SetWindowTextW(edit, name);
  ::SendMessageW(tree, TVM_ENDEDITLABELNOW, FALSE, 0);
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(FolderTree, NewFolderMakesNumberedFoldersAndStartsEditingTheirNames) {
  CFolderTreeView& tree = ReadyTree();
  const std::pair<const wchar_t*, const wchar_t*> steps[] = {
      {nullptr, L"New Folder"}, {nullptr, L"New Folder (2)"}, {L"New Folder (3)", L"New Folder (4)"}};
  for (const auto& [madeByHand, expected] : steps) {
    if (madeByHand) MakeDir(madeByHand);
    ASSERT_TRUE(tree.SelectItem(ScratchItem(tree)));
    tree.NewFolder();
    std::wstring selected;
    EXPECT_TRUE(tree.GetSelectedPath(selected) && EqualsNoCase(selected, Sub(expected))) << Narrow(selected);
    EXPECT_TRUE(::PathIsDirectoryW(Sub(expected).c_str()));
    EXPECT_TRUE(::SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0)) << "the new name is being edited";
    ::SendMessageW(tree, TVM_ENDEDITLABELNOW, TRUE, 0);
  }
  EXPECT_TRUE(tree.FoldersChanged());
}

// A folder that cannot be made (its parent is gone) is reported with the tree's own caption.
TEST_F(FolderTree, NewFolderThatCannotBeMadeIsReported) {
  MakeDir(L"gone");
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM item = tree.FindItemByIdList(Sub(L"gone"), true);
  ASSERT_TRUE(item && tree.SelectItem(item));
  ASSERT_TRUE(::SetCurrentDirectoryW(scratchPath_.c_str()));
  ASSERT_TRUE(::RemoveDirectoryW(Sub(L"gone").c_str()));
  testing_support::ResetRecords();
  tree.NewFolder();
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_EQ(testing_support::Boxes()[0].caption, L"New Folder");
  EXPECT_NE(testing_support::Boxes()[0].text.find(Sub(L"gone\\New Folder")), std::wstring::npos)
      << Narrow(testing_support::Boxes()[0].text);
  EXPECT_FALSE(Exists(Sub(L"gone")));
}

// A rename goes through the shell; the folder shown in the list (the current directory) is
// renamed too, and the list, the target and the current directory follow it.
TEST_F(FolderTree, RenamingTheListedFolderMovesTheListAndTheCurrentDirectory) {
  MakeDir(L"old");
  Touch(Sub(L"old\\a.ttf"));
  MakeDir(L"taken");
  CFolderTreeView& tree = ReadyTree();
  HTREEITEM item = tree.FindItemByIdList(Sub(L"old"), true);
  ASSERT_TRUE(item && tree.SelectItem(item));
  ASSERT_TRUE(EqualsNoCase(CurrentDirectory(), Sub(L"old")));
  list().m_refreshPending = false;
  Rename(tree, item, L"renamed");
  EXPECT_TRUE(Exists(Sub(L"renamed\\a.ttf")) && !Exists(Sub(L"old")));
  EXPECT_EQ(TreeItemText(tree, item), L"renamed");
  EXPECT_TRUE(EqualsNoCase(list().m_folder, Sub(L"renamed"))) << Narrow(list().m_folder);
  EXPECT_TRUE(list().m_refreshPending);
  EXPECT_TRUE(EqualsNoCase(tree.TargetFolder(), Sub(L"renamed")));
  EXPECT_TRUE(EqualsNoCase(CurrentDirectory(), Sub(L"renamed"))) << Narrow(CurrentDirectory());
  // A name that is taken keeps the old name, with one beep.
  ResetRecords();
  Rename(tree, item, L"taken");
  EXPECT_TRUE(Exists(Sub(L"renamed\\a.ttf")));
  EXPECT_EQ(TreeItemText(tree, item), L"renamed");
  EXPECT_EQ(Beeps().size(), 1u);
}

// Only empty folders are deleted, system files Thumbs.db and Desktop.ini with them. Del posts its
// request; a request for a folder that is no longer selected is dropped.
TEST_F(FolderTree, OnlyTheEmptyFolderAskedForIsDeleted) {
  const struct {
    const wchar_t* name;
    const wchar_t* file;  // a file inside, or none
    DWORD attributes;
    bool deleted;
  } cases[] = {
      {L"empty", nullptr, 0, true},
      {L"explorer", L"Thumbs.db", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN, true},
      {L"plain thumbs", L"Thumbs.db", FILE_ATTRIBUTE_NORMAL, false},
      {L"font", L"a.ttf", FILE_ATTRIBUTE_NORMAL, false},
      {L"parent", L"child", FILE_ATTRIBUTE_DIRECTORY, false},
  };
  for (const auto& c : cases) {
    MakeDir(c.name);
    const std::wstring inside = Sub(c.name) + L"\\" + (c.file ? c.file : L"");
    if (c.attributes == FILE_ATTRIBUTE_DIRECTORY) ::CreateDirectoryW(inside.c_str(), nullptr);
    else if (c.file) Touch(inside), ::SetFileAttributesW(inside.c_str(), c.attributes);
  }
  Touch(Sub(L"explorer\\desktop.INI"));
  ::SetFileAttributesW(Sub(L"explorer\\desktop.INI").c_str(), FILE_ATTRIBUTE_SYSTEM);
  MakeDir(L"first");
  MakeDir(L"second");
  CFolderTreeView& tree = ReadyTree();
  testing_support::ResetRecords();
  // Each deletion looks into the folders around it again on a worker, which keeps a folder open
  // while it lists it: the next deletion, at once, still removes its folder.
  const auto settled = [&] { return WaitUntil([&] { return !tree.IsPrefillRunning(); }, 10000); };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    HTREEITEM item = tree.FindItemByIdList(Sub(c.name), true);
    ASSERT_TRUE(item && tree.SelectItem(item));
    EXPECT_EQ(tree.CanDeleteSelectedFolder(), c.deleted);
    tree.DeleteFolder();
    EXPECT_EQ(Exists(Sub(c.name)), !c.deleted);
    EXPECT_EQ(EqualsNoCase(tree.TargetFolder(), scratchPath_), c.deleted);
  }
  ASSERT_TRUE(settled());
  HTREEITEM first = tree.FindItemByIdList(Sub(L"first"), true);
  HTREEITEM second = tree.FindItemByIdList(Sub(L"second"), true);
  ASSERT_TRUE(first && second && tree.SelectItem(first));
  EXPECT_EQ(SendTreeKey(*parent_, tree, VK_DELETE), 0);
  ASSERT_TRUE(tree.SelectItem(second));  // before the posted request arrives
  MSG request;
  while (::PeekMessageW(&request, tree, WM_COMMAND, WM_COMMAND, PM_REMOVE)) ::DispatchMessageW(&request);
  EXPECT_TRUE(Exists(Sub(L"first")) && Exists(Sub(L"second")));
  SendTreeKey(*parent_, tree, VK_DELETE);  // the selected folder is also the current directory
  EXPECT_TRUE(WaitUntil([&] { return !Exists(Sub(L"second")); }, 10000) && Exists(Sub(L"first")));
  EXPECT_TRUE(testing_support::Boxes().empty()) << "a deletion failed";
  EXPECT_FALSE(StartsWithNoCase(CurrentDirectory(), Sub(L"second")));
}

// The picker's New Folder button makes a folder in its own tree; its name is typed at once and
// the picker chooses the folder under that name.
TEST_F(FolderTree, ThePickersNewFolderIsMadeAndNamedInItsTree) {
  InstallPickerFolderTree();
  COrvBrowseFolderDialog dlg(scratchPath_);
  dlg.allowEditing = true;
  HWND picker = nullptr;
  INT_PTR result = 0;
  ModalScript::Run({[&] {
                      if (!(picker = FindDialogWithControl(IDC_BROWSE_NEW_FOLDER))) return false;
                      ClickButton(picker, IDC_BROWSE_NEW_FOLDER);
                      return true;
                    },
                    [&] {
                      HWND tree = ::GetDlgItem(picker, IDC_BROWSE_TREE);
                      HWND edit = reinterpret_cast<HWND>(::SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0));
                      EXPECT_TRUE(edit && Exists(Sub(L"New Folder")));
                      if (edit) ::SetWindowTextW(edit, L"Chosen");
                      ClickButton(picker, IDOK);  // Enter ends the edit
                      ClickButton(picker, IDC_BROWSE_OK);
                      return true;
                    }},
                   [&] { result = dlg.DoModal(nullptr); });
  COrvBrowseFolderDialog::SetTreeHooks({});
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(EqualsNoCase(dlg.ChosenFolder(), Sub(L"Chosen"))) << Narrow(dlg.ChosenFolder());
}

}  // namespace
