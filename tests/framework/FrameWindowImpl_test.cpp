#include "framework/FrameWindowImpl.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/CommandBarCtrl.h"
#include "framework/UpdateUI.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr WORD kCmdOpen = 40101;
constexpr WORD kCmdSave = 40102;
constexpr WORD kCmdView = 40103;
constexpr WORD kCmdGrid = 40104;
constexpr WORD kCmdNotInTable = 40105;
constexpr WORD kPaneText = 40110;

class CTestFrame : public orv::CFrameWindowImpl<CTestFrame>, public orv::CUpdateUI<CTestFrame> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelTestFrame", CS_DBLCLKS, COLOR_WINDOW)

  BEGIN_UPDATE_UI_MAP(CTestFrame)
    UPDATE_ELEMENT(kCmdOpen, orv::UPDUI_MENUPOPUP | orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(kCmdSave, orv::UPDUI_MENUPOPUP | orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(kCmdView, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(kCmdGrid, orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(kPaneText, orv::UPDUI_STATUSBAR)
  END_UPDATE_UI_MAP()

  BEGIN_MSG_MAP(CTestFrame)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    CHAIN_MSG_MAP(orv::CUpdateUI<CTestFrame>)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    CHAIN_MSG_MAP(orv::CFrameWindowImpl<CTestFrame>)
  END_MSG_MAP()

  HWND toolbar = nullptr;
  std::vector<WORD> commands;

private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    CreateSimpleReBar();
    const WORD items[] = {1, 16, 16, 6, kCmdOpen, kCmdSave, 0, kCmdGrid, 0, kCmdView};
    const auto data = orv::ParseToolbarResource(items, sizeof(items));
    orv::ScopedImageList images(::ImageList_Create(16, 16, ILC_COLOR32, 4, 0));
    toolbar = CreateToolBarCtrl(m_hWnd, *data, std::move(images), false);
    HWND second = CreateToolBarCtrl(m_hWnd, *data, orv::ScopedImageList(::ImageList_Create(16, 16, ILC_COLOR32, 4, 0)), false);
    AddSimpleReBarBand(second);
    AddSimpleReBarBand(toolbar, nullptr, true);
    CreateSimpleStatusBar(L"Ready");
    m_hWndClient = ::CreateWindowExW(0, L"STATIC", L"client", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_hWnd, nullptr,
                                     nullptr, nullptr);
    UIAddToolBar(toolbar);
    UIAddStatusBar(m_hWndStatusBar);
    UpdateLayout();
    return 0;
  }
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
    commands.push_back(LOWORD(wParam));
    return 0;
  }
};

RECT ChildRect(HWND parent, HWND child) {
  RECT rc{};
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

class FrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rc{50, 50, 650, 450};
    ASSERT_TRUE(frame.CreateEx(4711, nullptr, &rc));
    testing_support::PumpMessages(30);
  }
  void TearDown() override {
    if (frame.m_hWnd) frame.DestroyWindow();
  }
  CTestFrame frame;
};

}  // namespace

