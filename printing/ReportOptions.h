// The report options of printed font lists, kept as "PrintFlags" (REG_DWORD under the Prefs
// key): bit 0 font-set mode, bit 1 version line, bit 2 file line, bit 4 one-line samples,
// bit 6 identifier line, bit 7 scripts line, bits 8-15 the number of columns. Read by the
// report options page and by each printed list; written by the page when the user prints.
#pragma once

#include <windows.h>

struct ReportOptions {
  static constexpr DWORD kDefaultFlags = 0x100;
  static constexpr int kMinColumns = 1;
  static constexpr int kMaxColumns = 6;

  bool setMode = false;
  bool showVersion = false;
  bool showFile = false;
  bool singleLineSample = false;
  bool showId = false;
  bool showScripts = false;
  int columns = 1;

  // Columns outside 1..6 (0 included) are brought into that range.
  static ReportOptions FromFlags(DWORD flags);
  DWORD ToFlags() const;
};

// The stored options, or the defaults when "PrintFlags" is missing or not a REG_DWORD.
ReportOptions ReadReportOptions();
void WriteReportOptions(const ReportOptions& options);
