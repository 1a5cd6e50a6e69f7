// Splitter windows: two panes side by side (vertical bar) or one above the other (horizontal
// bar), separated by a bar the user drags with the mouse.
//
// The position is the bar's offset from the left or top edge in pixels; -1 means the default,
// the middle, which follows the window's size until a position is set or the bar is dragged. A
// stored position is kept as given while the splitter has no size yet and is only limited to
// the window when it is laid out, so a saved layout survives being applied before the first
// resize; it is limited so that each pane keeps its minimum size (SetMinPaneSizes). Single-pane modes: SPLIT_PANE_NONE (-1) both panes, SPLIT_PANE_LEFT/TOP (0) the first
// alone, SPLIT_PANE_RIGHT/BOTTOM (1) the second alone. With SPLIT_BOTTOMALIGNED (SPLIT_RIGHTALIGNED)
// the second pane keeps its size when the splitter is resized, with SPLIT_PROPORTIONAL both keep
// their share. Commands and notifications of the panes go on to the splitter's parent.
// The panes are not owned: they are children of the splitter created by its owner.
#pragma once

#include <windows.h>

#include "framework/WindowImpl.h"

namespace orv {

constexpr int SPLIT_PANE_LEFT = 0;
constexpr int SPLIT_PANE_TOP = 0;
constexpr int SPLIT_PANE_RIGHT = 1;
constexpr int SPLIT_PANE_BOTTOM = 1;
constexpr int SPLIT_PANE_NONE = -1;

constexpr DWORD SPLIT_PROPORTIONAL = 0x00000001;
constexpr DWORD SPLIT_NONINTERACTIVE = 0x00000002;
constexpr DWORD SPLIT_RIGHTALIGNED = 0x00000004;
constexpr DWORD SPLIT_BOTTOMALIGNED = SPLIT_RIGHTALIGNED;

constexpr int kDefaultSplitterBar = 4;

class CSplitterWindowBase : public CWindowImplRoot {
public:
  bool IsVertical() const { return vertical_; }

  void SetSplitterPanes(HWND first, HWND second, bool update = true);
  bool SetSplitterPane(int pane, HWND wnd, bool update = true);
  HWND GetSplitterPane(int pane) const;

  // -1 restores the default (middle) position.
  bool SetSplitterPos(int pos = -1, bool update = true);
  // The bar's position as laid out; the stored value (-1 or as set) while the splitter has no size.
  int GetSplitterPos() const;
  // True while the position is the default middle one.
  bool IsDefaultPos() const { return pos_ < 0; }

  bool SetSinglePaneMode(int mode = SPLIT_PANE_NONE);
  int GetSinglePaneMode() const { return singlePane_; }

  DWORD GetSplitterExtendedStyle() const { return exStyle_; }
  DWORD SetSplitterExtendedStyle(DWORD exStyle, DWORD mask = 0);

  void SetSplitterBarWidth(int width);
  int GetSplitterBarWidth() const { return bar_; }
  // The least room each pane keeps when the bar is set, dragged or the splitter resized; a
  // splitter too small for both shares its room in the middle.
  void SetMinPaneSize(int size) { SetMinPaneSizes(size, size); }
  void SetMinPaneSizes(int first, int second);

  // The cursor over the bar (not owned: a shared or resource cursor).
  void SetSplitterCursor(HCURSOR cursor) { cursor_ = cursor; }
  HCURSOR GetSplitterCursor() const { return cursor_; }

  // The area the panes share, in client coordinates; null takes the client rectangle.
  void SetSplitterRect(const RECT* rc = nullptr, bool update = true);
  RECT GetSplitterRect() const { return rect_; }
  bool GetSplitterBarRect(RECT* rc) const;
  bool IsOverSplitterBar(int x, int y) const;

  void SetActivePane(int pane);
  int GetActivePane() const;

  void UpdateSplitterLayout();

protected:
  LRESULT OnSplitterSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSplitterPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSplitterEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSplitterSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSplitterMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSplitterLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSplitterLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSplitterLButtonDoubleClick(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSplitterCaptureChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSplitterSetFocus(UINT, WPARAM, LPARAM, BOOL&);

  bool vertical_ = true;

private:
  int Extent() const;  // the splitter's size along the moving axis
  int Clamp(int pos) const;
  int EffectivePos() const;
  void DrawSplitter(HDC dc) const;

  HWND panes_[2] = {nullptr, nullptr};
  RECT rect_{};
  int pos_ = -1;
  int singlePane_ = SPLIT_PANE_NONE;
  int bar_ = kDefaultSplitterBar;
  int minPane_[2] = {0, 0};
  DWORD exStyle_ = 0;
  HCURSOR cursor_ = nullptr;
  int activePane_ = SPLIT_PANE_NONE;
  bool dragging_ = false;
  int dragOffset_ = 0;
  bool sized_ = false;  // rect_ has been set from a real size at least once
};

template <typename T, bool vertical = true>
class CSplitterWindowImpl : public CWindowImpl<T, CSplitterWindowBase> {
public:
  CSplitterWindowImpl() {
    this->vertical_ = vertical;
    this->SetSplitterCursor(::LoadCursorW(nullptr, vertical ? IDC_SIZEWE : IDC_SIZENS));
  }

  static DWORD GetDefaultStyle(HWND) { return WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS; }

  BEGIN_MSG_MAP(CSplitterWindowImpl)
    MESSAGE_HANDLER(WM_SIZE, this->OnSplitterSize)
    MESSAGE_HANDLER(WM_PAINT, this->OnSplitterPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, this->OnSplitterPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, this->OnSplitterEraseBackground)
    MESSAGE_HANDLER(WM_SETCURSOR, this->OnSplitterSetCursor)
    MESSAGE_HANDLER(WM_MOUSEMOVE, this->OnSplitterMouseMove)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, this->OnSplitterLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, this->OnSplitterLButtonUp)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, this->OnSplitterLButtonDoubleClick)
    MESSAGE_HANDLER(WM_CAPTURECHANGED, this->OnSplitterCaptureChanged)
    MESSAGE_HANDLER(WM_SETFOCUS, this->OnSplitterSetFocus)
    FORWARD_NOTIFICATIONS()
  END_MSG_MAP()
};

template <bool vertical>
class CSplitterWindowT : public CSplitterWindowImpl<CSplitterWindowT<vertical>, vertical> {
public:
  DECLARE_WND_CLASS_EX(vertical ? L"OrvelSplitter" : L"OrvelHorSplitter", CS_DBLCLKS, COLOR_WINDOW)
};

using CSplitterWindow = CSplitterWindowT<true>;
using CHorSplitterWindow = CSplitterWindowT<false>;

}  // namespace orv
