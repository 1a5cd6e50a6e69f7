#include "framework/CommandBarCtrl.h"
#include "framework/MenuPictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/FrameWindowImpl.h"
#include "framework/UpdateUI.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr WORD kCmdOpen = 40201;
constexpr WORD kCmdExit = 40202;
constexpr WORD kCmdGrid = 40203;
constexpr WORD kCmdAbout = 40204;
constexpr UINT kStep = WM_APP + 1;

// A frame whose popups script what happens while they are open: each popup that opens is
// recorded and the next key of the script is sent to the menu.
class CBarFrame : public orv::CFrameWindowImpl<CBarFrame>, public orv::CUpdateUI<CBarFrame> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelCommandBarTestFrame", CS_DBLCLKS, COLOR_WINDOW)
  BEGIN_UPDATE_UI_MAP(CBarFrame)
    UPDATE_ELEMENT(kCmdGrid, orv::UPDUI_MENUPOPUP)
  END_UPDATE_UI_MAP()
  BEGIN_MSG_MAP(CBarFrame)
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    MESSAGE_HANDLER(kStep, OnStep)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    CHAIN_MSG_MAP(orv::CUpdateUI<CBarFrame>)
    CHAIN_MSG_MAP(orv::CFrameWindowImpl<CBarFrame>)
  END_MSG_MAP()

  std::vector<HMENU> opened;
  std::vector<WPARAM> script;  // keys sent to the menu, one per opened popup; 0 ends the menu
  std::vector<WORD> commands;
  UINT gridState = 0;

private:
  LRESULT OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    opened.push_back(reinterpret_cast<HMENU>(wParam));
    ::PostMessageW(m_hWnd, kStep, 0, 0);
    handled = FALSE;  // update-UI goes on with it
    return 0;
  }
  LRESULT OnStep(UINT, WPARAM, LPARAM, BOOL&) {
    gridState = ::GetMenuState(opened.back(), kCmdGrid, MF_BYCOMMAND);
    const size_t step = opened.size() - 1;
    const WPARAM key = step < script.size() ? script[step] : 0;
    if (key == 0 || opened.size() > 10) ::EndMenu();
    else if (key == VK_RETURN) ::PostMessageW(m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    else ::PostMessageW(m_hWnd, WM_KEYDOWN, key, 0);
    return 0;
  }
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    commands.push_back(LOWORD(wParam));
    handled = FALSE;
    return 0;
  }
};

HMENU BuildMenu() {
  HMENU bar = ::CreateMenu();
  HMENU file = ::CreatePopupMenu();
  ::AppendMenuW(file, MF_STRING, kCmdOpen, L"&Open");
  ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(file, MF_STRING, kCmdExit, L"E&xit");
  HMENU view = ::CreatePopupMenu();
  ::AppendMenuW(view, MF_STRING, kCmdGrid, L"&Grid lines");
  HMENU tools = ::CreatePopupMenu();
  ::AppendMenuW(tools, MF_STRING, 40299, L"Nothing");
  HMENU help = ::CreatePopupMenu();
  ::AppendMenuW(help, MF_STRING, kCmdAbout, L"&About");
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
  ::AppendMenuW(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(tools), L"&Tools");
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help && info");
  return bar;
}

class CommandBarTest : public ::testing::Test {
protected:
  void SetUp() override {
    RECT rc{20, 20, 620, 420};
    ASSERT_TRUE(frame.CreateEx(4713, nullptr, &rc));
    ASSERT_TRUE(bar.Create(frame));
    ASSERT_TRUE(bar.AttachMenu(BuildMenu()));
    file = ::GetSubMenu(bar.GetMenu(), 0);
    view = ::GetSubMenu(bar.GetMenu(), 1);
    help = ::GetSubMenu(bar.GetMenu(), 3);
  }
  void TearDown() override {
    bar.DestroyWindow();
    frame.DestroyWindow();
  }
  MSG Msg(UINT message, WPARAM wParam, LPARAM lParam = 0) const { return MSG{frame, message, wParam, lParam, 0, {}}; }
  bool Feed(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    MSG msg = Msg(message, wParam, lParam);
    return bar.PreTranslateMessage(&msg);
  }

  CBarFrame frame;
  orv::CCommandBarCtrl bar;
  HMENU file = nullptr, view = nullptr, help = nullptr;
};

std::wstring ButtonText(HWND bar, int index) {
  TBBUTTON b{};
  ::SendMessageW(bar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b));
  wchar_t text[64]{};
  ::SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(b.idCommand), reinterpret_cast<LPARAM>(text));
  return text;
}

}  // namespace

TEST_F(CommandBarTest, OneButtonPerTopLevelItem) {
  ASSERT_EQ(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 4);
  const wchar_t* texts[] = {L"&File", L"&View", L"&Tools", L"&Help && info"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ButtonText(bar, i), texts[i]) << i;
  TBBUTTON b{};
  ::SendMessageW(bar, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&b));
  EXPECT_FALSE(b.fsState & TBSTATE_ENABLED);  // a greyed top-level item
  // The buttons fit their texts: a longer text gives a wider button.
  RECT first{}, last{};
  ::SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  ::SendMessageW(bar, TB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&last));
  EXPECT_GT(last.right - last.left, first.right - first.left);

  HMENU menu = bar.DetachMenu();
  EXPECT_EQ(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 0);
  EXPECT_EQ(bar.GetMenu(), nullptr);
  ::DestroyMenu(menu);
}

