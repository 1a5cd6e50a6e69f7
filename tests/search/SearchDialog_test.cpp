// The search dialog as the user drives it under Wine, over the tree of built fonts: a search
// lists exactly the faces found, a second search in a row replaces them, a stop ends the walk
// early and says so, closing during a walk (by WM_CLOSE or by destroying the window) ends the
// walk first. Its result list: batches merged in their sorted place in both directions, the
// top row kept, the caption click turning the order round and back; its pane's context menu;
// Insert into the selected group; the selected result's folder in the status bar and opening
// it in the folder list.
#include "search/CSearchDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "groups/FontGroup.h"
#include "app/CGroupsTVContainer.h"
#include "groups/GroupNames.h"
#include "tests/search/SearchTestFonts.h"
#include "tests/support/ControlLayout.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using testing_support::Beeps;
using testing_support::ModalScript;
using testing_support::Narrow;
using testing_support::PumpMessages;
using testing_support::ScratchDir;

namespace {

std::vector<std::pair<WPARAM, LPARAM>> g_mainCommands;

LRESULT CALLBACK MainProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) {
    g_mainCommands.push_back({wp, lp});
    return 0;
  }
  return ::DefWindowProcW(window, msg, wp, lp);
}

orv::ScopedKey PrefsKey() {
  HKEY key = nullptr;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_READ | KEY_SET_VALUE, nullptr, &key, nullptr);
  return orv::ScopedKey(key);
}

std::wstring StatusText(HWND bar, int part) {
  wchar_t text[512] = {};
  if (::SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0) < 500) ::SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
  return text;
}

FontItem Result(const std::wstring& name, const std::wstring& path) {
  FontItem record;
  record.displayName = name;
  record.names.System(NameSlot::FullName) = name;
  record.fullPath = path;
  record.fileRef = path;
  record.flags = font_flags::kSfnt | font_flags::kRead | font_flags::kResolved;
  return record;
}

// The rows as the list shows them: each row's file path.
std::vector<std::wstring> ShownPaths(const CLVSearchFonts& list) {
  std::vector<std::wstring> paths;
  int count = 0;
  list.GetCounts(&count, nullptr);
  for (int i = 0; i < count; ++i) paths.push_back(list.GetRecordAt(i) ? list.GetRecordAt(i)->fullPath : L"?");
  return paths;
}

