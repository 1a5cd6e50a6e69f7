#include "printing/HtmlReportWriter.h"

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/UnicodeText.h"
#include "fonts/FontItem.h"
#include "printing/FontImageExport.h"

namespace {
constexpr wchar_t kLineEnd[] = L"\r\n";
}

HRESULT WriteUtf8(HANDLE file, const std::wstring& text) {
  if (text.empty()) return S_OK;
  const std::string bytes = Utf16ToUtf8(text);
  if (bytes.size() > MAXDWORD) return HRESULT_FROM_WIN32(ERROR_ARITHMETIC_OVERFLOW);
  DWORD written = 0;
  if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written != bytes.size())
    return HRESULT_FROM_WIN32(::GetLastError());
  return S_OK;
}

bool HtmlReportWriter::Create(const std::wstring& path) {
  file_.Reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file_.IsValid();
}

HRESULT HtmlReportWriter::WriteLines(std::initializer_list<std::wstring> lines) {
  if (!file_) return E_HANDLE;
  std::wstring text;
  for (const std::wstring& line : lines) text += line + kLineEnd;
  return WriteUtf8(file_.Get(), text);
}

HRESULT HtmlReportWriter::WriteHeader() {
  const std::wstring title = HtmlEscape(LoadResString(IDS_HTML_TITLE));
  return WriteLines({L"<!DOCTYPE html>", L"<html>", L"<head>", L"<title>" + title + L"</title>",
                     L"<meta charset=\"utf-8\">", L"<style type=\"text/css\">",
                     L"table { border-color: #999; border: 2px solid #999; border-collapse: collapse; }",
                     L"th { background-color: #f0f4fe; }",
                     L"td { vertical-align: top; padding: .2em .5em; border: 1px solid #999; }",
                     L"p { font-family: Arial, sans-serif; font-size: medium; }",
                     L"p.info { font-size: small; margin-top:.1em; margin-bottom:.3em; }",
                     L"p.crdt { font-size: x-small; }", L"</style>", L"</head>", L"", L"<body>",
                     L"<h1>" + title + L"</h1>", L"<table>"});
}

HRESULT HtmlReportWriter::WriteRow(const FontItem& font, const std::wstring& imageFile) {
  std::wstring full = font.FullName();
  const std::wstring src = PercentEncodePath((imagesSubfolder_ ? L"images/" : L"") + imageFile);
  std::wstring text = std::wstring(L"  <tr>") + kLineEnd + L"    <td>" + kLineEnd + L"     <p>" +
                      HtmlEscape(font.displayName) + L"<br>" + kLineEnd;
  if (full != font.displayName) text += L"     (" + HtmlEscape(full) + L")<br>" + kLineEnd;
  text += L"     <img src=\"" + src + L"\" alt=\"" + HtmlEscape(imageFile) + L"\" /></p>" + kLineEnd;
  text += std::wstring(L"    </td>") + kLineEnd;
  if (infoColumn_) {
    std::wstring scripts;
    font.GetScriptNames(scripts, L"; ", -1);
    text += std::wstring(L"<td>") + kLineEnd + L"     <p>" + HtmlEscape(font.fileRef) + L"</p>" + kLineEnd +
            L"     <p class=\"info\">V.: " + HtmlEscape(font.version) + L"</p>" + kLineEnd +
            L"     <p class=\"info\">ID: " + HtmlEscape(font.uniqueId) + L"</p>" + kLineEnd +
            L"     <p class=\"info\">Scripts: " + HtmlEscape(scripts) + L"</p>" + kLineEnd + L"    </td>" + kLineEnd;
  }
  text += std::wstring(L"</tr>") + kLineEnd;
  return file_ ? WriteUtf8(file_.Get(), text) : E_HANDLE;
}

HRESULT HtmlReportWriter::WriteFooter() {
  if (!file_) return E_HANDLE;
  return WriteUtf8(file_.Get(), std::wstring(L"</table>") + kLineEnd + kLineEnd + L"<p class=\"crdt\">" +
                                    HtmlEscape(LoadResString(IDS_HTML_CREDIT)) + L"</p>" + kLineEnd + L"</body>" +
                                    kLineEnd + L"</html>");
}
