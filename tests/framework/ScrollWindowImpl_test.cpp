#include "framework/ScrollWindowImpl.h"

#include <gtest/gtest.h>

#include "framework/TrackPopupMenuOnMonitor.h"

namespace {

class CScrollView : public orv::CScrollWindowImpl<CScrollView> {
public:
  DECLARE_WND_CLASS(L"OrvelScrollTestView")
  void DoPaint(HDC dc) {
    POINT origin{};
    ::GetViewportOrgEx(dc, &origin);
    paintedOrigin = origin;
    ++paints;
  }
  POINT paintedOrigin{};
  int paints = 0;
};

class ScrollTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rc{0, 0, 200, 100};
    ASSERT_TRUE(view.Create(nullptr, &rc, L"view", WS_POPUP | WS_HSCROLL | WS_VSCROLL));
    ::SetWindowPos(view, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{};
    view.GetClientRect(&client);
    clientH = client.bottom;
    view.SetScrollSize(1000, 2000);
    view.SetScrollLine(10, 20);
  }
  void TearDown() override { view.DestroyWindow(); }
  CScrollView view;
  int clientH = 0;
};

}  // namespace

TEST_F(ScrollTest, ScrollMessagesMoveTheOffsetWithinTheContent) {
  const struct {
    UINT msg;
    WORD code;
    LONG expectY;
  } steps[] = {
      {WM_VSCROLL, SB_LINEDOWN, 20},
      {WM_VSCROLL, SB_LINEDOWN, 40},
      {WM_VSCROLL, SB_LINEUP, 20},
      {WM_VSCROLL, SB_PAGEDOWN, 20 + clientH},
      {WM_VSCROLL, SB_TOP, 0},
      {WM_VSCROLL, SB_LINEUP, 0},  // never above the top
      {WM_VSCROLL, SB_BOTTOM, 2000 - clientH},
      {WM_VSCROLL, SB_LINEDOWN, 2000 - clientH},  // never past the end
  };
  for (const auto& s : steps) {
    ::SendMessageW(view, s.msg, MAKEWPARAM(s.code, 0), 0);
    EXPECT_EQ(view.GetScrollOffset().y, s.expectY) << s.code;
  }
  EXPECT_EQ(::GetScrollPos(view, SB_VERT), 2000 - clientH);
  ::SendMessageW(view, WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  EXPECT_EQ(view.GetScrollOffset().x, 10);
}

TEST_F(ScrollTest, WheelScrollsBySystemLines) {
  UINT lines = 3;
  ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(view.GetScrollOffset().y, static_cast<LONG>(lines) * 20);
  // Half notches add up.
  ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA / 2)), 0);
  EXPECT_EQ(view.GetScrollOffset().y, static_cast<LONG>(lines) * 20);
  ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA / 2)), 0);
  EXPECT_EQ(view.GetScrollOffset().y, 0);
}

TEST_F(ScrollTest, PaintRunsInContentCoordinatesAndShrinkingContentPullsBack) {
  view.SetScrollOffset(30, 400);
  HDC dc = ::CreateCompatibleDC(nullptr);
  ::SendMessageW(view, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  ::DeleteDC(dc);
  EXPECT_EQ(view.paints, 1);
  EXPECT_EQ(view.paintedOrigin.x, -30);
  EXPECT_EQ(view.paintedOrigin.y, -400);
  view.SetScrollSize(1000, 150, true, false);
  EXPECT_EQ(view.GetScrollOffset().y, 150 - clientH);
  view.SetScrollSize(100, 50);
  EXPECT_EQ(view.GetScrollOffset().x, 0);
  EXPECT_EQ(view.GetScrollOffset().y, 0);
}

TEST(PopupMenuPoint, ClampedOntoTheNearestMonitor) {
  MONITORINFO mi{sizeof(mi)};
  ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi));
  const RECT w = mi.rcWork;
  const struct {
    POINT in, out;
  } cases[] = {
      {{w.left + 10, w.top + 10}, {w.left + 10, w.top + 10}},
      {{w.left - 5000, w.top + 10}, {w.left, w.top + 10}},
      {{w.right + 5000, w.bottom + 5000}, {w.right - 1, w.bottom - 1}},
      {{w.left + 3, w.top - 40}, {w.left + 3, w.top}},
  };
  for (const auto& c : cases) {
    const POINT p = orv::ClampPointToMonitor(c.in);
    EXPECT_EQ(p.x, c.out.x) << c.in.x << "," << c.in.y;
    EXPECT_EQ(p.y, c.out.y) << c.in.x << "," << c.in.y;
  }
}
