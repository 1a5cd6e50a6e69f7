#include "app/CPrefPageColors.h"

#include <algorithm>

#include "app/COrvColorDialog.h"
#include "common/ResString.h"

namespace {
constexpr COLORREF kInvert = 0xFFFFFF;
}  // namespace

LRESULT CPrefPageColors::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  (void)sampleWindow_.SubclassWindow(GetDlgItem(IDC_PREF_SAMPLE_WINDOW));
  (void)sampleSelected_.SubclassWindow(GetDlgItem(IDC_PREF_SAMPLE_SELECTED));
  ::CheckDlgButton(m_hWnd, IDC_PREF_COLOR_FIRST, BST_CHECKED);
  std::copy(std::begin(g_Preferences.Colors), std::end(g_Preferences.Colors), colors_);
  invert_ = ::GetSysColor(COLOR_HIGHLIGHTTEXT) != ::GetSysColor(COLOR_WINDOWTEXT);
  ShowColor(0);
  return TRUE;
}

int CPrefPageColors::CheckedColor() const {
  for (int i = 0; i < kColorCount; ++i)
    if (::IsDlgButtonChecked(m_hWnd, IDC_PREF_COLOR_FIRST + i) == BST_CHECKED) return i;
  return -1;
}

void CPrefPageColors::ShowColor(int index) {
  if (index < 0 || index >= kColorCount) return;
  const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  // The last colour is a background: it is shown behind the window text.
  if (index == kColorBack) {
    sampleWindow_.SetColors(windowText, colors_[index]);
    sampleSelected_.SetColors(invert_ ? windowText ^ kInvert : windowText, highlight);
  } else {
    sampleWindow_.SetColors(colors_[index], ::GetSysColor(COLOR_WINDOW));
    sampleSelected_.SetColors(invert_ ? colors_[index] ^ kInvert : colors_[index], highlight);
  }
}

LRESULT CPrefPageColors::OnColorChoice(WORD, WORD, HWND, BOOL&) {
  ShowColor(CheckedColor());
  return 0;
}

LRESULT CPrefPageColors::OnChoose(WORD, WORD, HWND, BOOL&) {
  const int index = CheckedColor();
  if (index < 0) return 0;
  COrvColorDialog picker(LoadResString(IDS_COLOR_PICKER_FIRST + index), colors_[index]);
  if (!picker.DoModal(m_hWnd)) return 0;
  colors_[index] = picker.Color();
  ShowColor(index);
  SetModified();
  return 0;
}

LRESULT CPrefPageColors::OnDefaults(WORD, WORD, HWND, BOOL&) {
  Preferences defaults;
  SetDefaultPreferences(defaults);
  std::copy(std::begin(defaults.Colors), std::end(defaults.Colors), colors_);
  for (int i = 0; i < kColorCount; ++i) ::CheckDlgButton(m_hWnd, IDC_PREF_COLOR_FIRST + i, BST_UNCHECKED);
  ShowColor(0);
  SetModified();
  return 0;
}

int CPrefPageColors::OnApply() {
  Preferences& prefs = g_Preferences;
  if (!std::equal(std::begin(colors_), std::end(colors_), std::begin(prefs.Colors))) prefs.Changed = true;
  std::copy(std::begin(colors_), std::end(colors_), prefs.Colors);
  return PSNRET_NOERROR;
}
