#include "groups/CFontClassificationsDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/AppMessageBox.h"
#include "common/DialogStatusBar.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "common/Seams.h"
#include "framework/AppModule.h"
#include "framework/Handles.h"
#include "groups/ClassificationBuilder.h"
#include "groups/GroupFileNotices.h"

namespace {
using Kind = ClassifyScanWorker::Kind;
// The kind check boxes, in the order the kinds are built.
constexpr struct {
  int id;
  Kind kind;
} kKindChecks[] = {{IDC_CLASSIFY_BY_INITIAL, Kind::kByInitial},
                   {IDC_CLASSIFY_BY_PANOSE, Kind::kByPanose},
                   {IDC_CLASSIFY_BY_CLASS, Kind::kByFamilyClass}};
constexpr int kScanOptions[] = {IDC_CLASSIFY_FOLDER, IDC_CLASSIFY_SYSTEM_FONTS, IDC_CLASSIFY_USER_FONTS};
constexpr wchar_t kWidestCount[] = L" 100000";
}  // namespace

CFontClassificationsDlg::CFontClassificationsDlg() : fontCaseFolder_(g_Preferences.FontCaseRoot) {
  if (g_AppState.FolderTree.IsWindow()) worker_.m_showHidden = g_AppState.FolderTree.ShowsHidden() ? 1 : 0;
}

CFontClassificationsDlg::~CFontClassificationsDlg() {
  worker_.Stop();
  worker_.WaitForWalk();
}

BOOL CFontClassificationsDlg::OnInitDialog(HWND, LPARAM) {
  worker_.SetNotifyWindow(m_hWnd);
  largeIcon_ = orv::g_Module.LoadResourceIcon(IDR_MAINFRAME, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.Get()));
  CreateStatusBar();
  CreateFolderCombo();
  if (g_AppState.WindowsRelease < kFirstPerUserRelease) {
    Enable(IDC_CLASSIFY_USER_FONTS, false);
    ::ShowWindow(GetDlgItem(IDC_CLASSIFY_USER_FONTS), SW_HIDE);
  }
  SetDlgItemText(IDOK, LoadResString(IDS_CLASSIFY_START).c_str());
  SetDlgItemText(IDC_CLASSIFY_PROGRESS, L"");
  return TRUE;
}

