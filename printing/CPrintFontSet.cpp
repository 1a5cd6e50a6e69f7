// The print job's set-up: page setup, the default printer, the print dialog and the printable
// rectangle.
#include "printing/CPrintFontSet.h"

#include <algorithm>

#include "common/AppMessageBox.h"
#include "common/ResourceIds.h"
#include "framework/Beep.h"
#include "lists/COrvelListView.h"
#include "printing/CPrintAbortDlg.h"
#include "printing/CPrintFontList.h"
#include "printing/CPrintOrvelDialogEx.h"
#include "printing/PrintFilter.h"
#include "viewing/CFontSheetView.h"

namespace {

constexpr int kUnitsInch = 4;
constexpr int kUnitsMillimetre = 8;
constexpr LONG kMarginInch = 500;          // half an inch
constexpr LONG kMarginMillimetre = 1250;   // 12.5 mm
constexpr LONG kLetterWidth = 8500, kLetterHeight = 11000;
constexpr LONG kA4Width = 21000, kA4Height = 29700;
constexpr int kPerInchMillimetre = 2540;
constexpr int kPerInchInch = 1000;
constexpr int kFooterMillimetre = 400;     // 4 mm
constexpr int kFooterInch = 160;           // 0.16 inch
constexpr DWORD kSheetsDialogFlags =
    PD_HIDEPRINTTOFILE | PD_USEDEVMODECOPIESANDCOLLATE | PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;


}  // namespace

std::wstring PrinterNameFromDevNames(HGLOBAL devNames) {
  std::wstring name;
  if (const auto* names = devNames ? static_cast<const DEVNAMES*>(::GlobalLock(devNames)) : nullptr) {
    name = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
    ::GlobalUnlock(devNames);
  }
  return name;
}

PrinterMetrics PrinterMetrics::FromDC(HDC dc) {
  PrinterMetrics m;
  m.horzRes = ::GetDeviceCaps(dc, HORZRES);
  m.vertRes = ::GetDeviceCaps(dc, VERTRES);
  m.offsetX = ::GetDeviceCaps(dc, PHYSICALOFFSETX);
  m.offsetY = ::GetDeviceCaps(dc, PHYSICALOFFSETY);
  m.physWidth = ::GetDeviceCaps(dc, PHYSICALWIDTH);
  m.physHeight = ::GetDeviceCaps(dc, PHYSICALHEIGHT);
  m.dpiX = ::GetDeviceCaps(dc, LOGPIXELSX);
  m.dpiY = ::GetDeviceCaps(dc, LOGPIXELSY);
  return m;
}

PrintDialogResult::~PrintDialogResult() {
  if (dc) ::DeleteDC(dc);
}

CPrintFontSet::CPrintFontSet() {
  if (g_AppState.PageSetup.units != 0) LoadDefaultPrinterDevMode();
  else InitPageSetupFromDefaultPrinter();
}

CPrintFontSet::~CPrintFontSet() = default;

// Margins are measured from the paper's edge, device pixels from the printable area's corner:
// a margin inside the unprintable edge leaves no space at all on that side. The bottom keeps
// room for the footer in any case.
RECT CPrintFontSet::ComputePrintableRect(const PageSetupData& setup, const PrinterMetrics& p) {
  const int d = setup.units == kUnitsMillimetre ? kPerInchMillimetre : kPerInchInch;
  const int footer = setup.units == kUnitsMillimetre ? kFooterMillimetre : kFooterInch;
  const int offsetRight = std::max(0, p.physWidth - p.horzRes - p.offsetX);
  const int offsetBottom = std::max(0, p.physHeight - p.vertRes - p.offsetY);
  RECT r{};
  r.left = std::max(0, ::MulDiv(setup.margins.left, p.dpiX, d) - p.offsetX);
  r.top = std::max(0, ::MulDiv(setup.margins.top, p.dpiY, d) - p.offsetY);
  r.right = p.horzRes - std::max(0, ::MulDiv(setup.margins.right, p.dpiX, d) - offsetRight);
  r.bottom = p.vertRes - std::max(::MulDiv(footer, p.dpiY, d), ::MulDiv(setup.margins.bottom, p.dpiY, d) - offsetBottom);
  return r;
}

