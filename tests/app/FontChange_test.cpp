// The font-change protocol of the main window under Wine: the installed list filled by the
// first idle pass with its counts in the pane caption; a font installed by hand (file copied
// into the Fonts folder, Fonts value written) appears after command 215, and the same file in
// the folder list of the Fonts folder turns installed; timer 4 sends WM_FONTCHANGE only when
// the broadcast did not arrive.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "fonts/InstalledFontRecords.h"
#include "lists/CLVInstalledFonts.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;
using namespace sfnt_test;

namespace {

const wchar_t kFontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const wchar_t kHandValue[] = L"Orvel Hand Installed (TrueType)";
const wchar_t kHandFile[] = L"OrvelHandInstalled.ttf";
const wchar_t kHandName[] = L"Orvel Hand Installed";

int g_fills = 0;
void CountFill(InstalledFillStep step) {
  if (step == InstalledFillStep::kShown) ++g_fills;
}

const FontItem* FindRecord(const std::wstring& fullName) {
  for (const FontItem* r : InstalledFontRecords())
    if (r && r->FullName() == fullName) return r;
  return nullptr;
}

class FontChange : public ::testing::Test {
protected:
  void SetUp() override {
    ResetRecords();
    g_AppState.FolderTree.SetTargetFolder(std::wstring());
    g_fills = 0;
    SetInstalledFillObserver(&CountFill);
    handPath_ = g_AppState.SystemFontsFolder + L"\\" + kHandFile;
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    cwd_ = cwd;
  }
  void TearDown() override {
    SetInstalledFillObserver(nullptr);
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      ::RegDeleteValueW(key, kHandValue);
      ::RegCloseKey(key);
    }
    g_AppState.FontCache.RemoveAll(false);
    ::DeleteFileW(handPath_.c_str());
    ::SetCurrentDirectoryW(cwd_.c_str());
  }
  CMainFrame& Open() {
    frame_ = std::make_unique<CMainFrame>();
    EXPECT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    PumpMessages(50);
    EXPECT_EQ(frame_->RunIdleJob(), IdleJob::InstalledRefresh) << "the first idle job fills the installed list";
    // The other views start in the passes that follow.
    for (int i = 0; i < 8 && frame_->RunIdleJob() != IdleJob::None; ++i) {
    }
    return *frame_;
  }
  // Pumps until the broadcast has come back or the time is over.
  void PumpUntilSettled(DWORD ms) {
    for (DWORD waited = 0; waited < ms && g_AppState.FontChangePending; waited += 20) PumpMessages(20);
  }

  std::unique_ptr<CMainFrame> frame_;
  std::wstring handPath_;
  std::wstring cwd_;
};

}  // namespace

TEST_F(FontChange, HandInstalledFontAppearsAndItsFileTurnsInstalled) {
  CMainFrame& f = Open();
  const CLVInstalledFonts& installed = g_AppState.InstalledFonts;
  EXPECT_EQ(g_fills, 1);
  const int shown = installed.CountShown(false);
  const int all = installed.CountShown(true);
  EXPECT_EQ(::SendMessageW(f.Panes().m_installedList, LVM_GETITEMCOUNT, 0, 0), shown);
  wchar_t counts[48]{};
  if (shown == all) swprintf_s(counts, L" [%d]", shown);
  else swprintf_s(counts, L" [%d / %d]", shown, all);
  EXPECT_EQ(f.Panes().m_installedPane.CaptionText(), LoadResString(IDS_INSTALLED_FONTS_PANE) + counts);
  ASSERT_EQ(FindRecord(kHandName), nullptr);

  // The font copied by hand into the Fonts folder, listed by the folder list under a path in
  // other letter case, and not installed yet.
  WriteFile(handPath_, BuildSfnt({{"head", BuildHead()},
                                  {"OS/2", BuildOs2(4)},
                                  {"name", BuildNameTable(WindowsNames(kHandName, L"Regular", kHandName))}}));
  CLVFolderFonts& folder = g_AppState.FolderFonts;
  std::wstring upper = g_AppState.SystemFontsFolder;
  ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  folder.m_folder = upper;
  ASSERT_EQ(folder.Fill(), 1);
  auto handRow = [&]() -> FontItem* {
    for (int i = 0; i < folder.CountRecords(); ++i)
      if (FontItem* r = folder.GetRecordAt(i); r && r->FullName() == kHandName) return r;
    return nullptr;
  };
  ASSERT_NE(handRow(), nullptr);
  EnsureFontItemLoaded(folder.m_folder, *handRow());
  EXPECT_FALSE(handRow()->IsInstalled());

  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExW(key, kHandValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(kHandFile), sizeof(kHandFile));
  ::RegCloseKey(key);

  f.PostMessage(WM_COMMAND, ID_FONT_CHANGE);
  PumpMessages(20);
  EXPECT_TRUE(g_AppState.FontChangePending || g_fills == 2) << "215 marks the change pending";
  PumpUntilSettled(3000);
  EXPECT_FALSE(g_AppState.FontChangePending) << "the broadcast reached the main window";
  EXPECT_EQ(g_fills, 2) << "one refresh for one change";
  const FontItem* listed = FindRecord(kHandName);
  ASSERT_NE(listed, nullptr);
  EXPECT_TRUE(EqualsNoCase(listed->fullPath, handPath_));
  EXPECT_EQ(installed.CountShown(true), all + 1);

  // The folder list shows the Fonts folder: it is refilled by the next idle pass and its row
  // is now the installed file, drawn in the installed colour.
  EXPECT_TRUE(folder.m_refreshPending) << "the Fonts folder compares without case";
  for (int i = 0; i < 6 && folder.m_refreshPending; ++i) f.RunIdleJob();
  ASSERT_NE(handRow(), nullptr);
  EnsureFontItemLoaded(folder.m_folder, *handRow());
  EXPECT_EQ(handRow()->flags & (font_flags::kInstalled | font_flags::kInstalledFile),
            font_flags::kInstalled | font_flags::kInstalledFile);
  EXPECT_EQ(folder.GetItemTextColor(handRow()->flags, IDC_FOLDER_FONTS_LIST), g_Preferences.Colors[0]);

  // The timer tick refreshes only when the broadcast did not arrive.
  PumpMessages(1200);  // the timer of the change above has fired and gone
  const int fills = g_fills;
  f.SendMessage(WM_TIMER, IDT_FONT_CHANGE);
  EXPECT_EQ(g_fills, fills);
  g_AppState.FontChangePending = true;
  f.SendMessage(WM_TIMER, IDT_FONT_CHANGE);
  EXPECT_FALSE(g_AppState.FontChangePending);
  EXPECT_EQ(g_fills, fills + 1);
}
