// Install and uninstall of a font list's selection: every list (folder, group, installed,
// search) offers them through Ctrl+I / Ctrl+U, its pane's buttons and its double-click.
#include <windows.h>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/FontInstaller.h"
#include "lists/CLVFolderFonts.h"
#include "lists/COrvelListView.h"

bool COrvelListView::CanInstallFonts() { return true; }

void COrvelListView::InstallSelection(bool copyOption) { RunInstaller(true, copyOption); }

void COrvelListView::UninstallSelection(int option) { RunInstaller(false, option != 0); }

void COrvelListView::RunInstaller(bool install, bool copyFiles) {
  if (!m_hWnd) return;
  // The installed list repaints once, after the command, from its reloaded rows.
  const HWND installed = g_AppState.InstalledFonts.m_hWnd;
  if (installed) ::SendMessageW(installed, WM_SETREDRAW, FALSE, 0);
  const HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  SetMainStatusText(LoadResString(install ? IDS_INSTALLING_SELECTION : IDS_UNINSTALLING_SELECTION));
  FontItemList items;
  items.Folder = m_folder;
  if (CollectItems(items, true) > 0) {
    FontInstaller installer(&items, m_hWnd, copyFiles);
    if (install) installer.InstallSelected(kInstallFromList);
    else installer.UninstallSelected(kUninstallFromList);
  }
  SetMainStatusText(std::wstring());
  if (installed) {
    ::SendMessageW(installed, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(installed, nullptr, TRUE);
  }
  ::SetCursor(previous);
}
