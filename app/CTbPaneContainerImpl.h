// CTbPaneContainerImpl<T>: a pane of the main window. A caption band across the top shows a
// title, a small flat toolbar sits at the right end of that band, and one client window fills
// the rest. Toolbar commands go on to the pane's parent with the pane as lParam, so that what a
// pane leaves unhandled reaches the main frame through the splitters.
//
// T may provide, and hides the template's versions of:
//   void AddButtons()                       adds its toolbar buttons (WM_CREATE)
//   void OnPaneCreated()                    runs once the caption height is known
//   int CaptionExtra() const                4, or 0 for a pane whose caption is not padded
//   std::wstring CaptionText() const        the text painted in the caption band
//   size_t CaptionHead() const              characters at its start kept whole (a size)
//   size_t CaptionTail() const              characters at its end kept whole (the counts)
//   COLORREF CaptionColor() const           the text colour
//   int CaptionLeft() const                 where the band starts (the sample pane's up-down)
//   int TextBottom() const                  bottom of the text rectangle (0: the band's bottom)
//   bool HasSortIcon() const                the band shows a list's sort order (a picture)
//   void DrawSortIcon(HDC, int left, int top)  draws it
//   void DrawCaptionContent(HDC, const RECT& band)  draws over the band after its text
//
// The caption text is laid out by LayOutPaneCaption: when it does not fit, its title is
// shortened, never its kept head and tail, and the sort icon moves from the middle of the band
// to just after the text.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/PaneCaptionLayout.h"
#include "app/PaneSortOrder.h"
#include "framework/CustomDraw.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/TrackPopupMenuOnMonitor.h"
#include "framework/WindowImpl.h"

constexpr DWORD kPaneStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kPaneToolbarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                    TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
static_assert(kPaneStyle == 0x56000000);
static_assert(kPaneToolbarStyle == 0x5600094C);

// The message font of the system's non-client metrics, for pane captions.
[[nodiscard]] orv::ScopedFont CreatePaneCaptionFont();

// Caption height from the caption font's height and the toolbar image height.
[[nodiscard]] constexpr int PaneCaptionHeight(int fontHeight, int imageHeight, int extra) {
  const int h = fontHeight < 0 ? -fontHeight : fontHeight;
  const int byText = h + 10, byImages = imageHeight + 11;
  return (byText > byImages ? byText : byImages) + extra;
}

template <typename T>
class CTbPaneContainerImpl : public orv::CWindowImpl<T>, public orv::CCustomDraw<T> {
public:
  static DWORD GetDefaultStyle(HWND) { return kPaneStyle; }

  HWND m_hWndToolBar = nullptr;
  HWND m_hWndClient = nullptr;
  bool m_bNoToolbar = false;
  // The toolbar's pictures: 16 pixels at 96 DPI, larger at higher densities.
  int m_cxImage = orv::ScreenPictureSize();
  int m_cyImage = orv::ScreenPictureSize();
  int m_cxToolBar = 0;
  int m_cyCaption = 0;
  std::wstring m_caption;
  size_t m_captionHead = 0;  // characters of m_caption kept whole at its start
  size_t m_captionTail = 0;  // and at its end

  const std::wstring& GetCaption() const { return m_caption; }
  void SetCaption(const std::wstring& text, size_t keepHead = 0, size_t keepTail = 0) {
    m_caption = text;
    m_captionHead = keepHead;
    m_captionTail = keepTail;
    if (this->m_hWnd) this->Invalidate();
  }
  // The caption as the last paint laid it out: its text and where the sort icon went (-1: none).
  const PaneCaptionLayout& ShownCaption() const { return shownCaption_; }

  void SetClient(HWND client) {
    m_hWndClient = client;
    UpdateLayout();
  }

