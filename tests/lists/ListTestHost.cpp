#include "tests/lists/ListTestHost.h"

#include "app/AppState.h"
#include "lists/FontListParent.h"
#include "tests/support/TestSupport.h"

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
  tree_ = ::CreateWindowExW(0, WC_TREEVIEWW, nullptr, WS_CHILD, 0, 0, 10, 10, window_,
                            reinterpret_cast<HMENU>(350), cls.hInstance, nullptr);
  savedMain_ = g_AppState.MainWindow;
  g_AppState.MainWindow = window_;
  ::ShowWindow(window_, SW_SHOWNOACTIVATE);
}

ListTestHost::~ListTestHost() {
  g_AppState.MainWindow = savedMain_;
  while (HWND child = ::GetWindow(window_, GW_CHILD)) ::DestroyWindow(child);
}

void ListTestHost::Attach(COrvelListView& list, int id) {
  RECT rc{};
  ::GetClientRect(window_, &rc);
  // A second list takes the right half.
  const int left = ++attached_ > 1 ? rc.right / 2 : 0;
  HWND view = ::CreateWindowExW(kFontListExStyle, WC_LISTVIEWW, nullptr, kFontListStyle, left, 0, rc.right - left,
                                rc.bottom,
                                window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleW(nullptr), nullptr);
  if (view && list.SubclassWindow(view)) list.Initialize();
}

LRESULT CALLBACK ListTestHost::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  // The list is found through its window, never kept: a list object that went took its window
  // with it.
  HWND child = nullptr;
  switch (msg) {
    case WM_MEASUREITEM:
      child = ::GetDlgItem(window, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlID));
      break;
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    default:
      break;
  }
  LRESULT result = 0;
  if (const auto* list = child ? dynamic_cast<const COrvelListView*>(orv::CWindowImplRoot::FromHandle(child)) : nullptr)
    if (HandleFontListParentMessage(*list, msg, wp, lp, result)) return result;
  return ::DefWindowProcW(window, msg, wp, lp);
}

void HostedList::SetUp() {
  testing_support::ResetRecords();
  saved = g_Preferences;
  g_Preferences.FontPointSize = 12;
  g_Preferences.StyleFlags = 0;
}

void HostedList::TearDown() { g_Preferences = saved; }
