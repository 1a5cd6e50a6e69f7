// The character map frame built for real under Wine: DejaVu Sans lists exactly the code points
// fontTools finds in its cmap, the status shows the name and block of the character under the
// mouse, tabs follow fonts and MDI activation, and the frame keeps its rectangle.
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "common/Seams.h"
#include "framework/Dpi.h"
#include "tests/viewing/CharMapTesting.h"

using namespace charmap_testing;
using namespace testing_support;

namespace {

std::vector<uint32_t> ExpectedDejaVuCodePoints() {
  std::vector<uint32_t> points;
  std::ifstream in(Narrow(BinDir() + L"\\testdata\\DejaVuSans-cmap.txt"));
  std::string line;
  while (std::getline(in, line))
    if (!line.empty()) points.push_back(static_cast<uint32_t>(std::stoul(line, nullptr, 16)));
  return points;
}

// The window's rectangle lies inside the client area of `outer`.
bool InsideClientOf(HWND outer, HWND inner) {
  RECT client{}, rc{}, both{};
  ::GetClientRect(outer, &client);
  ::MapWindowPoints(outer, nullptr, reinterpret_cast<POINT*>(&client), 2);
  ::GetWindowRect(inner, &rc);
  ::IntersectRect(&both, &rc, &client);
  return ::IsWindowVisible(inner) && ::EqualRect(&both, &rc);
}

class CharMapFrame : public ::testing::Test {
protected:
  void SetUp() override {
    seams::SetCharNameLibrary(BinDir() + L"\\standin\\getuname.dll");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    PumpMessages(20);
    frame_.reset();
    seams::SetCharNameLibrary(L"");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }
  CCharMapChildFrame* Add(const wchar_t* file) {
    CCharMapChildFrame* child = frame_->AddFontTab(ReadFont(DejaVu(file)), true);
    PumpMessages(30);
    return child;
  }
  void SelectTabByClick(int index) {
    ::SendMessageW(frame_->TabControl(), TCM_SETCURSEL, index, 0);
    NMHDR hdr{frame_->TabControl(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    frame_->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
    PumpMessages(30);
  }
  HWND ChildOfTab(int index) const {
    CToolFrameChild* child = frame_->GetTabChild(index);
    return child ? child->GetChildWindow() : nullptr;
  }
  std::unique_ptr<CCharMapFrame> frame_;
};

TEST_F(CharMapFrame, DejaVuListsItsCmapAndShowsNameAndBlockOfACharacter) {
  const std::vector<uint32_t> expected = ExpectedDejaVuCodePoints();
  ASSERT_GT(expected.size(), 5000u);
  frame_ = OpenFrame(RectOnScreen({20, 20}, {740, 680}));
  ASSERT_TRUE(frame_);
  CCharMapChildFrame* child = Add(L"DejaVuSans.ttf");
  ASSERT_TRUE(child);
  CCharMapGrid& grid = child->View().Grid();
  EXPECT_EQ(grid.CodePoints().Points(), expected);
  EXPECT_TRUE(grid.Font().wideList) << "the font claims characters beyond the BMP: its (3,10) cmap is read";
  EXPECT_TRUE(grid.Font().ucs4Cmap);
  EXPECT_EQ(ControlText(child->View(), IDC_CHARMAP_COUNT).find(L"( 5 918 "), 0u)
      << Narrow(ControlText(child->View(), IDC_CHARMAP_COUNT));

  const POINT pt = PointAtEntry(grid, IndexOf(grid, 0xE9));
  grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(grid.HoverChar(), 0xE9u);
  EXPECT_EQ(StatusText(frame_->m_hWndStatusBar, 0), L" x000E9 (233)");
  EXPECT_EQ(StatusText(frame_->m_hWndStatusBar, 1), L"LATIN SMALL LETTER E WITH ACUTE");
  EXPECT_EQ(ControlText(child->View(), IDC_CHARMAP_BLOCK), L"Latin-1 Supplement");

  // A character without a name in the table: its block, in brackets.
  const POINT greek = PointAtEntry(grid, IndexOf(grid, 0x3A9));
  grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(greek.x, greek.y));
  EXPECT_EQ(StatusText(frame_->m_hWndStatusBar, 1), L"<Greek and Coptic>");

  // The zoom over the character, kept as a picture with the frame.
  grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  grid.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_TRUE(grid.IsZoomShown());
  PumpMessages(100);
  EXPECT_TRUE(SaveWindowImage(frame_->m_hWnd, ArtifactsDir() + L"\\charmap_frame.bmp"));
  // Leaving the grid hides the zoom and clears the status.
  grid.SendMessage(WM_MOUSELEAVE);
  EXPECT_FALSE(grid.IsZoomShown());
  EXPECT_EQ(StatusText(frame_->m_hWndStatusBar, 0), L"");
  EXPECT_EQ(ControlText(child->View(), IDC_CHARMAP_BLOCK), L"");
}

TEST_F(CharMapFrame, ThreeFontsThreeTabsClosingTheMiddleSelectsItsRightNeighbour) {
  frame_ = OpenFrame(RectOnScreen({30, 30}, {700, 620}));
  ASSERT_TRUE(frame_);
  ASSERT_TRUE(Add(L"DejaVuSans.ttf"));
  EXPECT_TRUE(::IsZoomed(ChildOfTab(0))) << "the first child is maximised";
  ASSERT_TRUE(Add(L"DejaVuSans-Bold.ttf"));
  ASSERT_TRUE(Add(L"DejaVuSerif.ttf"));
  HWND tabs = frame_->TabControl();
  ASSERT_EQ(frame_->TabCount(), 3);
  EXPECT_EQ(frame_->CurrentTab(), 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(TabText(tabs, i), frame_->GetTabChild(i)->GetTabFont().displayName);
  EXPECT_EQ(frame_->MDIGetActive(), ChildOfTab(2));
  bool maximized = false;
  frame_->MDIGetActive(&maximized);
  EXPECT_TRUE(maximized) << "a child added after a maximised one is maximised too";

  // The user selects the middle tab and closes it: its right neighbour is selected and active.
  SelectTabByClick(1);
  EXPECT_EQ(frame_->MDIGetActive(), ChildOfTab(1));
  HWND right = ChildOfTab(2);
  frame_->SendMessage(WM_COMMAND, ID_TAB_CLOSE);
  PumpMessages(50);
  ASSERT_EQ(frame_->TabCount(), 2);
  EXPECT_EQ(frame_->CurrentTab(), 1);
  EXPECT_EQ(ChildOfTab(1), right);
  EXPECT_EQ(frame_->MDIGetActive(), right);

  // Closing a child that is not the current one from its system menu removes its tab and keeps
  // the current tab with the active child.
  ::SendMessageW(ChildOfTab(0), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages(50);
  ASSERT_EQ(frame_->TabCount(), 1);
  EXPECT_EQ(frame_->CurrentTab(), 0);
  EXPECT_EQ(ChildOfTab(0), right);
  EXPECT_EQ(frame_->MDIGetActive(), right);

  // Closing the last tab closes the frame.
  frame_->SendMessage(WM_COMMAND, ID_TAB_CLOSE);
  PumpMessages(100);
  EXPECT_FALSE(frame_->IsWindow());
}

TEST_F(CharMapFrame, AFontWithATabIsSelectedNotAddedAgain) {
  frame_ = OpenFrame(RectOnScreen({30, 30}, {700, 620}));
  ASSERT_TRUE(frame_);
  for (const wchar_t* file : {L"DejaVuSans.ttf", L"DejaVuSerif.ttf"}) ASSERT_TRUE(Add(file));
  ::ShowWindow(ChildOfTab(0), SW_MINIMIZE);
  EXPECT_EQ(frame_->AddFontTab(ReadFont(DejaVu(L"DejaVuSans.ttf")), true), nullptr);
  PumpMessages(30);
  EXPECT_EQ(frame_->TabCount(), 2);
  EXPECT_EQ(frame_->CurrentTab(), 0);
  EXPECT_EQ(frame_->MDIGetActive(), ChildOfTab(0));
  EXPECT_FALSE(::IsIconic(ChildOfTab(0))) << "a minimised child is restored";
  // The same name with another type gets a tab of its own (and the byte grid of a Type 1 font).
  FontItem otherType = ReadFont(DejaVu(L"DejaVuSans.ttf"));
  otherType.flags = (otherType.flags & ~font_flags::kTypeMask) | font_flags::kType1;
  ASSERT_TRUE(frame_->AddFontTab(otherType, true));
  EXPECT_EQ(frame_->TabCount(), 3);
  EXPECT_TRUE(frame_->GetCharMapChild(2)->View().Grid().IsEightBit());
}

TEST_F(CharMapFrame, RemoveTabOfTheCurrentTabSelectsTheTabBefore) {
  struct Case {
    int selected, removed, expected;
  } const cases[] = {{1, 1, 0}, {2, 2, 1}, {0, 0, 0}, {2, -1, 1}, {2, 0, 1}, {0, 2, 0}};
  frame_ = OpenFrame(RectOnScreen({30, 30}, {700, 620}));
  ASSERT_TRUE(frame_);
  for (const wchar_t* file : {L"DejaVuSans.ttf", L"DejaVuSans-Bold.ttf", L"DejaVuSerif.ttf"}) ASSERT_TRUE(Add(file));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.selected << " " << c.removed);
    ASSERT_EQ(frame_->TabCount(), 3);
    ::SendMessageW(frame_->TabControl(), TCM_SETCURSEL, c.selected, 0);
    const int removed = c.removed == -1 ? c.selected : c.removed;
    HWND child = ChildOfTab(removed);
    const FontItem font = frame_->GetTabChild(removed)->GetTabFont();
    frame_->RemoveTab(c.removed);
    EXPECT_EQ(frame_->TabCount(), 2);
    EXPECT_EQ(frame_->CurrentTab(), c.expected);
    EXPECT_EQ(frame_->FindTabOfChild(child), -1);
    frame_->MDIDestroy(child);
    PumpMessages(20);
    ASSERT_TRUE(frame_->AddFontTab(font, true));
  }
}

TEST_F(CharMapFrame, OpensAtItsSavedRectangleClampedToTheScreen) {
  orv::ScopedKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(),
                              nullptr),
            ERROR_SUCCESS);
  auto rectOf = [](const CCharMapFrame& f) {
    RECT rc{};
    f.GetWindowRect(&rc);
    return rc;
  };
  // Nothing stored: the default place.
  frame_ = OpenFrame(CTabbedToolFrame::ReadSavedRect(CCharMapFrame::kRectValue, CCharMapFrame::kDefaultRect));
  ASSERT_TRUE(frame_);
  RECT opened = rectOf(*frame_);
  const RECT& d = CCharMapFrame::kDefaultRect;  // for 96 DPI
  const RECT byDefault{orv::ScaleToScreenDpi(d.left), orv::ScaleToScreenDpi(d.top), orv::ScaleToScreenDpi(d.right),
                       orv::ScaleToScreenDpi(d.bottom)};
  EXPECT_TRUE(::EqualRect(&byDefault, &opened));

