// The one rearrangement of the platform's sheet: the tab control gives way to the page tree
// and the banner.
#include "app/CTreePropertySheet.h"

#include <algorithm>
#include <vector>

#include "common/ClampRectToVirtualScreen.h"

namespace {

constexpr wchar_t kFontFace[] = L"MS Shell Dlg";

bool IsButton(HWND wnd) {
  wchar_t cls[16] = {};
  ::GetClassNameW(wnd, cls, 16);
  return ::CompareStringOrdinal(cls, -1, WC_BUTTONW, -1, TRUE) == CSTR_EQUAL;
}

std::vector<HWND> DirectChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

}  // namespace

void CTreePropertySheet::MoveChildren(int dx, int dy) const {
  for (HWND child : DirectChildren(m_hWnd)) {
    RECT rc = orv::RectInParent(child);
    const int drop = IsButton(child) ? buttonDrop_ : 0;
    ::SetWindowPos(child, nullptr, rc.left + dx, rc.top + dy + drop, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CTreePropertySheet::RemoveCaption() {
  ModifyStyle(WS_CAPTION | WS_SYSMENU, 0);
  RECT window{};
  GetWindowRect(&window);
  SetWindowPos(nullptr, 0, 0, window.right - window.left, window.bottom - window.top - ::GetSystemMetrics(SM_CYCAPTION),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CTreePropertySheet::CutOffButtons() {
  HWND ok = GetDlgItem(IDOK);
  if (!ok) return;
  RECT window{}, button{};
  GetWindowRect(&window);
  ::GetWindowRect(ok, &button);
  SetWindowPos(nullptr, 0, 0, window.right - window.left, button.top - window.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTreePropertySheet::Layout() {
  layoutPending_ = false;
  HWND tab = GetTabControl();
  if (!tab) return;
  SetRedraw(false);
  if (captionless_) RemoveCaption();
  if (noButtons_) CutOffButtons();

  RECT client{};
  GetClientRect(&client);
  const RECT tabRect = orv::RectInParent(tab);
  RECT page = tabRect;
  if (HWND current = GetActivePage())
    page = orv::RectInParent(current);
  else
    ::SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));

  // The page moves right of the tree and below the banner; everything else keeps its place
  // relative to the page (the hidden tab control too: pages made later are placed by it).
  const int dx = leftMargin_ + treeRight_ + gap_ - page.left;
  const int dy = topMargin_ + bannerHeight_ - page.top;
  MoveChildren(dx, dy);
  ::OffsetRect(&page, dx, dy);
  pageRect_ = page;
  ::ShowWindow(tab, SW_HIDE);

  int right = static_cast<int>(page.right);
  for (HWND child : DirectChildren(m_hWnd))
    if (child != tab && ::IsWindowVisible(child)) right = std::max(right, static_cast<int>(orv::RectInParent(child).right));
  const int growX = right + rightMargin_ - client.right;
  const int growY = dy + buttonDrop_;
  RECT window{};
  GetWindowRect(&window);
  // Half of the growth goes left and up; a sheet that starts at the screen's edge (one without
  // owner does) would lose its tree strip and its banner off the screen.
  RECT grown{window.left - growX / 2, window.top - growY / 2, window.right + growX - growX / 2,
             window.bottom + growY - growY / 2};
  ClampRectToVirtualScreen(grown);
  SetWindowPos(nullptr, grown.left, grown.top, grown.right - grown.left, grown.bottom - grown.top,
               SWP_NOZORDER | SWP_NOACTIVATE);

  // Without a caption the banner runs across the whole top, and the tree starts with the page.
  const int treeTop = captionless_ ? page.top - 2 : page.top - bannerHeight_;
  const RECT treeRect{leftMargin_, treeTop, treeRight_, page.bottom + (pageFrame_ ? 1 : 0)};
  if (tree_.Create(WC_TREEVIEWW, m_hWnd, treeRect,
                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                       TVS_SHOWSELALWAYS,
                   WS_EX_CLIENTEDGE, kPageTreeId)) {
    tree_.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    // First in the tab order, before the pages and the buttons.
    tree_.SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BuildTree();
  }
  if (noButtons_)
    for (HWND child : DirectChildren(m_hWnd)) {
      if (!IsButton(child)) continue;
      ::EnableWindow(child, FALSE);
      const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        ::SendMessageW(child, BM_SETSTYLE, (style & ~BS_TYPEMASK & 0xFFFF) | BS_PUSHBUTTON, FALSE);
    }
  if (captionless_) {
    RECT window{};
    GetWindowRect(&window);
    bannerRect_ = {0, 0, window.right - window.left, bannerHeight_};
  } else {
    bannerRect_ = {page.left, topMargin_, page.right, topMargin_ + bannerHeight_};
  }
  MakeFonts();

  SetRedraw(true);
  SendMessage(WM_NCPAINT, 1, 0);
  SendMessage(WM_NCACTIVATE, TRUE, 0);
  gradientStale_ = true;
  OnInitialized();
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
  if (tree_.m_hWnd) tree_.SetFocus();
}

void CTreePropertySheet::MakeFonts() {
  if (!titleFont_)
    titleFont_.Reset(::CreateFontW(bannerHeight_ * 3 / 4, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kFontFace));
  if (!bannerFont_)
    bannerFont_.Reset(::CreateFontW(bannerHeight_ / 2, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kFontFace));
}
