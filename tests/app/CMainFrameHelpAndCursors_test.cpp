// Help requests of the main window (WM_HELP), the splitter bars' cursors from the resource
// library, and the About command's identifier in the menu.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "common/Seams.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

constexpr UINT kDisplayToc = 0x0001;
constexpr UINT kHelpContext = 0x000F;

struct HelpCall {
  HWND owner;
  std::wstring file;
  UINT command;
  DWORD_PTR data;
  bool operator==(const HelpCall&) const = default;
};
std::vector<HelpCall> g_HelpCalls;
void RecordHelp(HWND owner, const std::wstring& file, UINT command, DWORD_PTR data) {
  g_HelpCalls.push_back({owner, file, command, data});
}

void DrainQuit() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}
int ThreadWindowCount() {
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

class MainFrameShell : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    savedHelpFile_ = g_AppState.HelpFilePath;
    g_HelpCalls.clear();
    ResetRecords();
    frame_ = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    frame_->UpdateWindow();
    PumpMessages(150);
  }
  void TearDown() override {
    seams::SetHelpSink(nullptr);
    g_AppState.HelpFilePath = savedHelpFile_;
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    frame_.reset();
    DrainQuit();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }
  LRESULT SendHelp(HWND control) {
    HELPINFO info{sizeof(info)};
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = ::GetDlgCtrlID(control);
    info.hItemHandle = control;
    return frame_->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  }

  std::unique_ptr<CMainFrame> frame_;
  std::wstring savedHelpFile_;
};

TEST_F(MainFrameShell, HelpOpensTheContentsThenTheTopicOfTheAskingControl) {
  seams::SetHelpSink(&RecordHelp);
  g_AppState.HelpFilePath = L"C:\\Orvel\\OrvelManager.chm";
  MainPanes& p = frame_->Panes();
  for (HWND control : {p.m_installedList, p.m_folderTree, p.m_groupsTree, p.m_sampleUpDown}) {
    const DWORD_PTR id = static_cast<DWORD_PTR>(::GetDlgCtrlID(control));
    SCOPED_TRACE(id);
    g_HelpCalls.clear();
    EXPECT_EQ(SendHelp(control), TRUE);
    const std::vector<HelpCall> expected = {{frame_->m_hWnd, L"C:\\Orvel\\OrvelManager.chm", kDisplayToc, 0},
                                            {frame_->m_hWnd, L"C:\\Orvel\\OrvelManager.chm", kHelpContext, id}};
    EXPECT_EQ(g_HelpCalls, expected);
  }
}

