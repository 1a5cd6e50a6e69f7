// CCensusDlg: the modeless census tool window (dialog 1054). The user picks a root in a drive
// list, may add the system and the per-user Fonts folders, and starts a census: a walk of the
// roots and all their subfolders on a worker thread that reads every font file and hands one
// CensusRecord per face to the result list (CCensusListView). After a complete walk the list
// analyses the records and the filter drop-down opens; the rows shown can be saved as an HTML
// page or a text file.
//
// The main frame makes the dialog on the heap (command 145) and keeps it in its tool slot; when
// the window is destroyed it saves its rectangle ("CensusDlgRect") and posts the main window
// WM_COMMAND 339 with lParam 1054, upon which the frame deletes the object.
//
// Threads: the walk's callbacks (AcceptFolder, OnFile, OnWalkEnd) run on the walk thread
// and touch no window: they keep the folder being walked and the records read so far under a
// lock, which a timer of the dialog takes into the status bar and the list; at its end the walk
// posts kMsgWalkDone. The dialog joins the walk before it reads the last records and before it
// goes away, so nothing of the walk outlives it. Everything else runs on the UI thread.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "app/CDriveCombo.h"
#include "app/CToolWindow.h"
#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/DialogResize.h"
#include "framework/MessageCrackers.h"
#include "framework/MessageLoop.h"
#include "lists/CCensusListView.h"
#include "lists/CFolderWalkerImpl.h"
#include "lists/CensusReport.h"
#include "lists/ToolStatusBar.h"

class FontItem;

class CCensusDlg : public orv::CDialogImpl<CCensusDlg>,
                   public CDialogHelp<CCensusDlg>,
                   public orv::CDialogResize,
                   public orv::CMessageFilter,
                   public CFolderWalkerImpl<CCensusDlg>,
                   public CToolWindow {
public:
  enum { IDD = IDD_CENSUS };
  static constexpr UINT kMsgWalkDone = WM_APP + 10;
  static constexpr UINT_PTR kTimerTake = 1;
  static constexpr UINT kTakeInterval = 100;  // ms between takes of the walk's records
  static constexpr wchar_t kRectValue[] = L"CensusDlgRect";
  static constexpr wchar_t kFontPatterns[] = L"*.ttf|*.otf|*.ttc|*.pfm";
  // Walker status values of the census beside 0 (walking).
  static constexpr int kStatusUserStop = 2;
  static constexpr int kStatusClosing = 3;
  // Filter drop-down items.
  enum FilterItem : int { kShowAll, kShowDuplicates, kShowOtherFileNames, kShowSharedFileNames, kShowUnusable };

  CCensusDlg();
  ~CCensusDlg() override;

  // Creates the modeless window (no owner) and shows it.
  HWND CreateModeless();
  // Moves the window onto the screen at its top-left corner and shows it without activating it.
  void ShowWindowClamped();

  // CToolWindow.
  HWND GetToolWindow() const override { return m_hWnd; }
  void ClearToolWindow() override {}

  bool PreTranslateMessage(MSG* msg) override;

  // For the tests and the benchmark.
  CCensusListView& List() { return list_; }
  const ToolStatusBar& StatusBar() const { return status_; }
  CDriveCombo& Drives() { return drives_; }
  // Starts a census of `roots` ("|"-separated) at once, as the start button does for the
  // drive list's entry.
  void StartCensus(const std::wstring& roots);
  bool IsWalkRunning() const { return m_thread.IsValid(); }

  // Walker callbacks (walk thread).
  bool AcceptFolder(DWORD attributes);
  bool OnFile();
  bool ShouldAbort() { return false; }
  void OnWalkEnd();

  // Report (CCensusDlgReport.cpp): the save dialog, then WriteReport.
  void ExportReport(HWND button);
  // Writes the rows of the list into `path`, asking first whether to replace an existing file.
  // False when nothing was written or a write failed (the user was told).
  bool WriteReport(const std::wstring& path, CensusReportKind kind);

  BEGIN_MSG_MAP(CCensusDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    COMMAND_ID_HANDLER_EX(IDOK, OnStartOrStop)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCloseCommand)
    COMMAND_ID_HANDLER_EX(IDC_CENSUS_SAVE, OnSave)
    COMMAND_ID_HANDLER_EX(IDC_CENSUS_SYSTEM_FONTS, OnIncludeBox)
    COMMAND_ID_HANDLER_EX(IDC_CENSUS_USER_FONTS, OnIncludeBox)
    COMMAND_HANDLER_EX(IDC_CENSUS_DRIVES, CBN_SELCHANGE, OnDriveChange)
    COMMAND_HANDLER_EX(IDC_CENSUS_FILTER, CBN_SELCHANGE, OnFilterChange)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(kMsgWalkDone, OnWalkDone)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CDialogHelp<CCensusDlg>)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    CHAIN_MSG_MAP(orv::CDialogResize)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnStartOrStop(UINT, int, HWND);
  void OnCloseCommand(UINT, int, HWND) { Close(); }
  void OnSave(UINT, int, HWND button) { ExportReport(button); }
  void OnIncludeBox(UINT, int, HWND) { ResetResults(); }
  void OnDriveChange(UINT, int, HWND);
  void OnFilterChange(UINT, int, HWND) { ApplyFilter(); }
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled);
  LRESULT OnWalkDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& handled);

  void SetStatusParts();
  void ResetResults();
  void ApplyFilter();
  void Close();
  // The walk has ended (joined): the last records, the analysis, the controls.
  void FinishWalk();
  // Moves what the walk found since the last take into the list and the status bar.
  void TakeWalkResults();
  // Enables or disables the controls a walk locks.
  void EnableChoice(bool enable);
  void AddFace(const FontItem& item);

  CDriveCombo drives_{true};
  ToolStatusBar status_;
  CCensusListView list_;
  RECT windowRect_{};
  bool includeSystemFonts_ = true;
  bool systemFontsVisited_ = false;
  bool includeUserFonts_ = false;
  bool userFontsVisited_ = false;
  std::wstring fontCaseFolder_;
  int rememberedSelection_ = -1;
  // The folder box's selection while a walk locks it.
  int lockedSelection_ = CB_ERR;
  bool filterAdded_ = false;
  // What the walk thread hands over, under lock_.
  std::mutex lock_;
  std::vector<CensusRecord> found_;
  std::wstring folderWalked_;
  bool folderChanged_ = false;
  // Copies of the shared folders the walk thread compares with.
  std::wstring systemFontsFolder_;
  std::wstring userFontsFolder_;
};
