// The folder tree's "make groups" command in the real main window: the folder selected in the
// folder tree becomes a group under the group selected in the groups tree, which shows and
// selects it.
#include "tests/app/GroupsMainFrame.h"

#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "tests/support/SfntBuilder.h"

using namespace testing_support;

namespace {

class FolderMakeGroups : public GroupsMainFrame {
protected:
  void SetUp() override {
    GroupsMainFrame::SetUp();
    savedFontCase_ = g_Preferences.FontCaseRoot;
    root_ = LongPath(fonts_.Path());
    g_Preferences.FontCaseRoot = root_;
  }
  void TearDown() override {
    GroupsMainFrame::TearDown();
    g_Preferences.FontCaseRoot = savedFontCase_;
  }

  ScratchDir fonts_;
  std::wstring root_, savedFontCase_;
};

std::wstring StatusText() {
  wchar_t text[512] = {};
  if (g_AppState.StatusBar) ::SendMessageW(g_AppState.StatusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(FolderMakeGroups, TheNewGroupAppearsUnderTheSelectedGroup) {
  const std::wstring serif = root_ + L"\\Serif";
  ::CreateDirectoryW(serif.c_str(), nullptr);
  ::CreateDirectoryW((serif + L"\\Bold").c_str(), nullptr);
  sfnt_test::WriteFile(serif + L"\\a.ttf",
                       sfnt_test::BuildSfnt({{"head", sfnt_test::BuildHead()},
                                             {"OS/2", sfnt_test::BuildOs2(4)},
                                             {"name", sfnt_test::BuildNameTable(sfnt_test::WindowsNames(
                                                          L"Serif Face", L"Regular", L"Serif Face"))}}));
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Mine"}});
  Make(G(1), L"Mine", kRootGroupFile);
  Open();
  CFolderTreeView& folders = g_AppState.FolderTree;
  HTREEITEM folder = folders.FindItemByIdList(serif, true);
  ASSERT_TRUE(folder);
  folders.SelectItem(folder);
  ASSERT_TRUE(EqualsNoCase(folders.TargetFolder(), serif)) << Narrow(folders.TargetFolder());
  HTREEITEM mine = Tree().FindChildByFile(Tree().GetRootItem(), G(1));
  ASSERT_TRUE(mine);
  Tree().SelectItem(mine);

  ::SendMessageW(folders.m_hWnd, WM_COMMAND, ID_FOLDER_MAKE_GROUPS, 0);

  // The parent stays selected and holds the new group's item.
  EXPECT_EQ(Tree().GetSelectedItem(), mine);
  HTREEITEM made = Tree().GetChildItem(mine);
  ASSERT_TRUE(made);
  EXPECT_EQ(Tree().GetNextSiblingItem(made), nullptr);
  EXPECT_EQ(Tree().GetItemName(made), L"Serif");
  const std::wstring file = Tree().GetItemFile(made);
  FontGroup group;
  ASSERT_TRUE(group.Load(file));
  EXPECT_EQ(group.Parent, G(1));
  ASSERT_EQ(group.Fonts.size(), 1u);
  EXPECT_EQ(group.Fonts[0].Name, L"Serif Face");
  EXPECT_TRUE(EqualsNoCase(group.Fonts[0].Path, serif + L"\\a.ttf"));
  ASSERT_EQ(group.Nodes.size(), 1u);
  EXPECT_EQ(group.Nodes[0].Name, L"Bold");
  EXPECT_NE(Bytes(G(1)).find("<name>Serif</name>"), std::string::npos) << Bytes(G(1));
  EXPECT_EQ(StatusText(), L"") << "the progress text is cleared";
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
