// Damaged group files in the real main window: the start tells them in one box, and rebuilds,
// expanding, the group checks with their tabs and the quick search tell nothing more until a file
// changes; the group checks list every damaged file by its file name.
#include "tests/app/GroupsMainFrame.h"

#include <set>

#include "app/ToolWindows.h"
#include "common/ResString.h"
#include "groups/CGroupChecksDlg.h"
#include "tests/support/ModalScript.h"

using namespace testing_support;

namespace {

constexpr int kDamaged = 12;

// A group file that the reader would read only in part: an empty font element.
void WriteDamaged(const std::wstring& path, const std::string& name) {
  const std::string bytes = "<OrvelFontGroups><Name>" + name +
                            "</Name><Parent>orvel_Root.xml</Parent><fonts><font></font></fonts></OrvelFontGroups>";
  ASSERT_TRUE(WriteFileBytes(path, bytes.data(), bytes.size()));
}

class DamagedGroupBoxes : public GroupsMainFrame {
protected:
  // The damaged files each box named, one entry per box and file; the records start afresh.
  std::multiset<std::wstring> TakeTold() {
    std::multiset<std::wstring> told;
    for (const RecordedBox& box : Boxes()) {
      EXPECT_EQ(box.caption, LoadResString(IDS_GROUPS_CAPTION));
      for (int i = 1; i <= kDamaged; ++i)
        if (box.text.find(G(i)) != std::wstring::npos) told.insert(G(i));
    }
    ResetRecords();
    return told;
  }
};

}  // namespace

TEST_F(DamagedGroupBoxes, EachDamagedFileIsToldOnceAndTheChecksListThemAll) {
  std::set<std::wstring> damaged;
  for (int i = 1; i <= kDamaged; ++i) {
    WriteDamaged(groups_.File(G(i)), "Damaged " + std::to_string(i));
    damaged.insert(G(i));
  }
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"D1"}, {G(2), L"D2"}, {G(3), L"D3"}, {G(4), L"D4"}, {G(5), L"D5"},
                                      {G(6), L"D6"}, {G(7), L"D7"}, {G(8), L"D8"}, {G(9), L"D9"}, {G(10), L"D10"},
                                      {G(11), L"D11"}, {G(12), L"D12"}, {G(20), L"Sound"}});
  Make(G(20), L"Sound", kRootGroupFile, {}, {{L"Ga", Font(L"Ga")}});

  CMainFrame& f = Open();
  Tree().SelectItem(Tree().GetRootItem());
  f.RunIdleJob();  // the group font list shows the root's subgroups, damaged ones included
  EXPECT_EQ(Boxes().size(), 1u) << "one box for the start";
  EXPECT_EQ(TakeTold(), std::multiset<std::wstring>(damaged.begin(), damaged.end()));

  Tree().SendMessage(WM_COMMAND, ID_FONTS_REFRESH);
  Tree().SendMessage(WM_KEYDOWN, VK_MULTIPLY, 1);
  f.RunIdleJob();
  f.SendMessage(WM_COMMAND, ID_TOOLS_GROUP_CHECKS);
  auto* checks = dynamic_cast<CGroupChecksDlg*>(f.Tools().Get(ToolWindowId::GroupChecksDlg));
  ASSERT_NE(checks, nullptr);
  for (int run = 0; run < 2; ++run) {
    ClickButton(checks->m_hWnd, IDOK);
    ChooseTab(checks->m_hWnd, CGroupChecksDlg::kBrokenChains);
    std::set<std::wstring> listed;
    for (const std::wstring& row : checks->Rows()) listed.insert(row.substr(0, row.find(L'|')));
    EXPECT_EQ(listed, damaged) << "every damaged file by its file name, and only those";
    ChooseTab(checks->m_hWnd, CGroupChecksDlg::kMissingChildren);
    ChooseTab(checks->m_hWnd, CGroupChecksDlg::kMissingFonts);
  }
  CGroupsTVContainer& pane = f.Panes().m_groupsPane;
  pane.SendMessage(WM_COMMAND, ID_GROUPS_FIND);
  ::SetWindowTextW(pane.QuickSearch().Edit(), L"Nothing*");
  ::SendMessageW(pane.QuickSearch().Edit(), WM_KEYDOWN, VK_RETURN, 1);
  f.RunIdleJob();
  EXPECT_TRUE(Boxes().empty()) << "nothing changed: nothing is told again";

  // A file the user has changed, damaged still, is told again, alone.
  WriteDamaged(groups_.File(G(3)), "Damaged again");
  Tree().SendMessage(WM_COMMAND, ID_FONTS_REFRESH);
  EXPECT_EQ(TakeTold(), std::multiset<std::wstring>{G(3)});
}
