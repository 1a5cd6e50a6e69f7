// The page loop of a print job: a printer DC for the job's printer and DEVMODE, StartDoc, one
// StartPage/EndPage pair per page with the callbacks of an IPrintJobInfo around it, and EndDoc
// (or AbortDoc once the job was cancelled). The caller fills the record, runs it on the main
// thread and reads back whether the document was made and whether it was cancelled.
#pragma once

#include <windows.h>

namespace orv {

// What a job asks of its owner, page by page.
class IPrintJobInfo {
public:
  virtual void BeginPrintJob(HDC dc) = 0;
  virtual void EndPrintJob(HDC dc, bool aborted) = 0;
  virtual void PrePrintPage(UINT page, HDC dc) = 0;
  // False cancels the job after this page.
  virtual bool PrintPage(UINT page, HDC dc) = 0;
  virtual void PostPrintPage(UINT page, HDC dc) = 0;
  // A DEVMODE to reset the DC with before this page, or null.
  virtual const DEVMODEW* GetNewDevModeForPage(UINT lastPage, UINT page) = 0;
  virtual bool IsValidPage(UINT page) = 0;

protected:
  ~IPrintJobInfo() = default;
};

class CPrintJob {
public:
  // How a run ended.
  enum class Result { NoDocument, Printed, Cancelled, Failed };

  const wchar_t* printerName = nullptr;
  IPrintJobInfo* info = nullptr;
  const DEVMODEW* devMode = nullptr;
  DOCINFOW docInfo{sizeof(DOCINFOW)};
  int jobId = 0;
  bool cancel = false;    // set by the abort dialog or a failed page
  bool complete = true;
  UINT firstPage = 0;
  UINT lastPage = 0;      // may be lowered while the job runs

  // Runs the whole job on the calling thread. NoDocument: no DC or no document could be made;
  // Failed: a page could not be started or ended (the document is aborted).
  Result RunForeground();
};

}  // namespace orv
