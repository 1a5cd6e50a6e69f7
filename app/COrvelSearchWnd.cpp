#include "app/COrvelSearchWnd.h"

#include <shlwapi.h>

#include "app/AppState.h"
#include "app/CTbPaneContainerImpl.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "framework/AppModule.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupNames.h"

namespace {

constexpr DWORD kBandStyle = WS_CHILD | WS_BORDER;
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE;
constexpr int kEditMap = 1;
constexpr int kIconSize = 16;
constexpr wchar_t kCtrlF = 6;
constexpr wchar_t kEnter = 13;

QuickSearchGroup LoadQuickSearchGroup(const std::wstring& file) {
  QuickSearchGroup out;
  FontGroup group;
  if (!group.Load(file)) return out;  // an unreadable group has neither nodes nor fonts
  for (const FontGroupEntry& node : group.Nodes) out.nodeFiles.push_back(node.Path);
  for (const FontGroupEntry& font : group.Fonts) out.fontNames.push_back(font.Name);
  return out;
}

// Takes one input message off the queue, as a long walk on the main thread must: true for Esc.
bool TakeEscape() {
  MSG msg;
  return ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT) && msg.message == WM_KEYDOWN &&
         msg.wParam == VK_ESCAPE;
}

}  // namespace

COrvelSearchWnd::COrvelSearchWnd()
    : font_(CreatePaneCaptionFont()),
      edit_(*this, kEditMap),
      walk_(QuickSearchWalk::Hooks{
          &LoadQuickSearchGroup, &TakeEscape,
          [](const std::wstring& file, int fontIndex) { g_AppState.GroupsTree.SelectGroupByFile(file, fontIndex); },
          [](UINT type) { seams::Beep(type); }, nullptr}) {}

HWND COrvelSearchWnd::Create(HWND pane) {
  if (!orv::CWindowImpl<COrvelSearchWnd>::Create(pane, nullptr, nullptr, kBandStyle)) return nullptr;
  if (edit_.Create(L"EDIT", m_hWnd, RECT{}, kEditStyle, 0, 0) && font_)
    edit_.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  orv::ScopedGetDC dc(m_hWnd);
  orv::ScopedSelectObject select(dc.Get(), font_.Get());
  SIZE text{};
  ::GetTextExtentPoint32W(dc.Get(), L"\x00C2g", 2, &text);
  height_ = ::MulDiv(text.cy, 125, 100) + 4;
  return m_hWnd;
}

void COrvelSearchWnd::Layout(HWND pane, int top) {
  if (!m_hWnd) return;
  RECT client{};
  ::GetClientRect(pane, &client);
  SetWindowPos(nullptr, 2, top + 2, client.right - 4, height_ - 4, SWP_NOACTIVATE | SWP_NOZORDER);
  edit_.SetWindowPos(nullptr, 0, 0, client.right - 2 - height_, height_, SWP_NOACTIVATE | SWP_NOZORDER);
  ShowWindow(SW_SHOWNA);
}

void COrvelSearchWnd::Reset() {
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  HTREEITEM item = tree.m_hWnd ? tree.GetSelectedItem() : nullptr;
  if (!item && tree.m_hWnd) item = tree.GetRootItem();
  std::wstring file = tree.GetItemFile(item);
  if (file.empty()) file = kRootGroupFile;
  rowIndex_ = -1;
  if (edit_.m_hWnd) pattern_ = edit_.GetWindowText();
  walk_.Reset(file, BuildGroupFileChain(file, L"\\"), pattern_);
}

bool COrvelSearchWnd::FindNext() {
  if (!g_AppState.GroupListShown && g_AppState.MainWindow)
    ::SendMessageW(g_AppState.MainWindow, WM_COMMAND, ID_SHOW_FONT_LIST, 2);
  if (pattern_.empty()) Reset();
  if (pattern_.empty()) {
    seams::Beep(0);
    return false;
  }
  CLVGroupFonts& list = g_AppState.GroupFonts;
  if (g_AppState.GroupsTree.GetItemFile() == walk_.CurrentGroup()) {
    if (const int selected = list.GetFirstSelected(); selected >= 0) rowIndex_ = selected;
    walk_.SetPattern(pattern_);
  } else {
    Reset();
  }
  if (FindInList()) return true;
  SetMainStatusText(LoadResString(IDS_QUICK_SEARCH_STATUS));
  rowIndex_ = -1;
  {
    orv::ScopedWaitCursor wait;
    walk_.Run();
  }
  SetMainStatusText(std::wstring());
  return true;
}

bool COrvelSearchWnd::FindInList() {
  CLVGroupFonts& list = g_AppState.GroupFonts;
  if (!list.m_hWnd) return false;
  int count = 0;
  list.GetCounts(&count, nullptr);
  for (int i = rowIndex_ + 1; i < count; ++i) {
    std::wstring name, path;
    bool isRecord = false;
    if (!list.GetItemNameAndPath(i, name, path, isRecord) || !isRecord) continue;
    if (!::PathMatchSpecW(name.c_str(), pattern_.c_str())) continue;
    rowIndex_ = i;
    list.SelectAll(false);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
    list.ScrollToRow(i, -1);
    return true;
  }
  return false;
}

void COrvelSearchWnd::SendFindNext() const { ::SendMessageW(GetParent(), WM_COMMAND, ID_GROUPS_FIND_NEXT, 0); }

LRESULT COrvelSearchWnd::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
  auto dc = reinterpret_cast<HDC>(wParam);
  RECT rc{};
  GetClientRect(&rc);
  ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_WINDOW));
  if (!icon_) icon_ = orv::g_Module.LoadResourceIcon(IDI_QUICK_SEARCH, kIconSize, kIconSize);
  const int side = rc.bottom - rc.top;
  if (icon_ && side > 2)
    ::DrawIconEx(dc, rc.right - side + 1, rc.top + 1, icon_.Get(), side - 2, side - 2, 0, nullptr, DI_NORMAL);
  return 1;
}

LRESULT COrvelSearchWnd::OnIconClick(UINT, WPARAM, LPARAM, BOOL& handled) {
  Reset();
  FindNext();
  handled = FALSE;
  return 0;
}

LRESULT COrvelSearchWnd::OnEditKeyDown(UINT, WPARAM key, LPARAM, BOOL& handled) {
  switch (key) {
    case VK_RETURN:
      Reset();
      SendFindNext();
      return 0;
    case 'F':
      if (CtrlAlone()) {
        Reset();
        SendFindNext();
      }
      return 0;  // the letter itself comes as a character
    case VK_F3:
      SendFindNext();
      return 0;
    default:
      handled = FALSE;
      return 0;
  }
}

LRESULT COrvelSearchWnd::OnEditChar(UINT, WPARAM ch, LPARAM, BOOL& handled) {
  if (ch != kCtrlF && ch != kEnter) handled = FALSE;  // the two that would only beep are swallowed
  return 0;
}

LRESULT COrvelSearchWnd::OnEditKeyUp(UINT, WPARAM, LPARAM, BOOL&) {
  pattern_ = edit_.GetWindowText();
  return 0;
}
