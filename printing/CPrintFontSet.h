// CPrintFontSet: one print job over a set of fonts, for one command. It runs the page setup
// dialog and keeps the shared page setup (AppState::PageSetup) filled from the default printer,
// turns the page setup into a printable rectangle on the chosen printer, drives the pages
// through the framework's page loop with a footer on every page and a modeless abort dialog,
// and prints in one of two modes: one font sheet per page (CFontSheetView) or many fonts per
// page in columns (CPrintFontList). Fonts that cannot be printed are left out (PrintFilter.h),
// and the user is told which.
//
// Built on the stack or the heap by the main frame (page setup), the font lists (command 142)
// and the font sheet frame (its own 142); main thread only. Private fonts stay loaded while a
// job runs: the job keeps the cache from unloading and loads each page's font itself.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "framework/Handles.h"
#include "framework/PrintJob.h"
#include "lists/FontItemList.h"

class COrvelListView;
class CFontSheetView;
class CPrintFontList;
class CPrintAbortDlg;

// What the printable rectangle is made of: a printer DC's device capabilities.
struct PrinterMetrics {
  int horzRes = 0;
  int vertRes = 0;
  int offsetX = 0;  // PHYSICALOFFSETX: the unprintable left edge
  int offsetY = 0;
  int physWidth = 0;
  int physHeight = 0;
  int dpiX = 0;
  int dpiY = 0;

  static PrinterMetrics FromDC(HDC dc);
};

// The DC, DEVMODE and DEVNAMES a print dialog hands back, freed together.
struct PrintDialogResult {
  PrintDialogResult() = default;
  PrintDialogResult(const PrintDialogResult&) = delete;
  PrintDialogResult& operator=(const PrintDialogResult&) = delete;
  ~PrintDialogResult();

  bool print = false;          // the user chose to print
  bool currentPageOnly = false;
  HDC dc = nullptr;
  orv::ScopedGlobal devMode;
  orv::ScopedGlobal devNames;
  std::wstring printerName;    // from DEVNAMES
};

// The device name a print dialog's DEVNAMES holds.
std::wstring PrinterNameFromDevNames(HGLOBAL devNames);

// Whether a run of the extended print dialog failed. A run that succeeds does not clear the
// system's extended error (Wine keeps the one of an earlier failed run), so a cancel counts as a
// failure only when the error is not the one read before the run (`errorBefore`).
bool PrintDialogFailed(HRESULT hr, const PRINTDLGEXW& dialog, DWORD errorBefore);

class CPrintFontSet : private orv::IPrintJobInfo {
public:
  // A mark of the entry AddFont adds as the current one (the font sheet frame's current tab).
  static constexpr int32_t kCurrentMark = 1;

  // Fills the shared page setup from the default printer when it is still empty; otherwise
  // takes the default printer's DEVMODE with the chosen orientation and paper.
  CPrintFontSet();
  ~CPrintFontSet();
  CPrintFontSet(const CPrintFontSet&) = delete;
  CPrintFontSet& operator=(const CPrintFontSet&) = delete;

  // The page setup dialog; true after OK (margins, paper and orientation then changed).
  bool RunPageSetup();
  // The print dialog with the report options, then the selected rows of `list` as a font list
  // or as font sheets. Nothing is printed when no row is selected.
  void PrintFontList(COrvelListView& list);
  // The print dialog, then one font sheet per font added with AddFont.
  void PrintFontSheets(HWND owner);
  void AddFont(const FontItem& font, bool current);
  size_t FontCount() const { return fonts_.Count(); }

  // Geometry, in device pixels of the printer.
  static RECT ComputePrintableRect(const PageSetupData& setup, const PrinterMetrics& printer);
  // The paper the page dialog reported, or the default paper when it gave none: A4 in
  // hundredths of a millimetre, Letter in thousandths of an inch, turned by the orientation.
  static void UpdatePaperSize(PageSetupData& setup, POINT paper);

  // Takes printer, DEVMODE and printable rectangle from a print dialog's result.
  bool SetupFromPrintDialog(const PrintDialogResult& result);
  const RECT& PrintableRect() const { return printableRect_; }
  const std::wstring& PrinterName() const { return printerName_; }

  // How the last job ended.
  orv::CPrintJob::Result LastResult() const { return lastResult_; }

protected:
  // Runs pages 0 to lastPage and cleans up; shows dialog 1045 after a finished job and one
  // message after a failed one.
  void RunJob(int lastPage);
  // The plain extended print dialog (set mode), owned by `owner`.
  virtual bool RunPrintDialog(HWND owner, PrintDialogResult& result);

  // IPrintJobInfo.
  void BeginPrintJob(HDC dc) override;
  void EndPrintJob(HDC dc, bool aborted) override;
  void PrePrintPage(UINT page, HDC dc) override;
  bool PrintPage(UINT page, HDC dc) override;
  void PostPrintPage(UINT page, HDC dc) override;
  const DEVMODEW* GetNewDevModeForPage(UINT, UINT) override { return nullptr; }
  bool IsValidPage(UINT) override { return true; }

  HWND AbortDialogWindow() const;

private:
  void InitPageSetupFromDefaultPrinter();
  void LoadDefaultPrinterDevMode();
  void TakeDevMode(const DEVMODEW* devMode);
  orv::ScopedGlobal CopyDevModeToGlobal() const;
  void DrawPageFooter(HDC dc, int page) const;
  void KeepPrintableFonts(FontItemList& list) const;

  FontItemList fonts_;
  std::wstring title_;
  std::vector<BYTE> jobDevMode_;  // DEVMODEW with its driver data
  orv::ScopedPrinter printer_;
  std::unique_ptr<CPrintAbortDlg> abortDialog_;
  RECT printableRect_{};
  std::wstring docName_;
  std::wstring printerName_;
  bool setMode_ = true;
  bool selectedOnly_ = false;
  std::unique_ptr<CFontSheetView> sheetView_;
  std::unique_ptr<CPrintFontList> fontList_;
  int savedDcState_ = 0;
  orv::CPrintJob* job_ = nullptr;
  orv::CPrintJob::Result lastResult_ = orv::CPrintJob::Result::NoDocument;
};
