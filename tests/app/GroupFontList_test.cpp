// The group font list in the real main window over real group files and real fonts: the fill
// from the stored names, each entry completed as the face or instance it names, Del, and copies
// and moves of fonts and groups between groups.
#include "tests/app/GroupsMainFrame.h"

#include <algorithm>
#include <vector>

#include "lists/CLVGroupFonts.h"

using namespace testing_support;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
const std::wstring kNotoBold = L"Z:\\usr\\share\\fonts\\opentype\\noto\\NotoSansCJK-Bold.ttc";

class GroupFontList : public GroupsMainFrame {
protected:
  static CLVGroupFonts& List() { return g_AppState.GroupFonts; }

  // Selects the group in the tree and lets the idle pass fill the list; the fill's result.
  int Show(const std::wstring& file) {
    frame_->SendMessage(WM_COMMAND, ID_SHOW_FONT_LIST, 2);
    if (!Tree().SelectGroupByFile(file, -1)) return -1;
    List().m_refreshPending = true;
    for (int i = 0; i < 6; ++i)
      if (frame_->RunIdleJob() == IdleJob::GroupListFill) break;
    return List().CountRecords();
  }
  // Pumps until the detail reader and the painting have completed every record.
  static bool WaitForRecords() {
    for (int i = 0; i < 200; ++i) {
      bool done = true;
      for (const auto& row : List().Rows())
        if (row->record && !row->record->HasFlag(font_flags::kResolved)) done = false;
      if (done) return true;
      PumpMessages(25);
    }
    return false;
  }
  static std::vector<std::wstring> RowNames() {
    std::vector<std::wstring> names;
    int count = 0;
    List().GetCounts(&count, nullptr);
    for (int i = 0; i < count; ++i) names.push_back(List().GetRowName(i));
    return names;
  }
  static int RowOf(const std::wstring& name) {
    const std::vector<std::wstring> names = RowNames();
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return static_cast<int>(i);
    return -1;
  }
  static void SelectOnly(std::initializer_list<const wchar_t*> names) {
    List().SelectAll(false);
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED;
    for (const wchar_t* name : names) ::SendMessageW(List().m_hWnd, LVM_SETITEMSTATE, RowOf(name), reinterpret_cast<LPARAM>(&item));
  }
  void PressDelete() { ::SendMessageW(List().m_hWnd, WM_KEYDOWN, VK_DELETE, 1); }
  // The fonts of a group file by name, in file order.
  static std::vector<std::wstring> FontNames(const std::wstring& file) {
    FontGroup g;
    (void)g.Load(file);
    std::vector<std::wstring> names;
    for (const FontGroupEntry& f : g.Fonts) names.push_back(f.Name);
    return names;
  }
  static std::vector<std::wstring> NodeFiles(const std::wstring& file) {
    FontGroup g;
    (void)g.Load(file);
    std::vector<std::wstring> files;
    for (const FontGroupEntry& n : g.Nodes) files.push_back(n.Path);
    return files;
  }
};

}  // namespace

