// Font drag and drop in the real main window: drags started by the lists' own LVN_BEGINDRAG,
// moved and dropped by their own mouse messages over the real folder tree, groups tree and
// installed list. The folders lie on two of Wine's drives (the temporary folder on C:, a folder
// under /tmp on Z:), so that a drop within a drive moves and one across drives copies.
#include "tests/app/GroupsMainFrame.h"
#include "tests/app/FontDragDriver.h"

#include <windowsx.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "lists/CLVFolderFonts.h"
#include "lists/CLVGroupFonts.h"
#include "lists/CLVInstalledFonts.h"
#include "lists/FontDragSession.h"
#include "common/Seams.h"
#include "tests/support/SfntBuilder.h"

using namespace testing_support;
using namespace font_drag_driver;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class FontDrag : public GroupsMainFrame {
protected:
  void SetUp() override {
    GroupsMainFrame::SetUp();
    savedFontCase_ = g_Preferences.FontCaseRoot;
    root_ = LongPath(cases_.Path());
    for (const wchar_t* sub : {L"\\Src", L"\\Dest", L"\\Dest\\Inner"})
      ::CreateDirectoryW((root_ + sub).c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW(kDejaVu.c_str(), (root_ + L"\\Src\\DejaVuSans.ttf").c_str(), FALSE));
    // A folder on the other drive: Z: is the Linux root.
    other_ = L"Z:\\tmp\\orvel-drag-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(other_.c_str(), nullptr);
    ASSERT_TRUE(Exists(other_));
    g_Preferences.FontCaseRoot = root_;
    g_AppState.FolderTree.SetTargetFolder(std::wstring());
    Make(kRootGroupFile, L"Root", L"", {{G(1), L"Shown"}, {G(2), L"Target"}});
    Make(G(1), L"Shown", kRootGroupFile, {}, {{L"Alpha", Font(L"Alpha")}, {L"Beta", Font(L"Beta")}});
    Make(G(2), L"Target", kRootGroupFile);
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    DeleteTree(other_);
    g_Preferences.FontCaseRoot = savedFontCase_;
    g_AppState.FolderFonts.m_zipFolder = false;
    GroupsMainFrame::TearDown();
  }

  static CFolderTreeView& Folders() { return g_AppState.FolderTree; }
  static CLVFolderFonts& FolderList() { return g_AppState.FolderFonts; }
  static CLVGroupFonts& GroupList() { return g_AppState.GroupFonts; }

  // The main window with the folder list showing Src (its one font selected).
  void OpenOnSource() {
    Open();
    ASSERT_TRUE(ShowFolderFonts(*frame_, root_ + L"\\Src"));
    ASSERT_EQ(FolderList().CountRecords(), 1);
    FolderList().SelectAll(true);
  }
  // The group list showing group 1, every row selected.
  void ShowGroupList(int fonts = 2) {
    frame_->SendMessage(WM_COMMAND, ID_SHOW_FONT_LIST, 2);
    ASSERT_TRUE(Tree().SelectGroupByFile(G(1), -1));
    GroupList().m_refreshPending = true;
    for (int i = 0; i < 6; ++i)
      if (frame_->RunIdleJob() == IdleJob::GroupListFill) break;
    ASSERT_EQ(GroupList().CountRecords(), fonts);
    GroupList().SelectAll(true);
  }
  // The action a drag from `list` shows at `screen` with `keys`; the drag is cancelled after.
  static int ActionAt(COrvelListView& list, POINT screen, WPARAM keys, bool* notAllowedCursor = nullptr) {
    FontDragSession* drag = BeginDrag(list);
    if (!drag) return -1;
    MoveTo(list, screen, keys);
    const int action = drag->ActionShown();
    if (notAllowedCursor) *notAllowedCursor = ::GetCursor() == ::LoadCursorW(nullptr, IDC_NO);
    ::SendMessageW(list.m_hWnd, WM_COMMAND, ID_LIST_END_DRAG, 0);
    return list.CurrentDrag() ? -2 : action;
  }
  static std::vector<std::wstring> GroupFontNames(const std::wstring& file) {
    FontGroup g;
    (void)g.Load(file);
    std::vector<std::wstring> names;
    for (const FontGroupEntry& f : g.Fonts) names.push_back(f.Name);
    std::sort(names.begin(), names.end());
    return names;
  }

  ScratchDir cases_;
  std::wstring root_, other_, savedFontCase_;
};

}  // namespace

