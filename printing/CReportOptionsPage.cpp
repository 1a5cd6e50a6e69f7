#include "printing/CReportOptionsPage.h"

#include <commctrl.h>

#include <algorithm>

#include "app/AppState.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "lists/COrvelListView.h"
#include "printing/CPrintFontList.h"
#include "viewing/CFontSheetView.h"

namespace {
constexpr int kZoomStep = 50;
constexpr int kMinZoom = 25;
constexpr int kPreviewInsetX = 5;
constexpr int kPreviewInsetY = 3;
constexpr int kPreviewCaption = 15;
constexpr int kOptionBoxes[] = {IDC_REPORT_SHOW_FILE, IDC_REPORT_SHOW_VERSION, IDC_REPORT_SHOW_ID,
                                IDC_REPORT_SHOW_SCRIPTS, IDC_REPORT_SINGLE_LINE};

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void Check(HWND dialog, int id, bool on) { ::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }
}  // namespace

std::wstring MakeDefaultReportTitle(const COrvelListView* list) {
  const int id = list && list->m_hWnd ? ::GetDlgCtrlID(list->m_hWnd) : 0;
  switch (id) {
    case IDC_FOLDER_FONTS_LIST: {
      std::wstring folder = g_AppState.FolderFonts.m_folder;
      while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
      const size_t slash = folder.find_last_of(L'\\');
      return LoadResString(IDS_REPORT_FOLDER) + (slash == std::wstring::npos ? folder : folder.substr(slash + 1));
    }
    case IDC_INSTALLED_FONTS_LIST:
      return LoadResString(IDS_REPORT_INSTALLED);
    case IDC_GROUP_FONTS_LIST:
      return LoadResString(IDS_REPORT_GROUP) + g_AppState.GroupsTree.GetItemName();
    default:
      return LoadResString(IDS_REPORT_FONTS);
  }
}

CReportOptionsPage::CReportOptionsPage(const COrvelListView* source)
    : source_(source), options_(ReadReportOptions()) {}

CReportOptionsPage::~CReportOptionsPage() = default;

CPreviewFrame* CReportOptionsPage::Preview() const {
  if (listPreview_) return listPreview_.get();
  return sheetPreview_.get();
}

LRESULT CReportOptionsPage::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  upDown_ = ::CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                              WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 0, 0,
                              m_hWnd, reinterpret_cast<HMENU>(IDC_REPORT_COLUMNS_UPDOWN), nullptr, nullptr);
  ::SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(IDC_REPORT_COLUMNS)), 0);
  ::SendMessageW(upDown_, UDM_SETRANGE32, ReportOptions::kMinColumns, ReportOptions::kMaxColumns);
  ::SendMessageW(upDown_, UDM_SETPOS32, 0, options_.columns);
  ::SetDlgItemInt(m_hWnd, IDC_REPORT_COLUMNS, static_cast<UINT>(options_.columns), FALSE);
  Check(m_hWnd, IDC_REPORT_SET_MODE, options_.setMode);
  Check(m_hWnd, IDC_REPORT_LIST_MODE, !options_.setMode);
  UpdateEnabledStates();
  Check(m_hWnd, IDC_REPORT_SHOW_FILE, options_.showFile);
  Check(m_hWnd, IDC_REPORT_SHOW_VERSION, options_.showVersion);
  Check(m_hWnd, IDC_REPORT_SHOW_ID, options_.showId);
  Check(m_hWnd, IDC_REPORT_SHOW_SCRIPTS, options_.showScripts);
  Check(m_hWnd, IDC_REPORT_SINGLE_LINE, options_.singleLineSample);
  title_ = MakeDefaultReportTitle(source_);
  ::SetDlgItemTextW(m_hWnd, IDC_REPORT_TITLE, title_.c_str());
  slider_ = GetDlgItem(IDC_REPORT_ZOOM);
  ::SendMessageW(slider_, TBM_SETRANGE, TRUE, MAKELPARAM(0, kZoomPositions));
  ::SendMessageW(slider_, TBM_SETTICFREQ, 1, 0);
  ::SendMessageW(slider_, TBM_SETPAGESIZE, 0, 1);
  ::SendMessageW(slider_, TBM_SETPOS, TRUE, kStartZoomPosition);
  zoom_ = kStartZoomPosition * kZoomStep;
  ShowPreview();
  initialized_ = true;
  return TRUE;
}

void CReportOptionsPage::UpdateEnabledStates() const {
  const bool list = !Checked(m_hWnd, IDC_REPORT_SET_MODE);
  for (int id : {IDC_REPORT_COLUMNS, IDC_REPORT_SHOW_FILE, IDC_REPORT_SHOW_VERSION, IDC_REPORT_SHOW_ID,
                 IDC_REPORT_SHOW_SCRIPTS, IDC_REPORT_SINGLE_LINE, IDC_REPORT_TITLE})
    ::EnableWindow(GetDlgItem(id), list);
  ::EnableWindow(upDown_, list);
}

