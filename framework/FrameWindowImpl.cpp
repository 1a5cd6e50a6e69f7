#include "framework/FrameWindowImpl.h"

#include "framework/AppModule.h"
#include "framework/CommandBarCtrl.h"
#include "framework/ToolbarResource.h"
#include "framework/TrackPopupMenuOnMonitor.h"

#include <algorithm>
#include <utility>

namespace orv {

namespace {

// Shown by its own style: the bars are laid out in WM_CREATE, before the frame itself is visible.
bool HasVisibleStyle(HWND wnd) {
  return wnd && (::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

constexpr int kMaxCommandString = 256;
constexpr int kMaxButtonText = 128;

// A toolbar control, or one of our own windows built on the toolbar class (a command bar).
bool IsToolBar(HWND wnd) {
  wchar_t cls[64]{};
  if (!::GetClassNameW(wnd, cls, 64)) return false;
  if (::CompareStringOrdinal(cls, -1, TOOLBARCLASSNAMEW, -1, TRUE) == CSTR_EQUAL) return true;
  const CWindowImplRoot* own = CWindowImplRoot::FromHandle(wnd);
  WNDCLASSEXW toolbar{sizeof(toolbar)};
  return own && ::GetClassInfoExW(nullptr, TOOLBARCLASSNAMEW, &toolbar) && own->GetSuperWindowProc() == toolbar.lpfnWndProc;
}

// The width and height a toolbar needs to show all of its buttons on one row.
SIZE ToolBarExtent(HWND tb) {
  SIZE size{};
  const int count = static_cast<int>(::SendMessageW(tb, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT rc{};
    if (!::SendMessageW(tb, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc))) continue;
    size.cx = std::max<LONG>(size.cx, rc.right);
    size.cy = std::max<LONG>(size.cy, rc.bottom);
  }
  if (size.cy == 0) size.cy = HIWORD(::SendMessageW(tb, TB_GETBUTTONSIZE, 0, 0));
  return size;
}

}  // namespace

std::wstring CFrameWindowImplBase::LoadCommandString(UINT id, bool tooltipPart) {
  wchar_t buffer[kMaxCommandString]{};
  const int len = ::LoadStringW(g_Module.GetResourceInstance(), id, buffer, kMaxCommandString);
  if (len <= 0) return {};
  std::wstring text(buffer, static_cast<size_t>(len));
  const size_t newline = text.find(L'\n');
  if (tooltipPart) return newline == std::wstring::npos ? std::wstring() : text.substr(newline + 1);
  return newline == std::wstring::npos ? text : text.substr(0, newline);
}

HWND CFrameWindowImplBase::CreateFrameImpl(CWndClassInfo& info, UINT resourceId, HWND parent, const RECT* rect,
                                           DWORD style, DWORD exStyle, void* param) {
  const HINSTANCE res = g_Module.GetResourceInstance();
  wchar_t title[kMaxCommandString]{};
  ::LoadStringW(res, resourceId, title, kMaxCommandString);
  ScopedMenu menu(::LoadMenuW(res, MAKEINTRESOURCEW(resourceId)));
  m_hAccel = ::LoadAcceleratorsW(res, MAKEINTRESOURCEW(resourceId));
  HWND wnd = CreateImpl(info, parent, rect, title, style, exStyle, menu.Get(), param);
  if (!wnd) return nullptr;
  // The window owns its menu now (unless a command bar took it over during WM_CREATE).
  (void)menu.Release();
  const int bigX = ::GetSystemMetrics(SM_CXICON), bigY = ::GetSystemMetrics(SM_CYICON);
  const int smallX = ::GetSystemMetrics(SM_CXSMICON), smallY = ::GetSystemMetrics(SM_CYSMICON);
  bigIcon_ = g_Module.LoadResourceIcon(resourceId, bigX, bigY);
  smallIcon_ = g_Module.LoadResourceIcon(resourceId, smallX, smallY);
  if (bigIcon_) ::SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
  if (smallIcon_) ::SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  return wnd;
}

HWND CFrameWindowImplBase::CreateSimpleToolBarCtrl(HWND parent, UINT resourceId, bool initialSeparator, DWORD style,
                                                   UINT id) {
  const HINSTANCE res = g_Module.GetResourceInstance();
  const std::optional<ToolbarResource> data = LoadToolbarResource(res, resourceId);
  if (!data) return nullptr;
  return CreateToolBarCtrl(parent, *data, LoadToolbarImageList(res, resourceId, data->ImageWidth, data->ImageHeight),
                           initialSeparator, style, id);
}

HWND CFrameWindowImplBase::CreateToolBarCtrl(HWND parent, const ToolbarResource& data, ScopedImageList images,
                                             bool initialSeparator, DWORD style, UINT id) {
  std::vector<TBBUTTON> buttons;
  if (initialSeparator) buttons.push_back(TBBUTTON{0, 0, 0, BTNS_SEP, {}, 0, 0});
  int image = 0;
  for (WORD cmd : data.Items) {
    if (cmd == 0) {
      buttons.push_back(TBBUTTON{0, 0, 0, BTNS_SEP, {}, 0, 0});
    } else {
      buttons.push_back(TBBUTTON{image++, cmd, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1});
    }
  }
  HWND tb = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 100, 100, parent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), g_Module.GetModuleInstance(), nullptr);
  if (!tb) return nullptr;
  ::SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // The images may have been scaled to the screen's density.
  int imageWidth = data.ImageWidth, imageHeight = data.ImageHeight;
  if (images) ::ImageList_GetIconSize(images.Get(), &imageWidth, &imageHeight);
  ::SendMessageW(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageWidth, imageHeight));
  if (images) {
    ScopedImageList disabled = SetToolbarImages(tb, images.Get());
    imageLists_.push_back(std::move(images));
    if (disabled) imageLists_.push_back(std::move(disabled));
  }
  if (!buttons.empty())
    ::SendMessageW(tb, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  ::SendMessageW(tb, TB_AUTOSIZE, 0, 0);
  return tb;
}

bool CFrameWindowImplBase::CreateSimpleToolBar(UINT resourceId, DWORD style, UINT id) {
  if (m_hWndToolBar) return false;
  m_hWndToolBar = CreateSimpleToolBarCtrl(m_hWnd, resourceId, true, style & ~(CCS_NOPARENTALIGN | CCS_NORESIZE), id);
  return m_hWndToolBar != nullptr;
}

HWND CFrameWindowImplBase::CreateSimpleReBarCtrl(HWND parent, DWORD style, UINT id) {
  HWND rebar = ::CreateWindowExW(WS_EX_TOOLWINDOW, REBARCLASSNAMEW, nullptr, style, 0, 0, 100, 100, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), g_Module.GetModuleInstance(),
                                 nullptr);
  if (!rebar) return nullptr;
  REBARINFO info{sizeof(info)};  // no image list
  ::SendMessageW(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  return rebar;
}

bool CFrameWindowImplBase::CreateSimpleReBar(DWORD style, UINT id) {
  if (m_hWndToolBar) return false;
  m_hWndToolBar = CreateSimpleReBarCtrl(m_hWnd, style, id);
  return m_hWndToolBar != nullptr;
}

bool CFrameWindowImplBase::AddSimpleReBarBandCtrl(HWND rebar, HWND child, const wchar_t* title, bool newRow, int cx,
                                                  bool fullWidthAlways) {
  if (!rebar || !child) return false;
  const UINT index = static_cast<UINT>(::SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0));
  const bool toolbar = IsToolBar(child);
  const int buttons = toolbar ? static_cast<int>(::SendMessageW(child, TB_BUTTONCOUNT, 0, 0)) : 0;

