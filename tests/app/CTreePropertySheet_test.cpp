// The tree property sheet run for real: the tree built from the pages (tab texts, branches),
// page switching by mouse, keyboard and the sheet itself with the focus rule, a page that
// refuses to be left, the banner's painted texts read back from the screen, and the sheet
// without caption (dragged by its banner), without buttons, or plain with its tabs.
#include "app/CTreePropertySheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

struct alignas(4) EmptyPageTemplate {
  DLGTEMPLATE dlg{WS_CHILD | WS_CAPTION | DS_3DLOOK, 0, 0, 0, 0, 200, 100};
  WORD menu = 0, windowClass = 0, title = 0, pad = 0;
};
const EmptyPageTemplate kTemplate;

class CTestPage : public orv::CPropertyPageImpl<CTestPage> {
public:
  explicit CTestPage(const wchar_t* title) {
    SetTemplate(&kTemplate.dlg);
    SetTitle(title);
  }
  bool OnKillActive() { return !stay; }
  bool stay = false;
};

class CTestSheet : public CTreePropertySheet {
public:
  void OnInitialized() override {
    ++initialized;
    firstItemAtInit = TreeItemOf(0);
  }
  int initialized = 0;
  HTREEITEM firstItemAtInit = nullptr;
};

HWND Tree(HWND sheet) { return ::GetDlgItem(sheet, CTreePropertySheet::kPageTreeId); }
HWND PageWindow(HWND sheet) { return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }


HTREEITEM Next(HWND tree, HTREEITEM item, UINT how) {
  return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

void ClickItem(HWND tree, HTREEITEM item) {
  union {
    RECT rc;
    HTREEITEM item;
  } in{};
  in.item = item;
  ::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&in));
  const RECT rc = in.rc;
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  // The tree's own click handling waits for the release in the queue.
  ::PostMessageW(tree, WM_LBUTTONUP, 0, at);
  ::SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
}

bool LaidOut(HWND sheet) { return sheet && Tree(sheet); }

TEST(TreePropertySheet, TreeOfPageTitlesWithBranches) {
  CTestPage a(L"First"), b(L"Second"), c(L"Third"), d(L"Fourth");
  CTestSheet sheet;
  sheet.AddPage(CTreePropertySheet::kLevelOpensBranch | CTreePropertySheet::kLevelExpanded, a);
  sheet.AddPage(CTreePropertySheet::kLevelItem, b, L"Own caption");
  sheet.AddPage(CTreePropertySheet::kLevelClosesBranch, c);
  sheet.AddPage(CTreePropertySheet::kLevelItem, d);
  HWND seen = nullptr;
  ModalScript::Run({[&] {
                      HWND s = TopDialogOfThread();
                      if (!LaidOut(s)) return false;
                      seen = s;
                      HWND tree = Tree(s);
                      EXPECT_FALSE(::IsWindowVisible(reinterpret_cast<HWND>(::SendMessageW(s, PSM_GETTABCONTROL, 0, 0))));
                      HTREEITEM first = Next(tree, nullptr, TVGN_ROOT);
                      EXPECT_EQ(TreeItemText(tree, first), L"First");
                      HTREEITEM child = Next(tree, first, TVGN_CHILD);
                      EXPECT_EQ(TreeItemText(tree, child), L"Own caption");
                      EXPECT_EQ(TreeItemText(tree, Next(tree, child, TVGN_NEXT)), L"Third");
                      HTREEITEM fourth = Next(tree, first, TVGN_NEXT);
                      EXPECT_EQ(TreeItemText(tree, fourth), L"Fourth") << "the branch closed after Third";
                      EXPECT_EQ(sheet.PageCaption(0), L"First") << "the banner takes the tab text too";
                      EXPECT_EQ(Next(tree, nullptr, TVGN_CARET), first);
                      // The tree is left of the page and the banner above it.
                      RECT tr{}, pr{};
                      ::GetWindowRect(tree, &tr);
                      ::GetWindowRect(PageWindow(s), &pr);
                      EXPECT_LT(tr.right, pr.left);
                      ::MapWindowPoints(nullptr, s, reinterpret_cast<POINT*>(&pr), 2);
                      EXPECT_EQ(sheet.BannerRect().bottom, pr.top);
                      EXPECT_EQ(sheet.BannerRect().left, pr.left);
                      return true;
                    },
                    [&] {
                      ::PostMessageW(seen, PSM_PRESSBUTTON, PSBTN_OK, 0);
                      return true;
                    }},
                   [&] { EXPECT_GT(sheet.DoModal(nullptr), 0); });
  EXPECT_EQ(sheet.initialized, 1);
  EXPECT_NE(sheet.firstItemAtInit, nullptr) << "the hook runs once the tree items exist";
}

