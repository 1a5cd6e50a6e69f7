#include "viewing/CTabbedToolFrame.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/HelpRequest.h"
#include "common/IconPopupMenu.h"
#include "common/RegistryValue.h"
#include "common/ResourceIds.h"
#include "framework/AppModule.h"
#include "framework/Dpi.h"
#include "framework/TrackPopupMenuOnMonitor.h"
#include "lists/FontListImages.h"

namespace {

constexpr REGSAM kRectKeyAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;

bool SameFont(const FontItem& a, const FontItem& b) {
  return (a.flags & font_flags::kTypeMask) == (b.flags & font_flags::kTypeMask) && EqualsNoCase(a.FullName(), b.FullName());
}

bool IsRectEmptyOrFlat(const RECT& rc) { return rc.right == rc.left; }

}  // namespace

CTabbedToolFrame::CTabbedToolFrame(HFONT tabFont, const RECT& savedRect, WORD closingId, const wchar_t* rectValue)
    : tabCtrl_(*this, kTabMapId), tabFont_(tabFont), savedRect_(savedRect), closingId_(closingId),
      rectValue_(rectValue) {}

CTabbedToolFrame::~CTabbedToolFrame() {
  // Deleted only once its windows are gone (after the main frame's ID_TOOL_WINDOW_CLOSED), with
  // the rectangle taken when the window was destroyed.
  if (!created_) return;
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, kRectKeyAccess);
  if (key) WriteRegBinary(key.Get(), rectValue_, &savedRect_, sizeof(savedRect_));
}

RECT CTabbedToolFrame::ReadSavedRect(const wchar_t* rectValue, const RECT& whenEmpty) {
  RECT rc{};
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (!key || !ReadRegBinaryExact(key.Get(), rectValue, &rc, sizeof(rc)) || IsRectEmptyOrFlat(rc)) {
    // The built-in rectangle is for 96 DPI; a stored one is taken as it was stored.
    rc = {orv::ScaleToScreenDpi(whenEmpty.left), orv::ScaleToScreenDpi(whenEmpty.top),
          orv::ScaleToScreenDpi(whenEmpty.right), orv::ScaleToScreenDpi(whenEmpty.bottom)};
  }
  ClampRectToVirtualScreen(rc);
  return rc;
}

bool CTabbedToolFrame::CreateTabbedClient() {
  created_ = true;
  if (!CreateMDIClient()) return false;
  HWND tab = ::CreateWindowExW(0, WC_TABCONTROLW, nullptr, kTabStyle, 0, 0, 100, 100, m_hWnd, nullptr,
                               orv::g_Module.GetModuleInstance(), nullptr);
  if (!tab) return false;
  tabCtrl_.SubclassWindow(tab);
  if (tabFont_) ::SendMessageW(tab, WM_SETFONT, reinterpret_cast<WPARAM>(tabFont_.Get()), FALSE);
  // The MDI client lies over the tab control's client area.
  ::SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (HANDLE icon = ::LoadImageW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(kFrameIcon), IMAGE_ICON, 0, 0,
                                 LR_DEFAULTSIZE | LR_SHARED))
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  if (savedRect_.right > savedRect_.left) MoveWindow(savedRect_);
  if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) {
    loop->AddMessageFilter(this);
    filterAdded_ = true;
  }
  LayoutTabs();
  return true;
}

LRESULT CTabbedToolFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  RECT rc{};
  if (GetWindowRect(&rc)) {
    ClampRectToVirtualScreen(rc);
    savedRect_ = rc;
  }
  if (filterAdded_) {
    if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) loop->RemoveMessageFilter(this);
    filterAdded_ = false;
  }
  // The children go after this: no tab may point at a child object that is gone.
  if (tabCtrl_.IsWindow()) ::SendMessageW(tabCtrl_, TCM_DELETEALLITEMS, 0, 0);
  return 0;
}

void CTabbedToolFrame::OnFinalMessage(HWND) {
  // Every window of the frame is gone now: the main frame may delete this object.
  if (g_AppState.MainWindow)
    ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_TOOL_WINDOW_CLOSED, static_cast<LPARAM>(closingId_));
}