  REBARBANDINFOW band{sizeof(band)};
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE | RBBIM_IDEALSIZE;
  band.fStyle = RBBS_CHILDEDGE;
  if (buttons > 0) band.fStyle |= RBBS_USECHEVRON;
  if (newRow) band.fStyle |= RBBS_BREAK;
  if (title && *title) {
    band.fMask |= RBBIM_TEXT;
    band.lpText = const_cast<wchar_t*>(title);
  }
  band.hwndChild = child;
  band.wID = kIdFirstReBarBand + index;

  RECT rc{};
  ::GetWindowRect(child, &rc);
  SIZE extent{rc.right - rc.left, rc.bottom - rc.top};
  if (buttons > 0) {
    extent = ToolBarExtent(child);
    RECT first{};
    ::SendMessageW(child, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    band.cxMinChild = fullWidthAlways ? extent.cx : first.right;
  } else {
    band.cxMinChild = fullWidthAlways ? extent.cx : 0;
  }
  band.cyMinChild = extent.cy;
  band.cxIdeal = static_cast<UINT>(extent.cx);
  band.cx = cx > 0 ? static_cast<UINT>(cx) : static_cast<UINT>(extent.cx);

  if (!::SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band))) return false;
  if (toolbar) {
    const LRESULT ex = ::SendMessageW(child, TB_GETEXTENDEDSTYLE, 0, 0);
    ::SendMessageW(child, TB_SETEXTENDEDSTYLE, 0, ex | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
  }
  return true;
}

bool CFrameWindowImplBase::ShowReBarBand(HWND rebar, UINT bandId, bool show) {
  const LRESULT index = ::SendMessageW(rebar, RB_IDTOINDEX, bandId, 0);
  if (index < 0) return false;
  return ::SendMessageW(rebar, RB_SHOWBAND, static_cast<WPARAM>(index), show) != 0;
}

