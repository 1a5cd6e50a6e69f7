// The page entries, the page tree and the switching of pages.
#include "app/CTreePropertySheet.h"


namespace {
constexpr size_t kTabTextMax = 260;
}  // namespace

CTreePropertySheet::CTreePropertySheet() { FetchColors(); }

CTreePropertySheet::~CTreePropertySheet() = default;

bool CTreePropertySheet::AddPage(int levelFlags, orv::CPropertyPageImplRoot& page, const std::wstring& treeCaption,
                                 const std::wstring& bannerText) {
  page.m_psp.dwFlags |= PSP_PREMATURE;
  if (!CPropertySheetImplRoot::AddPage(page)) return false;
  if (plainSheet_) return true;  // its own tab names the page
  entries_.push_back({levelFlags, &page.m_psp, treeCaption, bannerText, nullptr});
  return true;
}

HTREEITEM CTreePropertySheet::TreeItemOf(int index) const {
  return index >= 0 && static_cast<size_t>(index) < entries_.size() ? entries_[index].item : nullptr;
}

std::wstring CTreePropertySheet::PageCaption(int index) const {
  return index >= 0 && static_cast<size_t>(index) < entries_.size() ? entries_[index].caption : std::wstring();
}

void CTreePropertySheet::OnSheetInitialized() {
  if (plainSheet_) return;
  HWND tab = GetTabControl();
  if (tab) {
    ::SetWindowLongPtrW(tab, GWL_STYLE, ::GetWindowLongPtrW(tab, GWL_STYLE) & ~static_cast<LONG_PTR>(TCS_MULTILINE));
    // Every change of the current page, whoever makes it, passes the tab control.
    (void)tab_.SubclassWindow(tab);
  }
  // The pages exist only once the platform has finished creating the sheet.
  PostMessage(WM_COMMAND, MAKEWPARAM(kLayoutCommand, 0), 0);
}

LRESULT CTreePropertySheet::OnLayoutCommand(WORD, WORD, HWND, BOOL&) {
  if (layoutPending_) Layout();
  return 0;
}

int CTreePropertySheet::IndexOfItem(HTREEITEM item) const {
  if (!item || !tree_.m_hWnd) return -1;
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!tree_.SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return -1;
  const auto index = static_cast<int>(tv.lParam);
  return index >= 0 && static_cast<size_t>(index) < entries_.size() ? index : -1;
}

void CTreePropertySheet::ShowPage(int index) {
  if (index < 0) return;
  if (index != GetActiveIndex()) {
    ::LockWindowUpdate(m_hWnd);
    SetActivePage(static_cast<UINT>(index));
    ::LockWindowUpdate(nullptr);
  }
  // A page that refused to be left keeps the sheet where it was: so does the tree.
  const int current = GetActiveIndex();
  if (current >= 0 && current != index && TreeItemOf(current)) {
    syncingTree_ = true;
    tree_.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(TreeItemOf(current)));
    syncingTree_ = false;
  }
  InvalidateBanner();
}

LRESULT CTreePropertySheet::OnTreeSelChanged(int, NMHDR* hdr, BOOL&) {
  if (syncingTree_) return 0;
  const auto* change = reinterpret_cast<const NMTREEVIEWW*>(hdr);
  ShowPage(IndexOfItem(change->itemNew.hItem));
  // The keyboard stays in the tree while the arrows walk through the pages.
  if (change->action == TVC_BYKEYBOARD) tree_.SetFocus();
  return 0;
}

LRESULT CTreePropertySheet::OnTreeButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  TVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const auto item = reinterpret_cast<HTREEITEM>(tree_.SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!item || !(hit.flags & TVHT_ONITEM)) {
    handled = FALSE;  // the expand buttons and the empty area work as usual
    return 0;
  }
  tree_.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  ShowPage(IndexOfItem(item));
  if (!focusPageOnClick_) {
    handled = FALSE;
    return 0;
  }
  if (HWND page = GetActivePage()) ::SetFocus(page);
  return 0;
}

// A tree item's tooltip does not outlive the mouse leaving the tree; a drag by the banner moves
// the window as far as the cursor went since the last move.
LRESULT CTreePropertySheet::OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (tree_.m_hWnd)
    if (HWND tip = reinterpret_cast<HWND>(tree_.SendMessage(TVM_GETTOOLTIPS))) ::ShowWindow(tip, SW_HIDE);
  if (dragging_ && (wParam & MK_LBUTTON)) {
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(m_hWnd, &at);
    RECT window{};
    GetWindowRect(&window);
    SetWindowPos(nullptr, window.left + at.x - dragFrom_.x, window.top + at.y - dragFrom_.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    dragFrom_ = at;
    return 0;
  }
  handled = FALSE;
  return 0;
}

// Without a caption the banner is where the window is taken to move it.
void CTreePropertySheet::OnBannerButtonDown(UINT, POINT at) {
  if (!captionless_ || layoutPending_ || plainSheet_ || !::PtInRect(&bannerRect_, at)) {
    DefWindowProc();
    return;
  }
  ::ClientToScreen(m_hWnd, &at);
  dragFrom_ = at;
  dragging_ = true;
  ::SetCapture(m_hWnd);
}

void CTreePropertySheet::OnBannerButtonUp(UINT, POINT) {
  if (dragging_) ::ReleaseCapture();  // the capture change ends the drag
  DefWindowProc();
}

LRESULT CTreePropertySheet::OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL& handled) {
  dragging_ = false;
  handled = FALSE;
  return 0;
}

LRESULT CTreePropertySheet::OnTabSetCurSel(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  const LRESULT result = tab_.DefWindowProc(msg, wParam, lParam);
  if (HTREEITEM item = TreeItemOf(static_cast<int>(wParam)); item && tree_.m_hWnd) {
    syncingTree_ = true;
    tree_.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    syncingTree_ = false;
  }
  InvalidateBanner();
  return result;
}

void CTreePropertySheet::BuildTree() {
  HWND tab = GetTabControl();
  std::vector<HTREEITEM> branches;
  for (size_t i = 0; i < entries_.size(); ++i) {
    TreePageEntry& entry = entries_[i];
    if (entry.caption.empty() && tab) {
      wchar_t text[kTabTextMax + 1] = {};
      TCITEMW tc{};
      tc.mask = TCIF_TEXT;
      tc.pszText = text;
      tc.cchTextMax = kTabTextMax;
      if (::SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&tc))) entry.caption = text;
    }
    TVINSERTSTRUCTW insert{};
    insert.hParent = branches.empty() ? TVI_ROOT : branches.back();
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = entry.caption.data();
    insert.item.lParam = static_cast<LPARAM>(i);
    insert.item.stateMask = TVIS_EXPANDED;
    insert.item.state = (entry.level & kLevelExpanded) ? TVIS_EXPANDED : 0;
    entry.item = reinterpret_cast<HTREEITEM>(tree_.SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    const int shape = entry.level & kLevelShapeMask;
    if (shape == kLevelOpensBranch && entry.item) branches.push_back(entry.item);
    else if (shape == kLevelClosesBranch && !branches.empty()) branches.pop_back();
  }
  const int current = GetActiveIndex();
  if (HTREEITEM item = TreeItemOf(current >= 0 ? current : 0)) {
    syncingTree_ = true;
    tree_.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    syncingTree_ = false;
  }
}
