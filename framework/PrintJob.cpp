#include "framework/PrintJob.h"

#include "framework/Handles.h"

namespace orv {

CPrintJob::Result CPrintJob::RunForeground() {
  if (!info || !printerName) return Result::NoDocument;
  ScopedCreatedDC dc(::CreateDCW(nullptr, printerName, nullptr, devMode));
  if (!dc) return Result::NoDocument;
  jobId = ::StartDocW(dc.Get(), &docInfo);
  if (jobId <= 0) return Result::NoDocument;
  info->BeginPrintJob(dc.Get());
  bool failed = false;
  for (UINT page = firstPage; page <= lastPage && !cancel; ++page) {
    if (!info->IsValidPage(page)) break;
    if (const DEVMODEW* next = info->GetNewDevModeForPage(lastPage, page)) ::ResetDCW(dc.Get(), next);
    if (::StartPage(dc.Get()) <= 0) {
      failed = true;
      break;
    }
    info->PrePrintPage(page, dc.Get());
    if (!info->PrintPage(page, dc.Get())) cancel = true;
    info->PostPrintPage(page, dc.Get());
    if (::EndPage(dc.Get()) <= 0) {
      failed = true;
      break;
    }
  }
  const bool aborted = cancel || failed;
  info->EndPrintJob(dc.Get(), aborted);
  if (aborted) {
    ::AbortDoc(dc.Get());
  } else if (::EndDoc(dc.Get()) <= 0) {
    failed = true;
  }
  complete = !aborted && !failed;
  if (failed) return Result::Failed;
  return cancel ? Result::Cancelled : Result::Printed;
}

}  // namespace orv
