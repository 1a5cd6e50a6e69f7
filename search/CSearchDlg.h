// CSearchDlg: the font search, a modeless resizable dialog (template 1052) without owner. The
// user names a pattern (full or family names), picks the roots in a drive list (the font case
// folder, the favourite folders, all drives, one drive or the folder last searched), may switch
// on the search filter (edited in CSearchFilterPropSheet) and starts the walk; found fonts
// arrive in the result list in batches while the worker walks, and the status bar counts the
// files examined and the fonts found. Seeded with a reference font (SetReferenceFont) the
// dialog searches for fonts similar to it instead, for the rest of its life.
//
// The main frame creates the object (command 144 or 340), creates its window and keeps it in
// its tool-window slot; when the window is destroyed the dialog posts command 339 with 1052 and
// the main frame deletes the object. The dialog owns the worker (SearchWorker), the result pane
// with its list, its status bar and the filter record; it keeps its rectangle, its roots and
// the filter in the registry ("SearchDlgRect", "SearchPath", "SearchFilter").
//
// Threads: every window change happens here, on the main thread. The worker only posts; its
// results are taken from its queue every 500 ms (timer 3) or as soon as 25 are pending. Closing
// during a search stops the walk and closes once it has ended; a window destroyed any other
// way stops and joins the worker first.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/CDriveCombo.h"
#include "app/CToolWindow.h"
#include "common/ResourceIds.h"
#include "framework/ContainedWindow.h"
#include "framework/DialogImpl.h"
#include "framework/DialogResize.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"
#include "framework/MessageLoop.h"
#include "search/CLVSearchFonts.h"
#include "search/CLvSearchContainer.h"
#include "search/SearchFilter.h"
#include "search/SearchMatcher.h"
#include "search/SearchWorker.h"

class CSearchDlg : public orv::CDialogImpl<CSearchDlg>,
                   public orv::CDialogResize,
                   public orv::CMessageFilter,
                   public CToolWindow {
public:
  enum { IDD = IDD_SEARCH };

  static constexpr UINT kFlushTimer = 3;
  static constexpr UINT kFlushIntervalMs = 500;
  static constexpr int kPatternLimit = 64;
  static constexpr size_t kRootsLimit = 260;
  static constexpr wchar_t kRectValue[] = L"SearchDlgRect";
  static constexpr wchar_t kPathValue[] = L"SearchPath";
  static constexpr wchar_t kPassEverything[] = L"*";
  enum StatusPart { kExaminedPart = 0, kFoundPart = 1, kFolderPart = 2 };

  // Reads the saved rectangle, the roots (default: the folder the folder list shows) and the
  // stored filter.
  CSearchDlg();
  ~CSearchDlg() override;

  // The modeless window, without owner; null when it cannot be made.
  HWND CreateDialogWindow();

  HWND GetToolWindow() const override { return m_hWnd; }
  void ClearToolWindow() override {}

  // The similar-fonts mode for a reference font; a reference whose PANOSE family kind is 0 or 1
  // only puts its name between two "*" into the pattern.
  void SetReferenceFont(const uint8_t (&panose)[10], uint16_t familyClass, const std::wstring& name);
  // Moves the dialog to the screen's origin, clamped onto the screen, shown without activation.
  void ShowOnScreen();
  // Runs the filter sheet on a copy of the record; true after OK (the record is then stored).
  bool EditFilter();

  bool IsSearching() const { return searching_; }
  bool InSimilarMode() const { return similarMode_; }
  const SearchFilter& Filter() const { return filter_; }
  bool FilterOn() const { return filterOn_; }
  const std::wstring& Roots() const { return roots_; }
  const SearchMatcher& Matcher() const { return matcher_; }
  CLVSearchFonts& ResultList() { return list_; }
  CLvSearchContainer& ResultPane() { return pane_; }
  HWND StatusBar() const { return statusBar_.m_hWnd; }
  CDriveCombo& DriveList() { return driveList_; }

  bool PreTranslateMessage(MSG* msg) override;

  BEGIN_MSG_MAP(CSearchDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_HELP, OnHelp)
    MESSAGE_HANDLER(SearchWorker::kMsgFlush, OnWorkerFlush)
    MESSAGE_HANDLER(SearchWorker::kMsgProgress, OnWorkerProgress)
    MESSAGE_HANDLER(SearchWorker::kMsgDone, OnWorkerDone)
    COMMAND_ID_HANDLER_EX(IDC_SEARCH_START, OnStart)
    COMMAND_ID_HANDLER_EX(IDC_SEARCH_CLOSE, OnCloseButton)
    COMMAND_ID_HANDLER_EX(IDC_SEARCH_HELP, OnHelpButton)
    COMMAND_HANDLER_EX(IDC_SEARCH_PATTERN, EN_CHANGE, OnPatternChange)
    COMMAND_ID_HANDLER_EX(IDC_SEARCH_FILTER_ON, OnFilterBox)
    COMMAND_ID_HANDLER_EX(IDC_SEARCH_FILTER_EDIT, OnFilterEdit)
    COMMAND_ID_HANDLER_EX(IDC_SEARCH_PANOSE, OnSimilarBox)
    COMMAND_ID_HANDLER_EX(IDC_SEARCH_SAME_CLASS, OnSimilarBox)
    COMMAND_ID_HANDLER_EX(ID_SEARCH_FILL_DRIVES, OnFillDriveList)
    CHAIN_MSG_MAP(orv::CDialogResize)
  ALT_MSG_MAP(kPatternMap)
    MESSAGE_HANDLER(WM_GETDLGCODE, OnPatternGetDlgCode)
    MESSAGE_HANDLER(WM_KEYDOWN, OnPatternKey)
    MESSAGE_HANDLER(WM_KEYUP, OnPatternKey)
    MESSAGE_HANDLER(WM_CHAR, OnPatternChar)
  ALT_MSG_MAP(kStatusMap)
    COMMAND_ID_HANDLER_EX(ID_SEARCH_SHOW_SELECTION, OnShowSelection)
    MESSAGE_HANDLER(WM_SETCURSOR, OnStatusSetCursor)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnStatusClick)
  END_MSG_MAP()

  // The search steps (CSearchDlgRun.cpp), public for the tests that drive them.
  void StartSearch();
  void FlushResults();
  void FinishSearch();
  void ShowSelection();
  // The drive list (command 341).
  void FillDriveList();

