// The HTML index page of an image export: written line by line as UTF-8 without a byte-order
// mark, every line ending with CR LF, names and paths escaped, image sources percent-encoded.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

class FontItem;

// Converts `text` to UTF-8 and writes it with one WriteFile: S_OK, or the last error's HRESULT.
HRESULT WriteUtf8(HANDLE file, const std::wstring& text);

class HtmlReportWriter {
public:
  HtmlReportWriter(bool imagesSubfolder, bool infoColumn)
      : imagesSubfolder_(imagesSubfolder), infoColumn_(infoColumn) {}

  // Creates (replaces) the page file; false with the error in GetLastError.
  bool Create(const std::wstring& path);
  bool IsOpen() const { return file_.IsValid(); }
  void Close() { file_.Reset(); }

  HRESULT WriteHeader();
  HRESULT WriteRow(const FontItem& font, const std::wstring& imageFile);
  HRESULT WriteFooter();

private:
  HRESULT WriteLines(std::initializer_list<std::wstring> lines);

  orv::ScopedHandle file_;
  bool imagesSubfolder_;
  bool infoColumn_;
};
