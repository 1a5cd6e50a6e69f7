// The print job's run: the page loop, its pages and footers, and the abort dialog.
#include "printing/CPrintFontSet.h"

#include <iterator>

#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "printing/CPrintAbortDlg.h"
#include "printing/CPrintFontList.h"
#include "viewing/CFontSheetView.h"
#include "viewing/WrappedText.h"

namespace {
constexpr int kFooterBandPoints = 8;
constexpr int kFooterTextPoints = 7;
constexpr int kFooterRuleTenths = 5;
constexpr wchar_t kFooterText[] = L"Orvel Font Manager";
}  // namespace

void CPrintFontSet::RunJob(int lastPage) {
  docName_ = LoadResString(IDS_CAPTION_APP);
  PrivateFontCache& cache = g_AppState.FontCache;
  const bool unloadingAllowed = cache.IsReady();
  if (unloadingAllowed) cache.RemoveAll(true);
  cache.SetReady(false);

  orv::CPrintJob job;
  job.printerName = printerName_.c_str();
  job.info = this;
  job.devMode = jobDevMode_.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(jobDevMode_.data());
  job.docInfo.lpszDocName = docName_.c_str();
  job.firstPage = 0;
  job.lastPage = static_cast<UINT>(std::max(lastPage, 0));
  job_ = &job;
  lastResult_ = job.RunForeground();
  const DWORD error = ::GetLastError();
  job_ = nullptr;

  switch (lastResult_) {
    case orv::CPrintJob::Result::Printed: {
      CPrintDoneDlg done;
      done.DoModal(g_AppState.MainWindow);
      break;
    }
    case orv::CPrintJob::Result::Cancelled:
      break;
    case orv::CPrintJob::Result::NoDocument:
    case orv::CPrintJob::Result::Failed:
      AppMessageBox(g_AppState.MainWindow, MB_ICONHAND, IDS_CAPTION_APP, IDS_PRINT_FAILED, error);
      break;
  }
  printer_.Reset();
  fonts_.RemoveAll();
  sheetView_.reset();
  fontList_.reset();
  cache.SetReady(unloadingAllowed);
}

HWND CPrintFontSet::AbortDialogWindow() const { return abortDialog_ ? abortDialog_->m_hWnd : nullptr; }

void CPrintFontSet::BeginPrintJob(HDC) {
  abortDialog_ = std::make_unique<CPrintAbortDlg>(job_ ? &job_->cancel : nullptr);
  if (!abortDialog_->Create(g_AppState.MainWindow)) {
    abortDialog_.reset();
    return;
  }
  abortDialog_->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  abortDialog_->SetPrinter(printerName_.c_str());
}

void CPrintFontSet::EndPrintJob(HDC, bool) {
  if (!abortDialog_) return;
  if (abortDialog_->m_hWnd) ::SendMessageW(abortDialog_->m_hWnd, WM_CLOSE, 0, 0);
  abortDialog_.reset();
}

void CPrintFontSet::PrePrintPage(UINT, HDC dc) { savedDcState_ = ::SaveDC(dc); }

// Between pages the thread's messages are served, so that the abort dialog's Cancel is seen.
void CPrintFontSet::PostPrintPage(UINT, HDC dc) {
  ::RestoreDC(dc, savedDcState_);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The program is ending: stop the job and leave the quit for the message loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      if (job_) job_->cancel = true;
      break;
    }
    if (abortDialog_ && abortDialog_->m_hWnd && abortDialog_->IsDialogMessage(&msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool CPrintFontSet::PrintPage(UINT page, HDC dc) {
  if (abortDialog_ && abortDialog_->m_hWnd) abortDialog_->SetPage(static_cast<int>(page) + 1);
  RECT area = printableRect_;
  area.bottom -= ::MulDiv(kFooterBandPoints, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  if (setMode_) {
    if (page >= fonts_.Count() || !sheetView_) return false;
    auto entry = std::next(fonts_.Entries().begin(), page);
    FontItem& font = entry->record;
    if (!font.HasFlag(font_flags::kResolved)) EnsureFontItemLoaded(fonts_, font);
    sheetView_->SetPageRect(area);
    sheetView_->SetUnboundedPage(false);
    sheetView_->SetPrinterPage(true);
    sheetView_->SetFont(font);
    sheetView_->DrawFontEntry(dc);
    DrawPageFooter(dc, -1);
    return true;
  }
  if (!fontList_) return false;
  fontList_->SetPageRect(area);
  fontList_->SetPrinterPage(true);
  const bool more = fontList_->LayoutFontListPage(dc);
  DrawPageFooter(dc, static_cast<int>(page));
  if (!more && job_) job_->lastPage = page;
  return true;
}

void CPrintFontSet::DrawPageFooter(HDC dc, int page) const {
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::SetBkMode(dc, TRANSPARENT);
  LOGFONTW footer{};
  wcscpy_s(footer.lfFaceName, L"Arial");
  footer.lfHeight = -::MulDiv(kFooterTextPoints, ::GetDeviceCaps(dc, LOGPIXELSX), 72);
  orv::ScopedFont font(::CreateFontIndirectW(&footer));
  orv::ScopedSelectObject selectFont(dc, font.Get());
  const int w = std::max(1, ::MulDiv(kFooterRuleTenths, ::GetDeviceCaps(dc, LOGPIXELSY), 720));
  {
    orv::ScopedPen pen(::CreatePen(PS_SOLID, w, RGB(0, 0, 0)));
    orv::ScopedSelectObject selectPen(dc, pen.Get());
    ::MoveToEx(dc, printableRect_.left, printableRect_.bottom - w, nullptr);
    ::LineTo(dc, printableRect_.right, printableRect_.bottom - w);
  }
  SIZE a{};
  ::GetTextExtentPoint32W(dc, L"A", 1, &a);
  RECT box{printableRect_.left, printableRect_.bottom + w, printableRect_.right, printableRect_.bottom + w + a.cy};
  DrawTextLines(dc, {kFooterText}, box, DT_LEFT, &orv::PrinterTextOut);
  if (page != -1) DrawTextLines(dc, {FormatResString(IDS_PAGE_NUMBER, page + 1)}, box, DT_RIGHT, &orv::PrinterTextOut);
}
