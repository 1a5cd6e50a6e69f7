// The family defaults dialog's owner-drawn rows, its preview pane and the in-place editing of
// a row's face name.
#include "fonts/CDefaultFamiliesDlg.h"

#include <commctrl.h>

#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "fonts/RegistryDialogLists.h"
#include "framework/Beep.h"
#include "framework/Handles.h"

namespace {

constexpr int kPreviewInset = 4;
constexpr int kPreviewHeight = -12;
constexpr int kRowLineWidth = 2;
constexpr int kCellPadding = 4;

RECT SubItemBounds(HWND list, int row, int column) {
  RECT rc{};
  rc.top = column;
  rc.left = LVIR_BOUNDS;
  ::SendMessageW(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
  if (column == 0) {
    // Sub-item 0's bounds are the whole row: the family cell ends where column 0 does.
    rc.right = rc.left + static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  }
  return rc;
}

void DrawCell(HDC dc, const std::wstring& text, RECT cell) {
  cell.left += kCellPadding;
  cell.right -= kCellPadding;
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

LRESULT CDefaultFamiliesDlg::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (draw->CtlID != IDC_FAMILY_DEFAULTS_LIST) {
    handled = FALSE;
    return FALSE;
  }
  const int row = static_cast<int>(draw->itemID);
  const bool selected = (draw->itemState & ODS_SELECTED) != 0;
  HDC dc = draw->hDC;
  ::FillRect(dc, &draw->rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ::SetBkMode(dc, TRANSPARENT);
  DrawCell(dc, GetListViewItemText(list_, row, 0), SubItemBounds(list_, row, 0));
  DrawCell(dc, GetListViewItemText(list_, row, 1), SubItemBounds(list_, row, 1));
  RECT line = draw->rcItem;
  line.top = line.bottom - kRowLineWidth;
  ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_3DLIGHT));
  return TRUE;
}

LRESULT CDefaultFamiliesDlg::OnItemChanged(int, NMHDR*, BOOL&) {
  preview_.Invalidate();
  return 0;
}

LRESULT CDefaultFamiliesDlg::OnPreviewErase(UINT, WPARAM wParam, LPARAM, BOOL&) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  RECT client{};
  preview_.GetClientRect(&client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
  const int row = SelectedRow();
  previewFace_.clear();
  if (row < 0) return TRUE;
  previewFace_ = GetListViewItemText(list_, row, 1).substr(0, kPreviewFaceMax);
  LOGFONTW font{};
  font.lfHeight = kPreviewHeight;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  std::copy(previewFace_.begin(), previewFace_.end(), font.lfFaceName);
  orv::ScopedFont face(::CreateFontIndirectW(&font));
  orv::ScopedSelectObject select(dc, face.Get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  RECT text = client;
  ::InflateRect(&text, -kPreviewInset, -kPreviewInset);
  const std::wstring& sample = g_Preferences.SampleText;
  ::DrawTextW(dc, sample.c_str(), static_cast<int>(sample.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
  return TRUE;
}

LRESULT CDefaultFamiliesDlg::OnPreviewPaint(UINT, WPARAM, LPARAM, BOOL&) {
  // Everything is drawn with the background; the static's own painting would cover it.
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(preview_.m_hWnd, &paint);
  if (!paint.fErase) {
    BOOL handled = TRUE;
    OnPreviewErase(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0, handled);
  }
  ::EndPaint(preview_.m_hWnd, &paint);
  return 0;
}

LRESULT CDefaultFamiliesDlg::OnListKeyDown(int, NMHDR* hdr, BOOL&) {
  if (reinterpret_cast<const NMLVKEYDOWN*>(hdr)->wVKey == VK_F2) {
    const int row = SelectedRow();
    if (row >= 0) ::SendMessageW(list_, LVM_EDITLABELW, row, 0);
  }
  return 0;
}

LRESULT CDefaultFamiliesDlg::OnBeginLabelEdit(int, NMHDR*, BOOL&) {
  if (!g_AppState.IsElevated) return TRUE;  // refused
  SetStatusText(std::wstring());
  HWND edit = reinterpret_cast<HWND>(::SendMessageW(list_, LVM_GETEDITCONTROL, 0, 0));
  if (!edit) return TRUE;
  if (editor_.m_hWnd) editor_.UnsubclassWindow();
  editor_.SubclassWindow(edit);
  const int row = SelectedRow();
  if (row >= 0) ::SetWindowTextW(edit, GetListViewItemText(list_, row, 1).c_str());
  return FALSE;
}

LRESULT CDefaultFamiliesDlg::OnEndLabelEdit(int, NMHDR* hdr, BOOL&) {
  const LVITEMW& item = reinterpret_cast<const NMLVDISPINFOW*>(hdr)->item;
  // Column 0 is never the edited text: the list is always told to keep its label.
  if (!item.pszText || item.iItem < 0) return FALSE;
  const std::wstring face = item.pszText;
  if (isInstalledName_ && isInstalledName_(face)) {
    LVITEMW sub{};
    sub.iSubItem = 1;
    sub.pszText = const_cast<wchar_t*>(face.c_str());
    ::SendMessageW(list_, LVM_SETITEMTEXTW, item.iItem, reinterpret_cast<LPARAM>(&sub));
    preview_.Invalidate();
  } else {
    SetStatusText(LoadResString(IDS_FAMILY_DEFAULT_NOT_INSTALLED));
    seams::Beep(0);
  }
  return FALSE;
}

LRESULT CDefaultFamiliesDlg::OnEditorMove(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;  // the edit control keeps its own handling
  const int row = SelectedRow();
  if (placingEditor_ || row < 0) return 0;
  placingEditor_ = true;
  const RECT cell = SubItemBounds(list_, row, 1);
  ::SetWindowPos(editor_.m_hWnd, nullptr, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT family = SubItemBounds(list_, row, 0);
  ::InvalidateRect(list_, &family, TRUE);
  ::UpdateWindow(list_);
  placingEditor_ = false;
  return 0;
}

LRESULT CDefaultFamiliesDlg::OnEditorKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != VK_UP && wParam != VK_DOWN) {
    handled = FALSE;
    return 0;
  }
  // The next edit starts once this key is done: starting it here would end the edit control
  // whose message is being handled.
  const int row = SelectedRow();
  const auto last = static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)) - 1;
  const int next = std::clamp(wParam == VK_UP ? row - 1 : row + 1, 0, std::max(last, 0));
  PostMessage(kMsgEditRow, static_cast<WPARAM>(next));
  return 0;
}

LRESULT CDefaultFamiliesDlg::OnEditorGetDlgCode(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  // Enter and Esc end the edit, not the dialog.
  return editor_.DefWindowProc(msg, wParam, lParam) | DLGC_WANTALLKEYS;
}

LRESULT CDefaultFamiliesDlg::OnEditRow(UINT, WPARAM wParam, LPARAM, BOOL&) {
  const auto row = static_cast<int>(wParam);
  if (row < 0 || row >= static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0))) return 0;
  // The running edit ends (and is checked) when the list takes the focus back for the next.
  ::SetFocus(list_);
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  ::SendMessageW(list_, LVM_EDITLABELW, row, 0);
  return 0;
}
