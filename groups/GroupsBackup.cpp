#include "groups/GroupsBackup.h"

#include "app/AppState.h"
#include "app/COrvBrowseFolderDialog.h"
#include "app/Preferences.h"
#include "common/AppMessageBox.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/FolderIdentity.h"
#include "groups/FontFileOperation.h"

namespace {
constexpr wchar_t kGroupsBackupPathValue[] = L"GroupsBackupPath";
}

std::wstring ReadGroupsBackupPath() {
  std::wstring path;
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (!key || !ReadRegString(key.Get(), kGroupsBackupPathValue, MAX_PATH, path)) return {};
  return path;
}

bool ChooseGroupsBackupFolder() {
  COrvBrowseFolderDialog picker(ReadGroupsBackupPath());
  picker.prompt = LoadResString(IDS_GROUPS_BACKUP_CAPTION);
  picker.allowEditing = true;  // with its New Folder button
  if (::IsWindow(g_AppState.FolderTree.m_hWnd)) picker.centreOver = g_AppState.FolderTree.m_hWnd;
  if (picker.DoModal(::GetActiveWindow()) != IDOK || picker.ChosenFolder().empty()) return false;
  const std::wstring folder = picker.ChosenFolder();
  if (RefuseGroupsFolder(folder, IDS_GROUPS_BACKUP_CAPTION)) return false;
  if (const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_WRITE))
    WriteRegString(key.Get(), kGroupsBackupPathValue, folder);
  FontFileOperation copy;
  return copy.CopyGroupFiles(g_Preferences.GroupsFolder, folder, IDS_GROUPS_BACKUP_CAPTION);
}

bool RefuseGroupsFolder(const std::wstring& folder, UINT caption) {
  if (!IsSameFolder(folder, g_Preferences.GroupsFolder)) return false;
  AppMessageBox(GetAppShell().MainWindow, MB_ICONEXCLAMATION, caption, IDS_GROUPS_FOLDER_ITSELF);
  return true;
}
