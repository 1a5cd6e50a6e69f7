#include "groups/CopiedFileCheck.h"

#include <windows.h>

#include "framework/Handles.h"

namespace {

constexpr ULONGLONG kCoarsestFileTime = 2 * 10'000'000ULL;  // two seconds in 100 ns ticks
constexpr DWORD kCompareChunk = 64 * 1024;

ULONGLONG Ticks(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

orv::ScopedHandle OpenForReading(const std::wstring& path) {
  return orv::ScopedHandle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

bool SameBytes(const std::wstring& a, const std::wstring& b) {
  orv::ScopedHandle fileA = OpenForReading(a);
  orv::ScopedHandle fileB = OpenForReading(b);
  if (!fileA || !fileB) return false;
  std::string bufferA(kCompareChunk, '\0'), bufferB(kCompareChunk, '\0');
  for (;;) {
    DWORD readA = 0, readB = 0;
    if (!::ReadFile(fileA.Get(), bufferA.data(), kCompareChunk, &readA, nullptr) ||
        !::ReadFile(fileB.Get(), bufferB.data(), kCompareChunk, &readB, nullptr) || readA != readB)
      return false;
    if (readA == 0) return true;
    if (bufferA.compare(0, readA, bufferB, 0, readB) != 0) return false;
  }
}

}  // namespace

bool ArrivedAsCopy(const std::wstring& original, const std::wstring& copy) {
  WIN32_FILE_ATTRIBUTE_DATA from{}, to{};
  if (!::GetFileAttributesExW(original.c_str(), GetFileExInfoStandard, &from) ||
      !::GetFileAttributesExW(copy.c_str(), GetFileExInfoStandard, &to))
    return false;
  if ((to.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || from.nFileSizeHigh != to.nFileSizeHigh ||
      from.nFileSizeLow != to.nFileSizeLow)
    return false;
  const ULONGLONG a = Ticks(from.ftLastWriteTime);
  const ULONGLONG b = Ticks(to.ftLastWriteTime);
  if (a == b) return true;
  return (a > b ? a - b : b - a) <= kCoarsestFileTime && SameBytes(original, copy);
}

std::vector<std::wstring> MissingCopies(const std::vector<std::pair<std::wstring, std::wstring>>& pairs) {
  std::vector<std::wstring> missing;
  for (const auto& [source, destination] : pairs)
    if (!ArrivedAsCopy(source, destination)) missing.push_back(source);
  return missing;
}

std::wstring ListForMessage(const std::vector<std::wstring>& lines, size_t limit) {
  std::wstring list;
  for (size_t i = 0; i < lines.size() && i < limit; ++i) {
    if (i > 0) list += L'\n';
    list += lines[i];
  }
  if (lines.size() > limit) list += L"\n...";
  return list;
}
