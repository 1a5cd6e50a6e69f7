// CScrollWindowImpl<T>: a window whose content is larger than its client area and is scrolled
// with the scroll bars, the keyboard's scroll messages and the mouse wheel.
//
// T sets the content size with SetScrollSize (and optionally the line and page steps) and paints
// in `void DoPaint(HDC dc)` in content coordinates: the viewport origin is moved by the scroll
// offset before DoPaint runs. The offset is kept within [0, content - client] on every resize.
// Main thread only.
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "framework/WindowImpl.h"

namespace orv {

class CScrollWindowBase : public CWindowImplRoot {
public:
  // Sets the content size; the offset goes back to the origin unless kept.
  void SetScrollSize(int cx, int cy, bool redraw = true, bool resetOffset = true);
  SIZE GetScrollSize() const { return all_; }
  // Line step (0 = a hundredth of the content, at least 1 pixel) and page step (0 = the client size).
  void SetScrollLine(int cx, int cy);
  SIZE GetScrollLine() const;
  void SetScrollPage(int cx, int cy);
  SIZE GetScrollPage() const;

  void SetScrollOffset(int x, int y, bool redraw = true);
  POINT GetScrollOffset() const { return offset_; }

  void ScrollLineDown() { ScrollBy(SB_VERT, GetScrollLine().cy); }
  void ScrollLineUp() { ScrollBy(SB_VERT, -GetScrollLine().cy); }
  void ScrollLineRight() { ScrollBy(SB_HORZ, GetScrollLine().cx); }
  void ScrollLineLeft() { ScrollBy(SB_HORZ, -GetScrollLine().cx); }
  void ScrollPageDown() { ScrollBy(SB_VERT, GetScrollPage().cy); }
  void ScrollPageUp() { ScrollBy(SB_VERT, -GetScrollPage().cy); }
  void ScrollTop() { SetScrollOffset(offset_.x, 0); }
  void ScrollBottom() { SetScrollOffset(offset_.x, all_.cy); }

protected:
  LRESULT OnScrollSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnScrollBar(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnScrollWheel(UINT, WPARAM, LPARAM, BOOL&);

  void PrepareDC(HDC dc) const { ::SetViewportOrgEx(dc, -offset_.x, -offset_.y, nullptr); }

private:
  void ScrollBy(int bar, int delta);
  void UpdateBars();
  POINT ClampOffset(POINT pt) const;

  SIZE all_{};
  SIZE line_{};
  SIZE page_{};
  SIZE client_{};
  POINT offset_{};
  int wheelRemainder_ = 0;
};

template <typename T>
class CScrollWindowImpl : public CWindowImpl<T, CScrollWindowBase> {
public:
  static DWORD GetDefaultStyle(HWND parent) {
    return CWindowImpl<T, CScrollWindowBase>::GetDefaultStyle(parent) | WS_HSCROLL | WS_VSCROLL;
  }

  BEGIN_MSG_MAP(CScrollWindowImpl)
    MESSAGE_HANDLER(WM_SIZE, this->OnScrollSize)
    MESSAGE_HANDLER(WM_VSCROLL, this->OnScrollBar)
    MESSAGE_HANDLER(WM_HSCROLL, this->OnScrollBar)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, this->OnScrollWheel)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPaint)
  END_MSG_MAP()

private:
  LRESULT OnPaint(UINT msg, WPARAM wParam, LPARAM, BOOL&) {
    if (msg == WM_PRINTCLIENT || wParam) {
      HDC dc = reinterpret_cast<HDC>(wParam);
      POINT old{};
      ::GetViewportOrgEx(dc, &old);
      this->PrepareDC(dc);
      static_cast<T*>(this)->DoPaint(dc);
      ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
    } else {
      ScopedPaint paint(this->m_hWnd);
      this->PrepareDC(paint.Get());
      static_cast<T*>(this)->DoPaint(paint.Get());
    }
    return 0;
  }
};

}  // namespace orv
