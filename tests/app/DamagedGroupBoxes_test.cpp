// Damaged group files in the real main window: told once, in one box, across start, rebuild,
// expanding, the group checks with their tabs and the quick search, until a file changes; the
// group checks list every one by its file name.
#include "tests/app/GroupsMainFrame.h"

#include <set>

#include "app/ToolWindows.h"
#include "groups/CGroupChecksDlg.h"
#include "tests/support/ModalScript.h"

using namespace testing_support;

using DamagedGroupBoxes = GroupsMainFrame;

TEST_F(DamagedGroupBoxes, EachDamagedFileIsToldOnceAndTheChecksListThemAll) {
  const auto damage = [this](int n, const std::string& name) {  // an empty font element
    const std::string bytes = "<OrvelFontGroups><Name>" + name + "</Name><fonts><font></font></fonts></OrvelFontGroups>";
    ASSERT_TRUE(WriteFileBytes(groups_.File(G(n)), bytes.data(), bytes.size()));
  };
  const auto told = [] {  // the files the boxes named, once per box
    std::multiset<std::wstring> files;
    for (const RecordedBox& box : Boxes())
      for (int n = 1; n <= 12; ++n)
        if (box.text.find(G(n)) != std::wstring::npos) files.insert(G(n));
    ResetRecords();
    return files;
  };
  FontGroup root;
  root.FileName = kRootGroupFile;
  std::set<std::wstring> damaged;
  for (int n = 1; n <= 12; ++n) {
    damage(n, "Damaged");
    root.AddNode(L"Damaged", G(n), false, false);
    damaged.insert(G(n));
  }
  ASSERT_TRUE(root.Save());

  CMainFrame& f = Open();
  // The idle passes after an action: the work it left, then the notices it found.
  const auto settle = [&f] {
    for (int i = 0; i < 16 && f.OnIdle(); ++i) {}
  };
  Tree().SelectItem(Tree().GetRootItem());
  settle();  // the group font list reads the damaged subgroups again
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(told(), std::multiset<std::wstring>(damaged.begin(), damaged.end()));

  Tree().SendMessage(WM_COMMAND, ID_FONTS_REFRESH);
  Tree().SendMessage(WM_KEYDOWN, VK_MULTIPLY, 1);
  f.SendMessage(WM_COMMAND, ID_TOOLS_GROUP_CHECKS);
  auto* checks = dynamic_cast<CGroupChecksDlg*>(f.Tools().Get(ToolWindowId::GroupChecksDlg));
  ASSERT_NE(checks, nullptr);
  for (int run = 0; run < 2; ++run) {
    ClickButton(checks->m_hWnd, IDOK);
    ChooseTab(checks->m_hWnd, CGroupChecksDlg::kBrokenChains);
    std::set<std::wstring> listed;
    for (const std::wstring& row : checks->Rows()) listed.insert(row.substr(0, row.find(L'|')));
    EXPECT_EQ(listed, damaged) << "by file name, as they have no name to show";
    ChooseTab(checks->m_hWnd, CGroupChecksDlg::kMissingChildren);
  }
  settle();
  CGroupsTVContainer& pane = f.Panes().m_groupsPane;
  pane.SendMessage(WM_COMMAND, ID_GROUPS_FIND);
  ::SetWindowTextW(pane.QuickSearch().Edit(), L"Nothing*");
  ::SendMessageW(pane.QuickSearch().Edit(), WM_KEYDOWN, VK_RETURN, 1);
  settle();
  EXPECT_TRUE(Boxes().empty()) << "nothing changed, nothing told again";

  damage(3, "Changed by hand");
  Tree().SendMessage(WM_COMMAND, ID_FONTS_REFRESH);
  settle();
  EXPECT_EQ(told(), std::multiset<std::wstring>{G(3)});
}
