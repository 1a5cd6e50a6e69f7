#include "fonts/RegistryDialogLists.h"

#include <commctrl.h>

#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "fonts/RegistryValueEnumerator.h"

namespace {
constexpr int kTitleMargin = 15;
constexpr int kColumnCount = 2;
}  // namespace

void SetUpTwoColumnList(HWND list, UINT titlesId) {
  const std::wstring titles = LoadResString(titlesId);
  for (int column = 0; column < kColumnCount; ++column) {
    std::wstring title = FieldAt(titles, static_cast<size_t>(column));
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    info.pszText = title.data();
    info.iSubItem = column;
    info.cx = static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(title.c_str()))) +
              kTitleMargin;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
  }
  RECT client{};
  ::GetClientRect(list, &client);
  for (int column = 0; column < kColumnCount; ++column)
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, column, client.right / kColumnCount);
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

int InsertTwoTextRow(HWND list, int position, const std::wstring& first, const std::wstring& second, LPARAM data) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = position;
  item.pszText = const_cast<wchar_t*>(first.c_str());
  item.lParam = data;
  const auto row = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return row;
  LVITEMW sub{};
  sub.iSubItem = 1;
  sub.pszText = const_cast<wchar_t*>(second.c_str());
  ::SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
  return row;
}

std::vector<NamedText> ReadKeyTexts(HKEY root, const std::wstring& path) {
  std::vector<NamedText> values;
  RegistryValueEnumerator reader(root, path.c_str());
  if (!reader.IsOpen()) return values;
  while (reader.Next()) values.push_back({std::wstring(reader.Name()), std::wstring(reader.Text()), reader.Type()});
  return values;
}
