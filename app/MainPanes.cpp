#include "app/MainPanes.h"

#include <commctrl.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "framework/AppModule.h"
#include "framework/FrameWindowImpl.h"

namespace {
constexpr DWORD kChildStyle = kPaneStyle;
constexpr int kSampleRange = MAKELONG(CSamplePaneContainer::kMinSampleSize, CSamplePaneContainer::kMaxSampleSize);
static_assert(kSampleRange == 0x00480004);

void UseCursor(orv::CSplitterWindowBase& splitter, const orv::ScopedCursor& cursor) {
  // Without the resource the splitter keeps the system's sizing cursor.
  if (cursor) splitter.SetSplitterCursor(cursor.Get());
}

HWND CreateView(const wchar_t* cls, DWORD style, DWORD exStyle, HWND parent, int id) {
  return ::CreateWindowExW(exStyle, cls, nullptr, style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), orv::g_Module.GetModuleInstance(),
                           nullptr);
}

// A font list window bound to its shared list object.
HWND CreateFontList(COrvelListView& list, HWND parent, int id) {
  HWND window = CreateView(WC_LISTVIEWW, kFontListStyle, kFontListExStyle, parent, id);
  if (window && list.SubclassWindow(window)) list.Initialize();
  return window;
}

int PaneMode(int32_t stored) { return stored >= -1 && stored <= 1 ? stored : orv::SPLIT_PANE_NONE; }

// A bar the user never moved stays in the middle of whatever size the window has next: stored
// as the middle of this size, it would keep a maximised window's middle in a normal window and
// leave the second pane no room.
int32_t StoredPos(const orv::CSplitterWindowBase& splitter) {
  return splitter.IsDefaultPos() ? -1 : splitter.GetSplitterPos();
}
}  // namespace

MainPanes::MainPanes() { LoadWindowLayout(m_layout); }

HWND MainPanes::CreateClientArea(HWND frame, HWND rebar, HWND statusBar) {
  m_hWndReBar = rebar;
  m_hWndStatusBar = statusBar;
  m_mainSplitter.Create(frame, nullptr, nullptr, kChildStyle, 0, IDC_MAIN_SPLITTER);
  m_treesSplitter.Create(m_mainSplitter, nullptr, nullptr, kChildStyle, 0, IDC_TREES_SPLITTER);
  m_sampleSplitter.Create(m_mainSplitter, nullptr, nullptr, kChildStyle);
  m_listsSplitter.Create(m_sampleSplitter, nullptr, nullptr, kChildStyle);
  m_treesSplitter.SetSplitterExtendedStyle(orv::SPLIT_BOTTOMALIGNED);
  m_sampleSplitter.SetSplitterExtendedStyle(orv::SPLIT_BOTTOMALIGNED);
  // However the bars were stored or are dragged, every pane keeps some room; right of the main
  // bar the font lists stand beside the installed fonts.
  const LayoutLimits least = LayoutLimitsForDpi(orv::ScreenDpi());
  m_mainSplitter.SetMinPaneSizes(least.pane, least.listsWidth);
  for (orv::CSplitterWindowBase* splitter : {static_cast<orv::CSplitterWindowBase*>(&m_treesSplitter),
                                             static_cast<orv::CSplitterWindowBase*>(&m_sampleSplitter),
                                             static_cast<orv::CSplitterWindowBase*>(&m_listsSplitter)})
    splitter->SetMinPaneSize(least.pane);
  m_verticalBarCursor = orv::g_Module.LoadResourceCursor(IDCUR_VERTICAL_BAR);
  m_horizontalBarCursor = orv::g_Module.LoadResourceCursor(IDCUR_HORIZONTAL_BAR);
  UseCursor(m_mainSplitter, m_verticalBarCursor);
  UseCursor(m_treesSplitter, m_horizontalBarCursor);
  UseCursor(m_sampleSplitter, m_horizontalBarCursor);
  UseCursor(m_listsSplitter, m_verticalBarCursor);
  m_mainSplitter.SetSplitterPanes(m_treesSplitter, m_sampleSplitter, false);
  m_sampleSplitter.SetSplitterPane(orv::SPLIT_PANE_TOP, m_listsSplitter, false);

  const RECT& rc = m_layout.WindowRect;
  ::SetWindowPos(frame, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOACTIVATE | SWP_NOZORDER);

  const LRESULT band = ::SendMessageW(rebar, RB_IDTOINDEX, orv::kIdFirstReBarBand + 1, 0);
  if (band >= 0) ::SendMessageW(rebar, RB_SHOWBAND, static_cast<WPARAM>(band), m_layout.ToolbarShown ? TRUE : FALSE);
  ::ShowWindow(statusBar, m_layout.StatusBarShown ? SW_SHOWNOACTIVATE : SW_HIDE);
  if (m_layout.RebarRect.right != m_layout.RebarRect.left)
    ::SendMessageW(rebar, RB_SIZETORECT, 0, reinterpret_cast<LPARAM>(&m_layout.RebarRect));

  m_mainSplitter.SetSinglePaneMode(PaneMode(m_layout.MainSinglePane));
  m_listsSplitter.SetSinglePaneMode(PaneMode(m_layout.ListsSinglePane));
  m_treesSplitter.SetSinglePaneMode(PaneMode(m_layout.TreesSinglePane));
  m_sampleSplitter.SetSinglePaneMode(PaneMode(m_layout.SampleSinglePane));
  // The positions are those the window had when it closed. A window that closed maximised gets
  // them once it is maximised again: laid out in the normal-size window first, the bottom-aligned
  // splitters would add the growth in height to them, and the lower panes would shrink at every
  // start.
  m_positionsPending = m_layout.Maximized != 0;
  if (!m_positionsPending) ApplySplitterPositions();

  CreatePanes();
  g_AppState.FontCache.SetStatusBar(statusBar);
  g_AppState.BlockTable.Load();
  return m_mainSplitter;
}

