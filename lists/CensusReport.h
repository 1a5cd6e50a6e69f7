// The census report: the rows of the census result list, as the list shows them (filtered and
// sorted), saved as an HTML page with one table row per list row or as a text file with one
// line of five quoted fields, separated by semicolons, per list row. UTF-8 without byte-order
// mark, lines ending with CR LF.
//
// Cells are made safe for their form: in the page every markup character becomes an entity and
// an empty cell a no-break space; in the text file a double quote is doubled. In both, control
// characters (line breaks, tabs, NUL) read from a font file become spaces, so that every row
// stays one line of the page source and of the text file. UI thread (the census dialog).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The report kinds, by the filter index of the save dialog.
enum class CensusReportKind : int { kHtml = 1, kText = 2 };

// A cell made safe for the report kind.
[[nodiscard]] std::wstring CensusReportCell(std::wstring_view text, CensusReportKind kind);

// The page up to the table's header row (the column titles given, escaped); the end of the
// table and of the page with the credit line.
[[nodiscard]] std::wstring CensusHtmlHeader(const std::vector<std::wstring>& titles);
[[nodiscard]] std::wstring CensusHtmlEnd(const std::wstring& credit);
// One row of the report from the five cells of a list row (escaped here).
[[nodiscard]] std::wstring CensusReportRow(const std::vector<std::wstring>& cells, CensusReportKind kind);

// Writes the report of `rowCount` rows whose cells `cell` (row, column) gives into `path`,
// replacing the file. S_OK, or the error of the first create or write that failed (what was
// written before it stays in the file).
[[nodiscard]] HRESULT WriteCensusReport(const std::wstring& path, CensusReportKind kind, int rowCount,
                                        const std::function<std::wstring(int row, int column)>& cell);
