#include "search/CSearchFilterListView.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "viewing/LoadUnicodeCharName.h"

namespace {

constexpr int kEditLimits[] = {1, 5, 4};
constexpr UINT kCellFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

orv::ScopedFont CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return {};
  return orv::ScopedFont(::CreateFontIndirectW(&metrics.lfMessageFont));
}

int FontHeight(HDC dc, HFONT font) {
  if (!font) return 0;
  orv::ScopedSelectObject select(dc, font);
  TEXTMETRICW metrics{};
  return ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
}

}  // namespace

void CSearchFilterListView::Fill(const std::wstring& characters) {
  SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP);
  std::vector<std::wstring> titles = SplitFields(LoadResString(IDS_GLYPHS_COLUMNS));
  titles.resize(kColumnCount);
  for (int column = 0; column < kColumnCount; ++column) {
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    lvc.fmt = (column == kDecimalColumn || column == kHexColumn) ? LVCFMT_RIGHT : LVCFMT_LEFT;
    lvc.pszText = titles[column].data();
    lvc.iSubItem = column;
    SendMessage(LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&lvc));
  }
  characterFont_ = CreateMessageFont();
  // The rows are measured again for the character font.
  SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), TRUE);
  int row = 0;
  for (wchar_t code : characters.substr(0, kMaxRows)) {
    if (code == 0) break;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) break;
    SetCharacterRow(row++, code);
  }
  FitColumns();
  if (row > 0) return;
  // The sheet puts the focus into the page once the page is set up: the edit starts after that.
  LVITEMW empty{};
  empty.mask = LVIF_PARAM;
  if (SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&empty)) < 0) return;
  SelectOnly(0);
  editColumn_ = kCharacterColumn;
  PostMessage(kBeginEditMessage, kCharacterColumn);
}

void CSearchFilterListView::SetCharacterRow(int row, wchar_t code) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  item.lParam = code;
  SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  wchar_t decimal[16]{}, hex[16]{};
  std::swprintf(decimal, std::size(decimal), L"%4d", static_cast<int>(code));
  std::swprintf(hex, std::size(hex), L"%04x", static_cast<unsigned>(code));
  std::wstring name;
  (void)LoadUnicodeCharName(name, charNames_, code);
  const std::wstring texts[kColumnCount] = {std::wstring(1, code), decimal, hex, name};
  for (int column = 0; column < kColumnCount; ++column) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(texts[column].c_str());
    SendMessage(LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
  }
  FitColumns();
}

int CSearchFilterListView::RowCount() const { return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }

wchar_t CSearchFilterListView::CodeOf(int row) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!::SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return static_cast<wchar_t>(item.lParam);
}

std::wstring CSearchFilterListView::CellText(int row, int column) const {
  return GetListViewItemText(m_hWnd, row, column);
}

std::wstring CSearchFilterListView::CollectCharacters() const {
  std::wstring out;
  const int rows = RowCount();
  for (int row = 0; row < rows && out.size() < static_cast<size_t>(kMaxRows); ++row)
    if (const wchar_t code = CodeOf(row)) out += code;
  return out;
}

bool CSearchFilterListView::HasContent() const {
  const int rows = RowCount();
  return rows > 1 || (rows == 1 && CodeOf(0) != 0);
}

