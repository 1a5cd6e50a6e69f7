// Saving the census result list as a report: the save dialog and the file.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>

#include "common/ResString.h"
#include "common/Seams.h"
#include "lists/CCensusDlg.h"

namespace {
constexpr wchar_t kDefaultExtension[] = L"htm";
constexpr size_t kFileTitleMax = 256;
}  // namespace

void CCensusDlg::ExportReport(HWND button) {
  const bool rows = list_.RowCount() > 0;
  if (button) ::EnableWindow(button, rows);
  if (!rows) return;
  // Pairs of caption and pattern, each ended by a NUL.
  std::wstring filters = LoadResString(IDS_CENSUS_REPORT_FILTER);
  std::replace(filters.begin(), filters.end(), L'|', L'\0');
  filters.push_back(L'\0');
  std::wstring file(MAX_PATH, L'\0');
  std::wstring title(kFileTitleMax, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = m_hWnd;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(kFileTitleMax);
  ofn.lpstrDefExt = kDefaultExtension;
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (!::GetSaveFileNameW(&ofn)) return;
  file.resize(wcslen(file.c_str()));
  // Filters past the two kinds write the text form.
  (void)WriteReport(file, ofn.nFilterIndex == 1 ? CensusReportKind::kHtml : CensusReportKind::kText);
}

bool CCensusDlg::WriteReport(const std::wstring& path, CensusReportKind kind) {
  if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
      seams::ShowMessageBox(m_hWnd, LoadResString(IDS_ASK_REPLACE_PAGE), LoadResString(IDS_CAPTION_APP),
                            MB_ICONWARNING | MB_YESNO) != IDYES)
    return false;
  const HRESULT result = WriteCensusReport(path, kind, list_.RowCount(),
                                           [this](int row, int column) { return list_.GetCellText(row, column); });
  if (FAILED(result)) {
    seams::ShowMessageBox(m_hWnd, LoadResString(IDS_CENSUS_REPORT_FAILED), LoadResString(IDS_CAPTION_APP),
                          MB_ICONEXCLAMATION | MB_OK);
    return false;
  }
  return true;
}
