// The drag itself: its start (drag image, action window, timer), the moves, the timer's ticks
// and the end. The choice of the action and the drop are in FontDragSessionActions.cpp.
#include "lists/FontDragSession.h"

#include <algorithm>
#include <vector>

#include "app/AppState.h"
#include "common/ResourceIds.h"
#include "lists/COrvelListView.h"
#include "lists/FontListImages.h"

namespace {

constexpr int kMaxImages = 5;
constexpr COLORREF kImageGround = 0xFFC080;
constexpr COLORREF kImageShadow = 0x804020;
constexpr int kGroupImage = 12;

bool KeyDown(int key) { return (::GetAsyncKeyState(key) & 0x8000) != 0; }

// Whether `window` is the main window or lies inside it or inside a window it owns (a tool
// window such as the search dialog): the program still has the focus.
bool InsideMainWindow(HWND window) {
  const HWND main = g_AppState.MainWindow;
  for (int depth = 0; window && depth < 64; ++depth) {
    if (window == main) return true;
    window = ::GetParent(window);  // the parent of a child, the owner of a popup
  }
  return false;
}

void FillRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  const RECT rect{left, top, right, bottom};
  orv::ScopedBrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.Get());
}

}  // namespace

FontDragSession* FontDragSession::running_ = nullptr;

FontDragSession::FontDragSession(COrvelListView& source, int sourceId) : sourceId_(sourceId), source_(&source) {
  running_ = this;
  started_ = Start();
}

FontDragSession::~FontDragSession() {
  End();
  // A list being destroyed is hidden first: it gets no focus back.
  if (source_->m_hWnd && ::IsWindowVisible(source_->m_hWnd)) ::SetFocus(source_->m_hWnd);
  if (running_ == this) running_ = nullptr;
}

bool FontDragSession::Start() {
  if (!source_->m_hWnd || source_->GetFirstSelected() < 0) return false;
  if (g_AppState.FolderTree.m_hWnd) (void)g_AppState.FolderTree.GetSelectedPath(sourceFolder_);
  if (!BuildDragImage()) return false;
  if (!action_.CreateFeedback(g_AppState.MainWindow)) return false;
  IMAGEINFO info{};
  ImageList_GetImageInfo(dragImage_.Get(), 0, &info);
  ::GetCursorPos(&cursor_);
  if (!ImageList_BeginDrag(dragImage_.Get(), 0, -16, info.rcImage.bottom - info.rcImage.top - 16)) return false;
  imageDragging_ = true;
  ImageList_DragEnter(::GetDesktopWindow(), cursor_.x, cursor_.y);
  hoverCounter_ = 0;
  timer_ = ::SetTimer(source_->m_hWnd, IDT_FONT_DRAG, kTimerMs, &FontDragSession::TimerProc);
  return true;
}

bool FontDragSession::BuildDragImage() {
  const std::vector<int> selected = source_->GetSelectedIndices();
  const int n = std::min(static_cast<int>(selected.size()), kMaxImages);
  if (n == 0) return false;
  const int cx = ::GetSystemMetrics(SM_CXICON);
  const int cy = ::GetSystemMetrics(SM_CYICON);
  const int width = cx + 4 * n + 8;
  const int height = cy + 4 * n + 8;
  const int innerWidth = cx + 4 * n;
  const int innerHeight = cy + 4 * n;

  orv::ScopedGetDC screen(nullptr);
  orv::ScopedCreatedDC outerDc(::CreateCompatibleDC(screen.Get()));
  orv::ScopedCreatedDC innerDc(::CreateCompatibleDC(screen.Get()));
  orv::ScopedBitmap outer(::CreateCompatibleBitmap(screen.Get(), width, height));
  orv::ScopedBitmap inner(::CreateCompatibleBitmap(screen.Get(), innerWidth, innerHeight));
  if (!outerDc || !innerDc || !outer || !inner) return false;
  {
    orv::ScopedSelectObject outerSelected(outerDc.Get(), outer.Get());
    orv::ScopedSelectObject innerSelected(innerDc.Get(), inner.Get());
    FillRect(outerDc.Get(), 0, 0, width, height, kImageGround);
    FillRect(innerDc.Get(), 0, 0, innerWidth, innerHeight, kImageGround);
    const HIMAGELIST icons = FontListImages::Get().large;
    for (int i = 0; i < n && icons; ++i) {
      const FontListRow* row = source_->GetRowAt(selected[static_cast<size_t>(i)]);
      int image = font_icons::kTrueType;
      if (row && row->record) image = row->record->GetTypeIconIndex();
      else if (row && row->subgroup) image = kGroupImage;
      ImageList_DrawEx(icons, image, innerDc.Get(), 4 * i, 4 * i, cx, cy, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    }
    ::SetStretchBltMode(outerDc.Get(), HALFTONE);
    ::SetBrushOrgEx(outerDc.Get(), 0, 0, nullptr);
    ::StretchBlt(outerDc.Get(), 4, 4, width - 8, height - 8, innerDc.Get(), 0, 0, innerWidth, innerHeight, SRCCOPY);
    FillRect(outerDc.Get(), 2, height - 2, width, height, kImageShadow);
    FillRect(outerDc.Get(), width - 2, 2, width, height, kImageShadow);
  }
  dragImage_.Reset(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 0));
  return dragImage_ && ImageList_Add(dragImage_.Get(), outer.Get(), nullptr) >= 0;
}

