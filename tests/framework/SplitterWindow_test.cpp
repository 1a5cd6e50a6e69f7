#include "framework/SplitterWindow.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/TestSupport.h"

namespace {

// The splitter's parent: records what the panes' notifications bring up to it.
class CHostWindow : public orv::CWindowImpl<CHostWindow> {
public:
  DECLARE_WND_CLASS(L"OrvelSplitterTestHost")
  BEGIN_MSG_MAP(CHostWindow)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
  END_MSG_MAP()

  std::vector<WPARAM> commands;
  std::vector<UINT> notifications;

private:
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
    commands.push_back(wParam);
    return 0;
  }
  LRESULT OnNotify(UINT, WPARAM, LPARAM lParam, BOOL&) {
    notifications.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
    return 42;
  }
};

RECT ChildRect(HWND child) {
  RECT rc{};
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

int Width(const RECT& rc) { return rc.right - rc.left; }
int Height(const RECT& rc) { return rc.bottom - rc.top; }

template <typename TSplitter>
class SplitterFixture {
public:
  explicit SplitterFixture(int cx, int cy) {
    RECT rc{0, 0, 800, 800};
    host.Create(nullptr, &rc, L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    RECT inner{0, 0, cx, cy};
    splitter.Create(host, &inner);
    for (HWND& pane : panes)
      pane = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, splitter, nullptr, nullptr, nullptr);
    splitter.SetSplitterPanes(panes[0], panes[1]);
  }
  ~SplitterFixture() { host.DestroyWindow(); }
  void Resize(int cx, int cy) { ::SetWindowPos(splitter, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); }
  bool Shown(int i) const { return (::GetWindowLongPtrW(panes[i], GWL_STYLE) & WS_VISIBLE) != 0; }

  CHostWindow host;
  TSplitter splitter;
  HWND panes[2]{};
};

}  // namespace

TEST(Splitter, PositionsAndSinglePaneModes) {
  SplitterFixture<orv::CSplitterWindow> f(404, 300);
  // Default: the bar in the middle.
  EXPECT_TRUE(f.splitter.IsDefaultPos());
  EXPECT_EQ(f.splitter.GetSplitterPos(), 200);
  EXPECT_EQ(Width(ChildRect(f.panes[0])), 200);
  EXPECT_EQ(ChildRect(f.panes[1]).left, 204);
  EXPECT_EQ(Width(ChildRect(f.panes[1])), 200);
  EXPECT_EQ(Height(ChildRect(f.panes[1])), 300);

  const struct {
    int pos, mode;
    bool shown0, shown1;
    int width0, left1, width1;
  } cases[] = {
      {100, -1, true, true, 100, 104, 300},
      {0, -1, true, true, 0, 4, 400},
      {400, -1, true, true, 400, 404, 0},
      {5000, -1, true, true, 400, 404, 0},  // limited to the window
      {100, 0, true, false, 404, -1, -1},
      {100, 1, false, true, -1, 0, 404},
      {-1, -1, true, true, 200, 204, 200},  // back to the middle
  };
  for (const auto& c : cases) {
    f.splitter.SetSplitterPos(c.pos);
    EXPECT_TRUE(f.splitter.SetSinglePaneMode(c.mode));
    EXPECT_EQ(f.splitter.GetSinglePaneMode(), c.mode);
    EXPECT_EQ(f.Shown(0), c.shown0) << c.pos << "/" << c.mode;
    EXPECT_EQ(f.Shown(1), c.shown1) << c.pos << "/" << c.mode;
    if (c.width0 >= 0) {
      EXPECT_EQ(Width(ChildRect(f.panes[0])), c.width0) << c.pos << "/" << c.mode;
    }
    if (c.left1 >= 0) {
      EXPECT_EQ(ChildRect(f.panes[1]).left, c.left1) << c.pos << "/" << c.mode;
    }
    if (c.width1 >= 0) {
      EXPECT_EQ(Width(ChildRect(f.panes[1])), c.width1) << c.pos << "/" << c.mode;
    }
  }
  EXPECT_FALSE(f.splitter.SetSinglePaneMode(2));
  EXPECT_EQ(f.splitter.GetSinglePaneMode(), -1);
}