TEST_F(CommandBarTest, AltAndF10GiveKeyboardAccess) {
  EXPECT_TRUE(Feed(WM_SYSKEYDOWN, VK_MENU));
  EXPECT_TRUE(Feed(WM_SYSKEYUP, VK_MENU));
  EXPECT_TRUE(bar.IsKeyboardMode());
  EXPECT_EQ(bar.GetHotItem(), 0);
  const struct {
    WPARAM key;
    int hot;
  } moves[] = {{VK_RIGHT, 1}, {VK_RIGHT, 3} /* Tools is greyed */, {VK_RIGHT, 0}, {VK_LEFT, 3}, {VK_LEFT, 1}};
  for (const auto& m : moves) {
    EXPECT_TRUE(Feed(WM_KEYDOWN, m.key));
    EXPECT_EQ(bar.GetHotItem(), m.hot);
  }
  EXPECT_TRUE(Feed(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_FALSE(bar.IsKeyboardMode());
  EXPECT_EQ(bar.GetHotItem(), -1);

  // Alt together with another key is an accelerator, not the menu bar.
  Feed(WM_SYSKEYDOWN, VK_MENU);
  EXPECT_FALSE(Feed(WM_SYSKEYDOWN, 'Q'));
  Feed(WM_SYSKEYUP, VK_MENU);
  EXPECT_FALSE(bar.IsKeyboardMode());

  EXPECT_TRUE(Feed(WM_SYSKEYDOWN, VK_F10));
  EXPECT_TRUE(bar.IsKeyboardMode());
  // A click anywhere in the frame leaves it, and is not taken.
  EXPECT_FALSE(Feed(WM_LBUTTONDOWN, 0));
  EXPECT_FALSE(bar.IsKeyboardMode());

  // Messages of other windows are none of the bar's business.
  MSG other{::GetDesktopWindow(), WM_SYSKEYDOWN, VK_F10, 0, 0, {}};
  EXPECT_FALSE(bar.PreTranslateMessage(&other));
}

TEST_F(CommandBarTest, MnemonicOpensItsPopupAndArrowsMoveBetweenMenus) {
  frame.script = {VK_RIGHT, VK_RIGHT, VK_LEFT, 0};
  EXPECT_TRUE(Feed(WM_SYSCHAR, 'f'));
  // File, View, (Tools is greyed) Help, back to View, closed.
  ASSERT_EQ(frame.opened.size(), 4u);
  EXPECT_EQ(frame.opened[0], file);
  EXPECT_EQ(frame.opened[1], view);
  EXPECT_EQ(frame.opened[2], help);
  EXPECT_EQ(frame.opened[3], view);
  EXPECT_EQ(bar.GetOpenPopup(), -1);

  frame.opened.clear();
  frame.script = {VK_LEFT, 0};
  EXPECT_TRUE(Feed(WM_SYSCHAR, 'F'));
  ASSERT_EQ(frame.opened.size(), 2u);
  EXPECT_EQ(frame.opened[1], help);  // Left from the first menu wraps to the last

  // No item has the mnemonic, or its item is greyed: the key goes on.
  EXPECT_FALSE(Feed(WM_SYSCHAR, 'z'));
  EXPECT_FALSE(Feed(WM_SYSCHAR, 't'));
}

TEST_F(CommandBarTest, PopupItemsGetUpdateUiStatesAndImagesAndCommandsReachTheFrame) {
  WORD commands[] = {kCmdOpen, kCmdAbout};
  orv::ScopedImageList images(::ImageList_Create(16, 16, ILC_COLOR32, 2, 0));
  orv::ScopedBitmap strip(::CreateBitmap(32, 16, 1, 32, nullptr));
  ::ImageList_Add(images.Get(), strip.Get(), nullptr);
  ASSERT_TRUE(bar.SetImages(std::move(images), commands, 2));
  EXPECT_EQ(bar.ImageOf(kCmdAbout), 1);
  EXPECT_EQ(bar.ImageOf(kCmdExit), -1);

  frame.UISetCheck(kCmdGrid, true);
  frame.script = {VK_RIGHT, VK_RETURN};
  Feed(WM_SYSCHAR, 'f');
  testing_support::PumpMessages(20);
  ASSERT_GE(frame.opened.size(), 2u);
  EXPECT_TRUE(frame.gridState & MF_CHECKED);
  // Enter on the first item of View ran its command in the frame.
  ASSERT_EQ(frame.commands.size(), 1u);
  EXPECT_EQ(frame.commands[0], kCmdGrid);

  EXPECT_NE(orv::MenuItemPicture(file, kCmdOpen, false), nullptr);
  EXPECT_EQ(orv::MenuItemPicture(file, kCmdExit, false), nullptr) << "no image for this command";
  MENUITEMINFOW mii{sizeof(mii)};
  mii.fMask = MIIM_BITMAP;
  ASSERT_TRUE(::GetMenuItemInfoW(file, kCmdExit, FALSE, &mii));
  EXPECT_EQ(mii.hbmpItem, HBMMENU_CALLBACK) << "measured with the picture column all the same";
}
