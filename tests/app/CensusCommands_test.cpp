// Commands 145 and 168 of the main window: each opens its tool window once (a second command
// brings the open one back), and closing the tool empties its slot.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "lists/CCensusDlg.h"
#include "lists/CDirWithFontsDlg.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

TEST(CensusCommands, OpenOnceBringBackAndCloseEachTool) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  HKEY prefs = nullptr;  // the first start has made it
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &prefs, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(prefs);
  auto frame = std::make_unique<CMainFrame>();
  ASSERT_TRUE(frame->CreateMainWindow());
  PumpMessages(50);
  const struct {
    UINT command;
    ToolWindowId id;
  } cases[] = {{ID_FONTS_CENSUS, ToolWindowId::CensusDlg}, {ID_FONTS_DIRS_WITH_FONTS, ToolWindowId::DirWithFontsDlg}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    frame->SendMessage(WM_COMMAND, c.command);
    CToolWindow* tool = frame->Tools().Get(c.id);
    ASSERT_NE(tool, nullptr);
    HWND wnd = tool->GetToolWindow();
    ASSERT_TRUE(::IsWindow(wnd));
    frame->SendMessage(WM_COMMAND, c.command);
    EXPECT_EQ(frame->Tools().Get(c.id), tool);
    ::SendMessageW(wnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(wnd));
    PumpMessages(50);  // the tool's 339 reaches the frame
    EXPECT_EQ(frame->Tools().Get(c.id), nullptr);
  }
  // The census keeps its rectangle for the next time.
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  RECT rc{};
  EXPECT_TRUE(key && ReadRegBinaryExact(key.Get(), CCensusDlg::kRectValue, &rc, sizeof(rc)));
  EXPECT_GT(rc.right, rc.left);
  frame->DestroyWindow();
  frame.reset();
  PumpMessages(20);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
}
