// The family defaults dialog: its rows, the key it reads and rewrites, and its buttons. The
// drawing, the preview and the in-place editing are in CDefaultFamiliesDlgEditing.cpp.
#include "fonts/CDefaultFamiliesDlg.h"

#include <commctrl.h>

#include "app/AppState.h"
#include "common/AppMessageBox.h"
#include "common/DialogStatusBar.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "fonts/RegistryDialogLists.h"
#include "fonts/RegistryValueEnumerator.h"
#include "fonts/SystemFontKeys.h"

namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;
static_assert(kReadWrite == 0x2001F);

std::vector<std::wstring> NonEmptyFields(UINT id) {
  std::vector<std::wstring> fields = SplitFields(LoadResString(id));
  std::erase_if(fields, [](const std::wstring& field) { return field.empty(); });
  return fields;
}

bool WriteText(HKEY key, const wchar_t* name, const std::wstring& text) {
  return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

std::vector<CDefaultFamiliesDlg::Row> CDefaultFamiliesDlg::BuiltInDefaults() {
  const std::vector<std::wstring> families = NonEmptyFields(IDS_FAMILY_DEFAULT_KEYS);
  const std::vector<std::wstring> faces = NonEmptyFields(IDS_FAMILY_DEFAULT_FACES);
  std::vector<Row> rows;
  for (size_t i = 0; i < families.size() && i < faces.size(); ++i) rows.push_back({families[i], faces[i], i == 0});
  return rows;
}

std::vector<CDefaultFamiliesDlg::Row> CDefaultFamiliesDlg::ListedRows() const {
  std::vector<Row> rows;
  const auto count = static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    ::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    rows.push_back({GetListViewItemText(list_, i, 0), GetListViewItemText(list_, i, 1), item.lParam == kUnnamedRow});
  }
  return rows;
}

void CDefaultFamiliesDlg::ShowRows(const std::vector<Row>& rows) {
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  for (const Row& row : rows)
    InsertTwoTextRow(list_, static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)), row.family, row.face,
                     row.unnamed ? kUnnamedRow : 0);
}

BOOL CDefaultFamiliesDlg::OnInitDialog(HWND, LPARAM) {
  statusBar_ = CreateDialogStatusBar(m_hWnd);
  preview_.SubclassWindow(GetDlgItem(IDC_FAMILY_DEFAULTS_PREVIEW));
  if (!g_AppState.IsElevated) ::EnableWindow(GetDlgItem(IDC_FAMILY_DEFAULTS_RESET), FALSE);
  list_ = GetDlgItem(IDC_FAMILY_DEFAULTS_LIST);
  SetUpTwoColumnList(list_, IDS_FAMILY_DEFAULT_COLUMNS);
  if (!FillFromKey()) return TRUE;
  CenterWindow(GetParent());
  ShowWindow(SW_SHOW);
  return TRUE;
}

bool CDefaultFamiliesDlg::FillFromKey() {
  const SystemFontKey key = MakeSystemFontKey(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey);
  const std::wstring unnamedLabel = FieldAt(LoadResString(IDS_FAMILY_DEFAULT_KEYS), 0);
  std::vector<Row> rows;
  for (const NamedText& value : ReadKeyTexts(key.root, key.path)) {
    const bool unnamed = value.name.empty();
    Row row{unnamed ? unnamedLabel : value.name, value.text, unnamed};
    // The unnamed value's row leads, since the first row is the one written back as it; the
    // named rows keep the order the list has always shown them in (the key's, reversed).
    if (unnamed)
      rows.insert(rows.begin(), std::move(row));
    else
      rows.insert(rows.begin() + (!rows.empty() && rows.front().unnamed ? 1 : 0), std::move(row));
  }
  if (!rows.empty()) {
    ShowRows(rows);
    return true;
  }
  orv::ScopedKey created;
  if (::RegCreateKeyExW(key.root, key.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWrite, nullptr,
                        created.Receive(), nullptr) != ERROR_SUCCESS) {
    AppMessageBox(m_hWnd, MB_OK | MB_ICONERROR, IDS_CAPTION_APP, IDS_FAMILY_DEFAULTS_NO_KEY);
    EndDialog(IDCANCEL);
    return false;
  }
  created.Reset();
  ShowRows(BuiltInDefaults());
  WriteKey();
  return true;
}

void CDefaultFamiliesDlg::WriteKey() const {
  const SystemFontKey key = MakeSystemFontKey(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey);
  RegistryValueEnumerator values(key.root, key.path.c_str(), KEY_WRITE);
  if (!values.IsOpen()) return;
  std::vector<std::wstring> named;
  while (values.Next()) {
    if (!values.Name().empty()) named.emplace_back(values.Name());
  }
  HKEY hkey = values.Key();
  if (!named.empty()) {
    ::RegDeleteValueW(hkey, nullptr);
    for (const std::wstring& name : named) ::RegDeleteValueW(hkey, name.c_str());
  }
  for (const Row& row : ListedRows()) WriteText(hkey, row.unnamed ? nullptr : row.family.c_str(), row.face);
}

bool CDefaultFamiliesDlg::IsEditing() const { return editor_.m_hWnd && ::IsWindowVisible(editor_.m_hWnd); }

void CDefaultFamiliesDlg::OnOK(UINT, int, HWND) {
  if (IsEditing()) return;
  WriteKey();
  EndDialog(IDOK);
}

void CDefaultFamiliesDlg::OnCancel(UINT, int, HWND) {
  if (IsEditing()) return;
  EndDialog(IDCANCEL);
}

void CDefaultFamiliesDlg::OnResetDefaults(UINT, int, HWND) {
  ShowRows(BuiltInDefaults());
  preview_.Invalidate();
}

int CDefaultFamiliesDlg::SelectedRow() const {
  return static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void CDefaultFamiliesDlg::SetStatusText(const std::wstring& text) const {
  if (statusBar_) ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