TEST(TreePropertySheet, PagesFollowTheTreeAndTheTreeFollowsThePages) {
  for (const bool focusPage : {true, false}) {
    CTestPage a(L"First"), b(L"Second"), c(L"Third");
    CTestSheet sheet;
    for (CTestPage* p : {&a, &b, &c}) sheet.AddPage(CTreePropertySheet::kLevelItem, *p);
    sheet.SetFocusPageOnTreeClick(focusPage);
    HWND s = nullptr;
    ModalScript::Run(
        {[&] {
           s = TopDialogOfThread();
           return LaidOut(s);
         },
         [&] {
           HWND tree = Tree(s);
           ClickItem(tree, sheet.TreeItemOf(2));
           EXPECT_EQ(CurrentSheetPage(s), 2);
           HWND focus = ::GetFocus();
           if (focusPage)
             EXPECT_TRUE(focus == PageWindow(s) || ::IsChild(PageWindow(s), focus)) << "a click moves into the page";
           else
             EXPECT_EQ(focus, tree) << "the focus stays in the tree";
           // The arrows walk the pages while the tree keeps the keyboard.
           ::SetFocus(tree);
           ::SendMessageW(tree, WM_KEYDOWN, VK_UP, 0);
           ::SendMessageW(tree, WM_KEYUP, VK_UP, 0);
           EXPECT_EQ(CurrentSheetPage(s), 1);
           EXPECT_EQ(::GetFocus(), tree);
           // A change of page made by the sheet (Ctrl+Tab, a page kept open) moves the tree too.
           ::SendMessageW(s, PSM_SETCURSEL, 0, 0);
           EXPECT_EQ(Next(tree, nullptr, TVGN_CARET), sheet.TreeItemOf(0));
           // A page that refuses to be left keeps the sheet and the tree where they are.
           a.stay = true;
           ClickItem(tree, sheet.TreeItemOf(1));
           EXPECT_EQ(CurrentSheetPage(s), 0);
           EXPECT_EQ(Next(tree, nullptr, TVGN_CARET), sheet.TreeItemOf(0));
           a.stay = false;
           ::PostMessageW(s, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
           return true;
         }},
        [&] { EXPECT_EQ(sheet.DoModal(nullptr), 0); });
  }
}

// Pixels of `color` in the banner's part [from, to) of its width, read from the screen.
int CountBannerPixels(HWND sheet, const RECT& banner, double from, double to, COLORREF color) {
  orv::ScopedGetDC dc(sheet);
  int count = 0;
  const int width = banner.right - banner.left;
  for (int x = banner.left + static_cast<int>(width * from); x < banner.left + static_cast<int>(width * to); ++x)
    for (int y = banner.top; y < banner.bottom; ++y)
      if (::GetPixel(dc.Get(), x, y) == color) ++count;
  return count;
}

TEST(TreePropertySheet, BannerShowsTheTitleAndTheSheetWideText) {
  for (const bool withText : {false, true}) {
    CTestPage a(L"First"), b(L"Second");
    CTestSheet sheet;
    sheet.AddPage(CTreePropertySheet::kLevelItem, a, {}, L"");
    sheet.AddPage(CTreePropertySheet::kLevelItem, b, {}, L"");
    if (withText) sheet.SetSheetBannerText(L"Orvel Font Manager");
    HWND s = nullptr;
    ModalScript::Run({[&] {
                        s = TopDialogOfThread();
                        return LaidOut(s);
                      },
                      [&] {
                        for (int page : {0, 1}) {
                          ::SendMessageW(s, PSM_SETCURSEL, page, 0);
                          ::UpdateWindow(s);
                          const RECT banner = sheet.BannerRect();
                          EXPECT_GT(CountBannerPixels(s, banner, 0.0, 0.4, ::GetSysColor(COLOR_WINDOW)), 20)
                              << "the title on the left";
                          const int text = CountBannerPixels(s, banner, 0.5, 1.0, ::GetSysColor(COLOR_GRAYTEXT));
                          if (withText)
                            EXPECT_GT(text, 20) << "page " << page;
                          else
                            EXPECT_EQ(text, 0) << "page " << page;
                        }
                        if (withText) {
                          SaveWindowImage(s, ArtifactsDir() + L"\\tree_property_sheet.bmp");
                        }
                        ::PostMessageW(s, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                        return true;
                      }},
                     [&] { sheet.DoModal(nullptr); });
  }
}

}  // namespace

namespace {

// The sheet's face colour around the page tree, read from the screen after the layout.
int CountPixels(HWND sheet, const RECT& area, COLORREF color) {
  orv::ScopedGetDC dc(sheet);
  int count = 0;
  for (int x = area.left; x < area.right; ++x)
    for (int y = area.top; y < area.bottom; ++y)
      if (::GetPixel(dc.Get(), x, y) == color) ++count;
  return count;
}

}  // namespace

TEST(TreePropertySheet, CaptionlessButtonlessAndPlainSheets) {
  struct Case {
    const char* what;
    bool captionless;
    bool noButtons;
    bool plain;
    bool owned;
  };
  // A sheet without owner starts at the screen's edge: the widening must not push it off.
  const Case cases[] = {
      {"standard", false, false, false, false},
      {"captionless", true, false, false, true},
      {"no buttons", false, true, false, true},
      {"plain", false, false, true, true},
  };
  // An owner in the middle of the screen keeps the whole sheet on it.
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 400, 250, 600, 400, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_TRUE(owner);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CTestPage a(L"First"), b(L"Second");
    CTestSheet sheet;
    sheet.SetCaptionless(c.captionless);
    sheet.SetNoButtons(c.noButtons);
    sheet.SetPlainSheet(c.plain);
    sheet.AddPage(CTreePropertySheet::kLevelItem, a);
    sheet.AddPage(CTreePropertySheet::kLevelItem, b);
    HWND s = nullptr;
    ModalScript::Run(
        {[&] {
           s = TopDialogOfThread();
           if (!s || !::IsWindowVisible(s)) return false;
           return c.plain ? PageWindow(s) != nullptr : LaidOut(s) && sheet.IsLayoutDone();
         },
         [&] {
           ::UpdateWindow(s);
           const std::string name = c.what;
           SaveWindowImage(s, ArtifactsDir() + L"\\tree_sheet_" + std::wstring(name.begin(), name.end()) + L".bmp");
           RECT window{};
           ::GetWindowRect(s, &window);
           EXPECT_GE(window.left, ::GetSystemMetrics(SM_XVIRTUALSCREEN)) << "the sheet lies on the screen";
           EXPECT_GE(window.top, ::GetSystemMetrics(SM_YVIRTUALSCREEN));
           HWND tab = reinterpret_cast<HWND>(::SendMessageW(s, PSM_GETTABCONTROL, 0, 0));
           const auto style = static_cast<DWORD>(::GetWindowLongPtrW(s, GWL_STYLE));
           EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, !c.captionless);
           if (c.plain) {
             // An ordinary sheet: its tabs choose the pages, no tree, nothing painted over it.
             EXPECT_EQ(Tree(s), nullptr);
             EXPECT_TRUE(::IsWindowVisible(tab));
             ::SendMessageW(s, PSM_SETCURSEL, 1, 0);
             EXPECT_EQ(CurrentSheetPage(s), 1);
             EXPECT_EQ(::SendMessageW(tab, TCM_GETCURSEL, 0, 0), 1);
           } else {
             EXPECT_FALSE(::IsWindowVisible(tab));
             // The strip left of the tree is the sheet's face, not what the tab control left there.
             RECT tree{};
             ::GetWindowRect(Tree(s), &tree);
             ::MapWindowPoints(nullptr, s, reinterpret_cast<POINT*>(&tree), 2);
             const RECT strip{0, tree.top, tree.left, tree.bottom};
             const int face = CountPixels(s, strip, ::GetSysColor(COLOR_BTNFACE));
             EXPECT_EQ(face, (strip.right - strip.left) * (strip.bottom - strip.top));
           }
           HWND ok = ::GetDlgItem(s, IDOK);
           if (c.noButtons) {
             // The button row is cut off: out of the client area, disabled, none the default.
             RECT client{}, button{};
             ::GetClientRect(s, &client);
             ::GetWindowRect(ok, &button);
             ::MapWindowPoints(nullptr, s, reinterpret_cast<POINT*>(&button), 2);
             EXPECT_GE(button.top, client.bottom);
             EXPECT_FALSE(::IsWindowEnabled(ok));
             EXPECT_NE(::GetWindowLongPtrW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
           } else {
             EXPECT_TRUE(::IsWindowEnabled(ok));
           }
           if (c.captionless) {
             // The banner runs across the top, and dragging it moves the window.
             EXPECT_EQ(sheet.BannerRect().left, 0);
             EXPECT_EQ(sheet.BannerRect().top, 0);
             RECT before{};
             ::GetWindowRect(s, &before);
             EXPECT_EQ(sheet.BannerRect().right, before.right - before.left);
             ::SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 10));
             EXPECT_EQ(::GetCapture(), s);
             ::SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(230, 30));
             // The window followed by (30, 20); in its new place the cursor goes 5 pixels further right.
             ::SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(205, 10));
             ::SendMessageW(s, WM_LBUTTONUP, 0, MAKELPARAM(205, 10));
             RECT after{};
             ::GetWindowRect(s, &after);
             EXPECT_EQ(after.left - before.left, 35);
             EXPECT_EQ(after.top - before.top, 20);
             EXPECT_NE(::GetCapture(), s);
             ::SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 50));
             RECT still{};
             ::GetWindowRect(s, &still);
             EXPECT_EQ(still.left, after.left) << "the drag ended with the release";
           } else if (!c.plain) {
             // With a caption a click in the banner moves nothing.
             RECT before{};
             ::GetWindowRect(s, &before);
             const RECT& banner = sheet.BannerRect();
             ::SendMessageW(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(banner.left + 20, banner.top + 5));
             ::SendMessageW(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(banner.left + 60, banner.top + 25));
             ::SendMessageW(s, WM_LBUTTONUP, 0, 0);
             RECT after{};
             ::GetWindowRect(s, &after);
             EXPECT_EQ(after.left, before.left);
           }
           ::PostMessageW(s, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
           return true;
         }},
        [&] { sheet.DoModal(c.owned ? owner : nullptr); });
    EXPECT_EQ(sheet.initialized, c.plain ? 0 : 1);
  }
  ::DestroyWindow(owner);
}
