#include "app/COrvBrowseFolderDialog.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "common/ClampRectToVirtualScreen.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "framework/AppModule.h"
#include "framework/Handles.h"

namespace {

constexpr int kPromptGap = 5;   // pixels between the prompt, the tree and the legend
constexpr UINT kBigIconId = 128;

PickerFolderTreeHooks g_treeHooks;

// The picker's controls moved or stretched by the layout, in the order of the base rectangles.
enum LayoutSlot { kSlotPrompt, kSlotTree, kSlotLegend, kSlotNewFolder, kSlotOK, kSlotCancel, kSlotCount };
constexpr int kLayoutIds[kSlotCount] = {IDC_BROWSE_PROMPT, IDC_BROWSE_TREE, IDC_BROWSE_LEGEND,
                                        IDC_BROWSE_NEW_FOLDER, IDC_BROWSE_OK, IDCANCEL};
// How each control follows a change of the client size: moves right, moves down, grows wider,
// grows taller.
struct LayoutRule {
  bool moveX, moveY, sizeX, sizeY;
};
constexpr LayoutRule kLayoutRules[kSlotCount] = {
    {false, false, true, false},  // prompt
    {false, false, true, true},   // tree
    {false, true, true, false},   // legend
    {false, true, false, false},  // new folder
    {true, true, false, false},   // OK
    {true, true, false, false},   // Cancel
};

std::wstring DocumentsFolder() {
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, FALSE)) return {};
  return path;
}

std::wstring CurrentDirectory() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, path);
  return n && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

std::unique_ptr<IPickerFolderTree> MakeTree() {
  return g_treeHooks.makeTree ? g_treeHooks.makeTree() : nullptr;
}

}  // namespace

COrvBrowseFolderDialog::COrvBrowseFolderDialog() : tree_(MakeTree()), chosenFolder_(DocumentsFolder()) {}

COrvBrowseFolderDialog::COrvBrowseFolderDialog(const std::wstring& startFolder)
    : tree_(MakeTree()), chosenFolder_(startFolder) {}

COrvBrowseFolderDialog::COrvBrowseFolderDialog(UINT startFolderStringId)
    : tree_(MakeTree()), chosenFolder_(LoadResString(startFolderStringId)) {}

COrvBrowseFolderDialog::~COrvBrowseFolderDialog() = default;

bool COrvBrowseFolderDialog::AskForTargetFolder(const std::wstring& title, std::wstring& folder) {
  COrvBrowseFolderDialog picker(folder);
  picker.title = title;
  picker.allowEditing = true;
  if (picker.DoModal(::GetActiveWindow()) != 1 || picker.ChosenFolder().empty()) return false;
  folder = picker.ChosenFolder();
  return true;
}

void COrvBrowseFolderDialog::SetTreeHooks(const PickerFolderTreeHooks& hooks) { g_treeHooks = hooks; }

const PickerFolderTreeHooks& COrvBrowseFolderDialog::TreeHooks() { return g_treeHooks; }

RECT& COrvBrowseFolderDialog::LastWindowRect() {
  static RECT rect{};
  return rect;
}

