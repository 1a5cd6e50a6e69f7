// A groups folder as a person leaves it after editing files by hand (a group with an empty node
// between its nodes, a group saved in the Windows-1252 code page with "Café" in a font path, a
// file cut off midway, a group that no node reaches), taken through the real main window the way
// a user works: a rename in the groups tree, a font dragged onto a group, the relocation of font
// paths, the groups backup, the restore that clears the installed marks, and the group checks with
// their repair. The files that cannot be read whole stay byte for byte all along, and the restore
// brings the backup back byte for byte, but for the groups whose marks it cleared.
#include "tests/app/GroupsMainFrame.h"
#include "tests/app/FontDragDriver.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "app/COrvBrowseFolderDialog.h"
#include "app/ToolWindows.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "groups/CGroupChecksDlg.h"
#include "lists/CPickerFolderTree.h"
#include "tests/support/ModalScript.h"

using namespace testing_support;
using namespace font_drag_driver;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
const std::wstring kOldFonts = L"D:\\Old Fonts";
const std::wstring kCafe = L"Caf\x00E9";

// An empty node between two real ones, in an editor's own layout: the reader would stop at it.
const std::string kSerifBytes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OrvelFontGroups>\n  <Name>Serif</Name>\n"
    "  <Parent>orvel_Root.xml</Parent>\n  <Installed>true</Installed>\n  <orvelnodes>\n"
    "    <node><name>Before</name><file>orvelgrp00006.xml</file></node>\n    <node></node>\n"
    "    <node><name>Behind</name><file>orvelgrp00007.xml</file><installed>true</installed></node>\n"
    "  </orvelnodes>\n  <fonts>\n"
    "    <font><name>Old Serif</name><path>D:\\Old Fonts\\Serif\\OldSerif.ttf</path></font>\n"
    "  </fonts>\n</OrvelFontGroups>\n";

// The program's own file saved again by an editor in the system's (Western) code page: the
// declaration still says UTF-8, the "é" is one byte.
const std::string kCafeBytes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<OrvelFontGroups>\r\n<Name>Caf\xE9</Name>\r\n"
    "<Parent>orvel_Root.xml</Parent>\r\n<Installed>true</Installed>\r\n<fonts>\r\n\t<font>\r\n"
    "\t\t<name>Caf\xE9 Sans</name>\r\n\t\t<path>D:\\Old Fonts\\Caf\xE9\\Caf\xE9 Sans.ttf</path>\r\n"
    "\t</font>\r\n</fonts>\r\n</OrvelFontGroups>\r\n";

// Cut off in the middle of a font's path.
const std::string kCutBytes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<OrvelFontGroups>\r\n<Name>Cut</Name>\r\n"
    "<Parent>orvel_Root.xml</Parent>\r\n<fonts>\r\n\t<font>\r\n\t\t<name>Cut Sans</name>\r\n"
    "\t\t<path>D:\\Old Fo";

// The group files of a folder by name, with their bytes.
using FileSet = std::map<std::wstring, std::string>;