void SelectRow(CLVSearchFonts& list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

// The caption strip of the pane as it is on screen.
std::vector<COLORREF> CaptionPixels(HWND pane, int height) {
  ::RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT rc{};
  ::GetClientRect(pane, &rc);
  std::vector<COLORREF> pixels;
  HDC dc = ::GetDC(pane);
  for (int y = 0; y < height; y += 2)
    for (int x = 0; x < rc.right; x += 2) pixels.push_back(::GetPixel(dc, x, y));
  ::ReleaseDC(pane, dc);
  return pixels;
}

class SearchDialog : public testing::Test {
protected:
  void SetUp() override {
    testing_support::ResetRecords();
    g_mainCommands.clear();
    all_ = search_test::WriteSearchTree(dir_.Path());
    WNDCLASSW wc{};
    wc.lpfnWndProc = &MainProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SearchTestMain";
    ::RegisterClassW(&wc);
    main_ = ::CreateWindowExW(0, L"SearchTestMain", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              wc.hInstance, nullptr);
    savedMain_ = g_AppState.MainWindow;
    g_AppState.MainWindow = main_;
    UseRoots(dir_.Path());
    ::RegDeleteValueW(PrefsKey().Get(), L"SearchDlgRect");
    ::RegDeleteValueW(PrefsKey().Get(), L"SearchFilter");
  }
  void TearDown() override {
    dialog_.reset();
    PumpMessages(50);
    g_AppState.MainWindow = savedMain_;
    ::DestroyWindow(main_);
    testing_support::ResetRecords();
  }

  static void UseRoots(const std::wstring& roots) {
    ASSERT_TRUE(WriteRegString(PrefsKey().Get(), L"SearchPath", roots));
  }

  CSearchDlg& Open() {
    dialog_ = std::make_unique<CSearchDlg>();
    EXPECT_TRUE(dialog_->CreateDialogWindow());
    dialog_->ShowWindow(SW_SHOWNORMAL);
    PumpMessages(150);  // the drive list fills after the dialog shows
    return *dialog_;
  }

  // Types the pattern, starts the search and waits for its end; the names found.
  std::multiset<std::wstring> Search(const std::wstring& pattern) {
    CSearchDlg& d = *dialog_;
    d.SetDlgItemText(IDC_SEARCH_PATTERN, pattern.c_str());
    d.SendMessage(WM_COMMAND, IDC_SEARCH_START);
    EXPECT_TRUE(d.IsSearching());
    WaitForEnd();
    std::multiset<std::wstring> names;
    for (int i = 0; d.ResultList().GetRecordAt(i); ++i) names.insert(d.ResultList().GetRecordAt(i)->FullName());
    return names;
  }

  void WaitForEnd() {
    for (int i = 0; i < 400 && dialog_->m_hWnd && dialog_->IsSearching(); ++i) PumpMessages(25);
    EXPECT_FALSE(dialog_->m_hWnd && dialog_->IsSearching());
  }

  // A folder of `count` copies of one face, to give a walk that lasts.
  std::wstring WriteManyFonts(int count) {
    const std::wstring folder = dir_.File(L"many");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const search_test::Bytes face = search_test::BuildFace({L"Many", L"Regular", L"Many Regular", u"A"});
    for (int i = 0; i < count; ++i)
      EXPECT_TRUE(testing_support::WriteFileBytes(folder + L"\\m" + std::to_wstring(i) + L".ttf", face.data(), face.size()));
    return folder;
  }

  size_t ToolClosedCount() const {
    return std::count_if(g_mainCommands.begin(), g_mainCommands.end(), [](const auto& c) {
      return LOWORD(c.first) == ID_TOOL_WINDOW_CLOSED && c.second == IDD_SEARCH;
    });
  }

  ScratchDir dir_;
  std::vector<std::wstring> all_;
  HWND main_ = nullptr;
  HWND savedMain_ = nullptr;
  std::unique_ptr<CSearchDlg> dialog_;
};

TEST_F(SearchDialog, SearchesTwiceInARowAndStops) {
  CSearchDlg& d = Open();
  EXPECT_TRUE(EqualsNoCase(d.Roots(), dir_.Path())) << Narrow(d.Roots());
  const std::multiset<std::wstring> everything = Search(L"*");
  EXPECT_EQ(everything, std::multiset<std::wstring>(all_.begin(), all_.end()));
  EXPECT_EQ(StatusText(d.StatusBar(), CSearchDlg::kFolderPart), LoadResString(IDS_OPERATION_FINISHED));
  EXPECT_EQ(StatusText(d.StatusBar(), CSearchDlg::kFoundPart).rfind(L" " + std::to_wstring(all_.size()) + L" ", 0), 0u);
  EXPECT_EQ(Beeps(), std::vector<UINT>{MB_ICONASTERISK});
  EXPECT_TRUE(d.IsWindowEnabled() && ::IsWindowEnabled(d.GetDlgItem(IDC_SEARCH_PATTERN)));
  // The rows come sorted by name.
  std::vector<std::wstring> shown;
  for (int i = 0; d.ResultList().GetRecordAt(i); ++i) shown.push_back(FoldRowName(d.ResultList().GetRecordAt(i)->displayName));
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));

  // A second search replaces the results.
  testing_support::SaveWindowImage(d.m_hWnd, testing_support::ArtifactsDir() + L"\\search_dialog.bmp");
  EXPECT_EQ(Search(L"alpha*;gamma*"), (std::multiset<std::wstring>{L"Alpha Sans", L"Gamma Book"}));
  EXPECT_EQ(Beeps().size(), 2u);

  // A stop in the middle of a long walk: what was found stays, the end says it was stopped.
  dialog_.reset();
  UseRoots(WriteManyFonts(300));
  CSearchDlg& again = Open();
  again.SetDlgItemText(IDC_SEARCH_PATTERN, L"*");
  again.SendMessage(WM_COMMAND, IDC_SEARCH_START);
  ASSERT_TRUE(again.IsSearching());
  wchar_t button[32] = {};
  ::GetWindowTextW(again.GetDlgItem(IDC_SEARCH_START), button, 32);
  EXPECT_STREQ(button, L"Stop");
  again.SendMessage(WM_COMMAND, IDC_SEARCH_START);
  WaitForEnd();
  EXPECT_EQ(StatusText(again.StatusBar(), CSearchDlg::kFolderPart), L"Search stopped.");
  int rows = 0;
  again.ResultList().GetCounts(&rows, nullptr);
  EXPECT_LT(rows, 300) << "the walk went on after the stop";
  EXPECT_EQ(StatusText(again.StatusBar(), CSearchDlg::kFoundPart).rfind(L" " + std::to_wstring(rows) + L" ", 0), 0u);
  EXPECT_EQ(Beeps().size(), 3u);
  // And the next search after a stop runs to its end.
  EXPECT_EQ(Search(L"Many*").size(), 300u);
}

