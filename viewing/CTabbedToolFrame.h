// CTabbedToolFrame: what the character map frame and the font sheet frame share, a modeless
// top-level MDI frame with a row of tabs over its MDI client, one tab per font, each tab
// belonging to one MDI child (CToolFrameChild; CToolFrameChildImpl does the child's part).
// Tab selection and MDI activation follow each other: a child that becomes active tells the
// frame with kMsgChildActivated, a child being closed sends kMsgChildClosing; selecting a tab
// activates its child. Removing the last tab closes the frame.
//
// The main frame creates a derived frame (CTabbedToolFrameImpl<T>) on the heap and keeps it in
// its tool-window slot (CToolWindow). The frame computes its rectangle when its window is
// destroyed and posts ID_TOOL_WINDOW_CLOSED with its closing identifier once all its windows
// are gone (after WM_NCDESTROY); the main frame then deletes the object, whose destructor
// writes the rectangle to the registry. The frame's message filter (registered with the
// thread's message loop while the window exists) handles Alt+Home, the wheel and the keys
// meant for the current tab, the frame's accelerators and the MDI keys. Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <span>
#include <string>

#include "app/CToolWindow.h"
#include "common/ResourceIds.h"
#include "fonts/FontItem.h"
#include "framework/ContainedWindow.h"
#include "framework/Handles.h"
#include "framework/MDIFrameWindowImpl.h"
#include "framework/MessageCrackers.h"
#include "framework/MessageLoop.h"

// What the frame sees of each of its MDI children.
class CToolFrameChild {
public:
  virtual HWND GetChildWindow() const = 0;
  // The font the child shows (its tab's font).
  virtual const FontItem& GetTabFont() const = 0;

protected:
  ~CToolFrameChild() = default;
};

class CTabbedToolFrame : public orv::CMDIFrameWindowBase, public orv::CMessageFilter, public CToolWindow {
public:
  static constexpr UINT kMsgChildActivated = WM_APP + 1;  // lParam: the activated child window
  static constexpr UINT kMsgChildClosing = WM_APP + 2;    // lParam: the closing child window
  static constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  static constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
  static constexpr DWORD kTabStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TCS_FOCUSNEVER;
  static constexpr DWORD kTabMapId = 1;
  static constexpr int kFrameIcon = 128;

  // tabFont: owned from now on. closingId: what the frame posts with ID_TOOL_WINDOW_CLOSED and
  // its help topic. rectValue: the registry value of its rectangle under the Prefs key.
  CTabbedToolFrame(HFONT tabFont, const RECT& savedRect, WORD closingId, const wchar_t* rectValue);
  ~CTabbedToolFrame() override;

  // The rectangle stored under `rectValue`, clamped to the screen; `whenEmpty` (a rectangle at
  // 96 DPI, scaled to the screen's density) when none is stored or it has no width.
  static RECT ReadSavedRect(const wchar_t* rectValue, const RECT& whenEmpty);
  RECT SavedRect() const { return savedRect_; }

  // CToolWindow.
  HWND GetToolWindow() const override { return m_hWnd; }
  void ClearToolWindow() override {}

  // Selects the tab that shows a font of the same full name (without case) and type, activating
  // its child and restoring it when minimised: false then. True when there is no such tab.
  bool ActivateFontTab(const FontItem& font);
  // Deletes a tab (-1: the current one). When it was the current tab, the tab before it is
  // selected (tab 0 when it was the first); another tab keeps the current one selected. Closes
  // the frame when no tab is left.
  void RemoveTab(int index);
  CToolFrameChild* GetTabChild(int index) const;  // -1: the current tab's
  int FindTabOfChild(HWND child) const;
  int TabCount() const;
  int CurrentTab() const;
  HWND TabControl() const { return tabCtrl_.m_hWnd; }

  bool PreTranslateMessage(MSG* msg) override;

  BEGIN_MSG_MAP(CTabbedToolFrame)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_HELP, OnHelp)
    COMMAND_ID_HANDLER_EX(ID_TAB_CLOSE, OnCloseTab)
    COMMAND_ID_HANDLER_EX(ID_WINDOW_ARRANGE, OnWindowArrange)
    COMMAND_ID_HANDLER_EX(ID_WINDOW_CASCADE, OnWindowArrange)
    COMMAND_ID_HANDLER_EX(ID_WINDOW_TILE_HORZ, OnWindowArrange)
    COMMAND_ID_HANDLER_EX(ID_APP_EXIT, OnFrameClose)
    COMMAND_ID_HANDLER_EX(ID_HELP_CONTENTS, OnHelpCommand)
    MESSAGE_HANDLER(kMsgChildActivated, OnChildActivated)
    MESSAGE_HANDLER(kMsgChildClosing, OnChildClosing)
    NOTIFY_CODE_HANDLER_EX(TCN_SELCHANGE, OnTabSelChange)
  ALT_MSG_MAP(kTabMapId)
    MSG_WM_MOUSE(WM_RBUTTONDOWN, OnTabRButtonDown)
  END_MSG_MAP()

