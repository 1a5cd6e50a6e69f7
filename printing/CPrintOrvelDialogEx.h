// CPrintOrvelDialogEx: the print dialog of a font list: the system's extended print dialog with
// our part of its general page (the number of selected fonts and a button to the report
// options) and the report options page. Where the system dialog cannot show these (Wine's),
// the plain dialog runs instead and the stored report options apply. Built on the stack by
// CPrintFontSet::PrintFontList; main thread only.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "framework/Handles.h"
#include "printing/CReportOptionsPage.h"

class COrvelListView;
struct PrintDialogResult;

class CPrintOrvelDialogEx : public IPrintDialogCallback {
public:
  static constexpr DWORD kFlags = PD_USELARGETEMPLATE | PD_EXCLUSIONFLAGS | PD_NOCURRENTPAGE | PD_HIDEPRINTTOFILE |
                                  PD_USEDEVMODECOPIESANDCOLLATE | PD_ENABLEPRINTTEMPLATEHANDLE | PD_RETURNDC |
                                  PD_NOPAGENUMS;

  explicit CPrintOrvelDialogEx(COrvelListView& list);
  virtual ~CPrintOrvelDialogEx() = default;
  CPrintOrvelDialogEx(const CPrintOrvelDialogEx&) = delete;
  CPrintOrvelDialogEx& operator=(const CPrintOrvelDialogEx&) = delete;

  // Runs the dialog; true when the user chose to print (`result` then holds DC and printer).
  // A dialog that cannot run at all is reported once.
  bool DoModal(HWND owner, orv::ScopedGlobal devMode, PrintDialogResult& result);

  // The report title (the default one when the user gave none) and mode.
  std::wstring Title() const;
  bool SetMode() const { return page_.SetMode(); }
  int SelectedCount() const { return selectedCount_; }

  // IUnknown and IPrintDialogCallback: the messages of our part of the general page.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE InitDone() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE SelectionChange() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE HandleMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
  bool Run(HWND owner, HGLOBAL devMode, bool withOptions, PRINTDLGEXW& dialog);
  void InitGeneralPart(HWND dialog);

  COrvelListView& list_;
  CReportOptionsPage page_;
  int selectedCount_ = 0;
  orv::ScopedFont boldFont_;
};