TEST(Splitter, DefaultPositionFollowsResizesExplicitOneStays) {
  SplitterFixture<orv::CHorSplitterWindow> f(300, 204);
  EXPECT_EQ(Height(ChildRect(f.panes[0])), 100);
  f.Resize(300, 404);
  EXPECT_EQ(Height(ChildRect(f.panes[0])), 200);
  EXPECT_EQ(ChildRect(f.panes[1]).top, 204);
  EXPECT_EQ(Width(ChildRect(f.panes[1])), 300);
  f.splitter.SetSplitterPos(50);
  f.Resize(300, 604);
  EXPECT_EQ(f.splitter.GetSplitterPos(), 50);
  EXPECT_EQ(Height(ChildRect(f.panes[1])), 550);
}

TEST(Splitter, BottomAlignedKeepsTheSecondPaneSize) {
  SplitterFixture<orv::CHorSplitterWindow> f(300, 304);
  f.splitter.SetSplitterExtendedStyle(orv::SPLIT_BOTTOMALIGNED);
  f.splitter.SetSplitterPos(200);
  EXPECT_EQ(Height(ChildRect(f.panes[1])), 100);
  const int heights[] = {404, 504, 254, 604};
  for (int h : heights) {
    f.Resize(300, h);
    EXPECT_EQ(Height(ChildRect(f.panes[1])), 100) << h;
    EXPECT_EQ(f.splitter.GetSplitterPos(), h - 104) << h;
  }
}

TEST(Splitter, ProportionalKeepsTheShares) {
  SplitterFixture<orv::CSplitterWindow> f(404, 100);
  f.splitter.SetSplitterExtendedStyle(orv::SPLIT_PROPORTIONAL);
  f.splitter.SetSplitterPos(100);
  f.Resize(804, 100);
  EXPECT_EQ(f.splitter.GetSplitterPos(), 200);
}

TEST(Splitter, PositionSetBeforeTheFirstSizeSurvives) {
  // A saved layout is applied while the splitter still has no size.
  CHostWindow host;
  RECT rc{0, 0, 1200, 900};
  host.Create(nullptr, &rc, L"host", WS_OVERLAPPEDWINDOW);
  orv::CHorSplitterWindow splitter;
  RECT empty{0, 0, 0, 0};
  ASSERT_TRUE(splitter.Create(host, &empty));
  splitter.SetSplitterExtendedStyle(orv::SPLIT_BOTTOMALIGNED);
  HWND a = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, splitter, nullptr, nullptr, nullptr);
  HWND b = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, splitter, nullptr, nullptr, nullptr);
  splitter.SetSplitterPanes(a, b);
  splitter.SetSplitterPos(500);
  EXPECT_EQ(splitter.GetSplitterPos(), 500);
  ::SetWindowPos(splitter, nullptr, 0, 0, 800, 700, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(splitter.GetSplitterPos(), 500);
  EXPECT_EQ(Height(ChildRect(a)), 500);
  EXPECT_EQ(ChildRect(b).top, 504);
  host.DestroyWindow();
}

