#include "app/CMainFrame.h"

#include <commctrl.h>

#include <algorithm>
#include <windowsx.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "groups/GroupFileNotices.h"
#include "lists/CLVFolderFontsLoader.h"
#include "lists/FontListParent.h"
#include "lists/TempFontsFolder.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/HelpRequest.h"
#include "common/LoadImageListFromResource.h"
#include "common/ResString.h"
#include "framework/AppModule.h"

namespace {
constexpr int kQuitNormalClose = 1;
constexpr DWORD kCommandBarCreateStyle = 0x5600184C;
constexpr DWORD kMainToolBarStyle = 0x5600094C;
constexpr DWORD kReBarStyle = 0x56002640;
constexpr DWORD kStatusBarStyle = 0x56000100;
constexpr int kElevatedIcon = 129;
constexpr size_t kStatusTextMax = 128;

// The restored (not maximised) rectangle in screen coordinates: the placement's normal
// position is relative to the work area of the window's monitor.
RECT NormalWindowRect(HWND wnd) {
  WINDOWPLACEMENT placement{sizeof(placement)};
  RECT rc{};
  if (!::GetWindowPlacement(wnd, &placement)) {
    ::GetWindowRect(wnd, &rc);
    return rc;
  }
  rc = placement.rcNormalPosition;
  MONITORINFO mi{sizeof(mi)};
  if (::GetMonitorInfoW(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &mi))
    ::OffsetRect(&rc, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
  return rc;
}

bool IsSelfOrInside(HWND outer, HWND wnd) { return outer && wnd && (wnd == outer || ::IsChild(outer, wnd)); }

bool KeyHeld(int key) { return ::GetKeyState(key) < 0; }

void DeselectAll(HWND list) {
  if (!list) return;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

int SelectedCount(HWND list) {
  return list ? static_cast<int>(::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

}  // namespace

CMainFrame::CMainFrame() = default;

HWND CMainFrame::CreateMainWindow() {
  return CreateEx(IDR_MAINFRAME, nullptr, nullptr, orv::kFrameStyle, orv::kFrameExStyle);
}

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  g_AppState.MainWindow = m_hWnd;
  SetGroupFileNoticeWindow(m_hWnd);

  commandBar_.Create(m_hWnd, nullptr, kCommandBarCreateStyle);
  commandBar_.AttachMenu(::GetMenu(m_hWnd));
  // The menus' pictures: the one command picture table that the panes' menus use too.
  commandBar_.SetImages(LoadCommandPictures(), CommandPictureTable());
  ::SetMenu(m_hWnd, nullptr);
  UIAddMenu(commandBar_.GetMenu());

  panes_.m_hWndToolBar = CreateSimpleToolBarCtrl(m_hWnd, IDR_MAIN_TOOLBAR, false, kMainToolBarStyle);

  CreateSimpleReBar(kReBarStyle);
  REBARINFO info{sizeof(info)};
  ::SendMessageW(m_hWndToolBar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  AddSimpleReBarBand(commandBar_);
  if (panes_.m_hWndToolBar) AddSimpleReBarBand(panes_.m_hWndToolBar, nullptr, true);

  std::wstring ready = LoadResString(IDS_STATUS_READY);
  if (ready.size() > kStatusTextMax) ready.resize(kStatusTextMax);
  m_hWndStatusBar = ::CreateStatusWindowW(kStatusBarStyle, ready.c_str(), m_hWnd, orv::kIdStatusBar);
  g_AppState.StatusBar = m_hWndStatusBar;

  if (panes_.m_hWndToolBar) UIAddToolBar(panes_.m_hWndToolBar);
  if (g_AppState.IsElevated) {
    elevatedIcon_ = orv::g_Module.LoadResourceIcon(kElevatedIcon);
    if (elevatedIcon_) SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(elevatedIcon_.Get()));
  }
  UIEnable(ID_RESTART_ELEVATED, !g_AppState.IsElevated && g_AppState.UserIsAdmin);

  m_hWndClient = panes_.CreateClientArea(m_hWnd, m_hWndToolBar, m_hWndStatusBar);
  g_AppState.FontCache.SetLimit(g_Preferences.FontCacheSize);  // negative: the cache is never cut back
  g_AppState.FontCache.SetReady(true);
  SetViewChecks();

  minSizeGuard_ = false;
  if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) {
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
    filtersAdded_ = true;
  }
  UpdateLayout();
  // The first idle passes fill the lists.
  g_AppState.InstalledFonts.m_refreshPending = true;
  g_AppState.FolderFonts.m_refreshPending = true;
  return 0;
}

void CMainFrame::SetViewChecks() {
  const int mainMode = panes_.m_mainSplitter.GetSinglePaneMode();
  const int treesMode = panes_.m_treesSplitter.GetSinglePaneMode();
  UISetCheck(ID_VIEW_TOOLBAR, panes_.m_layout.ToolbarShown != 0);
  UISetCheck(ID_VIEW_STATUS_BAR, panes_.m_layout.StatusBarShown != 0);
  UISetCheck(ID_VIEW_SAMPLE_PANE, panes_.m_sampleSplitter.GetSinglePaneMode() != orv::SPLIT_PANE_TOP);
  UISetCheck(ID_VIEW_GROUPS_TREE, treesMode != orv::SPLIT_PANE_TOP && mainMode != orv::SPLIT_PANE_RIGHT);
  UISetCheck(ID_VIEW_FOLDER_TREE, treesMode != orv::SPLIT_PANE_BOTTOM && mainMode != orv::SPLIT_PANE_RIGHT);
  UISetCheck(ID_VIEW_FOLDER_LISTS, panes_.m_listsSplitter.GetSinglePaneMode() != orv::SPLIT_PANE_RIGHT);
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
  panes_.m_hWndToolBar = nullptr;
  orv::ScopedMenu menu(commandBar_.DetachMenu());
  if (filtersAdded_) {
    if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) {
      loop->RemoveMessageFilter(this);
      loop->RemoveIdleHandler(this);
    }
    filtersAdded_ = false;
  }
  SetGroupFileNoticeWindow(nullptr);
  g_AppState.MainWindow = nullptr;
  g_AppState.StatusBar = nullptr;
  ::PostQuitMessage(kQuitNormalClose);
  return 0;
}

LRESULT CMainFrame::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  // Privately loaded fonts are let go while nobody looks at them.
  if (wParam == SIZE_MINIMIZED) g_AppState.FontCache.RemoveAll(true);
  if (wParam == SIZE_MAXIMIZED && panes_.m_positionsPending) {
    UpdateLayout();
    panes_.OnMaximized();
  }
  handled = FALSE;  // the frame lays out the bars and the client area
  return 0;
}

