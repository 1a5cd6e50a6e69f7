// CDirWFontsLv: the list of the finder of folders that hold fonts (control 1214 of dialog
// 1055): one row per folder found, kept in ascending order by the list's sort style. A click
// on a row shows that folder in the main folder tree. It owns nothing but its busy flag, set
// by the finder while a walk runs (the list then shows the working cursor). UI thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/ResourceIds.h"
#include "framework/MessageCrackers.h"
#include "framework/WindowImpl.h"

class CDirWFontsLv : public orv::CWindowImpl<CDirWFontsLv> {
public:
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                  LVS_SHOWSELALWAYS | LVS_SORTASCENDING | LVS_NOCOLUMNHEADER;
  static constexpr DWORD kExStyle = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP;

  // Creates the list view in `rc` of `dialog` with identifier `id` and binds it.
  bool CreateList(HWND dialog, const RECT& rc, UINT id);
  void AddFolder(const std::wstring& folder);
  void DeleteAll();
  int Count() const;
  std::wstring FolderAt(int index) const;
  void SetBusy(bool busy) { busy_ = busy; }
  bool IsBusy() const { return busy_; }
  // Shows the folder of row `index` in the main folder tree and gives the main window the focus.
  void OpenFolder(int index);

  BEGIN_MSG_MAP(CDirWFontsLv)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_CLICK, OnClick)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

private:
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnClick(int, NMHDR* hdr, BOOL&);
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled);

  bool busy_ = false;
};
