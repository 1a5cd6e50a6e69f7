#include "groups/CImportExportDlg.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "app/AppState.h"
#include "app/COrvBrowseFolderDialog.h"
#include "app/Preferences.h"
#include "common/DialogStatusBar.h"
#include "common/FolderIdentity.h"
#include "common/HelpRequest.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "groups/FontFileOperation.h"

namespace {

constexpr wchar_t kBackupOptionsValue[] = L"PanoseBackup";

// Which check box or radio button keeps which bit of "PanoseBackup".
struct OptionControl {
  int id;
  DWORD bit;
};
constexpr OptionControl kOptionControls[] = {
    {IDC_BACKUP_PANOSE, backup_options::kPanoseFolders},
    {IDC_BACKUP_PANOSE_LEVEL2, backup_options::kPanoseSecondLevel},
    {IDC_BACKUP_OVERWRITE, backup_options::kOverwrite},
    {IDC_BACKUP_CLASSES, backup_options::kClassificationFolders},
    {IDC_BACKUP_SUBFOLDERS, backup_options::kSubfolders},
    {IDC_BACKUP_MIRROR, backup_options::kMirrorTree},
    {IDC_BACKUP_FLAT, backup_options::kFlat},
};

}  // namespace

DWORD ReadBackupOptions() {
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  DWORD value = 0;
  if (!key || !ReadRegDword(key.Get(), kBackupOptionsValue, value)) return backup_options::kDefault;
  return value & backup_options::kAll;
}

bool IsValidBackupPair(const std::wstring& source, const std::wstring& destination, const std::wstring& systemFonts) {
  if (source.empty() || !::PathIsDirectoryW(source.c_str())) return false;
  if (destination.empty() || !IsFullyQualifiedFolder(destination)) return false;
  // Neither the source nor a folder inside it, however either is written ("C:\Fonts\.",
  // "..", a short name, a link).
  if (IsSameOrInsideFolder(destination, source)) return false;
  return systemFonts.empty() || !IsSameFolder(destination, systemFonts);
}

