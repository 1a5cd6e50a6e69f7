#include "lists/CCensusDlg.h"

#include <commctrl.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/HelpRequest.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "viewing/CTabbedToolFrame.h"

namespace {

constexpr int kBigIcon = 128;
constexpr DWORD kMinReleaseWithUserFonts = 1809;

const orv::DlgResizeRule kResizeRules[] = {
    {IDOK, orv::DLSZ_MOVE_X},
    {IDCANCEL, orv::DLSZ_MOVE_X},
    {IDC_CENSUS_SAVE, orv::DLSZ_MOVE_X},
    {IDC_CENSUS_LIST, orv::DLSZ_SIZE_X | orv::DLSZ_SIZE_Y},
};

}  // namespace

CCensusDlg::CCensusDlg()
    : includeUserFonts_(static_cast<DWORD>(g_AppState.WindowsRelease) >= kMinReleaseWithUserFonts),
      fontCaseFolder_(g_Preferences.FontCaseRoot),
      systemFontsFolder_(g_AppState.SystemFontsFolder),
      userFontsFolder_(g_AppState.UserFontsFolder) {
  windowRect_ = CTabbedToolFrame::ReadSavedRect(kRectValue, RECT{});
  m_patterns = kFontPatterns;
}

CCensusDlg::~CCensusDlg() {
  // The walk reads this object's members: it ends before they go.
  if (m_thread) {
    m_status = kStatusClosing;
    WaitForWalk();
  }
}

HWND CCensusDlg::CreateModeless() { return Create(nullptr); }

void CCensusDlg::ShowWindowClamped() {
  if (!m_hWnd) return;
  RECT rc{};
  ::GetWindowRect(m_hWnd, &rc);
  ClampRectToVirtualScreen(rc);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

bool CCensusDlg::PreTranslateMessage(MSG* msg) { return TranslateDialogKeys(m_hWnd, msg); }

BOOL CCensusDlg::OnInitDialog(HWND, LPARAM) {
  if (HANDLE icon = ::LoadImageW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(kBigIcon), IMAGE_ICON, 0, 0,
                                 LR_DEFAULTSIZE | LR_SHARED))
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  if (status_.Create(m_hWnd)) SetStatusParts();
  ::SetDlgItemTextW(m_hWnd, IDOK, LoadResString(IDS_CENSUS_START).c_str());
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CENSUS_SAVE), FALSE);

  if (drives_.SubclassWindow(::GetDlgItem(m_hWnd, IDC_CENSUS_DRIVES))) {
    (void)drives_.AddFolder(fontCaseFolder_);
    const std::wstring& favorites = g_Preferences.FavoriteFolders;
    if (!favorites.empty() && favorites != fontCaseFolder_ + L"|")
      (void)drives_.AddFolderWithCaption(favorites, IDS_FAVORITE_FOLDERS);
    drives_.Populate();
  }

  ::CheckDlgButton(m_hWnd, IDC_CENSUS_SYSTEM_FONTS, includeSystemFonts_ ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, IDC_CENSUS_USER_FONTS, includeUserFonts_ ? BST_CHECKED : BST_UNCHECKED);
  if (static_cast<DWORD>(g_AppState.WindowsRelease) < kMinReleaseWithUserFonts) {
    HWND box = ::GetDlgItem(m_hWnd, IDC_CENSUS_USER_FONTS);
    ::EnableWindow(box, FALSE);
    ::ShowWindow(box, SW_HIDE);
  }

  HWND filter = ::GetDlgItem(m_hWnd, IDC_CENSUS_FILTER);
  for (const std::wstring& item : SplitFields(LoadResString(IDS_CENSUS_FILTERS)))
    if (!item.empty()) ::SendMessageW(filter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  ::SendMessageW(filter, CB_SETCURSEL, 0, 0);
  ::EnableWindow(filter, FALSE);

  DlgResizeInit(m_hWnd, kResizeRules, std::size(kResizeRules));

  if (windowRect_.right == windowRect_.left) {
    RECT rc{}, work{};
    ::GetWindowRect(m_hWnd, &rc);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::SetWindowPos(m_hWnd, nullptr, work.left + ((work.right - work.left) - (rc.right - rc.left)) / 2,
                   work.top + ((work.bottom - work.top) - (rc.bottom - rc.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    ::SetWindowPos(m_hWnd, nullptr, windowRect_.left, windowRect_.top, windowRect_.right - windowRect_.left,
                   windowRect_.bottom - windowRect_.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  (void)list_.Attach(::GetDlgItem(m_hWnd, IDC_CENSUS_LIST), &status_);
  if (status_.Handle())
    ::SendMessageW(status_.Handle(), WM_SETFONT, ::SendMessageW(list_.m_hWnd, WM_GETFONT, 0, 0), TRUE);
  if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) {
    loop->AddMessageFilter(this);
    filterAdded_ = true;
  }
  ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
  rememberedSelection_ = -1;
  return TRUE;
}

void CCensusDlg::SetStatusParts() {
  const int count = status_.TextWidth(L" 100000");
  const int em = status_.TextWidth(L"em");
  status_.SetParts({count, 2 * count, 16 * em, -1});
  status_.SetTipText(0, LoadResString(IDS_CENSUS_RECORDS_TIP));
  status_.SetTipText(1, LoadResString(IDS_CENSUS_ROWS_TIP));
  status_.ShowCount(0, 0);
  status_.ShowCount(1, 0);
}

LRESULT CCensusDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;  // the resize rules place the controls
  status_.Resize();
  return 0;
}

void CCensusDlg::ResetResults() {
  HWND filter = ::GetDlgItem(m_hWnd, IDC_CENSUS_FILTER);
  ::SendMessageW(filter, CB_SETCURSEL, 0, 0);
  ::EnableWindow(filter, FALSE);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), TRUE);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CENSUS_SAVE), FALSE);
  status_.ShowCount(0, 0);
  status_.ShowCount(1, 0);
  status_.SetText(2, {});
  status_.SetText(3, {});
  list_.Clear();
}