void CReportOptionsPage::ReadControls() {
  options_.setMode = Checked(m_hWnd, IDC_REPORT_SET_MODE);
  options_.showFile = Checked(m_hWnd, IDC_REPORT_SHOW_FILE);
  options_.showVersion = Checked(m_hWnd, IDC_REPORT_SHOW_VERSION);
  options_.showId = Checked(m_hWnd, IDC_REPORT_SHOW_ID);
  options_.showScripts = Checked(m_hWnd, IDC_REPORT_SHOW_SCRIPTS);
  options_.singleLineSample = Checked(m_hWnd, IDC_REPORT_SINGLE_LINE);
  // A typed 0 or a number past the up-down's range still lays out: the range's nearest end.
  const int columns = static_cast<int>(::GetDlgItemInt(m_hWnd, IDC_REPORT_COLUMNS, nullptr, FALSE));
  options_.columns = std::clamp(columns, ReportOptions::kMinColumns, ReportOptions::kMaxColumns);
  GetDlgItemString(m_hWnd, IDC_REPORT_TITLE, title_);
}

RECT CReportOptionsPage::PreviewArea() const {
  RECT frame{};
  ::GetWindowRect(GetDlgItem(IDC_REPORT_PREVIEW), &frame);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
  RECT slider{};
  ::GetWindowRect(slider_, &slider);
  ::InflateRect(&frame, -kPreviewInsetX, -kPreviewInsetY);
  frame.top += kPreviewCaption;
  frame.bottom -= slider.bottom - slider.top;
  return frame;
}

void CReportOptionsPage::ShowPreview() {
  const RECT area = PreviewArea();
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS;
  if (listPreview_ && listPreview_->m_hWnd) listPreview_->DestroyWindow();
  if (sheetPreview_ && sheetPreview_->m_hWnd) sheetPreview_->DestroyWindow();
  listPreview_.reset();
  sheetPreview_.reset();
  if (Checked(m_hWnd, IDC_REPORT_SET_MODE)) {
    COrvelListView& installed = g_AppState.InstalledFonts;
    const int row = installed.m_hWnd ? installed.FindNextByName(L"Arial", -1, true) : -1;
    const FontItem* arial = installed.GetRecordAt(row);
    if (!arial) return;
    sheetPreview_ = std::make_unique<CFontSheetView>(zoom_);
    sheetPreview_->SetFont(*arial);
    sheetPreview_->SetUnboundedPage(false);
    sheetPreview_->Create(m_hWnd, &area, nullptr, style, WS_EX_CLIENTEDGE);
  } else {
    listPreview_ = std::make_unique<CPrintFontList>(zoom_);
    listPreview_->SetTitle(title_);
    listPreview_->SetOptions(options_);
    listPreview_->Create(m_hWnd, &area, nullptr, style, WS_EX_CLIENTEDGE);
  }
}

void CReportOptionsPage::ApplyToListPreview() {
  if (!initialized_) return;
  ReadControls();
  if (listPreview_ && listPreview_->m_hWnd) {
    listPreview_->SetOptions(options_);
    listPreview_->SetTitle(title_);
    listPreview_->Invalidate();
    listPreview_->UpdateWindow();
  }
  SetModified();
}

LRESULT CReportOptionsPage::OnModeClicked(WORD, WORD, HWND, BOOL&) {
  options_.setMode = Checked(m_hWnd, IDC_REPORT_SET_MODE);
  UpdateEnabledStates();
  ShowPreview();
  SetModified();
  return 0;
}

LRESULT CReportOptionsPage::OnOptionChanged(WORD, WORD, HWND, BOOL&) {
  ApplyToListPreview();
  return 0;
}

LRESULT CReportOptionsPage::OnBoxClicked(WORD, WORD id, HWND, BOOL& handled) {
  if (std::find(std::begin(kOptionBoxes), std::end(kOptionBoxes), id) == std::end(kOptionBoxes)) {
    handled = FALSE;
    return 0;
  }
  ApplyToListPreview();
  return 0;
}

LRESULT CReportOptionsPage::OnZoomSlider(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  if (reinterpret_cast<HWND>(lParam) != slider_) {
    handled = FALSE;
    return 0;
  }
  const int position = static_cast<int>(::SendMessageW(slider_, TBM_GETPOS, 0, 0));
  const int zoom = std::max(position * kZoomStep, kMinZoom);
  if (zoom == zoom_) return 0;
  zoom_ = zoom;
  std::wstring caption;
  GetDlgItemString(m_hWnd, IDC_REPORT_PREVIEW, caption);
  const size_t cut = caption.find(L" (");
  if (cut != std::wstring::npos) caption.resize(cut);
  caption += FormatWide(L" (%d%%)", zoom_);
  ::SetDlgItemTextW(m_hWnd, IDC_REPORT_PREVIEW, caption.c_str());
  if (CPreviewFrame* preview = Preview(); preview && preview->m_hWnd) {
    preview->UpdatePageMetrics(zoom_);
    preview->Invalidate();
  }
  return 0;
}

LRESULT CReportOptionsPage::OnHelpButton(WORD, WORD, HWND, BOOL&) {
  ShowHelpTopic(IDD_REPORT_OPTIONS);
  return 0;
}

int CReportOptionsPage::OnApply() {
  ReadControls();
  WriteReportOptions(options_);
  return PSNRET_NOERROR;
}
