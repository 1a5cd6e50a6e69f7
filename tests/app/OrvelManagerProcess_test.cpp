// The built OrvelManager.exe started under Wine as a user would start it.
#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include <gtest/gtest.h>

#include "app/Preferences.h"
#include "app/SingleInstance.h"
#include "app/WindowLayout.h"
#include "common/RegistryValue.h"
#include "common/ResourceIds.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

constexpr DWORD kWait = 20000;

std::wstring ManagerExe() { return BinDir() + L"\\OrvelManager.exe"; }

void ForgetEverything() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  DeleteTree(GetAppDataFolder());
}

// Settings of a user who has run the program before.
void SetUpReturningUser(const std::wstring& fontCase) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  WriteRegString(key, L"FontCaseRoot", fontCase);
  ::RegCloseKey(key);
}

bool ReadLayout(WindowLayout& layout) {
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  return key && ReadRegBinaryExact(key.Get(), L"WinLayout", &layout, sizeof(layout));
}

// Types a folder into the first-start dialog and presses OK.
void AcceptFontCaseDialog(const ChildProcess& app, const std::wstring& folder, HWND* dialog = nullptr) {
  HWND dlg = app.WaitForDialogWithControl(IDC_FONT_CASE_FOLDER, kWait);
  ASSERT_NE(dlg, nullptr) << "dialog 1077 did not appear";
  ::SendMessageW(::GetDlgItem(dlg, IDC_FONT_CASE_FOLDER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
  if (dialog) *dialog = dlg;
}

class ManagerProcess : public ::testing::Test {
protected:
  void SetUp() override { ForgetEverything(); }
  void TearDown() override { ForgetEverything(); }
  ScratchDir scratch_;
};

TEST_F(ManagerProcess, WithoutResourceLibraryShowsMessage721AndExits0) {
  // A copy of the program in a folder without the library, started from there.
  const std::wstring exe = scratch_.File(L"OrvelManager.exe");
  ASSERT_TRUE(::CopyFileW(ManagerExe().c_str(), exe.c_str(), FALSE));
  ChildProcess app(exe, scratch_.Path());
  ASSERT_TRUE(app.Started());
  HWND box = app.WaitForWindow(L"#32770", kWait);
  ASSERT_NE(box, nullptr);
  const std::wstring text = StaticTexts(box);
  EXPECT_NE(text.find(L"Orvel Font Manager n'est pas correctement install\u00e9."), std::wstring::npos)
      << Narrow(text);
  EXPECT_NE(text.find(L"(Fichier OrvelRes64.Dll absent)"), std::wstring::npos);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 0u);
}

TEST_F(ManagerProcess, FirstStartAsksForFontCaseThenCloseExits1) {
  const std::wstring fontCase = scratch_.File(L"My Fonts");
  ChildProcess app(ManagerExe(), BinDir());
  ASSERT_TRUE(app.Started());
  HWND dlg = nullptr;
  AcceptFontCaseDialog(app, fontCase, &dlg);
  ASSERT_NE(dlg, nullptr);
  // The Prefs key exists once the dialog is up.
  EXPECT_TRUE(OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ));

  // The folder does not exist: the program asks before it makes it.
  HWND ask = app.WaitForWindow(L"#32770", kWait, dlg);
  ASSERT_NE(ask, nullptr);
  ::PostMessageW(ask, WM_COMMAND, IDYES, 0);

  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(::PathIsDirectoryW(fontCase.c_str()));
  EXPECT_TRUE(::PathIsDirectoryW(GetAppDataFolder(L"Font Groups").c_str()));
  std::wstring stored;
  EXPECT_TRUE(ReadRegString(OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ).Get(), L"FontCaseRoot", 260, stored));
  EXPECT_EQ(stored, fontCase);

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
  WindowLayout layout{};
  EXPECT_TRUE(ReadLayout(layout));
}

TEST_F(ManagerProcess, ExistingDataFolderDoesNotStopAFirstStart) {
  // No settings yet, but the data folder is left from an earlier installation.
  ASSERT_TRUE(::CreateDirectoryW(GetAppDataFolder().c_str(), nullptr));
  ChildProcess app(ManagerExe(), BinDir());
  AcceptFontCaseDialog(app, scratch_.Path());
  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr) << "the start stopped although the folder only existed already";
  EXPECT_TRUE(::PathIsDirectoryW(GetAppDataFolder(L"Font Groups").c_str()));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
}

