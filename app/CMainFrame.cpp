#include "app/CMainFrame.h"

#include "app/AppState.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"

namespace {
constexpr int kQuitNormalClose = 1;

// The restored (not maximised) rectangle in screen coordinates: the placement's normal
// position is relative to the work area of the window's monitor.
RECT NormalWindowRect(HWND wnd) {
  WINDOWPLACEMENT placement{sizeof(placement)};
  RECT rc{};
  if (!::GetWindowPlacement(wnd, &placement)) {
    ::GetWindowRect(wnd, &rc);
    return rc;
  }
  rc = placement.rcNormalPosition;
  MONITORINFO mi{sizeof(mi)};
  if (::GetMonitorInfoW(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &mi))
    ::OffsetRect(&rc, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
  return rc;
}
}  // namespace

CMainFrame::CMainFrame() { LoadWindowLayout(layout_); }

HWND CMainFrame::CreateMainWindow() {
  const std::wstring title = LoadResString(IDS_APP_TITLE);
  return Create(nullptr, &layout_.WindowRect, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
}

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  g_AppState.MainWindow = m_hWnd;
  return 0;
}

LRESULT CMainFrame::OnClose(UINT, WPARAM, LPARAM, BOOL& handled) {
  const bool minimized = IsIconic();
  layout_.Maximized = IsZoomed() ? 1 : 0;
  ShowWindow(SW_HIDE);
  if (minimized) {
    // A minimised window has no position worth keeping: the stored layout stays.
    SaveWindowLayout(nullptr);
  } else {
    layout_.WindowRect = NormalWindowRect(m_hWnd);
    ClampRectToVirtualScreen(layout_.WindowRect);
    SaveWindowLayout(&layout_);
  }
  handled = FALSE;  // the default processing destroys the window
  return 0;
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
  g_AppState.MainWindow = nullptr;
  ::PostQuitMessage(kQuitNormalClose);
  return 0;
}
