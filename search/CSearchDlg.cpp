// The search dialog: construction, its window's set-up and layout, the controls' commands, and
// what it keeps when it goes.
#include "search/CSearchDlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <iterator>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/HelpRequest.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "framework/AppModule.h"

namespace {

constexpr wchar_t kCountSample[] = L" 65000 ";

const orv::DlgResizeRule kResizeRules[] = {
    {IDC_SEARCH_RESULT_PANE, orv::DLSZ_SIZE_X | orv::DLSZ_SIZE_Y},
    {IDC_SEARCH_START, orv::DLSZ_MOVE_X},
    {IDC_SEARCH_CLOSE, orv::DLSZ_MOVE_X},
    {IDC_SEARCH_HELP, orv::DLSZ_MOVE_X},
};

bool IsEmptyRect(const RECT& rc) { return rc.left == rc.right; }

}  // namespace

CSearchDlg::CSearchDlg() : filter_(SearchFilter::Load()) {
  roots_ = g_AppState.FolderFonts.m_folder;
  fontCaseRoot_ = g_Preferences.FontCaseRoot;
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (!key) return;
  RECT saved{};
  if (ReadRegBinaryExact(key.Get(), kRectValue, &saved, sizeof saved)) {
    ClampRectToVirtualScreen(saved);
    savedRect_ = saved;
  }
  std::wstring roots;
  if (ReadRegString(key.Get(), kPathValue, kRootsLimit - 1, roots)) roots_ = std::move(roots);
}

CSearchDlg::~CSearchDlg() {
  // A window still open here would outlive its object: it goes first, and with it the walk.
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

HWND CSearchDlg::CreateDialogWindow() { return Create(nullptr); }

BOOL CSearchDlg::OnInitDialog(HWND, LPARAM) {
  worker_.SetNotifyWindow(m_hWnd);
  const HINSTANCE resources = orv::g_Module.GetResourceInstance();
  bigIcon_.Reset(static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.Reset(static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  CreateStatusBar();
  CreateResultPane();

  patternEdit_.SubclassWindow(GetDlgItem(IDC_SEARCH_PATTERN));
  patternEdit_.SendMessage(EM_SETLIMITTEXT, kPatternLimit);
  HWND modes = GetDlgItem(IDC_SEARCH_NAME_MODE);
  for (const std::wstring& mode : SplitFields(LoadResString(IDS_SEARCH_NAME_MODES)))
    ::SendMessageW(modes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode.c_str()));
  ::SendMessageW(modes, CB_SETCURSEL, 0, 0);
  ::EnableWindow(GetDlgItem(IDC_SEARCH_START), FALSE);
  SetDlgItemText(IDC_SEARCH_START, LoadResString(IDS_SEARCH_START).c_str());
  ResetStatusCounts();

  DlgResizeInit(m_hWnd, kResizeRules, std::size(kResizeRules));
  PlaceWindow();
  if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) {
    loop->AddMessageFilter(this);
    filterAdded_ = true;
  }
  PostMessage(WM_COMMAND, ID_SEARCH_FILL_DRIVES);
  return TRUE;
}

void CSearchDlg::CreateStatusBar() {
  RECT client{};
  GetClientRect(&client);
  if (!statusBar_.Create(STATUSCLASSNAMEW, m_hWnd, client, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | SBARS_TOOLTIPS,
                         0, IDC_SEARCH_STATUS))
    return;
  statusBar_.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT));
  statusBar_.SendMessage(WM_SIZE);
  RECT bar{};
  statusBar_.GetWindowRect(&bar);
  // The dialog grows by the bar, so that the template's controls keep their room.
  RECT window{};
  GetWindowRect(&window);
  SetWindowPos(nullptr, 0, 0, window.right - window.left, window.bottom - window.top + (bar.bottom - bar.top),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  statusBar_.SendMessage(WM_SIZE);

  int width = 0;
  {
    orv::ScopedGetDC dc(statusBar_.m_hWnd);
    orv::ScopedSelectObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(statusBar_.SendMessage(WM_GETFONT)));
    SIZE size{};
    if (::GetTextExtentPoint32W(dc.Get(), kCountSample, static_cast<int>(wcslen(kCountSample)), &size)) width = size.cx;
  }
  const int parts[] = {width, 2 * width, -1};
  statusBar_.SendMessage(SB_SETPARTS, std::size(parts), reinterpret_cast<LPARAM>(parts));
  statusBar_.SendMessage(SB_SETTIPTEXTW, kExaminedPart,
                         reinterpret_cast<LPARAM>(LoadResString(IDS_SEARCH_EXAMINED_TIP).c_str()));
  statusBar_.SendMessage(SB_SETTIPTEXTW, kFoundPart,
                         reinterpret_cast<LPARAM>(LoadResString(IDS_SEARCH_FOUND_TIP).c_str()));
  SHFILEINFOW info{};
  wchar_t windows[MAX_PATH]{};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  if (::SHGetFileInfoW(windows, FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
    folderIcon_.Reset(info.hIcon);
}

void CSearchDlg::CreateResultPane() {
  RECT rc = orv::TakePlaceholder(m_hWnd, IDC_SEARCH_RESULTS);
  if (!pane_.Create(m_hWnd, &rc, nullptr, 0, 0, IDC_SEARCH_RESULT_PANE)) return;
  HWND list = ::CreateWindowExW(kFontListExStyle, WC_LISTVIEWW, nullptr, kFontListStyle, 0, 0, 0, 0, pane_.m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_SEARCH_RESULTS)),
                                orv::g_Module.GetModuleInstance(), nullptr);
  if (!list || !list_.SubclassWindow(list)) return;
  list_.Initialize();
  list_.SetNoticeWindow(statusBar_.m_hWnd);
  pane_.SetList(&list_);
}

