// The font sheet frame built for real under Wine and driven by its own messages: one tab per
// font (the same name with another type gets its own), the close rules, page mode, the keys
// and the wheel over the sheet under the pointer, the rectangle kept in the registry, and fonts
// whose files cannot be read.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "tests/support/HostileFonts.h"
#include "tests/support/TestSupport.h"
#include "tests/viewing/CharMapTesting.h"
#include "viewing/CFontSheetFrame.h"
#include "viewing/CPreviewFrame.h"

using namespace testing_support;
using charmap_testing::DejaVu;
using charmap_testing::ReadFont;
using charmap_testing::TabText;

namespace {

RECT WindowRectOf(HWND wnd) {
  RECT rc{};
  ::GetWindowRect(wnd, &rc);
  return rc;
}

class FontSheetFrame : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    g_AppState.PageSetup = PageSetupData{};
    g_Preferences.SampleText = L"The quick brown fox jumps over the lazy dog";
  }
  void TearDown() override {
    Close();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }
  void Open(const RECT& rc) {
    frame_ = std::make_unique<CFontSheetFrame>(nullptr, rc);
    ASSERT_TRUE(frame_->CreateFrame());
    frame_->ShowWindow(SW_SHOWNORMAL);
    PumpMessages(50);
  }
  void Close() {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    PumpMessages(20);
    frame_.reset();
  }
  CFontSheetChildFrame* Add(const FontItem& font) {
    CFontSheetChildFrame* child = frame_->AddFontTab(font);
    PumpMessages(30);
    return child;
  }
  CFontSheetChildFrame* Add(const wchar_t* file) { return Add(ReadFont(DejaVu(file))); }
  HWND ChildOfTab(int index) const {
    CToolFrameChild* child = frame_->GetTabChild(index);
    return child ? child->GetChildWindow() : nullptr;
  }
  // The current tab, the active child and the tab's child agree.
  void ExpectTabFollowsActiveChild() const {
    EXPECT_EQ(frame_->MDIGetActive(), ChildOfTab(frame_->CurrentTab())) << "tab " << frame_->CurrentTab();
  }
  bool Key(UINT key, HWND target) {
    MSG msg{target, WM_KEYDOWN, key, 1, 0, {}};
    const bool consumed = frame_->PreTranslateMessage(&msg);
    PumpMessages(10);
    return consumed;
  }

  std::unique_ptr<CFontSheetFrame> frame_;
};

TEST_F(FontSheetFrame, OneTabPerFontAndTypeTheSameFontSelectsItsTab) {
  Open(RectOnScreen({20, 20}, {800, 600}));
  ASSERT_TRUE(Add(L"DejaVuSans.ttf"));
  EXPECT_TRUE(::IsZoomed(ChildOfTab(0))) << "the first child is maximised";
  ASSERT_TRUE(Add(L"DejaVuSerif.ttf"));
  ASSERT_EQ(frame_->TabCount(), 2);
  EXPECT_EQ(frame_->CurrentTab(), 1);
  ExpectTabFollowsActiveChild();
  for (int i = 0; i < 2; ++i) {
    const FontItem& font = frame_->GetTabChild(i)->GetTabFont();
    EXPECT_EQ(TabText(frame_->TabControl(), i), font.displayName);
    wchar_t caption[128]{};
    ::GetWindowTextW(ChildOfTab(i), caption, 128);
    EXPECT_EQ(caption, font.FullName());
  }
  EXPECT_TRUE(SaveWindowImage(frame_->m_hWnd, ArtifactsDir() + L"\\font_sheet_frame.bmp"));

  // The same font again, its child minimised meanwhile: its tab is selected and the child
  // restored, no tab is added.
  ::ShowWindow(ChildOfTab(0), SW_MINIMIZE);
  PumpMessages(20);
  EXPECT_EQ(Add(L"DejaVuSans.ttf"), nullptr);
  EXPECT_EQ(frame_->TabCount(), 2);
  EXPECT_EQ(frame_->CurrentTab(), 0);
  ExpectTabFollowsActiveChild();
  EXPECT_FALSE(::IsIconic(ChildOfTab(0)));
  // The name compared without regard to case.
  FontItem shouting = ReadFont(DejaVu(L"DejaVuSerif.ttf"));
  for (std::wstring* name : {&shouting.names.System(NameSlot::FullName), &shouting.names.English(NameSlot::FullName)})
    for (wchar_t& c : *name) c = static_cast<wchar_t>(::towupper(c));
  EXPECT_EQ(Add(shouting), nullptr);
  EXPECT_EQ(frame_->CurrentTab(), 1);

  // The same name with another type has a tab of its own.
  FontItem otherType = ReadFont(DejaVu(L"DejaVuSans.ttf"));
  otherType.flags = (otherType.flags & ~font_flags::kTypeMask) | font_flags::kType1;
  ASSERT_TRUE(Add(otherType));
  EXPECT_EQ(frame_->TabCount(), 3);
  EXPECT_EQ(frame_->CurrentTab(), 2);
  ExpectTabFollowsActiveChild();

  // Activating a child selects its tab.
  frame_->MDIActivate(ChildOfTab(0));
  PumpMessages(20);
  EXPECT_EQ(frame_->CurrentTab(), 0);
}