void CPrintFontSet::UpdatePaperSize(PageSetupData& setup, POINT paper) {
  if (paper.x > 0 && paper.y > 0) {
    setup.paperSize = SIZE{paper.x, paper.y};
    return;
  }
  const bool inch = setup.units == kUnitsInch;
  const LONG shorter = inch ? kLetterWidth : kA4Width, longer = inch ? kLetterHeight : kA4Height;
  setup.paperSize = setup.portrait ? SIZE{shorter, longer} : SIZE{longer, shorter};
}

void CPrintFontSet::TakeDevMode(const DEVMODEW* devMode) {
  if (!devMode) return;
  const size_t size = size_t{devMode->dmSize} + devMode->dmDriverExtra;
  const auto* bytes = reinterpret_cast<const BYTE*>(devMode);
  jobDevMode_.assign(bytes, bytes + size);
}

orv::ScopedGlobal CPrintFontSet::CopyDevModeToGlobal() const {
  orv::ScopedGlobal copy;
  if (jobDevMode_.empty()) return copy;
  copy.Reset(::GlobalAlloc(GMEM_MOVEABLE, jobDevMode_.size()));
  if (void* p = copy ? ::GlobalLock(copy.Get()) : nullptr) {
    memcpy(p, jobDevMode_.data(), jobDevMode_.size());
    ::GlobalUnlock(copy.Get());
  }
  return copy;
}

void CPrintFontSet::LoadDefaultPrinterDevMode() {
  DWORD length = 0;
  ::GetDefaultPrinterW(nullptr, &length);
  if (length == 0) return;
  std::wstring name(length, L'\0');
  if (!::GetDefaultPrinterW(name.data(), &length)) return;
  name.resize(wcslen(name.c_str()));
  orv::ScopedPrinter printer;
  if (!::OpenPrinterW(name.data(), printer.Receive(), nullptr)) return;
  DWORD needed = 0;
  ::GetPrinterW(printer.Get(), 2, nullptr, 0, &needed);
  if (needed == 0) return;
  std::vector<BYTE> info(needed);
  if (!::GetPrinterW(printer.Get(), 2, info.data(), needed, &needed)) return;
  TakeDevMode(reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pDevMode);
  if (jobDevMode_.empty()) return;
  auto* devMode = reinterpret_cast<DEVMODEW*>(jobDevMode_.data());
  devMode->dmOrientation = g_AppState.PageSetup.portrait ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
  devMode->dmPaperSize = static_cast<short>(g_AppState.PageSetup.paperCode);
}

void CPrintFontSet::InitPageSetupFromDefaultPrinter() {
  PageSetupData& setup = g_AppState.PageSetup;
  PAGESETUPDLGW dialog{sizeof(dialog)};
  // Silently: without a printer the system would otherwise put up its own warning box before
  // the sheet opens; the beep below is all the user is told.
  dialog.Flags = PSD_RETURNDEFAULT | PSD_DISABLEPRINTER | PSD_NOWARNING;
  dialog.rtMargin = setup.margins;
  const bool ok = ::PageSetupDlgW(&dialog);
  orv::ScopedGlobal devMode(dialog.hDevMode), devNames(dialog.hDevNames);
  setup.units = (dialog.Flags & PSD_INTHOUSANDTHSOFINCHES) ? kUnitsInch : kUnitsMillimetre;
  const LONG margin = setup.units == kUnitsInch ? kMarginInch : kMarginMillimetre;
  setup.margins = RECT{margin, margin, margin, margin};
  if (ok && devMode) {
    if (const auto* dm = static_cast<const DEVMODEW*>(::GlobalLock(devMode.Get()))) {
      TakeDevMode(dm);
      setup.portrait = dm->dmOrientation == DMORIENT_PORTRAIT;
      setup.paperCode = static_cast<uint16_t>(dm->dmPaperSize);
      ::GlobalUnlock(devMode.Get());
    }
    UpdatePaperSize(setup, ok ? dialog.ptPaperSize : POINT{});
  } else {
    // No printer: the next job asks again; until then pages have the default paper.
    setup.units = 0;
    setup.portrait = true;
    seams::Beep(0);
  }
}

