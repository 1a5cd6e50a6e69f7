// The groups restore and the relocation of font paths: what is replaced and where, which group
// files are written, the installed marks cleared by a restore, and the refusals.
#include <gtest/gtest.h>

#include "app/Preferences.h"
#include "common/ResourceIds.h"
#include "groups/CGroupsRestoreDlg.h"
#include "groups/CXmlRelocateFontsDlg.h"
#include "groups/GroupNames.h"
#include "tests/groups/GroupsTestEnv.h"
#include "tests/support/ModalScript.h"

using testing_support::Boxes;
using testing_support::ClickButton;
using testing_support::FindDialogWithControl;
using testing_support::ModalScript;

TEST(RelocateFontPath, Replacements) {
  struct Case {
    const wchar_t *path, *expected;
    bool changed;
  } cases[] = {
      {L"D:\\Fonts\\Serif\\a.ttf", L"E:\\Library\\Serif\\a.ttf", true},
      {L"D:\\FontsOld\\b.ttf", L"D:\\FontsOld\\b.ttf", false},
      {L"d:\\fonts\\Serif\\c.ttf", L"d:\\fonts\\Serif\\c.ttf", false},  // other letter case stays
      {L"D:\\Fonts\\x\\D:\\Fonts\\y.ttf", L"E:\\Library\\x\\E:\\Library\\y.ttf", true},
      {L"D:\\Fonts\\t1.pfm|D:\\Fonts\\t1.pfb", L"E:\\Library\\t1.pfm|E:\\Library\\t1.pfb", true},
      {L"", L"", false},
  };
  for (const Case& c : cases) {
    bool changed = !c.changed;
    EXPECT_EQ(RelocateFontPath(c.path, L"D:\\Fonts\\", L"E:\\Library\\", changed), c.expected);
    EXPECT_EQ(changed, c.changed) << testing_support::Narrow(c.path);
  }
  bool changed = false;
  // Inserted text is not searched again: a new folder holding the old one does not loop.
  EXPECT_EQ(RelocateFontPath(L"A\\x", L"A\\", L"A\\A\\", changed), L"A\\A\\x");
}

class RelocateTest : public GroupsTest {
protected:
  void SetUp() override {
    GroupsTest::SetUp();
    g_Preferences.GroupsFolder = Folder();
  }
  void TearDown() override {
    g_Preferences.GroupsFolder.clear();
    GroupsTest::TearDown();
  }

  // Runs the relocation dialog once with these folders (all groups) and closes it.
  int Relocate(const std::wstring& from, const std::wstring& to) {
    int changed = -1;
    CXmlRelocateFontsDlg dialog(from, to);
    ModalScript::Run({[&] {
                        HWND d = FindDialogWithControl(IDC_RELOCATE_ALL);
                        if (!d) return false;
                        ClickButton(d, IDOK);
                        changed = dialog.ChangedCount();
                        ClickButton(d, IDCANCEL);
                        return true;
                      }},
                     [&] { dialog.DoModal(nullptr); });
    return changed;
  }

  std::wstring FontPathOf(const std::wstring& file, size_t index) {
    FontGroup g;
    EXPECT_TRUE(g.Load(file));
    return index < g.Fonts.size() ? g.Fonts[index].Path : std::wstring();
  }
};

TEST_F(RelocateTest, AllGroupsOnceEachAndOnlyChangedFilesWritten) {
  MakeGroup(kRootGroupFile, L"Root", L"", {L"orvelgrp00001.xml", L"orvelgrp00002.xml"});
  MakeGroup(L"orvelgrp00001.xml", L"One", kRootGroupFile, {kRootGroupFile}, {L"a", L"b"});  // a cycle back up
  MakeGroup(L"orvelgrp00002.xml", L"Two", kRootGroupFile);
  FontGroup extra;
  ASSERT_TRUE(extra.Load(L"orvelgrp00002.xml"));
  extra.AddFont(L"elsewhere", L"D:\\Other\\e.ttf");
  ASSERT_TRUE(extra.Save());
  const std::string untouched = ReadRaw(L"orvelgrp00002.xml");
  const std::string root = ReadRaw(kRootGroupFile);

  EXPECT_EQ(Relocate(L"C:\\Fonts", L"E:\\Library"), 2) << "a trailing backslash is added to both";
  EXPECT_EQ(FontPathOf(L"orvelgrp00001.xml", 0), L"E:\\Library\\a.ttf");
  EXPECT_EQ(FontPathOf(L"orvelgrp00001.xml", 1), L"E:\\Library\\b.ttf");
  EXPECT_EQ(ReadRaw(L"orvelgrp00002.xml"), untouched) << "nothing to change: not written";
  EXPECT_EQ(ReadRaw(kRootGroupFile), root) << "node paths never change";
  EXPECT_EQ(Relocate(L"C:\\Fonts\\", L"E:\\Library"), 0) << "a second run finds nothing";
}

TEST_F(RelocateTest, RefusalsStayInTheDialog) {
  MakeGroup(kRootGroupFile, L"Root", L"", {}, {L"a"});
  for (auto [from, to] : {std::pair{L"", L"E:\\x"}, std::pair{L"C:\\Fonts", L"c:\\fonts"}})
    EXPECT_EQ(Relocate(from, to), 0);
  EXPECT_EQ(FontPathOf(kRootGroupFile, 0), L"C:\\Fonts\\a.ttf");
}

TEST_F(RelocateTest, RestoreCopiesBackAndClearsTheMarks) {
  testing_support::ScratchDir backup;
  MakeGroup(kRootGroupFile, L"Root", L"", {L"orvelgrp00001.xml"});
  MakeGroup(L"orvelgrp00001.xml", L"One", kRootGroupFile, {}, {L"a"});
  for (const wchar_t* file : {kRootGroupFile, L"orvelgrp00001.xml"}) {
    FontGroup marked;
    ASSERT_TRUE(marked.Load(file));
    marked.Installed = true;
    ASSERT_TRUE(marked.Save());
  }
  for (const std::wstring& name : FolderFiles())
    ASSERT_TRUE(::MoveFileW(PathOf(name).c_str(), backup.File(name).c_str()));

  // The groups folder itself as the source: refused, the dialog stays.
  ModalScript::Run({[&] {
                      HWND d = FindDialogWithControl(IDC_RESTORE_CLEAR_MARKS);
                      if (!d) return false;
                      ::SetDlgItemTextW(d, IDC_RESTORE_SOURCE, (Folder() + L"\\").c_str());
                      ClickButton(d, IDOK);
                      EXPECT_TRUE(::IsWindow(d));
                      ::SetDlgItemTextW(d, IDC_RESTORE_SOURCE, backup.Path().c_str());
                      ::CheckDlgButton(d, IDC_RESTORE_CLEAR_MARKS, BST_CHECKED);
                      ::CheckDlgButton(d, IDC_RESTORE_RELOCATE, BST_UNCHECKED);
                      ClickButton(d, IDOK);
                      return true;
                    }},
                   [] { EXPECT_EQ(CGroupsRestoreDlg().DoModal(nullptr), IDOK); });
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_GROUPS_RESTORE_CAPTION));
  EXPECT_EQ(FolderFiles(), (std::vector<std::wstring>{L"orvel_Root.xml", L"orvelgrp00001.xml"}));
  for (const wchar_t* file : {kRootGroupFile, L"orvelgrp00001.xml"}) {
    FontGroup restored;
    ASSERT_TRUE(restored.Load(file));
    EXPECT_FALSE(restored.Installed) << testing_support::Narrow(file);
  }
}