int CSearchFilterListView::SelectedRow() const {
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CSearchFilterListView::SelectOnly(int row) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (row < 0) return;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessage(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  SendMessage(LVM_ENSUREVISIBLE, row, FALSE);
}

bool CSearchFilterListView::AddRow() {
  if (RowCount() >= kMaxRows) {
    seams::Beep(0);
    return false;
  }
  if (edit_.m_hWnd) EndEdit(true);
  // Rows left empty go first, so that the new row is the only one.
  for (int row = RowCount() - 1; row >= 0; --row)
    if (CodeOf(row) == 0) SendMessage(LVM_DELETEITEM, row);
  const int selected = SelectedRow();
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = selected >= 0 ? selected + 1 : RowCount();
  const int row = static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return false;
  FitColumns();
  SelectOnly(row);
  editColumn_ = kCharacterColumn;
  return BeginEdit(kCharacterColumn);
}

void CSearchFilterListView::DeleteSelectedRow() {
  const int row = SelectedRow();
  if (row < 0) return;
  if (edit_.m_hWnd) EndEdit(false);
  SendMessage(LVM_DELETEITEM, row);
  FitColumns();
}

bool CSearchFilterListView::BeginEdit(int column) {
  const int row = SelectedRow();
  if (column < kCharacterColumn || column >= kNameColumn || row < 0) return false;
  if (edit_.m_hWnd) EndEdit(true);
  RECT cell{};
  cell.top = column;
  cell.left = column == kCharacterColumn ? LVIR_LABEL : LVIR_BOUNDS;
  if (!SendMessage(LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell))) return false;
  ::InflateRect(&cell, 0, kEditExtraHeight / 2);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
  if (column == kDecimalColumn) style |= ES_NUMBER;
  if (!edit_.Create(WC_EDITW, m_hWnd, cell, style, 0, 0)) return false;
  editColumn_ = column;
  editRow_ = row;
  ++editSerial_;
  HFONT font = column == kCharacterColumn && characterFont_ ? characterFont_.Get()
                                                            : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  edit_.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  edit_.SendMessage(EM_SETLIMITTEXT, kEditLimits[column]);
  std::wstring text = CellText(row, column);
  TrimWhiteSpace(text);
  edit_.SetWindowText(text.c_str());
  edit_.SendMessage(EM_SETSEL, 0, -1);
  ::SetFocus(edit_.m_hWnd);
  return true;
}

wchar_t CSearchFilterListView::CodeOfEntry(const std::wstring& text, int column) {
  unsigned long code = 0;
  if (column == kCharacterColumn)
    code = text.empty() ? 0 : text[0];
  else
    code = std::wcstoul(text.c_str(), nullptr, column == kDecimalColumn ? 10 : 16);
  return code < kFirstCode || code > 0xFFFF ? 0 : static_cast<wchar_t>(code);
}

bool CSearchFilterListView::EndEdit(bool commit) {
  if (!edit_.m_hWnd || ending_) return false;
  ending_ = true;
  const std::wstring text = edit_.GetWindowText();
  if (::GetFocus() == edit_.m_hWnd) ::SetFocus(m_hWnd);
  ::DestroyWindow(edit_.m_hWnd);
  ending_ = false;
  if (!commit) return false;
  const wchar_t code = CodeOfEntry(text, editColumn_);
  const int rows = RowCount();
  bool taken = code != 0;
  for (int row = 0; taken && row < rows; ++row)
    if (CodeOf(row) == code) taken = false;
  if (!taken) {
    seams::Beep(0);
    return false;
  }
  SetCharacterRow(editRow_, code);
  return true;
}

void CSearchFilterListView::MoveEdit(int step) {
  const int from = editRow_;
  EndEdit(true);
  const int to = from + step;
  SelectOnly(to >= 0 && to < RowCount() ? to : from);
  BeginEdit(editColumn_);
}

void CSearchFilterListView::FitColumns() {
  int used = 0;
  for (int column = 0; column < kNameColumn; ++column) {
    SendMessage(LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
    used += static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, column));
  }
  RECT client{};
  GetClientRect(&client);
  SendMessage(LVM_SETCOLUMNWIDTH, kNameColumn, std::max<int>(client.right - used, 0));
}

void CSearchFilterListView::SetCharacterFont(orv::ScopedFont font) {
  if (!font) return;
  characterFont_ = std::move(font);
  SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), TRUE);
  Invalidate();
}

bool CSearchFilterListView::ChooseCharacterFont(HWND owner) {
  LOGFONTW lf{};
  if (characterFont_) ::GetObjectW(characterFont_.Get(), sizeof(lf), &lf);
  CHOOSEFONTW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = owner;
  choose.lpLogFont = &lf;
  choose.Flags = CF_INITTOLOGFONTSTRUCT | CF_BOTH | CF_SCALABLEONLY | CF_NOVERTFONTS | CF_INACTIVEFONTS |
                 CF_EFFECTS | CF_NOSCRIPTSEL | CF_FORCEFONTEXIST;
  if (!::ChooseFontW(&choose)) return false;
  SetCharacterFont(orv::ScopedFont(::CreateFontIndirectW(&lf)));
  return true;
}

