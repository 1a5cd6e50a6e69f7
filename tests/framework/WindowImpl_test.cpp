// The window layer driven with real windows: binding, message maps with chaining and
// alternate maps, superclassing, subclassing, reflection, the exception barrier and the final
// message.
#include "framework/WindowImpl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace orv;

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kBaseOnly = WM_APP + 2;
constexpr UINT kThrow = WM_APP + 3;
constexpr UINT kDecline = WM_APP + 4;

class CBaseWnd : public CWindowImpl<CBaseWnd> {
public:
  DECLARE_WND_CLASS(L"OrvelTestBase")
  BEGIN_MSG_MAP(CBaseWnd)
    MESSAGE_HANDLER(kPing, OnBasePing)
    MESSAGE_HANDLER(kBaseOnly, OnBaseOnly)
    MESSAGE_HANDLER(kDecline, OnBaseDecline)
  END_MSG_MAP()
  LRESULT OnBasePing(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnBaseOnly(UINT, WPARAM, LPARAM, BOOL&) { return 2; }
  LRESULT OnBaseDecline(UINT, WPARAM, LPARAM, BOOL&) { return 40; }
};

template <typename T>
class CDerivedImpl : public CWindowImpl<T> {};

class CDerivedWnd : public CWindowImpl<CDerivedWnd, CBaseWnd> {
public:
  DECLARE_WND_CLASS(L"OrvelTestDerived")
  BEGIN_MSG_MAP(CDerivedWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(kPing, OnPing)
    MESSAGE_HANDLER(kThrow, OnThrow)
    MESSAGE_HANDLER(kDecline, OnDecline)
    COMMAND_ID_HANDLER(1001, OnCommand1001)
    NOTIFY_CODE_HANDLER(NM_CLICK, OnClick)
    CHAIN_MSG_MAP(CBaseWnd)
  ALT_MSG_MAP(1)
    MESSAGE_HANDLER(kPing, OnAltPing)
  END_MSG_MAP()

  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    created = true;
    return 0;
  }
  LRESULT OnPing(UINT, WPARAM, LPARAM, BOOL&) { return 10; }
  LRESULT OnAltPing(UINT, WPARAM, LPARAM, BOOL&) { return 11; }
  LRESULT OnThrow(UINT, WPARAM, LPARAM, BOOL&) { throw std::runtime_error("handler failed"); }
  LRESULT OnDecline(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    return 0;
  }
  LRESULT OnCommand1001(WORD code, WORD id, HWND, BOOL&) {
    lastCommandCode = code;
    return 0;
  }
  LRESULT OnClick(int id, NMHDR*, BOOL&) {
    lastNotifyId = id;
    return 5;
  }
  void OnFinalMessage(HWND wnd) override { finalWnd = wnd; }

  bool created = false;
  WORD lastCommandCode = 0xFFFF;
  int lastNotifyId = -1;
  HWND finalWnd = nullptr;
};

TEST(WindowImpl, MessageMapsChainAndDecline) {
  CDerivedWnd wnd;
  ASSERT_TRUE(wnd.Create(nullptr, nullptr, L"test", WS_OVERLAPPEDWINDOW));
  EXPECT_TRUE(wnd.created);
  EXPECT_EQ(CWindowImplRoot::FromHandle(wnd), &wnd);
  EXPECT_EQ(wnd.SendMessage(kPing), 10);      // the derived handler wins
  EXPECT_EQ(wnd.SendMessage(kBaseOnly), 2);   // the rest goes to the base
  EXPECT_EQ(wnd.SendMessage(kDecline), 40);   // a declined message goes on searching
  EXPECT_EQ(wnd.SendMessage(kThrow), 0);      // the exception stops at the window procedure
  EXPECT_TRUE(wnd.IsWindow());

  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
  EXPECT_EQ(wnd.lastCommandCode, BN_CLICKED);
  NMHDR hdr{nullptr, 77, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&hdr)), 5);
  EXPECT_EQ(wnd.lastNotifyId, 77);

  LRESULT result = 0;
  EXPECT_TRUE(wnd.ProcessWindowMessage(wnd, kPing, 0, 0, result, 1));
  EXPECT_EQ(result, 11);
  EXPECT_FALSE(wnd.ProcessWindowMessage(wnd, kBaseOnly, 0, 0, result, 1));

  HWND handle = wnd;
  wnd.DestroyWindow();
  EXPECT_EQ(wnd.finalWnd, handle);
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(CWindowImplRoot::FromHandle(handle), nullptr);
}

class CSuperListView : public CWindowImpl<CSuperListView> {
public:
  DECLARE_WND_SUPERCLASS(L"OrvelTestListView", WC_LISTVIEWW)
  BEGIN_MSG_MAP(CSuperListView)
    MESSAGE_HANDLER(kPing, OnPing)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_CLICK, OnReflectedClick)
  END_MSG_MAP()
  LRESULT OnPing(UINT, WPARAM, LPARAM, BOOL&) { return 3; }
  LRESULT OnReflectedClick(int, NMHDR*, BOOL&) {
    ++reflected;
    return 9;
  }
  int reflected = 0;
};

class CReflectingParent : public CWindowImpl<CReflectingParent> {
public:
  DECLARE_WND_CLASS(L"OrvelTestReflectingParent")
  BEGIN_MSG_MAP(CReflectingParent)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()
};

TEST(WindowImpl, SuperclassKeepsTheControlAndReceivesReflectedNotifications) {
  CReflectingParent parent;
  ASSERT_TRUE(parent.Create(nullptr, nullptr, L"parent", WS_OVERLAPPEDWINDOW));
  CSuperListView list;
  RECT rc{0, 0, 200, 100};
  ASSERT_TRUE(list.Create(parent, &rc, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 204));
  EXPECT_EQ(list.SendMessage(kPing), 3);
  // The list view's own procedure still answers what the map leaves.
  LVCOLUMNW col{LVCF_TEXT | LVCF_WIDTH, 0, 100, const_cast<wchar_t*>(L"Name")};
  EXPECT_EQ(list.SendMessage(LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col)), 0);
  NMHDR hdr{list, 204, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 204, reinterpret_cast<LPARAM>(&hdr)), 9);
  EXPECT_EQ(list.reflected, 1);
  parent.DestroyWindow();
  EXPECT_EQ(list.m_hWnd, nullptr);
}

class CEditHook : public CWindowImpl<CEditHook> {
public:
  BEGIN_MSG_MAP(CEditHook)
    MESSAGE_HANDLER(WM_CHAR, OnChar)
  END_MSG_MAP()
  LRESULT OnChar(UINT, WPARAM wp, LPARAM, BOOL& handled) {
    if (wp == L'x') return 0;  // swallow
    handled = FALSE;
    return 0;
  }
};

TEST(WindowImpl, SubclassAndUnsubclassAnEdit) {
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  const LONG_PTR original = ::GetWindowLongPtrW(edit, GWLP_WNDPROC);
  CEditHook hook;
  ASSERT_TRUE(hook.SubclassWindow(edit));
  EXPECT_FALSE(CEditHook().SubclassWindow(edit)) << "a window binds to one object";
  for (wchar_t c : {L'a', L'x', L'b'}) ::SendMessageW(edit, WM_CHAR, c, 0);
  wchar_t text[16] = {};
  ::GetWindowTextW(edit, text, 16);
  EXPECT_STREQ(text, L"ab");
  EXPECT_EQ(hook.UnsubclassWindow(), edit);
  EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_WNDPROC), original);
  ::DestroyWindow(edit);
}

}  // namespace
