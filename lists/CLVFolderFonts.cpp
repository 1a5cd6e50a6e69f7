#include "lists/CLVFolderFonts.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <unordered_set>

#include "app/AppState.h"
#include "fonts/FontInstaller.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "fonts/FontFileReader.h"
#include "lists/CLVFolderFontsLoader.h"
#include "fonts/FontFileCommand.h"
#include "lists/ClipboardFileDrop.h"

void SetMainStatusText(const std::wstring& text) {
  if (g_AppState.StatusBar)
    ::SendMessageW(g_AppState.StatusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int CLVFolderFonts::Fill() {
  Clear();
  if (m_folder.empty()) {
    m_refreshPending = false;
    return 0;
  }
  m_busy = true;
  if (m_hWnd) ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  int result = 0;
  {
    CLVFolderFontsLoader loader(*this, m_folder);
    result = m_zipFolder ? loader.LoadZipFolder() : loader.LoadFolder();
  }
  m_driveType = 0;
  if (result && !m_folder.empty()) {
    // A zip folder is not a directory: its list reads from the temporary folder.
    if (!m_zipFolder) ::SetCurrentDirectoryW(m_folder.c_str());
    wchar_t root[MAX_PATH] = {};
    lstrcpynW(root, m_folder.c_str(), MAX_PATH);
    ::PathStripToRootW(root);
    ::PathAddBackslashW(root);
    m_driveType = ::GetDriveTypeW(root);
  }
  if (m_hWnd) ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  RestorePosition(false);
  m_refreshPending = false;
  m_busy = false;
  return result;
}

bool CLVFolderFonts::OnKey(UINT key, bool ctrl) {
  switch (key) {
    case VK_DELETE:
      DeleteSelectedFiles();
      return true;
    case 'C':
      if (!ctrl) return false;
      CopyFilesToClipboard();
      return true;
    case 'V':
      if (!ctrl) return false;
      PasteFilesFromClipboard();
      return true;
    case 'F':
      if (!ctrl) return false;
      [[fallthrough]];
    case VK_F3:
      if (g_AppState.MainWindow) ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_FONTS_SEARCH, 0);
      return true;
    default:
      return false;
  }
}

void CLVFolderFonts::CopySelectionToFolder() {
  if (m_zipFolder) {
    ShowExtractZippedFontsDialog();
    return;
  }
  if (GetFirstSelected() < 0) return;
  COrvelListView::CopySelectionToFolder();
}

void CLVFolderFonts::OnItemActivate(NMITEMACTIVATE* info) {
  if (!info || info->iItem < 0) return;
  // The fonts of a zip folder are only copies in the temporary folder: they go somewhere else
  // first, through the extraction dialog.
  if (m_zipFolder) {
    ShowExtractZippedFontsDialog();
    return;
  }
  const FontItem* record = GetRecordAt(info->iItem);
  if (!record) return;
  const bool copy = !CtrlAlone();
  if (record->IsInstalled()) UninstallSelection(copy ? 1 : 0);
  else InstallSelection(copy);
}

void CLVFolderFonts::OnRightClick(NMITEMACTIVATE*) {
  ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CLVFolderFonts::OnDeleteCommand(WORD, WORD, HWND, BOOL&) {
  DeleteSelectedFiles();
  return 0;
}

LRESULT CLVFolderFonts::OnExtractCommand(WORD, WORD, HWND, BOOL&) {
  ShowExtractZippedFontsDialog();
  return 0;
}

LRESULT CLVFolderFonts::OnUnloadCommand(WORD, WORD, HWND, BOOL&) {
  UnloadSelectedFont();
  return 0;
}

LRESULT CLVFolderFonts::OnFocus(UINT msg, WPARAM, LPARAM, BOOL& handled) {
  SetMainStatusText(msg == WM_SETFOCUS && m_zipFolder ? LoadResString(IDS_ZIP_FOLDER_STATUS) : std::wstring());
  handled = FALSE;  // the base map sees both focus messages too
  return 0;
}

void CLVFolderFonts::UnloadSelectedFont() {
  FontItem* record = GetRecordAt(GetFirstSelected());
  if (!record) return;
  FontInstaller installer(nullptr, m_hWnd, false);
  installer.UnloadLoadedFontFile(*record);
}

void CLVFolderFonts::ShowExtractZippedFontsDialog() {
  if (m_zipFolder) CFolderTreeView::RunExtractZippedFonts();
}

void CLVFolderFonts::DeleteSelectedFiles() {
  if (m_zipFolder || m_folder.empty()) {
    seams::Beep(0);
    return;
  }
  SavePosition(true);
  FontItemList items;
  CollectItems(items, true);
  if (items.Empty()) return;
  m_busy = true;
  if (g_AppState.MainWindow) ::SendMessageW(g_AppState.MainWindow, WM_COMMAND, ID_LISTS_REDRAW, 0);
  FontFileCommand command(&items, FontFileCommand::kDelete, IDS_DELETE_FONTS_CAPTION);
  command.CollectSources();
  // A row goes when its file is gone: a failed or cancelled delete keeps its rows, and every
  // face of a deleted collection goes with it. Only the files of the command are looked at,
  // each once, and the rows go in one pass.
  std::unordered_set<std::wstring> looked, gone;  // folded paths
  for (const FontItemListEntry& entry : items.Entries()) {
    const std::wstring& path = entry.record.fullPath;
    if (path.empty()) continue;
    std::wstring key = FoldCase(path);
    if (looked.insert(key).second && !::PathFileExistsW(path.c_str())) gone.insert(std::move(key));
  }
  std::unordered_set<const FontListRow*> goneRows;
  if (!gone.empty()) {
    for (const auto& row : rows_)
      if (row->record && !row->record->fullPath.empty() && gone.count(FoldCase(row->record->fullPath)))
        goneRows.insert(row.get());
  }
  RemoveRows(goneRows);
  Repopulate();
  m_filesChanged = true;
  RestorePosition(false);
  if (g_AppState.MainWindow) ::SendMessageW(g_AppState.MainWindow, WM_COMMAND, ID_LISTS_REDRAW, 1);
  m_busy = false;
}

void CLVFolderFonts::CopyFilesToClipboard() {
  if (m_zipFolder) return;
  std::vector<std::wstring> paths;
  std::unordered_set<std::wstring> listed;  // folded paths: each file once (faces of a collection)
  for (int row : GetSelectedFileIndices()) {
    const FontItem* record = GetRecordAt(row);
    if (!record) continue;
    auto addOnce = [&](const std::wstring& path) {
      if (!path.empty() && listed.insert(FoldCase(path)).second) paths.push_back(path);
    };
    addOnce(record->fullPath);
    if (record->IsType1()) addOnce(record->pfbPath);
  }
  if (paths.empty()) return;
  if (!WriteFileDropToClipboard(m_hWnd, paths)) seams::Beep(0);
}

void CLVFolderFonts::PasteFilesFromClipboard() {
  if (m_zipFolder || m_folder.empty()) {
    seams::Beep(0);
    return;
  }
  std::vector<std::wstring> accepted;
  for (const std::wstring& path : ReadFileDropFromClipboard(m_hWnd)) {
    FontFileReader reader;
    reader.fileRef = path;
    if (reader.ReadFontFile()) accepted.push_back(path);  // the file's tag tells a collection
  }
  if (accepted.empty()) {
    seams::Beep(0);
    return;
  }
  std::wstring sources;
  for (const std::wstring& path : accepted) sources += path + L"*";
  FontFileCommand command(nullptr, FontFileCommand::kCopy, IDS_COPY_FONTS_CAPTION);
  command.SetSourcePaths(sources, L'*');
  command.SetTargetPathCopy(m_folder);
  const int result = command.Execute() ? 1 : -1;
  command.RefreshFolderTree(result, m_folder);
}