void CCensusDlg::OnDriveChange(UINT, int, HWND) {
  const int selected = static_cast<int>(::SendMessageW(drives_.m_hWnd, CB_GETCURSEL, 0, 0));
  if (selected != rememberedSelection_) ResetResults();
}

void CCensusDlg::OnStartOrStop(UINT, int, HWND) {
  if (m_thread) {
    m_status = kStatusUserStop;
    return;
  }
  includeSystemFonts_ = ::IsDlgButtonChecked(m_hWnd, IDC_CENSUS_SYSTEM_FONTS) == BST_CHECKED;
  includeUserFonts_ = ::IsDlgButtonChecked(m_hWnd, IDC_CENSUS_USER_FONTS) == BST_CHECKED;
  std::wstring roots = m_roots;
  // The roots of the previous census stay when no entry or the browse entry is selected.
  (void)GetComboSelectedText(drives_, roots);
  rememberedSelection_ = static_cast<int>(::SendMessageW(drives_.m_hWnd, CB_GETCURSEL, 0, 0));
  StartCensus(roots);
}

void CCensusDlg::StartCensus(const std::wstring& chosenRoots) {
  if (m_thread) return;
  systemFontsVisited_ = false;
  userFontsVisited_ = false;
  // The Fonts folders come first, so that the copies there are each group's first rows.
  std::wstring roots = chosenRoots;
  if (includeUserFonts_ && !userFontsFolder_.empty()) roots = userFontsFolder_ + L"|" + roots;
  if (includeSystemFonts_ && !systemFontsFolder_.empty()) roots = systemFontsFolder_ + L"|" + roots;
  m_roots = roots;
  m_patterns = kFontPatterns;
  ResetResults();
  {
    std::lock_guard guard(lock_);
    found_.clear();
    folderWalked_.clear();
    folderChanged_ = false;
  }
  status_.SetText(2, LoadResString(IDS_CENSUS_ALL) + L"\u2026");
  ::SetDlgItemTextW(m_hWnd, IDOK, LoadResString(IDS_CENSUS_STOP).c_str());
  EnableChoice(false);
  list_.SetBusy(true);
  ::SetTimer(m_hWnd, kTimerTake, kTakeInterval, nullptr);
  if (!Start()) {
    // No thread: the census ends at once, stopped.
    m_status = kStatusUserStop;
    FinishWalk();
    return;
  }
  // A walk that runs on this thread (the threaded switch off) has ended already.
  if (!m_threaded) FinishWalk();
}

void CCensusDlg::EnableChoice(bool enable) {
  // The folder box loses the text of its entry while it is disabled: the entry is shown again.
  if (!enable) lockedSelection_ = static_cast<int>(::SendMessageW(drives_.m_hWnd, CB_GETCURSEL, 0, 0));
  for (int id : {IDC_CENSUS_SYSTEM_FONTS, IDC_CENSUS_USER_FONTS, IDC_CENSUS_DRIVES, IDCANCEL})
    ::EnableWindow(::GetDlgItem(m_hWnd, id), enable);
  if (enable && lockedSelection_ != CB_ERR) ::SendMessageW(drives_.m_hWnd, CB_SETCURSEL, lockedSelection_, 0);
  if (static_cast<DWORD>(g_AppState.WindowsRelease) < kMinReleaseWithUserFonts)
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CENSUS_USER_FONTS), FALSE);
  if (!enable) ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CENSUS_SAVE), FALSE);
}