TEST_F(FrameTest, BarsOnTopAndBottomClientInBetween) {
  RECT client{};
  frame.GetClientRect(&client);
  const RECT rebar = ChildRect(frame, frame.m_hWndToolBar);
  const RECT status = ChildRect(frame, frame.m_hWndStatusBar);
  const RECT view = ChildRect(frame, frame.m_hWndClient);
  EXPECT_EQ(rebar.top, 0);
  EXPECT_GT(rebar.bottom, 20);  // two rows of bands
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(view.top, rebar.bottom);
  EXPECT_EQ(view.bottom, status.top);
  EXPECT_EQ(view.left, 0);
  EXPECT_EQ(view.right, client.right);

  // Without the status bar the client reaches the bottom edge.
  ::ShowWindow(frame.m_hWndStatusBar, SW_HIDE);
  frame.UpdateLayout();
  EXPECT_EQ(ChildRect(frame, frame.m_hWndClient).bottom, client.bottom);

  // Hiding the second band shrinks the rebar; the client follows it up.
  EXPECT_TRUE(orv::CFrameWindowImplBase::ShowReBarBand(frame.m_hWndToolBar, orv::kIdFirstReBarBand + 1, false));
  testing_support::PumpMessages(30);
  frame.UpdateLayout();
  const RECT smaller = ChildRect(frame, frame.m_hWndToolBar);
  EXPECT_LT(smaller.bottom, rebar.bottom);
  EXPECT_EQ(ChildRect(frame, frame.m_hWndClient).top, smaller.bottom);

  // A resize lays everything out again.
  ::SetWindowPos(frame, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  frame.GetClientRect(&client);
  EXPECT_EQ(ChildRect(frame, frame.m_hWndClient).right, client.right);
  EXPECT_EQ(ChildRect(frame, frame.m_hWndClient).bottom, client.bottom);
}

TEST_F(FrameTest, ReBarBandsHaveIdsChevronsAndHideClippedButtons) {
  HWND rebar = frame.m_hWndToolBar;
  ASSERT_EQ(::SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0), 2);
  EXPECT_EQ(::SendMessageW(rebar, RB_IDTOINDEX, orv::kIdFirstReBarBand, 0), 0);
  EXPECT_EQ(::SendMessageW(rebar, RB_IDTOINDEX, orv::kIdFirstReBarBand + 1, 0), 1);
  REBARBANDINFOW band{sizeof(band)};
  band.fMask = RBBIM_STYLE | RBBIM_CHILD;
  ASSERT_TRUE(::SendMessageW(rebar, RB_GETBANDINFOW, 1, reinterpret_cast<LPARAM>(&band)));
  EXPECT_EQ(band.hwndChild, frame.toolbar);
  EXPECT_TRUE(band.fStyle & RBBS_BREAK);
  EXPECT_TRUE(band.fStyle & RBBS_CHILDEDGE);
  EXPECT_TRUE(band.fStyle & RBBS_USECHEVRON);
  EXPECT_TRUE(::SendMessageW(frame.toolbar, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_HIDECLIPPEDBUTTONS);
  // The toolbar holds the resource's buttons and separators, images in order.
  ASSERT_EQ(::SendMessageW(frame.toolbar, TB_BUTTONCOUNT, 0, 0), 6);
  TBBUTTON btn{};
  ::SendMessageW(frame.toolbar, TB_GETBUTTON, 3, reinterpret_cast<LPARAM>(&btn));
  EXPECT_EQ(btn.idCommand, kCmdGrid);
  EXPECT_EQ(btn.iBitmap, 2);
  ::SendMessageW(frame.toolbar, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&btn));
  EXPECT_TRUE(btn.fsStyle & BTNS_SEP);
}

TEST_F(FrameTest, UpdateUiReachesToolbarButtons) {
  auto state = [&](WORD id) { return static_cast<BYTE>(::SendMessageW(frame.toolbar, TB_GETSTATE, id, 0)); };
  EXPECT_TRUE(state(kCmdSave) & TBSTATE_ENABLED);
  EXPECT_TRUE(frame.UIEnable(kCmdSave, false));
  EXPECT_TRUE(frame.UISetCheck(kCmdGrid, true));
  // Nothing reaches the toolbar before the update.
  EXPECT_TRUE(state(kCmdSave) & TBSTATE_ENABLED);
  frame.UIUpdateToolBar();
  EXPECT_FALSE(state(kCmdSave) & TBSTATE_ENABLED);
  EXPECT_TRUE(state(kCmdGrid) & TBSTATE_CHECKED);
  EXPECT_TRUE(state(kCmdOpen) & TBSTATE_ENABLED);

  // A state changed behind the table's back is left alone until forced or changed again.
  ::SendMessageW(frame.toolbar, TB_ENABLEBUTTON, kCmdSave, TRUE);
  frame.UIUpdateToolBar();
  EXPECT_TRUE(state(kCmdSave) & TBSTATE_ENABLED);
  frame.UIUpdateToolBar(true);
  EXPECT_FALSE(state(kCmdSave) & TBSTATE_ENABLED);

  // Other state bits of the button survive.
  ::SendMessageW(frame.toolbar, TB_HIDEBUTTON, kCmdOpen, TRUE);
  frame.UIEnable(kCmdOpen, false);
  frame.UIUpdateToolBar();
  EXPECT_TRUE(state(kCmdOpen) & TBSTATE_HIDDEN);
  EXPECT_FALSE(state(kCmdOpen) & TBSTATE_ENABLED);

  frame.UISetCheck(kCmdGrid, 2);
  frame.UIUpdateToolBar();
  EXPECT_TRUE(state(kCmdGrid) & TBSTATE_INDETERMINATE);
  EXPECT_FALSE(state(kCmdGrid) & TBSTATE_CHECKED);

  EXPECT_FALSE(frame.UIEnable(kCmdNotInTable, false));
  EXPECT_TRUE(frame.UIIsEnabled(kCmdNotInTable));  // unknown commands are not blocked
}

