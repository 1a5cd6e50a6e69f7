#include "app/CPrefPageFolders.h"

#include <shlwapi.h>

#include "app/AppState.h"
#include "app/COrvBrowseFolderDialog.h"
#include "app/Preferences.h"
#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"

LRESULT CPrefPageFolders::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  loading_ = true;
  ::SendDlgItemMessageW(m_hWnd, IDC_PREF_FONT_CASE, EM_LIMITTEXT, kPathMax, 0);
  SetDlgItemText(IDC_PREF_FONT_CASE, g_Preferences.FontCaseRoot.c_str());
  browse_.SetShellFolderIcon(GetDlgItem(IDC_PREF_BROWSE_FONT_CASE), L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY);
  refreshFolderTree_ = false;
  loading_ = false;
  return TRUE;
}

LRESULT CPrefPageFolders::OnChange(WORD, WORD, HWND, BOOL&) {
  if (!loading_) SetModified();
  return 0;
}

LRESULT CPrefPageFolders::OnBrowse(WORD, WORD, HWND, BOOL&) {
  std::wstring current;
  GetDlgItemString(m_hWnd, IDC_PREF_FONT_CASE, current);
  COrvBrowseFolderDialog picker(current);
  if (picker.DoModal(::GetActiveWindow()) != 1 || picker.ChosenFolder().empty()) return 0;
  SetDlgItemText(IDC_PREF_FONT_CASE, picker.ChosenFolder().c_str());
  refreshFolderTree_ = true;
  SetModified();
  return 0;
}

int CPrefPageFolders::OnApply() {
  std::wstring typed;
  GetDlgItemString(m_hWnd, IDC_PREF_FONT_CASE, typed);
  TrimWhiteSpace(typed);
  const std::wstring folder = NormalizeFolder(typed);
  // A folder that depends on the current drive or directory would point elsewhere tomorrow.
  if (folder.empty() || folder.size() >= kPathMax || !IsFullyQualifiedFolder(typed) ||
      EqualsNoCase(folder, g_AppState.SystemFontsFolder)) {
    seams::Beep(0);
    return PSNRET_INVALID_NOCHANGEPAGE;
  }
  if (!::PathIsDirectoryW(folder.c_str())) {
    const std::wstring ask = FormatResString(IDS_ASK_CREATE_FOLDER, folder.c_str());
    if (seams::ShowMessageBox(m_hWnd, ask, LoadResString(IDS_CAPTION_APP), MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
      return PSNRET_INVALID_NOCHANGEPAGE;
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
      AppMessageBox(m_hWnd, MB_ICONEXCLAMATION, IDS_CAPTION_APP, IDS_FOLDER_NOT_CREATED, ::GetLastError(),
                    folder.c_str());
      return PSNRET_INVALID_NOCHANGEPAGE;
    }
    refreshFolderTree_ = true;
  }
  if (!EqualsNoCase(folder, g_Preferences.FontCaseRoot)) g_Preferences.Changed = true;
  g_Preferences.FontCaseRoot = folder;
  return PSNRET_NOERROR;
}
