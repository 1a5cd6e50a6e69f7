// CCensusListView: the result list of the folder census (control 1214 of the census dialog):
// a report list view in owner-data mode that owns one CensusRecord per face the census found
// and shows a row for each record that the current filter leaves, in five sortable text
// columns (name, files, version, unique identifier, folder). After a complete walk it analyses
// the records (CensusAnalysis) and offers the filters of the dialog's drop-down; the filter of
// fonts that cannot be loaded first tests every record on a check thread of its own. It shows
// the font under the mouse in its tooltip, opens a row's folder in the main folder tree and a
// row's property sheet, and colours rows by their census flags.
//
// Threads: everything runs on the UI thread. The census walk hands its records to the dialog
// by value, which adds them here. The check thread works on copies of the records it tests and
// posts its answers back (kMsgCheckResults, kMsgCheckDone); the list stops and joins it, and
// takes or frees what it left queued, before it clears its records or goes away.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/ResourceIds.h"
#include "framework/CustomDraw.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"
#include "framework/WindowImpl.h"
#include "lists/CensusRecord.h"
#include "lists/ToolStatusBar.h"

class FontFileReader;

// What the check thread tests (copies of the records not tested yet, by record index) and what
// it posts back.
struct CensusCheckJob {
  HWND list = nullptr;
  std::vector<std::pair<int, CensusRecord>> records;
  std::atomic<bool>* stop = nullptr;
};
struct CensusCheckResults {
  std::vector<std::pair<int, bool>> loadable;  // record index, loadable
};

// Reads the face a record stands for into `reader`: a collection face by its name, any other
// file whole. True when the face was read.
[[nodiscard]] bool ReadCensusRecordFont(const CensusRecord& record, FontFileReader& reader);

// Shows `folder` in the main window: the folder fonts list in the lists pane, the folder
// selected in the main folder tree and, once the list holds it, the font named `fontName`
// selected. The census and the finder of folders with fonts call it.
void ShowFolderInMainTree(const std::wstring& folder, const std::wstring& fontName);

class CCensusListView : public orv::CWindowImpl<CCensusListView>, public orv::CCustomDraw<CCensusListView> {
public:
  static constexpr UINT kMsgCheckResults = WM_APP + 1;  // lParam: CensusCheckResults (owned)
  static constexpr UINT kMsgCheckDone = WM_APP + 2;     // wParam: 1 when every record was tested
  static constexpr DWORD kExStyle = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP;

  enum Filter : int { kFilterAll, kFilterDuplicates, kFilterOtherFileNames, kFilterSharedFileNames, kFilterUnusable };

  CCensusListView();
  ~CCensusListView() override;

  // Binds the dialog's list control; the list writes its counts into `status` (may be null).
  bool Attach(HWND list, const ToolStatusBar* status);

  // Records.
  void AddRecords(std::vector<CensusRecord> records);
  // Stops a running check and frees every row and record.
  void Clear();
  // The walk has ended: after a complete walk the analysis, then every record by name.
  void FinishWalk(bool stopped);
  void SetBusy(bool busy) { busy_ = busy; }
  bool IsBusy() const { return busy_; }

  // Filters (the dialog's drop-down items 0 to 4).
  void ShowAll();
  void ShowDuplicates();
  void ShowOtherFileNames();
  void ShowSameFileOtherFonts();
  void ShowUnusable();
  int FilterMode() const { return filterMode_; }
  bool IsChecking() const { return checkThread_.IsValid(); }
  bool CheckDone() const { return checkDone_; }
  // Stops a running check and waits for it; what it tested keeps its flags.
  void StopCheck();
  // Whether the dialog may go now: not while a check runs. The check is then asked to stop, and
  // once it has, the list sends the dialog WM_CLOSE again.
  [[nodiscard]] bool CanClose();

  // Rows and records.
  int RecordCount() const { return static_cast<int>(records_.size()); }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  const CensusRecord& RecordOfRow(int row) const;
  std::wstring GetCellText(int row, int column) const;
  uint32_t GetCensusFlags(int row) const { return RecordOfRow(row).censusFlags; }
  void AddCensusFlags(int row, uint32_t bits);
  void RemoveCensusFlags(int row, uint32_t bits);
  [[nodiscard]] bool ReadRowFont(int row, FontFileReader& reader) const;
  int SelectedRow() const;

