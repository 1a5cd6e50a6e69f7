#include "common/StringHelpers.h"

#include <algorithm>

#include <shlwapi.h>

#include <commctrl.h>

#include <cwchar>

#include "framework/Window.h"

namespace {
constexpr size_t kListTextFirstBuffer = 256;
// A cell longer than this is cut: no list of the program holds one, and a list that kept
// answering "full" would otherwise grow the buffer without end.
constexpr size_t kListTextMaxBuffer = 1 << 20;
}  // namespace

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

std::wstring FoldCase(std::wstring_view s) {
  std::wstring folded(s);
  if (!folded.empty()) ::CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
  return folded;
}

bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

std::wstring GetWindowTextString(HWND window) { return orv::CWindow(window).GetWindowText(); }

int GetDlgItemString(HWND dialog, int controlId, std::wstring& out) {
  HWND control = ::GetDlgItem(dialog, controlId);
  out = control ? GetWindowTextString(control) : std::wstring();
  return static_cast<int>(out.size());
}

std::wstring GetListViewItemText(HWND list, int item, int subItem) {
  for (size_t size = kListTextFirstBuffer;; size *= 2) {
    std::wstring buffer(size, L'\0');
    LVITEMW cell{};
    cell.iSubItem = subItem;
    cell.pszText = buffer.data();
    cell.cchTextMax = static_cast<int>(size);
    const auto length = static_cast<size_t>(::SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&cell)));
    if (length + 1 < size || size >= kListTextMaxBuffer) {
      buffer.resize(std::min(length, size - 1));
      return buffer;
    }
  }
}

int FindNoCase(std::wstring_view text, std::wstring_view part) {
  // Folding keeps every character in its place, so a position in the folded text is one in
  // the text.
  const size_t at = FoldCase(text).find(FoldCase(part));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

bool CutLastPathComponent(std::wstring& path) {
  if (path.empty()) return false;
  const bool removed = ::PathRemoveFileSpecW(path.data()) != FALSE;
  path.resize(::wcsnlen(path.c_str(), path.size()));
  return removed;
}

std::wstring ParentFolder(std::wstring path) { return CutLastPathComponent(path) ? path : std::wstring(); }

bool IsBareFileName(std::wstring_view ref) { return ref.find_first_of(L"\\/:") == std::wstring_view::npos; }

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.size() + name.size() + 2 <= MAX_PATH) {
    wchar_t buffer[MAX_PATH] = {};
    wcscpy(buffer, folder.c_str());
    if (::PathAppendW(buffer, name.c_str())) return buffer;
  }
  std::wstring joined = folder;
  if (joined.back() != L'\\') joined += L'\\';
  return joined + name;
}

std::wstring WithoutTrailingBackslash(std::wstring folder) {
  while (folder.size() > 1 && folder.back() == L'\\' && !::PathIsRootW(folder.c_str())) folder.pop_back();
  return folder;
}

void AppendMarkupEscaped(std::wstring& out, std::wstring_view text) {
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      case L'\'': out += L"&#39;"; break;
      default: out += c; break;
    }
  }
}

void TrimWhiteSpace(std::wstring& s) {
  const wchar_t* kSpace = L" \t\r\n";
  const size_t first = s.find_first_not_of(kSpace);
  if (first == std::wstring::npos) {
    s.clear();
    return;
  }
  s = s.substr(first, s.find_last_not_of(kSpace) - first + 1);
}

std::vector<std::wstring> SplitFields(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (;;) {
    const size_t bar = text.find(separator, start);
    fields.emplace_back(text.substr(start, bar == std::wstring_view::npos ? std::wstring_view::npos : bar - start));
    if (bar == std::wstring_view::npos) return fields;
    start = bar + 1;
  }
}

std::wstring TokenAt(std::wstring_view text, size_t index, wchar_t separator) {
  size_t start = 0;
  for (size_t i = 0;; ++i) {
    start = text.find_first_not_of(separator, start);
    if (start == std::wstring_view::npos) return {};
    const size_t end = std::min(text.find(separator, start), text.size());
    if (i == index) return std::wstring(text.substr(start, end - start));
    start = end;
  }
}

std::wstring FieldAt(std::wstring_view text, size_t index, wchar_t separator) {
  size_t start = 0;
  for (size_t i = 0; i < index; ++i) {
    const size_t bar = text.find(separator, start);
    if (bar == std::wstring_view::npos) return {};
    start = bar + 1;
  }
  return std::wstring(text.substr(start, text.find(separator, start) - start));
}

std::wstring ShortenedForDisplay(std::wstring_view text, size_t maxChars) {
  std::wstring shown;
  if (text.size() <= maxChars) {
    shown.assign(text);
  } else {
    // The end of a path or a name says most: it keeps the larger half. No half of a
    // surrogate pair is kept alone.
    const size_t head = maxChars > 1 ? (maxChars - 1) / 2 : 0;
    size_t tail = maxChars > 1 ? maxChars - 1 - head : 0;
    std::wstring_view start = text.substr(0, head);
    if (!start.empty() && IS_HIGH_SURROGATE(start.back())) start.remove_suffix(1);
    std::wstring_view end = text.substr(text.size() - tail);
    if (!end.empty() && IS_LOW_SURROGATE(end.front())) end.remove_prefix(1);
    shown.assign(start);
    shown += L'\u2026';
    shown.append(end);
  }
  for (wchar_t& ch : shown)
    if (ch < 32 || (ch >= 0x7F && ch < 0xA0) || ch == 0x2028 || ch == 0x2029) ch = L' ';
  return shown;
}