private:
  static constexpr DWORD kPatternMap = 1;
  static constexpr DWORD kStatusMap = 2;

  BOOL OnInitDialog(HWND, LPARAM);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnTimer(UINT, WPARAM id, LPARAM, BOOL& handled);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnHelp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnWorkerFlush(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnWorkerProgress(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnWorkerDone(UINT, WPARAM, LPARAM, BOOL&);
  void OnStart(UINT, int, HWND);
  void OnCloseButton(UINT, int, HWND);
  void OnHelpButton(UINT, int, HWND);
  void OnPatternChange(UINT, int, HWND);
  void OnFilterBox(UINT, int, HWND);
  void OnFilterEdit(UINT, int, HWND);
  void OnSimilarBox(UINT, int, HWND);
  void OnFillDriveList(UINT, int, HWND);
  LRESULT OnPatternGetDlgCode(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPatternKey(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnPatternChar(UINT, WPARAM, LPARAM, BOOL& handled);
  void OnShowSelection(UINT, int, HWND);
  LRESULT OnStatusSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnStatusClick(UINT, WPARAM, LPARAM, BOOL& handled);

  // Set-up (CSearchDlg.cpp).
  void CreateStatusBar();
  void CreateResultPane();
  void PlaceWindow();
  void SaveState();
  // The status bar (CSearchDlgRun.cpp).
  void ResetStatusCounts();
  void SetCountPart(StatusPart part, uint32_t count);
  void SetFolderPart(const std::wstring& text, const std::wstring& tip, bool withIcon);
  // The controls a running search locks.
  void EnableSearchControls(bool enable);
  void SetPattern(const std::wstring& text);
  std::wstring Pattern() const;
  // The filter-on rule: box checked and a filter with content; the box follows.
  void SyncFilterBox();

  SearchWorker worker_;
  SearchMatcher matcher_;
  SearchFilter filter_;
  bool filterOn_ = false;
  std::wstring roots_;
  std::wstring fontCaseRoot_;
  RECT savedRect_{};
  bool searching_ = false;
  bool closePending_ = false;
  bool driveListFilled_ = false;
  bool similarMode_ = false;
  bool folderShown_ = false;  // the folder part shows the selected result's folder
  bool filterAdded_ = false;
  CDriveCombo driveList_;
  CLvSearchContainer pane_;
  CLVSearchFonts list_;
  orv::CContainedWindow patternEdit_{*this, kPatternMap};
  orv::CContainedWindow statusBar_{*this, kStatusMap};
  orv::ScopedIcon folderIcon_;
  orv::ScopedIcon bigIcon_;
  orv::ScopedIcon smallIcon_;
};
