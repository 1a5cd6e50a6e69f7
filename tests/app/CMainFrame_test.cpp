// The main window built for real under Wine: window tree, captions, splitter modes, minimum
// size, the layout round trip through "WinLayout", the idle job order, and a picture.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileNotices.h"
#include "app/Preferences.h"
#include "fonts/FontItem.h"
#include "common/RegistryValue.h"
#include "framework/AppModule.h"
#include "common/ResString.h"
#include "framework/ImageListPixels.h"
#include "tests/support/MenuDrawing.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

std::wstring ClassOf(HWND wnd) {
  wchar_t cls[80]{};
  ::GetClassNameW(wnd, cls, 80);
  return cls;
}

void DrainQuit() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

// Takes this window's queued messages; true when a null message was among them (a message
// filter of 0 to 0 would take every message, so look at each).
bool TakeNullMessage(HWND wnd) {
  bool seen = false;
  MSG msg;
  while (::PeekMessageW(&msg, wnd, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_NULL) seen = true;
    else ::DispatchMessageW(&msg);
  }
  return seen;
}

void StoreLayout(const WindowLayout& layout) {
  HKEY raw = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr),
            ERROR_SUCCESS);
  orv::ScopedKey key(raw);
  ASSERT_TRUE(WriteRegBinary(key.Get(), L"WinLayout", &layout, sizeof(layout)));
}

bool ReadLayout(WindowLayout& layout) {
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  return key && ReadRegBinaryExact(key.Get(), L"WinLayout", &layout, sizeof(layout));
}

WindowLayout TestLayout() {
  WindowLayout l = DefaultWindowLayout(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  l.WindowRect = RectOnScreen({30, 30}, {800, 600});  // on whatever screen the test runs
  l.MainSplitterPos = 210;
  l.ListsSplitterPos = 260;
  l.TreesSplitterPos = 190;
  l.SampleSplitterPos = 300;
  l.MainSinglePane = l.ListsSinglePane = l.TreesSinglePane = l.SampleSinglePane = -1;
  l.Maximized = 0;
  l.StatusBarShown = 1;
  l.ToolbarShown = 1;
  l.RebarRect = {};
  return l;
}

class MainFrame : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    StoreLayout(TestLayout());
    // A groups folder to write the root group into, as the program always has.
    groupsFolder_ = groups_.Path();
    FontGroup::SetGroupsFolderSource(&groupsFolder_);
    ForgetToldGroupFiles();  // what an earlier test left untold
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    DrainQuit();
    FontGroup::SetGroupsFolderSource(nullptr);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }
  testing_support::ScratchDir groups_;
  std::wstring groupsFolder_;
  // A sample size of 0 leaves the sample window's default.
  CMainFrame& Open(int sampleSize = 0) {
    if (sampleSize) {
      HKEY key = nullptr;
      EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr),
                ERROR_SUCCESS);
      WriteRegDword(key, L"SampleFontSize", static_cast<DWORD>(sampleSize));
      ::RegCloseKey(key);
    }
    frame_ = std::make_unique<CMainFrame>();
    EXPECT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    frame_->UpdateWindow();
    PumpMessages(200);
    return *frame_;
  }
  std::unique_ptr<CMainFrame> frame_;
};