bool CPrintFontSet::RunPageSetup() {
  PageSetupData& setup = g_AppState.PageSetup;
  PAGESETUPDLGW dialog{sizeof(dialog)};
  dialog.Flags = PSD_MARGINS | PSD_DISABLEPRINTER;
  if (setup.units == kUnitsInch) dialog.Flags |= PSD_INTHOUSANDTHSOFINCHES;
  else if (setup.units == kUnitsMillimetre) dialog.Flags |= PSD_INHUNDREDTHSOFMILLIMETERS;
  orv::ScopedGlobal devModeIn = CopyDevModeToGlobal();
  dialog.hDevMode = devModeIn.Release();
  dialog.rtMargin = setup.margins;
  dialog.hwndOwner = ::GetActiveWindow();
  const bool ok = ::PageSetupDlgW(&dialog);
  orv::ScopedGlobal devMode(dialog.hDevMode), devNames(dialog.hDevNames);
  if (!ok) return false;
  if (setup.units == 0) setup.units = (dialog.Flags & PSD_INTHOUSANDTHSOFINCHES) ? kUnitsInch : kUnitsMillimetre;
  setup.margins = dialog.rtMargin;
  if (const auto* dm = devMode ? static_cast<const DEVMODEW*>(::GlobalLock(devMode.Get())) : nullptr) {
    TakeDevMode(dm);
    setup.portrait = dm->dmOrientation == DMORIENT_PORTRAIT;
    setup.paperCode = static_cast<uint16_t>(dm->dmPaperSize);
    ::GlobalUnlock(devMode.Get());
  }
  UpdatePaperSize(setup, dialog.ptPaperSize);
  return true;
}

bool CPrintFontSet::SetupFromPrintDialog(const PrintDialogResult& result) {
  printerName_ = result.printerName;
  printer_.Reset();
  if (printerName_.empty() || !result.dc || !::OpenPrinterW(printerName_.data(), printer_.Receive(), nullptr))
    return false;
  printableRect_ = ComputePrintableRect(g_AppState.PageSetup, PrinterMetrics::FromDC(result.dc));
  if (const auto* dm = result.devMode ? static_cast<const DEVMODEW*>(::GlobalLock(result.devMode.Get())) : nullptr) {
    TakeDevMode(dm);
    g_AppState.PageSetup.portrait = dm->dmOrientation == DMORIENT_PORTRAIT;
    g_AppState.PageSetup.paperCode = static_cast<uint16_t>(dm->dmPaperSize);
    ::GlobalUnlock(result.devMode.Get());
  }
  return true;
}

bool PrintDialogFailed(HRESULT hr, const PRINTDLGEXW& dialog, DWORD errorBefore) {
  if (FAILED(hr)) return true;
  if (dialog.dwResultAction != PD_RESULT_CANCEL) return false;
  const DWORD error = ::CommDlgExtendedError();
  return error != 0 && error != errorBefore;
}

bool CPrintFontSet::RunPrintDialog(HWND owner, PrintDialogResult& result) {
  PRINTDLGEXW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner ? owner : ::GetActiveWindow();
  if (!dialog.hwndOwner) dialog.hwndOwner = g_AppState.MainWindow;
  orv::ScopedGlobal devModeIn = CopyDevModeToGlobal();
  dialog.hDevMode = devModeIn.Release();
  dialog.Flags = kSheetsDialogFlags;
  dialog.nStartPage = START_PAGE_GENERAL;
  const DWORD errorBefore = ::CommDlgExtendedError();
  const HRESULT hr = ::PrintDlgExW(&dialog);
  result.devMode.Reset(dialog.hDevMode);
  result.devNames.Reset(dialog.hDevNames);
  result.dc = dialog.hDC;
  if (PrintDialogFailed(hr, dialog, errorBefore)) {
    AppMessageBox(dialog.hwndOwner, MB_ICONHAND, IDS_CAPTION_APP, IDS_PRINT_FAILED,
                  FAILED(hr) ? static_cast<DWORD>(hr) : ::CommDlgExtendedError());
    return false;
  }
  result.print = dialog.dwResultAction == PD_RESULT_PRINT;
  result.currentPageOnly = (dialog.Flags & PD_CURRENTPAGE) != 0;
  result.printerName = PrinterNameFromDevNames(result.devNames.Get());
  return result.print;
}