LRESULT CMainFrame::OnClose(UINT, WPARAM, LPARAM, BOOL& handled) {
  tools_.DestroyOnMainClose();
  const bool minimized = IsIconic();
  WindowLayout& layout = panes_.m_layout;
  layout.Maximized = IsZoomed() ? 1 : 0;
  if (!minimized) {
    layout.WindowRect = NormalWindowRect(m_hWnd);
    ClampRectToVirtualScreen(layout.WindowRect);
    panes_.ReadBackLayout(m_hWnd);
  }
  if (m_hWndClient) ::ShowWindow(m_hWndClient, SW_HIDE);
  ShowWindow(SW_HIDE);
  // A minimised window has no position worth keeping: the stored layout stays.
  SaveWindowLayout(minimized ? nullptr : &layout);
  if (TempFontsFolderExists()) CLVFolderFontsLoader::RemoveTemporaryFonts();
  handled = FALSE;  // the default processing destroys the window
  return 0;
}

LRESULT CMainFrame::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  if (minSizeGuard_) {
    handled = FALSE;
    return 0;
  }
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  const SIZE least = LayoutLimitsForDpi(orv::ScreenDpi()).window;
  if (info->ptMinTrackSize.x < least.cx) info->ptMinTrackSize.x = least.cx;
  if (info->ptMinTrackSize.y < least.cy) info->ptMinTrackSize.y = least.cy;
  return 0;
}

