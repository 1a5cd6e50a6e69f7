#include "fonts/CSubstituteDlg.h"

#include <commctrl.h>

#include <cerrno>
#include <climits>
#include <cwchar>

#include "common/DialogStatusBar.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "fonts/RegistryDialogLists.h"
#include "fonts/SystemFontKeys.h"

namespace {

constexpr int kStatusParts = 2;
constexpr wchar_t kFormatSlot[] = L"%s";

// A decimal number at the start of `text` (after spaces, with a sign); false when there is none
// or it does not fit an int.
bool ParseDecimal(std::wstring_view text, int& value) {
  const std::wstring copy(text);
  wchar_t* end = nullptr;
  errno = 0;
  const long parsed = std::wcstol(copy.c_str(), &end, 10);
  if (end == copy.c_str() || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace

CharsetLabels::CharsetLabels(std::wstring_view fields) {
  for (const std::wstring& field : SplitFields(fields)) {
    const size_t equals = field.find(L'=');
    // Fields without "=", or with nothing before it, are not pairs.
    if (equals == std::wstring::npos || equals == 0) continue;
    int code = 0;
    if (!ParseDecimal(std::wstring_view(field).substr(0, equals), code)) continue;
    pairs_.push_back({code, field.substr(equals + 1)});
  }
}

std::wstring CharsetLabels::Explain(std::wstring_view text) const {
  const size_t comma = text.find(L',');
  int code = 0;
  if (pairs_.empty() || comma == std::wstring_view::npos || !ParseDecimal(text.substr(comma + 1), code)) return {};
  for (const Pair& pair : pairs_) {
    if (pair.code != code) continue;
    // The format is the resource's own text: only its first "%s" is filled, nothing else of it
    // is taken as a format.
    std::wstring result = pairs_.front().label;
    if (const size_t slot = result.find(kFormatSlot); slot != std::wstring::npos)
      result.replace(slot, std::size(kFormatSlot) - 1, pair.label);
    return result;
  }
  return {};
}

BOOL CSubstituteDlg::OnInitDialog(HWND, LPARAM) {
  statusBar_ = CreateDialogStatusBar(m_hWnd);
  if (statusBar_) {
    RECT client{};
    GetClientRect(&client);
    const int parts[kStatusParts] = {client.right / 2, -1};
    ::SendMessageW(statusBar_, SB_SETPARTS, kStatusParts, reinterpret_cast<LPARAM>(parts));
  }
  labels_ = CharsetLabels(LoadResString(IDS_CHARSET_LABELS));

  HWND list = GetDlgItem(IDC_SUBSTITUTES_LIST);
  SetUpTwoColumnList(list, IDS_SUBSTITUTE_COLUMNS);
  const SystemFontKey key = MakeSystemFontKey(HKEY_LOCAL_MACHINE, kFontSubstitutesKey);
  for (const NamedText& value : ReadKeyTexts(key.root, key.path)) InsertTwoTextRow(list, 0, value.name, value.text);

  if (statusBar_) ::SendMessageW(statusBar_, WM_SETFONT, ::SendMessageW(list, WM_GETFONT, 0, 0), TRUE);
  CenterWindow(GetParent());
  ShowWindow(SW_SHOW);
  return TRUE;
}

LRESULT CSubstituteDlg::OnListSelection(int, NMHDR* hdr, BOOL&) {
  const int row = static_cast<int>(
      ::SendMessageW(hdr->hwndFrom, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0 || !statusBar_) return 0;
  for (int part = 0; part < kStatusParts; ++part) {
    const std::wstring text = labels_.Explain(GetListViewItemText(hdr->hwndFrom, row, part));
    ::SendMessageW(statusBar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
  }
  return 0;
}
