// The family defaults dialog: its rows, the key it reads and rewrites, and its buttons. The
// drawing, the preview and the in-place editing are in CDefaultFamiliesDlgEditing.cpp.
#include "fonts/CDefaultFamiliesDlg.h"

#include <commctrl.h>

#include <algorithm>

#include "app/AppState.h"
#include "common/AppMessageBox.h"
#include "common/DialogStatusBar.h"
#include "common/ResString.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "fonts/RegistryDialogLists.h"
#include "fonts/SystemFontKeys.h"

namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;
static_assert(kReadWrite == 0x2001F);

std::vector<std::wstring> NonEmptyFields(UINT id) {
  std::vector<std::wstring> fields = SplitFields(LoadResString(id));
  std::erase_if(fields, [](const std::wstring& field) { return field.empty(); });
  return fields;
}

LSTATUS WriteText(HKEY key, const std::wstring& name, DWORD type, const std::wstring& text) {
  return seams::SetRegValue(key, name.empty() ? nullptr : name.c_str(), type,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// How the list names a value: the unnamed one by the first field of the family keys.
std::wstring LabelOf(const std::wstring& valueName) {
  return valueName.empty() ? FieldAt(LoadResString(IDS_FAMILY_DEFAULT_KEYS), 0) : valueName;
}

// The value a row is written as: the unnamed value for the row that stands for it.
std::wstring ValueNameOf(const CDefaultFamiliesDlg::Row& row) { return row.unnamed ? std::wstring() : row.family; }

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
  const std::wstring unnamedLabel = LabelOf(std::wstring());
  std::vector<Row> rows;
  keyValues_ = ReadKeyTexts(key.root, key.path);
  for (const NamedText& value : keyValues_) {
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
  (void)WriteChanges();  // a failure is reported; the dialog shows the defaults all the same
  return true;
}

bool CDefaultFamiliesDlg::WriteChanges() {
  const std::vector<Row> rows = ListedRows();
  const auto held = [&](const std::wstring& name) {
    return std::find_if(keyValues_.begin(), keyValues_.end(), [&](const NamedText& v) { return v.name == name; });
  };
  std::vector<const Row*> writes;
  for (const Row& row : rows) {
    const auto value = held(ValueNameOf(row));
    if (value == keyValues_.end() || value->text != row.face) writes.push_back(&row);
  }
  std::vector<std::wstring> deletes;
  for (const NamedText& value : keyValues_)
    if (std::none_of(rows.begin(), rows.end(), [&](const Row& row) { return ValueNameOf(row) == value.name; }))
      deletes.push_back(value.name);
  if (writes.empty() && deletes.empty()) return true;

  const SystemFontKey key = MakeSystemFontKey(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey);
  orv::ScopedKey hkey;
  const LSTATUS opened = ::RegOpenKeyExW(key.root, key.path.c_str(), 0, KEY_SET_VALUE, hkey.Receive());
  if (opened != ERROR_SUCCESS) {
    ReportWriteFailure(opened, writes.empty() ? LabelOf(deletes.front()) : writes.front()->family);
    return false;
  }
  // Writes before deletions: a failure never leaves a family without its value.
  for (const Row* row : writes) {
    const std::wstring name = ValueNameOf(*row);
    auto value = held(name);
    const DWORD type = value != keyValues_.end() && value->type == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ;
    if (const LSTATUS status = WriteText(hkey.Get(), name, type, row->face); status != ERROR_SUCCESS) {
      ReportWriteFailure(status, row->family);
      return false;
    }
    if (value == keyValues_.end()) value = keyValues_.insert(keyValues_.end(), NamedText{name, {}, type});
    value->text = row->face;
    value->type = type;
  }
  for (const std::wstring& name : deletes) {
    const LSTATUS status = seams::DeleteRegValue(hkey.Get(), name.empty() ? nullptr : name.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      ReportWriteFailure(status, LabelOf(name));
      return false;
    }
    keyValues_.erase(held(name));
  }
  return true;
}

void CDefaultFamiliesDlg::ReportWriteFailure(LSTATUS status, const std::wstring& valueLabel) const {
  AppMessageBox(m_hWnd, MB_OK | MB_ICONERROR, IDS_CAPTION_APP, IDS_FAMILY_DEFAULTS_NOT_WRITTEN,
                static_cast<DWORD>(status), valueLabel.c_str());
}

bool CDefaultFamiliesDlg::IsEditing() const { return editor_.m_hWnd && ::IsWindowVisible(editor_.m_hWnd); }

void CDefaultFamiliesDlg::OnOK(UINT, int, HWND) {
  if (IsEditing()) return;
  if (!WriteChanges()) return;  // told; the user may try again or cancel
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
