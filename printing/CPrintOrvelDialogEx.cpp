#include "printing/CPrintOrvelDialogEx.h"

#include <algorithm>
#include <climits>

#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "framework/AppModule.h"
#include "framework/Window.h"
#include "lists/COrvelListView.h"
#include "printing/CPrintFontSet.h"

namespace {
constexpr int kReportOptionsPageIndex = 1;
// Room between the page range box and the copies part beside it.
constexpr int kCopiesSpare = 7;
constexpr int kCopiesPart[] = {IDC_PRINT_COPIES_GROUP, IDC_PRINT_COPIES, IDC_PRINT_COPIES_SPIN,
                               IDC_PRINT_COPIES_LABEL, IDC_PRINT_COLLATE, IDC_PRINT_COLLATE_ICON};

// A page range label longer than the template allows for (another language, a larger font)
// pushes the copies part to the right, and the page grows by as much.
void FitCopiesBesideRange(HWND dialog) {
  HWND range = ::GetDlgItem(dialog, IDC_PRINT_RANGE_GROUP);
  if (!range) return;
  int left = INT_MAX;
  for (int id : kCopiesPart)
    if (HWND control = ::GetDlgItem(dialog, id)) left = std::min(left, static_cast<int>(orv::RectInParent(control).left));
  if (left == INT_MAX) return;
  const int shift = orv::RectInParent(range).right + kCopiesSpare - left;
  if (shift <= 0) return;
  for (int id : kCopiesPart) {
    HWND control = ::GetDlgItem(dialog, id);
    if (!control) continue;
    const RECT rc = orv::RectInParent(control);
    ::SetWindowPos(control, nullptr, rc.left + shift, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT page{};
  ::GetWindowRect(dialog, &page);
  ::SetWindowPos(dialog, nullptr, 0, 0, page.right - page.left + shift, page.bottom - page.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

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
  // The run with our part is the first: any error it leaves makes the plain run follow. The plain
  // run may find that error still set after a cancel.
  const DWORD errorBefore = withOptions ? 0 : ::CommDlgExtendedError();
  const HRESULT hr = ::PrintDlgExW(&dialog);
  return !PrintDialogFailed(hr, dialog, errorBefore);
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
  FitCopiesBesideRange(dialog);
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
