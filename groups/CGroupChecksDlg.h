// CGroupChecksDlg: the modeless group checks window (dialog 1065). A run examines every ordinary
// group file; three tabs list the groups with missing font files, the groups whose Parent chain
// does not reach the root, and the child entries whose group file is gone. A double-click fixes
// one row (shows the group, or removes the dangling entry); the repair button mends a whole tab.
//
// The main frame makes it on the heap (command 250) and keeps it in its tool slot; when the
// window is destroyed it posts the main window WM_COMMAND 339 with lParam 1065, upon which the
// frame deletes the object. Main thread only: the run walks the groups folder inline, watching
// for Esc.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/CToolWindow.h"
#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/MessageCrackers.h"
#include "framework/MessageLoop.h"
#include "groups/GroupFileChecker.h"
#include "lists/ToolStatusBar.h"

class CGroupChecksDlg : public orv::CDialogImpl<CGroupChecksDlg>,
                        public CDialogHelp<CGroupChecksDlg>,
                        public orv::CMessageFilter,
                        public CToolWindow {
public:
  enum { IDD = IDD_GROUP_CHECKS };
  enum Tab { kMissingFonts = 0, kBrokenChains = 1, kMissingChildren = 2 };

  CGroupChecksDlg() = default;
  ~CGroupChecksDlg() override = default;

  HWND CreateModeless() { return Create(nullptr); }

  // CToolWindow.
  HWND GetToolWindow() const override { return m_hWnd; }
  void ClearToolWindow() override {}

  bool PreTranslateMessage(MSG* msg) override;

  void RunChecks();
  void ShowTab(int tab);
  void FixRow(int row);
  void Repair();

  // For the tests.
  GroupFileChecker& Checker() { return checker_; }
  const ToolStatusBar& StatusBar() const { return status_; }
  int CurrentTab() const { return tab_; }
  HWND ListView() const { return ::GetDlgItem(m_hWnd, IDC_GROUP_CHECKS_LIST); }
  // The cells of the list view, a row's columns joined by "|".
  std::vector<std::wstring> Rows() const;

  BEGIN_MSG_MAP(CGroupChecksDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    COMMAND_ID_HANDLER_EX(IDOK, OnRun)
    COMMAND_ID_HANDLER_EX(IDC_GROUP_CHECKS_REPAIR, OnRepair)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCloseCommand)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    NOTIFY_HANDLER(IDC_GROUP_CHECKS_TABS, TCN_SELCHANGE, OnTabChange)
    NOTIFY_HANDLER(IDC_GROUP_CHECKS_LIST, NM_DBLCLK, OnListDoubleClick)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CDialogHelp<CGroupChecksDlg>)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnRun(UINT, int, HWND) { RunChecks(); }
  void OnRepair(UINT, int, HWND) { Repair(); }
  void OnCloseCommand(UINT, int, HWND) { DestroyWindow(); }
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTabChange(int, LPNMHDR, BOOL&);
  LRESULT OnListDoubleClick(int, LPNMHDR header, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);

  void ClearView();
  void FitColumns();
  std::vector<GroupCheckRecord>& ListOf(int tab);
  void ShowNoRows();

  ToolStatusBar status_;
  GroupFileChecker checker_;
  int tab_ = kMissingFonts;
  bool filterAdded_ = false;
};
