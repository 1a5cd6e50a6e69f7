#include "printing/CSaveImagesDlg.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "app/AppState.h"
#include "app/COrvBrowseFolderDialog.h"
#include "common/AppMessageBox.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "framework/Beep.h"
#include "lists/COrvelListView.h"

namespace {
constexpr int kHtmlControls[] = {IDC_IMAGES_HTML_NAME, IDC_IMAGES_HTML_LABEL, IDC_IMAGES_INFO_COLUMN, IDC_IMAGES_SUBFOLDER};
constexpr int kDefaultFormatIndex = 1;  // JPEG
constexpr wchar_t kDefaultPage[] = L"index.htm";
constexpr wchar_t kPageExtension[] = L".htm";

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
}  // namespace

CSaveImagesDlg::CSaveImagesDlg(CSampleWindow& pane, COrvelListView& source, const std::wstring& folder)
    : pane_(pane), source_(source) {
  options_.folder = folder;
}

LRESULT CSaveImagesDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  statusBar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_TOOLTIPS, 0, 0, 0, 0,
                                 m_hWnd, nullptr, nullptr, nullptr);
  RECT bar{}, window{};
  ::GetWindowRect(statusBar_, &bar);
  ::GetWindowRect(m_hWnd, &window);
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + (bar.bottom - bar.top),
                 SWP_NOMOVE | SWP_NOZORDER);
  ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
  CenterWindow(g_AppState.MainWindow);
  HWND combo = GetDlgItem(IDC_IMAGES_FORMAT);
  const std::wstring formats = LoadResString(IDS_IMAGE_FORMATS);
  for (size_t start = 0; start < formats.size();) {
    const size_t bar = formats.find(L'|', start);
    const std::wstring entry = formats.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
    if (!entry.empty()) ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  ::SendMessageW(combo, CB_SETCURSEL, kDefaultFormatIndex, 0);
  int selected = 0;
  source_.GetCounts(nullptr, &selected);
  ::SetDlgItemInt(m_hWnd, IDC_IMAGES_COUNT, static_cast<UINT>(selected), FALSE);
  HWND folder = GetDlgItem(IDC_IMAGES_FOLDER);
  ::SetWindowTextW(folder, options_.folder.c_str());
  EnableHtmlControls(false);
  ::CheckDlgButton(m_hWnd, IDC_IMAGES_INFO_COLUMN, BST_CHECKED);
  ::SetDlgItemTextW(m_hWnd, IDC_IMAGES_HTML_NAME, kDefaultPage);
  GotoDlgCtrl(folder);
  ::SendMessageW(folder, EM_SETSEL, options_.folder.size(), options_.folder.size());
  return FALSE;
}

void CSaveImagesDlg::EnableHtmlControls(bool enable) const {
  for (int id : kHtmlControls) ::EnableWindow(GetDlgItem(id), enable);
}

void CSaveImagesDlg::ReadControls() {
  GetDlgItemString(m_hWnd, IDC_IMAGES_FOLDER, options_.folder);
  TrimWhiteSpace(options_.folder);
  options_.overwrite = Checked(m_hWnd, IDC_IMAGES_OVERWRITE);
  options_.writeHtml = Checked(m_hWnd, IDC_IMAGES_WRITE_HTML);
  options_.imagesSubfolder = Checked(m_hWnd, IDC_IMAGES_SUBFOLDER);
  options_.infoColumn = Checked(m_hWnd, IDC_IMAGES_INFO_COLUMN);
  GetDlgItemString(m_hWnd, IDC_IMAGES_HTML_NAME, options_.htmlName);
  TrimWhiteSpace(options_.htmlName);
  options_.format = static_cast<int>(::SendMessageW(GetDlgItem(IDC_IMAGES_FORMAT), CB_GETCURSEL, 0, 0)) + 1;
}

LRESULT CSaveImagesDlg::OnWriteHtml(WORD, WORD, HWND, BOOL&) {
  EnableHtmlControls(Checked(m_hWnd, IDC_IMAGES_WRITE_HTML));
  return 0;
}

LRESULT CSaveImagesDlg::OnBrowse(WORD, WORD, HWND, BOOL&) {
  std::wstring start;
  GetDlgItemString(m_hWnd, IDC_IMAGES_FOLDER, start);
  COrvBrowseFolderDialog picker(start);
  if (picker.DoModal(m_hWnd) == 1) ::SetDlgItemTextW(m_hWnd, IDC_IMAGES_FOLDER, picker.ChosenFolder().c_str());
  return 0;
}

LRESULT CSaveImagesDlg::OnOK(WORD, WORD, HWND, BOOL&) {
  ReadControls();
  if (options_.writeHtml) {
    if (options_.htmlName.empty() || !::PathIsFileSpecW(options_.htmlName.c_str())) {
      seams::Beep(0);
      return 0;
    }
    if (*::PathFindExtensionW(options_.htmlName.c_str()) == L'\0') {
      options_.htmlName += kPageExtension;
      ::SetDlgItemTextW(m_hWnd, IDC_IMAGES_HTML_NAME, options_.htmlName.c_str());
    }
  }
  if (!::PathIsDirectoryW(options_.folder.c_str())) {
    const std::wstring question = FormatResString(IDS_ASK_CREATE_FOLDER, options_.folder.c_str());
    if (seams::ShowMessageBox(m_hWnd, question, LoadResString(IDS_CAPTION_APP), MB_ICONEXCLAMATION | MB_YESNO) != IDYES)
      return 0;
    if (!::CreateDirectoryW(options_.folder.c_str(), nullptr)) {
      AppMessageBox(m_hWnd, MB_ICONEXCLAMATION, IDS_FOLDER_ERROR_CAPTION, 0, ::GetLastError(), options_.folder.c_str());
      return 0;
    }
  }
  ExportFontImages(pane_, source_, options_, statusBar_);
  EndDialog(IDOK);
  return 0;
}

LRESULT CSaveImagesDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
  EndDialog(IDCANCEL);
  return 0;
}

LRESULT CSaveImagesDlg::OnHelp(UINT, WPARAM, LPARAM, BOOL&) {
  ShowHelpTopic(IDD_SAVE_IMAGES);
  return TRUE;
}

LRESULT CSaveImagesDlg::OnHelpButton(WORD, WORD, HWND, BOOL&) {
  ShowHelpTopic(IDD_SAVE_IMAGES);
  return 0;
}