TEST_F(GroupFontList, FillShowsSubgroupsAndEachStoredFontAsTheFaceItNames) {
  if (::GetFileAttributesW(kNotoBold.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "fonts-noto-cjk missing";
  const std::wstring variable = SourceDir() + L"\\tests\\fonts\\data\\OrvelVarStat.ttf";
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Mixed"}});
  Make(G(1), L"Mixed", kRootGroupFile, {{G(2), L"Zed"}, {G(3), L"alpha"}, {G(9), L"Missing"}},
       {{L"DejaVu Sans Book", kDejaVu}, {L"Noto Sans CJK KR Bold", kNotoBold}, {L"Orvel Var Bold", variable},
        {L"Gone", L"C:\\nowhere\\gone.ttf"}});
  Make(G(2), L"Zed", G(1));
  Make(G(3), L"alpha", G(1), {}, {}, true);
  Open();
  EXPECT_EQ(Show(G(1)), 4);
  EXPECT_EQ(RowNames(), (std::vector<std::wstring>{L"alpha", L"Missing", L"Zed", L"DejaVu Sans Book", L"Gone",
                                                   L"Noto Sans CJK KR Bold", L"Orvel Var Bold"}))
      << "one row per stored font: the variable font's entry is its one instance";
  EXPECT_NE(frame_->Panes().m_fontListsPane.GetCaption().find(L"Mixed [4]"), std::wstring::npos);
  const FontListRow* alpha = List().GetRowAt(RowOf(L"alpha"));
  EXPECT_TRUE(alpha->subgroup->installed);
  EXPECT_TRUE(List().GetRowAt(RowOf(L"Missing"))->subgroup->loadFailed);

  ASSERT_TRUE(WaitForRecords());
  const FontItem* noto = List().GetRecordAt(RowOf(L"Noto Sans CJK KR Bold"));
  ASSERT_NE(noto, nullptr);
  EXPECT_EQ(noto->postScriptName, L"NotoSansCJKkr-Bold") << "the second face, not the first";
  const FontItem* var = List().GetRecordAt(RowOf(L"Orvel Var Bold"));
  ASSERT_NE(var, nullptr);
  EXPECT_TRUE(var->IsVariable());
  EXPECT_EQ(var->postScriptName, L"OrvelVar-Bold") << "its own instance, not the default";
  const FontItem* gone = List().GetRecordAt(RowOf(L"Gone"));
  EXPECT_TRUE(gone->IsUnreadable());
  EXPECT_FALSE(List().GetRecordAt(RowOf(L"DejaVu Sans Book"))->IsUnreadable());
  EXPECT_EQ(RowNames().size(), 7u);
  Tree().Expand(Tree().FindItemByFile(G(1)), TVE_EXPAND);
  frame_->RunIdleJob();
  PumpMessages(300);
  EXPECT_TRUE(SaveWindowImage(frame_->m_hWnd, ArtifactsDir() + L"\\app_group_font_list.bmp"));
}

TEST_F(GroupFontList, SubgroupsOfNodesWithoutANameAreShownByTheirGroupsNameOrFile) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L""}, {G(2), L""}, {G(3), L"Named node"}});
  Make(G(1), L"Child", kRootGroupFile);
  const std::string damaged = "<OrvelFontGroups><Name>&#0;</Name></OrvelFontGroups>";  // stops before the Name
  ASSERT_TRUE(testing_support::WriteFileBytes(groups_.File(G(2)), damaged.data(), damaged.size()));
  Make(G(3), L"Other name", kRootGroupFile);
  Open();
  Show(kRootGroupFile);
  std::vector<std::wstring> names = RowNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Child", L"Named node", G(2)})) << "no blank row; a named node keeps its name";
  EXPECT_EQ(Bytes(G(2)), damaged);
  (void)FlushGroupFileNotices();
}