  // Sorting: direction > 0 ascending, < 0 descending, 0 the other way round on the sort column.
  void SortByColumn(int column, int direction);
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return ascending_; }

  // Commands of a row.
  void OpenFolderOfRow();
  void ShowProperties();
  // The file loaded privately for the tooltip's preview; empty when none.
  const std::wstring& PreviewFile() const { return previewFile_; }
  void ReleasePreviewFont();

  // Custom draw.
  DWORD OnPrePaint(int, NMCUSTOMDRAW*) { return CDRF_NOTIFYITEMDRAW; }
  DWORD OnItemPrePaint(int, NMCUSTOMDRAW*) { return CDRF_NOTIFYSUBITEMDRAW; }
  DWORD OnSubItemPrePaint(int, NMCUSTOMDRAW* cd);

  BEGIN_MSG_MAP(CCensusListView)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_GETDISPINFOW, OnGetDispInfo)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_GETINFOTIPW, OnGetInfoTip)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_COLUMNCLICK, OnColumnClick)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_RCLICK, OnRightClick)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_DBLCLK, OnDoubleClick)
    CHAIN_MSG_MAP_ALT(orv::CCustomDraw<CCensusListView>, 1)
    COMMAND_ID_HANDLER_EX(ID_CENSUS_OPEN_FOLDER, OnOpenFolderCommand)
    COMMAND_ID_HANDLER_EX(ID_CENSUS_PROPERTIES, OnPropertiesCommand)
    MESSAGE_HANDLER(kMsgCheckResults, OnCheckResults)
    MESSAGE_HANDLER(kMsgCheckDone, OnCheckDone)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_KEYDOWN, OnInputDuringCheck)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnInputDuringCheck)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

private:
  LRESULT OnGetDispInfo(int, NMHDR* hdr, BOOL&);
  LRESULT OnGetInfoTip(int, NMHDR* hdr, BOOL&);  // CCensusListViewRowCommands.cpp
  LRESULT OnColumnClick(int, NMHDR* hdr, BOOL&);
  LRESULT OnRightClick(int, NMHDR*, BOOL&);
  LRESULT OnDoubleClick(int, NMHDR*, BOOL&);
  void OnOpenFolderCommand(UINT, int, HWND) { OpenFolderOfRow(); }
  void OnPropertiesCommand(UINT, int, HWND) { ShowProperties(); }
  LRESULT OnCheckResults(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnCheckDone(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL& handled);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnInputDuringCheck(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);

  // Rows (CCensusListView.cpp).
  void SetupColumns();
  void Refill(int column);
  // Shows rows_ anew: the item count, no selection, repainted.
  void ShowRows();
  void ApplyFilter(int mode, std::vector<int> rows);
  void FitColumns();
  void ShowCounts() const;
  void ClearSortArrows() const;
  void SetSortArrow(int column, bool ascending) const;
  int RecordIndexOfRow(int row) const;

  // The unusable-font check (CCensusListViewCheck.cpp).
  void StartCheck();
  void ApplyCheckResults(const CensusCheckResults& results);
  // The check's thread is joined: its progress bar goes, and a finished check is reported.
  void EndCheck(bool completed, bool report);
  void CreateCheckProgress(int records);
  static unsigned __stdcall CheckThreadProc(void* job);

  // The row under the mouse and its menu (CCensusListViewRowCommands.cpp).
  void ShowContextMenu();

  std::vector<CensusRecord> records_;
  std::vector<int> rows_;  // the record of each row
  bool busy_ = false;
  int filterMode_ = kFilterAll;
  const ToolStatusBar* status_ = nullptr;
  std::wstring previewFile_;
  orv::ScopedFont previewFont_;
  // A copy of the tooltip's own font, put back after a preview: a tooltip may delete the font
  // it had when it is given another, so the handle it had cannot serve.
  orv::ScopedFont tooltipFont_;
  bool mouseTracked_ = false;
  bool checkDone_ = false;
  int sortColumn_ = -1;
  bool ascending_ = true;
  orv::ScopedHandle checkThread_;
  std::unique_ptr<CensusCheckJob> checkJob_;
  std::atomic<bool> stopCheck_{false};
  bool closeWhenStopped_ = false;
  HWND checkProgress_ = nullptr;
};