TEST_F(SearchDialog, ClosingDuringAWalkEndsTheWalkFirst) {
  UseRoots(WriteManyFonts(300));
  CSearchDlg& d = Open();
  d.SetDlgItemText(IDC_SEARCH_PATTERN, L"*");
  d.SendMessage(WM_COMMAND, IDC_SEARCH_START);
  ASSERT_TRUE(d.IsSearching()) << "its end is heard only through the message loop";
  d.SendMessage(WM_CLOSE);
  EXPECT_TRUE(::IsWindow(d.m_hWnd)) << "the dialog waits for the walk";
  for (int i = 0; i < 400 && ::IsWindow(d.m_hWnd); ++i) PumpMessages(25);
  EXPECT_FALSE(::IsWindow(d.m_hWnd));
  PumpMessages(50);
  EXPECT_EQ(ToolClosedCount(), 1u);
  dialog_.reset();

  // A window destroyed in the middle of a walk (the main window going) stops and joins it.
  CSearchDlg& second = Open();
  second.SetDlgItemText(IDC_SEARCH_PATTERN, L"*");
  second.SendMessage(WM_COMMAND, IDC_SEARCH_START);
  ASSERT_TRUE(second.IsSearching());
  dialog_.reset();
  PumpMessages(100);
  EXPECT_EQ(ToolClosedCount(), 2u);
}

TEST_F(SearchDialog, MergedBatchesTakeTheirSortedPlaceInBothOrders) {
  CSearchDlg& d = Open();
  CLVSearchFonts& list = d.ResultList();
  // 400 results arriving in an order unlike their names, a few names more than once.
  std::vector<FontItem> arriving;
  for (int i = 0; i < 400; ++i) {
    const int key = (i * 7919) % 397;
    wchar_t name[32];
    swprintf(name, 32, L"Face %03d", key);
    arriving.push_back(Result(name, L"C:\\f\\" + std::to_wstring(i) + L".ttf"));
  }
  // The order the base list gives: stable by folded name, in order of arrival.
  auto expected = [&](size_t count, bool ascending) {
    std::vector<FontItem> sorted(arriving.begin(), arriving.begin() + count);
    std::stable_sort(sorted.begin(), sorted.end(), [](const FontItem& a, const FontItem& b) {
      return FoldRowName(a.displayName) < FoldRowName(b.displayName);
    });
    std::vector<std::wstring> paths;
    for (const FontItem& r : sorted) paths.push_back(r.fullPath);
    if (!ascending) std::reverse(paths.begin(), paths.end());
    return paths;
  };
  auto merge = [&](size_t from, size_t to) {
    for (size_t at = from; at < to; at += 25)
      list.MergeResults(std::vector<FontItem>(arriving.begin() + at, arriving.begin() + std::min(to, at + 25)));
  };
  merge(0, 200);
  EXPECT_EQ(ShownPaths(list), expected(200, true));

  // The row at the top stays there while rows arrive above and below it.
  list.ScrollToRow(150, -1);
  const int top = static_cast<int>(list.SendMessage(LVM_GETTOPINDEX));
  ASSERT_GT(top, 0);
  const std::wstring topPath = list.GetRecordAt(top)->fullPath;
  merge(200, 300);
  EXPECT_EQ(list.GetRecordAt(static_cast<int>(list.SendMessage(LVM_GETTOPINDEX)))->fullPath, topPath);
  EXPECT_EQ(ShownPaths(list), expected(300, true));

  // A click on the caption turns the order round, and results keep their place in it.
  CLvSearchContainer& pane = d.ResultPane();
  const std::vector<COLORREF> ascendingCaption = CaptionPixels(pane.m_hWnd, pane.m_cyCaption);
  pane.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(list.m_sortAscending, 0);
  EXPECT_EQ(ShownPaths(list), expected(300, false));
  EXPECT_NE(CaptionPixels(pane.m_hWnd, pane.m_cyCaption), ascendingCaption) << "the arrow points the other way";
  merge(300, 400);
  EXPECT_EQ(ShownPaths(list), expected(400, false));
  // A second click gives the first order and arrow back.
  pane.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(list.m_sortAscending, 1);
  EXPECT_EQ(ShownPaths(list), expected(400, true));
  EXPECT_EQ(CaptionPixels(pane.m_hWnd, pane.m_cyCaption), ascendingCaption);
  // Not while the program is busy.
  g_AppState.Busy = true;
  pane.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  g_AppState.Busy = false;
  EXPECT_EQ(list.m_sortAscending, 1);
}

