// The access keys of every menu: within one level of a menu each key reaches one item. The menus
// of the resource library as the program loads them, every popup level, and the menus built at
// run time from the string table's "|"-separated captions, built by the code that builds them in
// the states that show all the items they may hold.
#include "tests/app/GroupsMainFrame.h"

#include <map>
#include <string>
#include <vector>

#include "app/PaneMenus.h"
#include "common/IconPopupMenu.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "framework/AppModule.h"
#include "lists/CLVFolderFonts.h"
#include "lists/CLVGroupFonts.h"
#include "search/CLvSearchContainer.h"

using namespace testing_support;

namespace {

// The key of a caption: the character after a single "&" ("&&" shows an ampersand), folded as the
// menu compares keys; empty when the caption has none.
std::wstring AccessKey(std::wstring_view text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] != L'&') return FoldCase(text.substr(i + 1, 1));
    ++i;
  }
  return {};
}

// Each level of the menu, its popups named after the path to them: a key shared by two items, or
// an item that has no key, one line each.
std::string KeyFaults(HMENU menu, const std::string& name) {
  std::string faults;
  std::map<std::wstring, std::wstring> owners;  // key -> the first caption that has it
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    item.dwTypeData = text;
    item.cch = 256;
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item) || (item.fType & MFT_SEPARATOR)) continue;
    const std::wstring key = AccessKey(text);
    if (key.empty()) faults += name + ": \"" + Narrow(text) + "\" has no access key\n";
    else if (auto [at, added] = owners.emplace(key, text); !added)
      faults += name + ": key " + Narrow(key) + " of \"" + Narrow(at->second) + "\" and \"" + Narrow(text) + "\"\n";
    if (item.hSubMenu) faults += KeyFaults(item.hSubMenu, name + " > " + Narrow(text));
  }
  return faults;
}

BOOL CALLBACK CollectMenu(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<WORD>*>(param)->push_back(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

class MenuAccessKeys : public GroupsMainFrame {
protected:
  void TearDown() override {
    g_AppState.FolderFonts.m_zipFolder = false;
    GroupsMainFrame::TearDown();
  }
  // One row selected, its record marked so that every item of the row menus shows: installed,
  // with a namesake only GDI knows.
  static void SelectFirstRowOf(COrvelListView& list) {
    list.SelectAll(false);
    LVITEMW row{};
    row.stateMask = row.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&row));
    FontItem* first = list.GetRecordAt(0);
    ASSERT_NE(first, nullptr);
    first->flags |= font_flags::kInstalled | font_flags::kNamesakeGdiOnly;
  }
};

}  // namespace

TEST_F(MenuAccessKeys, EachKeyOfEveryMenuReachesOneItem) {
  std::string faults;
  const HMODULE res = orv::g_Module.GetResourceInstance();
  std::vector<WORD> ids;
  ::EnumResourceNamesW(res, RT_MENU, CollectMenu, reinterpret_cast<LONG_PTR>(&ids));
  EXPECT_GE(ids.size(), 3u) << "the main window's and the two tool frames' menus";
  for (WORD id : ids) {
    orv::ScopedMenu menu(::LoadMenuW(res, MAKEINTRESOURCEW(id)));
    ASSERT_TRUE(menu) << id;
    faults += KeyFaults(menu.Get(), "menu " + std::to_string(id));
  }

  ScratchDir fonts;
  const std::wstring font = fonts.File(L"DejaVuSans.ttf");
  ASSERT_TRUE(::CopyFileW(L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf", font.c_str(), FALSE));
  Make(kRootGroupFile, L"Root", L"", {{G(1), L"Group"}});
  Make(G(1), L"Group", kRootGroupFile, {}, {{L"DejaVu Sans", font}});
  CMainFrame& f = Open();
  CLVFolderFonts& folderList = g_AppState.FolderFonts;
  folderList.m_folder = LongPath(fonts.Path());
  ASSERT_EQ(folderList.Fill(), 1);
  folderList.m_zipFolder = true;
  f.SendMessage(WM_COMMAND, ID_SHOW_FONT_LIST, 2);
  ASSERT_TRUE(Tree().SelectGroupByFile(G(1), -1));
  g_AppState.GroupFonts.m_refreshPending = true;
  for (int i = 0; i < 6 && f.RunIdleJob() != IdleJob::GroupListFill; ++i) {
  }
  // No message is pumped from here on: no reader's result changes the marks.
  SelectFirstRowOf(folderList);
  SelectFirstRowOf(g_AppState.InstalledFonts);
  SelectFirstRowOf(g_AppState.GroupFonts);

  struct Built {
    const char* name;
    void (*fill)(IconPopupMenu&);
    size_t items;  // at least
  } built[] = {
      {"folder tree menu",
       [](IconPopupMenu& m) { FillFolderTreeMenu(m, {.zip = false, .noTarget = false, .canRename = true, .canDelete = true}); }, 6},
      {"folder tree menu of a zip folder",
       [](IconPopupMenu& m) { FillFolderTreeMenu(m, {.zip = true, .noTarget = false, .canRename = true, .canDelete = true}); }, 6},
      {"groups tree menu", [](IconPopupMenu& m) { FillGroupsTreeMenu(m, g_AppState.GroupsTree); }, 8},
      {"folder list menu", [](IconPopupMenu& m) { FillFolderListMenu(m, g_AppState.FolderFonts); }, 13},
      {"group list menu", [](IconPopupMenu& m) { FillGroupListMenu(m, g_AppState.GroupFonts); }, 10},
      {"installed list menu", [](IconPopupMenu& m) { FillInstalledListMenu(m, g_AppState.InstalledFonts); }, 9},
      {"search result menu", [](IconPopupMenu& m) { CLvSearchContainer::FillContextMenu(m, g_AppState.InstalledFonts); }, 8},
      // The tool windows' menus take their captions field by field.
      {"font sheet tab menu",
       [](IconPopupMenu& m) {
         for (const std::wstring& text : SplitFields(LoadResString(IDS_SHEET_TAB_MENU))) ::AppendMenuW(m.Get(), MF_STRING, 1, text.c_str());
       }, 2},
      {"census row menu",
       [](IconPopupMenu& m) {
         for (const std::wstring& text : SplitFields(LoadResString(IDS_CENSUS_MENU))) ::AppendMenuW(m.Get(), MF_STRING, 1, text.c_str());
       }, 2},
  };
  for (const Built& b : built) {
    IconPopupMenu menu(::CreatePopupMenu());
    b.fill(menu);
    EXPECT_GE(static_cast<size_t>(::GetMenuItemCount(menu.Get())), b.items) << b.name << ": every item it may show";
    faults += KeyFaults(menu.Get(), b.name);
  }
  EXPECT_EQ(faults, "") << "access keys that do not reach one item";
}