void CSearchDlg::PlaceWindow() {
  if (IsEmptyRect(savedRect_)) {
    CenterWindow();
    return;
  }
  SetWindowPos(nullptr, savedRect_.left, savedRect_.top, savedRect_.right - savedRect_.left,
               savedRect_.bottom - savedRect_.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CSearchDlg::PreTranslateMessage(MSG* msg) { return TranslateDialogKeys(m_hWnd, msg); }

LRESULT CSearchDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (statusBar_.m_hWnd) statusBar_.SendMessage(WM_SIZE);
  handled = FALSE;  // on to the resize rules
  return 0;
}

LRESULT CSearchDlg::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (!searching_) {
    handled = FALSE;
    return FALSE;
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
  return TRUE;
}

LRESULT CSearchDlg::OnHelp(UINT, WPARAM, LPARAM, BOOL&) {
  ShowHelpTopic(IDD);
  return TRUE;
}

void CSearchDlg::OnHelpButton(UINT, int, HWND) { ShowHelpTopic(IDD); }

void CSearchDlg::OnStart(UINT, int, HWND) {
  if (!::IsWindowEnabled(GetDlgItem(IDC_SEARCH_START))) return;
  if (searching_)
    worker_.Stop();
  else
    StartSearch();
}

LRESULT CSearchDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  if (searching_) {
    // The dialog goes once the walk has ended (OnWorkerDone).
    worker_.Stop();
    closePending_ = true;
    return 0;
  }
  DestroyWindow();
  return 0;
}

void CSearchDlg::OnCloseButton(UINT, int, HWND) { SendMessage(WM_CLOSE); }

void CSearchDlg::OnPatternChange(UINT, int, HWND) {
  ::EnableWindow(GetDlgItem(IDC_SEARCH_START), !Pattern().empty());
}

void CSearchDlg::OnFillDriveList(UINT, int, HWND) { FillDriveList(); }

