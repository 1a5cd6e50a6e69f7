#include "viewing/PropertyPageHelpers.h"

#include <prsht.h>
#include <shlwapi.h>

#include "common/ResourceIdsProperties.h"
#include "common/StringHelpers.h"
#include "framework/Handles.h"
#include "framework/Window.h"
#include "viewing/ValueFormatters.h"

namespace {

std::wstring LocalDateText(const FILETIME& utc) {
  FILETIME local{};
  SYSTEMTIME time{};
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &time)) return {};
  return FormatDateTime(time);
}

}  // namespace

void ArrangeCloseOnlySheet(HWND page) {
  HWND sheet = ::GetParent(page);
  if (!sheet) return;
  ::SendMessageW(sheet, PSM_CANCELTOCLOSE, 0, 0);
  HWND cancel = ::GetDlgItem(sheet, IDCANCEL);
  HWND ok = ::GetDlgItem(sheet, IDOK);
  if (cancel && ok) {
    RECT place{};
    ::GetWindowRect(cancel, &place);
    ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&place), 2);
    ::ShowWindow(cancel, SW_HIDE);
    ::SetWindowPos(ok, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  orv::CWindow(sheet).CenterWindow();
}

bool ShowFileDetails(HWND page, const std::wstring& path, int sizeControl, bool withDetails) {
  orv::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_RANDOM_ACCESS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !::GetFileInformationByHandle(file.Get(), &info)) return false;
  file.Reset();
  SetControlText(page, sizeControl, FormatByteSize(info.nFileSizeLow));
  if (!withDetails) return true;
  const struct {
    int control;
    DWORD attribute;
  } boxes[] = {{IDC_PROP_READ_ONLY, FILE_ATTRIBUTE_READONLY},
               {IDC_PROP_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
               {IDC_PROP_SYSTEM, FILE_ATTRIBUTE_SYSTEM},
               {IDC_PROP_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE}};
  for (const auto& box : boxes)
    ::CheckDlgButton(page, box.control, (info.dwFileAttributes & box.attribute) ? BST_CHECKED : BST_UNCHECKED);
  SetControlText(page, IDC_PROP_CREATED, LocalDateText(info.ftCreationTime));
  SetControlText(page, IDC_PROP_MODIFIED, LocalDateText(info.ftLastWriteTime));
  SetControlText(page, IDC_PROP_ACCESSED, LocalDateText(info.ftLastAccessTime));
  return true;
}

void SetControlText(HWND page, int controlId, const std::wstring& text) {
  ::SetDlgItemTextW(page, controlId, ShownText(text).c_str());
}

std::wstring ShownText(const std::wstring& text) {
  std::wstring shown = WithCrLf(text);
  if (shown.size() <= kMaxShownTextLength) return shown;
  size_t cut = kMaxShownTextLength;
  if (IS_LOW_SURROGATE(shown[cut]) || (shown[cut] == L'\n' && shown[cut - 1] == L'\r')) --cut;
  shown.resize(cut);
  shown += L'\u2026';
  return shown;
}

std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      out += L"\r\n";
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::wstring FileNameOf(const std::wstring& path) { return ::PathFindFileNameW(path.c_str()); }

std::wstring FolderOf(const std::wstring& path) {
  std::wstring folder = path;
  CutLastPathComponent(folder);
  return folder;
}
