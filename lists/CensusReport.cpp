#include "lists/CensusReport.h"

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "framework/Handles.h"
#include "lists/CensusRecord.h"
#include "printing/HtmlReportWriter.h"

namespace {

constexpr wchar_t kHtmlHead[] =
    L"<!DOCTYPE html>\r\n"
    L"<html>\r\n<head>\r\n<title>Orvel Font Manager</title>\r\n"
    L"<meta charset=\"utf-8\">\r\n"
    L"<style type=\"text/css\">\r\n"
    L"table { border-color: #999; border: 2px solid #999; border-collapse: collapse;}\r\n"
    L"th { background-color: #f0f4fe; }\r\n"
    L"td { font-family: Arial, sans-serif; vertical-align: top; padding: .2em .5em; border: 1px solid #999; }\r\n"
    L"tr.hover {background-color: #eef; }\r\n"
    L"tr.out { }\r\n"
    L"p.crdt { font-size: x-small; }\r\n"
    L"</style>\r\n</head>\r\n"
    L"\r\n<body>\r\n<table>\r\n  <tr>\r\n";
constexpr wchar_t kHtmlRowStart[] =
    L"  <tr onmouseover=\"className='hover'\" onmouseout=\"className='out'\">\r\n    <td>";
constexpr wchar_t kHtmlCellBreak[] = L"</td>\r\n    <td>";
constexpr wchar_t kHtmlRowEnd[] = L"</td>\r\n  </tr>\r\n";
constexpr wchar_t kEmptyHtmlCell[] = L"&nbsp;";

std::wstring WithoutControls(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out)
    if (c < L' ' || c == 0x7F) c = L' ';
  return out;
}

std::wstring Escaped(std::wstring_view text) {
  std::wstring out;
  AppendMarkupEscaped(out, WithoutControls(text));
  return out;
}

}  // namespace

std::wstring CensusReportCell(std::wstring_view text, CensusReportKind kind) {
  if (kind == CensusReportKind::kHtml) return text.empty() ? kEmptyHtmlCell : Escaped(text);
  std::wstring out;
  for (wchar_t c : WithoutControls(text)) {
    out += c;
    if (c == L'"') out += L'"';
  }
  return out;
}

std::wstring CensusHtmlHeader(const std::vector<std::wstring>& titles) {
  std::wstring text = kHtmlHead;
  for (const std::wstring& title : titles) text += L"    <th>" + Escaped(title) + L"</th>\r\n";
  return text + L"  </tr>\r\n";
}

std::wstring CensusHtmlEnd(const std::wstring& credit) {
  return L"</table>\r\n\r\n<p class=\"crdt\">" + Escaped(credit) + L"</p>\r\n</body>\r\n</html>";
}

std::wstring CensusReportRow(const std::vector<std::wstring>& cells, CensusReportKind kind) {
  const bool html = kind == CensusReportKind::kHtml;
  std::wstring text = html ? kHtmlRowStart : L"\"";
  for (size_t column = 0; column < cells.size(); ++column) {
    if (column > 0) text += html ? kHtmlCellBreak : L"\";\"";
    text += CensusReportCell(cells[column], kind);
  }
  return text + (html ? kHtmlRowEnd : L"\"\r\n");
}

HRESULT WriteCensusReport(const std::wstring& path, CensusReportKind kind, int rowCount,
                          const std::function<std::wstring(int row, int column)>& cell) {
  orv::ScopedHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return HRESULT_FROM_WIN32(::GetLastError());
  const bool html = kind == CensusReportKind::kHtml;
  if (html) {
    const HRESULT header = WriteUtf8(file.Get(), CensusHtmlHeader(SplitFields(LoadResString(IDS_CENSUS_COLUMNS))));
    if (FAILED(header)) return header;
  }
  HRESULT result = S_OK;
  std::vector<std::wstring> cells(kCensusColumnCount);
  for (int row = 0; row < rowCount && SUCCEEDED(result); ++row) {
    for (int column = 0; column < kCensusColumnCount; ++column) cells[column] = cell(row, column);
    result = WriteUtf8(file.Get(), CensusReportRow(cells, kind));
  }
  // The page is closed even after a row that failed: what was written stays readable.
  if (html) {
    const HRESULT end = WriteUtf8(file.Get(), CensusHtmlEnd(LoadResString(IDS_HTML_CREDIT)));
    if (SUCCEEDED(result)) result = end;
  }
  return result;
}
