// A frame built from every framework piece, shown for real and kept as a picture for a person to
// look at (not compared by pixels); the window tree is checked as well.
#include <gtest/gtest.h>

#include <string>

#include "framework/CommandBarCtrl.h"
#include "framework/FrameWindowImpl.h"
#include "framework/SplitterWindow.h"
#include "tests/support/TestSupport.h"

namespace {

class CShotFrame : public orv::CFrameWindowImpl<CShotFrame> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelScreenshotFrame", CS_DBLCLKS, COLOR_WINDOW)
  BEGIN_MSG_MAP(CShotFrame)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    CHAIN_MSG_MAP(orv::CFrameWindowImpl<CShotFrame>)
  END_MSG_MAP()

  orv::CCommandBarCtrl bar;
  orv::CSplitterWindow main;
  orv::CHorSplitterWindow side;

private:
  static orv::ScopedImageList ColouredImages(int count) {
    orv::ScopedImageList list(::ImageList_Create(16, 16, ILC_COLOR32, count, 0));
    orv::ScopedGetDC screen(nullptr);
    for (int i = 0; i < count; ++i) {
      orv::ScopedBitmap bmp(::CreateCompatibleBitmap(screen.Get(), 16, 16));
      orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
      {
        orv::ScopedSelectObject select(dc.Get(), bmp.Get());
        orv::ScopedBrush brush(::CreateSolidBrush(RGB(40 * i, 200 - 30 * i, 120)));
        RECT rc{2, 2, 14, 14};
        ::FillRect(dc.Get(), &rc, brush.Get());
      }
      ::ImageList_Add(list.Get(), bmp.Get(), nullptr);
    }
    return list;
  }

  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    bar.Create(m_hWnd);
    HMENU menu = ::CreateMenu();
    const wchar_t* names[] = {L"&File", L"&Edit", L"&View", L"&Tools", L"&Help"};
    for (const wchar_t* name : names) {
      HMENU popup = ::CreatePopupMenu();
      ::AppendMenuW(popup, MF_STRING, 40300, L"Item");
      ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
    }
    bar.AttachMenu(menu);
    const WORD items[] = {1, 16, 16, 7, 40301, 40302, 0, 40303, 40304, 0, 40305};
    HWND tb = CreateToolBarCtrl(m_hWnd, *orv::ParseToolbarResource(items, sizeof(items)), ColouredImages(5), false);
    CreateSimpleReBar();
    AddSimpleReBarBand(bar);
    AddSimpleReBarBand(tb, nullptr, true);
    CreateSimpleStatusBar(L"Ready");
    main.Create(m_hWnd);
    side.Create(main);
    side.SetSplitterExtendedStyle(orv::SPLIT_BOTTOMALIGNED);
    HWND top = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"first pane", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, side,
                                 nullptr, nullptr, nullptr);
    HWND bottom = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"second pane", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, side,
                                    nullptr, nullptr, nullptr);
    HWND right = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"right pane", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, main,
                                   nullptr, nullptr, nullptr);
    side.SetSplitterPanes(top, bottom);
    main.SetSplitterPanes(side, right);
    main.SetSplitterPos(180);
    side.SetSplitterPos(120);
    m_hWndClient = main;
    UpdateLayout();
    return 0;
  }
};

std::wstring ClassOf(HWND wnd) {
  wchar_t cls[64]{};
  ::GetClassNameW(wnd, cls, 64);
  return cls;
}

}  // namespace

TEST(FrameScreenshot, AllPiecesTogether) {
  CShotFrame frame;
  RECT rc{40, 40, 640, 440};
  ASSERT_TRUE(frame.CreateEx(4714, nullptr, &rc));
  frame.ShowWindow(SW_SHOWNORMAL);
  frame.UpdateWindow();
  testing_support::PumpMessages(300);

  // The window tree: rebar with the command bar and the toolbar, status bar, splitters.
  EXPECT_EQ(ClassOf(frame.m_hWndToolBar), REBARCLASSNAMEW);
  EXPECT_EQ(::GetParent(frame.bar), frame.m_hWndToolBar);
  EXPECT_EQ(ClassOf(frame.bar), L"OrvelCommandBar");
  EXPECT_EQ(ClassOf(frame.m_hWndStatusBar), STATUSCLASSNAMEW);
  EXPECT_EQ(ClassOf(frame.m_hWndClient), L"OrvelSplitter");
  EXPECT_EQ(ClassOf(frame.main.GetSplitterPane(0)), L"OrvelHorSplitter");
  EXPECT_EQ(frame.main.GetSplitterPos(), 180);
  EXPECT_EQ(frame.side.GetSplitterPos(), 120);
  EXPECT_EQ(::SendMessageW(frame.bar, TB_BUTTONCOUNT, 0, 0), 5);
  // The command bar counts as a toolbar for its band: chevron and clipped buttons hidden.
  REBARBANDINFOW band{sizeof(band)};
  band.fMask = RBBIM_STYLE | RBBIM_CHILD;
  ASSERT_TRUE(::SendMessageW(frame.m_hWndToolBar, RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band)));
  EXPECT_EQ(band.hwndChild, frame.bar.m_hWnd);
  EXPECT_TRUE(band.fStyle & RBBS_USECHEVRON);
  EXPECT_TRUE(::SendMessageW(frame.bar, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_HIDECLIPPEDBUTTONS);

  EXPECT_TRUE(testing_support::SaveWindowImage(frame.m_hWnd, testing_support::ArtifactsDir() + L"\\framework_frame.bmp"));
  frame.DestroyWindow();
}
