#include "app/CCreateFontCaseDlg.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "app/AppState.h"
#include "app/COrvBrowseFolderDialog.h"
#include "app/Preferences.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "common/RegistryValue.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"

bool IsRefusedFontCaseFolder(const std::wstring& folder, const std::wstring& systemFontsFolder) {
  if (folder.empty() || folder.size() >= kPathMax) return true;
  if (!IsFullyQualifiedFolder(folder)) return true;
  if (::PathIsRootW(folder.c_str()) || ::PathIsRootW((folder + L"\\").c_str())) return true;
  return EqualsNoCase(WithoutTrailingBackslash(folder), WithoutTrailingBackslash(systemFontsFolder));
}

LRESULT CCreateFontCaseDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  browse_.SetShellFolderIcon(GetDlgItem(IDC_FONT_CASE_BROWSE), L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY);

  wchar_t start[MAX_PATH] = {};
  if (::GetWindowsDirectoryW(start, MAX_PATH)) {
    ::PathStripToRootW(start);
    ::PathAppendW(start, LoadResString(IDS_DEFAULT_FONT_CASE).c_str());
  }
  SetDlgItemText(IDC_FONT_CASE_FOLDER, start);
  return TRUE;  // focus to the default control
}

LRESULT CCreateFontCaseDlg::OnHelp(UINT, WPARAM, LPARAM, BOOL&) {
  ShowHelpTopic(IDD);
  return TRUE;
}

LRESULT CCreateFontCaseDlg::OnBrowse(WORD, WORD, HWND, BOOL&) {
  const std::wstring current = orv::CWindow(GetDlgItem(IDC_FONT_CASE_FOLDER)).GetWindowText();
  COrvBrowseFolderDialog picker(current);
  if (picker.DoModal(::GetActiveWindow()) == 1 && !picker.ChosenFolder().empty())
    SetDlgItemText(IDC_FONT_CASE_FOLDER, picker.ChosenFolder().c_str());
  return 0;
}

LRESULT CCreateFontCaseDlg::OnOK(WORD, WORD, HWND, BOOL&) {
  std::wstring folder = orv::CWindow(GetDlgItem(IDC_FONT_CASE_FOLDER)).GetWindowText();
  if (folder.size() > 1 && folder.back() == L'\\') folder.pop_back();
  if (IsRefusedFontCaseFolder(folder, g_AppState.SystemFontsFolder)) {
    seams::Beep(0);
    return 0;
  }
  if (!::PathIsDirectoryW(folder.c_str())) {
    const std::wstring ask = FormatResString(IDS_ASK_CREATE_FOLDER, folder.c_str());
    if (seams::ShowMessageBox(nullptr, ask, LoadResString(IDS_CAPTION_APP), MB_ICONWARNING | MB_YESNO) != IDYES)
      return 0;
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
      seams::Beep(0);
      return 0;
    }
  }
  folder_ = folder;
  if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_WRITE))
    WriteRegString(key.Get(), L"FontCaseRoot", folder_);
  EndDialog(IDOK);
  return 0;
}
