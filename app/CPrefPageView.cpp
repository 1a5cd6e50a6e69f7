#include "app/CPrefPageView.h"

#include <commctrl.h>

#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"

namespace {

constexpr uint32_t kNamesOnly = Preferences::kStyleNamesOnly;
constexpr uint32_t kHideRaster = 0x2;
constexpr uint32_t kGridLines = 0x10;
constexpr uint32_t kHideEudc = 0x20;
constexpr uint32_t kHideVertical = 0x40;
constexpr uint32_t kInstalledListBits = kHideRaster | kHideEudc | kHideVertical;

const struct {
  int control;
  uint32_t bit;
} kStyleBoxes[] = {{IDC_PREF_NAMES_ONLY, kNamesOnly},
                   {IDC_PREF_GRID_LINES, kGridLines},
                   {IDC_PREF_HIDE_RASTER, kHideRaster},
                   {IDC_PREF_HIDE_EUDC, kHideEudc},
                   {IDC_PREF_HIDE_VERTICAL, kHideVertical}};

}  // namespace

LRESULT CPrefPageView::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  loading_ = true;
  orv::CWindow(GetPropertySheet()).CenterWindow();
  for (const auto& box : kStyleBoxes)
    ::CheckDlgButton(m_hWnd, box.control, (g_Preferences.StyleFlags & box.bit) ? BST_CHECKED : BST_UNCHECKED);
  upDown_ = ::CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT |
                                                             UDS_ARROWKEYS,
                              0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_PREF_POINT_SIZE_SPIN)),
                              nullptr, nullptr);
  if (upDown_) {
    ::SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(IDC_PREF_POINT_SIZE)), 0);
    ::SendMessageW(upDown_, UDM_SETRANGE32, kMinPointSize, kMaxPointSize);
    ::SendMessageW(upDown_, UDM_SETPOS32, 0, g_Preferences.FontPointSize);
  }
  rebuildLists_ = false;
  loading_ = false;
  return TRUE;
}

LRESULT CPrefPageView::OnChange(WORD, WORD, HWND, BOOL&) {
  if (!loading_) SetModified();
  return 0;
}

int CPrefPageView::OnApply() {
  Preferences& prefs = g_Preferences;
  uint32_t style = 0;
  for (const auto& box : kStyleBoxes)
    if (::IsDlgButtonChecked(m_hWnd, box.control) == BST_CHECKED) style |= box.bit;
  const uint32_t changedBits = style ^ prefs.StyleFlags;
  // A typed size outside the range is taken to its nearest end.
  BOOL failed = FALSE;
  int size = upDown_ ? static_cast<int>(::SendMessageW(upDown_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)))
                     : prefs.FontPointSize;
  size = std::clamp(size, kMinPointSize, kMaxPointSize);
  if (changedBits & kInstalledListBits) rebuildLists_ = true;
  if (style != prefs.StyleFlags || size != prefs.FontPointSize) prefs.Changed = true;
  prefs.StyleFlags = style;
  prefs.FontPointSize = size;
  // The lines between rows show at once, in every list of the main window.
  if (changedBits & kGridLines)
    for (HWND list : {g_AppState.FolderFonts.m_hWnd, g_AppState.InstalledFonts.m_hWnd, g_AppState.GroupFonts.m_hWnd})
      if (list) ::InvalidateRect(list, nullptr, TRUE);
  return PSNRET_NOERROR;
}
