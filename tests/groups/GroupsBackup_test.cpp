// The groups backup and restore and the relocation of font paths: what is replaced and where,
// which group files are written, the installed marks cleared by a restore, the refusals of the
// groups folder however it is written, and copies that left files out.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "app/COrvBrowseFolderDialog.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "groups/CGroupsRestoreDlg.h"
#include "groups/CXmlRelocateFontsDlg.h"
#include "groups/GroupNames.h"
#include "groups/GroupsBackup.h"
#include "tests/groups/GroupsTestEnv.h"
#include "tests/support/ModalScript.h"

using testing_support::Boxes;
using testing_support::ClickButton;
using testing_support::FindDialogWithControl;
using testing_support::ModalScript;

// Only a folder at the start of a path is replaced, and only where it ends at a separator; letter
// case does not matter, and a folder given with or without its backslash is the same folder.
TEST(RelocateFontPath, OnlyALeadingFolderIsReplaced) {
  struct Case {
    const wchar_t *path, *from, *to, *expected;
    bool changed;
  } cases[] = {
      {L"D:\\Fonts\\Serif\\a.ttf", L"D:\\Fonts", L"E:\\Library", L"E:\\Library\\Serif\\a.ttf", true},
      {L"D:\\Fonts\\Serif\\a.ttf", L"D:\\Fonts\\", L"E:\\Library\\", L"E:\\Library\\Serif\\a.ttf", true},
      {L"D:\\FontsOld\\b.ttf", L"D:\\Fonts", L"E:\\Library", L"D:\\FontsOld\\b.ttf", false},
      {L"d:\\fonts\\Serif\\c.ttf", L"D:\\Fonts", L"E:\\Library", L"E:\\Library\\Serif\\c.ttf", true},
      {L"C:\\MyLib\\x.ttf", L"Lib", L"Library", L"C:\\MyLib\\x.ttf", false},
      {L"C:\\Lib\\x.ttf", L"Lib", L"Library", L"C:\\Lib\\x.ttf", false},
      {L"C:\\Old\\Old\\y.ttf", L"C:\\Old", L"D:\\New", L"D:\\New\\Old\\y.ttf", true},
      {L"C:\\x\\C:\\Old\\y.ttf", L"C:\\Old", L"D:\\New", L"C:\\x\\C:\\Old\\y.ttf", false},
      {L"D:\\Fonts\\t1.pfm|D:\\Fonts\\t1.pfb", L"D:\\Fonts", L"E:\\Lib", L"E:\\Lib\\t1.pfm|E:\\Lib\\t1.pfb", true},
      {L"D:\\Fonts\\t1.pfm|C:\\Else\\t1.pfb", L"D:\\Fonts", L"E:\\Lib", L"E:\\Lib\\t1.pfm|C:\\Else\\t1.pfb", true},
      {L"D:\\Fonts/sub/a.ttf", L"D:\\Fonts", L"E:\\Lib", L"E:\\Lib\\sub/a.ttf", true},
      {L"D:\\a.ttf", L"D:\\", L"E:\\Fonts", L"E:\\Fonts\\a.ttf", true},
      {L"E:\\Fonts\\a.ttf", L"E:\\Fonts", L"D:\\", L"D:\\a.ttf", true},
      {L"C:\\F\\a.ttf", L"C:\\F", L"C:\\F\\", L"C:\\F\\a.ttf", false},
      {L"D:\\Fonts", L"D:\\Fonts", L"E:\\Lib", L"D:\\Fonts", false},  // the folder itself names no font
      {L"", L"D:\\Fonts", L"E:\\Lib", L"", false},
  };
  for (const Case& c : cases) {
    bool changed = !c.changed;
    EXPECT_EQ(RelocateFontPath(c.path, c.from, c.to, changed), c.expected) << testing_support::Narrow(c.path);
    EXPECT_EQ(changed, c.changed) << testing_support::Narrow(c.path);
  }
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

namespace {
int g_groupWrites = 0;
BOOL CountingWrite(HANDLE file, const void* data, DWORD size, DWORD* written) {
  ++g_groupWrites;
  return ::WriteFile(file, data, size, written, nullptr);
}
}  // namespace

// A folder inside a name ("Lib" in "C:\MyLib") is no folder of the path, and a folder given
// once with and once without its backslash is one folder: neither run rewrites a file.
TEST_F(RelocateTest, NoPartOfANameAndNoSameFolderIsRewritten) {
  MakeGroup(kRootGroupFile, L"Root", L"", {L"orvelgrp00001.xml"}, {L"a"});
  FontGroup lib;
  lib.FileName = L"orvelgrp00001.xml";
  lib.Name = L"Lib";
  lib.Parent = kRootGroupFile;
  lib.AddFont(L"x", L"C:\\MyLib\\x.ttf");
  ASSERT_TRUE(lib.Save());
  const std::string root = ReadRaw(kRootGroupFile);
  const std::string child = ReadRaw(L"orvelgrp00001.xml");
  g_groupWrites = 0;
  group_store_seams::SetWriteHook(&CountingWrite);
  EXPECT_EQ(Relocate(L"Lib", L"Library"), 0);
  EXPECT_EQ(Relocate(L"C:\\Fonts", L"C:\\Fonts\\"), 0);
  EXPECT_EQ(Relocate(L"c:\\fonts\\", L"C:\\Fonts"), 0);
  EXPECT_EQ(g_groupWrites, 0) << "no group file was written";
  EXPECT_EQ(ReadRaw(kRootGroupFile), root);
  EXPECT_EQ(ReadRaw(L"orvelgrp00001.xml"), child);
  EXPECT_EQ(FontPathOf(L"orvelgrp00001.xml", 0), L"C:\\MyLib\\x.ttf");

  // Another letter case in the stored path is still the folder.
  EXPECT_EQ(Relocate(L"C:\\FONTS", L"E:\\Library"), 1);
  EXPECT_EQ(FontPathOf(kRootGroupFile, 0), L"E:\\Library\\a.ttf");
}

TEST_F(RelocateTest, RefusalsStayInTheDialog) {
  MakeGroup(kRootGroupFile, L"Root", L"", {}, {L"a"});
  for (auto [from, to] : {std::pair{L"", L"E:\\x"}, std::pair{L"C:\\Fonts", L"c:\\fonts"}})
    EXPECT_EQ(Relocate(from, to), 0);
  EXPECT_EQ(FontPathOf(kRootGroupFile, 0), L"C:\\Fonts\\a.ttf");
}

namespace {

// Ways of naming the folder `folder` (an existing one) other than its own text.
std::vector<std::wstring> OtherNamesOf(const std::wstring& folder) {
  std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
  std::wstring slashes = folder;
  std::replace(slashes.begin(), slashes.end(), L'\\', L'/');
  std::vector<std::wstring> names{folder + L"\\", folder + L"\\.", folder + L"\\.\\", folder + L"\\..\\" + leaf,
                                  slashes};
  wchar_t shortName[MAX_PATH] = {};
  const DWORD length = ::GetShortPathNameW(folder.c_str(), shortName, MAX_PATH);
  if (length > 0 && length < MAX_PATH && folder != shortName) names.emplace_back(shortName);
  return names;
}

}  // namespace

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
  const std::vector<std::wstring> groupsFolderNames = OtherNamesOf(Folder());

  seams::SystemCalls copiesNothing;
  copiesNothing.fileOperation = [](SHFILEOPSTRUCTW*) { return 0; };
  ModalScript::Run({[&] {
                      HWND d = FindDialogWithControl(IDC_RESTORE_CLEAR_MARKS);
                      if (!d) return false;
                      // The groups folder itself, however it is written: refused, the dialog stays.
                      for (const std::wstring& name : groupsFolderNames) {
                        testing_support::ResetRecords();
                        ::SetDlgItemTextW(d, IDC_RESTORE_SOURCE, name.c_str());
                        ClickButton(d, IDOK);
                        EXPECT_TRUE(::IsWindow(d));
                        EXPECT_EQ(Boxes().size(), 1u) << testing_support::Narrow(name);
                        if (Boxes().empty()) continue;
                        EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_GROUPS_RESTORE_CAPTION));
                        EXPECT_EQ(Boxes()[0].text.rfind(LoadResString(IDS_GROUPS_FOLDER_ITSELF), 0), 0u)
                            << testing_support::Narrow(name);
                      }
                      ::SetDlgItemTextW(d, IDC_RESTORE_SOURCE, backup.Path().c_str());
                      ::CheckDlgButton(d, IDC_RESTORE_CLEAR_MARKS, BST_CHECKED);
                      ::CheckDlgButton(d, IDC_RESTORE_RELOCATE, BST_CHECKED);
                      // A copy that brought nothing: told, no marks cleared, no relocation, the
                      // dialog stays.
                      testing_support::ResetRecords();
                      seams::SetSystemCalls(&copiesNothing);
                      ClickButton(d, IDOK);
                      seams::SetSystemCalls(nullptr);
                      EXPECT_TRUE(::IsWindow(d));
                      EXPECT_TRUE(FolderFiles().empty());
                      EXPECT_EQ(Boxes().size(), 1u);
                      if (!Boxes().empty()) {
                        EXPECT_EQ(Boxes()[0].text.rfind(LoadResString(IDS_FILES_NOT_COPIED), 0), 0u);
                      }
                      testing_support::ResetRecords();
                      ::CheckDlgButton(d, IDC_RESTORE_RELOCATE, BST_UNCHECKED);
                      ClickButton(d, IDOK);
                      return true;
                    }},
                   [] { EXPECT_EQ(CGroupsRestoreDlg().DoModal(nullptr), IDOK); });
  seams::SetSystemCalls(nullptr);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(FolderFiles(), (std::vector<std::wstring>{L"orvel_Root.xml", L"orvelgrp00001.xml"}));
  for (const wchar_t* file : {kRootGroupFile, L"orvelgrp00001.xml"}) {
    FontGroup restored;
    ASSERT_TRUE(restored.Load(file));
    EXPECT_FALSE(restored.Installed) << testing_support::Narrow(file);
  }
}

