// Whether two names lead to one folder, and whether a path lies in a folder: first by the full
// paths the system makes of them (GetFullPathNameW resolves ".", "..", forward slashes and
// repeated separators), compared without regard to case; then, for what exists, by the
// identity of the folder on its volume, which also sees through short (8.3) names, links and a
// second name of the same drive. Any thread.
#pragma once

#include <windows.h>

#include <string>

// The full path of `path` without a trailing backslash (except at a root); empty when the
// system cannot make one (an empty or invalid name).
[[nodiscard]] std::wstring FullPathOf(const std::wstring& path);

// A folder or file's identity on its volume.
struct FileIdentity {
  DWORD volume = 0;
  ULONGLONG index = 0;
  auto operator<=>(const FileIdentity&) const = default;
};
// The identity of an existing file or folder; false when it cannot be read.
[[nodiscard]] bool ReadFileIdentity(const std::wstring& path, FileIdentity& id);

// True when `a` and `b` name the same folder.
[[nodiscard]] bool IsSameFolder(const std::wstring& a, const std::wstring& b);
// True when `path` is `folder` or lies below it (`path` need not exist yet).
[[nodiscard]] bool IsSameOrInsideFolder(const std::wstring& path, const std::wstring& folder);