TEST_F(FontDrag, TheActionFollowsTargetSourceKeysAndDrive) {
  OpenOnSource();
  // Each place is found when it is used: bringing a folder into view scrolls the tree.
  const HWND folders = Folders().m_hWnd;
  const auto dest = [&] { return OnItem(folders, ItemOfFolder(root_ + L"\\Dest")); };
  const auto other = [&] { return OnItem(folders, ItemOfFolder(other_)); };
  const auto source = [&] { return OnItem(folders, ItemOfFolder(root_ + L"\\Src")); };
  const auto group = [] { return OnItem(Tree().m_hWnd, ItemOfGroup(G(2))); };
  const auto installedList = [] {
    RECT client{};
    ::GetClientRect(g_AppState.InstalledFonts.m_hWnd, &client);
    return InWindow(g_AppState.InstalledFonts.m_hWnd, client.right / 2, client.bottom / 2);
  };
  const auto frame = [&] { return InWindow(frame_->m_hWnd, 2, 2); };  // the frame itself, no target

  struct Case {
    const char* what;
    std::function<POINT()> at;
    WPARAM keys;
    int action;
  };
  const Case folderListCases[] = {
      {"same drive: move", dest, 0, 2},
      {"same drive, Ctrl: copy", dest, MK_CONTROL, 1},
      {"same drive, Shift: move", dest, MK_SHIFT, 2},
      {"other drive: copy", other, 0, 1},
      {"other drive, Shift: move", other, MK_SHIFT, 2},
      {"other drive, Ctrl: copy", other, MK_CONTROL, 1},
      {"the source folder itself", source, 0, 0},
      {"Ctrl and Shift together", dest, MK_CONTROL | MK_SHIFT, 0},
      {"a group: add", group, 0, 3},
      {"a group, Ctrl: still add", group, MK_CONTROL, 3},
      {"a group, Shift: still add", group, MK_SHIFT, 3},
      {"a group, Ctrl and Shift", group, MK_CONTROL | MK_SHIFT, 0},
      {"installed list: install", installedList, 0, 4},
      {"installed list, Ctrl: second form", installedList, MK_CONTROL, 6},
      {"the frame: nothing", frame, 0, 0},
  };
  for (const Case& c : folderListCases) {
    bool notAllowed = false;
    EXPECT_EQ(ActionAt(FolderList(), c.at(), c.keys, &notAllowed), c.action) << "folder list, " << c.what;
    EXPECT_EQ(notAllowed, c.action == 0) << "folder list, " << c.what;
  }

  // The drag image: one icon, framed, with its shadow.
  FontDragSession* drag = BeginDrag(FolderList());
  ASSERT_TRUE(drag);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(drag->DragImage(), &cx, &cy));
  EXPECT_EQ(cx, ::GetSystemMetrics(SM_CXICON) + 12);
  EXPECT_EQ(cy, ::GetSystemMetrics(SM_CYICON) + 12);
  EXPECT_TRUE(EqualsNoCase(drag->SourceFolder(), root_ + L"\\Src"));
  MoveTo(FolderList(), dest());
  EXPECT_EQ(drag->ActionWindow().Text(), L"Move the font files into this folder");
  // Beside the cursor, below it, sized to its caption; the caption's field of the string.
  RECT beside{};
  ASSERT_TRUE(::GetWindowRect(drag->ActionWindow().m_hWnd, &beside));
  EXPECT_EQ(beside.left, drag->Cursor().x);
  EXPECT_EQ(beside.top, drag->Cursor().y + 20);
  EXPECT_GE(beside.bottom - beside.top, 18);
  EXPECT_GT(beside.right - beside.left, 100) << "the whole caption fits";
  EXPECT_TRUE(::GetWindowLongPtrW(drag->ActionWindow().m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  {
    // Its painting, into a bitmap of its size: the border, the ground, the caption's colour.
    const int w = beside.right - beside.left, h = beside.bottom - beside.top;
    orv::ScopedGetDC screen(nullptr);
    orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
    orv::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), w, h));
    orv::ScopedSelectObject selected(dc.Get(), bitmap.Get());
    ::SendMessageW(drag->ActionWindow().m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
    EXPECT_EQ(::GetPixel(dc.Get(), 0, 0), ::GetSysColor(COLOR_ACTIVEBORDER));
    EXPECT_EQ(::GetPixel(dc.Get(), w - 2, 1), CDragActionWnd::kBackground);
    bool captionDrawn = false;
    for (int x = 20; x < w - 5 && !captionDrawn; ++x)
      for (int y = 1; y < h - 1 && !captionDrawn; ++y) captionDrawn = ::GetPixel(dc.Get(), x, y) == CDragActionWnd::kTextColor;
    EXPECT_TRUE(captionDrawn);
  }
  EXPECT_EQ(drag->Highlighted(), ItemOfFolder(root_ + L"\\Dest"));
  EXPECT_TRUE(Folders().GetItemState(drag->Highlighted(), TVIS_DROPHILITED) & TVIS_DROPHILITED);
  const HTREEITEM lit = drag->Highlighted();
  ::SendMessageW(FolderList().m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(FolderList().CurrentDrag(), nullptr) << "Esc ends the drag";
  EXPECT_EQ(FontDragSession::Running(), nullptr);
  EXPECT_NE(::GetCapture(), FolderList().m_hWnd);
  EXPECT_FALSE(Folders().GetItemState(lit, TVIS_DROPHILITED) & TVIS_DROPHILITED);

  // From the installed list: always a copy into a folder, an add to a group.
  CLVInstalledFonts& installedFonts = g_AppState.InstalledFonts;
  ASSERT_GT(installedFonts.CountRecords(), 0);
  installedFonts.SelectAll(false);
  LVITEMW item{};
  item.stateMask = item.state = LVIS_SELECTED;
  ::SendMessageW(installedFonts.m_hWnd, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(ActionAt(installedFonts, dest(), 0), 1) << "installed list onto a folder of the same drive";
  EXPECT_EQ(ActionAt(installedFonts, dest(), MK_SHIFT), 1);
  EXPECT_EQ(ActionAt(installedFonts, group(), 0), 3);
  EXPECT_EQ(ActionAt(installedFonts, installedList(), 0), 0) << "its own rectangle";

  // From the group list: rows copied or moved between groups, no folder target at all.
  ShowGroupList();
  RECT groupsClient{};
  ::GetClientRect(Tree().m_hWnd, &groupsClient);
  const auto emptyGroups = [&] { return InWindow(Tree().m_hWnd, 8, groupsClient.bottom - 4); };
  const Case groupListCases[] = {
      {"a folder", dest, 0, 0},
      {"a folder, Ctrl", dest, MK_CONTROL, 0},
      {"a folder of the other drive, Shift", other, MK_SHIFT, 0},
      {"a group: copy rows", group, 0, 8},
      {"a group, Shift: move rows", group, MK_SHIFT, 9},
      {"a group, Ctrl: copy rows", group, MK_CONTROL, 8},
      {"an empty part of the groups tree, Shift", emptyGroups, MK_SHIFT, 0},
      {"installed list", installedList, 0, 6},
  };
  for (const Case& c : groupListCases) {
    bool notAllowed = false;
    EXPECT_EQ(ActionAt(GroupList(), c.at(), c.keys, &notAllowed), c.action) << "group list, " << c.what;
    EXPECT_EQ(notAllowed, c.action == 0) << "group list, " << c.what;
  }

  // The fonts of a zip folder go to no group.
  FolderList().m_zipFolder = true;
  EXPECT_EQ(ActionAt(FolderList(), group(), 0), 0);
}

TEST_F(FontDrag, DropsMoveWithinADriveAndCopyAcrossDrives) {
  OpenOnSource();
  const std::wstring font = root_ + L"\\Src\\DejaVuSans.ttf";
  const std::string bytes = ReadFileBytes(font);
  ASSERT_FALSE(bytes.empty());

  // Refused drops change nothing: onto the source folder, with Ctrl and Shift.
  ASSERT_TRUE(BeginDrag(FolderList()));
  MoveTo(FolderList(), OnItem(Folders().m_hWnd, ItemOfFolder(root_ + L"\\Src")));
  Release(FolderList());
  EXPECT_EQ(FolderList().CurrentDrag(), nullptr);
  ASSERT_TRUE(BeginDrag(FolderList()));
  MoveTo(FolderList(), OnItem(Folders().m_hWnd, ItemOfFolder(root_ + L"\\Dest")), MK_CONTROL | MK_SHIFT);
  Release(FolderList());
  EXPECT_TRUE(Exists(font));
  EXPECT_FALSE(Exists(root_ + L"\\Dest\\DejaVuSans.ttf"));
  EXPECT_TRUE(Boxes().empty());

  // Across drives: a copy.
  ASSERT_TRUE(BeginDrag(FolderList()));
  MoveTo(FolderList(), OnItem(Folders().m_hWnd, ItemOfFolder(other_)));
  Release(FolderList());
  EXPECT_EQ(FolderList().CurrentDrag(), nullptr);
  EXPECT_EQ(ReadFileBytes(other_ + L"\\DejaVuSans.ttf"), bytes);
  EXPECT_TRUE(Exists(font)) << "a copy leaves the source";
  EXPECT_TRUE(Boxes().empty());

  // Within the drive: a move.
  ASSERT_TRUE(BeginDrag(FolderList()));
  MoveTo(FolderList(), OnItem(Folders().m_hWnd, ItemOfFolder(root_ + L"\\Dest")));
  Release(FolderList());
  EXPECT_EQ(ReadFileBytes(root_ + L"\\Dest\\DejaVuSans.ttf"), bytes);
  EXPECT_FALSE(Exists(font)) << "a move takes the file out of the source folder";
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(FolderList().m_refreshPending) << "the folder list refills after a move";

  // A file operation that fails: the warning box, in the move's words.
  seams::SystemCalls failing;
  failing.fileOperation = [](SHFILEOPSTRUCTW*) { return 0x75; };  // the user cancelled
  seams::SetSystemCalls(&failing);
  ASSERT_TRUE(ShowFolderFonts(*frame_, root_ + L"\\Dest"));
  ASSERT_EQ(FolderList().CountRecords(), 1);
  FolderList().SelectAll(true);
  ASSERT_TRUE(BeginDrag(FolderList()));
  MoveTo(FolderList(), OnItem(Folders().m_hWnd, ItemOfFolder(root_ + L"\\Dest\\Inner")));
  Release(FolderList());
  seams::SetSystemCalls(nullptr);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, L"Move Font Files");
  EXPECT_EQ(Boxes()[0].text.rfind(L"No files to copy were found in the source folder.", 0), 0u);
  EXPECT_EQ(Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_TRUE(Exists(root_ + L"\\Dest\\DejaVuSans.ttf"));
}

TEST_F(FontDrag, DropsOnTheGroupsTreeAddCopyAndMove) {
  OpenOnSource();
  // Folder list onto a group: the font is added by its name and path.
  ASSERT_TRUE(BeginDrag(FolderList()));
  MoveTo(FolderList(), OnItem(Tree().m_hWnd, ItemOfGroup(G(2))));
  Release(FolderList());
  EXPECT_EQ(GroupFontNames(G(2)), std::vector<std::wstring>{L"DejaVu Sans Book"});
  FontGroup target;
  ASSERT_TRUE(target.Load(G(2)));
  ASSERT_EQ(target.Fonts.size(), 1u);
  EXPECT_TRUE(EqualsNoCase(target.Fonts[0].Path, root_ + L"\\Src\\DejaVuSans.ttf"));
  EXPECT_TRUE(GroupList().m_refreshPending);

  // Group rows: copied without keys, moved with Shift.
  ShowGroupList();
  ASSERT_TRUE(BeginDrag(GroupList()));
  MoveTo(GroupList(), OnItem(Tree().m_hWnd, ItemOfGroup(G(2))));
  Release(GroupList());
  EXPECT_EQ(GroupFontNames(G(2)), (std::vector<std::wstring>{L"Alpha", L"Beta", L"DejaVu Sans Book"}));
  EXPECT_EQ(GroupFontNames(G(1)), (std::vector<std::wstring>{L"Alpha", L"Beta"}));

  Make(G(2), L"Target", kRootGroupFile);
  ShowGroupList();
  ASSERT_TRUE(BeginDrag(GroupList()));
  MoveTo(GroupList(), OnItem(Tree().m_hWnd, ItemOfGroup(G(2))), MK_SHIFT);
  Release(GroupList());
  EXPECT_EQ(GroupFontNames(G(2)), (std::vector<std::wstring>{L"Alpha", L"Beta"}));
  EXPECT_TRUE(GroupFontNames(G(1)).empty()) << "a move takes the rows out of their group";

  // Group rows onto a folder: refused, nothing written anywhere.
  Make(G(1), L"Shown", kRootGroupFile, {}, {{L"Alpha", Font(L"Alpha")}});
  ShowGroupList(1);
  const std::string before = Bytes(G(1));
  ASSERT_TRUE(BeginDrag(GroupList()));
  MoveTo(GroupList(), OnItem(Folders().m_hWnd, ItemOfFolder(root_ + L"\\Dest")), MK_CONTROL);
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_NO));
  Release(GroupList());
  EXPECT_EQ(Bytes(G(1)), before);
  EXPECT_FALSE(Exists(root_ + L"\\Dest\\Alpha.ttf"));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(FontDrag, TheTimerExpandsAtRestAndCancelsWhenTheFocusLeaves) {
  OpenOnSource();
  const HWND folders = Folders().m_hWnd;
  const HTREEITEM dest = ItemOfFolder(root_ + L"\\Dest");
  ASSERT_TRUE(dest);
  Folders().Expand(dest, TVE_COLLAPSE);
  ASSERT_FALSE(Folders().GetItemState(dest, TVIS_EXPANDED) & TVIS_EXPANDED);
  // The expand button: the point left of the label that hit-tests as the item's button.
  const RECT label = ItemRect(folders, dest, true);
  ASSERT_GT(label.right, label.left);
  POINT button{-1, (label.top + label.bottom) / 2};
  for (int x = 0; x < label.left; ++x) {
    TVHITTESTINFO hit{{x, button.y}, 0, nullptr};
    if (::SendMessageW(folders, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) && (hit.flags & TVHT_ONITEMBUTTON)) {
      button.x = x;
      break;
    }
  }
  ASSERT_GE(button.x, 0) << "Dest has a subfolder, so it has a button";

  FontDragSession* drag = BeginDrag(FolderList());
  ASSERT_TRUE(drag);
  ASSERT_EQ(FontDragSession::Running(), drag);
  MoveTo(FolderList(), InWindow(folders, button.x, button.y));
  for (int tick = 1; tick < FontDragSession::kExpandTicks; ++tick) {
    FontDragSession::TimerProc(FolderList().m_hWnd, WM_TIMER, IDT_FONT_DRAG, 0);
    EXPECT_EQ(drag->HoverCounter(), tick);
  }
  EXPECT_FALSE(Folders().GetItemState(dest, TVIS_EXPANDED) & TVIS_EXPANDED) << "not before the fifth tick";
  FontDragSession::TimerProc(FolderList().m_hWnd, WM_TIMER, IDT_FONT_DRAG, 0);
  EXPECT_TRUE(Folders().GetItemState(dest, TVIS_EXPANDED) & TVIS_EXPANDED);
  EXPECT_EQ(drag->HoverCounter(), 0);
  EXPECT_TRUE(Folders().GetChildItem(dest)) << "the branch was read";

  // Resting near the tree's top asks for a scroll up, which a tick does and ends.
  const RECT first = ItemRect(folders, Folders().GetFirstVisibleItem(), true);
  MoveTo(FolderList(), InWindow(folders, (first.left + first.right) / 2, 1));
  EXPECT_EQ(drag->HoverCounter(), FontDragSession::kScrollUp);
  FontDragSession::TimerProc(FolderList().m_hWnd, WM_TIMER, IDT_FONT_DRAG, 0);
  EXPECT_EQ(drag->HoverCounter(), 0);

  // The focus goes to a window that is not the program's: the next tick ends the drag.
  HWND stranger = ::CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                    nullptr, nullptr);
  ASSERT_TRUE(stranger);
  ::SetFocus(stranger);
  ASSERT_EQ(::GetFocus(), stranger);
  FontDragSession::TimerProc(FolderList().m_hWnd, WM_TIMER, IDT_FONT_DRAG, 0);
  PumpMessages(50);
  EXPECT_EQ(FolderList().CurrentDrag(), nullptr);
  EXPECT_EQ(FontDragSession::Running(), nullptr);
  ::DestroyWindow(stranger);
}