  // Where the user left it is stored when the frame goes, and used when it opens again.
  frame_->MoveWindow(RectOnScreen({60, 70}, {600, 550}));
  frame_->DestroyWindow();
  frame_.reset();
  RECT stored{};
  ASSERT_TRUE(ReadRegBinaryExact(key.Get(), CCharMapFrame::kRectValue, &stored, sizeof(stored)));
  const RECT moved{60, 70, 660, 620};
  EXPECT_TRUE(::EqualRect(&stored, &moved));
  frame_ = OpenFrame(CTabbedToolFrame::ReadSavedRect(CCharMapFrame::kRectValue, CCharMapFrame::kDefaultRect));
  opened = rectOf(*frame_);
  EXPECT_TRUE(::EqualRect(&moved, &opened));
  frame_->DestroyWindow();
  frame_.reset();

  // A rectangle off every screen, and one larger than the screen, come back onto it.
  const RECT screen = charmap_testing::VirtualScreen();
  for (const RECT away : {RECT{9000, 8000, 9600, 8500}, RECT{-5000, -4000, 20000, 20000}}) {
    ASSERT_TRUE(WriteRegBinary(key.Get(), CCharMapFrame::kRectValue, &away, sizeof(away)));
    frame_ = OpenFrame(CTabbedToolFrame::ReadSavedRect(CCharMapFrame::kRectValue, CCharMapFrame::kDefaultRect));
    ASSERT_TRUE(frame_);
    RECT rc = rectOf(*frame_), inside{};
    ::IntersectRect(&inside, &rc, &screen);
    EXPECT_TRUE(::EqualRect(&inside, &rc)) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
    // Alt+Home brings it to the top-left corner.
    frame_->MoveWindow(RectOnScreen({300, 200}, {600, 500}));
    MSG altHome{frame_->m_hWnd, WM_SYSKEYDOWN, VK_HOME, 0x20000000, 0, {}};
    EXPECT_TRUE(frame_->PreTranslateMessage(&altHome));
    rc = rectOf(*frame_);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    frame_->DestroyWindow();
    frame_.reset();
  }
}