// The status bar below the controls: the dialog grows by its height. Part 0 holds the count.
void CFontClassificationsDlg::CreateStatusBar() {
  statusBar_ = CreateDialogStatusBar(m_hWnd);
  if (!statusBar_) return;
  SIZE extent{};
  {
    orv::ScopedGetDC dc(statusBar_);
    orv::ScopedSelectObject font(dc.Get(), reinterpret_cast<HFONT>(::SendMessageW(statusBar_, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc.Get(), kWidestCount, static_cast<int>(std::size(kWidestCount) - 1), &extent);
  }
  int parts[] = {extent.cx + ::GetSystemMetrics(SM_CXEDGE) * 4, -1};
  ::SendMessageW(statusBar_, SB_SETPARTS, std::size(parts), reinterpret_cast<LPARAM>(parts));
}

// The drive combo takes the place of its placeholder: the font case folder and the favourite
// folders first, then the drives.
void CFontClassificationsDlg::CreateFolderCombo() {
  RECT rc = orv::TakePlaceholder(m_hWnd, IDC_CLASSIFY_FOLDER);
  rc.bottom = rc.top + kFolderComboDropHeight;
  if (!folderCombo_.CreateControl(m_hWnd, rc, IDC_CLASSIFY_FOLDER)) return;
  folderCombo_.AddFolder(fontCaseFolder_);
  const std::wstring& favorites = g_Preferences.FavoriteFolders;
  if (!favorites.empty() && favorites != fontCaseFolder_ + L"|")
    folderCombo_.AddFolderWithCaption(favorites, IDS_FAVORITE_FOLDERS);
  folderCombo_.Populate();
}

void CFontClassificationsDlg::StartScan() {
  if (scanning_) {
    worker_.Stop();
    return;
  }
  if (IsChosen(IDC_CLASSIFY_SYSTEM_SETS)) {
    ClassificationBuilder builder([this](const std::wstring& text) { SetStatus(kStatusTextPart, text); }, nullptr);
    builder.BuildSystemSets(g_AppState.SystemFontsFolder);
    Enable(IDC_CLASSIFY_SYSTEM_SETS, false);
    seams::Beep(MB_OK);
    if (g_AppState.GroupsTree.IsWindow()) g_AppState.GroupsTree.Reload();
    // What could not be written is told once, in front of this dialog.
    (void)FlushGroupFileNotices(m_hWnd);
  }
  ClassifyScanWorker::Options options;
  for (const auto& check : kKindChecks)
    if (IsChosen(check.id)) options.kinds.push_back(check.kind);
  if (options.kinds.empty()) {
    if (::IsDlgButtonChecked(m_hWnd, IDC_CLASSIFY_SYSTEM_SETS) != BST_CHECKED) seams::Beep(MB_OK);
    return;
  }
  options.wantSystem = ::IsDlgButtonChecked(m_hWnd, IDC_CLASSIFY_SYSTEM_FONTS) == BST_CHECKED;
  options.wantUser = ::IsDlgButtonChecked(m_hWnd, IDC_CLASSIFY_USER_FONTS) == BST_CHECKED;
  options.systemFonts = g_AppState.SystemFontsFolder;
  options.userFonts = g_AppState.UserFontsFolder;
  if (folderCombo_.IsWindow()) (void)GetComboSelectedText(folderCombo_, options.roots);
  SetScanControls(true);
  SetStatus(kStatusCountPart, LoadResString(IDS_CLASSIFY_START));
  SetDlgItemText(IDC_CLASSIFY_PROGRESS, LoadResString(IDS_CLASSIFY_READING).c_str());
  if (!worker_.StartScan(options)) {
    SetScanControls(false);
    FinishScan();
  }
}

void CFontClassificationsDlg::SetScanControls(bool scanning) {
  scanning_ = scanning;
  SetDlgItemText(IDOK, LoadResString(scanning ? IDS_CLASSIFY_STOP : IDS_CLASSIFY_START).c_str());
  for (int id : kScanOptions) Enable(id, !scanning);
  if (!scanning && g_AppState.WindowsRelease < kFirstPerUserRelease) Enable(IDC_CLASSIFY_USER_FONTS, false);
}

LRESULT CFontClassificationsDlg::OnScanProgress(UINT, WPARAM, LPARAM, BOOL&) {
  const ClassifyScanWorker::Progress progress = worker_.TakeProgress();
  SetStatus(kStatusCountPart, FormatWide(L" %d", static_cast<int>(progress.count)));
  if (progress.building) {
    if (!building_) SetDlgItemText(IDC_CLASSIFY_PROGRESS, LoadResString(IDS_CLASSIFY_BUILDING).c_str());
    building_ = true;
    if (!progress.buildText.empty()) SetStatus(kStatusTextPart, progress.buildText);
  } else if (!progress.folder.empty()) {
    SetStatus(kStatusTextPart, progress.folder);
  }
  return 0;
}

LRESULT CFontClassificationsDlg::OnScanDone(UINT, WPARAM, LPARAM, BOOL&) {
  if (!scanning_) return 0;
  worker_.WaitForWalk();
  FinishScan();
  return 0;
}

void CFontClassificationsDlg::FinishScan() {
  const bool stopped = worker_.m_status != 0;
  FontItemList& collected = worker_.Collected();
  scanning_ = false;
  building_ = false;
  if (collected.Empty()) AppMessageBox(m_hWnd, MB_ICONWARNING, IDS_CAPTION_APP, IDS_CLASSIFY_NO_FONTS);
  // Each kind is built once per opening, also when a stop cut its tree short.
  const std::vector<Kind>& built = worker_.BuiltKinds();
  for (const auto& check : kKindChecks)
    if (std::find(built.begin(), built.end(), check.kind) != built.end()) Enable(check.id, false);
  if (!built.empty()) {
    seams::Beep(MB_OK);
    if (g_AppState.GroupsTree.IsWindow()) g_AppState.GroupsTree.Reload();
  }
  collected.RemoveAll();
  SetStatus(kStatusTextPart, LoadResString(stopped ? IDS_CLASSIFY_STOPPED : IDS_OPERATION_FINISHED));
  SetScanControls(false);
  Enable(IDOK, true);
  SetDlgItemText(IDC_CLASSIFY_PROGRESS, L"");
  // The worker only queued what it could not read or write: told here, once, by this thread,
  // in front of the dialog as the scan left it.
  (void)FlushGroupFileNotices(m_hWnd);
}

void CFontClassificationsDlg::OnSystemSetsToggle(UINT, int, HWND) {
  const bool sets = ::IsDlgButtonChecked(m_hWnd, IDC_CLASSIFY_SYSTEM_SETS) == BST_CHECKED;
  for (int id : {IDC_CLASSIFY_FOLDER, IDC_CLASSIFY_SYSTEM_FONTS, IDC_CLASSIFY_USER_FONTS, IDC_CLASSIFY_BY_INITIAL,
                 IDC_CLASSIFY_BY_PANOSE, IDC_CLASSIFY_BY_CLASS})
    Enable(id, !sets);
  if (!sets && g_AppState.WindowsRelease < kFirstPerUserRelease) Enable(IDC_CLASSIFY_USER_FONTS, false);
}

LRESULT CFontClassificationsDlg::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = scanning_;
  if (!scanning_) return 0;
  ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
  ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

// Closing stops a running walk first and waits for it: the worker stops at the next file.
LRESULT CFontClassificationsDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  if (scanning_) {
    worker_.Stop();
    worker_.WaitForWalk();
    FinishScan();
  }
  EndDialog(IDOK);
  return 0;
}

LRESULT CFontClassificationsDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  worker_.Stop();
  worker_.WaitForWalk();
  worker_.SetNotifyWindow(nullptr);
  handled = FALSE;
  return 0;
}

LRESULT CFontClassificationsDlg::OnHelp(UINT, WPARAM, LPARAM, BOOL&) {
  ShowHelpTopic(IDD);
  return TRUE;
}

LRESULT CFontClassificationsDlg::OnCaptionHelpButton(UINT msg, WPARAM wParam, LPARAM, BOOL& handled) {
  handled = wParam == HTHELP;
  if (handled && msg == WM_NCLBUTTONUP) ShowHelpTopic(IDD);
  return 0;
}

void CFontClassificationsDlg::SetStatus(int part, const std::wstring& text) {
  if (statusBar_) ::SendMessageW(statusBar_, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

bool CFontClassificationsDlg::IsChosen(int id) const {
  HWND item = GetDlgItem(id);
  return item && ::IsWindowEnabled(item) && ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

void CFontClassificationsDlg::Enable(int id, bool on) {
  if (HWND item = GetDlgItem(id)) ::EnableWindow(item, on);
}
