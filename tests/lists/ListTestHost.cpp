#include "tests/lists/ListTestHost.h"

#include "app/AppState.h"
#include "lists/FontListParent.h"

namespace {
constexpr wchar_t kHostClass[] = L"OrvelListTestHost";
}

ListTestHost::ListTestHost(int width, int height) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.lpfnWndProc = &Proc;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = kHostClass;
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  ::RegisterClassExW(&cls);
  // One top-level window serves every test: without a window manager Wine takes about two
  // seconds to take a top-level window off the screen.
  static HWND shared = ::CreateWindowExW(0, kHostClass, L"List test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                         width, height, nullptr, nullptr, cls.hInstance, nullptr);
  window_ = shared;
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  tree_ = ::CreateWindowExW(0, WC_TREEVIEWW, nullptr, WS_CHILD, 0, 0, 10, 10, window_,
                            reinterpret_cast<HMENU>(350), cls.hInstance, nullptr);
  savedMain_ = g_AppState.MainWindow;
  g_AppState.MainWindow = window_;
  ::ShowWindow(window_, SW_SHOWNOACTIVATE);
}

ListTestHost::~ListTestHost() {
  g_AppState.MainWindow = savedMain_;
  while (HWND child = ::GetWindow(window_, GW_CHILD)) ::DestroyWindow(child);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
}

void ListTestHost::Attach(COrvelListView& list, int id) {
  lists_.push_back(&list);
  RECT rc{};
  ::GetClientRect(window_, &rc);
  // A second list takes the right half.
  const int left = lists_.size() > 1 ? rc.right / 2 : 0;
  HWND view = ::CreateWindowExW(kFontListExStyle, WC_LISTVIEWW, nullptr, kFontListStyle, left, 0, rc.right - left,
                                rc.bottom,
                                window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleW(nullptr), nullptr);
  if (view && list.SubclassWindow(view)) list.Initialize();
}

LRESULT CALLBACK ListTestHost::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<ListTestHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (msg) {
    default:
      break;
  }
  LRESULT result = 0;
  if (self)
    for (const COrvelListView* list : self->lists_)
      if (HandleFontListParentMessage(*list, msg, wp, lp, result)) return result;
  return ::DefWindowProcW(window, msg, wp, lp);
}