FileSet GroupFilesIn(const std::wstring& folder) {
  FileSet files;
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileW((folder + L"\\orvel*.xml").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    files[found.cFileName] = ReadFileBytes(folder + L"\\" + found.cFileName);
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  return files;
}

std::vector<std::wstring> Names(const FileSet& files) {
  std::vector<std::wstring> names;
  for (const auto& [name, bytes] : files) names.push_back(name);
  return names;
}

std::wstring DialogText(HWND dialog, int id) {
  wchar_t text[MAX_PATH] = {};
  ::GetDlgItemTextW(dialog, id, text, MAX_PATH);
  return text;
}


std::wstring Label(HTREEITEM item) { return TreeItemText(g_AppState.GroupsTree.m_hWnd, item); }

std::vector<std::wstring> SortedChildLabels(HTREEITEM parent) {
  std::vector<std::wstring> labels;
  for (HTREEITEM child = g_AppState.GroupsTree.GetChildItem(parent); child;
       child = g_AppState.GroupsTree.GetNextSiblingItem(child))
    labels.push_back(Label(child));
  std::sort(labels.begin(), labels.end());
  return labels;
}

bool LooksInstalled(HTREEITEM item) {
  return (g_AppState.GroupsTree.GetItemState(item, CGroupsTreeView::kInstalledLookMask) &
          CGroupsTreeView::kInstalledLookMask) == CGroupsTreeView::kInstalledLook;
}

// A key pressed in the groups tree: the control tells its pane, which reflects it to the tree.
void PressTreeKey(UINT key) {
  ::SendMessageW(g_AppState.GroupsTree.m_hWnd, WM_KEYDOWN, key, 1);
  ::SendMessageW(g_AppState.GroupsTree.m_hWnd, WM_KEYUP, key, 0xC0000001);
}

class GroupFilesEndToEnd : public GroupsMainFrame {
protected:
  void SetUp() override {
    GroupsMainFrame::SetUp();
    saved_ = g_Preferences;
    savedHooks_ = COrvBrowseFolderDialog::TreeHooks();
    InstallPickerFolderTree();  // the picker's own shell folder tree

    root_ = LongPath(cases_.Path());
    library_ = root_ + L"\\Library";
    backup_ = root_ + L"\\Backup";
    for (const std::wstring& folder : {library_, library_ + L"\\Sans", library_ + L"\\" + kCafe,
                                       library_ + L"\\Incoming", backup_})
      ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr)) << Narrow(folder);
    for (const std::wstring& font : {library_ + L"\\Sans\\DejaVuSans.ttf",
                                     library_ + L"\\" + kCafe + L"\\" + kCafe + L" Sans.ttf",
                                     library_ + L"\\Incoming\\DejaVuSans.ttf"})
      ASSERT_TRUE(::CopyFileW(kDejaVu.c_str(), font.c_str(), FALSE)) << Narrow(font);
    // The fonts have moved into the font case folder; the groups still name their old place.
    g_Preferences.FontCaseRoot = library_;
    g_Preferences.GroupsFolder = folder_;
    g_AppState.FolderTree.SetTargetFolder(std::wstring());

    Make(kRootGroupFile, L"My Fonts", L"",
         {{G(1), L"Sans"}, {G(2), L"Serif"}, {G(3), kCafe}, {G(4), L"Cut"}, {G(5), L"Display"}});
    Make(G(1), L"Sans", kRootGroupFile, {}, {{L"DejaVu Sans", kOldFonts + L"\\Sans\\DejaVuSans.ttf"}});
    WriteGroupFile(G(2), kSerifBytes);
    WriteGroupFile(G(3), kCafeBytes);
    WriteGroupFile(G(4), kCutBytes);
    Make(G(5), L"Display", kRootGroupFile, {}, {}, true);
    Make(G(6), L"Before", G(2));
    Make(G(7), L"Behind", G(2), {}, {}, true);
    // Its node was taken out of the root by hand.
    Make(G(8), L"Orphan", kRootGroupFile, {}, {{L"Orphan Sans", kOldFonts + L"\\Orphan\\OrphanSans.ttf"}}, true);
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    COrvBrowseFolderDialog::SetTreeHooks(savedHooks_);
    g_Preferences = saved_;
    GroupsMainFrame::TearDown();
  }

  void WriteGroupFile(const std::wstring& file, const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(groups_.File(file), bytes.data(), bytes.size()));
  }
  static FontGroup Group(const std::wstring& file) {
    FontGroup g;
    EXPECT_TRUE(g.Load(file)) << Narrow(file);
    return g;
  }
  static std::wstring FontPath(const std::wstring& file) {
    const FontGroup g = Group(file);
    return g.Fonts.size() == 1 ? g.Fonts[0].Path : std::wstring();
  }

  // The files that could not be read whole are as they were written, byte for byte.
  void ExpectDamagedFilesKept(const char* step) {
    EXPECT_EQ(Bytes(G(2)), kSerifBytes) << "the group with the empty node, after " << step;
    EXPECT_EQ(Bytes(G(4)), kCutBytes) << "the cut-off group, after " << step;
  }

  // What the message boxes since the last look told: the damaged group files they name, or the
  // caption of any other box. The records start afresh.
  std::set<std::wstring> TakeReports() {
    (void)FlushGroupFileNotices();  // what the main window's idle pass shows after the step
    const std::wstring groupsCaption = LoadResString(IDS_GROUPS_CAPTION);
    std::set<std::wstring> reports;
    for (const RecordedBox& box : Boxes()) {
      bool named = false;
      for (const std::wstring& file : {G(2), G(4)}) {
        if (box.caption != groupsCaption || box.text.find(file) == std::wstring::npos) continue;
        reports.insert(file);
        named = true;
      }
      if (!named) reports.insert(box.caption);
    }
    ResetRecords();
    return reports;
  }
  static std::set<std::wstring> DamagedFiles() { return {G(2), G(4)}; }

  ScratchDir cases_;
  std::wstring root_, library_, backup_;
  Preferences saved_;
  PickerFolderTreeHooks savedHooks_;
};

}  // namespace