namespace {

std::vector<std::wstring> g_registered;  // value data the install wrote
std::vector<std::wstring> g_loaded;      // files given to the font resource call

}  // namespace

TEST_F(FontDrag, ADropOnTheInstalledListInstallsWithCopyUnlessCtrlIsHeld) {
  // A font of its own name, so that nothing installed already answers for it.
  ASSERT_TRUE(sfnt_test::WriteTaggedDejaVu(kDejaVu, root_ + L"\\Src\\OrvDrg.ttf", "OrvDrg"));
  ::DeleteFileW((root_ + L"\\Src\\DejaVuSans.ttf").c_str());
  ScratchDir fonts;
  // What the test changes is put back however it ends.
  struct Restore {
    std::wstring system = g_AppState.SystemFontsFolder, user = g_AppState.UserFontsFolder;
    bool elevated = g_AppState.IsElevated;
    ~Restore() {
      seams::SetSystemCalls(nullptr);
      g_AppState.SystemFontsFolder = system;
      g_AppState.UserFontsFolder = user;
      g_AppState.IsElevated = elevated;
    }
  } restore;
  g_AppState.SystemFontsFolder = LongPath(fonts.Path());
  g_AppState.UserFontsFolder = LongPath(fonts.Path()) + L"\\user";
  g_AppState.IsElevated = true;
  g_registered.clear();
  g_loaded.clear();
  seams::SystemCalls calls;
  calls.addFontResource = [](const wchar_t* path) {
    g_loaded.emplace_back(path);
    return 1;
  };
  calls.setRegValue = [](HKEY, const wchar_t*, DWORD, const BYTE* data, DWORD) {
    g_registered.emplace_back(reinterpret_cast<const wchar_t*>(data));
    return static_cast<LSTATUS>(ERROR_SUCCESS);
  };
  seams::SetSystemCalls(&calls);
  OpenOnSource();
  const auto installedList = [] {
    RECT client{};
    ::GetClientRect(g_AppState.InstalledFonts.m_hWnd, &client);
    return InWindow(g_AppState.InstalledFonts.m_hWnd, client.right / 2, client.bottom / 2);
  };

  // Ctrl: registered where it is, nothing copied.
  ASSERT_TRUE(BeginDrag(FolderList()));
  MoveTo(FolderList(), installedList(), MK_CONTROL);
  EXPECT_EQ(FolderList().CurrentDrag()->ActionShown(), 6);
  Release(FolderList());
  ASSERT_EQ(g_registered.size(), 1u);
  EXPECT_TRUE(EqualsNoCase(g_registered[0], root_ + L"\\Src\\OrvDrg.ttf")) << Narrow(g_registered[0]);
  EXPECT_FALSE(Exists(g_AppState.SystemFontsFolder + L"\\OrvDrg.ttf"));

  // No key: the file is copied into the Fonts folder and registered there.
  g_registered.clear();
  ASSERT_TRUE(BeginDrag(FolderList()));
  MoveTo(FolderList(), installedList());
  EXPECT_EQ(FolderList().CurrentDrag()->ActionShown(), 4);
  Release(FolderList());
  EXPECT_TRUE(Exists(g_AppState.SystemFontsFolder + L"\\OrvDrg.ttf"));
  ASSERT_EQ(g_registered.size(), 1u);
  EXPECT_TRUE(EqualsNoCase(g_registered[0], L"OrvDrg.ttf")) << Narrow(g_registered[0]);
}
