#include "lists/CDirWithFontsDlg.h"

#include <commctrl.h>

#include "app/AppState.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "framework/OwnedPost.h"
#include "lists/CCensusDlg.h"

namespace {

constexpr int kBigIcon = 128;

const orv::DlgResizeRule kResizeRules[] = {
    {IDOK, orv::DLSZ_MOVE_X},
    {IDC_CENSUS_LIST, orv::DLSZ_SIZE_X | orv::DLSZ_SIZE_Y},
};

}  // namespace

CDirWithFontsDlg::CDirWithFontsDlg() {
  m_showHidden = g_AppState.FolderTree.ShowsHidden() ? 1 : 0;
  m_showSuperHidden = g_AppState.FolderTree.ShowsSuperHidden() ? 1 : 0;
  m_patterns = CCensusDlg::kFontPatterns;
}

CDirWithFontsDlg::~CDirWithFontsDlg() {
  if (m_thread) {
    m_status = kStatusUserStop;
    WaitForWalk();
  }
}

bool CDirWithFontsDlg::PreTranslateMessage(MSG* msg) { return TranslateDialogKeys(m_hWnd, msg); }

BOOL CDirWithFontsDlg::OnInitDialog(HWND, LPARAM) {
  if (HANDLE icon = ::LoadImageW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(kBigIcon), IMAGE_ICON, 0, 0,
                                 LR_DEFAULTSIZE | LR_SHARED))
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  if (status_.Create(m_hWnd)) status_.SetParts({-1});
  // The finder opens over the main folder tree.
  if (HWND tree = g_AppState.FolderTree.m_hWnd) {
    RECT rc{};
    ::GetWindowRect(tree, &rc);
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT combo = orv::TakePlaceholder(m_hWnd, IDC_CENSUS_DRIVES);
  combo.bottom = combo.top + kDropDownHeight;
  if (drives_.CreateControl(m_hWnd, combo, IDC_CENSUS_DRIVES)) drives_.Populate();
  const RECT list = orv::TakePlaceholder(m_hWnd, IDC_CENSUS_LIST);
  (void)list_.CreateList(m_hWnd, list, IDC_CENSUS_LIST);
  ::SetDlgItemTextW(m_hWnd, IDOK, LoadResString(IDS_CENSUS_START).c_str());
  DlgResizeInit(m_hWnd, kResizeRules, std::size(kResizeRules));
  if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) {
    loop->AddMessageFilter(this);
    filterAdded_ = true;
  }
  ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
  return TRUE;
}

LRESULT CDirWithFontsDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  status_.Resize();
  return 0;
}

void CDirWithFontsDlg::OnStartOrStop(UINT, int, HWND) {
  if (m_thread) {
    m_status = kStatusUserStop;
    return;
  }
  std::wstring roots = m_roots;
  (void)GetComboSelectedText(drives_, roots);
  StartWalk(roots);
}

void CDirWithFontsDlg::StartWalk(const std::wstring& roots) {
  if (m_thread) return;
  m_roots = roots;
  list_.DeleteAll();
  list_.SetBusy(true);
  ::SetDlgItemTextW(m_hWnd, IDOK, LoadResString(IDS_CENSUS_STOP).c_str());
  ::EnableWindow(drives_.m_hWnd, FALSE);
  status_.SetText(0, LoadResString(IDS_CENSUS_START));
  {
    std::lock_guard guard(lock_);
    folderWalked_.clear();
    folderChanged_ = false;
  }
  ::SetTimer(m_hWnd, kTimerStatus, kStatusInterval, nullptr);
  if (!Start() || !m_threaded) EndWalk(true);
}

bool CDirWithFontsDlg::AcceptFolder(DWORD attributes) {
  if (!IsFileShown(attributes)) return false;
  std::lock_guard guard(lock_);
  folderWalked_ = m_folderAsked;
  folderChanged_ = true;
  return true;
}

bool CDirWithFontsDlg::OnFile() {
  // The first font file (the walker has applied the hidden rule) lists the folder; the rest
  // of the folder is not looked at.
  (void)orv::PostOwned(m_hWnd, kMsgFolderFound, 0, std::make_unique<std::wstring>(m_path));
  return false;
}

void CDirWithFontsDlg::OnWalkEnd() { ::PostMessageW(m_hWnd, kMsgWalkDone, 0, 0); }

LRESULT CDirWithFontsDlg::OnFolderFound(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const std::unique_ptr<std::wstring> folder = orv::TakeOwned<std::wstring>(lParam);
  if (folder) list_.AddFolder(*folder);
  return 0;
}

LRESULT CDirWithFontsDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != kTimerStatus) {
    handled = FALSE;
    return 0;
  }
  ShowWalkedFolder();
  return 0;
}

void CDirWithFontsDlg::ShowWalkedFolder() {
  std::wstring folder;
  {
    std::lock_guard guard(lock_);
    if (!folderChanged_) return;
    folder = folderWalked_;
    folderChanged_ = false;
  }
  status_.SetText(0, folder);
  status_.SetTipText(0, folder);
}

LRESULT CDirWithFontsDlg::OnWalkDone(UINT, WPARAM, LPARAM, BOOL&) {
  if (m_thread) EndWalk(true);
  return 0;
}

void CDirWithFontsDlg::EndWalk(bool report) {
  WaitForWalk();
  ::KillTimer(m_hWnd, kTimerStatus);
  // Folders found before the end are listed; the end message is not needed any more.
  orv::DrainOwned<std::wstring>(m_hWnd, kMsgFolderFound, [this, report](std::unique_ptr<std::wstring> folder) {
    if (folder && report) list_.AddFolder(*folder);
  });
  MSG msg;
  while (::PeekMessageW(&msg, m_hWnd, kMsgWalkDone, kMsgWalkDone, PM_REMOVE | PM_NOYIELD)) {
  }
  if (!report) return;
  status_.SetText(0, LoadResString(m_status == kStatusUserStop ? IDS_CENSUS_STOPPED : IDS_OPERATION_FINISHED));
  status_.SetTipText(0, {});
  list_.SetBusy(false);
  ::EnableWindow(drives_.m_hWnd, TRUE);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), TRUE);
  ::SetDlgItemTextW(m_hWnd, IDOK, LoadResString(IDS_CENSUS_START).c_str());
  ::BringWindowToTop(m_hWnd);
}

LRESULT CDirWithFontsDlg::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (!m_thread) {
    handled = FALSE;
    return 0;
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
  return TRUE;
}

LRESULT CDirWithFontsDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  if (m_thread) {
    m_status = kStatusUserStop;
    EndWalk(false);
  }
  ::DestroyWindow(m_hWnd);
  return 0;
}

LRESULT CDirWithFontsDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  if (m_thread) {
    m_status = kStatusUserStop;
    EndWalk(false);
  }
  ::KillTimer(m_hWnd, kTimerStatus);
  if (filterAdded_) {
    if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) loop->RemoveMessageFilter(this);
    filterAdded_ = false;
  }
  ReportClosed(IDD);
  return 0;
}