int CTabbedToolFrame::TabCount() const {
  return tabCtrl_.IsWindow() ? static_cast<int>(::SendMessageW(tabCtrl_, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

int CTabbedToolFrame::CurrentTab() const {
  return tabCtrl_.IsWindow() ? static_cast<int>(::SendMessageW(tabCtrl_, TCM_GETCURSEL, 0, 0)) : -1;
}

CToolFrameChild* CTabbedToolFrame::GetTabChild(int index) const {
  if (!tabCtrl_.IsWindow()) return nullptr;
  if (index == -1) index = CurrentTab();
  if (index < 0) return nullptr;
  TCITEMW item{};
  item.mask = TCIF_PARAM;
  if (!::SendMessageW(tabCtrl_, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<CToolFrameChild*>(item.lParam);
}

int CTabbedToolFrame::FindTabOfChild(HWND child) const {
  if (!child) return -1;
  const int count = TabCount();
  for (int i = 0; i < count; ++i) {
    const CToolFrameChild* tab = GetTabChild(i);
    if (tab && tab->GetChildWindow() == child) return i;
  }
  return -1;
}

bool CTabbedToolFrame::ActivateFontTab(const FontItem& font) {
  const int count = TabCount();
  for (int i = 0; i < count; ++i) {
    const CToolFrameChild* tab = GetTabChild(i);
    if (!tab || !SameFont(tab->GetTabFont(), font)) continue;
    SelectTab(i);
    ActivateTabChild(i);
    return false;
  }
  return true;
}

void CTabbedToolFrame::ActivateTabChild(int index) {
  const CToolFrameChild* tab = GetTabChild(index);
  HWND child = tab ? tab->GetChildWindow() : nullptr;
  if (!child) return;
  MDIActivate(child);
  RECT rc{};
  ::GetClientRect(child, &rc);
  if (::IsRectEmpty(&rc)) MDIRestore(child);
}

std::optional<CTabbedToolFrame::NewTab> CTabbedToolFrame::PrepareNewTab(const FontItem& font) {
  if (!m_hWnd) return std::nullopt;
  if (!ActivateFontTab(font)) {
    ::BringWindowToTop(m_hWnd);
    return std::nullopt;
  }
  NewTab tab;
  tab.first = TabCount() == 0;
  tab.maximized = tab.first;
  if (!tab.first) MDIGetActive(&tab.maximized);
  // The first child is shown only once it is maximised, so that it never shows restored.
  tab.style = tab.first ? (orv::kMDIChildStyle & ~WS_VISIBLE) : orv::kMDIChildStyle;
  return tab;
}

void CTabbedToolFrame::ShowNewTab(CToolFrameChild& child, const FontItem& font, const NewTab& tab) {
  HWND window = child.GetChildWindow();
  if (tab.maximized) MDIMaximize(window);
  if (tab.first) ::ShowWindow(window, SW_SHOW);
  MDIActivate(window);
  AppendTab(font.displayName.empty() ? font.FullName() : font.displayName, &child);
  LayoutTabs();
  if (IsIconic()) ShowWindow(SW_RESTORE);
}

int CTabbedToolFrame::AppendTab(const std::wstring& text, CToolFrameChild* child) {
  if (!tabCtrl_.IsWindow()) return -1;
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.lParam = reinterpret_cast<LPARAM>(child);
  const int index = static_cast<int>(::SendMessageW(tabCtrl_, TCM_INSERTITEMW, TabCount(), reinterpret_cast<LPARAM>(&item)));
  if (index >= 0) SelectTab(index);
  return index;
}

void CTabbedToolFrame::SelectTab(int index) {
  if (tabCtrl_.IsWindow()) ::SendMessageW(tabCtrl_, TCM_SETCURSEL, index, 0);
}

void CTabbedToolFrame::RemoveTab(int index) {
  if (!tabCtrl_.IsWindow()) return;
  if (index == -1) index = CurrentTab();
  if (index < 0 || index >= TabCount()) return;
  const int current = CurrentTab();
  ::SendMessageW(tabCtrl_, TCM_DELETEITEM, index, 0);
  if (TabCount() == 0) {
    PostMessage(WM_CLOSE);
  } else if (index == current) {
    SelectTab(index > 0 ? index - 1 : 0);
  } else {
    // Another tab stays current: the selection keeps showing the active child.
    SelectTab(current > index ? current - 1 : current);
  }
}

void CTabbedToolFrame::LayoutTabs() {
  if (!m_hWnd) return;
  RECT rc{};
  GetClientRect(&rc);
  UpdateBarsPosition(rc);  // sizes a status bar and leaves the area above it
  RECT whole{};
  GetClientRect(&whole);
  if (tabCtrl_.IsWindow())
    ::SetWindowPos(tabCtrl_, nullptr, 0, 0, whole.right, whole.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  int top = rc.top;
  RECT first{};
  if (TabCount() > 0 && ::SendMessageW(tabCtrl_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)))
    top = std::max<int>(top, first.bottom);
  if (m_hWndMDIClient)
    ::SetWindowPos(m_hWndMDIClient, nullptr, rc.left, top, rc.right - rc.left, std::max<int>(0, rc.bottom - top),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON CTabbedToolFrame::CreateTabIcon(const FontItem& font) {
  HIMAGELIST images = FontListImages::Get().small;
  if (!images) return nullptr;
  UINT style = ILD_TRANSPARENT;
  if (font.IsGdiOnly()) style |= INDEXTOOVERLAYMASK(font_icons::kOverlayGdiOnly);
  return ::ImageList_GetIcon(images, font.GetTypeIconIndex(), style);
}

LRESULT CTabbedToolFrame::OnSize(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam != SIZE_MINIMIZED) LayoutTabs();
  return 0;
}

LRESULT CTabbedToolFrame::OnHelp(UINT, WPARAM, LPARAM, BOOL&) {
  ShowHelpContents();
  ShowHelpTopic(closingId_);
  return TRUE;
}

void CTabbedToolFrame::OnHelpCommand(UINT, int, HWND) {
  BOOL handled = TRUE;
  OnHelp(WM_HELP, 0, 0, handled);
}

void CTabbedToolFrame::OnCloseTab(UINT, int, HWND) {
  const CToolFrameChild* tab = GetTabChild(-1);
  HWND child = tab ? tab->GetChildWindow() : nullptr;
  RemoveTab(-1);
  if (child) MDIDestroy(child);
}

void CTabbedToolFrame::OnWindowArrange(UINT, int id, HWND) {
  switch (id) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); break;
    case ID_WINDOW_CASCADE: MDICascade(); break;
    default: MDITile(MDITILE_HORIZONTAL); break;
  }
}

void CTabbedToolFrame::OnFrameClose(UINT, int, HWND) { DestroyWindow(); }

LRESULT CTabbedToolFrame::OnChildActivated(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const int index = FindTabOfChild(reinterpret_cast<HWND>(lParam));
  if (index >= 0 && CurrentTab() >= 0) SelectTab(index);
  return 0;
}

LRESULT CTabbedToolFrame::OnChildClosing(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const int index = FindTabOfChild(reinterpret_cast<HWND>(lParam));
  if (index >= 0) RemoveTab(index);
  return 0;
}

LRESULT CTabbedToolFrame::OnTabSelChange(NMHDR* hdr) {
  if (hdr->hwndFrom == tabCtrl_.m_hWnd) ActivateTabChild(CurrentTab());
  return 0;
}

void CTabbedToolFrame::OnTabRButtonDown(UINT, POINT pt) {
  const int current = CurrentTab();
  RECT rc{};
  if (current < 0 || !::SendMessageW(tabCtrl_, TCM_GETITEMRECT, current, reinterpret_cast<LPARAM>(&rc)) ||
      !::PtInRect(&rc, pt))
    return;
  ::ClientToScreen(tabCtrl_, &pt);
  ShowTabMenu(pt);
}

void CTabbedToolFrame::TrackTabMenu(POINT screen, std::span<const int> commands, std::span<const std::wstring> texts) {
  IconPopupMenu menu(::CreatePopupMenu());
  if (!menu.Get()) return;
  for (size_t i = 0; i < commands.size() && i < texts.size(); ++i) {
    if (commands[i] == 0) ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    else menu.InsertItem(static_cast<UINT>(commands[i]), texts[i].c_str(), MFS_ENABLED);
  }
  orv::TrackPopupMenuOnMonitor(menu.Get(), TPM_RIGHTBUTTON, screen, m_hWnd);
}

void CTabbedToolFrame::MoveToScreenOrigin() {
  RECT rc{};
  GetWindowRect(&rc);
  ClampRectToVirtualScreen(rc);
  SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool CTabbedToolFrame::RouteWheel(const MSG& msg) const {
  const POINT pt{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
  HWND target = ::WindowFromPoint(pt);
  if (target && reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(target, GWLP_HINSTANCE)) ==
                    orv::g_Module.GetModuleInstance())
    ::SendMessageW(target, WM_MOUSEWHEEL, msg.wParam, msg.lParam);
  return true;
}

bool CTabbedToolFrame::PreTranslateMessage(MSG* msg) {
  // Only what goes to this frame's own windows: the thread's other windows have their filters.
  if (!m_hWnd || !msg->hwnd || (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))) return false;
  if (msg->message == WM_SYSKEYDOWN && msg->wParam == VK_HOME) {
    MoveToScreenOrigin();
    return true;
  }
  if (msg->message == WM_MOUSEWHEEL) return RouteWheel(*msg);
  if (msg->message == WM_KEYDOWN && CurrentTab() >= 0 && RouteTabKey(*msg)) return true;
  if (TranslateFrameAccelerator(msg) || TranslateMDISysAccel(msg)) return true;
  HWND active = MDIGetActive();
  return active && ::SendMessageW(active, orv::WM_FORWARDMSG, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}
