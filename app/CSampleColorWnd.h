// CSampleColorWnd: a static control of the Colors page turned into a colour sample: its own
// text, centred on one line, in a text colour on a background colour. The page keeps it as a
// member; UI thread only.
#pragma once

#include <windows.h>

#include "framework/WindowImpl.h"

class CSampleColorWnd : public orv::CWindowImpl<CSampleColorWnd> {
public:
  // Sets both colours and repaints at once.
  void SetColors(COLORREF text, COLORREF background);
  COLORREF TextColor() const { return text_; }
  COLORREF BackgroundColor() const { return background_; }

  BEGIN_MSG_MAP(CSampleColorWnd)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
  END_MSG_MAP()

private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

  COLORREF text_ = 0;
  COLORREF background_ = 0xFFFFFF;
};
