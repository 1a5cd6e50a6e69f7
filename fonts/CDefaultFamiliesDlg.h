// CDefaultFamiliesDlg: the modal editor of the font mapper's default face per font family
// (command 175, template 1060): the values of the FamilyDefaults key under HKLM, one row each
// (family, face name). A preview pane draws the sample text in the selected row's face; the
// face of a row is edited in place and must be the display name of an installed font; a button
// puts back the built-in defaults; OK writes what changed, Cancel writes nothing. Editing, the
// defaults button and writing need an elevated process.
//
// OK writes only the rows whose face differs from what the key held when the dialog read it,
// each in its value's own type (REG_SZ or REG_EXPAND_SZ; a face name is text, so a value of
// another type that the user edited becomes REG_SZ), and deletes only values the dialog showed
// that the built-in defaults took out of the list. Every other value keeps its type and bytes.
// A write that fails is reported and ends the writing, the dialog staying open: the values not
// yet written keep what they held.
//
// The row that stands for the key's unnamed (default) value is marked in its item data and is
// always the list's first row; only that row is written as the unnamed value, so that a key
// without one keeps every named value. The dialog asks whether a face is installed through the
// function it is given (the installed fonts list's names). Main thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "fonts/RegistryDialogLists.h"
#include "framework/ContainedWindow.h"
#include "framework/DialogImpl.h"
#include "framework/MessageCrackers.h"

class CDefaultFamiliesDlg : public orv::CDialogImpl<CDefaultFamiliesDlg>, public CDialogHelp<CDefaultFamiliesDlg> {
public:
  enum { IDD = IDD_FAMILY_DEFAULTS };
  // Whether a text is the display name of an installed font, case included.
  using InstalledNameTest = std::function<bool(const std::wstring&)>;

  // Item data of the row that stands for the key's unnamed value.
  static constexpr LPARAM kUnnamedRow = 1;
  static constexpr int kPreviewFaceMax = 31;

  struct Row {
    std::wstring family;
    std::wstring face;
    bool unnamed = false;
  };

  explicit CDefaultFamiliesDlg(InstalledNameTest isInstalledName) : isInstalledName_(std::move(isInstalledName)) {}

  // The built-in defaults of strings 12131 and 12132, pairwise; the first stands for the
  // unnamed value.
  static std::vector<Row> BuiltInDefaults();
  // The rows shown now, first to last.
  std::vector<Row> ListedRows() const;
  HWND StatusBar() const { return statusBar_; }
  HWND Editor() const { return editor_.m_hWnd; }
  // The face name the preview asks for last (empty with no selection).
  const std::wstring& PreviewFace() const { return previewFace_; }

  // Posted by the editor's Up and Down: wParam the row to edit next.
  static constexpr UINT kMsgEditRow = WM_APP + 1;
  static constexpr DWORD kPreviewMap = 1;
  static constexpr DWORD kEditorMap = 2;

  BEGIN_MSG_MAP(CDefaultFamiliesDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    COMMAND_ID_HANDLER_EX(IDOK, OnOK)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER_EX(IDC_FAMILY_DEFAULTS_RESET, OnResetDefaults)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    NOTIFY_HANDLER(IDC_FAMILY_DEFAULTS_LIST, LVN_ITEMCHANGED, OnItemChanged)
    NOTIFY_HANDLER(IDC_FAMILY_DEFAULTS_LIST, LVN_KEYDOWN, OnListKeyDown)
    NOTIFY_HANDLER(IDC_FAMILY_DEFAULTS_LIST, LVN_BEGINLABELEDITW, OnBeginLabelEdit)
    NOTIFY_HANDLER(IDC_FAMILY_DEFAULTS_LIST, LVN_ENDLABELEDITW, OnEndLabelEdit)
    MESSAGE_HANDLER(kMsgEditRow, OnEditRow)
    CHAIN_MSG_MAP(CDialogHelp<CDefaultFamiliesDlg>)
  ALT_MSG_MAP(kPreviewMap)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnPreviewErase)
    MESSAGE_HANDLER(WM_PAINT, OnPreviewPaint)
  ALT_MSG_MAP(kEditorMap)
    MESSAGE_HANDLER(WM_MOVE, OnEditorMove)
    MESSAGE_HANDLER(WM_KEYDOWN, OnEditorKeyDown)
    MESSAGE_HANDLER(WM_GETDLGCODE, OnEditorGetDlgCode)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnOK(UINT, int, HWND);
  void OnCancel(UINT, int, HWND);
  void OnResetDefaults(UINT, int, HWND);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnItemChanged(int, NMHDR*, BOOL&);
  LRESULT OnListKeyDown(int, NMHDR*, BOOL&);
  LRESULT OnBeginLabelEdit(int, NMHDR*, BOOL&);
  LRESULT OnEndLabelEdit(int, NMHDR*, BOOL&);
  LRESULT OnEditRow(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPreviewErase(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPreviewPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEditorMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEditorKeyDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEditorGetDlgCode(UINT, WPARAM, LPARAM, BOOL&);

  // The list from the key; false when the key was empty and could not be created (the dialog
  // has ended then).
  bool FillFromKey();
  void ShowRows(const std::vector<Row>& rows);
  // Writes the rows that changed and deletes the values the list no longer holds; false (after
  // the message) at the first failure.
  bool WriteChanges();
  void ReportWriteFailure(LSTATUS status, const std::wstring& valueLabel) const;
  bool IsEditing() const;
  int SelectedRow() const;
  void SetStatusText(const std::wstring& text) const;

  InstalledNameTest isInstalledName_;
  std::vector<NamedText> keyValues_;  // the key's values as last read or written
  HWND list_ = nullptr;
  HWND statusBar_ = nullptr;
  orv::CContainedWindow preview_{*this, kPreviewMap};
  orv::CContainedWindow editor_{*this, kEditorMap};
  std::wstring previewFace_;
  bool placingEditor_ = false;
};