namespace {

// The picker's folder tree stand-in: it answers one chosen folder.
class CChosenFolderTree : public IPickerFolderTree {
public:
  static inline std::wstring chosen;
  static std::unique_ptr<IPickerFolderTree> Make() { return std::make_unique<CChosenFolderTree>(); }
  void SetTargetFolder(const std::wstring&) override {}
  void Configure(bool, bool) override {}
  bool MarkFontFolders() const override { return false; }
  HWND CreateTreeWindow(HWND parent, const RECT& rc, DWORD style, DWORD exStyle, UINT id) override {
    return ::CreateWindowExW(exStyle, WC_TREEVIEWW, nullptr, style, rc.left, rc.top, rc.right - rc.left,
                             rc.bottom - rc.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr,
                             nullptr);
  }
  void Initialize() override {}
  bool GetSelectedPath(std::wstring& path) override {
    path = chosen;
    return true;
  }
  bool FoldersChanged() const override { return false; }
};

std::wstring StoredBackupPath() {
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  std::wstring path;
  if (key) (void)ReadRegString(key.Get(), L"GroupsBackupPath", MAX_PATH, path);
  return path;
}

// The groups backup, its folder chosen in the picker.
bool BackUpInto(const std::wstring& folder) {
  CChosenFolderTree::chosen = folder;
  bool copied = false;
  ModalScript::Run({[] {
                      HWND picker = FindDialogWithControl(IDC_BROWSE_TREE);
                      if (!picker) return false;
                      ClickButton(picker, IDC_BROWSE_OK);
                      return true;
                    }},
                   [&] { copied = ChooseGroupsBackupFolder(); });
  return copied;
}

}  // namespace

