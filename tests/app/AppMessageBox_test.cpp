#include "common/AppMessageBox.h"

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

class AppMessageBoxTest : public ::testing::Test {
protected:
  void SetUp() override { ResetRecords(); }
  void TearDown() override { ResetRecords(); }
};

TEST_F(AppMessageBoxTest, TextPieces) {
  const std::wstring startup = LoadResString(IDS_STARTUP_FAILED);
  ASSERT_FALSE(startup.empty());
  const std::wstring restart = LoadResString(IDS_RESTART_ELEVATED_ASK);
  ASSERT_FALSE(restart.empty());

  // A text string alone ends with one line break.
  EXPECT_EQ(BuildAppMessageText(IDS_STARTUP_FAILED, 0, nullptr, false), startup + L"\n");
  // Detail only: "\n(" detail ")".
  EXPECT_EQ(BuildAppMessageText(0, 0, L"error 5", false), L"\n(error 5)");
  // A list, a line each (fonts and their files), stands as it is, also a list of one.
  EXPECT_EQ(BuildAppMessageText(0, 0, L"A (a.ttf)\nB (b.ttf)\n", false), L"\nA (a.ttf)\nB (b.ttf)\n");
  EXPECT_EQ(BuildAppMessageText(IDS_STARTUP_FAILED, 0, L"A (a.ttf)\n", false), startup + L"\n\nA (a.ttf)\n");
  // The restart question alone starts with two line breaks.
  EXPECT_EQ(BuildAppMessageText(0, 0, nullptr, true), L"\n\n" + restart);
  // An unknown string id contributes only its line break.
  EXPECT_EQ(BuildAppMessageText(65000, 0, nullptr, false), L"\n");
}

TEST_F(AppMessageBoxTest, SystemErrorTextThenDetail) {
  const std::wstring text = BuildAppMessageText(0, ERROR_FILE_NOT_FOUND, L"C:\\x.ttf", false);
  const size_t detail = text.rfind(L"\n\n(C:\\x.ttf)");
  ASSERT_NE(detail, std::wstring::npos) << Narrow(text);
  EXPECT_GT(detail, 0u) << "the system's text comes first";
  // A code without a system text gives only its line break.
  EXPECT_EQ(BuildAppMessageText(0, 0x2FFFFFFF, nullptr, false), L"\n");
}

TEST_F(AppMessageBoxTest, ShowsCaptionAndTypeAndRestartQuestionPostsCommand700) {
  AppMessageBox(nullptr, MB_ICONERROR, IDS_CAPTION_APP, IDS_STARTUP_FAILED);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_CAPTION_APP));
  EXPECT_EQ(Boxes()[0].type, static_cast<UINT>(MB_ICONERROR));

  // The restart form replaces the icon with a warning and Yes/No; Yes posts 700 to the main window.
  HWND main = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(main, nullptr);
  const HWND savedMain = g_AppState.MainWindow;
  g_AppState.MainWindow = main;
  for (int answer : {IDNO, IDYES}) {
    SetBoxAnswer(answer);
    AppMessageBox(nullptr, MB_ICONERROR, 0, 0, 0, nullptr, true);
    EXPECT_EQ(Boxes().back().type, static_cast<UINT>(MB_ICONWARNING | MB_YESNO));
    EXPECT_TRUE(Boxes().back().caption.empty());
    MSG msg{};
    const bool posted = ::PeekMessageW(&msg, main, WM_COMMAND, WM_COMMAND, PM_REMOVE) != FALSE;
    EXPECT_EQ(posted, answer == IDYES);
    if (posted) {
      EXPECT_EQ(LOWORD(msg.wParam), ID_RESTART_ELEVATED);
    }
  }
  g_AppState.MainWindow = savedMain;
  ::DestroyWindow(main);
}

TEST(ResString, FormatsNumbersAndWideStrings) {
  std::wstring expected = LoadResString(IDS_ADMIN_PROBE_FAILED);
  expected.replace(expected.find(L"%d"), 2, L"1314");
  EXPECT_EQ(FormatResString(IDS_ADMIN_PROBE_FAILED, 1314), expected);
  const std::wstring ask = FormatResString(IDS_ASK_CREATE_FOLDER, L"C:\\Fonts \u00e9");
  EXPECT_NE(ask.find(L"C:\\Fonts \u00e9"), std::wstring::npos);
}

}  // namespace
