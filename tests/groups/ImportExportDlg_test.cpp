// The font files copy dialog: which folder pairs it accepts, the options it opens with from
// "PanoseBackup" and their rules, and what OK stores and copies.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "common/ResourceIds.h"
#include "groups/CImportExportDlg.h"
#include "tests/support/ModalScript.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using testing_support::ClickButton;
using testing_support::FindDialogWithControl;
using testing_support::ModalScript;
using testing_support::ScratchDir;

namespace {

void StoreOptions(const DWORD* value) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (value) WriteRegDword(key, L"PanoseBackup", *value);
  else ::RegDeleteValueW(key, L"PanoseBackup");
  ::RegCloseKey(key);
}

struct ControlState {
  bool checked, enabled;
  bool operator==(const ControlState&) const = default;
};
ControlState StateOf(HWND dialog, int id) {
  return {::IsDlgButtonChecked(dialog, id) == BST_CHECKED, ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE};
}

HWND Dialog() { return FindDialogWithControl(IDC_BACKUP_CLASSES); }

// A check box or radio button clicked as by the mouse: its state changes and it notifies.
void Toggle(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

}  // namespace

TEST(ImportExportDlg, FolderPairs) {
  ScratchDir dir;
  const std::wstring src = dir.File(L"Fonts");
  ::CreateDirectoryW(src.c_str(), nullptr);
  const std::wstring fonts = L"C:\\windows\\Fonts";
  struct Case {
    std::wstring source, destination;
    bool valid;
  } cases[] = {
      {src, dir.File(L"FontsBackup"), true},  // a sibling that shares the first letters
      {src + L"\\", dir.File(L"Other"), true},
      {src, src, false},
      {src, src + L"\\", false},
      {src, src + L"\\Backup", false},
      {src + L"\\", src + L"\\Backup", false},
      {src, L"Backup", false},
      {src, L"C:", false},
      {src, L"", false},
      {dir.File(L"missing"), dir.File(L"Other"), false},
      {L"", dir.File(L"Other"), false},
      {src, L"C:\\WINDOWS\\fonts", false},
      {src, L"C:\\windows\\fonts\\", false},
      // Other ways of writing the source or a folder inside it.
      {src, src + L"\\.", false},
      {src + L"\\.", src + L"\\Backup", false},
      {src, src + L"\\.\\Backup", false},
      {src, dir.File(L"x\\..\\Fonts\\Backup"), false},
      {src, dir.File(L"Fonts/Backup"), false},
      {src, dir.File(L"Fonts\\..\\Other"), true},
      {src, L"C:\\windows\\.\\Fonts", false},
      {src, L"C:\\windows\\system32\\..\\fonts", false},
  };
  // The short (8.3) name of the source is the source too.
  wchar_t shortName[MAX_PATH] = {};
  const DWORD length = ::GetShortPathNameW(src.c_str(), shortName, MAX_PATH);
  if (length > 0 && length < MAX_PATH && src != shortName) {
    EXPECT_FALSE(IsValidBackupPair(src, std::wstring(shortName) + L"\\Backup", fonts)) << testing_support::Narrow(shortName);
    EXPECT_FALSE(IsValidBackupPair(shortName, src + L"\\Backup", fonts)) << testing_support::Narrow(shortName);
  }
  for (const Case& c : cases)
    EXPECT_EQ(IsValidBackupPair(c.source, c.destination, fonts), c.valid)
        << testing_support::Narrow(c.source) << " -> " << testing_support::Narrow(c.destination);
}

TEST(ImportExportDlg, OptionsFromTheRegistryAndTheirRules) {
  StoreOptions(nullptr);
  ModalScript::Run(
      {[] {
         HWND d = Dialog();
         if (!d) return false;
         EXPECT_TRUE(StateOf(d, IDC_BACKUP_BY_TYPE).checked);
         EXPECT_EQ(StateOf(d, IDC_BACKUP_SUBFOLDERS), (ControlState{true, true}));
         EXPECT_EQ(StateOf(d, IDC_BACKUP_PANOSE), (ControlState{false, true}));
         EXPECT_EQ(StateOf(d, IDC_BACKUP_CLASSES), (ControlState{false, true}));
         EXPECT_EQ(StateOf(d, IDC_BACKUP_PANOSE_LEVEL2), (ControlState{false, false}));
         EXPECT_EQ(StateOf(d, IDC_BACKUP_OVERWRITE).checked, false);
         EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d, IDOK))) << "no source yet";
         // Family classes and PANOSE exclude each other; the second level follows PANOSE.
         Toggle(d, IDC_BACKUP_CLASSES);
         Toggle(d, IDC_BACKUP_PANOSE);
         EXPECT_EQ(StateOf(d, IDC_BACKUP_CLASSES).checked, false);
         EXPECT_EQ(StateOf(d, IDC_BACKUP_PANOSE_LEVEL2).enabled, true);
         Toggle(d, IDC_BACKUP_CLASSES);
         EXPECT_EQ(StateOf(d, IDC_BACKUP_PANOSE).checked, false);
         EXPECT_EQ(StateOf(d, IDC_BACKUP_PANOSE_LEVEL2).enabled, false);
         // Another layout disables the sorting options without clearing them.
         Toggle(d, IDC_BACKUP_FLAT);
         EXPECT_EQ(StateOf(d, IDC_BACKUP_CLASSES), (ControlState{true, false}));
         EXPECT_EQ(StateOf(d, IDC_BACKUP_PANOSE).enabled, false);
         ClickButton(d, IDCANCEL);
         return true;
       }},
      [] { CImportExportDlg().DoModal(nullptr); });
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  DWORD stored = 0;
  EXPECT_FALSE(ReadRegDword(key.Get(), L"PanoseBackup", stored)) << "Cancel stores nothing";
}

TEST(ImportExportDlg, OkStoresTheKnownBitsAndCopies) {
  ScratchDir dir;
  const std::wstring src = dir.File(L"in");
  const std::wstring dst = dir.File(L"out");
  ::CreateDirectoryW(src.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW(L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf", (src + L"\\a.ttf").c_str(), FALSE));
  const DWORD stored = 0x61 | 0x80;  // mirror and flat both set, and a bit that means nothing
  StoreOptions(&stored);
  ModalScript::Run(
      {[&] {
         HWND d = Dialog();
         if (!d) return false;
         EXPECT_TRUE(StateOf(d, IDC_BACKUP_MIRROR).checked) << "mirror wins over flat";
         EXPECT_EQ(StateOf(d, IDC_BACKUP_PANOSE), (ControlState{true, false}));
         EXPECT_EQ(StateOf(d, IDC_BACKUP_SUBFOLDERS).checked, false);
         ::SetDlgItemTextW(d, IDC_BACKUP_SOURCE, src.c_str());
         ::SetDlgItemTextW(d, IDC_BACKUP_DESTINATION, dst.c_str());
         EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d, IDOK)));
         ClickButton(d, IDOK);
         return true;
       }},
      [] { EXPECT_EQ(CImportExportDlg().DoModal(nullptr), IDOK); });
  EXPECT_EQ(ReadBackupOptions(), 0x21u) << "the checked controls: mirror and PANOSE";
  EXPECT_NE(::GetFileAttributesW((dst + L"\\a.ttf").c_str()), INVALID_FILE_ATTRIBUTES);
  StoreOptions(nullptr);
}