void CSearchFilterListView::DrawRow(const DRAWITEMSTRUCT& dis) const {
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  HDC dc = dis.hDC;
  ::FillRect(dc, &dis.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ::SetBkMode(dc, TRANSPARENT);
  const HFONT listFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  const int row = static_cast<int>(dis.itemID);
  for (int column = 0; column < kColumnCount; ++column) {
    RECT cell{};
    cell.top = column;
    cell.left = column == kCharacterColumn ? LVIR_LABEL : LVIR_BOUNDS;
    if (!::SendMessageW(m_hWnd, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell))) continue;
    ::InflateRect(&cell, -kCellInset, 0);
    std::wstring text = CellText(row, column);
    UINT format = kCellFormat;
    if (column == kDecimalColumn) format |= DT_RIGHT;
    if (column == kHexColumn) {
      format |= DT_RIGHT;
      if (!text.empty()) text.insert(0, L"x");
    }
    if (column == kNameColumn) format |= DT_END_ELLIPSIS;
    const HFONT font = column == kCharacterColumn && characterFont_ ? characterFont_.Get() : listFont;
    orv::ScopedSelectObject select(dc, font);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell, format);
  }
  if (selected && (dis.itemState & ODS_FOCUS)) ::DrawFocusRect(dc, &dis.rcItem);
}

void CSearchFilterListView::MeasureRow(MEASUREITEMSTRUCT& mis) const {
  orv::ScopedGetDC screen(m_hWnd);
  if (!screen) return;
  const HFONT listFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
  const int height = std::max(FontHeight(screen.Get(), listFont), FontHeight(screen.Get(), characterFont_.Get()));
  if (height > 0) mis.itemHeight = static_cast<UINT>(height + 2 * kCellInset);
}

LRESULT CSearchFilterListView::OnNotify(NMHDR* hdr) {
  switch (hdr->code) {
    case NM_CLICK:
      OnClick(*reinterpret_cast<NMITEMACTIVATE*>(hdr));
      return 0;
    case LVN_GETINFOTIPW: {
      auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(hdr);
      const std::wstring name = CellText(tip->iItem, kNameColumn);
      if (tip->pszText && tip->cchTextMax > 0) {
        const size_t n = std::min<size_t>(name.size(), static_cast<size_t>(tip->cchTextMax - 1));
        std::wmemcpy(tip->pszText, name.c_str(), n);
        tip->pszText[n] = L'\0';
      }
      return 0;
    }
    default:
      return 0;
  }
}

void CSearchFilterListView::OnClick(const NMITEMACTIVATE& click) {
  LVHITTESTINFO hit{};
  hit.pt = click.ptAction;
  SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.iItem < 0) {
    SelectOnly(-1);
    AddRow();
    return;
  }
  editColumn_ = hit.iSubItem;
}

void CSearchFilterListView::OnKeyDown(UINT key, UINT, UINT) {
  switch (key) {
    case VK_F2: BeginEdit(editColumn_); return;
    case VK_DELETE: DeleteSelectedRow(); return;
    case VK_INSERT: AddRow(); return;
    default: DefWindowProc(); return;
  }
}

LRESULT CSearchFilterListView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  EndEdit(false);
  handled = FALSE;
  return 0;
}

LRESULT CSearchFilterListView::OnEditGetDlgCode(UINT, WPARAM, LPARAM, BOOL&) {
  return edit_.DefWindowProc() | DLGC_WANTALLKEYS;
}

LRESULT CSearchFilterListView::OnEditKeyDown(UINT, WPARAM key, LPARAM, BOOL& handled) {
  switch (key) {
    case VK_RETURN: EndEdit(true); return 0;
    case VK_ESCAPE: EndEdit(false); return 0;
    case VK_UP: MoveEdit(-1); return 0;
    case VK_DOWN: MoveEdit(1); return 0;
    default: handled = FALSE; return 0;
  }
}

LRESULT CSearchFilterListView::OnEditChar(UINT, WPARAM ch, LPARAM, BOOL& handled) {
  // Enter and Esc were taken by their key-down; the edit control would only beep.
  if (ch != L'\r' && ch != 0x1B) handled = FALSE;
  return 0;
}

LRESULT CSearchFilterListView::OnEditKillFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  // The focus went elsewhere: the entry is taken once the edit control has finished with its
  // own message, and only for the edit that lost it.
  if (!ending_) PostMessage(kEndEditMessage, editSerial_);
  return 0;
}

LRESULT CSearchFilterListView::OnBeginEditMessage(UINT, WPARAM column, LPARAM, BOOL&) {
  BeginEdit(static_cast<int>(column));
  return 0;
}

LRESULT CSearchFilterListView::OnEndEditMessage(UINT, WPARAM serial, LPARAM, BOOL&) {
  if (serial == editSerial_) EndEdit(true);
  return 0;
}
