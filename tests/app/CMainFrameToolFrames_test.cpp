// The main frame's character map and font sheet commands with a real folder list: the selected
// readable fonts become tabs of one frame, anything but a list in lParam is never taken for one,
// and the frame object goes only once its windows are gone, after its rectangle was stored.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "tests/support/TestSupport.h"
#include "viewing/CCharMapFrame.h"
#include "viewing/CFontSheetFrame.h"

using namespace testing_support;

namespace {

void DrainQuit() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

class MainFrameCharMap : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    orv::ScopedKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key.Receive(), nullptr),
              ERROR_SUCCESS);
    frame_ = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    PumpMessages(100);
    const std::wstring dejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
    for (const wchar_t* name : {L"DejaVuSans.ttf", L"DejaVuSans-Bold.ttf", L"DejaVuSerif.ttf"})
      ASSERT_TRUE(::CopyFileW((dejaVu + name).c_str(), dir_.File(name).c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(dir_.File(L"broken.ttf"), "not a font at all", 17));
    CLVFolderFonts& list = g_AppState.FolderFonts;
    list.m_folder = dir_.Path();
    ASSERT_EQ(list.Fill(), 1);
    ASSERT_EQ(list.CountRecords(), 4);
    LVITEMW all{};
    all.stateMask = all.state = LVIS_SELECTED;
    ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
  }
  void TearDown() override {
    if (CCharMapFrame* map = CharMap(); map && map->IsWindow()) map->DestroyWindow();
    if (CFontSheetFrame* sheets = Sheets(); sheets && sheets->IsWindow()) sheets->DestroyWindow();
    PumpMessages(30);
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    frame_.reset();
    PumpMessages(20);
    DrainQuit();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }
  CCharMapFrame* CharMap() const {
    return frame_ ? static_cast<CCharMapFrame*>(frame_->Tools().Get(ToolWindowId::CharMapFrame)) : nullptr;
  }
  CFontSheetFrame* Sheets() const {
    return frame_ ? static_cast<CFontSheetFrame*>(frame_->Tools().Get(ToolWindowId::FontSheetFrame)) : nullptr;
  }
  void SendCharMap(LPARAM lParam) {
    frame_->SendMessage(WM_COMMAND, ID_FONTS_CHARMAP, lParam);
    PumpMessages(50);
  }

  ScratchDir dir_;
  std::unique_ptr<CMainFrame> frame_;
};

TEST_F(MainFrameCharMap, SelectedFontsOfAListBecomeTabsOfOneFrame) {
  // From the menu, the toolbar or anything that is not a list: no list, no frame.
  SendCharMap(0);
  SendCharMap(reinterpret_cast<LPARAM>(frame_->Panes().m_hWndToolBar));
  SendCharMap(0x12345678);
  EXPECT_EQ(CharMap(), nullptr);

  SendCharMap(reinterpret_cast<LPARAM>(&g_AppState.FolderFonts));
  CCharMapFrame* map = CharMap();
  ASSERT_TRUE(map);
  EXPECT_TRUE(map->IsWindowVisible());
  EXPECT_EQ(map->TabCount(), 3) << "the unreadable file gets no tab";
  bool maximized = false;
  EXPECT_TRUE(map->MDIGetActive(&maximized));
  EXPECT_TRUE(maximized);
  // Again: the same frame, the fonts' tabs selected, none added.
  SendCharMap(reinterpret_cast<LPARAM>(&g_AppState.FolderFonts));
  EXPECT_EQ(CharMap(), map);
  EXPECT_EQ(map->TabCount(), 3);
}

