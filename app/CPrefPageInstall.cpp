#include "app/CPrefPageInstall.h"

#include <cwchar>
#include <string>

#include "app/Preferences.h"
#include "common/StringHelpers.h"

namespace {
constexpr uint32_t kRemoteDrives = 0x1;
constexpr uint32_t kConfirmList = 0x10;
constexpr uint32_t kConfirmGroup = 0x20;
constexpr int kThresholdDigits = 3;
}  // namespace

LRESULT CPrefPageInstall::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  loading_ = true;
  const uint32_t flags = g_Preferences.FontInstallFlags;
  ::CheckDlgButton(m_hWnd, IDC_PREF_REMOTE_DRIVES, (flags & kRemoteDrives) ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, IDC_PREF_CONFIRM_LIST, (flags & kConfirmList) ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, IDC_PREF_CONFIRM_GROUP, (flags & kConfirmGroup) ? BST_CHECKED : BST_UNCHECKED);
  ::SendDlgItemMessageW(m_hWnd, IDC_PREF_THRESHOLD, EM_LIMITTEXT, kThresholdDigits, 0);
  SetDlgItemText(IDC_PREF_THRESHOLD, std::to_wstring(g_Preferences.InstallThreshold).c_str());
  loading_ = false;
  return TRUE;
}

LRESULT CPrefPageInstall::OnChange(WORD, WORD, HWND, BOOL&) {
  if (!loading_) SetModified();
  return 0;
}

// A confirmation for lists implies one for groups.
LRESULT CPrefPageInstall::OnConfirmClicked(WORD, WORD, HWND, BOOL&) {
  if (::IsDlgButtonChecked(m_hWnd, IDC_PREF_CONFIRM_LIST) == BST_CHECKED)
    ::CheckDlgButton(m_hWnd, IDC_PREF_CONFIRM_GROUP, BST_CHECKED);
  SetModified();
  return 0;
}

int CPrefPageInstall::OnApply() {
  Preferences& prefs = g_Preferences;
  uint32_t flags = 0;
  if (::IsDlgButtonChecked(m_hWnd, IDC_PREF_REMOTE_DRIVES) == BST_CHECKED) flags |= kRemoteDrives;
  if (::IsDlgButtonChecked(m_hWnd, IDC_PREF_CONFIRM_LIST) == BST_CHECKED) flags |= kConfirmList;
  if (::IsDlgButtonChecked(m_hWnd, IDC_PREF_CONFIRM_GROUP) == BST_CHECKED) flags |= kConfirmGroup;
  std::wstring text;
  GetDlgItemString(m_hWnd, IDC_PREF_THRESHOLD, text);
  const auto threshold = static_cast<uint32_t>(std::wcstoul(text.c_str(), nullptr, 10));
  if (flags != prefs.FontInstallFlags || threshold != prefs.InstallThreshold) prefs.Changed = true;
  prefs.FontInstallFlags = flags;
  prefs.InstallThreshold = threshold;
  return PSNRET_NOERROR;
}