LRESULT CMainFrame::OnEnterSizeMove(UINT, WPARAM, LPARAM, BOOL& handled) {
  SendMessage(WM_COMMAND, ID_LISTS_REDRAW, 0);
  panes_.SetResizing(true);
  handled = FALSE;
  return 0;
}

LRESULT CMainFrame::OnExitSizeMove(UINT, WPARAM, LPARAM, BOOL& handled) {
  SendMessage(WM_COMMAND, ID_LISTS_REDRAW, 1);
  panes_.SetResizing(false);
  if (m_hWndToolBar) ::InvalidateRect(m_hWndToolBar, nullptr, TRUE);
  handled = FALSE;
  return 0;
}

// F1 on a control of the main window: the help topic of that control.
LRESULT CMainFrame::OnHelp(UINT, WPARAM, LPARAM lParam, BOOL&) {
  if (const auto* info = reinterpret_cast<const HELPINFO*>(lParam))
    ShowHelpTopic(static_cast<UINT>(info->iCtrlId));
  return TRUE;
}

// The font lists draw their own rows: their item heights, owner-draw and list notifications,
// forwarded up through the panes and splitters, are answered for them or sent back to them.
LRESULT CMainFrame::OnFontListMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  LRESULT result = 0;
  if (IsSelectionChangeNotice(msg, lParam)) {
    const HWND from = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    if (from == g_AppState.FolderFonts.m_hWnd || from == g_AppState.GroupFonts.m_hWnd ||
        from == g_AppState.InstalledFonts.m_hWnd)
      PostSelectionUpdate();
  }
  for (const COrvelListView* list : {static_cast<const COrvelListView*>(&g_AppState.FolderFonts),
                                     static_cast<const COrvelListView*>(&g_AppState.GroupFonts),
                                     static_cast<const COrvelListView*>(&g_AppState.InstalledFonts)})
    if (HandleFontListParentMessage(*list, msg, wParam, lParam, result)) return result;
  handled = FALSE;  // menus of the command bar, other controls
  return 0;
}

void CMainFrame::ShowFolderListCaption() {
  CLVFolderFonts& list = g_AppState.FolderFonts;
  panes_.m_fontListsPane.SetFolderListCaption(list.m_folder, list.CountRecords());
  panes_.m_folderPane.UpdateFontsFolderButtons();
}

LRESULT CMainFrame::OnListsRedraw(WORD, WORD, HWND wnd, BOOL&) {
  const bool redraw = wnd != nullptr;
  const COrvelListView* results = SearchResultList();
  const HWND resultList = results ? results->m_hWnd : nullptr;
  for (HWND list : {panes_.m_folderList, panes_.m_installedList, panes_.m_groupList, resultList}) {
    if (!list) continue;
    ::SendMessageW(list, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw) {
      ::InvalidateRect(list, nullptr, TRUE);
      ::UpdateWindow(list);
    }
  }
  return 0;
}

LRESULT CMainFrame::OnShowFontList(WORD, WORD, HWND wnd, BOOL&) {
  panes_.m_fontListsPane.ShowFontList(reinterpret_cast<LPARAM>(wnd));
  panes_.m_groupsPane.UpdateLayout();
  panes_.m_folderPane.UpdateLayout();
  return 0;
}

LRESULT CMainFrame::OnAppExit(WORD, WORD, HWND, BOOL&) {
  PostMessage(WM_CLOSE);
  return 0;
}

// A tool window has gone; the low word of lParam names it.
LRESULT CMainFrame::OnToolWindowClosed(WORD, WORD, HWND wnd, BOOL&) {
  tools_.OnToolClosed(LOWORD(reinterpret_cast<LPARAM>(wnd)));
  return 0;
}

void CMainFrame::SelectOnly(HWND focusList, std::initializer_list<HWND> deselect) const {
  for (HWND list : deselect) DeselectAll(list);
  if (focusList) ::SetFocus(focusList);
}

