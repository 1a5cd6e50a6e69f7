#include "lists/CExtractZippedFontsDlg.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "app/AppState.h"
#include "app/COrvBrowseFolderDialog.h"
#include "app/Preferences.h"
#include "common/AppMessageBox.h"
#include "common/HelpRequest.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileCommand.h"
#include "lists/FontItemList.h"

namespace {
// Quiet, no questions, files only, no error boxes of the shell's own, no subfolders: failures
// come back as the operation's result and are reported here.
constexpr FILEOP_FLAGS kCopyFlags =
    FOF_SILENT | FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_NORECURSION;
static_assert(kCopyFlags == 0x1694);
}  // namespace

std::wstring DefaultExtractDestination(const std::wstring& itemPath, const std::wstring& zipPath) {
  if (zipPath.empty() || !StartsWithNoCase(itemPath, zipPath)) return {};
  const std::wstring rest = itemPath.substr(zipPath.size());
  if (!rest.empty() && rest.front() != L'\\') return {};  // "pack.zipper" is not inside "pack.zip"
  wchar_t base[MAX_PATH] = {};
  if (zipPath.size() >= MAX_PATH) return {};
  ::lstrcpynW(base, zipPath.c_str(), MAX_PATH);
  ::PathRemoveExtensionW(base);
  return base + rest;
}

BOOL CExtractZippedFontsDlg::OnInitDialog(HWND, LPARAM) {
  browse_.backgroundColorIndex = COLOR_3DLIGHT;
  browse_.SetShellFolderIcon(GetDlgItem(IDC_EXTRACT_BROWSE), L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY);

  CFolderTreeView& tree = g_AppState.FolderTree;
  if (tree.IsWindow()) {
    // Over the folder tree, where the zip folder was chosen.
    RECT rc{};
    ::GetWindowRect(tree, &rc);
    SetWindowPos(nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const HTREEITEM item = tree.GetSelectedItem();
    std::wstring itemPath, zipPath;
    if (item && tree.GetItemPath(item, nullptr, itemPath) && tree.GetZipFilePath(item, zipPath))
      destination_ = DefaultExtractDestination(itemPath, zipPath);
  }
  SetDlgItemText(IDC_EXTRACT_DESTINATION, destination_.c_str());
  return TRUE;
}

void CExtractZippedFontsDlg::OnBrowse(UINT, int, HWND) {
  std::wstring current;
  GetDlgItemString(m_hWnd, IDC_EXTRACT_DESTINATION, current);
  COrvBrowseFolderDialog picker(current);
  if (picker.DoModal(::GetActiveWindow()) == 1 && !picker.ChosenFolder().empty())
    SetDlgItemText(IDC_EXTRACT_DESTINATION, picker.ChosenFolder().c_str());
}

void CExtractZippedFontsDlg::Refuse(UINT textId, DWORD error) {
  AppMessageBox(m_hWnd, MB_ICONERROR, IDS_EXTRACT_CAPTION, textId, error,
                destination_.empty() ? nullptr : destination_.c_str());
  GotoDlgCtrl(GetDlgItem(IDC_EXTRACT_DESTINATION));
}

void CExtractZippedFontsDlg::OnOK(UINT, int, HWND) {
  GetDlgItemString(m_hWnd, IDC_EXTRACT_DESTINATION, destination_);
  TrimWhiteSpace(destination_);
  showDestination_ = ::IsDlgButtonChecked(m_hWnd, IDC_EXTRACT_SHOW_FOLDER) == BST_CHECKED;
  // An empty or relative destination would send the fonts into whatever folder happens to be
  // the current directory.
  if (!IsFullyQualifiedFolder(destination_)) {
    Refuse(IDS_EXTRACT_NEEDS_FULL_PATH);
    return;
  }
  destination_ = WithoutTrailingBackslash(destination_);
  if (CopyFonts()) EndDialog(IDOK);
}

bool CExtractZippedFontsDlg::CopyFonts() {
  FontItemList items;
  g_AppState.FolderFonts.CollectItems(items, false);
  FontFileCommand command(&items, FontFileCommand::kCopy, IDS_COPY_FONTS_CAPTION);
  command.AddFlags(kCopyFlags);
  if (!command.BuildUniqueSources()) {
    seams::Beep(MB_ICONEXCLAMATION);  // nothing to copy
    return false;
  }
  // Made first: given one file and a target that is not a folder, the shell would copy the file
  // under the target's name (over a file of that name) instead of into a folder.
  if (!::PathIsDirectoryW(destination_.c_str())) {
    const int made = ::SHCreateDirectoryExW(m_hWnd, destination_.c_str(), nullptr);
    if (made != ERROR_SUCCESS) {
      Refuse(IDS_EXTRACT_FAILED, static_cast<DWORD>(made));
      return false;
    }
  }
  command.SetTargetPath(destination_);
  if (!command.Execute()) {
    Refuse(IDS_EXTRACT_FAILED);
    return false;
  }
  return true;
}
