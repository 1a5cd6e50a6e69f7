// CImportExportDlg: copies the font files of a folder tree into another folder, to back up a
// collection or to gather fonts into the font case folder (the default destination). The user
// picks both folders and the layout of the destination: the mirrored tree, all files in one
// folder, or one subfolder per font type, where TrueType and OpenType fonts may be sorted by
// PANOSE family (with an optional second level) or by OS/2 family class instead. The choices are
// kept in "PanoseBackup". Modal (template 1073), opened by the main window's command 201. Main
// thread only.
#pragma once

#include <windows.h>

#include <string>

#include "common/CBmpButton.h"
#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"

// The bits of "PanoseBackup" (HKCU Prefs); bits above the last are ignored and written as 0.
namespace backup_options {
constexpr DWORD kPanoseFolders = 0x1;
constexpr DWORD kPanoseSecondLevel = 0x2;
constexpr DWORD kOverwrite = 0x4;
constexpr DWORD kClassificationFolders = 0x8;
constexpr DWORD kSubfolders = 0x10;
constexpr DWORD kMirrorTree = 0x20;
constexpr DWORD kFlat = 0x40;
constexpr DWORD kAll = 0x7F;
constexpr DWORD kDefault = kSubfolders;
}  // namespace backup_options

// "PanoseBackup" as stored, or the default when it is missing or unreadable.
DWORD ReadBackupOptions();

// True when `source` names an existing folder and `destination` is a full path that is neither
// the source, nor inside it, nor the system Fonts folder `systemFonts`, compared as folders:
// letter case, ".", "..", short names and links aside.
bool IsValidBackupPair(const std::wstring& source, const std::wstring& destination, const std::wstring& systemFonts);

class CImportExportDlg : public orv::CDialogImpl<CImportExportDlg>, public CDialogHelp<CImportExportDlg> {
public:
  enum { IDD = IDD_IMPORT_EXPORT };

  BEGIN_MSG_MAP(CImportExportDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    CHAIN_MSG_MAP(CDialogHelp<CImportExportDlg>)
    COMMAND_RANGE_HANDLER_EX(IDC_BACKUP_MIRROR, IDC_BACKUP_BY_TYPE, OnLayout)
    COMMAND_ID_HANDLER_EX(IDC_BACKUP_CLASSES, OnClasses)
    COMMAND_ID_HANDLER_EX(IDC_BACKUP_PANOSE, OnPanose)
    COMMAND_ID_HANDLER_EX(IDC_BACKUP_SOURCE_BROWSE, OnBrowse)
    COMMAND_ID_HANDLER_EX(IDC_BACKUP_DEST_BROWSE, OnBrowse)
    COMMAND_HANDLER_EX(IDC_BACKUP_SOURCE, EN_CHANGE, OnFolderChange)
    COMMAND_HANDLER_EX(IDC_BACKUP_DESTINATION, EN_CHANGE, OnFolderChange)
    COMMAND_ID_HANDLER_EX(IDOK, OnOK)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCancel)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnLayout(UINT, int, HWND) { UpdateOptions(); }
  void OnClasses(UINT, int, HWND);
  void OnPanose(UINT, int, HWND);
  void OnBrowse(UINT, int id, HWND);
  void OnFolderChange(UINT, int, HWND) { UpdateOkButton(); }
  void OnOK(UINT, int, HWND);
  void OnCancel(UINT, int, HWND) { EndDialog(IDCANCEL); }

  void CreateStatusBar();
  void UpdateOptions();
  void UpdateOkButton();
  bool IsChecked(int id) const;
  void Check(int id, bool on);
  void Enable(int id, bool on);

  CBmpButton sourceBrowse_;
  CBmpButton destinationBrowse_;
  HWND statusBar_ = nullptr;  // a child window: destroyed with the dialog
};
