// CDirWithFontsDlg: the modeless finder of folders that hold fonts (dialog 1055). The user picks
// a root in a drive list and starts a walk of the root and all its subfolders on a worker
// thread; every folder with at least one font file is listed once, in ascending order, and a
// click on it shows it in the main folder tree.
//
// The main frame makes it on the heap (command 168) and keeps it in its tool slot; when the
// window is destroyed it posts the main window WM_COMMAND 339 with lParam 1055, upon which the
// frame deletes the object. No window position is kept.
//
// Threads: the walk's callbacks run on the walk thread and touch no window: each folder found
// is posted to the dialog by value (kMsgFolderFound), the folder being walked waits under a
// lock for the dialog's timer, and the end of the walk is posted (kMsgWalkDone). The dialog
// joins the walk before it goes away and frees what the walk left queued.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "app/CDriveCombo.h"
#include "app/CToolWindow.h"
#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/DialogResize.h"
#include "framework/MessageCrackers.h"
#include "framework/MessageLoop.h"
#include "lists/CDirWFontsLv.h"
#include "lists/CFolderWalkerImpl.h"
#include "lists/ToolStatusBar.h"

class CDirWithFontsDlg : public orv::CDialogImpl<CDirWithFontsDlg>,
                         public CDialogHelp<CDirWithFontsDlg>,
                         public orv::CDialogResize,
                         public orv::CMessageFilter,
                         public CFolderWalkerImpl<CDirWithFontsDlg>,
                         public CToolWindow {
public:
  enum { IDD = IDD_DIRS_WITH_FONTS };
  static constexpr UINT kMsgFolderFound = WM_APP + 11;  // lParam: std::wstring (owned)
  static constexpr UINT kMsgWalkDone = WM_APP + 12;
  static constexpr UINT_PTR kTimerStatus = 1;
  static constexpr UINT kStatusInterval = 100;
  static constexpr int kStatusUserStop = 2;
  static constexpr int kDropDownHeight = 300;

  CDirWithFontsDlg();
  ~CDirWithFontsDlg() override;

  HWND CreateModeless() { return Create(nullptr); }

  // CToolWindow.
  HWND GetToolWindow() const override { return m_hWnd; }
  void ClearToolWindow() override {}

  bool PreTranslateMessage(MSG* msg) override;

  // For the tests.
  CDirWFontsLv& List() { return list_; }
  const ToolStatusBar& StatusBar() const { return status_; }
  CDriveCombo& Drives() { return drives_; }
  void StartWalk(const std::wstring& roots);
  bool IsWalkRunning() const { return m_thread.IsValid(); }

  // Walker callbacks (walk thread).
  bool AcceptFolder(DWORD attributes);
  bool OnFile();
  bool ShouldAbort() { return false; }
  void OnWalkEnd();

  BEGIN_MSG_MAP(CDirWithFontsDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    COMMAND_ID_HANDLER_EX(IDOK, OnStartOrStop)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCancel)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(kMsgFolderFound, OnFolderFound)
    MESSAGE_HANDLER(kMsgWalkDone, OnWalkDone)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CDialogHelp<CDirWithFontsDlg>)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    CHAIN_MSG_MAP(orv::CDialogResize)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnStartOrStop(UINT, int, HWND);
  void OnCancel(UINT, int, HWND) { ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0); }
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled);
  LRESULT OnFolderFound(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnWalkDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& handled);

  // Joins the walk and takes what it left queued; `report` shows the outcome.
  void EndWalk(bool report);
  void ShowWalkedFolder();

  CDriveCombo drives_{true};
  CDirWFontsLv list_;
  ToolStatusBar status_;
  bool filterAdded_ = false;
  std::mutex lock_;
  std::wstring folderWalked_;
  bool folderChanged_ = false;
};
