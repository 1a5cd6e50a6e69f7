#include "fonts/CListRegistryFontsDlg.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "app/ToolWindows.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/DialogStatusBar.h"
#include "common/RegistryValue.h"
#include "framework/AppModule.h"
#include "framework/FrameWindowImpl.h"

namespace {

constexpr DWORD kListExStyles = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP;
static_assert(kListExStyles == 0x4420);

constexpr orv::DlgResizeRule kResizeRules[] = {
    {IDC_REGISTRY_FONTS_LIST, orv::DLSZ_SIZE_X | orv::DLSZ_SIZE_Y},
    {IDCANCEL, orv::DLSZ_MOVE_X},
    {static_cast<int>(orv::kIdStatusBar), orv::DLSZ_SIZE_X | orv::DLSZ_MOVE_Y},
};

bool HasArea(const RECT& rc) { return rc.right > rc.left && rc.bottom > rc.top; }

// The wait cursor for the length of a scope.
class WaitCursor {
public:
  WaitCursor() : old_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(old_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

private:
  HCURSOR old_;
};

}  // namespace

CListRegistryFontsDlg::CListRegistryFontsDlg() {
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  RECT saved{};
  // A rectangle without area (hand-edited, or written by a broken run) counts as none.
  if (key && ReadRegBinaryExact(key.Get(), kRectValue, &saved, sizeof(saved)) && HasArea(saved)) {
    ClampRectToVirtualScreen(saved);
    rect_ = saved;
  }
}

CListRegistryFontsDlg::~CListRegistryFontsDlg() {
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

HWND CListRegistryFontsDlg::CreateModeless() { return Create(nullptr); }

BOOL CListRegistryFontsDlg::OnInitDialog(HWND, LPARAM) {
  statusBar_ = CreateDialogStatusBar(m_hWnd);
  ModifyStyle(0, WS_CLIPCHILDREN);
  DlgResizeInit(m_hWnd, kResizeRules, std::size(kResizeRules));
  PlaceWindow();

  HWND list = GetDlgItem(IDC_REGISTRY_FONTS_LIST);
  if (list && list_.SubclassWindow(list)) {
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListExStyles, kListExStyles);
    list_.SetStatusBar(statusBar_);
    list_.SetUpColumns();
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    {
      WaitCursor wait;
      list_.Fill(g_AppState.SystemFontsFolder, g_AppState.WindowsRelease);
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::ShowScrollBar(list, SB_HORZ, FALSE);
    ::InvalidateRect(list, nullptr, TRUE);
    if (statusBar_) ::SendMessageW(statusBar_, WM_SETFONT, ::SendMessageW(list, WM_GETFONT, 0, 0), TRUE);
  }
  ShowWindow(SW_SHOWNORMAL);
  if (list) ::SetFocus(list);
  if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) {
    loop->AddMessageFilter(this);
    filtering_ = true;
  }
  return FALSE;  // the focus is set
}

void CListRegistryFontsDlg::PlaceWindow() {
  if (!HasArea(rect_)) {
    CenterWindow();
    return;
  }
  // Never smaller than the template, whatever the registry says.
  const SIZE min = MinWindowSize();
  const int width = std::max<int>(rect_.right - rect_.left, min.cx);
  const int height = std::max<int>(rect_.bottom - rect_.top, min.cy);
  SetWindowPos(nullptr, rect_.left, rect_.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CListRegistryFontsDlg::MoveWindowToOrigin() {
  if (!IsWindow()) return;
  if (::IsIconic(m_hWnd)) ShowWindow(SW_SHOWNOACTIVATE);
  RECT rc{};
  GetWindowRect(&rc);
  ClampRectToVirtualScreen(rc);
  SetWindowPos(HWND_TOP, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void CListRegistryFontsDlg::OnDestroy() {
  list_.SetStatusBar(nullptr);
  if (filtering_) {
    if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) loop->RemoveMessageFilter(this);
    filtering_ = false;
  }
  // A minimised or maximised window keeps the rectangle it will be restored to.
  RECT rc{};
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if ((::IsIconic(m_hWnd) || ::IsZoomed(m_hWnd)) && ::GetWindowPlacement(m_hWnd, &placement))
    rc = placement.rcNormalPosition;
  else
    GetWindowRect(&rc);
  ClampRectToVirtualScreen(rc);
  rect_ = rc;
  if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_SET_VALUE))
    WriteRegBinary(key.Get(), kRectValue, &rc, sizeof(rc));
  ReportClosed(static_cast<UINT>(ToolWindowId::ListRegistryFontsDlg));
}

bool CListRegistryFontsDlg::PreTranslateMessage(MSG* msg) { return TranslateDialogKeys(m_hWnd, msg); }