TEST_F(FrameTest, UpdateUiReachesMenuPopupsAsTheyOpen) {
  orv::ScopedMenu popup(::CreatePopupMenu());
  ::AppendMenuW(popup.Get(), MF_STRING, kCmdOpen, L"&Open");
  ::AppendMenuW(popup.Get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(popup.Get(), MF_STRING | MF_GRAYED, kCmdSave, L"&Save");
  ::AppendMenuW(popup.Get(), MF_STRING, kCmdView, L"&View");
  ::AppendMenuW(popup.Get(), MF_STRING, kCmdNotInTable, L"Other");
  frame.UIEnable(kCmdOpen, false);
  frame.UIEnable(kCmdSave, true);
  frame.UISetCheck(kCmdView, true);
  frame.UISetText(kCmdView, L"&View all");
  ::SendMessageW(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.Get()), 0);
  auto stateOf = [&](UINT id) { return ::GetMenuState(popup.Get(), id, MF_BYCOMMAND); };
  EXPECT_TRUE(stateOf(kCmdOpen) & MF_GRAYED);
  EXPECT_FALSE(stateOf(kCmdSave) & MF_GRAYED);
  EXPECT_TRUE(stateOf(kCmdView) & MF_CHECKED);
  EXPECT_EQ(stateOf(kCmdNotInTable) & (MF_GRAYED | MF_CHECKED), 0u);
  wchar_t text[64]{};
  ::GetMenuStringW(popup.Get(), kCmdView, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"&View all");

  frame.UISetRadio(kCmdView, true);
  frame.UISetCheck(kCmdView, false);
  ::SendMessageW(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.Get()), 0);
  MENUITEMINFOW mii{sizeof(mii)};
  mii.fMask = MIIM_FTYPE | MIIM_STATE;
  ::GetMenuItemInfoW(popup.Get(), kCmdView, FALSE, &mii);
  EXPECT_TRUE(mii.fType & MFT_RADIOCHECK);
  EXPECT_FALSE(mii.fState & MFS_CHECKED);
}

TEST_F(FrameTest, AcceleratorOfDisabledCommandIsSwallowed) {
  frame.UIEnable(kCmdSave, false);
  const struct {
    WORD id;
    WORD code;
    bool runs;
  } cases[] = {
      {kCmdSave, 1, false},       // accelerator, disabled
      {kCmdSave, 0, true},        // menu or button: the handler decides
      {kCmdOpen, 1, true},        // accelerator, enabled
      {kCmdNotInTable, 1, true},  // not in the table
  };
  for (const auto& c : cases) {
    frame.commands.clear();
    ::SendMessageW(frame, WM_COMMAND, MAKEWPARAM(c.id, c.code), 0);
    EXPECT_EQ(frame.commands.size(), c.runs ? 1u : 0u) << c.id << " code " << c.code;
  }
}

TEST_F(FrameTest, UpdateUiSetsStatusBarText) {
  frame.UISetText(kPaneText, L"12 fonts");
  frame.UIUpdateStatusBar();
  wchar_t text[64]{};
  ::SendMessageW(frame.m_hWndStatusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"12 fonts");
  EXPECT_EQ(frame.UIGetText(kPaneText), L"12 fonts");
}