TEST_F(MainFrameShell, HelpFromAControlReachesTheMainWindowThroughItsParents) {
  seams::SetHelpSink(&RecordHelp);
  // F1 goes to the focus window; what a control leaves to its default processing climbs the
  // parents (pane, splitters) to the main window.
  HWND tree = frame_->Panes().m_groupsTree;
  HELPINFO info{sizeof(info)};
  info.iContextType = HELPINFO_WINDOW;
  info.iCtrlId = IDC_GROUPS_TREE;
  info.hItemHandle = tree;
  ::SendMessageW(frame_->Panes().m_groupsPane, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_EQ(g_HelpCalls.size(), 2u);
  EXPECT_EQ(g_HelpCalls[1].command, kHelpContext);
  EXPECT_EQ(g_HelpCalls[1].data, static_cast<DWORD_PTR>(IDC_GROUPS_TREE));
}

TEST_F(MainFrameShell, HelpWithoutTheHelpFileShowsNothingAndKeepsRunning) {
  // Wine has no help file: the real HTML Help is asked, finds nothing and leaves no window and
  // no message behind; a request without its HELPINFO is ignored.
  ScratchDir dir;
  g_AppState.HelpFilePath = dir.File(L"OrvelManager.chm");
  ASSERT_EQ(::GetFileAttributesW(g_AppState.HelpFilePath.c_str()), INVALID_FILE_ATTRIBUTES);
  const int windows = ThreadWindowCount();
  EXPECT_EQ(SendHelp(frame_->Panes().m_installedList), TRUE);
  EXPECT_EQ(frame_->SendMessage(WM_HELP, 0, 0), TRUE);
  PumpMessages(100);
  EXPECT_TRUE(frame_->IsWindow());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_TRUE(g_HelpCalls.empty()) << "no sink was set";
}

TEST_F(MainFrameShell, SplitterBarsUseTheResourceLibrarysCursors) {
  MainPanes& p = frame_->Panes();
  // One cursor of each kind for the four bars, not the system's sizing cursors the splitters
  // start with.
  const HCURSOR vertical = p.m_mainSplitter.GetSplitterCursor();
  const HCURSOR horizontal = p.m_treesSplitter.GetSplitterCursor();
  ASSERT_TRUE(vertical);
  ASSERT_TRUE(horizontal);
  EXPECT_NE(vertical, horizontal);
  EXPECT_EQ(p.m_listsSplitter.GetSplitterCursor(), vertical);
  EXPECT_EQ(p.m_sampleSplitter.GetSplitterCursor(), horizontal);
  EXPECT_NE(vertical, ::LoadCursorW(nullptr, IDC_SIZEWE));
  EXPECT_NE(horizontal, ::LoadCursorW(nullptr, IDC_SIZENS));

  // Real cursors: 32 x 32, the hot spot in the middle of the bar.
  struct Shape {
    HCURSOR cursor;
    DWORD hotX, hotY;
  };
  for (const Shape& s : {Shape{vertical, 15, 16}, Shape{horizontal, 16, 15}}) {
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(s.cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, s.hotX);
    EXPECT_EQ(info.yHotspot, s.hotY);
    BITMAP mask{};
    ASSERT_TRUE(::GetObjectW(info.hbmMask, sizeof(mask), &mask));
    EXPECT_EQ(mask.bmWidth, 32);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
  }

  // With the mouse over a bar, the splitter sets its cursor.
  for (orv::CSplitterWindowBase* splitter : {static_cast<orv::CSplitterWindowBase*>(&p.m_mainSplitter),
                                             static_cast<orv::CSplitterWindowBase*>(&p.m_treesSplitter)}) {
    RECT bar{};
    ASSERT_TRUE(splitter->GetSplitterBarRect(&bar));
    POINT pt{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
    ::ClientToScreen(*splitter, &pt);
    ASSERT_TRUE(::SetCursorPos(pt.x, pt.y));
    ::SetCursor(nullptr);
    ::SendMessageW(*splitter, WM_SETCURSOR, reinterpret_cast<WPARAM>(splitter->m_hWnd),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), splitter->GetSplitterCursor());
  }
}

// The About item of the Help menu (the command bar's last popup) sends 999, the number of the
// About dialog's template; no item keeps the framework's usual number for it.
TEST_F(MainFrameShell, AboutIsCommand999InTheHelpMenu) {
  HMENU menu = frame_->CommandBar().GetMenu();
  ASSERT_TRUE(menu);
  const int count = ::GetMenuItemCount(menu);
  ASSERT_GT(count, 0);
  wchar_t text[100] = {};
  ::GetMenuStringW(menu, count - 1, text, 100, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Help");
  HMENU help = ::GetSubMenu(menu, count - 1);
  ASSERT_TRUE(help);
  std::vector<UINT> about;
  for (int i = 0; i < ::GetMenuItemCount(help); ++i)
    if (::GetMenuStringW(help, i, text, 100, MF_BYPOSITION) > 0 && std::wstring(text).find(L"About") != std::wstring::npos)
      about.push_back(::GetMenuItemID(help, i));
  EXPECT_EQ(about, std::vector<UINT>{999});
  EXPECT_EQ(::GetMenuState(menu, 0xE140, MF_BYCOMMAND), static_cast<UINT>(-1)) << "no item keeps the old number";
}

}  // namespace