TEST_F(MainFrame, WindowTreeOfBarsSplittersAndPanes) {
  // Not the default sample size, so that the sample pane shows the size it was given.
  constexpr int kSampleSize = 20;
  CMainFrame& f = Open(kSampleSize);
  MainPanes& p = f.Panes();
  EXPECT_EQ(ClassOf(f.m_hWnd), kSingleInstanceName);
  EXPECT_EQ(g_AppState.MainWindow, f.m_hWnd);
  EXPECT_EQ(::GetMenu(f.m_hWnd), nullptr) << "the menu lives in the command bar";
  EXPECT_EQ(ClassOf(f.m_hWndToolBar), REBARCLASSNAMEW);
  EXPECT_EQ(::GetParent(f.CommandBar()), f.m_hWndToolBar);
  EXPECT_EQ(ClassOf(f.CommandBar()), L"OrvelCommandBar");
  EXPECT_EQ(::SendMessageW(f.CommandBar(), TB_BUTTONCOUNT, 0, 0), 6);
  EXPECT_EQ(::SendMessageW(f.m_hWndToolBar, RB_IDTOINDEX, 0xEB01, 0), 1);
  EXPECT_EQ(::GetParent(p.m_hWndToolBar), f.m_hWndToolBar);
  EXPECT_EQ(::SendMessageW(p.m_hWndToolBar, TB_BUTTONCOUNT, 0, 0), 13);
  EXPECT_EQ(ClassOf(f.m_hWndStatusBar), STATUSCLASSNAMEW);
  EXPECT_EQ(::GetDlgCtrlID(f.m_hWndStatusBar), 0xE801);
  EXPECT_EQ(g_AppState.StatusBar, f.m_hWndStatusBar);

  struct Node {
    HWND wnd;
    const wchar_t* cls;
    HWND parent;
    int id;
  };
  const Node nodes[] = {
      {p.m_mainSplitter, L"OrvelSplitter", f.m_hWnd, 209},
      {p.m_treesSplitter, L"OrvelHorSplitter", p.m_mainSplitter, 210},
      {p.m_sampleSplitter, L"OrvelHorSplitter", p.m_mainSplitter, -1},
      {p.m_listsSplitter, L"OrvelSplitter", p.m_sampleSplitter, -1},
      {p.m_folderPane, L"OrvelFolderPane", p.m_treesSplitter, -1},
      {p.m_groupsPane, L"OrvelGroupsPane", p.m_treesSplitter, -1},
      {p.m_fontListsPane, L"OrvelFontListsPane", p.m_listsSplitter, -1},
      {p.m_installedPane, L"OrvelInstalledPane", p.m_listsSplitter, -1},
      {p.m_samplePane, L"OrvelSamplePane", p.m_sampleSplitter, -1},
      {p.m_folderTree, WC_TREEVIEWW, p.m_folderPane, 350},
      {p.m_groupsTree, WC_TREEVIEWW, p.m_groupsPane, 355},
      {p.m_folderList, WC_LISTVIEWW, p.m_fontListsPane, 204},
      {p.m_groupList, WC_LISTVIEWW, p.m_fontListsPane, 208},
      {p.m_installedList, WC_LISTVIEWW, p.m_installedPane, 206},
      {p.m_sampleUpDown, UPDOWN_CLASSW, p.m_samplePane, 212},
  };
  for (const Node& n : nodes) {
    SCOPED_TRACE(Narrow(n.cls));
    ASSERT_TRUE(::IsWindow(n.wnd));
    EXPECT_EQ(ClassOf(n.wnd), n.cls);
    EXPECT_EQ(::GetParent(n.wnd), n.parent);
    if (n.id >= 0) {
      EXPECT_EQ(::GetDlgCtrlID(n.wnd), n.id);
    }
  }
  EXPECT_EQ(f.m_hWndClient, p.m_mainSplitter.m_hWnd);
  for (HWND w : {p.m_mainSplitter.m_hWnd, p.m_folderPane.m_hWnd, p.m_samplePane.m_hWnd})
    EXPECT_EQ(::GetWindowLongW(w, GWL_STYLE) & 0xFFFF0000, 0x56000000);
  EXPECT_EQ(p.m_mainSplitter.GetSplitterPane(0), p.m_treesSplitter.m_hWnd);
  EXPECT_EQ(p.m_sampleSplitter.GetSplitterPane(1), p.m_samplePane.m_hWnd);
  EXPECT_EQ(p.m_treesSplitter.GetSplitterExtendedStyle() & orv::SPLIT_BOTTOMALIGNED, orv::SPLIT_BOTTOMALIGNED);
  EXPECT_EQ(p.m_sampleSplitter.GetSplitterExtendedStyle() & orv::SPLIT_BOTTOMALIGNED, orv::SPLIT_BOTTOMALIGNED);
  EXPECT_EQ(p.m_mainSplitter.GetSplitterExtendedStyle() & orv::SPLIT_BOTTOMALIGNED, 0u);
  for (auto* s : {static_cast<orv::CSplitterWindowBase*>(&p.m_mainSplitter), static_cast<orv::CSplitterWindowBase*>(&p.m_listsSplitter)})
    EXPECT_EQ(s->GetSinglePaneMode(), orv::SPLIT_PANE_NONE);

  // Captions, and the font-lists pane in folder mode with the folder list in front.
  EXPECT_EQ(p.m_folderPane.CaptionText(), L"Folders");
  EXPECT_EQ(p.m_groupsPane.CaptionText(), L"Font Groups");
  EXPECT_EQ(p.m_installedPane.CaptionText(), L"Installed Fonts [0]");
  EXPECT_EQ(LOWORD(::SendMessageW(p.m_sampleUpDown, UDM_GETPOS, 0, 0)), kSampleSize);
  EXPECT_EQ(p.m_samplePane.CaptionText(), L"[20 points] ");
  EXPECT_TRUE(p.m_fontListsPane.FolderListShown());
  EXPECT_FALSE(g_AppState.GroupListShown);
  EXPECT_TRUE(::IsWindowVisible(p.m_folderList));
  EXPECT_FALSE(::IsWindowVisible(p.m_groupList));
  // View checks follow the panes.
  for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_SAMPLE_PANE, ID_VIEW_GROUPS_TREE, ID_VIEW_FOLDER_TREE,
                 ID_VIEW_FOLDER_LISTS})
    EXPECT_TRUE(f.UIGetState(id) & orv::UPDUI_CHECKED) << id;

  EXPECT_TRUE(testing_support::SaveWindowImage(f.m_hWnd, ArtifactsDir() + L"\\app_main_window.bmp"));
}