TEST_F(FrameTest, MenuHelpUsesSimpleStatusModeUntilTheMenuCloses) {
  ::SendMessageW(frame, WM_MENUSELECT, MAKEWPARAM(kCmdOpen, MF_STRING), 0);
  EXPECT_TRUE(::SendMessageW(frame.m_hWndStatusBar, SB_ISSIMPLE, 0, 0));
  ::SendMessageW(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_FALSE(::SendMessageW(frame.m_hWndStatusBar, SB_ISSIMPLE, 0, 0));
}

TEST(FrameWindow, ComesUpWithoutItsResources) {
  // A frame whose resources are missing still comes up, without menu or accelerators.
  CTestFrame frame;
  ASSERT_TRUE(frame.CreateEx(4712));
  EXPECT_EQ(::GetMenu(frame), nullptr);
  EXPECT_EQ(frame.m_hAccel, nullptr);
  MSG msg{frame, WM_KEYDOWN, 'O', 0, 0, {}};
  EXPECT_FALSE(frame.TranslateFrameAccelerator(&msg));
  frame.DestroyWindow();
}

TEST_F(FrameTest, ChevronMenuHoldsTheClippedButtons) {
  const WORD items[] = {1, 16, 16, 6, kCmdOpen, kCmdSave, 0, kCmdGrid, 0, kCmdView};
  HWND tb = frame.CreateToolBarCtrl(frame, *orv::ParseToolbarResource(items, sizeof(items)),
                                    orv::ScopedImageList(::ImageList_Create(16, 16, ILC_COLOR32, 4, 0)), false);
  ASSERT_TRUE(tb);
  RECT second{};
  ::SendMessageW(tb, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  ::SetWindowPos(tb, nullptr, 0, 0, second.right, second.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(tb, TB_ENABLEBUTTON, kCmdView, FALSE);
  ::SendMessageW(tb, TB_CHECKBUTTON, kCmdGrid, TRUE);
  orv::ScopedMenu menu = orv::CFrameWindowImplBase::BuildChevronMenu(tb);
  ASSERT_TRUE(menu);
  // Open and Save are on the band; the separator before Grid is not repeated at the top.
  ASSERT_EQ(::GetMenuItemCount(menu.Get()), 3);
  EXPECT_EQ(::GetMenuItemID(menu.Get(), 0), kCmdGrid);
  EXPECT_TRUE(::GetMenuState(menu.Get(), 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(::GetMenuState(menu.Get(), 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(::GetMenuItemID(menu.Get(), 2), kCmdView);
  EXPECT_TRUE(::GetMenuState(menu.Get(), 2, MF_BYPOSITION) & MF_GRAYED);

  // Wide enough for everything: nothing to offer.
  ::SetWindowPos(tb, nullptr, 0, 0, 600, second.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(::GetMenuItemCount(orv::CFrameWindowImplBase::BuildChevronMenu(tb).Get()), 0);
  ::DestroyWindow(tb);
}

TEST_F(FrameTest, ChevronOfACommandBarOffersItsClippedMenus) {
  orv::CCommandBarCtrl bar;
  ASSERT_TRUE(bar.Create(frame));
  HMENU top = ::CreateMenu();
  const wchar_t* names[] = {L"&File", L"&Edit", L"&View"};
  for (const wchar_t* name : names) {
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, kCmdOpen, L"Item");
    ::AppendMenuW(top, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
  }
  bar.AttachMenu(top);
  RECT first{};
  ::SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  ::SetWindowPos(bar, nullptr, 0, 0, first.right, first.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  HMENU view = ::GetSubMenu(top, 2);
  {
    orv::ScopedMenu menu = orv::CFrameWindowImplBase::BuildChevronMenu(bar);
    ASSERT_EQ(::GetMenuItemCount(menu.Get()), 2);
    EXPECT_EQ(::GetSubMenu(menu.Get(), 1), view);
    wchar_t text[32]{};
    ::GetMenuStringW(menu.Get(), 1, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&View");
    orv::CFrameWindowImplBase::ReleaseBorrowedPopups(menu.Get());
  }
  // The bar's own popups outlive the chevron menu.
  EXPECT_TRUE(::IsMenu(view));
  EXPECT_EQ(::GetMenuItemCount(view), 1);
}

// A frame made active again (a dialog closed, another window left) gives the focus back to the
// child that had it, not to the first pane of its client.
TEST_F(FrameTest, TheFocusedChildHasTheFocusAgainWhenTheFrameIsActiveAgain) {
  auto edit = [this](int top) {
    return ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, top, 100, 20, frame.m_hWnd,
                             nullptr, nullptr, nullptr);
  };
  const HWND first = edit(100), second = edit(130);
  ASSERT_TRUE(first && second);
  frame.ShowWindow(SW_SHOW);
  ::SetActiveWindow(frame.m_hWnd);
  ::SetFocus(second);
  ASSERT_EQ(::GetFocus(), second);
  const HWND other = ::CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 100, 200, 100, nullptr,
                                       nullptr, nullptr, nullptr);
  ASSERT_TRUE(other);
  ::SetActiveWindow(other);
  testing_support::PumpMessages(30);
  EXPECT_EQ(::GetFocus(), other);
  ::SetActiveWindow(frame.m_hWnd);
  testing_support::PumpMessages(30);
  EXPECT_EQ(::GetFocus(), second);
  ::DestroyWindow(other);
}