  LRESULT AddToolbarButton(int image, int command, BYTE style, BYTE state, INT_PTR string = 0, int width = 0) {
    TBBUTTON button{image, command, state, style, {}, 0, string};
    const LRESULT added = ::SendMessageW(m_hWndToolBar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    m_cxToolBar += (width ? width : m_cxImage) + 7;
    if (width) {
      TBBUTTONINFOW info{sizeof(info)};
      info.dwMask = TBIF_SIZE;
      info.cx = static_cast<WORD>(width + 7);
      ::SendMessageW(m_hWndToolBar, TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
    }
    return added;
  }
  void EnableButton(int command, bool enable) const {
    if (m_hWndToolBar) ::SendMessageW(m_hWndToolBar, TB_ENABLEBUTTON, command, MAKELPARAM(enable ? TRUE : FALSE, 0));
  }
  void ShowButton(int command, bool show) const {
    if (m_hWndToolBar) ::SendMessageW(m_hWndToolBar, TB_HIDEBUTTON, command, MAKELPARAM(show ? FALSE : TRUE, 0));
  }
  [[nodiscard]] bool IsButtonEnabled(int command) const {
    return m_hWndToolBar && ::SendMessageW(m_hWndToolBar, TB_ISBUTTONENABLED, command, 0) != 0;
  }

  // Where the toolbar starts in the pane (the pane's right edge when it has none).
  int ToolbarLeft() const {
    RECT rc{};
    if (this->m_hWnd) this->GetClientRect(&rc);
    return m_hWndToolBar ? rc.right - m_cxToolBar - 3 : rc.right;
  }

  void AddToolbarSeparator() {
    TBBUTTON button{0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0};
    ::SendMessageW(m_hWndToolBar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    m_cxToolBar += 9;
  }

  void UpdateLayout() {
    RECT rc{};
    if (this->m_hWnd) this->GetClientRect(&rc);
    UpdateLayout(rc.right, rc.bottom);
  }
  void UpdateLayout(int cx, int cy) {
    if (m_hWndToolBar)
      ::SetWindowPos(m_hWndToolBar, nullptr, cx - m_cxToolBar - 3, 3, m_cxToolBar, m_cyImage + 7,
                     SWP_NOACTIVATE | SWP_NOZORDER);
    if (m_hWndClient) {
      const int h = cy - m_cyCaption;
      ::SetWindowPos(m_hWndClient, nullptr, 0, m_cyCaption, cx, h > 0 ? h : 0, SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (this->m_hWnd) this->Invalidate();
  }

  // Opens a menu of the client window, owned by it so that the chosen command goes to it: at
  // the cursor when the client asked for it (`source`), else at the client's top-right corner.
  void TrackClientMenu(HMENU menu, HWND source) const {
    if (!m_hWndClient) return;
    POINT pt{};
    UINT flags = TPM_LEFTBUTTON | TPM_RIGHTBUTTON;
    if (source == m_hWndClient) {
      ::GetCursorPos(&pt);
      flags |= TPM_LEFTALIGN;
    } else {
      RECT rc{};
      ::GetWindowRect(m_hWndClient, &rc);
      pt = {rc.right, rc.top};
      flags |= TPM_RIGHTALIGN;
    }
    orv::TrackPopupMenuOnMonitor(menu, flags, pt, m_hWndClient);
  }

  // For panes whose client handles its own notifications: those from the client go back to it
  // before the template forwards the rest to the parent.
  LRESULT ReflectClientNotifications(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (!m_hWndClient || reinterpret_cast<NMHDR*>(lParam)->hwndFrom != m_hWndClient) {
      handled = FALSE;
      return 0;
    }
    return this->ReflectNotifications(msg, wParam, lParam, handled);
  }

  HFONT GetTitleFont() {
    if (!titleFont_) titleFont_ = CreatePaneCaptionFont();
    return titleFont_.Get();
  }

  // Hooks with their defaults.
  void AddButtons() {}
  void OnPaneCreated() {}
  int CaptionExtra() const { return 4; }
  std::wstring CaptionText() const { return m_caption; }
  size_t CaptionHead() const { return m_captionHead; }
  size_t CaptionTail() const { return m_captionTail; }
  COLORREF CaptionColor() const { return ::GetSysColor(COLOR_WINDOWTEXT); }
  int CaptionLeft() const { return 0; }
  int TextBottom() const { return 0; }
  bool HasSortIcon() const { return false; }
  void DrawSortIcon(HDC, int, int) {}
  bool FlatCaption() const { return true; }
  void DrawCaptionContent(HDC, const RECT&) {}

  DWORD OnPrePaint(int, NMCUSTOMDRAW* cd) {
    // The flat toolbar is transparent and this pane paints no background for it: the room
    // beyond the last shown button would keep whatever was there.
    RECT rc{};
    ::GetClientRect(cd->hdr.hwndFrom, &rc);
    ::FillRect(cd->hdc, &rc, ::GetSysColorBrush(COLOR_3DFACE));
    return CDRF_NOTIFYITEMDRAW;
  }
  DWORD OnItemPrePaint(int, NMCUSTOMDRAW* cd) {
    ::FillRect(cd->hdc, &cd->rc, ::GetSysColorBrush(COLOR_3DFACE));
    return CDRF_NOTIFYPOSTPAINT;
  }

  BEGIN_MSG_MAP(CTbPaneContainerImpl)
    MESSAGE_HANDLER(WM_CREATE, OnPaneCreate)
    MESSAGE_HANDLER(WM_SIZE, OnPaneSize)
    MESSAGE_HANDLER(WM_SETFOCUS, OnPaneSetFocus)
    MESSAGE_HANDLER(WM_PAINT, OnPanePaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnPaneEraseBackground)
    MESSAGE_HANDLER(WM_NOTIFY, OnPaneNotify)
    MESSAGE_HANDLER(WM_COMMAND, OnPaneCommand)
    FORWARD_NOTIFICATIONS()
  END_MSG_MAP()

private:
  T* Self() { return static_cast<T*>(this); }

  LRESULT OnPaneCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    m_cxToolBar = 0;
    if (!m_bNoToolbar) {
      m_hWndToolBar = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, kPaneToolbarStyle, 0, 0, 0, 0, this->m_hWnd,
                                        nullptr, nullptr, nullptr);
      if (m_hWndToolBar) {
        ::SendMessageW(m_hWndToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        ::SendMessageW(m_hWndToolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(m_cxImage, m_cyImage));
        ::SendMessageW(m_hWndToolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(m_cxImage + 7, m_cyImage + 7));
        Self()->AddButtons();
      }
    }
    LOGFONTW lf{};
    ::GetObjectW(GetTitleFont(), sizeof(lf), &lf);
    m_cyCaption = PaneCaptionHeight(lf.lfHeight, m_cyImage, Self()->CaptionExtra());
    Self()->OnPaneCreated();
    return 0;
  }

  LRESULT OnPaneSize(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    UpdateLayout(LOWORD(lParam), HIWORD(lParam));
    handled = FALSE;
    return 0;
  }

  LRESULT OnPaneSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_hWndClient) ::SetFocus(m_hWndClient);
    return 0;
  }

  LRESULT OnPaneEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

  LRESULT OnPanePaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps{};
    HDC dc = ::BeginPaint(this->m_hWnd, &ps);
    RECT client{};
    this->GetClientRect(&client);
    RECT band = client;
    band.left += Self()->CaptionLeft();
    band.bottom = band.top + m_cyCaption;
    ::DrawEdge(dc, &band, EDGE_ETCHED, BF_LEFT | BF_TOP | BF_RIGHT | BF_ADJUST | (Self()->FlatCaption() ? BF_FLAT : 0));
    ::FillRect(dc, &band, ::GetSysColorBrush(COLOR_3DFACE));

    ::SetTextColor(dc, Self()->CaptionColor());
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, GetTitleFont());
    RECT text = band;
    text.left = client.left + Self()->CaptionLeft() + 4;
    text.right = band.right - 4;
    if (m_hWndToolBar) text.right -= m_cxToolBar + 4;
    if (const int bottom = Self()->TextBottom()) text.bottom = bottom;
    const bool icon = Self()->HasSortIcon();
    shownCaption_ = LayOutPaneCaption(dc, Self()->CaptionText(), Self()->CaptionHead(), Self()->CaptionTail(),
                                      text.left, text.right, icon ? SortOrderIconSize() : 0, SortOrderIconGap(),
                                      client.left + SortOrderIconLeft(client.right - client.left, ToolbarLeft()));
    // The ellipsis only for the last resort, kept parts wider than the band.
    ::DrawTextW(dc, shownCaption_.text.c_str(), static_cast<int>(shownCaption_.text.size()), &text,
                DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    ::SelectObject(dc, oldFont);
    if (icon && shownCaption_.iconLeft >= 0) Self()->DrawSortIcon(dc, shownCaption_.iconLeft, band.top);
    Self()->DrawCaptionContent(dc, band);

    if (!m_hWndClient) {
      RECT rest = client;
      rest.top = m_cyCaption;
      if (!(this->GetExStyle() & WS_EX_CLIENTEDGE)) ::DrawEdge(dc, &rest, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
      ::FillRect(dc, &rest, ::GetSysColorBrush(COLOR_APPWORKSPACE));
    }
    ::EndPaint(this->m_hWnd, &ps);
    return 0;
  }

  LRESULT OnPaneNotify(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!m_hWndToolBar || hdr->hwndFrom != m_hWndToolBar || hdr->code == TTN_GETDISPINFOW) {
      handled = FALSE;  // on to the parent
      return 0;
    }
    if (hdr->code == NM_CUSTOMDRAW) {
      BOOL drawn = TRUE;
      const LRESULT result = this->OnCustomDraw(static_cast<int>(wParam), hdr, drawn);
      if (drawn) return result;
      return ::SendMessageW(this->GetParent(), msg, wParam, lParam);
    }
    return 0;
  }

  LRESULT OnPaneCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (m_hWndToolBar && reinterpret_cast<HWND>(lParam) == m_hWndToolBar)
      return ::SendMessageW(this->GetParent(), msg, wParam, reinterpret_cast<LPARAM>(this->m_hWnd));
    handled = FALSE;
    return 0;
  }

  orv::ScopedFont titleFont_;
  PaneCaptionLayout shownCaption_;
};
