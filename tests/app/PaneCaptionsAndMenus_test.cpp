// The font list panes of the real main window: a click on the caption of the font-lists pane
// and of the installed fonts pane sorts the list the other way and turns the order icon round,
// and the context menus of the lists offer the commands each row allows, with their icons.
#include "tests/app/GroupsMainFrame.h"

#include <string>
#include <vector>

#include "app/PaneMenus.h"
#include "app/PaneSortOrder.h"

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
  for (int y = top; y < top + 16; ++y)
    for (int x = left; x < left + 16; ++x) pixels.push_back(::GetPixel(dc.Get(), x, y));
  return pixels;
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
  };
  const Pane panes[] = {
      {"font lists", p.m_fontListsPane, p.m_fontListsPane.m_cyCaption, p.m_fontListsPane.ToolbarLeft(),
       g_AppState.FolderFonts},
      {"installed", p.m_installedPane, p.m_installedPane.m_cyCaption, p.m_installedPane.ToolbarLeft(),
       g_AppState.InstalledFonts},
  };
  const COLORREF face = ::GetSysColor(COLOR_3DFACE);
  // Captions longer than the room left of the icon end before it: the folder list's title is
  // shortened so that its count still shows, the installed one is cut as it is drawn.
  p.m_fontListsPane.SetCaptionWithCount(std::wstring(80, L'W'), 3);
  EXPECT_TRUE(p.m_fontListsPane.GetCaption().ends_with(L"... [3]")) << Narrow(p.m_fontListsPane.GetCaption());
  p.m_installedPane.SetCounts(123456789, 987654321);
  for (const Pane& pane : panes) {
    SCOPED_TRACE(pane.what);
    ASSERT_GE(Names(pane.list).size(), 3u);
    const std::vector<std::wstring> ascending = Names(pane.list);
    RECT client{};
    ::GetClientRect(pane.pane, &client);
    const int iconLeft = SortOrderIconLeft(client.right, pane.toolbarLeft);
    ::UpdateWindow(pane.pane);
    const std::vector<COLORREF> upIcon = IconPixels(pane.pane, iconLeft, 2);
    EXPECT_GT(CountNot(upIcon, face), 10) << "the order icon is drawn in the caption";
    const std::vector<COLORREF> beside = IconPixels(pane.pane, iconLeft - kSortOrderIconGap, 6);
    std::vector<COLORREF> gap;
    for (size_t i = 0; i < beside.size(); ++i)
      if (i % 16 < kSortOrderIconGap) gap.push_back(beside[i]);
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

TEST_F(FontListPanes, TheGroupAndInstalledMenusShowTheIconsOfTheirCommonItems) {
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Group"}});
  Make(G(1), L"Group", kRootGroupFile, {}, {{L"DejaVu Sans", fonts_.File(L"DejaVuSans.ttf")}});
  OpenWithFonts();
  {
    IconPopupMenu menu(::CreatePopupMenu());
    FillGroupListMenu(menu, g_AppState.GroupFonts);
    EXPECT_TRUE(HasIcon(menu.Get(), ID_FONTS_CHARMAP));
    EXPECT_TRUE(HasIcon(menu.Get(), ID_LIST_PRINT));
    EXPECT_FALSE(HasIcon(menu.Get(), ID_FONTS_SHEET)) << "only the icons the menu names";
  }
  IconPopupMenu menu(::CreatePopupMenu());
  FillInstalledListMenu(menu, g_AppState.InstalledFonts);
  EXPECT_TRUE(HasIcon(menu.Get(), ID_LIST_PRINT));
  EXPECT_FALSE(HasIcon(menu.Get(), ID_FONTS_CHARMAP));
}