BOOL CImportExportDlg::OnInitDialog(HWND, LPARAM) {
  CreateStatusBar();
  CFolderTreeView& tree = g_AppState.FolderTree;
  if (tree.IsWindow()) {
    RECT rc{};
    ::GetWindowRect(tree, &rc);
    SetWindowPos(nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const DWORD options = ReadBackupOptions();
  const int layout = (options & backup_options::kMirrorTree) ? IDC_BACKUP_MIRROR
                     : (options & backup_options::kFlat)     ? IDC_BACKUP_FLAT
                                                             : IDC_BACKUP_BY_TYPE;
  ::CheckRadioButton(m_hWnd, IDC_BACKUP_MIRROR, IDC_BACKUP_BY_TYPE, layout);
  Check(IDC_BACKUP_CLASSES, options & backup_options::kClassificationFolders);
  Check(IDC_BACKUP_PANOSE, options & backup_options::kPanoseFolders);
  Check(IDC_BACKUP_PANOSE_LEVEL2, options & backup_options::kPanoseSecondLevel);
  UpdateOptions();
  Check(IDC_BACKUP_OVERWRITE, options & backup_options::kOverwrite);
  Check(IDC_BACKUP_SUBFOLDERS, options & backup_options::kSubfolders);
  SetDlgItemText(IDC_BACKUP_DESTINATION, g_Preferences.FontCaseRoot.c_str());
  sourceBrowse_.SetShellFolderIcon(GetDlgItem(IDC_BACKUP_SOURCE_BROWSE), L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY);
  destinationBrowse_.SetShellFolderIcon(GetDlgItem(IDC_BACKUP_DEST_BROWSE), L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY);
  Enable(IDOK, false);  // until the folders make a valid pair
  return TRUE;
}

// The status bar below the controls: the dialog grows by its height.
void CImportExportDlg::CreateStatusBar() { statusBar_ = CreateDialogStatusBar(m_hWnd); }

// The sorting options belong to the per-type layout; the second PANOSE level to PANOSE folders.
void CImportExportDlg::UpdateOptions() {
  const bool byType = IsChecked(IDC_BACKUP_BY_TYPE);
  Enable(IDC_BACKUP_CLASSES, byType);
  Enable(IDC_BACKUP_PANOSE, byType);
  Enable(IDC_BACKUP_PANOSE_LEVEL2, byType && IsChecked(IDC_BACKUP_PANOSE));
}

// Family-class and PANOSE folders exclude each other.
void CImportExportDlg::OnClasses(UINT, int, HWND) {
  if (IsChecked(IDC_BACKUP_CLASSES)) Check(IDC_BACKUP_PANOSE, false);
  Enable(IDC_BACKUP_PANOSE_LEVEL2, IsChecked(IDC_BACKUP_PANOSE));
}

void CImportExportDlg::OnPanose(UINT, int, HWND) {
  Enable(IDC_BACKUP_PANOSE_LEVEL2, IsChecked(IDC_BACKUP_PANOSE));
  if (IsChecked(IDC_BACKUP_PANOSE)) Check(IDC_BACKUP_CLASSES, false);
}

void CImportExportDlg::OnBrowse(UINT, int id, HWND) {
  const int edit = id == IDC_BACKUP_SOURCE_BROWSE ? IDC_BACKUP_SOURCE : IDC_BACKUP_DESTINATION;
  std::wstring current;
  GetDlgItemString(m_hWnd, edit, current);
  COrvBrowseFolderDialog picker(current.empty() ? std::wstring(L"C:\\") : current);
  picker.allowEditing = true;  // with its New Folder button
  if (picker.DoModal(::GetActiveWindow()) == IDOK && !picker.ChosenFolder().empty())
    SetDlgItemText(edit, picker.ChosenFolder().c_str());
}

void CImportExportDlg::UpdateOkButton() {
  std::wstring source, destination;
  GetDlgItemString(m_hWnd, IDC_BACKUP_SOURCE, source);
  GetDlgItemString(m_hWnd, IDC_BACKUP_DESTINATION, destination);
  Enable(IDOK, IsValidBackupPair(source, destination, g_AppState.SystemFontsFolder));
}

void CImportExportDlg::OnOK(UINT, int, HWND) {
  DWORD options = 0;
  for (const OptionControl& control : kOptionControls)
    if (IsChecked(control.id)) options |= control.bit;  // checked counts, enabled or not
  if (const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_WRITE))
    WriteRegDword(key.Get(), kBackupOptionsValue, options);

  FontFileOperation copy;
  copy.m_mirrorTree = options & backup_options::kMirrorTree;
  copy.m_flat = options & backup_options::kFlat;
  copy.m_panoseFolders = options & backup_options::kPanoseFolders;
  copy.m_panoseSecondLevel = options & backup_options::kPanoseSecondLevel;
  copy.m_overwrite = options & backup_options::kOverwrite;
  copy.m_classificationFolders = options & backup_options::kClassificationFolders;
  copy.m_recursive = (options & backup_options::kSubfolders) ? 1 : 0;
  copy.m_statusBar = statusBar_;
  copy.m_owner = m_hWnd;
  GetDlgItemString(m_hWnd, IDC_BACKUP_SOURCE, copy.m_sourceRoot);
  GetDlgItemString(m_hWnd, IDC_BACKUP_DESTINATION, copy.m_destinationRoot);
  if (statusBar_) {
    const std::wstring looking = LoadResString(IDS_LOOKING_FOR_FONTS);
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(looking.c_str()));
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  copy.CopyFontFiles();
  CLVFolderFonts& list = g_AppState.FolderFonts;
  if (!list.m_folder.empty() && EqualsNoCase(WithoutTrailingBackslash(list.m_folder), copy.m_destinationRoot))
    list.m_refreshPending = true;
  EndDialog(IDOK);
}

bool CImportExportDlg::IsChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

void CImportExportDlg::Check(int id, bool on) { ::CheckDlgButton(m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

void CImportExportDlg::Enable(int id, bool on) { ::EnableWindow(GetDlgItem(id), on); }