// Every item of every menu of the main window and of its panes is drawn whole in the menu font,
// and no picture or check mark lies over its text.
TEST_F(MainFrame, EveryMenuShowsWholeLabelsWithPicturesBesideThem) {
  CMainFrame& f = Open();
  struct Opener {
    CMainFrame* frame;
    int index;  // of the menu bar's popup, or
    HWND pane;  // the pane whose menu button opens it,
    std::wstring name;
    HWND client = nullptr;  // or whose client's right click opens it (at the cursor)
  };
  std::vector<Opener> openers;
  for (int i = 0; i < ::GetMenuItemCount(f.CommandBar().GetMenu()); ++i)
    openers.push_back({&f, i, nullptr, L"menu_" + std::to_wstring(i)});
  ASSERT_GT(openers.size(), 0u);
  MainPanes& p = f.Panes();
  openers.push_back({&f, 0, p.m_folderPane, L"pane_menu_folders"});
  openers.push_back({&f, 0, p.m_groupsPane, L"pane_menu_groups"});
  openers.push_back({&f, 0, p.m_fontListsPane, L"pane_menu_font_lists"});
  openers.push_back({&f, 0, p.m_installedPane, L"pane_menu_installed"});
  // The right-click menus of the trees and the installed list, with a row selected.
  openers.push_back({&f, 0, p.m_installedPane, L"right_click_installed", p.m_installedList});
  openers.push_back({&f, 0, p.m_folderPane, L"right_click_folder_tree", p.m_folderTree});
  openers.push_back({&f, 0, p.m_groupsPane, L"right_click_groups_tree", p.m_groupsTree});
  for (int i = 0; i < 4; ++i) f.RunIdleJob();  // the installed list filled, the trees made
  LVITEMW row{};
  row.stateMask = row.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(p.m_installedList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&row));
  for (Opener& o : openers) {
    const std::string found = CheckMenuWhileShown(
        [](void* c) {
          auto* o = static_cast<Opener*>(c);
          if (o->client) {  // the cursor in the client, where a right click would be
            RECT rc{};
            ::GetWindowRect(o->client, &rc);
            ::SetCursorPos(rc.left + 20, rc.top + 20);
          }
          if (o->pane) ::SendMessageW(o->pane, WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(o->client));
          else o->frame->CommandBar().OpenPopup(o->index, false);
        },
        &o, ArtifactsDir() + L"\\app_" + o.name + L".bmp");
    EXPECT_EQ(found, "") << Narrow(o.name);
  }
}