TEST_F(ManagerProcess, SecondInstanceRestoresTheFirstAndExits0) {
  SetUpReturningUser(scratch_.Path());
  ChildProcess first(ManagerExe(), BinDir());
  HWND main = first.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  ::SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(::IsIconic(main));

  ChildProcess second(ManagerExe(), BinDir());
  EXPECT_EQ(second.WaitForExit(kWait), 0u);
  for (int i = 0; i < 100 && ::IsIconic(main); ++i) ::Sleep(50);
  EXPECT_FALSE(::IsIconic(main));

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(kWait), 1u);
}

TEST_F(ManagerProcess, MaximisedCloseReopensMaximisedAndMinimisedCloseKeepsLayout) {
  SetUpReturningUser(scratch_.Path());
  {
    ChildProcess app(ManagerExe(), BinDir());
    HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
    ASSERT_NE(main, nullptr);
    ::SendMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(::IsZoomed(main));
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(app.WaitForExit(kWait), 1u);
  }
  WindowLayout saved{};
  ASSERT_TRUE(ReadLayout(saved));
  EXPECT_EQ(saved.Maximized, 1);
  // The normal rectangle is kept, not the maximised one.
  EXPECT_LT(saved.WindowRect.right - saved.WindowRect.left, ::GetSystemMetrics(SM_CXSCREEN));
  {
    ChildProcess app(ManagerExe(), BinDir());
    HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(::IsZoomed(main));
    ::SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(app.WaitForExit(kWait), 1u);
  }
  WindowLayout after{};
  ASSERT_TRUE(ReadLayout(after));
  EXPECT_EQ(std::memcmp(&saved, &after, sizeof(saved)), 0) << "a minimised close must keep the stored layout";
}

namespace {

BOOL CALLBACK FindById(HWND window, LPARAM param) {
  auto* wanted = reinterpret_cast<std::pair<int, HWND>*>(param);
  if (::GetDlgCtrlID(window) != wanted->first) return TRUE;
  wanted->second = window;
  return FALSE;
}

HWND Descendant(HWND root, int id) {
  std::pair<int, HWND> wanted{id, nullptr};
  ::EnumChildWindows(root, &FindById, reinterpret_cast<LPARAM>(&wanted));
  return wanted.second;
}

int ItemCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

}  // namespace

// The program's main road: at start the folder tree selects the font case folder, the idle
// passes fill the folder fonts list, and its rows are drawn.
TEST_F(ManagerProcess, StartListsTheFontCaseFolderInTheFolderFontsList) {
  const std::wstring dejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
  for (const wchar_t* name : {L"DejaVuSans.ttf", L"DejaVuSerif.ttf", L"DejaVuSansMono.ttf"})
    ASSERT_TRUE(::CopyFileW((dejaVu + name).c_str(), scratch_.File(name).c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW(L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Bold.otf",
                          scratch_.File(L"Cantarell-Bold.otf").c_str(), FALSE));
  WriteFileBytes(scratch_.File(L"readme.txt"), "text", 4);
  ::CreateDirectoryW(scratch_.File(L"more").c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW((dejaVu + L"DejaVuSans-Bold.ttf").c_str(), scratch_.File(L"more\\b.ttf").c_str(), FALSE));
  SetUpReturningUser(scratch_.Path());
  ASSERT_TRUE(::CreateDirectoryW(GetAppDataFolder().c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  ::CreateDirectoryW(GetAppDataFolder(L"Font Groups").c_str(), nullptr);

  ChildProcess app(ManagerExe(), BinDir());
  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  HWND list = Descendant(main, IDC_FOLDER_FONTS_LIST);
  ASSERT_NE(list, nullptr);
  for (int i = 0; i < 200 && ItemCount(list) != 4; ++i) ::Sleep(100);
  EXPECT_EQ(ItemCount(list), 4) << "the folder's four font files, not its text file or subfolder";
  ::Sleep(500);  // the rows are drawn
  EXPECT_TRUE(SaveWindowImage(main, ArtifactsDir() + L"\\app_folder_fonts.bmp"));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
}

}  // namespace
