// CFrameWindowImpl<T>: a top-level frame with a menu, accelerators, a toolbar window (a single
// toolbar or a rebar holding several bars), a status bar and one client window that fills the
// rest of the client area.
//
// T creates the bars in its WM_CREATE handler with the Create... helpers, stores the client
// window in m_hWndClient and chains its map to CFrameWindowImpl<T>, which lays everything out on
// WM_SIZE, gives the focus to the client, shows menu help in the status bar, answers toolbar
// tooltip requests from the string table ("help text\ntooltip") and drops clipped toolbar
// buttons into a chevron menu. The frame owns the image lists of the toolbars it creates;
// menu and accelerators come from the resource library. Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "framework/ToolbarResource.h"
#include "framework/WindowImpl.h"

namespace orv {

constexpr UINT kIdToolBar = 0xE800;
constexpr UINT kIdStatusBar = 0xE801;
constexpr UINT kIdFirstReBarBand = 0xEB00;
constexpr UINT kIdDefaultStatusText = 0xE001;  // string 57345: the idle status-bar text

constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kFrameExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
constexpr DWORD kSimpleToolBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS |
                                      TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
constexpr DWORD kSimpleReBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT |
                                    RBS_BANDBORDERS | RBS_AUTOSIZE | CCS_NODIVIDER;
constexpr DWORD kSimpleStatusBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SBARS_SIZEGRIP;

class CFrameWindowImplBase : public CWindowImplRoot {
public:
  HWND m_hWndToolBar = nullptr;    // a toolbar or the rebar that holds the bars
  HWND m_hWndStatusBar = nullptr;
  HWND m_hWndClient = nullptr;
  HACCEL m_hAccel = nullptr;       // from the resource library; never destroyed

  // A toolbar with the buttons and image strip of toolbar resource `resourceId`; its image list
  // belongs to this frame. Null when the resource is missing or broken.
  HWND CreateSimpleToolBarCtrl(HWND parent, UINT resourceId, bool initialSeparator = false,
                               DWORD style = kSimpleToolBarStyle, UINT id = kIdToolBar);
  // The same from toolbar data already read and its images (which the frame then owns).
  HWND CreateToolBarCtrl(HWND parent, const ToolbarResource& data, ScopedImageList images, bool initialSeparator,
                         DWORD style = kSimpleToolBarStyle, UINT id = kIdToolBar);
  bool CreateSimpleToolBar(UINT resourceId, DWORD style = kSimpleToolBarStyle, UINT id = kIdToolBar);

  // A rebar that becomes the frame's toolbar window.
  HWND CreateSimpleReBarCtrl(HWND parent, DWORD style = kSimpleReBarStyle, UINT id = kIdToolBar);
  bool CreateSimpleReBar(DWORD style = kSimpleReBarStyle, UINT id = kIdToolBar);

  // Adds a band for `child` (a toolbar or any window) to a rebar. Band identifiers are
  // kIdFirstReBarBand plus the band's index; a toolbar band with buttons gets a chevron and the
  // toolbar hides the buttons that do not fit.
  static bool AddSimpleReBarBandCtrl(HWND rebar, HWND child, const wchar_t* title = nullptr, bool newRow = false,
                                     int cx = 0, bool fullWidthAlways = false);
  bool AddSimpleReBarBand(HWND child, const wchar_t* title = nullptr, bool newRow = false, int cx = 0,
                          bool fullWidthAlways = false) {
    return AddSimpleReBarBandCtrl(m_hWndToolBar, child, title, newRow, cx, fullWidthAlways);
  }
  // Shows or hides the band with identifier `bandId`.
  static bool ShowReBarBand(HWND rebar, UINT bandId, bool show);

  bool CreateSimpleStatusBar(const wchar_t* text, DWORD style = kSimpleStatusBarStyle, UINT id = kIdStatusBar);
  bool CreateSimpleStatusBar(UINT textId = kIdDefaultStatusText, DWORD style = kSimpleStatusBarStyle,
                             UINT id = kIdStatusBar);

  // Bars at the top and bottom, the client window in what is left. With resizeBars false the
  // bars keep their size (a rebar that has just sized itself).
  void UpdateLayout(bool resizeBars = true);
  void UpdateBarsPosition(RECT& rc, bool resizeBars = true);

  // Translates keyboard messages for this frame's accelerator table; true when one matched.
  bool TranslateFrameAccelerator(MSG* msg) const;

  // The menu of a toolbar's buttons that its band clips (a command bar's clipped menus appear as
  // its own popups, borrowed: call ReleaseBorrowedPopups before the menu is destroyed).
  [[nodiscard]] static ScopedMenu BuildChevronMenu(HWND toolbar);
  static void ReleaseBorrowedPopups(HMENU menu);

  // The text part of string `id` before or after its "\n" (status help, tooltip).
  static std::wstring LoadCommandString(UINT id, bool tooltipPart);

protected:
  HWND CreateFrameImpl(CWndClassInfo& info, UINT resourceId, HWND parent, const RECT* rect, DWORD style,
                       DWORD exStyle, void* param);

  LRESULT OnFrameSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFrameEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFrameSetFocus(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFrameActivate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFrameMenuSelect(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnReBarAutoSize(int, NMHDR*, BOOL&);
  LRESULT OnReBarChevronPushed(int, NMHDR*, BOOL&);
  LRESULT OnToolTipText(int, NMHDR*, BOOL&);

private:
  std::vector<ScopedImageList> imageLists_;
  // The window's icons: WM_SETICON does not hand them over, so they live as long as this object.
  ScopedIcon bigIcon_;
  ScopedIcon smallIcon_;
  std::wstring tooltip_;  // text handed to the last tooltip request
  bool menuHelpShown_ = false;
  // The child that had the focus when the frame was last deactivated (a dialog opened, another
  // window clicked): it gets the focus back when the frame does.
  HWND focusWhenInactive_ = nullptr;
};

template <typename T, typename TBase = CFrameWindowImplBase>
class CFrameWindowImpl : public CWindowImpl<T, TBase> {
public:
  using CWindowImpl<T, TBase>::CWindowImpl;
  // Creates the frame with title string, menu and accelerators `resourceId` and icons of the same
  // identifier (big and small), all from the resource library.
  HWND CreateEx(UINT resourceId, HWND parent = nullptr, const RECT* rect = nullptr, DWORD style = kFrameStyle,
                DWORD exStyle = kFrameExStyle, void* param = nullptr) {
    return this->CreateFrameImpl(T::GetWndClassInfo(), resourceId, parent, rect, style, exStyle, param);
  }

  static DWORD GetDefaultStyle(HWND) { return kFrameStyle; }

  BEGIN_MSG_MAP(CFrameWindowImpl)
    MESSAGE_HANDLER(WM_SIZE, this->OnFrameSize)
    MESSAGE_HANDLER(WM_ERASEBKGND, this->OnFrameEraseBackground)
    MESSAGE_HANDLER(WM_SETFOCUS, this->OnFrameSetFocus)
    MESSAGE_HANDLER(WM_ACTIVATE, this->OnFrameActivate)
    MESSAGE_HANDLER(WM_MENUSELECT, this->OnFrameMenuSelect)
    NOTIFY_CODE_HANDLER(RBN_AUTOSIZE, this->OnReBarAutoSize)
    NOTIFY_CODE_HANDLER(RBN_CHEVRONPUSHED, this->OnReBarChevronPushed)
    NOTIFY_CODE_HANDLER(TTN_GETDISPINFOW, this->OnToolTipText)
  END_MSG_MAP()
};

}  // namespace orv