TEST(Splitter, DragMovesTheBarAndDoubleClickRestoresTheDefault) {
  SplitterFixture<orv::CSplitterWindow> f(404, 300);
  f.host.ShowWindow(SW_SHOWNOACTIVATE);
  f.splitter.SetSplitterPos(100);
  // Pressing beside the bar does nothing.
  ::SendMessageW(f.splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
  EXPECT_NE(::GetCapture(), f.splitter.m_hWnd);
  ::SendMessageW(f.splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(102, 10));
  EXPECT_EQ(::GetCapture(), f.splitter.m_hWnd);
  ::SendMessageW(f.splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(152, 10));
  ::SendMessageW(f.splitter, WM_LBUTTONUP, 0, MAKELPARAM(152, 10));
  EXPECT_NE(::GetCapture(), f.splitter.m_hWnd);
  EXPECT_EQ(f.splitter.GetSplitterPos(), 150);
  EXPECT_EQ(Width(ChildRect(f.panes[0])), 150);
  // Moving after the release changes nothing.
  ::SendMessageW(f.splitter, WM_MOUSEMOVE, 0, MAKELPARAM(300, 10));
  EXPECT_EQ(f.splitter.GetSplitterPos(), 150);
  // A drag past the edge stops at the edge.
  ::SendMessageW(f.splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(151, 10));
  ::SendMessageW(f.splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-200, 10));
  ::SendMessageW(f.splitter, WM_LBUTTONUP, 0, MAKELPARAM(-200, 10));
  EXPECT_EQ(f.splitter.GetSplitterPos(), 0);
  ::SendMessageW(f.splitter, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 10));
  EXPECT_TRUE(f.splitter.IsDefaultPos());
  EXPECT_EQ(f.splitter.GetSplitterPos(), 200);

  // Non-interactive splitters ignore the mouse.
  f.splitter.SetSplitterExtendedStyle(orv::SPLIT_NONINTERACTIVE);
  ::SendMessageW(f.splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(201, 10));
  EXPECT_NE(::GetCapture(), f.splitter.m_hWnd);
}

TEST(Splitter, OwnCursorOverTheBar) {
  SplitterFixture<orv::CSplitterWindow> f(404, 300);
  f.host.ShowWindow(SW_SHOWNOACTIVATE);
  testing_support::PumpMessages(20);
  HCURSOR cursor = ::LoadCursorW(nullptr, IDC_CROSS);
  f.splitter.SetSplitterCursor(cursor);
  POINT onBar{201, 100};
  ::ClientToScreen(f.splitter, &onBar);
  ::SetCursorPos(onBar.x, onBar.y);
  EXPECT_TRUE(::SendMessageW(f.splitter, WM_SETCURSOR, reinterpret_cast<WPARAM>(f.splitter.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(::GetCursor(), cursor);
  // Single-pane mode has no bar.
  f.splitter.SetSinglePaneMode(orv::SPLIT_PANE_LEFT);
  ::SetCursor(nullptr);
  ::SendMessageW(f.splitter, WM_SETCURSOR, reinterpret_cast<WPARAM>(f.splitter.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(::GetCursor(), cursor);
}

TEST(Splitter, PaneCommandsAndNotificationsReachTheParent) {
  SplitterFixture<orv::CSplitterWindow> f(404, 300);
  ::SendMessageW(f.splitter, WM_COMMAND, MAKEWPARAM(180, BN_CLICKED), reinterpret_cast<LPARAM>(f.panes[0]));
  ASSERT_EQ(f.host.commands.size(), 1u);
  EXPECT_EQ(f.host.commands[0], MAKEWPARAM(180, BN_CLICKED));
  NMHDR hdr{f.panes[1], 7, NM_CLICK};
  EXPECT_EQ(::SendMessageW(f.splitter, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&hdr)), 42);
  ASSERT_EQ(f.host.notifications.size(), 1u);
  EXPECT_EQ(f.host.notifications[0], static_cast<UINT>(NM_CLICK));
}

TEST(Splitter, HidingThePaneWithTheFocusMovesTheFocus) {
  SplitterFixture<orv::CSplitterWindow> f(404, 300);
  f.host.ShowWindow(SW_SHOW);
  testing_support::PumpMessages(20);
  ::SetFocus(f.panes[1]);
  if (::GetFocus() != f.panes[1]) GTEST_SKIP() << "no focus under this display";
  f.splitter.SetSinglePaneMode(orv::SPLIT_PANE_LEFT);
  EXPECT_EQ(::GetFocus(), f.panes[0]);
}