bool CFrameWindowImplBase::CreateSimpleStatusBar(const wchar_t* text, DWORD style, UINT id) {
  if (m_hWndStatusBar) return false;
  m_hWndStatusBar = ::CreateStatusWindowW(static_cast<LONG>(style), text ? text : L"", m_hWnd, id);
  return m_hWndStatusBar != nullptr;
}

bool CFrameWindowImplBase::CreateSimpleStatusBar(UINT textId, DWORD style, UINT id) {
  return CreateSimpleStatusBar(LoadCommandString(textId, false).c_str(), style, id);
}

void CFrameWindowImplBase::UpdateBarsPosition(RECT& rc, bool resizeBars) {
  if (HasVisibleStyle(m_hWndToolBar)) {
    if (resizeBars) {
      ::SendMessageW(m_hWndToolBar, WM_SIZE, 0, 0);
      ::InvalidateRect(m_hWndToolBar, nullptr, TRUE);
    }
    RECT bar{};
    ::GetWindowRect(m_hWndToolBar, &bar);
    rc.top += bar.bottom - bar.top;
  }
  if (HasVisibleStyle(m_hWndStatusBar)) {
    if (resizeBars) ::SendMessageW(m_hWndStatusBar, WM_SIZE, 0, 0);
    RECT bar{};
    ::GetWindowRect(m_hWndStatusBar, &bar);
    rc.bottom -= bar.bottom - bar.top;
  }
  if (rc.bottom < rc.top) rc.bottom = rc.top;
}

void CFrameWindowImplBase::UpdateLayout(bool resizeBars) {
  if (!m_hWnd) return;
  RECT rc{};
  ::GetClientRect(m_hWnd, &rc);
  UpdateBarsPosition(rc, resizeBars);
  if (m_hWndClient)
    ::SetWindowPos(m_hWndClient, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CFrameWindowImplBase::TranslateFrameAccelerator(MSG* msg) const {
  if (!m_hAccel || !m_hWnd || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  return ::TranslateAcceleratorW(m_hWnd, m_hAccel, msg) != 0;
}

LRESULT CFrameWindowImplBase::OnFrameSize(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != SIZE_MINIMIZED) UpdateLayout();
  handled = FALSE;
  return 0;
}

LRESULT CFrameWindowImplBase::OnFrameEraseBackground(UINT, WPARAM, LPARAM, BOOL& handled) {
  // The client window covers everything the bars leave: erasing under it only flickers.
  if (HasVisibleStyle(m_hWndClient)) return 1;
  handled = FALSE;
  return 0;
}

LRESULT CFrameWindowImplBase::OnFrameSetFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
  const HWND last = std::exchange(focusWhenInactive_, nullptr);
  if (last && ::IsChild(m_hWnd, last) && ::IsWindowVisible(last) && ::IsWindowEnabled(last)) {
    ::SetFocus(last);
    return 0;
  }
  if (HasVisibleStyle(m_hWndClient)) {
    ::SetFocus(m_hWndClient);
    return 0;
  }
  handled = FALSE;
  return 0;
}

// The system gives a reactivated frame the focus itself, which would hand it to the client's
// first pane: the child that had it is remembered as the frame goes inactive.
LRESULT CFrameWindowImplBase::OnFrameActivate(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  handled = FALSE;
  if (LOWORD(wParam) == WA_INACTIVE) {
    const HWND focus = ::GetFocus();
    focusWhenInactive_ = focus && ::IsChild(m_hWnd, focus) ? focus : nullptr;
  }
  return 0;
}

LRESULT CFrameWindowImplBase::OnFrameMenuSelect(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  if (!m_hWndStatusBar) return 0;
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF && lParam == 0) {  // the menu closed
    if (menuHelpShown_) ::SendMessageW(m_hWndStatusBar, SB_SIMPLE, FALSE, 0);
    menuHelpShown_ = false;
    return 0;
  }
  std::wstring text;
  if (!(flags & (MF_POPUP | MF_SEPARATOR))) text = LoadCommandString(LOWORD(wParam), false);
  ::SendMessageW(m_hWndStatusBar, SB_SIMPLE, TRUE, 0);
  ::SendMessageW(m_hWndStatusBar, SB_SETTEXTW, SB_SIMPLEID | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text.c_str()));
  menuHelpShown_ = true;
  return 0;
}

LRESULT CFrameWindowImplBase::OnReBarAutoSize(int, NMHDR* hdr, BOOL& handled) {
  if (hdr->hwndFrom != m_hWndToolBar) {
    handled = FALSE;
    return 0;
  }
  UpdateLayout(false);
  return 0;
}

