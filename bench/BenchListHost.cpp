#include "bench/BenchListHost.h"

#include <algorithm>

#include "app/AppState.h"
#include "lists/FontListParent.h"

namespace {
constexpr wchar_t kHostClass[] = L"OrvelBenchListHost";
constexpr int kPaneWidth = 260;
constexpr int kCaptionHeight = 27;  // the program's pane caption: its 16-pixel images plus 11
}

BenchListHost::BenchListHost(int width, int height) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = &Proc;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = kHostClass;
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  ::RegisterClassExW(&cls);
  window_ = ::CreateWindowExW(0, kHostClass, L"Folder fill benchmark", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                              width, height, nullptr, nullptr, cls.hInstance, this);
  status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr,
                              cls.hInstance, nullptr);
  RECT rc{};
  ::GetClientRect(window_, &rc);
  RECT status{};
  ::GetWindowRect(status_, &status);
  const int paneHeight = rc.bottom - (status.bottom - status.top);
  pane_ = ::CreateWindowExW(0, WC_STATICW, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kPaneWidth,
                            paneHeight, window_, nullptr, cls.hInstance, nullptr);
  tree_ = ::CreateWindowExW(0, WC_TREEVIEWW, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, kCaptionHeight, kPaneWidth,
                            paneHeight - kCaptionHeight, pane_, reinterpret_cast<HMENU>(350), cls.hInstance, nullptr);
  savedMain_ = g_AppState.MainWindow;
  savedStatus_ = g_AppState.StatusBar;
  g_AppState.MainWindow = window_;
  g_AppState.StatusBar = status_;
  g_AppState.FontCache.SetStatusBar(status_);
  g_AppState.FontListsCaptionHeight = kCaptionHeight;
  ::ShowWindow(window_, SW_SHOWNOACTIVATE);
  ::UpdateWindow(window_);
}

BenchListHost::~BenchListHost() {
  g_AppState.FontCache.SetStatusBar(savedStatus_);
  g_AppState.StatusBar = savedStatus_;
  g_AppState.MainWindow = savedMain_;
  if (window_) ::DestroyWindow(window_);
}

void BenchListHost::Attach(COrvelListView& list, int id) {
  list_ = &list;
  RECT rc{};
  ::GetClientRect(window_, &rc);
  RECT status{};
  ::GetWindowRect(status_, &status);
  const int height = rc.bottom - (status.bottom - status.top);
  HWND view = ::CreateWindowExW(kFontListExStyle, WC_LISTVIEWW, nullptr, kFontListStyle, kPaneWidth, 0,
                                rc.right - kPaneWidth, height,
                                window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleW(nullptr), nullptr);
  if (view && list.SubclassWindow(view)) list.Initialize();
}

LRESULT CALLBACK BenchListHost::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<BenchListHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      ::SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case WM_DRAWITEM:
      if (self && self->onDrawItem) self->onDrawItem();
      break;
    default:
      break;
  }
  LRESULT result = 0;
  if (self && self->list_ && HandleFontListParentMessage(*self->list_, msg, wp, lp, result)) return result;
  return ::DefWindowProcW(window, msg, wp, lp);
}