LRESULT COrvBrowseFolderDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  CentreOnOwner();
  icon_ = orv::g_Module.LoadResourceIcon(kBigIconId);
  if (icon_) SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));

  if (tree_) tree_->Configure(markFontFolders, allowEditing);
  const bool marking = tree_ ? tree_->MarkFontFolders() : markFontFolders;
  if (!marking) ::ShowWindow(GetDlgItem(IDC_BROWSE_LEGEND), SW_HIDE);
  FitPrompt();

  savedCurrentDirectory_ = CurrentDirectory();
  CreateTree(TreeRect());
  if (tree_) tree_->SetTargetFolder(savedCurrentDirectory_);

  ::ShowWindow(GetDlgItem(IDC_BROWSE_NEW_FOLDER), allowEditing ? SW_SHOW : SW_HIDE);
  if (!title.empty()) SetWindowText(title.c_str());

  SetUpResizing();
  RECT& last = LastWindowRect();
  if (!::IsRectEmpty(&last)) {
    RECT rc = last;
    ClampRectToVirtualScreen(rc);
    SetWindowPos(nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  if (HWND treeWnd = TreeWindow()) ::SetFocus(treeWnd);
  return FALSE;  // the focus is set
}

void COrvBrowseFolderDialog::CentreOnOwner() {
  HWND over = centreOver ? centreOver : GetParent();
  RECT dlg{};
  GetWindowRect(&dlg);
  RECT area{};
  if (over && ::IsWindow(over) && !::IsIconic(over)) {
    ::GetWindowRect(over, &area);
  } else {
    MONITORINFO info{sizeof(info)};
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
    area = info.rcWork;
  }
  const int w = dlg.right - dlg.left, h = dlg.bottom - dlg.top;
  RECT rc{area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2, 0, 0};
  rc.right = rc.left + w;
  rc.bottom = rc.top + h;
  ClampRectToVirtualScreen(rc);
  SetWindowPos(nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void COrvBrowseFolderDialog::FitPrompt() {
  if (prompt.empty()) return;
  HWND ctl = GetDlgItem(IDC_BROWSE_PROMPT);
  if (!ctl) return;
  ::SetWindowTextW(ctl, prompt.c_str());
  RECT rc{};
  ::GetClientRect(ctl, &rc);
  {
    orv::ScopedGetDC dc(ctl);
    orv::ScopedSelectObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(ctl, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc.Get(), prompt.c_str(), static_cast<int>(prompt.size()), &rc,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
  }
  const RECT placed = orv::RectInParent(ctl);
  ::SetWindowPos(ctl, nullptr, 0, 0, placed.right - placed.left, rc.bottom - rc.top + kPromptGap,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT COrvBrowseFolderDialog::TreeRect() const {
  RECT client{};
  GetClientRect(&client);
  const RECT prompt = orv::RectInParent(GetDlgItem(IDC_BROWSE_PROMPT));
  RECT rc{prompt.left, prompt.bottom + kPromptGap, client.right - prompt.left, 0};
  // The dialog itself is not shown yet while it initialises: the legend's own style says whether
  // it will show.
  HWND legend = GetDlgItem(IDC_BROWSE_LEGEND);
  if (legend && (::GetWindowLongPtrW(legend, GWL_STYLE) & WS_VISIBLE))
    rc.bottom = orv::RectInParent(legend).top - kPromptGap;
  else
    rc.bottom = orv::RectInParent(GetDlgItem(IDC_BROWSE_OK)).top - kPromptGap;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  return rc;
}

void COrvBrowseFolderDialog::CreateTree(const RECT& rc) {
  if (!tree_) return;
  tree_->SetTargetFolder(chosenFolder_);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | TVS_HASBUTTONS |
                      TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_TRACKSELECT;
  HWND wnd = tree_->CreateTreeWindow(m_hWnd, rc, style, WS_EX_CONTEXTHELP, IDC_BROWSE_TREE);
  if (!wnd) return;
  // Keep the tab order: the tree comes first, before the buttons.
  ::SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  tree_->Initialize();
}

void COrvBrowseFolderDialog::SetUpResizing() {
  ModifyStyle(0, WS_CLIPCHILDREN);
  RECT client{};
  GetClientRect(&client);
  const int cx = ::GetSystemMetrics(SM_CXVSCROLL), cy = ::GetSystemMetrics(SM_CYHSCROLL);
  gripper_ = ::CreateWindowExW(0, L"SCROLLBAR", nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN,
                               client.right - cx, client.bottom - cy, cx, cy, m_hWnd, nullptr,
                               orv::g_Module.GetModuleInstance(), nullptr);
  baseClient_ = {client.right, client.bottom};
  for (int i = 0; i < kSlotCount; ++i)
    if (HWND ctl = GetDlgItem(kLayoutIds[i])) baseRects_[i] = orv::RectInParent(ctl);
  RECT window{};
  GetWindowRect(&window);
  minTrackSize_ = {window.right - window.left, window.bottom - window.top};
  layoutReady_ = true;
}

void COrvBrowseFolderDialog::Layout(int width, int height) {
  if (!layoutReady_) return;
  const int dx = width - baseClient_.cx, dy = height - baseClient_.cy;
  HDWP defer = ::BeginDeferWindowPos(kSlotCount + 1);
  for (int i = 0; i < kSlotCount; ++i) {
    HWND ctl = GetDlgItem(kLayoutIds[i]);
    if (!ctl || !defer) continue;
    const RECT& b = baseRects_[i];
    const LayoutRule& r = kLayoutRules[i];
    const int x = b.left + (r.moveX ? dx : 0), y = b.top + (r.moveY ? dy : 0);
    const int w = std::max(0, static_cast<int>(b.right - b.left) + (r.sizeX ? dx : 0));
    const int h = std::max(0, static_cast<int>(b.bottom - b.top) + (r.sizeY ? dy : 0));
    defer = ::DeferWindowPos(defer, ctl, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (gripper_ && defer) {
    RECT g{};
    ::GetWindowRect(gripper_, &g);
    const int cx = g.right - g.left, cy = g.bottom - g.top;
    defer = ::DeferWindowPos(defer, gripper_, nullptr, width - cx, height - cy, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (defer) ::EndDeferWindowPos(defer);
}

LRESULT COrvBrowseFolderDialog::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lp, BOOL&) {
  if (minTrackSize_.x != -1) reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = minTrackSize_;
  return 0;
}

LRESULT COrvBrowseFolderDialog::OnSize(UINT, WPARAM wp, LPARAM lp, BOOL& handled) {
  if (gripper_) {
    if (wp == SIZE_MAXIMIZED)
      ::ShowWindow(gripper_, SW_HIDE);
    else if (wp == SIZE_RESTORED)
      ::ShowWindow(gripper_, SW_SHOW);
  }
  if (wp != SIZE_MINIMIZED) Layout(LOWORD(lp), HIWORD(lp));
  handled = FALSE;
  return 0;
}

LRESULT COrvBrowseFolderDialog::OnHelp(UINT, WPARAM, LPARAM, BOOL&) {
  ShowHelpTopic(IDD);
  return TRUE;
}

LRESULT COrvBrowseFolderDialog::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  RestoreCurrentDirectory();
  handled = FALSE;
  return 0;
}

HWND COrvBrowseFolderDialog::TreeWindow() const { return GetDlgItem(IDC_BROWSE_TREE); }

bool COrvBrowseFolderDialog::IsEditingLabel() const {
  HWND treeWnd = TreeWindow();
  return treeWnd && ::SendMessageW(treeWnd, TVM_GETEDITCONTROL, 0, 0) != 0;
}

void COrvBrowseFolderDialog::RestoreCurrentDirectory() {
  // The tree makes every folder it selects the current directory; the program's own current
  // folder is the main tree's, so it comes back when the picker ends.
  if (!savedCurrentDirectory_.empty()) ::SetCurrentDirectoryW(savedCurrentDirectory_.c_str());
  savedCurrentDirectory_.clear();
}

LRESULT COrvBrowseFolderDialog::OnNewFolder(WORD, WORD, HWND, BOOL&) {
  if (HWND treeWnd = TreeWindow()) ::SendMessageW(treeWnd, WM_COMMAND, ID_FOLDER_NEW, 0);
  return 0;
}

void COrvBrowseFolderDialog::EndLabelEdit(bool abandon) {
  HWND treeWnd = TreeWindow();
  if (!treeWnd) return;
  endingEdit_ = abandon ? EndingEdit::kAbandoning : EndingEdit::kCommitting;
  ::SendMessageW(treeWnd, TVM_ENDEDITLABELNOW, abandon, 0);
  endingEdit_ = EndingEdit::kNo;
}

LRESULT COrvBrowseFolderDialog::OnEnter(WORD, WORD, HWND, BOOL&) {
  // Enter commits a folder name being edited; it never closes the picker.
  EndLabelEdit(false);
  return 0;
}

LRESULT COrvBrowseFolderDialog::OnTreeNotify(int id, NMHDR* hdr, BOOL& handled) {
  // Ending an edit destroys the edit control, and some tree-view implementations end the edit
  // again from the edit's loss of focus, this time keeping its text: the tree hears of one
  // end only, and an abandoned name is never kept.
  if (hdr->code == TVN_ENDLABELEDITW && endingEdit_ != EndingEdit::kNo) {
    const bool keepsText = reinterpret_cast<const NMTVDISPINFOW*>(hdr)->item.pszText != nullptr;
    if (endingEdit_ == EndingEdit::kCommitted || (endingEdit_ == EndingEdit::kAbandoning && keepsText)) return FALSE;
    if (endingEdit_ == EndingEdit::kCommitting) endingEdit_ = EndingEdit::kCommitted;
  }
  // The tree handles its own expansion, label edits and drawing.
  return ReflectNotifications(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(hdr), handled);
}

LRESULT COrvBrowseFolderDialog::OnOK(WORD, WORD id, HWND, BOOL&) {
  if (IsEditingLabel()) {
    EndLabelEdit(true);
    return 0;
  }
  std::wstring path;
  if (!tree_ || !tree_->GetSelectedPath(path)) path.clear();
  chosenFolder_ = path;
  if (tree_ && tree_->FoldersChanged() && g_treeHooks.rebuildMainTree) g_treeHooks.rebuildMainTree();
  GetWindowRect(&LastWindowRect());
  RestoreCurrentDirectory();
  EndDialog(id == IDC_BROWSE_OK ? 1 : id);
  return 0;
}