TEST_F(SearchDialog, ResultPaneMenuGroupAndFolder) {
  CSearchDlg& d = Open();
  CLVSearchFonts& list = d.ResultList();
  const std::wstring folder = dir_.Path();
  list.MergeResults({Result(L"Beta Serif Bold", folder + L"\\Beta.ttf"), Result(L"Alpha Sans", folder + L"\\Alpha.ttf")});
  CLvSearchContainer& pane = d.ResultPane();

  // The menu from the toolbar button: every item disabled without a selection, the refresh
  // item of the lists left out; all enabled with one.
  auto menuItems = [&]() {
    std::vector<std::pair<UINT, bool>> items;
    ModalScript::Run({[&] {
                        HWND popup = ::FindWindowW(L"#32768", nullptr);
                        HMENU menu = popup ? reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
                        for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
                          const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
                          if (state & MF_SEPARATOR) continue;
                          items.push_back({::GetMenuItemID(menu, i), (state & (MF_DISABLED | MF_GRAYED)) == 0});
                        }
                        if (menu) ::EndMenu();
                        return menu != nullptr;
                      }},
                     [&] {
                       pane.SendMessage(WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(pane.m_hWndToolBar));
                       PumpMessages(200);
                     });
    return items;
  };
  const UINT ids[] = {ID_SEARCH_OPEN_FOLDER, ID_FONTS_COPY_TO_FOLDER, ID_LIST_SELECT_ALL, ID_LIST_INVERT_SELECTION,
                      ID_FONTS_SHEET,        ID_FONTS_CHARMAP,        ID_LIST_PRINT};
  std::vector<std::pair<UINT, bool>> disabled, enabled;
  for (UINT id : ids) disabled.push_back({id, false}), enabled.push_back({id, true});
  EXPECT_EQ(menuItems(), disabled);
  SelectRow(list, 0);
  EXPECT_EQ(menuItems(), enabled);

  // The selected result's folder shows in the status bar.
  const std::wstring shownFolder = StatusText(d.StatusBar(), CSearchDlg::kFolderPart);
  EXPECT_NE(shownFolder.find(L"\\"), std::wstring::npos) << Narrow(shownFolder);

  // Insert without a group selected only beeps; with one it adds the selection to it, once.
  testing_support::ResetRecords();
  list.SendMessage(WM_KEYDOWN, VK_INSERT);
  EXPECT_EQ(Beeps(), std::vector<UINT>{0});
  std::wstring groupsFolder = dir_.File(L"groups");
  ::CreateDirectoryW(groupsFolder.c_str(), nullptr);
  FontGroup::SetGroupsFolderSource(&groupsFolder);
  const std::wstring groupFile = FormatGroupFileName(1);
  for (const auto& [file, name, parent] : {std::tuple{std::wstring(kRootGroupFile), L"Root", L""},
                                            std::tuple{groupFile, L"Found", kRootGroupFile}}) {
    FontGroup group;
    group.FileName = file;
    group.Name = name;
    group.Parent = parent;
    if (file == kRootGroupFile) group.AddNode(L"Found", groupFile, false, false);
    ASSERT_TRUE(group.Save());
  }
  CGroupsTVContainer groupsPane;
  groupsPane.Create(nullptr, nullptr, nullptr, WS_POPUP);
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  ASSERT_TRUE(tree.CreateTree(groupsPane, IDC_GROUPS_TREE));
  groupsPane.SetClient(tree);
  tree.Init();
  tree.Expand(tree.GetRootItem(), TVE_EXPAND);
  tree.SelectItem(tree.FindChildByFile(tree.GetRootItem(), groupFile));
  list.SendMessage(WM_KEYDOWN, VK_INSERT);
  list.SendMessage(WM_KEYDOWN, VK_INSERT);
  FontGroup group;
  ASSERT_TRUE(group.Load(groupFile));
  groupsPane.DestroyWindow();
  FontGroup::SetGroupsFolderSource(nullptr);
  ASSERT_EQ(group.Fonts.size(), 1u);
  EXPECT_TRUE(EqualsNoCase(group.Fonts[0].Path, folder + L"\\Alpha.ttf")) << Narrow(group.Fonts[0].Path);
  EXPECT_EQ(Beeps().size(), 1u);

  // A double click on a result of the folder the folder list shows selects its row there
  // without a fill, after bringing the folder list to the front.
  CLVFolderFonts& folderList = g_AppState.FolderFonts;
  HWND listWindow = ::CreateWindowExW(kFontListExStyle, WC_LISTVIEWW, nullptr, (kFontListStyle & ~WS_CHILD) | WS_POPUP,
                                      0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(listWindow);
  folderList.SubclassWindow(listWindow);
  folderList.Initialize();
  const std::wstring savedFolder = folderList.m_folder;
  folderList.m_folder = folder;
  for (const wchar_t* name : {L"Alpha Sans", L"Beta Serif Bold", L"Cee"}) folderList.AddItem(Result(name, folder + L"\\x.ttf"), false);
  folderList.Repopulate();
  g_AppState.GroupListShown = true;
  g_mainCommands.clear();
  SelectRow(list, 1);  // Beta
  NMITEMACTIVATE activate{};
  activate.hdr = {list.m_hWnd, static_cast<UINT_PTR>(IDC_SEARCH_RESULTS), static_cast<UINT>(NM_DBLCLK)};
  activate.iItem = 1;
  pane.SendMessage(WM_NOTIFY, IDC_SEARCH_RESULTS, reinterpret_cast<LPARAM>(&activate));
  EXPECT_EQ(folderList.GetSelectedIndices(), std::vector<int>{1});
  EXPECT_EQ(std::count(g_mainCommands.begin(), g_mainCommands.end(), std::pair<WPARAM, LPARAM>{ID_SHOW_FONT_LIST, 1}), 1);
  g_AppState.GroupListShown = false;
  folderList.Clear();
  folderList.m_folder = savedFolder;
  ::DestroyWindow(listWindow);
}

