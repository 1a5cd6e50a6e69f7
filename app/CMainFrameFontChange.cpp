// The font-change protocol of the main window: command 215 (fonts were installed, uninstalled
// or unloaded) marks the change pending and tells every top-level window; WM_FONTCHANGE, from
// that broadcast or from any other program, refreshes everything that shows fonts; timer 4
// sends it to this window when the broadcast has not arrived within a second.
#include "app/CMainFrame.h"

#include "app/AppState.h"
#include "fonts/FaceLookups.h"

namespace {
constexpr UINT kFontChangeResendMs = 1000;
}  // namespace

void CMainFrame::OnFontChangeCommand(UINT, int, HWND) {
  g_AppState.FontChangePending = true;
  SetTimer(IDT_FONT_CHANGE, kFontChangeResendMs);
  ::PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
}

void CMainFrame::OnFontChange() {
  g_AppState.FontChangePending = false;
  FullFontRefresh();
}

void CMainFrame::OnTimer(UINT_PTR id) {
  if (id != IDT_FONT_CHANGE) {
    DefWindowProc(WM_TIMER, id, 0);
    return;
  }
  // One tick per command 215.
  KillTimer(IDT_FONT_CHANGE);
  if (g_AppState.FontChangePending) SendMessage(WM_FONTCHANGE);
}

void CMainFrame::FullFontRefresh() {
  CLVFolderFonts& folderList = g_AppState.FolderFonts;
  CLVInstalledFonts& installedList = g_AppState.InstalledFonts;
  for (COrvelListView* list : FontLists())
    if (list != &installedList) list->SelectAll(false);
  g_AppState.FontCache.RemoveAll(true);
  ForgetFaceLookups();  // installed, uninstalled or changed by another program
  // The other lists' readers resolve against the installed rows about to be rebuilt.
  for (COrvelListView* list : FontLists())
    if (list != &installedList) list->StopDetailReader();
  if (installedList.m_hWnd) installedList.Fill();
  ShowInstalledCounts();
  panes_.m_installedPane.Invalidate();
  // The folder list of the Fonts folder itself shows what was installed or removed; paths
  // compare without case, as the file system does.
  if (folderList.m_hWnd && !folderList.m_folder.empty() && !g_AppState.SystemFontsFolder.empty() &&
      EqualsNoCase(WithoutTrailingBackslash(folderList.m_folder), WithoutTrailingBackslash(g_AppState.SystemFontsFolder))) {
    folderList.SavePosition(false);
    folderList.m_refreshPending = true;
  } else {
    folderList.InvalidateRecords();
  }
  for (COrvelListView* list : FontLists())
    if (list != &installedList && list != &folderList) list->InvalidateRecords();
}

void CMainFrame::ShowInstalledCounts() {
  const CLVInstalledFonts& list = g_AppState.InstalledFonts;
  panes_.m_installedPane.SetCounts(list.CountShown(false), list.CountShown(true));
}