protected:
  // How a derived frame makes the child of a new tab.
  struct NewTab {
    bool first = false;      // the frame's first tab: its child is shown once it is maximised
    bool maximized = false;  // the active child is maximised: so is the new one
    DWORD style = 0;         // the child's window style
  };
  // Null when the frame has a tab for `font` already: that tab is selected and the frame is
  // brought to the top. Otherwise what the new child is made with.
  std::optional<NewTab> PrepareNewTab(const FontItem& font);
  // After the derived frame made the window of `child`: maximises, shows and activates it,
  // appends its tab (text: the font's display name) and lays the frame out; a minimised frame
  // is restored.
  void ShowNewTab(CToolFrameChild& child, const FontItem& font, const NewTab& tab);

  // Creates the MDI client and the tab control, sets the frame icon, moves the frame to its
  // saved rectangle and registers the message filter; the derived WM_CREATE calls it.
  bool CreateTabbedClient();
  // Appends a tab for `child` with `text` and selects it; its index.
  int AppendTab(const std::wstring& text, CToolFrameChild* child);
  void SelectTab(int index);
  // The tab control over the whole client area, the MDI client below the tab row and above a
  // visible status bar.
  void LayoutTabs();
  // The icon of a font's type (from the font lists' image list), with the overlay of a font
  // GDI alone knows; null when the lists have no images yet. The caller owns it.
  static HICON CreateTabIcon(const FontItem& font);

  // Shows a tab menu at a screen point, its commands sent to the frame: `commands` (0: a
  // separator) with their `texts`, each with the toolbar's icon of its command.
  void TrackTabMenu(POINT screen, std::span<const int> commands, std::span<const std::wstring> texts);

  // What a derived frame adds: the keys it routes to the current tab (true: consumed), its tab
  // menu at a screen point.
  virtual bool RouteTabKey(const MSG& msg) = 0;
  virtual void ShowTabMenu(POINT screen) = 0;

  void OnFinalMessage(HWND) override;

private:
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHelp(UINT, WPARAM, LPARAM, BOOL&);
  void OnHelpCommand(UINT, int, HWND);
  void OnCloseTab(UINT, int, HWND);
  void OnWindowArrange(UINT, int id, HWND);
  void OnFrameClose(UINT, int, HWND);
  LRESULT OnChildActivated(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnChildClosing(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTabSelChange(NMHDR*);
  void OnTabRButtonDown(UINT keys, POINT pt);

  void ActivateTabChild(int index);
  void MoveToScreenOrigin();
  bool RouteWheel(const MSG& msg) const;

  orv::CContainedWindow tabCtrl_;
  orv::ScopedFont tabFont_;
  RECT savedRect_;
  WORD closingId_;
  const wchar_t* rectValue_;
  bool created_ = false;
  bool filterAdded_ = false;
};

// The frame template of a derived tabbed frame T: its window class and creation, and a map
// that runs the shared handlers, then the MDI frame's. T's own map ends with
//   CHAIN_MSG_MAP(CTabbedToolFrameImpl<T>)
// ALT_MSG_MAP(CTabbedToolFrame::kTabMapId)
//   CHAIN_MSG_MAP_ALT(CTabbedToolFrameImpl<T>, CTabbedToolFrame::kTabMapId)
template <typename T>
class CTabbedToolFrameImpl : public orv::CMDIFrameWindowImpl<T, CTabbedToolFrame> {
public:
  using MDIFrameBase = orv::CMDIFrameWindowImpl<T, CTabbedToolFrame>;
  using MDIFrameBase::MDIFrameBase;

  BEGIN_MSG_MAP(CTabbedToolFrameImpl)
    CHAIN_MSG_MAP(CTabbedToolFrame)
    CHAIN_MSG_MAP(MDIFrameBase)
  ALT_MSG_MAP(CTabbedToolFrame::kTabMapId)
    CHAIN_MSG_MAP_ALT(CTabbedToolFrame, CTabbedToolFrame::kTabMapId)
  END_MSG_MAP()
};
