#include "app/COrvColorDialog.h"

#include <commdlg.h>

namespace {

// Entries 0-4 and 8-12 show system colours; 5-7 and 13-15 are the user's.
COLORREF g_customColors[COrvColorDialog::kCustomColors] = {};
constexpr int kSystemEntries[][2] = {{0, COLOR_WINDOW},    {1, COLOR_BTNSHADOW}, {2, COLOR_BTNFACE},
                                     {3, COLOR_3DLIGHT},   {4, COLOR_INFOBK},    {8, COLOR_GRAYTEXT},
                                     {9, COLOR_MENU},      {10, COLOR_HIGHLIGHT}, {11, COLOR_DESKTOP},
                                     {12, COLOR_APPWORKSPACE}};

}  // namespace

UINT_PTR CALLBACK COrvColorDialog::Hook(HWND dialog, UINT msg, WPARAM, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    const auto* choose = reinterpret_cast<const CHOOSECOLORW*>(lp);
    if (choose && choose->lCustData) ::SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(choose->lCustData));
  }
  return 0;
}

bool COrvColorDialog::DoModal(HWND owner) {
  for (const auto& entry : kSystemEntries) g_customColors[entry[0]] = ::GetSysColor(entry[1]);
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = owner;
  choose.rgbResult = color_;
  choose.lpCustColors = g_customColors;
  choose.Flags = CC_FULLOPEN | CC_ENABLEHOOK | (color_ != 0 ? CC_RGBINIT : 0);
  choose.lCustData = reinterpret_cast<LPARAM>(caption_.c_str());
  choose.lpfnHook = &COrvColorDialog::Hook;
  if (!::ChooseColorW(&choose)) return false;
  color_ = choose.rgbResult;
  return true;
}
