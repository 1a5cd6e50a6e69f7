// CSearchFilterListView: the character list of the filter sheet's Characters page, a list-view
// control of the page's template subclassed by the page. One row per character, four columns:
// the character in the character font, its code in decimal and in hexadecimal ("x0041"), and
// its name from the getuname library. Rows are owner-drawn; the page hands the list its
// WM_DRAWITEM, WM_MEASUREITEM and WM_NOTIFY messages.
//
// Cells are edited in place: a click chooses the column, F2 edits the selected row, Insert (or
// a click below the rows) adds a row, Delete removes one, Up and Down move the edit to the row
// above or below. An entry that is not a character from U+0020 to U+FFFF, or that another row
// shows already, is refused with a beep. At most 64 rows. Main thread only; lives as long as
// its page.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/ContainedWindow.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"
#include "framework/WindowImpl.h"

class CSearchFilterListView : public orv::CWindowImpl<CSearchFilterListView> {
public:
  enum Column { kCharacterColumn = 0, kDecimalColumn = 1, kHexColumn = 2, kNameColumn = 3, kColumnCount = 4 };
  static constexpr int kMaxRows = 64;
  static constexpr wchar_t kFirstCode = 0x20;
  static constexpr int kCellInset = 2;
  static constexpr int kEditExtraHeight = 4;

  explicit CSearchFilterListView(HMODULE charNames) noexcept : charNames_(charNames) {}

  // Styles, columns and the character font, then one row per character (at most 64); with
  // none an empty row is added and its character cell edited.
  void Fill(const std::wstring& characters);
  // Writes the four cells of `row` for the character `code`.
  void SetCharacterRow(int row, wchar_t code);
  // The characters of the rows in row order, at most 64; empty rows give none.
  std::wstring CollectCharacters() const;
  // More than one row, or one whose character cell is not empty.
  bool HasContent() const;
  int RowCount() const;
  std::wstring CellText(int row, int column) const;

  // Editing.
  bool AddRow();
  bool BeginEdit(int column);
  // Takes the edited text (commit) or drops it; true when the row took the entry.
  bool EndEdit(bool commit);
  void DeleteSelectedRow();
  HWND EditControl() const { return edit_.m_hWnd; }
  int EditColumn() const { return editColumn_; }

  // The character font: the system's message font at first, replaceable through the font dialog.
  HFONT CharacterFont() const { return characterFont_.Get(); }
  void SetCharacterFont(orv::ScopedFont font);
  bool ChooseCharacterFont(HWND owner);

  // Messages the page hands on.
  void DrawRow(const DRAWITEMSTRUCT& dis) const;
  void MeasureRow(MEASUREITEMSTRUCT& mis) const;
  LRESULT OnNotify(NMHDR* hdr);

  BEGIN_MSG_MAP(CSearchFilterListView)
    MSG_WM_KEYDOWN(OnKeyDown)
    MESSAGE_HANDLER(kBeginEditMessage, OnBeginEditMessage)
    MESSAGE_HANDLER(kEndEditMessage, OnEndEditMessage)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  ALT_MSG_MAP(kEditMap)
    MESSAGE_HANDLER(WM_GETDLGCODE, OnEditGetDlgCode)
    MESSAGE_HANDLER(WM_KEYDOWN, OnEditKeyDown)
    MESSAGE_HANDLER(WM_CHAR, OnEditChar)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnEditKillFocus)
  END_MSG_MAP()

private:
  static constexpr DWORD kEditMap = 1;
  static constexpr UINT kEndEditMessage = WM_APP + 1;    // wParam: the serial of the edit to end
  static constexpr UINT kBeginEditMessage = WM_APP + 2;  // wParam: the column

  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnEditGetDlgCode(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEditKeyDown(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnEditChar(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnEditKillFocus(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnBeginEditMessage(UINT, WPARAM column, LPARAM, BOOL&);
  LRESULT OnEndEditMessage(UINT, WPARAM serial, LPARAM, BOOL&);

  void OnClick(const NMITEMACTIVATE& click);
  void FitColumns();
  int SelectedRow() const;
  void SelectOnly(int row);
  wchar_t CodeOf(int row) const;
  // The code an edited text stands for in `column`; 0 for anything outside U+0020..U+FFFF.
  static wchar_t CodeOfEntry(const std::wstring& text, int column);
  void MoveEdit(int step);

  HMODULE charNames_;
  orv::ScopedFont characterFont_;
  orv::CContainedWindow edit_{*this, kEditMap};
  int editColumn_ = kCharacterColumn;
  int editRow_ = -1;
  WPARAM editSerial_ = 0;
  bool ending_ = false;
};
