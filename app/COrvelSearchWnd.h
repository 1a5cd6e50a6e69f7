// COrvelSearchWnd: the one-line quick-search band that the groups pane shows under its caption
// while its button 282 is checked. The user types a file-name pattern ("*" and "?") and presses
// Enter or F3: the search looks for a font whose name matches, first in the group font list
// after the selected row, then group by group through the group tree (QuickSearchWalk). A match
// selects the group in the tree and the font's row in the group list; the band changes nothing.
//
// Created hidden with the groups pane and destroyed with it; its edit field is a contained EDIT
// control whose keys go through the band's second map. Main thread only.
#pragma once

#include <windows.h>

#include <string>

#include "app/QuickSearchWalk.h"
#include "framework/ContainedWindow.h"
#include "framework/Handles.h"
#include "framework/WindowImpl.h"

class COrvelSearchWnd : public orv::CWindowImpl<COrvelSearchWnd> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelQuickSearch", 0, COLOR_WINDOW)

  COrvelSearchWnd();

  // Creates the band (hidden) and its edit field in the pane.
  HWND Create(HWND pane);
  // Places the band at `top` across the pane and shows it; nothing without a window.
  void Layout(HWND pane, int top);
  int Height() const { return height_; }
  HWND Edit() const { return edit_.m_hWnd; }

  // Starts again at the selected group (the root when none is selected) with the edit's text.
  void Reset();
  // The next match after the current one; false only when there is nothing to search for.
  bool FindNext();
  int RowIndex() const { return rowIndex_; }
  const QuickSearchWalk& Walk() const { return walk_; }

  BEGIN_MSG_MAP(COrvelSearchWnd)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnIconClick)
  ALT_MSG_MAP(1)
    MESSAGE_HANDLER(WM_KEYDOWN, OnEditKeyDown)
    MESSAGE_HANDLER(WM_CHAR, OnEditChar)
    MESSAGE_HANDLER(WM_KEYUP, OnEditKeyUp)
  END_MSG_MAP()

private:
  LRESULT OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnIconClick(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnEditKeyDown(UINT, WPARAM key, LPARAM, BOOL& handled);
  LRESULT OnEditChar(UINT, WPARAM ch, LPARAM, BOOL& handled);
  LRESULT OnEditKeyUp(UINT, WPARAM, LPARAM, BOOL&);
  void SendFindNext() const;
  // The group list from the row after the row index: true when a font row matched.
  bool FindInList();

  orv::ScopedFont font_;
  orv::ScopedIcon icon_;  // 226, loaded at the first paint
  orv::CContainedWindow edit_;
  int height_ = 0;
  std::wstring pattern_;
  int rowIndex_ = -1;
  QuickSearchWalk walk_;
};