void CSearchDlg::FillDriveList() {
  if (driveListFilled_) return;
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  if (!driveList_.m_hWnd && !driveList_.SubclassWindow(GetDlgItem(IDC_SEARCH_ROOTS))) {
    ::SetCursor(previous);
    return;
  }
  driveList_.AddFolder(fontCaseRoot_);
  const std::wstring& favorites = g_Preferences.FavoriteFolders;
  if (!favorites.empty() && favorites != fontCaseRoot_ + L"|")
    driveList_.AddFolderWithCaption(favorites, IDS_FAVORITE_FOLDERS);
  SetFolderPart(LoadResString(IDS_SEARCH_READING_DRIVES), {}, false);
  driveList_.Populate();
  if (!roots_.empty() && roots_[0] == L'*') {
    wchar_t* end = nullptr;
    const long index = std::wcstol(roots_.c_str() + 1, &end, 10);
    const auto& entries = driveList_.Entries();
    if (end != roots_.c_str() + 1 && index >= 0 && static_cast<size_t>(index) < entries.size()) {
      driveList_.SelectEntry(static_cast<int>(index));
      roots_ = entries[static_cast<size_t>(index)].path;
    } else {
      driveList_.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(-1));
    }
  } else if (!roots_.empty() && !EqualsNoCase(roots_, fontCaseRoot_)) {
    driveList_.SelectEntry(driveList_.AppendFolder(roots_));
  }
  driveListFilled_ = true;
  driveList_.EnableWindow(!searching_);
  SetFolderPart({}, {}, false);
  ::SetCursor(previous);
}

LRESULT CSearchDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  // The walk ends before anything it could reach goes; it only ever posts, so joining it here
  // cannot wait on this thread.
  worker_.Stop();
  worker_.WaitForWalk();
  KillTimer(kFlushTimer);
  searching_ = false;
  if (filterAdded_) {
    if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) loop->RemoveMessageFilter(this);
    filterAdded_ = false;
  }
  SaveState();
  ReportClosed(IDD);
  return 0;
}

void CSearchDlg::SaveState() {
  RECT window{};
  GetWindowRect(&window);
  ClampRectToVirtualScreen(window);
  std::wstring roots = roots_;
  if (driveListFilled_) {
    const int selected = static_cast<int>(driveList_.SendMessage(CB_GETCURSEL));
    const auto& entries = driveList_.Entries();
    if (selected > 0 && selected != driveList_.BrowseEntryIndex() && static_cast<size_t>(selected) < entries.size())
      roots = entries[static_cast<size_t>(selected)].path;
    else if (selected >= 0)
      roots = L"*" + std::to_wstring(selected);
  }
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_SET_VALUE);
  if (!key) return;
  WriteRegString(key.Get(), kPathValue, roots);
  WriteRegBinary(key.Get(), kRectValue, &window, sizeof window);
}

void CSearchDlg::ShowOnScreen() {
  if (!m_hWnd) return;
  RECT rc{};
  GetWindowRect(&rc);
  ClampRectToVirtualScreen(rc);
  SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

std::wstring CSearchDlg::Pattern() const {
  std::wstring text;
  GetDlgItemString(m_hWnd, IDC_SEARCH_PATTERN, text);
  return text;
}

void CSearchDlg::SetPattern(const std::wstring& text) { SetDlgItemText(IDC_SEARCH_PATTERN, text.c_str()); }

LRESULT CSearchDlg::OnPatternGetDlgCode(UINT, WPARAM, LPARAM lParam, BOOL&) {
  LRESULT code = patternEdit_.DefWindowProc();
  // Enter belongs to the edit, which starts the search with it.
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == VK_RETURN)
    code |= DLGC_WANTMESSAGE;
  return code;
}

LRESULT CSearchDlg::OnPatternKey(UINT message, WPARAM key, LPARAM, BOOL& handled) {
  if (key != VK_RETURN) {
    handled = FALSE;
    return 0;
  }
  if (message == WM_KEYDOWN) PostMessage(WM_COMMAND, IDC_SEARCH_START);
  return 0;
}

LRESULT CSearchDlg::OnPatternChar(UINT, WPARAM ch, LPARAM, BOOL& handled) {
  if (ch != L'\r') handled = FALSE;
  return 0;
}
