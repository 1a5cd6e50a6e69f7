#include "viewing/UnicodeBlockTable.h"

#include <windows.h>

#include <cwchar>

#include "common/ResourceIds.h"
#include "common/UnicodeText.h"
#include "framework/AppModule.h"

namespace {

constexpr int32_t kNoRangeBit = 127;

// Splits at a set of separator characters; runs of separators and leading ones yield nothing.
template <typename Fn>
void ForEachToken(std::wstring_view s, std::wstring_view separators, Fn&& fn) {
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t start = s.find_first_not_of(separators, pos);
    if (start == std::wstring_view::npos) break;
    size_t end = s.find_first_of(separators, start);
    if (end == std::wstring_view::npos) end = s.size();
    if (!fn(s.substr(start, end - start))) break;
    pos = end;
  }
}

long ParseLong(std::wstring_view token, int base) {
  const std::wstring s(token);
  return std::wcstol(s.c_str(), nullptr, base);
}

}  // namespace

bool UnicodeBlockTable::Load() {
  rows_.clear();
  HMODULE res = orv::g_Module.GetResourceInstance();
  HRSRC info = ::FindResourceW(res, MAKEINTRESOURCEW(IDR_UNICODE_BLOCKS), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info) return false;
  HGLOBAL data = ::LoadResource(res, info);
  if (!data) return false;
  const void* bytes = ::LockResource(data);
  if (!bytes) return false;
  std::string_view text(static_cast<const char*>(bytes), ::SizeofResource(res, info));
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  LoadFromUtf8(text);
  return true;
}

void UnicodeBlockTable::LoadFromUtf8(std::string_view text) {
  const std::wstring wide = Utf8ToUtf16(text);
  ForEachToken(wide, L"\r\n", [this](std::wstring_view line) {
    if (line.front() != L'#') ParseLine(line);
    return true;
  });
}

void UnicodeBlockTable::ParseLine(std::wstring_view line) {
  Row row{};
  int field = 0;
  ForEachToken(line, L"|", [&](std::wstring_view token) {
    switch (field++) {
      case 0: row.rangeBit = static_cast<uint8_t>(ParseLong(token, 10)); break;
      case 1: row.listPosition = static_cast<uint8_t>(ParseLong(token, 10)); break;
      case 2: row.first = static_cast<uint32_t>(ParseLong(token, 16)); break;
      case 3: row.last = static_cast<uint32_t>(ParseLong(token, 16)); break;
      default: row.name.assign(token); return false;
    }
    return true;
  });
  if (field >= 5) rows_.push_back(std::move(row));
}

std::wstring UnicodeBlockTable::NameOfRangeBit(int32_t bit) const {
  if (bit >= kNoRangeBit || bit < 0) return {};
  for (const Row& row : rows_)
    if (row.rangeBit == bit) return row.name;
  return {};
}

std::wstring UnicodeBlockTable::NameOfCodePoint(uint32_t codePoint) const {
  for (const Row& row : rows_)
    if (row.first <= codePoint && codePoint <= row.last) return row.name;
  return {};
}