// Every toolbar of the main window (the main one and the panes') has a greyed copy of its
// pictures for its disabled buttons, picture for picture.
TEST_F(MainFrame, EveryToolbarHasGreyedPicturesForDisabledButtons) {
  CMainFrame& f = Open();
  std::vector<HWND> toolbars;
  ::EnumChildWindows(
      f.m_hWnd,
      [](HWND wnd, LPARAM list) {
        if (ClassOf(wnd) == TOOLBARCLASSNAMEW) reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&toolbars));
  int withImages = 0;
  for (HWND toolbar : toolbars) {
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    if (!images) continue;
    ++withImages;
    SCOPED_TRACE(::GetDlgCtrlID(::GetParent(toolbar)));
    HIMAGELIST disabled = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolbar, TB_GETDISABLEDIMAGELIST, 0, 0));
    ASSERT_NE(disabled, nullptr);
    ASSERT_EQ(::ImageList_GetImageCount(disabled), ::ImageList_GetImageCount(images));
    for (int i = 0; i < ::ImageList_GetImageCount(images); ++i) {
      const orv::ImagePixels picture = orv::ReadImagePixels(images, i), grey = orv::ReadImagePixels(disabled, i);
      int opaque = 0, coloured = 0;
      for (const uint32_t g : grey.Pixels) {
        opaque += (g >> 24) != 0;
        coloured += (g >> 24) && (((g >> 16) & 0xFF) != (g & 0xFF) || ((g >> 8) & 0xFF) != (g & 0xFF));
      }
      const bool pictureHasInk = std::any_of(picture.Pixels.begin(), picture.Pixels.end(), [](uint32_t v) { return v >> 24; });
      EXPECT_EQ(opaque > 0, pictureHasInk) << "image " << i;
      EXPECT_EQ(coloured, 0) << "image " << i;
    }
  }
  EXPECT_GE(withImages, 5) << "the main toolbar and the panes' toolbars";
}

// The panes are built with the Unicode block table loaded, so that the writing systems of a
// font have their names; a second window does not load it twice.
TEST_F(MainFrame, ClientAreaLoadsTheUnicodeBlockTable) {
  g_AppState.BlockTable.Clear();
  FontItem greek;
  greek.flags = font_flags::kSfnt;
  greek.namePlatformId = 3;
  greek.nameEncodingId = 1;
  greek.unicodeRange[0] = 1u << 7;
  Open();
  std::wstring scripts;
  EXPECT_TRUE(greek.GetScriptNames(scripts, L", ", -1));
  EXPECT_NE(scripts.find(L"Greek and Coptic"), std::wstring::npos) << Narrow(scripts);
  const size_t rows = g_AppState.BlockTable.Rows().size();
  frame_->DestroyWindow();
  Open();
  EXPECT_EQ(g_AppState.BlockTable.Rows().size(), rows);
}

TEST_F(MainFrame, NeverSmallerThanTheMinimum) {
  CMainFrame& f = Open();
  f.SetWindowPos(nullptr, 0, 0, 120, 90, SWP_NOZORDER | SWP_NOMOVE);
  PumpMessages(50);
  // 350 x 300 at 96 DPI, scaled at the screen's density.
  const SIZE least = LayoutLimitsForDpi(orv::ScreenDpi()).window;
  RECT rc{};
  f.GetWindowRect(&rc);
  EXPECT_EQ(rc.right - rc.left, least.cx);
  EXPECT_EQ(rc.bottom - rc.top, least.cy);
  MINMAXINFO info{};
  info.ptMinTrackSize = {100, 100};
  f.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, least.cx);
  EXPECT_EQ(info.ptMinTrackSize.y, least.cy);
  info.ptMinTrackSize = {least.cx + 50, least.cy + 200};  // a larger bound stays
  f.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, least.cx + 50);
  EXPECT_EQ(info.ptMinTrackSize.y, least.cy + 200);
}