void MainPanes::ApplySplitterPositions() {
  m_mainSplitter.SetSplitterPos(m_layout.MainSplitterPos, true);
  m_listsSplitter.SetSplitterPos(m_layout.ListsSplitterPos, true);
  m_treesSplitter.SetSplitterPos(m_layout.TreesSplitterPos, true);
  m_sampleSplitter.SetSplitterPos(m_layout.SampleSplitterPos, true);
}

void MainPanes::OnMaximized() {
  if (!m_positionsPending) return;
  m_positionsPending = false;
  ApplySplitterPositions();
}

void MainPanes::CreatePanes() {
  m_folderPane.Create(m_treesSplitter, nullptr, nullptr, kChildStyle);
  m_folderPane.SetCaption(m_folderPane.CaptionText());
  m_folderTree = g_AppState.FolderTree.CreateTree(m_folderPane, IDC_FOLDER_TREE);
  m_folderPane.SetClient(m_folderTree);

  m_groupsPane.Create(m_treesSplitter, nullptr, nullptr, kChildStyle);
  m_groupsPane.SetCaption(LoadResString(IDS_GROUPS_TREE_PANE));
  m_groupsTree = g_AppState.GroupsTree.CreateTree(m_groupsPane, IDC_GROUPS_TREE);
  m_groupsPane.SetClient(m_groupsTree);
  m_treesSplitter.SetSplitterPanes(m_folderPane, m_groupsPane);

  m_fontListsPane.Create(m_listsSplitter, nullptr, nullptr, kChildStyle);
  m_folderList = CreateFontList(g_AppState.FolderFonts, m_fontListsPane, IDC_FOLDER_FONTS_LIST);
  m_groupList = CreateFontList(g_AppState.GroupFonts, m_fontListsPane, IDC_GROUP_FONTS_LIST);
  m_fontListsPane.SetLists(m_folderList, m_groupList);
  g_AppState.FontListsCaptionHeight = m_fontListsPane.m_cyCaption;
  m_fontListsPane.ShowFontList(1);

  m_installedPane.Create(m_listsSplitter, nullptr, nullptr, kChildStyle);
  m_installedList = CreateFontList(g_AppState.InstalledFonts, m_installedPane, IDC_INSTALLED_FONTS_LIST);
  m_installedPane.SetClient(m_installedList);
  m_listsSplitter.SetSplitterPanes(m_fontListsPane, m_installedPane);

  m_samplePane.Create(m_sampleSplitter, nullptr, nullptr, kChildStyle);
  m_sampleUpDown = CreateView(UPDOWN_CLASSW, WS_CHILD | WS_VISIBLE, 0, m_samplePane, IDC_SAMPLE_SIZE_UPDOWN);
  ::SendMessageW(m_sampleUpDown, UDM_SETRANGE, 0, kSampleRange);
  ::SendMessageW(m_sampleUpDown, UDM_SETPOS, 0, m_samplePane.Sample().SampleSize());
  m_samplePane.SetUpDown(m_sampleUpDown);
  m_sampleWindow = m_samplePane.CreateSampleWindow();
  m_samplePane.Refresh(true);
  m_sampleSplitter.SetSplitterPane(orv::SPLIT_PANE_BOTTOM, m_samplePane);
}

void MainPanes::SetResizing(bool resizing) {
  m_resizing = resizing;
  m_samplePane.Sample().SetShowSizeLabel(resizing);
}

void MainPanes::ReadBackLayout(HWND) {
  if (m_hWndReBar) ::GetClientRect(m_hWndReBar, &m_layout.RebarRect);
  m_layout.MainSplitterPos = StoredPos(m_mainSplitter);
  m_layout.ListsSplitterPos = StoredPos(m_listsSplitter);
  m_layout.TreesSplitterPos = StoredPos(m_treesSplitter);
  m_layout.SampleSplitterPos = StoredPos(m_sampleSplitter);
  m_layout.MainSinglePane = m_mainSplitter.GetSinglePaneMode();
  m_layout.ListsSinglePane = m_listsSplitter.GetSinglePaneMode();
  m_layout.TreesSinglePane = m_treesSplitter.GetSinglePaneMode();
  m_layout.SampleSinglePane = m_sampleSplitter.GetSinglePaneMode();
}
