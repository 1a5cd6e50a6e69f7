#include "viewing/CFontSheetChildFrame.h"

CFontSheetChildFrame::CFontSheetChildFrame(const FontItem& font, bool pageMode, HICON icon)
    : CToolFrameChildImpl(icon), view_(100) {
  view_.SetFont(font);
  view_.SetUnboundedPage(!pageMode);
}

LRESULT CFontSheetChildFrame::OnCreate(CREATESTRUCTW*) {
  if (!view_.Create(m_hWnd)) return -1;
  m_hWndClient = view_.m_hWnd;
  UpdateLayout();
  TakeOwnership();
  return 0;
}

LRESULT CFontSheetChildFrame::OnForwardMsg(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (!msg || !view_.IsWindow() || msg->message != WM_MOUSEWHEEL) return FALSE;
  if (::GetActiveWindow() != ::GetAncestor(m_hWnd, GA_ROOT)) return FALSE;
  view_.SendMessage(WM_MOUSEWHEEL, msg->wParam, msg->lParam);
  return TRUE;
}