// A stored one-pixel window with every bar far beyond it opens at the least size, with room for
// every pane, and is stored so.
TEST_F(MainFrame, ATinyStoredLayoutGivesEveryPaneRoom) {
  WindowLayout tiny = TestLayout();
  tiny.WindowRect = {10, 10, 11, 11};
  tiny.MainSplitterPos = tiny.ListsSplitterPos = tiny.TreesSplitterPos = tiny.SampleSplitterPos = 99999;
  StoreLayout(tiny);
  MainPanes& p = Open().Panes();
  const LayoutLimits least = LayoutLimitsForDpi(orv::ScreenDpi());
  RECT rc{};
  for (HWND pane : {frame_->m_hWnd, p.m_folderPane.m_hWnd, p.m_groupsPane.m_hWnd, p.m_fontListsPane.m_hWnd,
                    p.m_installedPane.m_hWnd, p.m_samplePane.m_hWnd}) {
    ::GetWindowRect(pane, &rc);
    const SIZE want = pane == frame_->m_hWnd ? least.window : SIZE{least.pane, least.pane};
    EXPECT_TRUE(rc.right - rc.left >= want.cx && rc.bottom - rc.top >= want.cy)
        << rc.right - rc.left << "x" << rc.bottom - rc.top;
  }
  frame_->SendMessage(WM_CLOSE);
  ASSERT_TRUE(ReadLayout(tiny));
  EXPECT_TRUE(tiny.WindowRect.right - tiny.WindowRect.left >= least.window.cx &&
              tiny.MainSplitterPos < least.window.cx);
}

TEST_F(MainFrame, FontCacheTakesItsLimitFromThePreferencesAsItIs) {
  const int32_t saved = g_Preferences.FontCacheSize;
  for (const int32_t size : {-1, 10}) {
    g_Preferences.FontCacheSize = size;
    Open();
    EXPECT_EQ(g_AppState.FontCache.Limit(), size) << "a negative size means no limit, not a limit of 0";
    frame_->DestroyWindow();
    DrainQuit();
  }
  g_Preferences.FontCacheSize = saved;
  g_AppState.FontCache.SetLimit(saved);
}

TEST_F(MainFrame, SplitterPositionsAndModesRoundTripThroughWinLayout) {
  WindowLayout stored = TestLayout();
  stored.SampleSinglePane = 0;
  stored.ToolbarShown = 0;
  StoreLayout(stored);
  {
    CMainFrame& f = Open();
    MainPanes& p = f.Panes();
    EXPECT_EQ(p.m_mainSplitter.GetSplitterPos(), 210);
    EXPECT_EQ(p.m_listsSplitter.GetSplitterPos(), 260);
    EXPECT_EQ(p.m_treesSplitter.GetSplitterPos(), 190);
    EXPECT_EQ(p.m_sampleSplitter.GetSinglePaneMode(), 0);
    EXPECT_FALSE(f.UIGetState(ID_VIEW_SAMPLE_PANE) & orv::UPDUI_CHECKED);
    REBARBANDINFOW band{sizeof(band)};
    band.fMask = RBBIM_STYLE;
    ::SendMessageW(f.m_hWndToolBar, RB_GETBANDINFOW, 1, reinterpret_cast<LPARAM>(&band));
    EXPECT_TRUE(band.fStyle & RBBS_HIDDEN);
    // The user moves two bars and closes the window.
    p.m_mainSplitter.SetSplitterPos(240);
    p.m_treesSplitter.SetSplitterPos(170);
    p.m_listsSplitter.SetSinglePaneMode(1);
    f.SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(f.m_hWnd));
  }
  WindowLayout saved{};
  ASSERT_TRUE(ReadLayout(saved));
  EXPECT_EQ(saved.MainSplitterPos, 240);
  EXPECT_EQ(saved.TreesSplitterPos, 170);
  EXPECT_EQ(saved.ListsSplitterPos, 260);
  EXPECT_EQ(saved.ListsSinglePane, 1);
  EXPECT_EQ(saved.SampleSinglePane, 0);
  EXPECT_EQ(saved.ToolbarShown, 0);
  EXPECT_NE(saved.RebarRect.right, saved.RebarRect.left);
  // And the next window starts from there.
  CMainFrame& again = Open();
  EXPECT_EQ(again.Panes().m_mainSplitter.GetSplitterPos(), 240);
  EXPECT_EQ(again.Panes().m_listsSplitter.GetSinglePaneMode(), 1);
  EXPECT_FALSE(again.UIGetState(ID_VIEW_FOLDER_LISTS) & orv::UPDUI_CHECKED);
}

