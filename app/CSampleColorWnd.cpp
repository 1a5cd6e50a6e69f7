#include "app/CSampleColorWnd.h"

#include "framework/Handles.h"

void CSampleColorWnd::SetColors(COLORREF text, COLORREF background) {
  text_ = text;
  background_ = background;
  if (m_hWnd) {
    Invalidate();
    UpdateWindow();
  }
}

LRESULT CSampleColorWnd::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
  orv::ScopedPaint paint(m_hWnd);
  HDC dc = paint.Get();
  RECT rc{};
  GetClientRect(&rc);
  orv::ScopedBrush brush(::CreateSolidBrush(background_));
  ::FillRect(dc, &rc, brush.Get());
  orv::ScopedSelectObject font(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, text_);
  const std::wstring text = GetWindowText();
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  return 0;
}