TEST_F(GroupFontList, DeleteRemovesOnlyWhatIsSelectedAndAsksFirst) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Group"}, {G(5), L"Installed"}});
  Make(G(1), L"Group", kRootGroupFile, {{G(2), L"With fonts"}, {G(3), L"Empty"}},
       {{L"Alpha", Font(L"Alpha")}, {L"Beta", Font(L"Beta")}, {L"Gamma", Font(L"Gamma")}});
  Make(G(2), L"With fonts", G(1), {}, {{L"Delta", Font(L"Delta")}});
  Make(G(3), L"Empty", G(1));
  Make(G(5), L"Installed", kRootGroupFile, {}, {{L"Alpha", Font(L"Alpha")}}, true);
  Open();
  ASSERT_EQ(Show(G(1)), 3);
  const std::string before = Bytes(G(1));

  List().SelectAll(false);
  PressDelete();
  EXPECT_EQ(Bytes(G(1)), before) << "nothing selected: nothing written";
  SelectOnly({L"Beta"});
  SetBoxAnswer(IDNO);
  PressDelete();
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Bytes(G(1)), before);

  SetBoxAnswer(IDYES);
  SelectOnly({L"Beta"});
  PressDelete();
  EXPECT_EQ(FontNames(G(1)), (std::vector<std::wstring>{L"Alpha", L"Gamma"}));
  {
    // Byte for byte what the store writes for the group less that one font.
    FontGroup expected;
    expected.FileName = L"orvelgrp00099.xml";
    expected.Name = L"Group";
    expected.Parent = kRootGroupFile;
    expected.AddNode(L"With fonts", G(2), false, false);
    expected.AddNode(L"Empty", G(3), false, false);
    expected.AddFont(L"Alpha", Font(L"Alpha"));
    expected.AddFont(L"Gamma", Font(L"Gamma"));
    EXPECT_EQ(Bytes(G(1)), expected.BuildFileBytes(false));
  }
  EXPECT_EQ(RowNames(), (std::vector<std::wstring>{L"Empty", L"With fonts", L"Alpha", L"Gamma"}));

  // An empty subgroup goes without a question, with its file.
  ResetRecords();
  SelectOnly({L"Empty"});
  PressDelete();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(::GetFileAttributesW(groups_.File(G(3)).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(NodeFiles(G(1)), std::vector<std::wstring>{G(2)});

  // An installed group only beeps.
  ASSERT_EQ(Show(G(5)), 1);
  const std::string installed = Bytes(G(5));
  SelectOnly({L"Alpha"});
  ResetRecords();
  PressDelete();
  EXPECT_EQ(Beeps(), std::vector<UINT>{MB_ICONEXCLAMATION});
  EXPECT_EQ(Bytes(G(5)), installed);

  // A fill that Esc ended leaves nothing that Del could write back.
  ResetRecords();
  ::PostMessageW(Tree().m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(Show(G(1)), 0);
  EXPECT_TRUE(RowNames().empty());
  EXPECT_EQ(Beeps(), std::vector<UINT>{MB_ICONEXCLAMATION});
  PressDelete();
  EXPECT_EQ(FontNames(G(1)), (std::vector<std::wstring>{L"Alpha", L"Gamma"}));
}

TEST_F(GroupFontList, CopiesAndMovesFontsAndGroupsBetweenGroups) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Source"}, {G(2), L"Target"}});
  Make(G(1), L"Source", kRootGroupFile, {{G(3), L"Child"}}, {{L"X", Font(L"X")}, {L"Y", Font(L"Y")}});
  Make(G(2), L"Target", kRootGroupFile, {}, {{L"Z", Font(L"Z")}});
  Make(G(3), L"Child", G(1), {{G(4), L"Grandchild"}});
  Make(G(4), L"Grandchild", G(3), {}, {{L"W", Font(L"W")}});
  Open();
  ASSERT_EQ(Show(G(1)), 2);

  // A copy pastes as often as asked; the same font goes in once.
  SelectOnly({L"X"});
  List().BeginTransfer(G(1), CGroupsTreeView::kTransferCopy);
  ASSERT_TRUE(List().PasteToGroup(G(2)));
  List().EndTransfer(G(2));
  ASSERT_TRUE(List().PasteToGroup(G(2)));
  EXPECT_EQ(FontNames(G(2)), (std::vector<std::wstring>{L"X", L"Z"}));
  EXPECT_EQ(FontNames(G(1)), (std::vector<std::wstring>{L"X", L"Y"}));

  // A move leaves its source, not into the source itself, and only once.
  SelectOnly({L"Y"});
  List().BeginTransfer(G(1), CGroupsTreeView::kTransferMove);
  EXPECT_FALSE(List().PasteToGroup(G(1)));
  ASSERT_TRUE(List().PasteToGroup(G(2)));
  List().EndTransfer(G(2));
  EXPECT_FALSE(List().PasteToGroup(G(2)));
  EXPECT_EQ(FontNames(G(1)), std::vector<std::wstring>{L"X"});
  EXPECT_EQ(FontNames(G(2)), (std::vector<std::wstring>{L"X", L"Y", L"Z"}));

  // A group is never moved below itself.
  Tree().SelectGroupByFile(G(3), -1);
  Tree().MarkPendingTransfer(CGroupsTreeView::kTransferMove);
  const std::string child = Bytes(G(3)), grandchild = Bytes(G(4));
  EXPECT_FALSE(List().PasteToGroup(G(4)));
  EXPECT_FALSE(List().PasteToGroup(G(3)));
  EXPECT_EQ(Bytes(G(3)), child);
  EXPECT_EQ(Bytes(G(4)), grandchild);

  // Moved by the tree's paste: the group and its subtree hang under the target now.
  Tree().SelectGroupByFile(G(2), -1);
  ASSERT_TRUE(Tree().PasteToSelectedGroup());
  EXPECT_TRUE(NodeFiles(G(1)).empty());
  EXPECT_EQ(NodeFiles(G(2)), std::vector<std::wstring>{G(3)});
  FontGroup moved;
  ASSERT_TRUE(moved.Load(G(3)));
  EXPECT_EQ(moved.Parent, G(2));
  EXPECT_NE(Tree().FindChildByFile(Tree().FindItemByFile(G(2)), G(3)), nullptr) << "the tree shows it there";

  // A copy of a group tree: new files, each naming its copied parent.
  Tree().MarkPendingTransfer(CGroupsTreeView::kTransferCopy);  // the selected group: Target
  Tree().SelectGroupByFile(G(1), -1);
  ASSERT_TRUE(Tree().PasteToSelectedGroup());
  ASSERT_EQ(NodeFiles(G(1)).size(), 1u);
  FontGroup copy;
  ASSERT_TRUE(copy.Load(NodeFiles(G(1))[0]));
  EXPECT_EQ(copy.Name, L"Target");
  EXPECT_EQ(copy.Parent, G(1));
  EXPECT_EQ(copy.Fonts.size(), 3u);
  ASSERT_EQ(copy.Nodes.size(), 1u);
  EXPECT_NE(copy.Nodes[0].Path, G(3));
  FontGroup copiedChild;
  ASSERT_TRUE(copiedChild.Load(copy.Nodes[0].Path));
  EXPECT_EQ(copiedChild.Parent, copy.FileName);
  ASSERT_EQ(copiedChild.Nodes.size(), 1u);
  EXPECT_NE(copiedChild.Nodes[0].Path, G(4));
}

TEST_F(GroupFontList, ToolbarOffersOnlyWhatCanActOnTheSelection) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Group"}});
  Make(G(1), L"Group", kRootGroupFile, {}, {{L"Alpha", Font(L"Alpha")}});
  Open();
  ASSERT_EQ(Show(G(1)), 1);
  const HWND bar = frame_->Panes().m_fontListsPane.m_hWndToolBar;
  const auto enabled = [bar](int id) { return ::SendMessageW(bar, TB_ISBUTTONENABLED, id, 0) != 0; };
  struct Case {
    bool selected;
    bool remove;
  };
  for (const Case& c : {Case{true, true}, Case{false, false}}) {
    SCOPED_TRACE(c.selected);
    if (c.selected) SelectOnly({L"Alpha"});
    else List().SelectAll(false);
    frame_->RunIdleJob();
    EXPECT_EQ(enabled(ID_GROUP_REMOVE_FONTS), c.remove);
    EXPECT_TRUE(enabled(ID_PANE_PARENT_FOLDER)) << "the group is below the root";
    EXPECT_EQ(enabled(ID_GROUP_LIST_INSTALL), c.selected);
    EXPECT_EQ(enabled(ID_GROUP_LIST_UNINSTALL), c.selected);
  }
}