bool CMainFrame::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_LBUTTONDOWN && IsSelfOrInside(panes_.m_installedPane, msg->hwnd)) {
    SelectOnly(panes_.m_installedList, {panes_.m_folderList, panes_.m_groupList});
  } else if (msg->message == WM_LBUTTONDOWN && IsSelfOrInside(panes_.m_fontListsPane, msg->hwnd)) {
    if (g_AppState.GroupListShown)
      SelectOnly(panes_.m_groupList, {panes_.m_installedList, panes_.m_folderList});
    else
      SelectOnly(panes_.m_folderList, {panes_.m_installedList, panes_.m_groupList});
  } else if (msg->message == WM_LBUTTONDOWN || msg->message == WM_LBUTTONUP) {
    const bool press = msg->message == WM_LBUTTONDOWN;
    if (msg->hwnd == panes_.m_mainSplitter || msg->hwnd == panes_.m_listsSplitter)
      SendMessage(WM_COMMAND, ID_LISTS_REDRAW, press ? 0 : 1);
    if (msg->hwnd == panes_.m_mainSplitter || msg->hwnd == panes_.m_listsSplitter ||
        msg->hwnd == panes_.m_sampleSplitter)
      panes_.SetResizing(press);
  }
  if (msg->message == WM_MOUSEWHEEL) return RouteMouseWheel(*msg);
  if (IsFocusedViewKey(*msg)) return false;
  return m_hAccel && ::TranslateAcceleratorW(m_hWnd, m_hAccel, msg);
}

// The trees find (Ctrl+F) and refresh (F5) in their own way, and the group list's Ctrl+F finds
// through the groups: while one of them has the focus, the main window's accelerators for these
// keys leave them to it.
bool CMainFrame::IsFocusedViewKey(const MSG& msg) const {
  if (msg.message != WM_KEYDOWN || !msg.hwnd) return false;
  const bool ctrl = KeyHeld(VK_CONTROL), shift = KeyHeld(VK_SHIFT);
  const bool find = msg.wParam == 'F' && ctrl && !shift;
  const bool refresh = msg.wParam == VK_F5 && !ctrl && !shift;
  if (msg.hwnd == panes_.m_groupsTree || msg.hwnd == panes_.m_folderTree) return find || refresh;
  return msg.hwnd == panes_.m_groupList && find;
}

// The wheel scrolls the window under the cursor, not the one with the focus.
bool CMainFrame::RouteMouseWheel(const MSG& msg) const {
  const POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  HWND target = ::WindowFromPoint(pt);
  if (!target) return true;
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(target, GWLP_HINSTANCE));
  if (instance == orv::g_Module.GetModuleInstance()) {
    ::SendMessageW(target, WM_MOUSEWHEEL, msg.wParam, msg.lParam);
    return true;
  }
  // Controls from the resource library's dialog templates and other processes' windows do not
  // get a wheel that was not meant for them.
  return true;
}

bool CMainFrame::OnIdle() {
  const IdleJob job = RunIdleJob();
  // What the user's action and the work it left found of damaged group files: one box, once
  // all of that is done.
  if (job == IdleJob::None || job == IdleJob::StateUpdate) {
    if (FlushGroupFileNotices()) {
      PostMessage(WM_NULL);
      return true;
    }
  }
  if (job == IdleJob::None) return false;
  // One job per pass; the message loop only calls again after a message, so make sure one comes
  // while work is left (a headless display sends none on its own).
  if (job != IdleJob::StateUpdate) PostMessage(WM_NULL);
  return true;
}

