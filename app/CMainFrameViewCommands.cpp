// The main window's commands that show a font's properties (157) and run the options sheet
// (141), with the refresh of the panes after the options changed.
#include "app/CMainFrame.h"

#include "app/AppState.h"
#include "app/CPreferences.h"
#include "app/Preferences.h"
#include "viewing/FontPropertySheets.h"

namespace {

COrvelListView* ListOfWindow(HWND wnd) {
  return wnd ? dynamic_cast<COrvelListView*>(orv::CWindowImplRoot::FromHandle(wnd)) : nullptr;
}

}  // namespace

std::vector<COrvelListView*> CMainFrame::FontLists() const {
  std::vector<COrvelListView*> lists;
  for (HWND wnd : {panes_.m_folderList, panes_.m_groupList, panes_.m_installedList})
    if (COrvelListView* list = ListOfWindow(wnd)) lists.push_back(list);
  if (COrvelListView* results = SearchResultList()) lists.push_back(results);
  return lists;
}

// A posted list pointer is used only when it is one of the lists that live here. The menu and
// the accelerator send none, a toolbar button sends its toolbar: then the list with the keyboard
// focus (a toolbar button does not take it), else the first list with a selection.
COrvelListView* CMainFrame::FontListFromCommand(LPARAM argument) const {
  const std::vector<COrvelListView*> lists = FontLists();
  if (COrvelListView* named = FontListOfCommand(argument)) return named;
  if (argument && !::IsWindow(reinterpret_cast<HWND>(argument))) return nullptr;
  HWND focus = ::GetFocus();
  for (COrvelListView* list : lists)
    if (list->m_hWnd == focus) return list;
  for (COrvelListView* list : lists)
    if (list->GetFirstSelected() >= 0) return list;
  return nullptr;
}

LRESULT CMainFrame::OnFontProperties(WORD, WORD, HWND argument, BOOL&) {
  COrvelListView* list = FontListFromCommand(reinterpret_cast<LPARAM>(argument));
  if (!list) return 0;
  const FontItem* record = list->GetRecordAt(list->GetFirstSelected());
  if (!record) return 0;
  const FontItem copy = *record;
  (void)ShowFontProperties(copy, ::GetActiveWindow());
  return 0;
}

LRESULT CMainFrame::OnOptions(WORD, WORD, HWND, BOOL&) {
  CPreferences sheet;
  if (sheet.DoModal(::GetActiveWindow()) <= 0) return 0;
  ApplyOptions(sheet.FolderTreeNeedsRefresh(), sheet.ListsNeedRebuilding());
  return 0;
}

void CMainFrame::ApplyOptions(bool refreshFolderTree, bool rebuildLists) {
  SaveOptionPreferences();
  if (refreshFolderTree) {
    g_AppState.FolderFonts.m_refreshPending = true;
    g_AppState.FolderTree.Refresh();
  }
  if (rebuildLists) {
    g_AppState.InstalledFonts.Repopulate();
    ShowInstalledCounts();
    panes_.m_installedPane.Invalidate();
  }
  // Row heights follow the point size and the names-only mode; the rows redraw in the new colours.
  const bool namesOnly = (g_Preferences.StyleFlags & Preferences::kStyleNamesOnly) != 0;
  for (COrvelListView* list : FontLists()) {
    list->SetNamesOnly(namesOnly);
    list->Invalidate();
  }
}
