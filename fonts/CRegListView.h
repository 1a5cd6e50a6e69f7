// CRegListView: the report list of the registered fonts dialog (control 1117). It owns the
// checked registrations (RegisteredFontTable) and shows one item per row, with text and image
// supplied on demand: number, name, value name and file reference. Rows are coloured by their
// check results, the dialog's status bar explains the selected row, every column sorts, and a
// double click shows the font in the main window's folder list.
//
// The dialog subclasses its list control with this object and reflects the list's
// notifications to it. Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "fonts/RegisteredFontTable.h"
#include "framework/CustomDraw.h"
#include "framework/MessageCrackers.h"
#include "framework/WindowImpl.h"

class CRegListView : public orv::CWindowImplRoot, public orv::CCustomDraw<CRegListView> {
public:
  enum Column { kColumnNumber, kColumnName, kColumnValueName, kColumnFileRef, kColumnCount };

  void SetStatusBar(HWND statusBar) { statusBar_ = statusBar; }
  // The shared font-type images and the four columns titled by string 12215.
  void SetUpColumns();
  // Reads and checks the system's registration and shows it, sorted by number.
  void Fill(const std::wstring& fontsFolder, int windowsRelease);
  // Shows the table's rows as they are (Fill's last step).
  void ShowRows();
  void SortByColumn(int column, bool ascending);
  void FitColumns();

  const RegisteredFontTable& Table() const { return table_; }
  RegisteredFontTable& Table() { return table_; }
  int SortColumn() const { return sortColumn_; }
  bool SortAscending() const { return sortAscending_; }
  // The row shown by list item `item`, or null.
  const RegisteredFontEntry* RowOfItem(int item) const;
  // Status texts and colours by check results.
  static UINT StatusTextId(uint32_t flags);
  static COLORREF TextColor(uint32_t flags);

  // Custom draw: every item and sub-item gets its colour.
  DWORD OnPrePaint(int, NMCUSTOMDRAW*) { return CDRF_NOTIFYITEMDRAW; }
  DWORD OnItemPrePaint(int, NMCUSTOMDRAW*) { return CDRF_NOTIFYSUBITEMDRAW; }
  DWORD OnSubItemPrePaint(int, NMCUSTOMDRAW* cd);

  BEGIN_MSG_MAP(CRegListView)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_GETDISPINFOW, OnGetDispInfo)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_COLUMNCLICK, OnColumnClick)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_ITEMCHANGED, OnItemChanged)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_DBLCLK, OnDoubleClick)
    MSG_WM_SIZE(OnSize)
    CHAIN_MSG_MAP_ALT(orv::CCustomDraw<CRegListView>, 1)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

private:
  LRESULT OnGetDispInfo(int, NMHDR* hdr, BOOL&);
  LRESULT OnColumnClick(int, NMHDR* hdr, BOOL&);
  LRESULT OnItemChanged(int, NMHDR* hdr, BOOL&);
  LRESULT OnDoubleClick(int, NMHDR*, BOOL&);
  void OnSize(UINT type, SIZE client);
  void ShowSortArrow();
  static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM self);

  RegisteredFontTable table_;
  // The three text columns of every row folded for comparisons without case, made once per fill.
  std::vector<std::array<std::wstring, 3>> sortKeys_;
  int sortColumn_ = kColumnNumber;
  bool sortAscending_ = true;
  int fittedWidth_ = -1;
  HWND statusBar_ = nullptr;
  std::wstring numberText_;  // the text handed out for column 0
};

// Shows the font named `name` of `folder` in the main window's folder list: the folder list is
// brought into the font-lists pane, the folder selected in the folder tree, and the row of that
// name selected once the list has filled (at once when it shows that folder already).
void ShowFontInFolderList(const std::wstring& folder, const std::wstring& name);
