// CWindow: a thin, copyable view of an HWND with the calls the program makes on windows.
// It owns nothing; destroying a window is always explicit.
#pragma once

#include <windows.h>
#include <string>

namespace orv {

class CWindow {
public:
  CWindow(HWND wnd = nullptr) noexcept : m_hWnd(wnd) {}
  CWindow& operator=(HWND wnd) noexcept {
    m_hWnd = wnd;
    return *this;
  }
  operator HWND() const noexcept { return m_hWnd; }

  void Attach(HWND wnd) noexcept { m_hWnd = wnd; }
  HWND Detach() noexcept {
    HWND w = m_hWnd;
    m_hWnd = nullptr;
    return w;
  }

  bool IsWindow() const noexcept { return m_hWnd && ::IsWindow(m_hWnd); }
  bool DestroyWindow() noexcept {
    if (!m_hWnd) return false;
    const bool ok = ::DestroyWindow(m_hWnd) != FALSE;
    m_hWnd = nullptr;
    return ok;
  }

  LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const noexcept {
    return ::SendMessageW(m_hWnd, msg, wp, lp);
  }
  bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const noexcept {
    return ::PostMessageW(m_hWnd, msg, wp, lp) != FALSE;
  }

  bool ShowWindow(int cmd) const noexcept { return ::ShowWindow(m_hWnd, cmd) != FALSE; }
  bool IsWindowVisible() const noexcept { return ::IsWindowVisible(m_hWnd) != FALSE; }
  bool IsIconic() const noexcept { return ::IsIconic(m_hWnd) != FALSE; }
  bool IsZoomed() const noexcept { return ::IsZoomed(m_hWnd) != FALSE; }
  bool EnableWindow(bool enable = true) const noexcept { return ::EnableWindow(m_hWnd, enable) != FALSE; }
  bool IsWindowEnabled() const noexcept { return ::IsWindowEnabled(m_hWnd) != FALSE; }
  HWND SetFocus() const noexcept { return ::SetFocus(m_hWnd); }
  HWND GetParent() const noexcept { return ::GetParent(m_hWnd); }
  HWND GetDlgItem(int id) const noexcept { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const noexcept { return ::GetDlgCtrlID(m_hWnd); }

  bool GetWindowRect(RECT* rc) const noexcept { return ::GetWindowRect(m_hWnd, rc) != FALSE; }
  bool GetClientRect(RECT* rc) const noexcept { return ::GetClientRect(m_hWnd, rc) != FALSE; }
  bool MoveWindow(const RECT& rc, bool repaint = true) const noexcept {
    return ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint) != FALSE;
  }
  bool SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const noexcept {
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) != FALSE;
  }
  bool Invalidate(bool erase = true) const noexcept { return ::InvalidateRect(m_hWnd, nullptr, erase) != FALSE; }
  bool UpdateWindow() const noexcept { return ::UpdateWindow(m_hWnd) != FALSE; }
  void SetRedraw(bool redraw) const noexcept { ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }

  bool SetWindowText(const wchar_t* text) const noexcept { return ::SetWindowTextW(m_hWnd, text) != FALSE; }
  std::wstring GetWindowText() const {
    const int len = ::GetWindowTextLengthW(m_hWnd);
    std::wstring s(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
    const int got = ::GetWindowTextW(m_hWnd, s.data(), static_cast<int>(s.size()));
    s.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return s;
  }
  bool SetDlgItemText(int id, const wchar_t* text) const noexcept { return ::SetDlgItemTextW(m_hWnd, id, text) != FALSE; }

  LONG_PTR GetWindowLongPtr(int index) const noexcept { return ::GetWindowLongPtrW(m_hWnd, index); }
  DWORD GetStyle() const noexcept { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const noexcept { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
  bool ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0) const noexcept {
    return ModifyStyleBits(GWL_STYLE, remove, add, swpFlags);
  }
  bool ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0) const noexcept {
    return ModifyStyleBits(GWL_EXSTYLE, remove, add, swpFlags);
  }

  UINT_PTR SetTimer(UINT_PTR id, UINT ms) const noexcept { return ::SetTimer(m_hWnd, id, ms, nullptr); }
  bool KillTimer(UINT_PTR id) const noexcept { return ::KillTimer(m_hWnd, id) != FALSE; }

  bool CenterWindow(HWND around = nullptr) const noexcept;

  HWND m_hWnd;

private:
  bool ModifyStyleBits(int index, DWORD remove, DWORD add, UINT swpFlags) const noexcept;
};

inline bool CWindow::ModifyStyleBits(int index, DWORD remove, DWORD add, UINT swpFlags) const noexcept {
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, index));
  const DWORD next = (style & ~remove) | add;
  if (style == next) return false;
  ::SetWindowLongPtrW(m_hWnd, index, static_cast<LONG_PTR>(next));
  if (swpFlags)
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
  return true;
}

inline bool CWindow::CenterWindow(HWND around) const noexcept {
  RECT self{}, outer{};
  if (!GetWindowRect(&self)) return false;
  if (!around) around = ::GetWindow(m_hWnd, GW_OWNER);
  if (around) {
    ::GetWindowRect(around, &outer);
  } else {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &outer, 0);
  }
  const int w = self.right - self.left, h = self.bottom - self.top;
  const int x = outer.left + ((outer.right - outer.left) - w) / 2;
  const int y = outer.top + ((outer.bottom - outer.top) - h) / 2;
  return SetWindowPos(nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A child window's rectangle in its parent's client coordinates (empty when it is no window).
inline RECT RectInParent(HWND child) noexcept {
  RECT rc{};
  if (::GetWindowRect(child, &rc)) ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

// Takes a dialog's placeholder control away and gives the place it held in the dialog's client
// coordinates, for the window that is created there instead (empty when there is no such control).
inline RECT TakePlaceholder(HWND dialog, int id) noexcept {
  HWND placeholder = ::GetDlgItem(dialog, id);
  if (!placeholder) return RECT{};
  const RECT rc = RectInParent(placeholder);
  ::DestroyWindow(placeholder);
  return rc;
}

}  // namespace orv