LRESULT CCensusDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != kTimerTake) {
    handled = FALSE;
    return 0;
  }
  TakeWalkResults();
  return 0;
}

void CCensusDlg::TakeWalkResults() {
  std::vector<CensusRecord> records;
  std::wstring folder;
  bool folderChanged = false;
  {
    std::lock_guard guard(lock_);
    records.swap(found_);
    if (folderChanged_) {
      folder = folderWalked_;
      folderChanged = true;
      folderChanged_ = false;
    }
  }
  if (folderChanged) status_.SetText(3, folder);
  list_.AddRecords(std::move(records));
}

LRESULT CCensusDlg::OnWalkDone(UINT, WPARAM, LPARAM, BOOL&) {
  if (m_thread) FinishWalk();
  return 0;
}

void CCensusDlg::FinishWalk() {
  WaitForWalk();
  ::KillTimer(m_hWnd, kTimerTake);
  // The end message of a walk joined here is not needed any more.
  MSG msg;
  while (::PeekMessageW(&msg, m_hWnd, kMsgWalkDone, kMsgWalkDone, PM_REMOVE | PM_NOYIELD)) {
  }
  if (m_status == kStatusClosing) return;
  TakeWalkResults();
  const bool complete = m_status == 0;
  list_.FinishWalk(!complete);
  status_.SetText(3, LoadResString(complete ? IDS_OPERATION_FINISHED : IDS_CENSUS_STOPPED));
  status_.SetText(2, LoadResString(IDS_CENSUS_ALL));
  ::SetDlgItemTextW(m_hWnd, IDOK, LoadResString(IDS_CENSUS_START).c_str());
  EnableChoice(true);
  // A complete census of the same choice is not run again until the choice changes.
  ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), !complete);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CENSUS_SAVE), list_.RowCount() > 0);
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CENSUS_FILTER), complete);
  ::BringWindowToTop(m_hWnd);
}

void CCensusDlg::ApplyFilter() {
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CENSUS_SAVE), FALSE);
  const int item = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_CENSUS_FILTER, CB_GETCURSEL, 0, 0));
  switch (item) {
    case kShowDuplicates:
      status_.SetText(2, LoadResString(IDS_CENSUS_DUPLICATES));
      list_.ShowDuplicates();
      break;
    case kShowOtherFileNames:
      status_.SetText(2, LoadResString(IDS_CENSUS_OTHER_NAMES));
      list_.ShowOtherFileNames();
      break;
    case kShowSharedFileNames:
      status_.SetText(2, LoadResString(IDS_CENSUS_SHARED_NAMES));
      list_.ShowSameFileOtherFonts();
      break;
    case kShowUnusable:
      status_.SetText(2, LoadResString(IDS_CENSUS_UNUSABLE));
      list_.ShowUnusable();
      break;
    default:
      status_.SetText(2, LoadResString(IDS_CENSUS_ALL));
      list_.ShowAll();
      break;
  }
  if (!list_.IsChecking()) ::EnableWindow(::GetDlgItem(m_hWnd, IDC_CENSUS_SAVE), list_.RowCount() > 0);
}

LRESULT CCensusDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  Close();
  return 0;
}

void CCensusDlg::Close() {
  // A running check stops at its next record and the list closes the window again then: until
  // then the window shows what the check has found.
  if (!list_.CanClose()) return;
  // The walk stops at its next file or folder; the window goes once it has ended.
  if (m_thread) {
    m_status = kStatusClosing;
    FinishWalk();
  }
  ::DestroyWindow(m_hWnd);
}

LRESULT CCensusDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  if (m_thread) {
    m_status = kStatusClosing;
    FinishWalk();
  }
  ::KillTimer(m_hWnd, kTimerTake);
  if (filterAdded_) {
    if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) loop->RemoveMessageFilter(this);
    filterAdded_ = false;
  }
  RECT rc{};
  if (::GetWindowRect(m_hWnd, &rc)) {
    ClampRectToVirtualScreen(rc);
    windowRect_ = rc;
    if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_WRITE); key)
      (void)WriteRegBinary(key.Get(), kRectValue, &rc, sizeof(rc));
  }
  ReportClosed(IDD);
  return 0;
}

