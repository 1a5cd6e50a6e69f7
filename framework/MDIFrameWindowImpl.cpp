#include "framework/MDIFrameWindowImpl.h"

#include "framework/AppModule.h"

namespace orv {

HWND CMDIFrameWindowBase::CreateMDIClient(HMENU windowMenu, UINT id, UINT firstChild) {
  if (m_hWndMDIClient) return m_hWndMDIClient;
  const DWORD scrollBars = GetStyle() & (WS_HSCROLL | WS_VSCROLL);
  if (scrollBars) ModifyStyle(scrollBars, 0, SWP_FRAMECHANGED);
  CLIENTCREATESTRUCT ccs{windowMenu, firstChild};
  m_hWndMDIClient = ::CreateWindowExW(kMDIClientExStyle, L"MDIClient", nullptr, kMDIClientStyle | scrollBars, 0, 0,
                                      100, 100, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                      g_Module.GetModuleInstance(), &ccs);
  return m_hWndMDIClient;
}

HWND CMDIFrameWindowBase::MDIGetActive(bool* maximized) const {
  BOOL zoomed = FALSE;
  HWND active = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                                        reinterpret_cast<LPARAM>(&zoomed)))
                                : nullptr;
  if (maximized) *maximized = active && zoomed;
  return active;
}

LRESULT CALLBACK CMDIFrameWindowBase::FrameDefProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  // Only frames of this kind get this procedure, and they are bound until after WM_NCDESTROY's
  // default processing.
  auto* self = static_cast<CMDIFrameWindowBase*>(CWindowImplRoot::FromHandle(wnd));
  return ::DefFrameProcW(wnd, self ? self->m_hWndMDIClient : nullptr, msg, wp, lp);
}

LRESULT CMDIFrameWindowBase::OnMDIFrameSize(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam != SIZE_MINIMIZED) {
    m_hWndClient = m_hWndMDIClient;
    UpdateLayout();
  }
  return 0;
}

void CMDIChildWindowBase::UpdateLayout() {
  if (!m_hWnd || !m_hWndClient) return;
  RECT rc{};
  ::GetClientRect(m_hWnd, &rc);
  ::SetWindowPos(m_hWndClient, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMDIChildWindowBase::OnMDIChildSize(UINT, WPARAM, LPARAM, BOOL&) {
  // The default processing keeps the frame's menu and caption in step with a maximised child.
  const LRESULT result = DefWindowProc();
  UpdateLayout();
  return result;
}

}  // namespace orv