ScopedMenu CFrameWindowImplBase::BuildChevronMenu(HWND tb) {
  ScopedMenu menu(::CreatePopupMenu());
  if (!menu || !tb) return menu;
  RECT visible{};
  ::GetClientRect(tb, &visible);
  // A command bar's clipped buttons become its popups (borrowed: see ReleaseBorrowedPopups).
  const auto* commandBar = dynamic_cast<const CCommandBarCtrl*>(CWindowImplRoot::FromHandle(tb));
  const int count = static_cast<int>(::SendMessageW(tb, TB_BUTTONCOUNT, 0, 0));
  bool lastWasSeparator = true;
  for (int i = 0; i < count; ++i) {
    TBBUTTON btn{};
    RECT rc{};
    if (!::SendMessageW(tb, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&btn))) continue;
    if (btn.fsState & TBSTATE_HIDDEN) continue;
    ::SendMessageW(tb, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc));
    if (rc.right <= visible.right) continue;  // shown on the band itself
    if (btn.fsStyle & BTNS_SEP) {
      if (!lastWasSeparator) ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
      lastWasSeparator = true;
      continue;
    }
    UINT flags = MF_STRING;
    if (!(btn.fsState & TBSTATE_ENABLED)) flags |= MF_GRAYED;
    if (btn.fsState & TBSTATE_CHECKED) flags |= MF_CHECKED;
    if (commandBar && commandBar->GetMenu()) {
      wchar_t text[kMaxButtonText]{};
      HMENU popup = ::GetSubMenu(commandBar->GetMenu(), i);
      if (!popup) continue;
      ::GetMenuStringW(commandBar->GetMenu(), static_cast<UINT>(i), text, kMaxButtonText, MF_BYPOSITION);
      ::AppendMenuW(menu.Get(), flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text);
      lastWasSeparator = false;
      continue;
    }
    std::wstring text = LoadCommandString(static_cast<UINT>(btn.idCommand), true);
    if (text.empty()) {
      wchar_t buffer[kMaxButtonText]{};
      if (::SendMessageW(tb, TB_GETBUTTONTEXTW, static_cast<WPARAM>(btn.idCommand), 0) < kMaxButtonText)
        ::SendMessageW(tb, TB_GETBUTTONTEXTW, static_cast<WPARAM>(btn.idCommand), reinterpret_cast<LPARAM>(buffer));
      text = buffer;
    }
    ::AppendMenuW(menu.Get(), flags, static_cast<UINT_PTR>(btn.idCommand), text.c_str());
    lastWasSeparator = false;
  }
  // No separator at the end.
  const int items = ::GetMenuItemCount(menu.Get());
  if (items > 0 && (::GetMenuState(menu.Get(), static_cast<UINT>(items - 1), MF_BYPOSITION) & MF_SEPARATOR))
    ::DeleteMenu(menu.Get(), static_cast<UINT>(items - 1), MF_BYPOSITION);
  return menu;
}

void CFrameWindowImplBase::ReleaseBorrowedPopups(HMENU menu) {
  for (int i = ::GetMenuItemCount(menu) - 1; i >= 0; --i)
    if (::GetSubMenu(menu, i)) ::RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
}

LRESULT CFrameWindowImplBase::OnReBarChevronPushed(int, NMHDR* hdr, BOOL& handled) {
  auto* chevron = reinterpret_cast<NMREBARCHEVRON*>(hdr);
  REBARBANDINFOW band{sizeof(band)};
  band.fMask = RBBIM_CHILD;
  if (!::SendMessageW(hdr->hwndFrom, RB_GETBANDINFOW, chevron->uBand, reinterpret_cast<LPARAM>(&band)) ||
      !band.hwndChild || !IsToolBar(band.hwndChild)) {
    handled = FALSE;
    return 0;
  }
  HWND tb = band.hwndChild;
  ScopedMenu menu = BuildChevronMenu(tb);
  if (!menu || ::GetMenuItemCount(menu.Get()) == 0) return 0;
  RECT rc = chevron->rc;
  ::MapWindowPoints(hdr->hwndFrom, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  // Notifications on: the frame's update-UI sets the states of borrowed popups as they open, and
  // the pictures of their items are drawn for the frame while the menu is open.
  const UINT cmd = static_cast<UINT>(TrackPopupMenuOnMonitor(
      menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD, POINT{rc.left, rc.bottom}, m_hWnd, &rc));
  ReleaseBorrowedPopups(menu.Get());
  if (cmd) ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(cmd, 0), reinterpret_cast<LPARAM>(tb));
  return 0;
}

LRESULT CFrameWindowImplBase::OnToolTipText(int, NMHDR* hdr, BOOL& handled) {
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
  if (info->uFlags & TTF_IDISHWND) {
    handled = FALSE;
    return 0;
  }
  tooltip_ = LoadCommandString(static_cast<UINT>(hdr->idFrom), true);
  if (tooltip_.empty()) {
    handled = FALSE;
    return 0;
  }
  info->lpszText = tooltip_.data();
  info->hinst = nullptr;
  return 0;
}

}  // namespace orv