TEST_F(GroupFilesEndToEnd, HandEditedFilesSurviveEveryStepAndTheRestoreGivesBackTheBackup) {
  // The tree shows every group, the two damaged ones as far as they were read; both are reported.
  Open();
  HTREEITEM top = Tree().GetRootItem();
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(SortedChildLabels(top), (std::vector<std::wstring>{kCafe, L"Cut", L"Display", L"Sans", L"Serif"}))
      << "\"Caf\\u00E9\" is read in the system code page " << ::GetACP() << " (a Western one is expected)";
  EXPECT_EQ(TakeReports(), DamagedFiles());
  ExpectDamagedFilesKept("opening");

  // Rename another group in the tree: F2, the new name, Enter.
  ASSERT_TRUE(Tree().SelectItem(ItemOfGroup(G(1))));
  PressTreeKey(VK_F2);
  HWND edit = reinterpret_cast<HWND>(Tree().SendMessage(TVM_GETEDITCONTROL));
  ASSERT_NE(edit, nullptr) << "F2 opens the label for editing";
  ::SetWindowTextW(edit, L"Grotesque");
  ::SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(Tree().SendMessage(TVM_GETEDITCONTROL), 0) << "Enter ends the edit";
  EXPECT_EQ(Label(ItemOfGroup(G(1))), L"Grotesque");
  EXPECT_EQ(Group(G(1)).Name, L"Grotesque");
  std::vector<std::wstring> rootNodes;
  for (const FontGroupEntry& node : Group(kRootGroupFile).Nodes) rootNodes.push_back(node.Name + L"=" + node.Path);
  EXPECT_EQ(rootNodes, (std::vector<std::wstring>{kCafe + L"=" + G(3), L"Cut=" + G(4), L"Display=" + G(5),
                                                  L"Grotesque=" + G(1), L"Serif=" + G(2)}))
      << "the root keeps every node, the renamed one at its new place";
  EXPECT_EQ(TakeReports(), std::set<std::wstring>{});
  ExpectDamagedFilesKept("the rename");

  // Add a font: dragged from the folder list onto a group of the tree.
  ASSERT_TRUE(ShowFolderFonts(*frame_, library_ + L"\\Incoming"));
  ASSERT_EQ(g_AppState.FolderFonts.CountRecords(), 1);
  g_AppState.FolderFonts.SelectAll(true);
  ASSERT_TRUE(BeginDrag(g_AppState.FolderFonts));
  MoveTo(g_AppState.FolderFonts, OnItem(Tree().m_hWnd, ItemOfGroup(G(5))));
  Release(g_AppState.FolderFonts);
  const FontGroup display = Group(G(5));
  ASSERT_EQ(display.Fonts.size(), 1u);
  EXPECT_EQ(display.Fonts[0].Name, L"DejaVu Sans Book");
  EXPECT_TRUE(EqualsNoCase(display.Fonts[0].Path, library_ + L"\\Incoming\\DejaVuSans.ttf"))
      << Narrow(display.Fonts[0].Path);
  EXPECT_TRUE(display.Installed) << "adding fonts leaves the mark";
  EXPECT_EQ(TakeReports(), std::set<std::wstring>{});
  ExpectDamagedFilesKept("adding a font");

  // Relocate the old folder into the font case folder, in all groups.
  const std::string orphanBefore = Bytes(G(8));
  std::wstring relocatedCount;
  ModalScript::Run({[&] {
                      HWND d = FindDialogWithControl(IDC_RELOCATE_ALL);
                      if (!d) return false;
                      EXPECT_EQ(DialogText(d, IDC_RELOCATE_NEW), library_) << "the font case folder is offered";
                      EXPECT_EQ(::IsDlgButtonChecked(d, IDC_RELOCATE_ALL), BST_CHECKED);
                      ::SetDlgItemTextW(d, IDC_RELOCATE_OLD, kOldFonts.c_str());
                      ClickButton(d, IDOK);
                      wchar_t count[32] = {};
                      ::SendDlgItemMessageW(d, IDC_RELOCATE_STATUS, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(count));
                      relocatedCount = count;
                      ClickButton(d, IDCANCEL);
                      return true;
                    }},
                   [&] { frame_->SendMessage(WM_COMMAND, ID_GROUPS_RELOCATE); });
  EXPECT_EQ(relocatedCount, L" 2") << "the one font of each group read whole under the old folder";
  EXPECT_EQ(FontPath(G(1)), library_ + L"\\Sans\\DejaVuSans.ttf");
  EXPECT_EQ(FontPath(G(3)), library_ + L"\\" + kCafe + L"\\" + kCafe + L" Sans.ttf");
  EXPECT_NE(Bytes(G(3)).find("\\Caf\xC3\xA9 Sans.ttf"), std::string::npos) << "written back as UTF-8";
  EXPECT_EQ(Bytes(G(3)).find("\xEF\xBF\xBD"), std::string::npos) << "no replacement character";
  EXPECT_EQ(Bytes(G(8)), orphanBefore) << "no node leads to the orphan";
  EXPECT_EQ(TakeReports(), std::set<std::wstring>{G(2)}) << "the refused change to the damaged group's font";
  ExpectDamagedFilesKept("the relocation");

  // Back up the groups into the folder of the last backup, which the picker opens at.
  {
    orv::ScopedKey prefs;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, prefs.Receive(),
                                nullptr),
              ERROR_SUCCESS);
    ASSERT_TRUE(WriteRegString(prefs.Get(), L"GroupsBackupPath", backup_));
  }
  const FileSet beforeBackup = GroupFilesIn(folder_);
  std::wstring pickedFolder;
  ModalScript::Run({[&] {
                      HWND picker = FindDialogWithControl(IDC_BROWSE_TREE);
                      if (!picker) return false;
                      HWND tree = ::GetDlgItem(picker, IDC_BROWSE_TREE);
                      pickedFolder = TreeItemText(
                          tree, reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
                      ClickButton(picker, IDC_BROWSE_OK);
                      return true;
                    }},
                   [&] { frame_->SendMessage(WM_COMMAND, ID_GROUPS_BACKUP); });
  EXPECT_EQ(pickedFolder, L"Backup");
  const FileSet backupSet = GroupFilesIn(backup_);
  EXPECT_EQ(Names(backupSet), Names(beforeBackup));
  EXPECT_TRUE(backupSet == beforeBackup) << "every group file copied byte for byte";
  EXPECT_EQ(TakeReports(), std::set<std::wstring>{});
  ExpectDamagedFilesKept("the backup");

  // The groups folder is lost; restore it from the backup with the installed marks cleared.
  for (const std::wstring& file : Names(GroupFilesIn(folder_))) ASSERT_TRUE(::DeleteFileW(groups_.File(file).c_str()));
  ModalScript::Run({[&] {
                      HWND d = FindDialogWithControl(IDC_RESTORE_CLEAR_MARKS);
                      if (!d) return false;
                      EXPECT_EQ(DialogText(d, IDC_RESTORE_SOURCE), backup_) << "the last backup is offered";
                      ::CheckDlgButton(d, IDC_RESTORE_CLEAR_MARKS, BST_CHECKED);
                      ::CheckDlgButton(d, IDC_RESTORE_RELOCATE, BST_UNCHECKED);
                      ClickButton(d, IDOK);
                      return true;
                    }},
                   [&] { frame_->SendMessage(WM_COMMAND, ID_GROUPS_RESTORE); });
  const FileSet restored = GroupFilesIn(folder_);
  ASSERT_EQ(Names(restored), Names(backupSet));
  std::vector<std::wstring> changed;
  for (const auto& [file, bytes] : restored)
    if (bytes != backupSet.at(file)) changed.push_back(file);
  EXPECT_EQ(changed, (std::vector<std::wstring>{G(3), G(5), G(7)})) << "only the marked groups the root reaches";
  for (const std::wstring& file : changed) EXPECT_FALSE(Group(file).Installed) << Narrow(file);
  EXPECT_EQ(Group(G(3)).Fonts.size(), 1u);
  EXPECT_EQ(Group(G(5)).Fonts.size(), 1u);
  EXPECT_EQ(Group(G(3)).Name, kCafe);
  EXPECT_TRUE(Group(G(8)).Installed) << "the orphan: not reached, mark kept";
  EXPECT_FALSE(LooksInstalled(ItemOfGroup(G(5)))) << "the tree shows the restored groups";
  // Copies of the same bytes: Windows gives them a new creation time, which tells them again.
  const std::set<std::wstring> restoredReports = TakeReports();
  EXPECT_TRUE(restoredReports.empty() || restoredReports == DamagedFiles()) << "told at most once, in one box";
  ExpectDamagedFilesKept("the restore");

  // The group checks: every fault of the hand-edited folder on its tab.
  frame_->SendMessage(WM_COMMAND, ID_TOOLS_GROUP_CHECKS);
  auto* checks = dynamic_cast<CGroupChecksDlg*>(frame_->Tools().Get(ToolWindowId::GroupChecksDlg));
  ASSERT_NE(checks, nullptr);
  ClickButton(checks->m_hWnd, IDOK);
  EXPECT_EQ(checks->CurrentTab(), CGroupChecksDlg::kMissingFonts);
  EXPECT_EQ(checks->Rows(), std::vector<std::wstring>{L"Orphan"}) << "the only group still naming the old folder";
  ChooseTab(checks->m_hWnd, CGroupChecksDlg::kBrokenChains);
  std::vector<std::wstring> broken = checks->Rows();
  std::sort(broken.begin(), broken.end());
  // A damaged file is listed by its file name; the groups below it reach the root through what
  // was read of it.
  std::vector<std::wstring> expected{L"Orphan|My Fonts", G(2) + L"|", G(4) + L"|"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(broken, expected);
  ChooseTab(checks->m_hWnd, CGroupChecksDlg::kMissingChildren);
  EXPECT_TRUE(checks->Rows().empty());
  EXPECT_EQ(checks->StatusBar().GetText(0), LoadResString(IDS_GROUP_CHECKS_NO_ROWS));
  EXPECT_EQ(TakeReports(), std::set<std::wstring>{}) << "the damaged files were told once already";

  // The repair gathers the cut-loose groups under the recovered groups; deleting that group again
  // takes its file and its node, and leaves every group it listed.
  ChooseTab(checks->m_hWnd, CGroupChecksDlg::kBrokenChains);
  ClickButton(checks->m_hWnd, IDC_GROUP_CHECKS_REPAIR);
  EXPECT_TRUE(checks->Rows().empty());
  const std::wstring recoveryFile = FormatGroupFileName(kRecoveryGroupNumber);
  top = Tree().GetRootItem();
  HTREEITEM recovered = Tree().FindChildByFile(top, recoveryFile);
  ASSERT_NE(recovered, nullptr);
  EXPECT_EQ(Label(recovered), LoadResString(IDS_RECOVERY_GROUP_NAME));
  Tree().Expand(recovered, TVE_EXPAND);
  EXPECT_EQ(SortedChildLabels(recovered), (std::vector<std::wstring>{L"Cut", L"Orphan", L"Serif"}));
  ExpectDamagedFilesKept("the repair");
  TakeReports();
  ASSERT_TRUE(Tree().SelectItem(recovered));
  SetBoxAnswer(IDYES);
  PressTreeKey(VK_DELETE);
  EXPECT_EQ(Tree().FindChildByFile(Tree().GetRootItem(), recoveryFile), nullptr);
  FileSet after = GroupFilesIn(folder_);
  EXPECT_EQ(Names(after), Names(backupSet)) << "the recovered groups' file went, and nothing else";
  EXPECT_EQ(after[kRootGroupFile], backupSet.at(kRootGroupFile)) << "the root lists what it listed before";
  for (const std::wstring& file : {G(6), G(7), G(8)}) EXPECT_EQ(after[file], restored.at(file)) << Narrow(file);
  ExpectDamagedFilesKept("deleting the recovered groups");

  std::vector<std::wstring> everything;
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileW(groups_.File(L"*").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) everything.emplace_back(found.cFileName);
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  std::sort(everything.begin(), everything.end());
  EXPECT_EQ(everything, Names(after)) << "no file left behind by a write";

  ClickButton(checks->m_hWnd, IDCANCEL);
  PumpMessages(100);
  EXPECT_EQ(frame_->Tools().Get(ToolWindowId::GroupChecksDlg), nullptr);
}