namespace {

// What the progress bars of this thread went through: made over which window, their range and
// positions, and whether they were gone again; a picture of the groups pane at the middle step.
struct ProgressRecord {
  HWND bar = nullptr;
  HWND parent = nullptr;
  int range = 0;
  std::vector<int> positions;
  HWND picturePane = nullptr;
  bool pictureTaken = false;
};
ProgressRecord g_progress;

bool IsProgressBar(HWND wnd) {
  wchar_t cls[40] = {};
  ::GetClassNameW(wnd, cls, 40);
  return std::wstring(cls) == PROGRESS_CLASSW;
}

LRESULT CALLBACK RecordProgress(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (IsProgressBar(sent->hwnd)) {
      if (sent->message == PBM_SETRANGE32) {
        g_progress.bar = sent->hwnd;
        g_progress.parent = ::GetParent(sent->hwnd);
        g_progress.range = static_cast<int>(sent->lParam);
      } else if (sent->message == PBM_SETPOS && sent->hwnd == g_progress.bar) {
        g_progress.positions.push_back(static_cast<int>(sent->wParam));
        if (!g_progress.pictureTaken && sent->wParam * 2 >= static_cast<WPARAM>(g_progress.range) && sent->wParam > 0) {
          g_progress.pictureTaken = true;
          SaveWindowImage(g_progress.picturePane, ArtifactsDir() + L"\\app_group_list_progress.bmp");
        }
      }
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(GroupFontList, FillShowsItsProgressOverTheGroupsPane) {
  constexpr int kFonts = 400;
  FontGroup group;
  group.FileName = G(1);
  group.Name = L"Many";
  group.Parent = kRootGroupFile;
  for (int i = 0; i < kFonts; ++i) group.AddFont(L"Font " + std::to_wstring(i), Font(L"F" + std::to_wstring(i)));
  ASSERT_TRUE(group.Save());
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Many"}});
  Open();
  g_progress = {};
  g_progress.picturePane = frame_->Panes().m_groupsPane;
  HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, RecordProgress, nullptr, ::GetCurrentThreadId());
  ASSERT_TRUE(hook);
  const int shown = Show(G(1));
  ::UnhookWindowsHookEx(hook);
  EXPECT_EQ(shown, kFonts);
  ASSERT_NE(g_progress.bar, nullptr) << "no progress bar during the fill";
  EXPECT_EQ(g_progress.parent, frame_->Panes().m_groupsPane.m_hWnd) << "laid over the groups tree's pane";
  EXPECT_EQ(g_progress.range, kFonts);
  ASSERT_FALSE(g_progress.positions.empty());
  EXPECT_EQ(g_progress.positions.back(), kFonts) << "it reaches its end with the last font";
  EXPECT_TRUE(std::is_sorted(g_progress.positions.begin(), g_progress.positions.end()));
  EXPECT_TRUE(g_progress.pictureTaken);
  EXPECT_FALSE(::IsWindow(g_progress.bar)) << "gone once the list is filled";
}

TEST_F(GroupFontList, CaptionFollowsARenameOfTheGroupShown) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Old name"}});
  Make(G(1), L"Old name", kRootGroupFile, {}, {{L"DejaVu Sans Book", kDejaVu}});
  Open();
  EXPECT_EQ(Show(G(1)), 1);
  CFontListsPaneContainer& pane = frame_->Panes().m_fontListsPane;
  ASSERT_EQ(pane.GetCaption(), L"Old name [1]");
  // The user renames it in the tree: F2, a new name, Enter.
  HTREEITEM item = Tree().FindItemByFile(G(1));
  ::SetWindowTextW(reinterpret_cast<HWND>(Tree().SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item))), L"New name");
  Tree().SendMessage(TVM_ENDEDITLABELNOW, FALSE);
  for (int i = 0; i < 8 && frame_->RunIdleJob() != IdleJob::None; ++i) {
  }
  EXPECT_EQ(Tree().GetItemName(item), L"New name");
  EXPECT_EQ(pane.GetCaption(), L"New name [1]");
  PumpMessages(100);
  EXPECT_TRUE(SaveWindowImage(frame_->m_hWnd, ArtifactsDir() + L"\\app_group_caption_renamed.bmp"));
}
