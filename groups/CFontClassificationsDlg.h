// CFontClassificationsDlg: builds font groups automatically. The user picks a folder tree (and,
// optionally, the system and per-user Fonts folders) and the kinds of grouping: by OS/2 family
// class, by PANOSE kind and by the initial of the family name. The folders are walked on a
// worker thread (ClassifyScanWorker) that collects one record per face; when the walk ends the
// same worker writes one new group tree per chosen kind below the root group
// (ClassificationBuilder) while the dialog keeps painting, and button 1 stops the walk and the
// builders alike. The system font sets are built at once, without a scan. Each kind is built at
// most once per opening: its check box is disabled afterwards.
//
// Modal (template 1090), opened by the main window's command 295; created on the opener's
// stack. Main thread; the worker only posts to it, and the dialog stops and joins the walk
// before it goes away.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/CDriveCombo.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"
#include "groups/ClassifyScanWorker.h"

class CFontClassificationsDlg : public orv::CDialogImpl<CFontClassificationsDlg> {
public:
  enum { IDD = IDD_FONT_CLASSIFICATIONS };
  static constexpr int kStatusCountPart = 0;
  static constexpr int kStatusTextPart = 1;
  static constexpr int kFolderComboDropHeight = 400;
  // Windows releases from this one on install fonts per user.
  static constexpr int kFirstPerUserRelease = 1809;

  CFontClassificationsDlg();
  ~CFontClassificationsDlg();

  BEGIN_MSG_MAP(CFontClassificationsDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    COMMAND_ID_HANDLER_EX(IDOK, OnStart)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER_EX(IDC_CLASSIFY_SYSTEM_SETS, OnSystemSetsToggle)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_HELP, OnHelp)
    MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnCaptionHelpButton)
    MESSAGE_HANDLER(WM_NCLBUTTONUP, OnCaptionHelpButton)
    MESSAGE_HANDLER(ClassifyScanWorker::kMsgProgress, OnScanProgress)
    MESSAGE_HANDLER(ClassifyScanWorker::kMsgDone, OnScanDone)
  END_MSG_MAP()

  // Button 1: stops a running scan; otherwise builds the system font sets when chosen and
  // starts the scan when a group kind is chosen.
  void StartScan();
  bool IsScanning() const { return scanning_; }
  HWND StatusBar() const { return statusBar_; }

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnStart(UINT, int, HWND) { StartScan(); }
  void OnCancel(UINT, int, HWND) { SendMessage(WM_CLOSE); }
  void OnSystemSetsToggle(UINT, int, HWND);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnHelp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCaptionHelpButton(UINT msg, WPARAM wParam, LPARAM, BOOL& handled);
  LRESULT OnScanProgress(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnScanDone(UINT, WPARAM, LPARAM, BOOL&);

  void CreateStatusBar();
  void CreateFolderCombo();
  // After the worker has ended: the warning when nothing was found; the kinds built are
  // disabled and the groups tree shows their groups.
  void FinishScan();
  void SetStatus(int part, const std::wstring& text);
  void SetScanControls(bool scanning);
  bool IsChosen(int id) const;
  void Enable(int id, bool on);

  ClassifyScanWorker worker_;
  CDriveCombo folderCombo_;
  std::wstring fontCaseFolder_;
  bool scanning_ = false;  // the worker walks or builds
  bool building_ = false;  // the walk is over, the worker builds the groups
  orv::ScopedIcon largeIcon_;  // outlives the window that shows it
  HWND statusBar_ = nullptr;  // a child window: destroyed with the dialog
};
