// CSubstituteDlg: the modal, read-only view of the system's font substitution table (command
// 171, template 1061). Each value of the FontSubstitutes key under HKLM is one row (substituted
// name, substitute); for the selected row the two-part status bar explains the character-set
// numbers that such names carry after a comma. Nothing is written anywhere. Main thread only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/MessageCrackers.h"

// The character-set labels of string 12280: "code=label" fields separated by "|". The first
// pair's label is also the format of every explanation (its "%s" takes the label).
class CharsetLabels {
public:
  explicit CharsetLabels(std::wstring_view fields);
  // The explanation of a name such as "Arial,204": empty without a comma or for a code the
  // table lacks.
  std::wstring Explain(std::wstring_view text) const;
  size_t Count() const { return pairs_.size(); }

private:
  struct Pair {
    int code;
    std::wstring label;
  };
  std::vector<Pair> pairs_;
};

class CSubstituteDlg : public orv::CDialogImpl<CSubstituteDlg>, public CDialogHelp<CSubstituteDlg> {
public:
  enum { IDD = IDD_FONT_SUBSTITUTES };

  HWND StatusBar() const { return statusBar_; }

  BEGIN_MSG_MAP(CSubstituteDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    COMMAND_ID_HANDLER_EX(IDOK, OnClose)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnClose)
    NOTIFY_HANDLER(IDC_SUBSTITUTES_LIST, NM_CLICK, OnListSelection)
    NOTIFY_HANDLER(IDC_SUBSTITUTES_LIST, LVN_ITEMCHANGED, OnListSelection)
    CHAIN_MSG_MAP(CDialogHelp<CSubstituteDlg>)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnClose(UINT, int id, HWND) { EndDialog(id); }
  LRESULT OnListSelection(int, NMHDR*, BOOL&);

  HWND statusBar_ = nullptr;
  CharsetLabels labels_{L""};
};