TEST_F(CharMapFrame, OpensBigEnoughForGridComposeBoxAndCopyAndScrollsWhenNarrower) {
  const RECT screen = VirtualScreen();
  const RECT corner{screen.right - 300, screen.bottom - 250, screen.right, screen.bottom};
  // Nothing stored, a small rectangle stored in the screen's corner, a roomy one (kept as it is):
  // larger than the frame opens with nothing stored, as far as the screen allows.
  SIZE opened{};
  for (int round = 0; round < 3; ++round) {
    std::optional<RECT> stored;
    if (round == 1) stored = corner;
    if (round == 2) stored = RectOnScreen({40, 30}, {opened.cx + 160, opened.cy + 160}, opened);
    const std::optional<RECT> roomy = round == 2 ? stored : std::nullopt;
    if (frame_) frame_->DestroyWindow();
    PumpMessages(20);
    frame_.reset();  // stores its rectangle: replaced below
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kPrefsKeyPath);
    orv::ScopedKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    if (stored) ASSERT_TRUE(WriteRegBinary(key.Get(), CCharMapFrame::kRectValue, &*stored, sizeof(RECT)));
    frame_ = OpenFrame(CTabbedToolFrame::ReadSavedRect(CCharMapFrame::kRectValue, CCharMapFrame::kDefaultRect));
    CCharMapChildFrame* child = Add(L"DejaVuSans.ttf");
    ASSERT_TRUE(child);
    CCharMapView& view = child->View();
    HWND copy = view.GetDlgItem(IDC_CHARMAP_COPY);
    for (HWND part : {view.Grid().m_hWnd, view.ComposeBox(), copy})
      EXPECT_TRUE(InsideClientOf(frame_->m_hWndMDIClient, part)) << ::GetDlgCtrlID(part) << " " << stored.has_value();
    RECT rc{}, onScreen{};
    frame_->GetWindowRect(&rc);
    EXPECT_TRUE(::IntersectRect(&onScreen, &rc, &screen) && ::EqualRect(&onScreen, &rc));
    if (roomy) EXPECT_TRUE(::EqualRect(&rc, &*roomy));
    // The name pane of the status bar ends before the size grip: its text is cut, not drawn
    // under the grip.
    int parts[2]{};
    ASSERT_EQ(::SendMessageW(frame_->m_hWndStatusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts)), 2);
    RECT status{};
    ::GetClientRect(frame_->m_hWndStatusBar, &status);
    EXPECT_LE(parts[1], status.right - ::GetSystemMetrics(SM_CXVSCROLL)) << parts[1] << " of " << status.right;
    EXPECT_GT(parts[1], parts[0]);
    if (!stored) opened = {rc.right - rc.left, rc.bottom - rc.top};
    if (stored) continue;
    EXPECT_TRUE(SaveWindowImage(frame_->m_hWnd, ArtifactsDir() + L"\\charmap_first_open.bmp"));
    // Narrower than its layout, the view scrolls sideways to Copy.
    view.SetWindowPos(nullptr, 0, 0, view.MinClientSize().cx - 120, view.MinClientSize().cy, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(InsideClientOf(view, copy));
    view.SendMessage(WM_HSCROLL, SB_RIGHT);
    EXPECT_TRUE(InsideClientOf(view, copy));
  }
}

}  // namespace