TEST_F(FontSheetFrame, ClosingTabsKeepsTabAndChildTogetherAndTheLastClosesTheFrame) {
  Open(RectOnScreen({20, 20}, {800, 600}));
  for (const wchar_t* file : {L"DejaVuSans.ttf", L"DejaVuSans-Bold.ttf", L"DejaVuSerif.ttf", L"DejaVuSansMono.ttf"})
    ASSERT_TRUE(Add(file));
  ASSERT_EQ(frame_->TabCount(), 4);

  // The middle tab through the File menu's command.
  ::SendMessageW(frame_->TabControl(), TCM_SETCURSEL, 1, 0);
  NMHDR hdr{frame_->TabControl(), 0, static_cast<UINT>(TCN_SELCHANGE)};
  frame_->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  PumpMessages(20);
  EXPECT_EQ(frame_->MDIGetActive(), ChildOfTab(1)) << "selecting a tab activates its child";
  HWND closed = ChildOfTab(1);
  frame_->SendMessage(WM_COMMAND, ID_TAB_CLOSE);
  PumpMessages(30);
  EXPECT_FALSE(::IsWindow(closed));
  ASSERT_EQ(frame_->TabCount(), 3);
  EXPECT_EQ(frame_->FindTabOfChild(closed), -1);
  ExpectTabFollowsActiveChild();

  // A child that is not the current one, from its system menu: the current tab stays.
  HWND current = frame_->MDIGetActive();
  HWND other = ChildOfTab(frame_->CurrentTab() == 0 ? 2 : 0);
  ::SendMessageW(other, WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages(30);
  EXPECT_FALSE(::IsWindow(other));
  ASSERT_EQ(frame_->TabCount(), 2);
  EXPECT_EQ(frame_->MDIGetActive(), current);
  ExpectTabFollowsActiveChild();

  // The frame's own close command destroys it with all its tabs.
  frame_->SendMessage(WM_COMMAND, ID_TAB_CLOSE);
  PumpMessages(30);
  ASSERT_EQ(frame_->TabCount(), 1);
  ExpectTabFollowsActiveChild();
  frame_->SendMessage(WM_COMMAND, ID_TAB_CLOSE);
  PumpMessages(50);
  EXPECT_FALSE(frame_->IsWindow()) << "closing the last tab closes the frame";
}

TEST_F(FontSheetFrame, PageModeDrawsEverySheetAsThePrintedPage) {
  Open(RectOnScreen({20, 20}, {800, 600}));
  ASSERT_TRUE(Add(L"DejaVuSans.ttf"));
  CFontSheetView& first = frame_->GetSheetChild(0)->View();
  EXPECT_TRUE(first.IsUnboundedPage());
  EXPECT_LT(first.GetScrollSize().cy, CPreviewFrame::kUnboundedExtent) << "painted: the page took its drawing's size";

  frame_->SendMessage(WM_COMMAND, ID_SHEET_PAGE_MODE);
  PumpMessages(50);
  EXPECT_TRUE(frame_->PageMode());
  EXPECT_EQ(::GetMenuState(::GetMenu(*frame_), ID_SHEET_PAGE_MODE, MF_BYCOMMAND) & MF_CHECKED, UINT{MF_CHECKED});
  // The default page (A4 with 12.5 mm margins) at 96 dpi, from the corner at 5 pixels.
  EXPECT_FALSE(first.IsUnboundedPage());
  EXPECT_EQ(first.GetScrollSize().cx, 5 + 699);
  EXPECT_EQ(first.GetScrollSize().cy, 5 + 1028);
  // A tab added in page mode shows a page as well; a new page setup reaches every sheet.
  CFontSheetChildFrame* second = Add(L"DejaVuSerif.ttf");
  ASSERT_TRUE(second);
  EXPECT_FALSE(second->View().IsUnboundedPage());
  g_AppState.PageSetup.units = 8;
  g_AppState.PageSetup.paperSize = SIZE{21000, 29700};
  g_AppState.PageSetup.margins = RECT{1000, 1000, 1000, 1000};
  frame_->OnPageSetupChanged();
  PumpMessages(50);
  frame_->MDIActivate(ChildOfTab(0));
  PumpMessages(50);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(frame_->GetSheetChild(i)->View().GetScrollSize().cx, 5 + 718) << i;
    EXPECT_EQ(frame_->GetSheetChild(i)->View().GetScrollSize().cy, 5 + 1047) << i;
  }

  frame_->SendMessage(WM_COMMAND, ID_SHEET_PAGE_MODE);
  PumpMessages(50);
  EXPECT_FALSE(frame_->PageMode());
  EXPECT_EQ(::GetMenuState(::GetMenu(*frame_), ID_SHEET_PAGE_MODE, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_TRUE(first.IsUnboundedPage());
  EXPECT_NE(first.GetScrollSize().cx, 5 + 718);
}

TEST_F(FontSheetFrame, KeysScrollTheCurrentSheetAndTheWheelTheSheetUnderThePointer) {
  Open(RectOnScreen({0, 0}, {900, 700}));
  ASSERT_TRUE(Add(L"DejaVuSans.ttf"));
  ASSERT_TRUE(Add(L"DejaVuSerif.ttf"));
  frame_->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ);
  PumpMessages(50);
  ::SetForegroundWindow(*frame_);
  PumpMessages(20);
  CFontSheetView& left = frame_->GetSheetChild(0)->View();
  CFontSheetView& right = frame_->GetSheetChild(1)->View();
  ASSERT_EQ(frame_->CurrentTab(), 1);

  // The keys go to the current tab's sheet, wherever the message was going.
  EXPECT_TRUE(Key(VK_NEXT, left));
  EXPECT_GT(right.GetScrollOffset().y, 0);
  EXPECT_EQ(left.GetScrollOffset().y, 0);
  EXPECT_TRUE(Key(VK_END, right));
  const int bottom = right.GetScrollOffset().y;
  EXPECT_TRUE(Key(VK_UP, right));
  EXPECT_LT(right.GetScrollOffset().y, bottom);
  EXPECT_TRUE(Key(VK_HOME, right));
  EXPECT_EQ(right.GetScrollOffset().y, 0);
  EXPECT_TRUE(Key(VK_RIGHT, right));
  EXPECT_GT(right.GetScrollOffset().x, 0);
  EXPECT_FALSE(Key('A', right)) << "other keys go on";

  // The wheel over the sheet that is not the current one scrolls that sheet.
  RECT rc{};
  left.GetWindowRect(&rc);
  const POINT over{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  ::SetCursorPos(over.x, over.y);
  MSG wheel{right, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(over.x, over.y), 0, over};
  EXPECT_TRUE(frame_->PreTranslateMessage(&wheel));
  PumpMessages(20);
  EXPECT_GT(left.GetScrollOffset().y, 0);
  EXPECT_EQ(right.GetScrollOffset().y, 0);
  EXPECT_EQ(frame_->CurrentTab(), 1) << "the wheel activates nothing";
}

TEST_F(FontSheetFrame, OpensAtItsSavedRectangleClampedToTheScreen) {
  orv::ScopedKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(),
                              nullptr),
            ERROR_SUCCESS);
  const auto saved = [] { return CTabbedToolFrame::ReadSavedRect(CFontSheetFrame::kRectValue, CFontSheetFrame::kDefaultRect); };
  Open(saved());
  RECT rc = WindowRectOf(*frame_);
  EXPECT_TRUE(::EqualRect(&rc, &CFontSheetFrame::kDefaultRect)) << "nothing stored: the default place";

  // Moved, closed with a tab open, opened again: where the user left it.
  ASSERT_TRUE(Add(L"DejaVuSans.ttf"));
  const RECT moved{70, 60, 690, 580};
  frame_->MoveWindow(moved);
  Close();
  RECT stored{};
  ASSERT_TRUE(ReadRegBinaryExact(key.Get(), CFontSheetFrame::kRectValue, &stored, sizeof(stored)));
  EXPECT_TRUE(::EqualRect(&stored, &moved));
  Open(saved());
  rc = WindowRectOf(*frame_);
  EXPECT_TRUE(::EqualRect(&rc, &moved));
  Close();

  // A rectangle off every screen, a flat one and a short value: on the screen, or the default.
  const RECT screen = charmap_testing::VirtualScreen();
  struct Case {
    RECT value;
    DWORD size;
    bool expectDefault;
  } const cases[] = {{RECT{9000, 8000, 9600, 8500}, sizeof(RECT), false},
                     {RECT{300, 300, 300, 700}, sizeof(RECT), true},
                     {RECT{10, 10, 400, 400}, 8, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value.left << "," << c.value.top << " size " << c.size);
    ASSERT_TRUE(WriteRegBinary(key.Get(), CFontSheetFrame::kRectValue, &c.value, c.size));
    Open(saved());
    rc = WindowRectOf(*frame_);
    RECT inside{};
    ::IntersectRect(&inside, &rc, &screen);
    EXPECT_TRUE(::EqualRect(&inside, &rc));
    if (c.expectDefault) {
      EXPECT_TRUE(::EqualRect(&rc, &CFontSheetFrame::kDefaultRect));
    }
    // Alt+Home brings it to the top-left corner.
    frame_->MoveWindow(RectOnScreen({300, 200}, {600, 500}));
    MSG altHome{frame_->m_hWnd, WM_SYSKEYDOWN, VK_HOME, 0x20000000, 0, {}};
    EXPECT_TRUE(frame_->PreTranslateMessage(&altHome));
    rc = WindowRectOf(*frame_);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);
    Close();
  }
}

