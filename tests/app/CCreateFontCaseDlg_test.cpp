#include "app/CCreateFontCaseDlg.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

TEST(FontCaseFolder, RefusedFolders) {
  const std::wstring fonts = L"C:\\windows\\Fonts";
  struct Case {
    const wchar_t* folder;
    bool refused;
  } cases[] = {
      {L"C:\\", true},           {L"C:", true},                 {L"c:\\WINDOWS\\fonts", true},
      {L"C:\\Windows\\Fonts\\", true}, {L"Fonts", true},         {L"\\Fonts", true},
      {L"", true},               {L"D:\\Font Case", false},     {L"C:\\windows\\Fonts2", false},
      {L"\\\\server\\share\\fonts", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsRefusedFontCaseFolder(c.folder, fonts), c.refused) << Narrow(c.folder);
}

// The dialog driven through its own messages: refused folders beep, a new folder is asked for,
// OK writes "FontCaseRoot".
class FontCaseDialog : public ::testing::Test {
protected:
  void SetUp() override {
    ResetRecords();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    ::RegCloseKey(key);
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    ResetRecords();
  }
};

struct DialogScript {
  std::wstring typed[3];
  int steps = 0;
  HWND dlg = nullptr;
};

TEST_F(FontCaseDialog, RefusesRootsThenCreatesTheFolderAndStoresIt) {
  ScratchDir scratch;
  const std::wstring wanted = scratch.File(L"Case");
  CCreateFontCaseDlg dlg;
  // Drive the modal dialog from a timer on this thread.
  static DialogScript script;
  script = {};
  script.typed[0] = L"C:\\";
  script.typed[1] = L"Relative\\Fonts";
  script.typed[2] = wanted;
  SetBoxAnswer(IDYES);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND dlgWnd = ::FindWindowW(L"#32770", nullptr);
    if (!dlgWnd || !::GetDlgItem(dlgWnd, IDC_FONT_CASE_FOLDER)) return;
    if (script.steps < 3) {
      ::SetDlgItemTextW(dlgWnd, IDC_FONT_CASE_FOLDER, script.typed[script.steps].c_str());
      ++script.steps;
      ::SendMessageW(dlgWnd, WM_COMMAND, IDOK, 0);
    } else {
      // Nothing else ends it: a last OK with the accepted folder.
      ::SendMessageW(dlgWnd, WM_COMMAND, IDOK, 0);
    }
  });
  const INT_PTR result = dlg.DoModal(nullptr);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Beeps().size(), 2u) << "a drive root and a relative path only beep";
  ASSERT_EQ(Boxes().size(), 1u) << "the missing folder is asked for once";
  EXPECT_NE(Boxes()[0].text.find(wanted), std::wstring::npos);
  EXPECT_TRUE(::PathIsDirectoryW(wanted.c_str()));
  EXPECT_EQ(dlg.Folder(), wanted);
  std::wstring stored;
  ASSERT_TRUE(ReadRegString(OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ).Get(), L"FontCaseRoot", 260, stored));
  EXPECT_EQ(stored, wanted);
}

}  // namespace
