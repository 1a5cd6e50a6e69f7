// The About box: its version line from the version resource, opened by command 999 over the
// main window with its painted background, closed by a click or Cancel.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

VS_FIXEDFILEINFO Version(DWORD ms, DWORD ls, DWORD flags) {
  VS_FIXEDFILEINFO info{};
  info.dwProductVersionMS = ms;
  info.dwProductVersionLS = ls;
  info.dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
  info.dwFileFlags = flags;
  return info;
}

TEST(AboutVersion, ReleaseShowsTwoPartsAndEverythingElseFourWithBeta) {
  const VS_FIXEDFILEINFO release = Version(MAKELONG(2, 5), MAKELONG(4, 3), 0);
  const VS_FIXEDFILEINFO preRelease = Version(MAKELONG(2, 5), MAKELONG(4, 3), VS_FF_PRERELEASE);
  EXPECT_EQ(AboutVersionText(&release), L"Version 5.2 (64-bit)");
  EXPECT_EQ(AboutVersionText(&preRelease), L"Version \u00DF 5.2.3.4 (64-bit)");
  EXPECT_EQ(AboutVersionText(nullptr), L"Version \u00DF 0.0.0.0 (64-bit)");
  // The program's own file against one without a version resource.
  VS_FIXEDFILEINFO info{};
  ASSERT_TRUE(ReadFixedFileInfo(BinDir() + L"\\OrvelManager.exe", info));
  EXPECT_EQ(AboutVersionText(&info), L"Version 1.0 (64-bit)");
  EXPECT_FALSE(ReadFixedFileInfo(BinDir() + L"\\OrvelRes64.dll", info));
  EXPECT_FALSE(ReadFixedFileInfo(BinDir() + L"\\no such file.exe", info));
}

COLORREF BackgroundPixel(HWND dialog, int x, int y) {
  RECT rc{};
  ::GetClientRect(dialog, &rc);
  orv::ScopedGetDC screen(nullptr);
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
  orv::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), rc.right, rc.bottom));
  orv::ScopedSelectObject select(dc.Get(), bitmap.Get());
  ::SendMessageW(dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
  return ::GetPixel(dc.Get(), x < 0 ? rc.right + x : x, y < 0 ? rc.bottom + y : y);
}

TEST(AboutBox, Command999ShowsTheVersionOverThePaintedBackgroundAndClosesByClickOrCancel) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  auto frame = std::make_unique<CMainFrame>();
  ASSERT_TRUE(frame->CreateMainWindow());
  frame->ShowWindow(SW_SHOWNORMAL);
  VS_FIXEDFILEINFO own{};
  const bool known = ReadFixedFileInfo(BinDir() + L"\\app_tests.exe", own);
  for (const int closing : {WM_LBUTTONDOWN, IDCANCEL}) {
    HWND shown = nullptr;
    ModalScript::Run({[&] {
                        shown = FindDialogWithControl(IDC_ABOUT_VERSION);
                        if (!shown) return false;
                        wchar_t text[80] = {};
                        ::GetDlgItemTextW(shown, IDC_ABOUT_VERSION, text, 80);
                        EXPECT_EQ(text, AboutVersionText(known ? &own : nullptr));
                        EXPECT_EQ(::GetParent(shown), frame->m_hWnd);
                        // The corner of the band is tinted; the background elsewhere is the dialog's.
                        EXPECT_NE(BackgroundPixel(shown, 1, 1), CAboutDlg::kBackground);
                        EXPECT_EQ(BackgroundPixel(shown, -2, -2), CAboutDlg::kBackground);
                        RECT rc{};
                        ::GetWindowRect(shown, &rc);
                        SaveScreenArea(rc, ArtifactsDir() + L"\\app_about_box.bmp");
                        if (closing == IDCANCEL)
                          ClickButton(shown, IDCANCEL);
                        else
                          ::SendMessageW(shown, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
                        return true;
                      }},
                     [&] { frame->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0); });
    EXPECT_TRUE(shown) << closing;
    EXPECT_FALSE(::IsWindow(shown));
  }
  frame->DestroyWindow();
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
}

}  // namespace