TEST_F(RelocateTest, BackupRefusesTheGroupsFolderHoweverItIsWritten) {
  struct PickerAnswers {
    PickerFolderTreeHooks saved = COrvBrowseFolderDialog::TreeHooks();
    PickerAnswers() { COrvBrowseFolderDialog::SetTreeHooks({&CChosenFolderTree::Make, nullptr}); }
    ~PickerAnswers() { COrvBrowseFolderDialog::SetTreeHooks(saved); }
  } answers;
  orv::ScopedKey prefs;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs.Receive(),
                              nullptr),
            ERROR_SUCCESS);
  testing_support::ScratchDir backup;
  MakeGroup(kRootGroupFile, L"Root", L"", {}, {L"a"});
  ASSERT_TRUE(BackUpInto(backup.Path()));
  EXPECT_EQ(StoredBackupPath(), backup.Path());
  EXPECT_EQ(ReadRaw(kRootGroupFile), testing_support::ReadFileBytes(backup.File(kRootGroupFile)));

  for (const std::wstring& name : OtherNamesOf(Folder())) {
    testing_support::ResetRecords();
    EXPECT_FALSE(BackUpInto(name));
    ASSERT_EQ(Boxes().size(), 1u) << testing_support::Narrow(name);
    EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_GROUPS_BACKUP_CAPTION));
    EXPECT_EQ(Boxes()[0].text.rfind(LoadResString(IDS_GROUPS_FOLDER_ITSELF), 0), 0u) << testing_support::Narrow(name);
    EXPECT_EQ(StoredBackupPath(), backup.Path()) << "a refused folder is not remembered";
  }
  ::RegDeleteValueW(prefs.Get(), L"GroupsBackupPath");
}