TEST_F(MainFrame, IdleTakesOneJobPerPassInOrderAndAsksForTheNextPass) {
  CMainFrame& f = Open();
  PumpMessages(50);
  TakeNullMessage(f.m_hWnd);
  f.Pending.GroupCaption = true;
  f.Pending.FolderListRefresh = true;
  f.Pending.GroupsTreeInit = true;
  g_AppState.FolderTree.SetInitPending();
  f.Pending.InstalledRefresh = true;
  const IdleJob expected[] = {IdleJob::InstalledRefresh, IdleJob::FolderTreeInit, IdleJob::GroupsTreeInit,
                              IdleJob::FolderListFill, IdleJob::GroupListFill, IdleJob::None};
  for (IdleJob job : expected) {
    const bool more = f.OnIdle();
    EXPECT_EQ(more, job != IdleJob::None);
    // A deferred job leaves a null message behind, so that the loop comes back to idle.
    EXPECT_EQ(TakeNullMessage(f.m_hWnd), job != IdleJob::None);
  }
  f.Pending.FolderCaption = true;
  EXPECT_EQ(f.RunIdleJob(), IdleJob::FolderCaption);
  EXPECT_EQ(f.RunIdleJob(), IdleJob::None);
}

// A top-level window that counts the wheel messages it gets.
int g_WheelCount = 0;
LRESULT CALLBACK WheelCounter(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEWHEEL) ++g_WheelCount;
  return ::DefWindowProcW(wnd, msg, wp, lp);
}

HWND WheelTarget(HINSTANCE instance, const wchar_t* cls) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WheelCounter;
  wc.hInstance = instance;
  wc.lpszClassName = cls;
  ::RegisterClassW(&wc);
  return ::CreateWindowExW(WS_EX_TOPMOST, cls, nullptr, WS_POPUP | WS_VISIBLE, 700, 500, 80, 80, nullptr, nullptr,
                           instance, nullptr);
}

TEST_F(MainFrame, WheelGoesToTheWindowUnderTheCursorOfOurOwnOnly) {
  CMainFrame& f = Open();
  struct Case {
    HINSTANCE instance;
    const wchar_t* cls;
    int received;
  };
  const Case cases[] = {{orv::g_Module.GetModuleInstance(), L"OrvelWheelOwn", 1},
                        {orv::g_Module.GetResourceInstance(), L"OrvelWheelForeign", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.cls));
    HWND target = WheelTarget(c.instance, c.cls);
    ASSERT_TRUE(target);
    PumpMessages(50);
    g_WheelCount = 0;
    // The message names the focus window; the point names the target.
    MSG msg{f.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(740, 540)};
    EXPECT_TRUE(f.PreTranslateMessage(&msg)) << "the wheel message itself is always swallowed";
    EXPECT_EQ(g_WheelCount, c.received);
    ::DestroyWindow(target);
  }
}

TEST_F(MainFrame, AcceleratorsOfTheMenuAreTranslated) {
  CMainFrame& f = Open();
  MSG key{f.m_hWnd, WM_KEYDOWN, VK_F5, 0x003F0001};
  EXPECT_TRUE(f.PreTranslateMessage(&key));
  MSG plain{f.m_hWnd, WM_KEYDOWN, 'Q', 0x00100001};
  EXPECT_FALSE(f.PreTranslateMessage(&plain));
}

}  // namespace
