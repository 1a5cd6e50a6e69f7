// The font list panes of the real main window: a click on the caption of the font-lists pane
// and of the installed fonts pane sorts the list the other way and turns the order icon round,
// and the context menus of the lists offer the commands each row allows, with their icons.
#include "tests/app/GroupsMainFrame.h"

#include <string>
#include <vector>

#include "app/PaneMenus.h"
#include "app/PaneSortOrder.h"
#include "common/ResString.h"
#include "common/LoadImageListFromResource.h"

using namespace testing_support;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";

class FontListPanes : public GroupsMainFrame {
protected:
  void SetUp() override {
    GroupsMainFrame::SetUp();
    for (const wchar_t* name : {L"DejaVuSans.ttf", L"DejaVuSerif.ttf", L"DejaVuSansMono.ttf"})
      ASSERT_TRUE(::CopyFileW((kDejaVu + name).c_str(), fonts_.File(name).c_str(), FALSE));
  }
  void TearDown() override {
    g_AppState.FolderFonts.m_sortAscending = 1;
    g_AppState.InstalledFonts.m_sortAscending = 1;
    g_AppState.FolderFonts.m_zipFolder = false;
    GroupsMainFrame::TearDown();
  }
  // The main window with the scratch fonts in the folder list and the installed list filled.
  CMainFrame& OpenWithFonts() {
    CMainFrame& f = Open();
    for (int i = 0; i < 4; ++i) f.RunIdleJob();
    CLVFolderFonts& list = g_AppState.FolderFonts;
    list.m_folder = LongPath(fonts_.Path());
    EXPECT_EQ(list.Fill(), 1);
    PumpMessages(30);
    return f;
  }
  static std::vector<std::wstring> Names(const COrvelListView& list) {
    int count = 0;
    list.GetCounts(&count, nullptr);
    std::vector<std::wstring> names;
    // As the lists compare them: rows whose names differ only in case may come in either order.
    for (int i = 0; i < count; ++i) names.push_back(FoldRowName(list.GetRowName(i)));
    return names;
  }
  static void SelectRows(COrvelListView& list, std::initializer_list<int> rows) {
    list.SelectAll(false);
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    for (int row : rows) ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }

  ScratchDir fonts_;
};

// The caption's pixels where the order icon goes.
std::vector<COLORREF> IconPixels(HWND pane, int left, int top) {
  std::vector<COLORREF> pixels;
  orv::ScopedGetDC dc(pane);
  const int side = SortOrderIconSize();
  for (int y = top; y < top + side; ++y)
    for (int x = left; x < left + side; ++x) pixels.push_back(::GetPixel(dc.Get(), x, y));
  return pixels;
}

int TextWidth(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

int CountNot(const std::vector<COLORREF>& pixels, COLORREF background) {
  int count = 0;
  for (COLORREF c : pixels) count += c != background;
  return count;
}

}  // namespace