// The controls a user sees in each mode: the plain search has its name modes and no similarity
// boxes; the similar-fonts mode has the note and both boxes in place of the name modes, and
// keeps the filter. No two of them overlap in either mode. A picture of each mode is kept.
TEST_F(SearchDialog, EachModeShowsItsOwnControlsWithoutOverlap) {
  CSearchDlg& d = Open();
  auto shownIds = [&] {
    std::set<int> ids;
    for (HWND child : testing_support::VisibleChildren(d.m_hWnd))
      if (::GetDlgCtrlID(child) != IDC_STATIC && ::GetDlgCtrlID(child) != IDC_SEARCH_STATUS) ids.insert(::GetDlgCtrlID(child));
    return ids;
  };
  auto expectNoOverlap = [&](const char* mode) {
    const std::vector<HWND> shown = testing_support::VisibleChildren(d.m_hWnd);
    for (size_t i = 0; i < shown.size(); ++i) {
      const RECT a = testing_support::ShownRect(shown[i]);
      EXPECT_TRUE(testing_support::ShowsWholeText(shown[i])) << mode << ": the label of " << ::GetDlgCtrlID(shown[i]) << " is cut";
      for (size_t j = i + 1; j < shown.size(); ++j) {
        const RECT b = testing_support::ShownRect(shown[j]);
        RECT both{};
        EXPECT_FALSE(::IntersectRect(&both, &a, &b))
            << mode << ": controls " << ::GetDlgCtrlID(shown[i]) << " and " << ::GetDlgCtrlID(shown[j]) << " overlap";
      }
    }
  };
  const std::set<int> common{IDC_SEARCH_START,     IDC_SEARCH_CLOSE,      IDC_SEARCH_HELP,
                             IDC_SEARCH_PATTERN,   IDC_SEARCH_PATTERN_LABEL, IDC_SEARCH_ROOTS,
                             IDC_SEARCH_FILTER_ON, IDC_SEARCH_FILTER_EDIT, IDC_SEARCH_RESULT_PANE};
  std::set<int> plain = common;
  plain.insert(IDC_SEARCH_NAME_MODE);
  EXPECT_EQ(shownIds(), plain);
  expectNoOverlap("plain search");
  testing_support::SaveWindowImage(d.m_hWnd, testing_support::ArtifactsDir() + L"\\search_plain_mode.bmp");

  const uint8_t panose[10] = {2, 11, 6, 4, 2, 2, 2, 2, 2, 4};
  d.SetReferenceFont(panose, 0x0805, L"Alpha Sans");
  PumpMessages(50);
  std::set<int> similar = common;
  similar.insert({IDC_SEARCH_SIMILAR_NOTE, IDC_SEARCH_PANOSE, IDC_SEARCH_SAME_CLASS});
  EXPECT_EQ(shownIds(), similar);
  EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_SEARCH_PANOSE), BST_CHECKED);
  EXPECT_TRUE(::IsWindowEnabled(d.GetDlgItem(IDC_SEARCH_SAME_CLASS))) << "the reference has a family class";
  expectNoOverlap("similar fonts");
  testing_support::SaveWindowImage(d.m_hWnd, testing_support::ArtifactsDir() + L"\\search_similar_mode.bmp");
}

}  // namespace
