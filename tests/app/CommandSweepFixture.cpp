#include "tests/app/CommandSweepFixture.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>

#include "app/COrvBrowseFolderDialog.h"
#include "common/RegistryValue.h"
#include "common/StringHelpers.h"
#include "fonts/RegisteredFontTable.h"
#include "fonts/FontFileCommand.h"
#include "groups/GroupFontInstaller.h"
#include "lists/CPickerFolderTree.h"
#include "tests/support/SfntBuilder.h"

using namespace testing_support;

namespace command_sweep {

namespace {

constexpr int kGroupNumber = 1;
constexpr int kIdlePassesMax = 40;

// The tagged face registered by a run that was cut short: the sweep needs it not installed.
void UnregisterTaggedFace() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    orv::ScopedKey key = OpenRegKey(root, kFontsKey, KEY_READ | KEY_SET_VALUE);
    std::vector<std::wstring> names;
    for (DWORD i = 0; key; ++i) {
      wchar_t name[256];
      DWORD length = 256;
      if (::RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (std::wstring_view(name).starts_with(kTaggedFont)) names.emplace_back(name);
    }
    for (const std::wstring& name : names) ::RegDeleteValueW(key.Get(), name.c_str());
  }
}

bool Contains(const std::vector<UINT>& ids, UINT id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

const char* Name(At at) {
  static const char* const names[] = {"main window", "folder pane", "groups pane", "font-lists pane",
                                      "installed pane", "sample pane", "folder tree", "groups tree",
                                      "folder list", "group list", "installed list"};
  return names[static_cast<int>(at)];
}

const char* Name(Offer offer) {
  return offer == Offer::Hidden ? "not offered" : offer == Offer::Disabled ? "disabled" : "enabled";
}

void CommandSweep::SetUp() {
  GroupsMainFrame::SetUp();
  fonts_ = LongPath(fontsDir_.Path());
  const std::wstring dejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
  ASSERT_TRUE(sfnt_test::WriteTaggedDejaVu(dejaVu + L"DejaVuSans.ttf", Fixture(L"SweepySans.ttf"), "Sweepy"))
      << "fonts-dejavu-core is missing";
  ASSERT_TRUE(::CopyFileW((dejaVu + L"DejaVuSerif.ttf").c_str(), Fixture(L"DejaVuSerif.ttf").c_str(), FALSE));
  UnregisterTaggedFace();
  Make(kRootGroupFile, L"Root", L"", {{G(kGroupNumber), L"Sweep"}});
  WriteGroup();
  LoadPreferences();  // as the program starts: the built-in defaults, with no stored values
  FontGroup::SetGroupsFolderSource(&folder_);  // the test's groups folder, not the user's
  g_Preferences.FontCaseRoot = fonts_;
  savedAdmin_ = g_AppState.UserIsAdmin;
  savedElevated_ = g_AppState.IsElevated;
  // As under Wine: an administrator in an elevated process.
  g_AppState.UserIsAdmin = g_AppState.IsElevated = true;
  // What the program wires up at its start, before it makes the main window.
  InstallPickerFolderTree();
  FontFileCommand::SetFolderPrompt(&COrvBrowseFolderDialog::AskForTargetFolder);
  UseFontInstallerForGroups();
  sinks_ = std::make_unique<SweepSinks>();
  table_ = Table();
}

void CommandSweep::TearDown() {
  sinks_.reset();
  FontFileCommand::SetFolderPrompt(nullptr);
  g_AppState.UserIsAdmin = savedAdmin_;
  g_AppState.IsElevated = savedElevated_;
  g_Preferences.ShowSampleInList = false;
  GroupsMainFrame::TearDown();
  LoadPreferences();
  ResetRecords();
}

void CommandSweep::ResetGroups() {
  Make(kRootGroupFile, L"Root", L"", {{G(kGroupNumber), L"Sweep"}});
  WriteGroup();
  Tree().Reload();
  Idle();
}

void CommandSweep::WriteGroup() {
  Make(G(kGroupNumber), L"Sweep", kRootGroupFile, {},
       {{kTaggedFont, Fixture(L"SweepySans.ttf")}, {kInstalledCopy, Fixture(L"DejaVuSerif.ttf")}});
}

HTREEITEM CommandSweep::GroupItem() const { return Tree().FindChildByFile(Tree().GetRootItem(), G(kGroupNumber)); }

void CommandSweep::OpenWindow() {
  frame_ = std::make_unique<CMainFrame>();
  ASSERT_TRUE(frame_->CreateMainWindow());
  frame_->ShowWindow(SW_SHOWNORMAL);
  Idle();
}

void CommandSweep::Idle() {
  for (int i = 0; i < kIdlePassesMax; ++i) {
    PumpMessages(10);
    if (g_AppState.FolderTree.IsPrefillRunning()) continue;
    if (frame_->RunIdleJob() == IdleJob::None) return;
  }
}

COrvelListView* CommandSweep::List(At at) const {
  switch (at) {
    case At::FolderList: return &g_AppState.FolderFonts;
    case At::GroupList: return &g_AppState.GroupFonts;
    case At::InstalledList: return &g_AppState.InstalledFonts;
    default: return nullptr;
  }
}

int CommandSweep::Selected(At at) const {
  int selected = 0;
  List(at)->GetCounts(nullptr, &selected);
  return selected;
}

int CommandSweep::Items(At at) const {
  return static_cast<int>(::SendMessageW(List(at)->m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

void CommandSweep::Apply(const State& s) {
  state_ = &s;
  CFolderTreeView& folders = g_AppState.FolderTree;
  std::wstring shown;
  if (!folders.GetSelectedPath(shown) || !EqualsNoCase(shown, fonts_))
    if (HTREEITEM item = folders.FindItemByIdList(fonts_, true)) folders.SelectItem(item);
  HTREEITEM group = s.groupList ? GroupItem() : Tree().GetRootItem();
  if (!group) {  // a command took the group's item away: the tree is read again
    ResetGroups();
    group = s.groupList ? GroupItem() : Tree().GetRootItem();
  }
  if (Tree().GetSelectedItem() != group) Tree().SelectItem(group);
  Idle();
  if (g_AppState.GroupListShown != s.groupList) Frame().SendMessage(WM_COMMAND, ID_SHOW_FONT_LIST, s.groupList ? 2 : 1);
  Idle();
  for (At at : {At::FolderList, At::GroupList, At::InstalledList}) List(at)->SelectAll(false);
  HWND focus = s.groupList ? Panes().m_groupList : Panes().m_folderList;
  if (s.font()) {
    COrvelListView& list = *List(s.selectedIn);
    int row = list.FindNextByName(s.row, -1, true);
    if (row < 0) row = list.FindNextByName(std::wstring(s.row) + L" Book", -1, true);
    EXPECT_GE(row, 0) << Narrow(s.row) << " is not in the " << Name(s.selectedIn);
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    ::SendMessageW(list.m_hWnd, LVM_ENSUREVISIBLE, row, FALSE);
    focus = list.m_hWnd;
  }
  ::SetFocus(focus);
  Idle();
}

bool CommandSweep::ToolsEmpty() const {
  for (ToolWindowId id : {ToolWindowId::CharMapFrame, ToolWindowId::FontSheetFrame, ToolWindowId::ListRegistryFontsDlg,
                          ToolWindowId::SearchDlg, ToolWindowId::CensusDlg, ToolWindowId::DirWithFontsDlg,
                          ToolWindowId::GroupChecksDlg})
    if (frame_->Tools().Get(id)) return false;
  return true;
}

Outcome CommandSweep::Run(const std::function<void()>& send) {
  return RunCommand(send, [this] { return ToolsEmpty(); });
}

const CommandSweep::Row* CommandSweep::Find(At at, UINT id) const {
  for (const Row& row : table_)
    if (row.at == at && row.id == id) return &row;
  return nullptr;
}

void CommandSweep::Sweep(const char* route, At at, UINT id, Offer offered, const std::function<void()>& send) {
  const std::string where =
      std::string(state_->name) + ", " + route + ", " + Name(at) + " command " + std::to_string(id) + ": ";
  const Row* row = Find(at, id);
  if (!row) {
    failures_ += where + "offered, but the table does not know it\n";
    return;
  }
  const Offer expected = row->offer(*state_);
  if (offered != expected) failures_ += where + Name(offered) + ", expected " + Name(expected) + "\n";
  if (offered != Offer::Enabled || !row->check) return;  // a command with nothing to do is not sent
  if (row->prepare) row->prepare();
  const Outcome outcome = Run(send);
  const std::string wrong = row->check(outcome, [&] { return Run(send); });
  if (!wrong.empty()) failures_ += where + wrong + " (it did: " + outcome.Describe() + ")\n";
  if (!outcome.toolSlotsEmpty) failures_ += where + "a tool window it opened kept its slot after closing\n";
  Apply(*state_);  // whatever the command changed, the next one starts from the same state
}

void CommandSweep::ExpectOffered(const char* route, At at, const std::vector<UINT>& seen,
                                 const std::vector<UINT>& only) {
  for (const Row& row : table_)
    if (row.at == at && (only.empty() || Contains(only, row.id)) && row.offer(*state_) != Offer::Hidden &&
        !Contains(seen, row.id))
      failures_ += std::string(state_->name) + ", " + route + ", " + Name(at) + " command " + std::to_string(row.id) +
                   ": expected " + Name(row.offer(*state_)) + ", not offered\n";
}

void CommandSweep::SweepFrame() {
  std::vector<UINT> seen;
  HMENU bar = Frame().CommandBar().GetMenu();
  for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
    HMENU popup = ::GetSubMenu(bar, i);
    for (int j = 0; j < ::GetMenuItemCount(popup); ++j) {
      const UINT id = ::GetMenuItemID(popup, j);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;
      seen.push_back(id);
      if (id == ID_APP_EXIT) continue;  // the last command of a test: CommandSweepTest.ExitClosesTheWindow
      Frame().SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);  // as the popup opens
      const bool off = (::GetMenuState(popup, j, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED)) != 0;
      Sweep("menu", At::Frame, id, off ? Offer::Disabled : Offer::Enabled,
            [&] { Frame().SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); });
    }
  }
  ACCEL accels[64];
  const int count = ::CopyAcceleratorTableW(Frame().m_hAccel, accels, 64);
  for (int i = 0; i < count; ++i) {
    const UINT id = accels[i].cmd;
    seen.push_back(id);
    // An accelerator sends its command with 1 in the high word; a disabled one is swallowed.
    const bool swallowed = Frame().UIIsSwallowedAccelerator(MAKEWPARAM(id, 1), 0);
    Sweep("accelerator", At::Frame, id, swallowed ? Offer::Disabled : Offer::Enabled,
          [&] { Frame().SendMessage(WM_COMMAND, MAKEWPARAM(id, 1), 0); });
  }
  ExpectOffered("menu or accelerator", At::Frame, seen);
  SweepToolbar(At::Frame, Panes().m_hWndToolBar);
}

void CommandSweep::SweepToolbar(At at, HWND toolbar, const std::vector<UINT>& only) {
  const char* route = at == At::Frame ? "main toolbar" : "pane toolbar";
  std::vector<UINT> seen;
  const int count = static_cast<int>(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    ::SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
    const UINT id = static_cast<UINT>(b.idCommand);
    if ((b.fsStyle & BTNS_SEP) || (!only.empty() && !Contains(only, id))) continue;
    seen.push_back(id);
    const Offer offered = (b.fsState & TBSTATE_HIDDEN)    ? Offer::Hidden
                          : (b.fsState & TBSTATE_ENABLED) ? Offer::Enabled
                                                          : Offer::Disabled;
    const bool check = (b.fsStyle & BTNS_CHECK) != 0;
    // A click flips a check button, then the toolbar sends the command to its parent (the rebar
    // passes the main toolbar's on to the main window).
    Sweep(route, at, id, offered, [toolbar, id, check] {
      if (check)
        ::SendMessageW(toolbar, TB_CHECKBUTTON, id, !::SendMessageW(toolbar, TB_ISBUTTONCHECKED, id, 0));
      ::SendMessageW(::GetParent(toolbar), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
    });
  }
  if (at != At::Frame) ExpectOffered(route, at, seen, only);  // the main toolbar holds a few of the menu's commands
}

void CommandSweep::SweepContextMenu(HWND pane, At owner, HWND client) {
  // A right click in the tree or list asks its pane for the menu with the client in lParam.
  const Outcome shown = Run([&] { ::PostMessageW(pane, WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(client)); });
  if (!shown.menuShown) {
    failures_ += std::string(state_->name) + ", context menu of the " + Name(owner) + ": not shown (it did: " +
                 shown.Describe() + ")\n";
    return;
  }
  std::vector<UINT> seen;
  for (const SeenMenuItem& item : shown.menu) seen.push_back(item.id);
  ExpectOffered("context menu", owner, seen);
  Apply(*state_);
  // The chosen item goes to the menu's owner, the tree or list.
  for (const SeenMenuItem& item : shown.menu)
    Sweep("context menu", owner, item.id, item.enabled ? Offer::Enabled : Offer::Disabled,
          [client, id = item.id] { ::SendMessageW(client, WM_COMMAND, MAKEWPARAM(id, 0), 0); });
}

}  // namespace command_sweep
