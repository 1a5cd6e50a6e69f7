// CDialogResize: keeps a resizable dialog's controls in place when the dialog changes size,
// by rules given per control (move with the right or bottom edge, grow with it), and keeps the
// dialog at least the size it was created with (its template's size).
//
// The dialog calls DlgResizeInit from WM_INITDIALOG, once its controls are where the template
// puts them, and chains its map to this one (CHAIN_MSG_MAP(orv::CDialogResize)). UI thread only.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/MessageMap.h"

namespace orv {

// What a control does when the dialog grows by (dx, dy).
enum DlgResizeFlags : unsigned {
  DLSZ_SIZE_X = 0x1,  // its width grows by dx
  DLSZ_SIZE_Y = 0x2,  // its height grows by dy
  DLSZ_MOVE_X = 0x4,  // it moves right by dx
  DLSZ_MOVE_Y = 0x8,  // it moves down by dy
};

struct DlgResizeRule {
  int controlId;
  unsigned flags;
};

class CDialogResize {
public:
  // Records the dialog's client size and each ruled control's rectangle as they are now.
  void DlgResizeInit(HWND dialog, const DlgResizeRule* rules, size_t count);
  // Places the ruled controls for a client area of cx by cy (never below the initial size).
  void DlgResizeUpdateLayout(int cx, int cy);
  // The smallest client size (the initial one) and the smallest window size of the dialog.
  SIZE MinClientSize() const { return minClient_; }
  SIZE MinWindowSize() const;

  BEGIN_MIXIN_MSG_MAP(CDialogResize)
    MESSAGE_HANDLER(WM_SIZE, OnResizeSize)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnResizeGetMinMaxInfo)
  END_MSG_MAP()

private:
  struct Item {
    int controlId;
    unsigned flags;
    RECT initial;
  };

  LRESULT OnResizeSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnResizeGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);

  HWND dialog_ = nullptr;
  SIZE minClient_{};
  std::vector<Item> items_;
};

}  // namespace orv