void CPrintFontSet::AddFont(const FontItem& font, bool current) { fonts_.AddUnique(font, current ? kCurrentMark : 0); }

// The fonts left out for their names are named before the job starts: the user knows which of
// the chosen fonts the printout lacks, or that nothing is printed when none is left.
void CPrintFontSet::KeepPrintableFonts(FontItemList& list) const {
  const std::vector<std::wstring> left = LeaveOutUnprintableFonts(list);
  if (left.empty()) return;
  AppMessageBox(g_AppState.MainWindow, MB_ICONWARNING, IDS_CAPTION_APP,
                list.Empty() ? IDS_NOTHING_PRINTED_NAMES : IDS_FONTS_NOT_PRINTABLE, 0, LeftOutFontsText(left).c_str());
}

void CPrintFontSet::PrintFontSheets(HWND owner) {
  if (fonts_.Empty()) return;
  PrintDialogResult result;
  if (!RunPrintDialog(owner, result)) return;
  if (!SetupFromPrintDialog(result)) {
    AppMessageBox(g_AppState.MainWindow, MB_ICONHAND, IDS_CAPTION_APP, IDS_PRINT_FAILED, ::GetLastError());
    return;
  }
  if (result.currentPageOnly && fonts_.Count() > 1) {
    auto& entries = fonts_.Entries();
    auto current = std::find_if(entries.begin(), entries.end(), [](const FontItemListEntry& e) { return e.row == kCurrentMark; });
    if (current == entries.end()) current = entries.begin();
    entries.splice(entries.begin(), entries, current);
    entries.resize(1);
  }
  KeepPrintableFonts(fonts_);
  if (fonts_.Empty()) return;
  setMode_ = true;
  sheetView_ = std::make_unique<CFontSheetView>(100);
  sheetView_->SetPageRect(printableRect_);
  sheetView_->SetUnboundedPage(false);
  RunJob(static_cast<int>(fonts_.Count()) - 1);
}

void CPrintFontSet::PrintFontList(COrvelListView& list) {
  CPrintOrvelDialogEx dialog(list);
  PrintDialogResult result;
  HWND owner = g_AppState.MainWindow ? g_AppState.MainWindow : ::GetAncestor(list.m_hWnd, GA_ROOT);
  if (!dialog.DoModal(owner, CopyDevModeToGlobal(), result)) return;
  title_ = dialog.Title();
  setMode_ = dialog.SetMode();
  selectedOnly_ = true;
  int selected = 0;
  list.GetCounts(nullptr, &selected);
  if (selected == 0) return;
  if (!SetupFromPrintDialog(result)) {
    AppMessageBox(g_AppState.MainWindow, MB_ICONHAND, IDS_CAPTION_APP, IDS_PRINT_FAILED, ::GetLastError());
    return;
  }
  FontItemList* target = &fonts_;
  if (setMode_) {
    sheetView_ = std::make_unique<CFontSheetView>(100);
    sheetView_->SetUnboundedPage(false);
  } else {
    fontList_ = std::make_unique<CPrintFontList>(100);
    fontList_->SetTitle(title_);
    target = &fontList_->Fonts();
  }
  list.CollectItems(*target, true);
  KeepPrintableFonts(*target);
  const int count = static_cast<int>(target->Count());
  if (count == 0) return;
  if (fontList_) fontList_->SetRange(0, count);
  RunJob(count - 1);
}