TEST_F(FontListPanes, ACaptionClickSortsTheListTheOtherWayAndTurnsItsIcon) {
  CMainFrame& f = OpenWithFonts();
  MainPanes& p = f.Panes();
  struct Pane {
    const char* what;
    HWND pane;
    int captionHeight;
    int toolbarLeft;
    COrvelListView& list;
    const PaneCaptionLayout& shown;
  };
  const Pane panes[] = {
      {"font lists", p.m_fontListsPane, p.m_fontListsPane.m_cyCaption, p.m_fontListsPane.ToolbarLeft(),
       g_AppState.FolderFonts, p.m_fontListsPane.ShownCaption()},
      {"installed", p.m_installedPane, p.m_installedPane.m_cyCaption, p.m_installedPane.ToolbarLeft(),
       g_AppState.InstalledFonts, p.m_installedPane.ShownCaption()},
  };
  const COLORREF face = ::GetSysColor(COLOR_3DFACE);
  // Captions longer than the room left of the icon put the icon after them, and their titles
  // are shortened so that their counts still show.
  p.m_fontListsPane.SetCaptionWithCount(std::wstring(80, L'W'), 3);
  EXPECT_TRUE(p.m_fontListsPane.GetCaption().ends_with(L"... [3]")) << Narrow(p.m_fontListsPane.GetCaption());
  ::UpdateWindow(p.m_fontListsPane);
  EXPECT_TRUE(p.m_fontListsPane.ShownCaption().text.ends_with(L"... [3]"))
      << Narrow(p.m_fontListsPane.ShownCaption().text);
  // The installed caption in panes made too narrow for it and wide enough, measured in the
  // caption font of this screen: whole when it fits, else the title shortened and the counts kept.
  CInstalledFontsContainer& installed = p.m_installedPane;
  installed.SetCounts(123456789, 987654321);
  const std::wstring counts = L" [123456789 / 987654321]";
  const std::wstring whole = LoadResString(IDS_INSTALLED_FONTS_PANE) + counts;
  int wholeWidth = 0, countsWidth = 0, dotsWidth = 0;
  {
    orv::ScopedGetDC dc(installed);
    orv::ScopedSelectObject font(dc.Get(), installed.GetTitleFont());
    wholeWidth = TextWidth(dc.Get(), whole);
    countsWidth = TextWidth(dc.Get(), counts);
    dotsWidth = TextWidth(dc.Get(), L"...");
  }
  RECT original{};
  ::GetWindowRect(installed, &original);
  ::MapWindowPoints(nullptr, ::GetParent(installed), reinterpret_cast<POINT*>(&original), 2);
  const int iconRoom = SortOrderIconGap() + SortOrderIconSize();
  // The text area is the pane less 4 pixels at each end and the toolbar with its 4.
  const int frame = 8 + installed.m_cxToolBar + 4;
  for (const bool narrow : {true, false}) {
    SCOPED_TRACE(narrow ? "narrow" : "wide");
    const int room = narrow ? countsWidth + dotsWidth + iconRoom + (wholeWidth - countsWidth) / 2
                            : 2 * (wholeWidth + iconRoom) + installed.m_cxToolBar;
    ::SetWindowPos(installed, nullptr, 0, 0, room + frame, original.bottom - original.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(installed, nullptr, FALSE);
    ::UpdateWindow(installed);
    const std::wstring shown = installed.ShownCaption().text;
    if (narrow) {
      EXPECT_TRUE(shown.ends_with(L"..." + counts)) << Narrow(shown);
      EXPECT_GT(shown.size(), counts.size() + 3) << "some of the title: " << Narrow(shown);
    } else {
      EXPECT_EQ(shown, whole);
    }
  }
  ::SetWindowPos(installed, nullptr, 0, 0, original.right - original.left, original.bottom - original.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(installed, nullptr, FALSE);
  for (const Pane& pane : panes) {
    SCOPED_TRACE(pane.what);
    ASSERT_GE(Names(pane.list).size(), 3u);
    const std::vector<std::wstring> ascending = Names(pane.list);
    ::UpdateWindow(pane.pane);
    const int iconLeft = pane.shown.iconLeft;
    ASSERT_GE(iconLeft, 0) << "the pane has room for its order icon";
    const std::vector<COLORREF> upIcon = IconPixels(pane.pane, iconLeft, 2);
    EXPECT_GT(CountNot(upIcon, face), 10) << "the order icon is drawn in the caption";
    const int side = SortOrderIconSize(), gapWidth = SortOrderIconGap();
    const std::vector<COLORREF> beside = IconPixels(pane.pane, iconLeft - gapWidth, 6);
    std::vector<COLORREF> gap;
    for (size_t i = 0; i < beside.size(); ++i)
      if (static_cast<int>(i) % side < gapWidth) gap.push_back(beside[i]);
    EXPECT_EQ(CountNot(gap, face), 0) << "the caption text runs into the order icon";

    // On the toolbar's side of the caption, and below it, a click sorts nothing.
    for (const POINT at : {POINT{pane.toolbarLeft + 2, 5}, POINT{10, pane.captionHeight + 5}}) {
      ::SendMessageW(pane.pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
      EXPECT_EQ(pane.list.m_sortAscending, 1);
    }
    // A busy list is not sorted under its work.
    pane.list.m_busy = true;
    ::SendMessageW(pane.pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    pane.list.m_busy = false;
    EXPECT_EQ(Names(pane.list), ascending);

    ::SendMessageW(pane.pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_EQ(pane.list.m_sortAscending, 0);
    const std::vector<std::wstring> descending = Names(pane.list);
    EXPECT_EQ(descending, std::vector<std::wstring>(ascending.rbegin(), ascending.rend()));
    ::UpdateWindow(pane.pane);
    const std::vector<COLORREF> downIcon = IconPixels(pane.pane, iconLeft, 2);
    EXPECT_GT(CountNot(downIcon, face), 10);
    EXPECT_NE(downIcon, upIcon) << "the icon shows the new order";
    SaveWindowImage(f.m_hWnd, ArtifactsDir() + L"\\app_caption_sort_" + std::wstring(pane.what[0] == 'f' ? L"lists" : L"installed") + L".bmp");

    ::SendMessageW(pane.pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_EQ(Names(pane.list), ascending) << "a second click sorts it back";
  }
}

namespace {

bool HasIcon(HMENU menu, UINT id) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP;
  return ::GetMenuItemInfoW(menu, id, FALSE, &info) && info.hbmpItem;
}

// The item after the one with `id`, as a separator (0) or its command.
int NextItemAfter(HMENU menu, UINT id) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i + 1 < count; ++i)
    if (::GetMenuItemID(menu, i) == id) return static_cast<int>(::GetMenuItemID(menu, i + 1));
  return -1;
}

constexpr UINT kAbsent = kNoMenuItem;

}  // namespace

TEST_F(FontListPanes, TheFolderListMenuOffersWhatTheRowAllows) {
  OpenWithFonts();
  CLVFolderFonts& list = g_AppState.FolderFonts;
  struct Case {
    const char* what;
    bool zip;
    bool namesakeKnownToGdiOnly;
    std::initializer_list<int> rows;
    UINT extract, unload, remove;
  } cases[] = {
      {"plain row", false, false, {0}, kAbsent, kAbsent, 0},
      {"zip folder", true, false, {0}, 0, kAbsent, kMenuItemGreyed},
      {"zip folder, nothing selected", true, false, {}, kMenuItemDisabled, kAbsent, kMenuItemGreyed},
      {"namesake only GDI knows", false, true, {0}, kAbsent, 0, 0},
      {"namesake in a zip folder", true, true, {0}, 0, kMenuItemGreyed, kMenuItemGreyed},
      {"namesake among two rows", false, true, {0, 1}, kAbsent, kAbsent, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list.m_zipFolder = c.zip;
    SelectRows(list, c.rows);
    FontItem* first = list.GetRecordAt(0);
    ASSERT_NE(first, nullptr);
    ReadFontDetails(list.m_folder, *first);
    if (c.namesakeKnownToGdiOnly) first->flags |= font_flags::kNamesakeGdiOnly;
    else first->flags &= ~font_flags::kNamesakeGdiOnly;
    IconPopupMenu menu(::CreatePopupMenu());
    FillFolderListMenu(menu, list);
    EXPECT_EQ(MenuItemState(menu.Get(), ID_LIST_EXTRACT_ZIPPED), c.extract);
    EXPECT_EQ(MenuItemState(menu.Get(), ID_LIST_UNLOAD_FONT), c.unload);
    EXPECT_EQ(MenuItemState(menu.Get(), ID_LIST_DELETE_FILES), c.remove);
    if (c.unload != kAbsent) {
      EXPECT_EQ(NextItemAfter(menu.Get(), ID_LIST_UNLOAD_FONT), 0) << "a separator follows";
    }
    // The list's common items carry the icons of their commands.
    for (UINT id : {ID_FONTS_SHEET, ID_FONTS_CHARMAP, ID_FONTS_REFRESH, ID_LIST_PRINT}) EXPECT_TRUE(HasIcon(menu.Get(), id)) << id;
    EXPECT_TRUE(HasIcon(menu.Get(), ID_FONTS_COPY_TO_FOLDER));
  }
}

// The lists' and the groups tree's menus take their pictures from the one command picture table:
// an item shows a picture exactly when its command has one there, whichever menu it is in.
TEST_F(FontListPanes, EveryListMenuShowsThePicturesOfTheOneTable) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Group"}});
  Make(G(1), L"Group", kRootGroupFile, {}, {{L"DejaVu Sans", fonts_.File(L"DejaVuSans.ttf")}});
  OpenWithFonts();
  SelectRows(g_AppState.InstalledFonts, {0});
  SelectRows(g_AppState.FolderFonts, {0});
  struct Menu {
    const char* what;
    void (*fill)(IconPopupMenu&);
    std::initializer_list<UINT> pictured;  // commands that must be there with their pictures
  } menus[] = {
      {"installed list", [](IconPopupMenu& m) { FillInstalledListMenu(m, g_AppState.InstalledFonts); },
       {ID_FONTS_COPY_TO_FOLDER, ID_FONTS_SHEET, ID_FONTS_CHARMAP, ID_FONTS_REFRESH, ID_LIST_PRINT}},
      {"folder list", [](IconPopupMenu& m) { FillFolderListMenu(m, g_AppState.FolderFonts); },
       {ID_FONTS_COPY_TO_FOLDER, ID_FONTS_SHEET, ID_FONTS_CHARMAP, ID_FONTS_REFRESH, ID_LIST_PRINT}},
      {"group list", [](IconPopupMenu& m) { FillGroupListMenu(m, g_AppState.GroupFonts); },
       {ID_FONTS_SHEET, ID_FONTS_CHARMAP, ID_FONTS_REFRESH, ID_LIST_PRINT}},
      {"groups tree", [](IconPopupMenu& m) { FillGroupsTreeMenu(m, g_AppState.GroupsTree); },
       {ID_GROUP_NEW, ID_GROUP_DELETE, ID_FONTS_REFRESH}},
  };
  for (const Menu& m : menus) {
    SCOPED_TRACE(m.what);
    IconPopupMenu menu(::CreatePopupMenu());
    m.fill(menu);
    for (UINT id : m.pictured) EXPECT_TRUE(HasIcon(menu.Get(), id)) << id;
    for (int i = 0; i < ::GetMenuItemCount(menu.Get()); ++i) {
      const UINT id = ::GetMenuItemID(menu.Get(), i);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;
      EXPECT_EQ(HasIcon(menu.Get(), id), CommandIconIndex(static_cast<int>(id)) >= 0) << id;
    }
  }
}

// A selection in a list updates the sample pane, the menu states and the main toolbar at once,
// without waiting for an idle pass of the message loop (which may come late, or only after the
// mouse has moved): the test pumps messages and runs no idle job.
TEST_F(FontListPanes, ASelectionUpdatesTheToolbarAtOnce) {
  CMainFrame& f = OpenWithFonts();
  HWND toolbar = f.Panes().m_hWndToolBar;
  auto sheetButton = [&] { return ::SendMessageW(toolbar, TB_ISBUTTONENABLED, ID_FONTS_SHEET, 0) != 0; };
  for (COrvelListView* list : {static_cast<COrvelListView*>(&g_AppState.InstalledFonts),
                               static_cast<COrvelListView*>(&g_AppState.FolderFonts)}) {
    SCOPED_TRACE(list == &g_AppState.FolderFonts ? "folder list" : "installed list");
    g_AppState.InstalledFonts.SelectAll(false);
    g_AppState.FolderFonts.SelectAll(false);
    PumpMessages(50);
    EXPECT_FALSE(f.UIIsEnabled(ID_FONTS_SHEET));
    EXPECT_FALSE(sheetButton());
    SelectRows(*list, {0});
    PumpMessages(50);
    EXPECT_TRUE(f.UIIsEnabled(ID_FONTS_SHEET));
    EXPECT_TRUE(sheetButton()) << "the main toolbar follows the selection";
    EXPECT_TRUE(f.Panes().m_samplePane.Sample().HasFont());
  }
}