void FontDragSession::End() {
  if (timer_) {
    if (source_->m_hWnd) ::KillTimer(source_->m_hWnd, IDT_FONT_DRAG);
    timer_ = 0;
  }
  ClearHighlight();
  if (imageDragging_) {
    ImageList_DragLeave(::GetDesktopWindow());
    ImageList_EndDrag();
    imageDragging_ = false;
  }
  dragImage_.Reset();
  if (action_.m_hWnd) action_.DestroyWindow();
  started_ = false;
}

void FontDragSession::Move(WPARAM keys, POINT clientPoint) {
  if (!started_) return;
  POINT screen = clientPoint;
  ::ClientToScreen(source_->m_hWnd, &screen);
  cursor_ = screen;
  shift_ = (keys & MK_SHIFT) != 0;
  ctrl_ = (keys & MK_CONTROL) != 0;
  target_ = TargetAt(screen);
  if (target_ == 0) ClearHighlight();
  hoverCounter_ = 0;
  UpdateFeedback();
  if (imageDragging_) ImageList_DragMove(screen.x, screen.y);
}

int FontDragSession::TargetAt(POINT screen) const {
  if (ctrl_ && shift_) return 0;
  const HWND main = g_AppState.MainWindow;
  RECT rect{};
  if (!main || !::GetWindowRect(main, &rect) || !::PtInRect(&rect, screen)) return 0;
  if (::GetWindowRect(source_->m_hWnd, &rect) && ::PtInRect(&rect, screen)) return 0;
  const HWND under = ::WindowFromPoint(screen);
  if (!under || under == main) return 0;
  for (int target : {IDC_INSTALLED_FONTS_LIST, IDC_FOLDER_TREE, IDC_GROUPS_TREE})
    if (under == TargetWindow(target)) return target;
  return 0;
}

HWND FontDragSession::TargetWindow(int target) const {
  switch (target) {
    case IDC_INSTALLED_FONTS_LIST: return g_AppState.InstalledFonts.m_hWnd;
    case IDC_FOLDER_TREE: return g_AppState.FolderTree.m_hWnd;
    case IDC_GROUPS_TREE: return g_AppState.GroupsTree.m_hWnd;
    default: return nullptr;
  }
}

void FontDragSession::ClearHighlight() {
  if (highlighted_ && highlightedTree_ && ::IsWindow(highlightedTree_)) {
    TVITEMW item{};
    item.mask = TVIF_STATE;
    item.hItem = highlighted_;
    item.stateMask = TVIS_DROPHILITED;
    ::SendMessageW(highlightedTree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  highlighted_ = nullptr;
  highlightedTree_ = nullptr;
}

void CALLBACK FontDragSession::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (running_) running_->Tick();
}

void FontDragSession::Tick() {
  if (!started_) return;
  if (!InsideMainWindow(::GetFocus())) {
    ::PostMessageW(source_->m_hWnd, WM_COMMAND, ID_LIST_END_DRAG, 0);
    return;
  }
  ctrl_ = KeyDown(VK_CONTROL) && !KeyDown(VK_SHIFT) && !KeyDown(VK_MENU);
  shift_ = KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU);
  UpdateFeedback();

  const HWND under = ::WindowFromPoint(cursor_);
  if (!under || (under != g_AppState.FolderTree.m_hWnd && under != g_AppState.GroupsTree.m_hWnd)) return;
  if (hoverCounter_ == kScrollUp || hoverCounter_ == kScrollDown) {
    const WPARAM code = hoverCounter_ == kScrollUp ? SB_LINEUP : SB_LINEDOWN;
    WithDragImageHidden(under, [&] { ::SendMessageW(under, WM_VSCROLL, code, 0); });
    hoverCounter_ = 0;
    return;
  }
  if (++hoverCounter_ < kExpandTicks) return;
  TVHITTESTINFO hit{};
  hit.pt = cursor_;
  ::ScreenToClient(under, &hit.pt);
  const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(under, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (item && (hit.flags & TVHT_ONITEMBUTTON)) {
    WithDragImageHidden(under, [&] { ::SendMessageW(under, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item)); });
    hoverCounter_ = 0;
  }
}