TEST_F(FontSheetFrame, FontsWhoseFilesCannotBeReadOpenTheirSheetsWithoutACrash) {
  ScratchDir dir;
  Open(RectOnScreen({20, 20}, {800, 600}));
  std::vector<FontItem> fonts;
  // A good record whose file has gone, or was damaged after the list read it.
  for (const sfnt_test::HostileSource& source : sfnt_test::HostileSources()) {
    const std::wstring good = dir.File(std::wstring(L"good_") + source.fileName);
    ASSERT_TRUE(WriteFileBytes(good, source.bytes.data(), source.bytes.size()));
    const FontItem record = ReadFont(good);
    ASSERT_FALSE(record.FullName().empty()) << source.label;
    for (size_t cut : {size_t{12}, source.bytes.size() / 2}) {
      const std::wstring name = std::to_wstring(cut) + L"_" + source.fileName;
      ASSERT_TRUE(WriteFileBytes(dir.File(name), source.bytes.data(), cut));
      FontItem damaged = record;
      damaged.folder = dir.Path();
      damaged.fileRef = name;
      damaged.fullPath = dir.File(name);
      damaged.names.English(NameSlot::FullName) = L"Damaged " + std::to_wstring(fonts.size());
      damaged.names.System(NameSlot::FullName).clear();
      fonts.push_back(damaged);
    }
  }
  FontItem missing = fonts.front();
  missing.fileRef = L"gone.ttf";
  missing.fullPath = dir.File(L"gone.ttf");
  missing.names.English(NameSlot::FullName) = L"Gone";
  fonts.push_back(missing);
  for (const FontItem& font : fonts) {
    SCOPED_TRACE(testing::Message() << Narrow(font.fileRef));
    CFontSheetChildFrame* child = Add(font);
    ASSERT_TRUE(child);
    child->View().UpdateWindow();
    if (font.fileRef == L"gone.ttf") {
      EXPECT_EQ(child->View().Details().fileSize, 0u);
    }
  }
  EXPECT_EQ(frame_->TabCount(), static_cast<int>(fonts.size()));
  frame_->SendMessage(WM_COMMAND, ID_SHEET_PAGE_MODE);
  PumpMessages(50);
  EXPECT_TRUE(frame_->IsWindow());
}

}  // namespace