IdleJob CMainFrame::RunIdleJob() {
  if (Pending.InstalledRefresh || g_AppState.InstalledFonts.m_refreshPending) {
    Pending.InstalledRefresh = false;
    g_AppState.InstalledFonts.m_refreshPending = false;
    FullFontRefresh();
    return IdleJob::InstalledRefresh;
  }
  if (g_AppState.FolderTree.IsInitPending() && g_AppState.FolderTree.IsWindow()) {
    g_AppState.FolderTree.Initialize();
    return IdleJob::FolderTreeInit;
  }
  CGroupsTreeView& groupsTree = g_AppState.GroupsTree;
  if (Pending.GroupsTreeInit || (groupsTree.IsInitPending() && groupsTree.IsWindow())) {
    Pending.GroupsTreeInit = false;
    if (groupsTree.IsWindow()) groupsTree.Init();
    return IdleJob::GroupsTreeInit;
  }
  UpdateStates();
  if (Pending.FolderListRefresh || g_AppState.FolderFonts.m_refreshPending) {
    Pending.FolderListRefresh = false;
    DeselectAll(panes_.m_folderList);
    panes_.m_fontListsPane.SetCaption(std::wstring());
    panes_.m_fontListsPane.UpdateLayout();
    panes_.m_fontListsPane.Invalidate();
    const bool filled = g_AppState.FolderFonts.m_hWnd && g_AppState.FolderFonts.Fill() != 0;
    g_AppState.FolderFonts.m_refreshPending = false;
    if (filled || Pending.FolderCaption || g_AppState.FolderFonts.m_captionPending) ShowFolderListCaption();
    Pending.FolderCaption = false;
    g_AppState.FolderFonts.m_captionPending = false;
    return IdleJob::FolderListFill;
  }
  if (Pending.FolderCaption || g_AppState.FolderFonts.m_captionPending) {
    Pending.FolderCaption = false;
    g_AppState.FolderFonts.m_captionPending = false;
    ShowFolderListCaption();
    return IdleJob::FolderCaption;
  }
  if (Pending.GroupListRefresh || Pending.GroupCaption || g_AppState.GroupFonts.m_refreshPending ||
      g_AppState.GroupFonts.m_captionPending) {
    ShowGroupList();
    return IdleJob::GroupListFill;
  }
  return IdleJob::None;
}

void CMainFrame::PostSelectionUpdate() {
  if (selectionUpdatePosted_ || !m_hWnd) return;
  selectionUpdatePosted_ = PostMessage(kMsgFontListSelectionChanged) != FALSE;
}

// The states the idle pass would set, now: the sample pane shows the selected row and the
// toolbars' buttons follow, whether or not an idle phase comes after this message.
LRESULT CMainFrame::OnSelectionChanged(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam == kSelectionChangeNotice) {
    PostSelectionUpdate();
    return 0;
  }
  selectionUpdatePosted_ = false;
  // Not under the work of a list that is being filled or changed (a box of that work may be
  // dispatching this message): the idle pass after it shows the selection.
  if (g_AppState.Busy || g_AppState.FolderFonts.m_busy || g_AppState.GroupFonts.m_busy ||
      g_AppState.InstalledFonts.m_busy)
    return 0;
  UpdateStates();
  return 0;
}

void CMainFrame::UpdateStates() {
  CLVFolderFonts& folderList = g_AppState.FolderFonts;
  CLVInstalledFonts& installedList = g_AppState.InstalledFonts;
  CLVGroupFonts& groupList = g_AppState.GroupFonts;
  if (Pending.SelectionChanged || folderList.m_selectionChanged || installedList.m_selectionChanged ||
      groupList.m_selectionChanged) {
    ShowSelectionInSample();
    Pending.SelectionChanged = false;
    folderList.m_selectionChanged = false;
    installedList.m_selectionChanged = false;
    groupList.m_selectionChanged = false;
    panes_.m_fontListsPane.Invalidate();
    panes_.m_installedPane.Invalidate();
  }
  const bool installedSelection = SelectedCount(panes_.m_installedList) > 0;
  panes_.m_installedPane.EnableButton(ID_FONTS_COPY_TO_FOLDER, installedSelection);
  panes_.m_installedPane.EnableButton(ID_FONTS_UNINSTALL, installedSelection && COrvelListView::CanInstallFonts());
  UpdateGroupsPaneButtons();
  panes_.m_fontListsPane.UpdateToolbarState();
  UpdateSearchStates();
  UpdateFontCommandStates();
  UISetCheck(ID_VIEW_SAMPLE_IN_LIST, g_Preferences.ShowSampleInList);
  UIEnable(ID_VIEW_SAMPLE_IN_LIST, (g_Preferences.StyleFlags & Preferences::kStyleNamesOnly) == 0);
  UIEnable(ID_FILE_SAVE_IMAGES, HasFontImagesToSave());
  UIUpdateToolBar();
  UIUpdateStatusBar();
}
