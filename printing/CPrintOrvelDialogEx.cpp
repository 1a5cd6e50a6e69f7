#include "printing/CPrintOrvelDialogEx.h"

#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "framework/AppModule.h"
#include "lists/COrvelListView.h"
#include "printing/CPrintFontSet.h"

namespace {
constexpr int kReportOptionsPageIndex = 1;

}  // namespace

CPrintOrvelDialogEx::CPrintOrvelDialogEx(COrvelListView& list) : list_(list), page_(&list) {
  list.GetCounts(nullptr, &selectedCount_);
}

std::wstring CPrintOrvelDialogEx::Title() const {
  return page_.Title().empty() ? MakeDefaultReportTitle(&list_) : page_.Title();
}

bool CPrintOrvelDialogEx::Run(HWND owner, HGLOBAL devMode, bool withOptions, PRINTDLGEXW& dialog) {
  dialog = PRINTDLGEXW{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.hDevMode = devMode;
  dialog.nStartPage = START_PAGE_GENERAL;
  dialog.ExclusionFlags = PD_EXCL_COPIESANDCOLLATE;
  dialog.Flags = kFlags;
  HPROPSHEETPAGE page = nullptr;
  if (withOptions) {
    const HINSTANCE resources = orv::g_Module.GetResourceInstance();
    HRSRC found = ::FindResourceW(resources, MAKEINTRESOURCEW(IDD_PRINT_GENERAL), RT_DIALOG);
    HGLOBAL general = found ? ::LoadResource(resources, found) : nullptr;
    page = general ? page_.CreatePage() : nullptr;
    if (!page) return false;
    dialog.hInstance = reinterpret_cast<HINSTANCE>(general);
    dialog.lpCallback = static_cast<IPrintDialogCallback*>(this);
    dialog.nPropertyPages = 1;
    dialog.lphPropertyPages = &page;
  } else {
    dialog.Flags &= ~(PD_ENABLEPRINTTEMPLATEHANDLE | PD_USELARGETEMPLATE);
  }
  const HRESULT hr = ::PrintDlgExW(&dialog);
  return SUCCEEDED(hr) && !(dialog.dwResultAction == PD_RESULT_CANCEL && ::CommDlgExtendedError() != 0);
}

bool CPrintOrvelDialogEx::DoModal(HWND owner, orv::ScopedGlobal devMode, PrintDialogResult& result) {
  if (!owner) owner = ::GetActiveWindow();
  PRINTDLGEXW dialog{};
  bool ran = Run(owner, devMode.Get(), true, dialog);
  if (!ran) {
    // The system dialog without our parts: the stored report options apply.
    if (dialog.hDC) ::DeleteDC(dialog.hDC);
    if (dialog.hDevNames) ::GlobalFree(dialog.hDevNames);
    if (dialog.hDevMode && dialog.hDevMode != devMode.Get()) ::GlobalFree(dialog.hDevMode);
    ran = Run(owner, devMode.Get(), false, dialog);
  }
  if (dialog.hDevMode == devMode.Get()) (void)devMode.Release();
  result.devMode.Reset(dialog.hDevMode);
  result.devNames.Reset(dialog.hDevNames);
  result.dc = dialog.hDC;
  if (!ran) {
    AppMessageBox(owner, MB_ICONHAND, IDS_CAPTION_APP, IDS_PRINT_FAILED, ::CommDlgExtendedError());
    return false;
  }
  result.print = dialog.dwResultAction == PD_RESULT_PRINT;
  result.printerName = PrinterNameFromDevNames(result.devNames.Get());
  return result.print;
}

HRESULT CPrintOrvelDialogEx::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IPrintDialogCallback) {
    *object = static_cast<IPrintDialogCallback*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

void CPrintOrvelDialogEx::InitGeneralPart(HWND dialog) {
  HWND count = ::GetDlgItem(dialog, IDC_PRINT_SELECTION_COUNT);
  LOGFONTW font{};
  if (::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font)) {
    font.lfWeight = FW_BOLD;
    boldFont_.Reset(::CreateFontIndirectW(&font));
    ::SendMessageW(count, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), FALSE);
  }
  std::wstring format;
  GetDlgItemString(dialog, IDC_PRINT_SELECTION_COUNT, format);
  const std::wstring text = FormatWide(format.c_str(), selectedCount_, selectedCount_ == 1 ? L"" : L"s");
  ::SetWindowTextW(count, text.c_str());
}

HRESULT CPrintOrvelDialogEx::HandleMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (msg) {
    case WM_INITDIALOG:
      InitGeneralPart(dialog);
      return S_FALSE;
    case WM_CTLCOLORSTATIC:
      if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_PRINT_SELECTION_COUNT) return S_FALSE;
      ::SetTextColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
      ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      *result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_HIGHLIGHT));
      return S_OK;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_PRINT_REPORT_OPTIONS) return S_FALSE;
      // Our part lies on the general page, which lies on the sheet.
      ::SendMessageW(::GetParent(::GetParent(dialog)), PSM_SETCURSEL, kReportOptionsPageIndex, 0);
      *result = 0;
      return S_OK;
    default:
      return S_FALSE;
  }
}