TEST_F(MainFrameCharMap, FrameIsDeletedOnlyOnceItsWindowsAreGoneWithItsRectangleStored) {
  SendCharMap(reinterpret_cast<LPARAM>(&g_AppState.FolderFonts));
  CCharMapFrame* map = CharMap();
  ASSERT_TRUE(map);
  const RECT placed{80, 90, 780, 690};
  map->MoveWindow(placed);
  HWND child = map->MDIGetActive();
  ASSERT_TRUE(child);

  // A closing report while the frame and its tabs are still there deletes nothing.
  frame_->SendMessage(WM_COMMAND, ID_TOOL_WINDOW_CLOSED, static_cast<LPARAM>(ToolWindowId::CharMapFrame));
  ASSERT_EQ(CharMap(), map);
  EXPECT_TRUE(map->IsWindow());
  EXPECT_TRUE(::IsWindow(child));
  EXPECT_EQ(map->TabCount(), 3);

  // The user closes the frame: its windows go, then the object, which stores the rectangle.
  map->PostMessage(WM_CLOSE);
  PumpMessages(100);
  EXPECT_FALSE(::IsWindow(child));
  EXPECT_EQ(CharMap(), nullptr);
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  RECT stored{};
  ASSERT_TRUE(ReadRegBinaryExact(key.Get(), CCharMapFrame::kRectValue, &stored, sizeof(stored)));
  EXPECT_TRUE(::EqualRect(&stored, &placed));

  // The next frame opens where the last one was.
  SendCharMap(reinterpret_cast<LPARAM>(&g_AppState.FolderFonts));
  ASSERT_TRUE(CharMap());
  RECT reopened{};
  CharMap()->GetWindowRect(&reopened);
  EXPECT_TRUE(::EqualRect(&reopened, &placed));
}

TEST_F(MainFrameCharMap, FontSheetsOfTheSelectedFontsInOneFrameThatKeepsItsRectangle) {
  EXPECT_TRUE(frame_->UIIsEnabled(ID_FONTS_SHEET)) << "the command is offered";
  frame_->SendMessage(WM_COMMAND, ID_FONTS_SHEET, 0x12345678);
  PumpMessages(30);
  EXPECT_EQ(Sheets(), nullptr);

  g_AppState.PageSetup = PageSetupData{};
  ResetRecords();
  frame_->SendMessage(WM_COMMAND, ID_FONTS_SHEET, reinterpret_cast<LPARAM>(&g_AppState.FolderFonts));
  PumpMessages(50);
  CFontSheetFrame* sheets = Sheets();
  ASSERT_TRUE(sheets);
  EXPECT_EQ(sheets->TabCount(), 3) << "the unreadable file gets no tab";
  if (HasDefaultPrinter()) {
    EXPECT_NE(g_AppState.PageSetup.units, 0) << "the page setup is known before the sheets are drawn";
  } else {
    // Without a printer the sheets open all the same, with a beep and no box; the next job asks again.
    EXPECT_EQ(g_AppState.PageSetup.units, 0);
    EXPECT_EQ(Beeps().size(), 1u);
    EXPECT_TRUE(Boxes().empty());
  }
  frame_->SendMessage(WM_COMMAND, ID_FONTS_SHEET, reinterpret_cast<LPARAM>(&g_AppState.FolderFonts));
  PumpMessages(30);
  EXPECT_EQ(Sheets(), sheets);
  EXPECT_EQ(sheets->TabCount(), 3);

  // A closing report while the frame is there deletes nothing; closing it deletes the object
  // once its windows are gone and stores its rectangle.
  const RECT placed{90, 80, 790, 640};
  sheets->MoveWindow(placed);
  frame_->SendMessage(WM_COMMAND, ID_TOOL_WINDOW_CLOSED, static_cast<LPARAM>(ToolWindowId::FontSheetFrame));
  ASSERT_EQ(Sheets(), sheets);
  sheets->PostMessage(WM_CLOSE);
  PumpMessages(100);
  EXPECT_EQ(Sheets(), nullptr);
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  RECT stored{};
  ASSERT_TRUE(ReadRegBinaryExact(key.Get(), CFontSheetFrame::kRectValue, &stored, sizeof(stored)));
  EXPECT_TRUE(::EqualRect(&stored, &placed));
}

}  // namespace
